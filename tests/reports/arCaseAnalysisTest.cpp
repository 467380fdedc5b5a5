#include "analysis/AnalysisFakes.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompt.h"
#include "support/TempCase.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "reports/ReportBench.h"
#include "reports/arCaseAnalysis.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <array>
#include <cmath>

#include <gtest/gtest.h>

namespace {

const QString kNoLevelData = QStringLiteral("There is no level data on which to report.");
const char* const kRatings[6] = {"Weight",      "Success",    "Jury",
                                 "Substantive", "Procedural", "Significance"};

class arCaseAnalysisTest : public ::testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override { resetAppState(); }

    // Opens a case with these rows and runs the report over it.
    void run(const QString& sql)
    {
        const QString path = m_cases.create(QStringLiteral("Case%1.AGV").arg(++m_runs), sql);
        oMain().setStrFileName(path);
        oDataLayer().CloseConnection();
        oDataLayer().setDataSource(path);
        m_report = std::make_unique<arCaseAnalysis>();
        m_document = m_report->run();
    }

    QString text(const QString& name) { return m_report->control(name)->text; }
    QString field(const QString& name) { return m_report->fields().text(name); }

    ScriptedPrompt m_prompt;
    TempCase m_cases;
    std::unique_ptr<arCaseAnalysis> m_report;
    rpt::Document m_document;
    int m_runs = 0;
};

} // namespace

