#include "analysis/CReport.h"

#include "analysis/AnalysisState.h"
#include "analysis/CText.h"
#include "analysis/IAnalysisView.h"
#include "analysis/LevelTexts.h"
#include "platform/core/AppError.h"
#include <cstdio>
#undef EOF // the engine's recordsets have an EOF member
#include "platform/db/Ado.h"
#include "store/AppState.h"
#include "store/CMain.h"
#include "store/CUtility.h"

#include <QDir>

#include <limits>
#include <optional>
#include <utility>

namespace {

const QString kProvider = QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=");

// Runs one member body; any failure inside leaves as the class failure
// named after the member, without the original text.
template <typename Body> auto guarded(const char* member, Body&& body) -> decltype(body())
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        throw AppError(kClassFailure, QStringLiteral("Argovo.CReport.") + QLatin1String(member),
                       QStringLiteral("CReport component failure"));
    }
}

// The report type travels as a 16-bit integer; a value that does not fit is a failure.
int16_t toInt16(int value)
{
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw AppError(6, QStringLiteral("CReport"), QStringLiteral("Overflow"));
    return static_cast<int16_t>(value);
}

} // namespace

bool CReport::ShowFormReport() const
{
    return guarded("ShowFormReport", [&] { return m_showFormReport; });
}

void CReport::setShowFormReport(bool value)
{
    guarded("ShowFormReport", [&] { m_showFormReport = value; });
}

QString CReport::Level() const
{
    return guarded("Level", [&] { return m_level; });
}

void CReport::setLevel(const QString& value)
{
    guarded("Level", [&] { m_level = value; });
}

bool CReport::LevelInPlay() const
{
    return guarded("LevelInPlay", [&] { return m_levelInPlay; });
}

void CReport::setLevelInPlay(bool value)
{
    guarded("LevelInPlay", [&] { m_levelInPlay = value; });
}

void CReport::RunAnalysis()
{
    guarded("RunAnalysis", [&] {
        m_reportType = 1;
        // Built afresh on every run: a query left over from a failed run
        // would otherwise answer for the band chosen next.
        m_sqlReview = QStringLiteral("SELECT Name, Explanation,Question,Weight, Success, Jury, "
                                     "Substantive, Procedural, Significance ") +
                      m_sWhat + QStringLiteral(" FROM Issue ") + m_reportLevel +
                      QStringLiteral(" ");

        std::shared_ptr<ado::Recordset> rs;
        GetReviewData(m_sqlReview, rs);

        IAnalysisView* view = analysisView();
        if (view) {
            view->bindGrid(rs);
            view->setInfoCaption(QStringLiteral("     Viewing ") + m_level +
                                 QStringLiteral(" records returned, count is: ") +
                                 QString::number(rs->RecordCount()) +
                                 QStringLiteral(" records returned.  Double-click any Rule "
                                                "to see its entirety."));
        }
        m_sqlReview.clear();
        if (view) {
            view->SetMerge();
            view->setGridMergeSetting(2);
        }
    });
}

void CReport::GetLevelSetting()
{
    guarded("GetLevelSetting", [&] {
        IAnalysisView* view = analysisView();
        const QString text = view ? view->levelText().trimmed() : QString();
        for (const levels::Band& band : levels::bands()) {
            if (text == band.label) {
                m_reportLevel = band.condition;
                m_shortReport = band.label;
                return;
            }
        }
    });
}

QString CReport::ShortReport() const
{
    return guarded("ShortReport", [&] { return m_shortReport; });
}

void CReport::setShortReport(const QString& value)
{
    guarded("ShortReport", [&] { m_shortReport = value; });
}

void CReport::FilterData(int found, int total)
{
    guarded("FilterData", [&] {
        const QString message = foundTotalMessage(found, total);
        oText().setRecordsReturned(message);
        // The panel always tells the outcome, an empty one included, so it
        // never shows the previous study's count over an empty grid.
        UpdatePnlInfo();
        // Only a level study with rows goes on to its advisory texts.
        if (found < 1 || m_reportType != 1)
            return;
        setLevelTexts(message);
        if (m_showFormReport) {
            if (IAdvisoryWindow* window = advisoryWindow()) {
                window->setComment(m_levelComment);
                window->setProblem(m_levelProblem);
                window->setIssue(m_levelIssue);
                window->setDescription(m_levelDescription);
                window->showWindow();
            }
        }
        m_showFormReport = true;
    });
}

void CReport::UpdatePnlInfo()
{
    guarded("UpdatePnlInfo", [&] {
        if (IAnalysisView* view = analysisView())
            view->setInfoCaption(oText().RecordsReturned());
    });
}

QString CReport::LevelIssue() const
{
    return guarded("LevelIssue", [&] { return m_levelIssue; });
}

void CReport::setLevelIssue(const QString& value)
{
    guarded("LevelIssue", [&] { m_levelIssue = value; });
}

int16_t CReport::ReportType() const
{
    return guarded("ReportType", [&] { return m_reportType; });
}

