#include "store/CIssue.h"

#include "platform/core/AppError.h"
#include "platform/core/Prompt.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/CTypes.h"
#include "store/RecordSupport.h"

#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>

namespace {

const QString kSelect = QStringLiteral("select * from Issue where id = ");

// A column or key text as an integer of the member's width, rounding as the
// conversion of the case file's numbers always has; nothing when it is no
// such number. Ratings are 16-bit; a parent's id is 32-bit, as a large case
// has ids past 32,767.
template <typename Int> std::optional<Int> toInteger(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const double d = value.toString().trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const double rounded = std::nearbyint(d);
    if (rounded < double(std::numeric_limits<Int>::min()) ||
        rounded > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

bool hasTypePrefix(const QString& key)
{
    return key.startsWith(QLatin1Char('X')) || key.startsWith(QLatin1Char('W')) ||
           key.startsWith(QLatin1Char('S'));
}

} // namespace

CIssue::CIssue()
    : CRecord(QStringLiteral("CIssue"))
{
}

void CIssue::InitialiseProperties()
{
    m_parentId = 0;
    m_name.clear();
    m_explanation.clear();
    m_question.clear();
    m_itemType.clear();
    m_set = 0;
}

void CIssue::GetAttributes()
{
    // Tree keys of exhibits, witnesses and questions carry a type letter.
    if (hasTypePrefix(m_key))
        m_key = m_key.mid(1);
    if (!needsLoad())
        return;

    try {
        auto rs = records::database(m_db).OpenRecordset(kSelect + m_key);
        if (!(rs->BOF() && rs->EOF())) {
            // A column that cannot be read leaves its member as it was.
            auto readText = [&](const char* column, QString& member) {
                try {
                    const QVariant v = rs->Fields(QString::fromLatin1(column)).Value();
                    member = v.isNull() ? QString() : v.toString();
                } catch (const AppError&) {
                }
            };
            auto readInt = [&](const char* column, auto& member) {
                using Int = std::remove_reference_t<decltype(member)>;
                try {
                    if (const auto v =
                            toInteger<Int>(rs->Fields(QString::fromLatin1(column)).Value()))
                        member = *v;
                } catch (const AppError&) {
                }
            };
            readInt("parentid", m_parentId);
            readText("name", m_name);
            readText("Explanation", m_explanation);
            readText("Question", m_question);
            readInt("Weight", m_weight);
            readInt("Success", m_success);
            readInt("Jury", m_jury);
            readInt("Substantive", m_substantive);
            readInt("Procedural", m_procedural);
            readInt("Significance", m_significance);
            readText("ItemType", m_itemType);
        }
        rs->Close();
        m_loaded = true;
        m_set = 0;
    } catch (...) {
        records::reraise(QStringLiteral("CIssue:GetAttributes"));
    }
}

QString CIssue::Question()
{
    GetAttributes();
    return m_question;
}

void CIssue::setQuestion(const QString& value)
{
    GetAttributes();
    m_question = value;
    m_set |= mQuestion;
    SetStateForLet();
}

QString CIssue::ItemType()
{
    GetAttributes();
    return m_itemType;
}

void CIssue::setItemType(const QString& value)
{
    GetAttributes();
    m_itemType = value;
    m_set |= mItemType;
    SetStateForLet();
}

void CIssue::setRating(int16_t& member, Member flag, int16_t value)
{
    GetAttributes();
    member = value;
    m_set |= flag;
    SetStateForLet();
}

int16_t CIssue::Significance()
{
    GetAttributes();
    return m_significance;
}

void CIssue::setSignificance(int16_t value)
{
    setRating(m_significance, mSignificance, value);
}

int16_t CIssue::Procedural()
{
    GetAttributes();
    return m_procedural;
}

void CIssue::setProcedural(int16_t value)
{
    setRating(m_procedural, mProcedural, value);
}

int16_t CIssue::Jury()
{
    GetAttributes();
    return m_jury;
}

void CIssue::setJury(int16_t value)
{
    setRating(m_jury, mJury, value);
}

int16_t CIssue::Substantive()
{
    GetAttributes();
    return m_substantive;
}

void CIssue::setSubstantive(int16_t value)
{
    setRating(m_substantive, mSubstantive, value);
}

int16_t CIssue::Weight()
{
    GetAttributes();
    return m_weight;
}

void CIssue::setWeight(int16_t value)
{
    setRating(m_weight, mWeight, value);
}

int16_t CIssue::SUCCESS()
{
    GetAttributes();
    return m_success;
}

void CIssue::setSUCCESS(int16_t value)
{
    setRating(m_success, mSuccess, value);
}

QString CIssue::ParentKey()
{
    try {
        GetAttributes();
        return QString::number(m_parentId);
    } catch (...) {
        classFailure("ParentKey");
    }
}

void CIssue::setParentKey(const QString& key)
{
    if (hasTypePrefix(key)) {
        platform::msgBox(QStringLiteral("Can only link to issues."), platform::MsgButtons::OK,
                         platform::MsgIcon::Critical, QStringLiteral("Not Supported"));
        return;
    }
    try {
        GetAttributes();
        const auto parent = toInteger<int32_t>(QVariant(key));
        if (!parent)
            throw AppError(13, QStringLiteral("Argovo"), QStringLiteral("Type mismatch"));
        m_parentId = *parent;
        m_set |= mParent;
        SetStateForLet();
    } catch (...) {
        classFailure("ParentKey");
    }
}

QString CIssue::Name()
{
    GetAttributes();
    return m_name;
}

void CIssue::setName(const QString& value)
{
    GetAttributes();
    m_name = value;
    m_set |= mName;
    SetStateForLet();
}

QString CIssue::Explanation()
{
    GetAttributes();
    return m_explanation;
}

void CIssue::setExplanation(const QString& value)
{
    GetAttributes();
    m_explanation = value;
    m_set |= mExplanation;
    SetStateForLet();
}

// Writes exactly the members set since the row was loaded, 0 and empty texts
// included, whichever way the item was reached; members never set keep what
// the row holds (a never-rated item keeps its empty ratings).
void CIssue::UpdateObject()
{
    if (!m_db)
        return;
    if (m_set == 0) {
        // Nothing was set: nothing to write, and the row keeps its values.
        if (m_state == stChanged)
            m_state = stUnchanged;
        return;
    }
    try {
        auto rs = m_db->OpenRecordset(kSelect + m_key);
        rs->Edit();
        if (m_name.isEmpty()) {
            rs->CancelUpdate();
            rs->Close();
            platform::msgBox(QStringLiteral("'Name' cannot be empty."), platform::MsgButtons::OK,
                             platform::MsgIcon::Critical, QStringLiteral("Must Supply Name"));
            return;
        }
        auto put = [&](Member flag, const char* column, const QVariant& value) {
            if (m_set & flag)
                rs->Fields(QString::fromLatin1(column)).setValue(value);
        };
        put(mName, "Name", m_name);
        put(mExplanation, "Explanation", m_explanation);
        put(mQuestion, "Question", m_question);
        put(mWeight, "Weight", int(m_weight));
        put(mSuccess, "Success", int(m_success));
        put(mJury, "Jury", int(m_jury));
        put(mSubstantive, "Substantive", int(m_substantive));
        put(mProcedural, "Procedural", int(m_procedural));
        put(mSignificance, "Significance", int(m_significance));
        put(mParent, "ParentID", int(m_parentId));
        put(mItemType, "ItemType", m_itemType);
        rs->Update();
        rs->Close();
        dao::DBEngine::Idle(dao::dbRefreshCache);
        m_state = stUnchanged;
        m_loaded = true;
        m_set = 0;
    } catch (...) {
        records::reraise(QStringLiteral("CIssue::UpdateObject"));
    }
}

void CIssue::InsertObject()
{
    std::shared_ptr<dao::Recordset> rs;
    try {
        rs = records::database(m_db).OpenRecordset(kSelect + QStringLiteral("0"));
        rs->AddNew();
        rs->Fields(QStringLiteral("parentid")).setValue(int(m_parentId));
        rs->Fields(QStringLiteral("name")).setValue(m_name);
        rs->Fields(QStringLiteral("Explanation")).setValue(m_explanation);
        rs->Fields(QStringLiteral("Question")).setValue(m_question);
        rs->Fields(QStringLiteral("Weight")).setValue(int(m_weight));
        rs->Fields(QStringLiteral("Success")).setValue(int(m_success));
        rs->Fields(QStringLiteral("Jury")).setValue(int(m_jury));
        rs->Fields(QStringLiteral("Substantive")).setValue(int(m_substantive));
        rs->Fields(QStringLiteral("Procedural")).setValue(int(m_procedural));
        rs->Fields(QStringLiteral("Significance")).setValue(int(m_significance));
        // The holder decides the kind of a new item.
        rs->Fields(QStringLiteral("ItemType")).setValue(oTypes().ItemType());
        saveNewRow(*rs);
        m_state = stUnchanged;
        m_set = 0;
        dao::DBEngine::Idle(dao::dbRefreshCache);
    } catch (...) {
        records::closeAndReraise(rs, QStringLiteral("CIssue::InsertObject"));
    }
}

void CIssue::DeleteItems(const std::shared_ptr<dao::Database>& db, const QStringList& keys)
{
    QStringList ids;
    ids.reserve(keys.size());
    for (const QString& key : keys) {
        // Initialise refuses a key that is no id before anything is deleted.
        CIssue item;
        item.Initialise(db, key);
        ids.append(hasTypePrefix(key) ? key.mid(1) : key);
    }
    records::deleteItemRows(records::database(db), ids);
    dao::DBEngine::Idle(dao::dbRefreshCache);
}

void CIssue::DeleteObject()
{
    if (hasTypePrefix(m_key))
        m_key = m_key.mid(1);
    // The item's bookmarks and documents go with it; its children stay.
    records::deleteItemRows(records::database(m_db), m_key);
    m_state = stDeleted;
    dao::DBEngine::Idle(dao::dbRefreshCache);
}
