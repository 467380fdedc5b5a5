#pragma once

#include "store/CRecord.h"

#include <QString>

#include <cstdint>

// A second record over table Issue with no properties of its own: its
// writes carry its reset values. Exhibits are normally handled by CIssue
// with ItemType "Exhibit".
class CExhibit final : public CRecord {
public:
    CExhibit();

    void Initialise(std::shared_ptr<dao::Database> db, const QString& key) override;

private:
    void InitialiseProperties() override;
    void UpdateObject() override;
    void InsertObject() override;
    void DeleteObject() override;
    [[noreturn]] void CommitFailed() override;

    QString m_parentId = QStringLiteral("0");
    QString m_name;
    QString m_explanation;
    QString m_question;
    int16_t m_weight = 1;
    int16_t m_success = 1;
    int16_t m_jury = 0;
    int16_t m_substantive = 0;
    int16_t m_procedural = 0;
    int16_t m_significance = 0;
    QString m_itemType;
};