TEST_F(arCaseAnalysisTest, UndefinedStatisticsPrintEmptyWithoutAnyBox)
{
    struct Case {
        const char* what;
        QString sql;
        QString count;
        QStringList emptyAvg; // AVG fields that print empty
        QString grandAvg;
        bool deviationsEmpty;
    };
    const QString all = QStringLiteral("Weight,Success,Jury,Substantive,Procedural,Significance");
    const std::vector<Case> cases{
        {"empty case", QString(), "0", all.split(','), "", true},
        {"one item", issueRow(1, 0, "Only", {2, 4, 6, 8, 10, 0}), "1", {}, "5", true},
        {"all-NULL column",
         issueRow(1, 0, "A", {2, 4, -1, 8, 10, 0}) + issueRow(2, 0, "B", {4, 6, -1, 8, 10, 0}),
         // Averages 3, 5, 8, 10 and 0 without Jury: 26 / 5.
         "2",
         {"Jury"},
         "5.2",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        run(c.sql);
        EXPECT_EQ(m_prompt.count(QStringLiteral("message")), 0)
            << m_prompt.messages().join('|').toStdString();
        EXPECT_EQ(
            text("txtByAvg"),
            QStringLiteral("The case contains %1 items.  The grand averages are:").arg(c.count));
        EXPECT_EQ(text("txtIssueCount"), c.count);
        for (const char* rating : kRatings) {
            const bool empty = c.emptyAvg.contains(QLatin1String(rating));
            EXPECT_EQ(field(QStringLiteral("AVG") + rating).isEmpty(), empty) << rating;
            EXPECT_EQ(field(QStringLiteral("STDEV") + rating).isEmpty(),
                      c.deviationsEmpty || QLatin1String(rating) == QLatin1String("Jury"))
                << rating;
        }
        EXPECT_EQ(text("txtGrandAVG"), c.grandAvg);
        if (c.grandAvg.isEmpty()) {
            EXPECT_TRUE(text("txtSummaryAVG").isEmpty());
            EXPECT_TRUE(text("txtAVGSummary").isEmpty());
        }
        EXPECT_EQ(text("txtGrandSTDEV").isEmpty(), c.deviationsEmpty);
        if (c.deviationsEmpty) {
            EXPECT_TRUE(text("txtSummarySTDEV").isEmpty());
        }
    }
}

TEST_F(arCaseAnalysisTest, ARefusedStatisticsQueryIsToldNotPrintedAsAnEmptyBlock)
{
    // A foreign file's text in a rating column: the deviations cannot be
    // worked out at all.
    run(issueRow(1, 0, "A", {2, 4, 6, 8, 10, 0}) + issueRow(2, 0, "B", {4, 6, 6, 8, 10, 0}) +
        QStringLiteral("UPDATE Issue SET Weight = 'n/a' WHERE ID = 2;"));
    const QStringList messages = m_prompt.messages();
    ASSERT_EQ(messages.size(), 1) << messages.join('|').toStdString();
    EXPECT_TRUE(messages[0].startsWith(
        QStringLiteral("Operation is not allowed when the object is closed.")));
    EXPECT_TRUE(messages[0].contains(QStringLiteral("in Argovo.arCaseAnalysis.GetSTDEVData ")));
    EXPECT_TRUE(text("txtGrandSTDEV").isEmpty());
}

TEST_F(arCaseAnalysisTest, AveragesAndDeviationsMatchIndependentFigures)
{
    QRandomGenerator random(20261209);
    QString sql;
    std::array<std::vector<double>, 6> columns;
    for (int id = 1; id <= 300; ++id) {
        std::array<int, 6> r{};
        for (size_t i = 0; i < 6; ++i) {
            r[i] = random.bounded(11);
            columns[i].push_back(r[i]);
        }
        sql +=
            issueRow(id, 0, QStringLiteral("Item%1").arg(id), {r[0], r[1], r[2], r[3], r[4], r[5]});
    }
    run(sql);
    EXPECT_EQ(text("txtByAvg"),
              QStringLiteral("The case contains 300 items.  The grand averages are:"));
    double avgSum = 0;
    double devSum = 0;
    for (size_t i = 0; i < 6; ++i) {
        double mean = 0;
        for (double v : columns[i])
            mean += v;
        mean /= columns[i].size();
        double squares = 0;
        for (double v : columns[i])
            squares += (v - mean) * (v - mean);
        const double deviation = std::sqrt(squares / (columns[i].size() - 1));
        const double printedMean = field(QStringLiteral("AVG") + kRatings[i]).toDouble();
        const double printedDeviation = field(QStringLiteral("STDEV") + kRatings[i]).toDouble();
        // Cut to two decimals: never above the figure, less than 0.01 below it.
        EXPECT_LE(printedMean, mean) << kRatings[i];
        EXPECT_GT(printedMean, mean - 0.01) << kRatings[i];
        EXPECT_LE(printedDeviation, deviation) << kRatings[i];
        EXPECT_GT(printedDeviation, deviation - 0.01) << kRatings[i];
        avgSum += printedMean;
        devSum += printedDeviation;
    }
    EXPECT_NEAR(text("txtGrandAVG").toDouble(), avgSum / 6, 0.01);
    EXPECT_NEAR(text("txtGrandSTDEV").toDouble(), devSum / 6, 0.01);
    EXPECT_EQ(text("txtSummaryAVG"),
              arCaseAnalysis::AnalyzeAVG(static_cast<int16_t>(std::nearbyint(avgSum / 6))));
    EXPECT_TRUE(
        text("txtSummarySTDEV").startsWith(QStringLiteral("Outside Argovo's measureable range")));
    // The deviation explanation keeps its run of 91 blanks before the second paragraph.
    const QRegularExpression run(
        QStringLiteral("[^ ]( +)Standard deviations and variance are very "));
    const QRegularExpressionMatch match = run.match(text("txtSTDEVSummary"));
    ASSERT_TRUE(match.hasMatch());
    EXPECT_EQ(match.capturedLength(1), 91);
}

TEST_F(arCaseAnalysisTest, LevelBlockUsesTheBandsOwnCountAndLeavesTheStudyAlone)
{
    // Averages 10, 8 and 2: two bands with rows, "Level 3 - 5" without.
    const QString sql = issueRow(1, 0, "High", {10, 10, 10, 10, 10, 10}) +
                        issueRow(2, 0, "Good", {8, 8, 8, 8, 8, 8}) +
                        issueRow(3, 0, "Weak", {2, 2, 2, 2, 2, 2});
    struct Case {
        QString level;
        QString group;
        bool texts;
    };
    const std::vector<Case> cases{
        {QString(), QStringLiteral("Level Findings:"), false},
        {QStringLiteral("Level 7 - 9"), QStringLiteral("Level 7 - 9:"), true},
        {QStringLiteral("Level 3 - 5"), QStringLiteral("Level 3 - 5:"), false},
        {QStringLiteral("NONE"), QStringLiteral("Level Findings:"), false},
    };
    FakeAnalysisView view;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level.toStdString());
        oReport().setLevel(c.level);
        oReport().setReportType(3);
        oReport().setShowFormReport(true);
        oReport().setReportLevel(QStringLiteral("WHERE earlier study"));
        run(sql);
        EXPECT_EQ(text("lblGroup"), c.group);
        if (c.texts) {
            EXPECT_TRUE(text("txtLevelComment")
                            .startsWith(QStringLiteral(
                                "An average between 7 and 9 is an almost-sure thing")));
            EXPECT_TRUE(text("txtLevelComment").contains(QStringLiteral("1 record found.")));
            EXPECT_TRUE(text("txtLevelProblem")
                            .startsWith(QStringLiteral("An average value between 7 and 9")));
        } else {
            for (const char* box :
                 {"txtLevelComment", "txtLevelProblem", "txtLevelIssue", "txtLevelDescription"})
                EXPECT_EQ(text(QLatin1String(box)), kNoLevelData) << box;
        }
        // Neither the grid window nor the engine's study was touched.
        EXPECT_EQ(view.binds + view.clears + view.resets + view.setMergeCalls, 0);
        EXPECT_TRUE(view.captions.isEmpty());
        EXPECT_EQ(oReport().ReportType(), 3);
        EXPECT_TRUE(oReport().ShowFormReport());
        EXPECT_EQ(oReport().ReportLevel(), QStringLiteral("WHERE earlier study"));
        EXPECT_EQ(oReport().Level(), c.level);
    }
}

TEST_F(arCaseAnalysisTest, RendersToPdfWithItsThreeBlocks)
{
    const QString path = m_cases.createSample();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("analysis.pdf"));
    reports::renderCaseAnalysisPdf(path, pdf);
    const QString text = pdfText(pdf).simplified();
    for (const char* expected :
         {"Argovo Case Analysis", "A Comprehensive Reporting Feature of Argovo 2003",
          "The case contains 10 items. The grand averages are:", "Grand Average:", "Grand Std Dev:",
          "Analysis of Case by Level:", "Level Findings:",
          "There is no level data on which to report."})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    EXPECT_EQ(m_prompt.count(QStringLiteral("message")), 0);
}
