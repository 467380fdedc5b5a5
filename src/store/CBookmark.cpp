#include "store/CBookmark.h"

#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/RecordSupport.h"

CBookmark::CBookmark()
    : CRecord(QStringLiteral("CBookmark"))
{
}

void CBookmark::InitialiseProperties()
{
    try {
        m_itemKey.clear();
        m_description.clear();
    } catch (...) {
        classFailure("InitialiseProperties");
    }
}

void CBookmark::CommitOtherState()
{
    // An unchanged or deleted bookmark has nothing to write.
}

void CBookmark::CommitFailed()
{
    classFailure("IDataObject_Commit");
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
        classFailure("CodeItem");
    }
}

void CBookmark::setDescription(const QString& value)
{
    try {
        GetAttributes();
        m_description = value;
        SetStateForLet();
    } catch (...) {
        classFailure("description");
    }
}

void CBookmark::GetAttributes()
{
    if (!needsLoad())
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
        CRecord::SetStateForLet();
    } catch (...) {
        classFailure("SetStateForLet");
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
        saveNewRow(*rs);
        m_state = stUnchanged;
    } catch (...) {
        records::closeAndReraise(rs, QStringLiteral("CBookmark::InsertObject"));
    }
}

void CBookmark::DeleteObject()
{
    try {
        records::database(m_db).Execute(QStringLiteral("delete from Bookmarks where id = ") +
                                        m_key);
        m_state = stDeleted;
    } catch (...) {
        classFailure("DeleteObject");
    }
}
