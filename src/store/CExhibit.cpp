#include "store/CExhibit.h"

#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/RecordSupport.h"

CExhibit::CExhibit()
    : CRecord(QStringLiteral("CExhibit"))
{
}

void CExhibit::InitialiseProperties()
{
    m_parentId = QStringLiteral("0");
    m_name.clear();
    m_explanation.clear();
    m_question.clear();
    m_weight = 1;
    m_success = 1;
}

void CExhibit::Initialise(std::shared_ptr<dao::Database> db, const QString& key)
{
    try {
        CRecord::Initialise(std::move(db), key);
    } catch (const AppError& e) {
        // A key that is no id is refused as it is, not hidden in the class failure.
        if (e.number() == jet::ConversionError)
            throw;
        classFailure("IDataObject_Initialise");
    } catch (...) {
        classFailure("IDataObject_Initialise");
    }
}

void CExhibit::CommitFailed()
{
    classFailure("IDataObject_Commit");
}

void CExhibit::UpdateObject()
{
    try {
        auto rs = records::database(m_db).OpenRecordset(
            QStringLiteral("select * from Issue where id = ") + m_key);
        rs->Edit();
        // The record has no values of its own to give: the row is written
        // back as it was read, never with the reset values over it.
        for (const char* column : {"name", "explanation", "question", "Weight", "success", "jury",
                                   "substantive", "procedural", "significance", "parentid"}) {
            const QString name = QString::fromLatin1(column);
            rs->Fields(name).setValue(rs->Fields(name).Value());
        }
        rs->Update();
        rs->Close();
        dao::DBEngine::Idle(dao::dbRefreshCache);
        m_state = stUnchanged;
        m_loaded = true;
    } catch (...) {
        records::reraise(QStringLiteral("CExhibit::UpdateObject"));
    }
}

void CExhibit::InsertObject()
{
    try {
        auto rs = records::database(m_db).OpenRecordset(
            QStringLiteral("select * from Issue where id = 0"));
        rs->AddNew();
        rs->Fields(QStringLiteral("parentid")).setValue(m_parentId);
        rs->Fields(QStringLiteral("name")).setValue(m_name);
        rs->Fields(QStringLiteral("explanation")).setValue(m_explanation);
        rs->Fields(QStringLiteral("question")).setValue(m_question);
        rs->Fields(QStringLiteral("ItemType")).setValue(m_itemType);
        saveNewRow(*rs);
        m_state = stUnchanged;
        dao::DBEngine::Idle(dao::dbRefreshCache);
    } catch (...) {
        records::reraise(QStringLiteral("CExhibit::InsertObject"));
    }
}

void CExhibit::DeleteObject()
{
    try {
        // The key is used as held: this record knows no type letters.
        records::deleteItemRows(records::database(m_db), m_key);
        m_state = stDeleted;
        dao::DBEngine::Idle(dao::dbRefreshCache);
    } catch (...) {
        classFailure("DeleteObject");
    }
}
