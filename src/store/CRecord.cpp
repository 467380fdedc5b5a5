#include "store/CRecord.h"

#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/RecordSupport.h"

#include <QRegularExpression>

namespace {

// The table each record class adds its rows to, and what the user calls a row.
struct AddedRows {
    const char* table;
    const char* row;
};

AddedRows addedRowsOf(const QString& className)
{
    if (className == QLatin1String("CBookmark"))
        return {"Bookmarks", "bookmark"};
    if (className == QLatin1String("CFileObject"))
        return {"CodeFiles", "document"};
    return {"Issue", "item"};
}

} // namespace

CRecord::CRecord(QString className)
    : m_className(std::move(className))
{
}

CRecord::~CRecord() = default;

QString CRecord::Key() const
{
    return m_key;
}

void CRecord::Initialise(std::shared_ptr<dao::Database> db, const QString& key)
{
    // Keys go into the records' SQL as written: only an id, with the tree's
    // type letter at most, is let through.
    static const QRegularExpression keyPattern(QStringLiteral("^[XWS]?-?[0-9]{1,18}$"));
    if (!key.isEmpty() && !keyPattern.match(key).hasMatch())
        throw AppError(
            jet::ConversionError, m_className + QStringLiteral("::Initialise"),
            QStringLiteral("Data type conversion error. '%1' is not a record key.").arg(key));
    m_state = stUnchanged;
    m_key.clear();
    m_loaded = false;
    InitialiseProperties();
    m_db = std::move(db);
    if (key.isEmpty())
        m_state = stNew;
    else
        m_key = key;
}

void CRecord::Delete()
{
    m_state = stDeleting;
}

void CRecord::Commit()
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
            CommitOtherState();
            break;
        }
    } catch (...) {
        CommitFailed();
    }
}

void CRecord::CommitOtherState()
{
    UpdateObject();
}

void CRecord::CommitFailed()
{
    throw;
}

void CRecord::SetStateForLet()
{
    records::stateStep(m_state, m_className + QStringLiteral("::SetStateForLet"));
}

bool CRecord::needsLoad() const
{
    return (m_state == stUnchanged || m_state == stChanged) && !m_loaded;
}

void CRecord::saveNewRow(dao::Recordset& rs)
{
    // A table another tool declared without an INTEGER PRIMARY KEY gives the
    // new row no id: a row no one can reach again is not kept.
    dao::Transaction transaction(records::database(m_db));
    rs.Update();
    rs.setBookmark(rs.LastModified());
    const QVariant id = rs.Fields(QStringLiteral("id")).Value();
    if (id.isNull()) {
        const AddedRows added = addedRowsOf(m_className);
        throw AppError(jet::NullKey, m_className + QStringLiteral("::InsertObject"),
                       QStringLiteral("The case's table %1 does not number its new rows itself "
                                      "(its column ID is no INTEGER PRIMARY KEY), so no %2 can "
                                      "be added to this case. Nothing was added.")
                           .arg(QLatin1String(added.table), QLatin1String(added.row)));
    }
    transaction.commit();
    m_key = id.toString();
    rs.Close();
}

void CRecord::classFailure(const char* procedure) const
{
    records::classFailure(QStringLiteral("Argovo.") + m_className + QLatin1Char('.') +
                              QLatin1String(procedure),
                          m_className + QStringLiteral(" component failure"));
}
