#pragma once

#include "store/CRecord.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// One row of table Issue: a case item of any kind (issue, exhibit, witness,
// question). Loads its row lazily on the first property access and writes
// only at Commit.
class CIssue final : public CRecord {
public:
    CIssue();

    QString Question();
    void setQuestion(const QString& value);
    QString ItemType();
    void setItemType(const QString& value);
    int16_t Significance();
    void setSignificance(int16_t value);
    int16_t Procedural();
    void setProcedural(int16_t value);
    int16_t Jury();
    void setJury(int16_t value);
    int16_t Substantive();
    void setSubstantive(int16_t value);
    int16_t Weight();
    void setWeight(int16_t value);
    int16_t SUCCESS();
    void setSUCCESS(int16_t value);
    QString ParentKey();
    void setParentKey(const QString& key);
    QString Name();
    void setName(const QString& value);
    QString Explanation();
    void setExplanation(const QString& value);

    void UpdateObject() override;

    // Deletes the items of keys (as Initialise takes them) with their
    // bookmarks and stored documents, all or none; their other children stay.
    // A branch of thousands of items costs one pass over each table.
    static void DeleteItems(const std::shared_ptr<dao::Database>& db, const QStringList& keys);

private:
    // Which members were set since the row was loaded: exactly these are written.
    enum Member : unsigned {
        mParent = 1u << 0,
        mName = 1u << 1,
        mExplanation = 1u << 2,
        mQuestion = 1u << 3,
        mWeight = 1u << 4,
        mSuccess = 1u << 5,
        mJury = 1u << 6,
        mSubstantive = 1u << 7,
        mProcedural = 1u << 8,
        mSignificance = 1u << 9,
        mItemType = 1u << 10,
    };

    void InitialiseProperties() override;
    void GetAttributes();
    void DeleteObject() override;
    void InsertObject() override;
    void setRating(int16_t& member, Member flag, int16_t value);

    unsigned m_set = 0;

    int32_t m_parentId = 0;
    QString m_name;
    QString m_explanation;
    QString m_question;
    int16_t m_weight = 0;
    int16_t m_success = 0;
    int16_t m_jury = 0;
    int16_t m_substantive = 0;
    int16_t m_procedural = 0;
    int16_t m_significance = 0;
    QString m_itemType;
};
