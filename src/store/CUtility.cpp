#include "store/CUtility.h"

#include "platform/core/AppError.h"
#include "platform/db/Ado.h"
#include "store/AppState.h"
#include "store/CMain.h"
#include "store/IAnalysisHost.h"

namespace {

[[noreturn]] void classFailure(const char* member)
{
    throw AppError(kClassFailure, QStringLiteral("Argovo.CUtility.") + QLatin1String(member),
                   QStringLiteral("CUtility component failure"));
}

// Runs a member's body and turns any failure into the class's own error.
template <typename F> auto trapped(const char* member, F&& body) -> decltype(body())
{
    try {
        return body();
    } catch (...) {
        classFailure(member);
    }
}

} // namespace

bool CUtility::FormIssueLoaded() const
{
    return m_formIssueLoaded;
}
void CUtility::setFormIssueLoaded(bool value)
{
    m_formIssueLoaded = value;
}
QString CUtility::CaseName() const
{
    return m_caseName;
}
void CUtility::setCaseName(const QString& value)
{
    m_caseName = value;
}
QString CUtility::ImportedFileName() const
{
    return m_importedFileName;
}
void CUtility::setImportedFileName(const QString& value)
{
    m_importedFileName = value;
}
QString CUtility::DBCompactName() const
{
    return m_dbCompactName;
}
void CUtility::setDBCompactName(const QString& value)
{
    m_dbCompactName = value;
}
QString CUtility::SelectedNode() const
{
    return m_selectedNode;
}
void CUtility::setSelectedNode(const QString& value)
{
    m_selectedNode = value;
}
int32_t CUtility::TotalCount() const
{
    return m_totalCount;
}
void CUtility::setTotalCount(int32_t value)
{
    m_totalCount = value;
}
QString CUtility::ClickText() const
{
    return m_clickText;
}
void CUtility::setClickText(const QString& value)
{
    m_clickText = value;
}
QString CUtility::CaseType() const
{
    return m_caseType;
}
void CUtility::setCaseType(const QString& value)
{
    m_caseType = value;
}
int16_t CUtility::iretCode() const
{
    return m_iretCode;
}
void CUtility::setIretCode(int16_t value)
{
    m_iretCode = value;
}
QString CUtility::ConnectionString() const
{
    return m_connectionString;
}
void CUtility::setConnectionString(const QString& value)
{
    m_connectionString = value;
}
QString CUtility::sSQL() const
{
    return m_sql;
}
void CUtility::setSSQL(const QString& value)
{
    m_sql = value;
}
QString CUtility::CaseDSN() const
{
    return m_caseDSN;
}
void CUtility::setCaseDSN(const QString& value)
{
    m_caseDSN = value;
}
int32_t CUtility::RecordCount() const
{
    return m_recordCount;
}
void CUtility::setRecordCount(int32_t value)
{
    m_recordCount = value;
}

void CUtility::GetRecordset()
{
    trapped("GetRecordset", [this] {
        auto rs = ado::Recordset::create();
        rs->setCursorLocation(ado::adUseClient);

        // The previous connection goes with its last reference; the grid
        // keeps its own recordset.
        gConnection = ado::Connection::create();
        gConnection->setCursorLocation(ado::adUseClient);
        gConnection->Open(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                              ado::dataSourceValue(oMain().strFileName()),
                          QString(), QString(), ado::adOptionUnspecified);

        IAnalysisHost* host = analysisHost();
        if (!host)
            throw AppError(kClassFailure, QStringLiteral("CUtility"),
                           QStringLiteral("No analysis window"));
        host->ResetGridBindingSetting();

        rs->Open(m_sql, gConnection, ado::adOpenDynamic, ado::adLockOptimistic,
                 ado::adOptionUnspecified);
        m_recordCount = rs->RecordCount();
        host->BindGrid(rs);
        host->GetCount();
        host->FilterData(m_recordCount, m_totalCount);
    });
}
