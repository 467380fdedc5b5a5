#include "store/CExhibit.h"

#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/RecordSupport.h"

namespace {

[[noreturn]] void fail(const char* procedure)
{
    records::classFailure(QStringLiteral("Argovo.CExhibit.") + QLatin1String(procedure),
                          QStringLiteral("CExhibit component failure"));
}

} // namespace

CExhibit::~CExhibit() = default;

void CExhibit::InitialiseProperties()
{
    m_state = stUnchanged;
    m_key.clear();
    m_parentId = QStringLiteral("0");
    m_name.clear();
    m_explanation.clear();
    m_question.clear();
    m_weight = 1;
    m_success = 1;
    m_loaded = false;
}

QString CExhibit::Key() const
{
    return m_key;
}

void CExhibit::Initialise(std::shared_ptr<dao::Database> db, const QString& key)
{
    try {
        InitialiseProperties();
        m_db = std::move(db);
        if (key.isEmpty())
            m_state = stNew;
        else
            m_key = key;
    } catch (...) {
        fail("IDataObject_Initialise");
    }
}

void CExhibit::Delete()
{
    m_state = stDeleting;
}

void CExhibit::Commit()
{
    try {
        switch (m_state) {
        case stNew:
            InsertObject();
            break;
        case stDeleting:
            DeleteObject();
            break;
        default:
            UpdateObject();
            break;
        }
    } catch (...) {
        fail("IDataObject_Commit");
    }
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
        rs->Update();
        rs->setBookmark(rs->LastModified());
        m_key = rs->Fields(QStringLiteral("id")).Value().toString();
        rs->Close();
        m_state = stUnchanged;
        dao::DBEngine::Idle(dao::dbRefreshCache);
    } catch (...) {
        records::reraise(QStringLiteral("CExhibit::InsertObject"));
    }
}

void CExhibit::DeleteObject()
{
    try {
        auto& db = records::database(m_db);
        db.Execute(QStringLiteral("delete from Issue where id = ") + m_key);
        db.Execute(QStringLiteral("delete from bookmarks where codeid = ") + m_key);
        db.Execute(QStringLiteral("delete from codefiles where codeid = ") + m_key);
        m_state = stDeleted;
        dao::DBEngine::Idle(dao::dbRefreshCache);
    } catch (...) {
        fail("DeleteObject");
    }
}
