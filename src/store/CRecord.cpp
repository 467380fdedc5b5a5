#include "store/CRecord.h"

#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/RecordSupport.h"

#include <QRegularExpression>

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
    rs.Update();
    rs.setBookmark(rs.LastModified());
    m_key = rs.Fields(QStringLiteral("id")).Value().toString();
    rs.Close();
}

void CRecord::classFailure(const char* procedure) const
{
    records::classFailure(QStringLiteral("Argovo.") + m_className + QLatin1Char('.') +
                              QLatin1String(procedure),
                          m_className + QStringLiteral(" component failure"));
}
