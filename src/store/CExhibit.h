#pragma once

#include "store/IDataObject.h"

#include <QString>

#include <cstdint>

// A second record over table Issue with no properties of its own: its
// writes carry its reset values. Exhibits are normally handled by CIssue
// with ItemType "Exhibit".
class CExhibit final : public IDataObject {
public:
    CExhibit() = default;
    ~CExhibit() override;

    // IDataObject
    QString Key() const override;
    void Initialise(std::shared_ptr<dao::Database> db, const QString& key) override;
    void Delete() override;
    void Commit() override;

    int state() const { return m_state; }

private:
    void InitialiseProperties();
    void UpdateObject();
    void InsertObject();
    void DeleteObject();

    std::shared_ptr<dao::Database> m_db;
    QString m_key;
    int m_state = stUnchanged;
    bool m_loaded = false;

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
