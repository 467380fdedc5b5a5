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
        rs->Fields(QStringLiteral("name")).setValue(m_name);
        rs->Fields(QStringLiteral("explanation")).setValue(m_explanation);
        rs->Fields(QStringLiteral("question")).setValue(m_question);
        rs->Fields(QStringLiteral("Weight")).setValue(int(m_weight));
        rs->Fields(QStringLiteral("success")).setValue(int(m_success));
        rs->Fields(QStringLiteral("jury")).setValue(int(m_jury));
        rs->Fields(QStringLiteral("substantive")).setValue(int(m_substantive));
        rs->Fields(QStringLiteral("procedural")).setValue(int(m_procedural));
        rs->Fields(QStringLiteral("significance")).setValue(int(m_significance));
        rs->Fields(QStringLiteral("parentid")).setValue(m_parentId);
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