void CReport::setReportType(int value)
{
    guarded("ReportType", [&] { m_reportType = toInt16(value); });
}

int32_t CReport::iRecordCount() const
{
    return guarded("iRecordCount", [&] { return m_iRecordCount; });
}

void CReport::setiRecordCount(int value)
{
    guarded("iRecordCount", [&] { m_iRecordCount = value; });
}

QString CReport::LevelDescription() const
{
    return guarded("LevelDescription", [&] { return m_levelDescription; });
}

void CReport::setLevelDescription(const QString& value)
{
    guarded("LevelDescription", [&] { m_levelDescription = value; });
}

QString CReport::LevelComment() const
{
    return guarded("LevelComment", [&] { return m_levelComment; });
}

void CReport::setLevelComment(const QString& value)
{
    guarded("LevelComment", [&] { m_levelComment = value; });
}

QString CReport::sWhat() const
{
    return guarded("sWhat", [&] { return m_sWhat; });
}

void CReport::setsWhat(const QString& value)
{
    guarded("sWhat", [&] { m_sWhat = value; });
}

QString CReport::ReportLevel() const
{
    return guarded("ReportLevel", [&] { return m_reportLevel; });
}

void CReport::setReportLevel(const QString& value)
{
    guarded("ReportLevel", [&] { m_reportLevel = value; });
}

void CReport::GetReviewData(const QString& /*sSQL*/, std::shared_ptr<ado::Recordset>& rs)
{
    guarded("GetReviewData", [&] {
        ensureCaseConnection();
        rs = ado::Recordset::create();
        rs->setCursorLocation(ado::adUseClient);
        if (IAnalysisView* view = analysisView()) {
            view->resetGridBindingSetting();
            view->clearGrid();
        }
        rs->Open(m_sqlReview, gConnection, ado::adOpenStatic, ado::adLockOptimistic,
                 ado::adOptionUnspecified);
        oUtility().setRecordCount(rs->RecordCount());
        GetCount();
        FilterData(oUtility().RecordCount(), oUtility().TotalCount());
    });
}

void CReport::GetCount()
{
    guarded("GetCount", [&] {
        ensureCaseConnection();
        auto all = ado::Recordset::create();
        all->setCursorLocation(ado::adUseClient);
        all->Open(QStringLiteral("SELECT * from Issue"), gConnection, ado::adOpenForwardOnly,
                  ado::adLockReadOnly, ado::adOptionUnspecified);
        oUtility().setTotalCount(all->RecordCount());
    });
}

QString CReport::LevelProblem() const
{
    return guarded("LevelProblem", [&] { return m_levelProblem; });
}

void CReport::setLevelProblem(const QString& value)
{
    guarded("LevelProblem", [&] { m_levelProblem = value; });
}

QString CReport::sqlReview() const
{
    return guarded("sqlReview", [&] { return m_sqlReview; });
}

void CReport::setsqlReview(const QString& value)
{
    guarded("sqlReview", [&] { m_sqlReview = value; });
}

int CReport::percentFound(int found, int total)
{
    if (total < 1)
        return 0;
    // Integer arithmetic cuts: 1 of 3 is 33, 2 of 3 is 66.
    return static_cast<int>((100LL * found) / total);
}

QString CReport::foundTotalMessage(int found, int total)
{
    if (total < 1)
        return QStringLiteral("No records returned.");
    if (found < 1)
        return QStringLiteral("  0 records found.  The % found is 0%.");
    const QString percent = QString::number(percentFound(found, total));
    if (found == 1)
        return QStringLiteral("   1 record found.  The item you see is 1 of those ") +
               QString::number(total) + QStringLiteral(" records.  The % found is ") + percent +
               QStringLiteral("%.");
    return QStringLiteral("  ") + QString::number(found) +
           QStringLiteral(" records found.  The items you see are ") + QString::number(found) +
           QStringLiteral(" of those ") + QString::number(total) +
           QStringLiteral(" records.  The % found is ") + percent + QStringLiteral("%.");
}

void CReport::ensureCaseConnection()
{
    // The case can change under a still-open connection (a new case, a
    // case opened from the start page); every study asks the case that is
    // open now.
    const QString path = oMain().strFileName();
    const bool current =
        gConnection && gConnection->State() == ado::adStateOpen &&
        QDir::cleanPath(ado::dataSourceFromConnectionString(gConnection->ConnectionString())) ==
            QDir::cleanPath(path);
    if (current)
        return;
    auto connection = ado::Connection::create();
    connection->Open(kProvider + ado::dataSourceValue(path), QString(), QString(),
                     ado::adOptionUnspecified);
    gConnection = std::move(connection);
}

void CReport::setLevelTexts(const QString& recordsReturned)
{
    const std::optional<levels::Texts> texts = levels::textsFor(m_shortReport, recordsReturned);
    if (!texts)
        return;
    m_levelProblem = texts->problem;
    m_levelIssue = texts->issue;
    m_levelComment = texts->comment;
    m_levelDescription = texts->description;
}
