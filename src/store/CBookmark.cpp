#include "store/CBookmark.h"

#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/RecordSupport.h"

namespace {

const QString kFailure = QStringLiteral("CBookmark component failure");

[[noreturn]] void fail(const char* procedure)
{
    records::classFailure(QStringLiteral("Argovo.CBookmark.") + QLatin1String(procedure), kFailure);
}

} // namespace

CBookmark::~CBookmark() = default;

void CBookmark::InitialiseProperties()
{
    try {
        m_state = stUnchanged;
        m_key.clear();
        m_itemKey.clear();
        m_description.clear();
        m_loaded = false;
    } catch (...) {
        fail("InitialiseProperties");
    }
}

void CBookmark::Initialise(std::shared_ptr<dao::Database> db, const QString& key)
{
    InitialiseProperties();
    m_db = std::move(db);
    if (key.isEmpty())
        m_state = stNew;
    else
        m_key = key;
}

QString CBookmark::Key() const
{
    return m_key;
}

void CBookmark::Delete()
{
    m_state = stDeleting;
}

void CBookmark::Commit()
{
    try {
        switch (m_state) {
        case stNew:
            InsertObject();
            break;
        case stChanged:
            UpdateObject();
            break;
        case stDeleting:
            DeleteObject();
            break;
        default:
            // An unchanged or deleted bookmark has nothing to write.
            break;
        }
    } catch (...) {
        fail("IDataObject_Commit");
    }
}

void CBookmark::setCodeItem(IDataObject* item)
{
    try {
        GetAttributes();
        if (!item)
            throw AppError(91, QStringLiteral("Argovo"),
                           QStringLiteral("Object variable or With block variable not set"));
        m_itemKey = item->Key();
        SetStateForLet();
    } catch (...) {
        fail("CodeItem");
    }
}

void CBookmark::setDescription(const QString& value)
{
    try {
        GetAttributes();
        m_description = value;
        SetStateForLet();
    } catch (...) {
        fail("description");
    }
}

void CBookmark::GetAttributes()
{
    if ((m_state != stUnchanged && m_state != stChanged) || m_loaded)
        return;
    try {
        auto rs = records::database(m_db).OpenRecordset(
            QStringLiteral("select * from BookMarks where id = ") + m_key);
        if (!(rs->BOF() && rs->EOF())) {
            m_description = records::textOrFail(rs->Fields(QStringLiteral("description")).Value());
            m_itemKey = records::textOrFail(rs->Fields(QStringLiteral("codeid")).Value());
        }
        rs->Close();
        m_loaded = true;
    } catch (...) {
        records::reraise(QStringLiteral("CBookmark:GetAttributes"));
    }
}

void CBookmark::SetStateForLet()
{
    try {
        records::stateStep(m_state, QStringLiteral("CBookmark::SetStateForLet"));
    } catch (...) {
        fail("SetStateForLet");
    }
}

void CBookmark::UpdateObject()
{
    try {
        auto rs = records::database(m_db).OpenRecordset(
            QStringLiteral("select * from bookmarks where id = ") + m_key);
        rs->Edit();
        rs->Fields(QStringLiteral("codeid")).setValue(m_itemKey);
        rs->Fields(QStringLiteral("description")).setValue(m_description);
        rs->Update();
        rs->Close();
        m_state = stUnchanged;
        m_loaded = true;
    } catch (...) {
        records::reraise(QStringLiteral("CBookmark::UpdateObject"));
    }
}

void CBookmark::InsertObject()
{
    std::shared_ptr<dao::Recordset> rs;
    try {
        rs = records::database(m_db).OpenRecordset(
            QStringLiteral("select * from bookmarks where id = 0"));
        rs->AddNew();
        rs->Fields(QStringLiteral("codeid")).setValue(m_itemKey);
        rs->Fields(QStringLiteral("description")).setValue(m_description);
        rs->Update();
        rs->setBookmark(rs->LastModified());
        m_key = rs->Fields(QStringLiteral("id")).Value().toString();
        rs->Close();
        m_state = stUnchanged;
    } catch (...) {
        if (rs) {
            try {
                rs->Close();
            } catch (...) {
            }
        }
        records::reraise(QStringLiteral("CBookmark::InsertObject"));
    }
}

void CBookmark::DeleteObject()
{
    try {
        records::database(m_db).Execute(QStringLiteral("delete from Bookmarks where id = ")
                                        + m_key);
        m_state = stDeleted;
    } catch (...) {
        fail("DeleteObject");
    }
}
