#include "AnalysisFakes.h"
#include "support/TempCase.h"
#include "support/TestFiles.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/CText.h"
#include "analysis/LevelTexts.h"
#include "platform/core/AppError.h"
#include "store/AppState.h"
#include "store/CMain.h"
#include "store/CUtility.h"

#include <ostream>

#include <gtest/gtest.h>

namespace {

const QString kNineToTen = QStringLiteral("Level 9 - 10");
const QString kSevenToNine = QStringLiteral("Level 7 - 9");

// Rating sums 54, 55, 60, 6 and 5, and one item with an empty rating.
QString bandCaseSql()
{
    return issueRow(1, 0, QStringLiteral("Sum54"), {9, 9, 9, 9, 9, 9})
           + issueRow(2, 1, QStringLiteral("Sum55"), {10, 9, 9, 9, 9, 9})
           + issueRow(3, 1, QStringLiteral("Sum60"), {10, 10, 10, 10, 10, 10})
           + issueRow(4, 0, QStringLiteral("Sum6"), {1, 1, 1, 1, 1, 1})
           + issueRow(5, 4, QStringLiteral("Sum5"), {1, 1, 1, 1, 1, 0})
           + issueRow(6, 4, QStringLiteral("NullRating"), {9, 9, 9, -1, 9, 9});
}

class CReportTest : public ::testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override { resetAppState(); }

    void openCase(const QString& sql, const QString& name = QStringLiteral("Case.AGV"))
    {
        oMain().setStrFileName(m_case.create(name, sql));
    }

    // The grid window's level handler, as the user's choice runs it.
    void chooseLevel(const QString& text)
    {
        m_view.level = text;
        oReport().setLevelInPlay(true);
        oReport().setLevel(text.trimmed());
        oReport().GetLevelSetting();
        oReport().RunAnalysis();
    }

    TempCase m_case;
    FakeAnalysisView m_view;
    FakeAdvisoryWindow m_advisory;
};

const QString kAverage =
    QStringLiteral("WHERE (Issue.Weight + Issue.Success + Issue.Jury + Issue.Substantive + "
                   "Issue.Procedural + Issue.Significance)/6 ");

struct BandCase {
    const char* label;
    const char* condition; // on the average of the six ratings
    QStringList names;
    const char* message;   // the found/total message, blanks as they stand
};

// Names the case by its label in test listings.
void PrintTo(const BandCase& band, std::ostream* os)
{
    *os << band.label;
}

class LevelBandTest : public CReportTest, public ::testing::WithParamInterface<BandCase> {};

TEST_P(LevelBandTest, BandHoldsTheItemsWhoseRealAverageLiesWithinIt)
{
    openCase(bandCaseSql());
    chooseLevel(QString::fromLatin1(GetParam().label));

    QStringList expected = GetParam().names;
    expected.sort();
    EXPECT_EQ(m_view.boundNames, expected);
    EXPECT_EQ(oUtility().RecordCount(), expected.size());
    // The item with an empty rating is in no band but in the total.
    EXPECT_EQ(oUtility().TotalCount(), 6);
    EXPECT_EQ(oText().RecordsReturned(), QString::fromLatin1(GetParam().message));
    // The found/total message first, then the study's own caption over it,
    // with or without rows.
    EXPECT_EQ(m_view.captions,
              QStringList({GetParam().message,
                           QStringLiteral("     Viewing %1 records returned, count is: %2 "
                                          "records returned.  Double-click any Rule to see its "
                                          "entirety.")
                               .arg(GetParam().label)
                               .arg(expected.size())}));
    EXPECT_EQ(oReport().ReportType(), 1);
    EXPECT_EQ(oReport().ReportLevel(), kAverage + QLatin1String(GetParam().condition));
    EXPECT_EQ(oReport().ShortReport(), QLatin1String(GetParam().label));
    EXPECT_EQ(m_view.clears, 1);
    EXPECT_EQ(m_view.resets, 1);
    EXPECT_EQ(m_view.setMergeCalls, 1);
    EXPECT_EQ(m_view.mergeSetting, 2);
    EXPECT_TRUE(oReport().sqlReview().isEmpty());
}

const char* const kOneOfSix =
    "   1 record found.  The item you see is 1 of those 6 records.  The % found is 16%.";
const char* const kNoneOfSix = "  0 records found.  The % found is 0%.";

INSTANTIATE_TEST_SUITE_P(
    Bands, LevelBandTest,
    ::testing::Values(
        BandCase{"Level 9 - 10", "BETWEEN 9 AND 10", {"Sum54", "Sum55", "Sum60"},
                 "  3 records found.  The items you see are 3 of those 6 records.  "
                 "The % found is 50%."},
        BandCase{"Level 7 - 9", "BETWEEN 7 AND 9", {"Sum54"}, kOneOfSix},
        BandCase{"Level 5 - 7", "BETWEEN 5 AND 7", {}, kNoneOfSix},
        BandCase{"Level 3 - 5", "BETWEEN 3 AND 5", {}, kNoneOfSix},
        BandCase{"Level 1 - 3", "BETWEEN 1 AND 3", {"Sum6"}, kOneOfSix},
        BandCase{"Level 0", "< 1", {"Sum5"}, kOneOfSix}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.label);
        name.remove(QLatin1Char(' ')).replace(QLatin1Char('-'), QLatin1Char('_'));
        return name.toStdString();
    });

TEST_F(CReportTest, LevelTextIsTrimmedButComparedCaseSensitively)
{
    m_view.level = QStringLiteral(" Level 7 - 9 ");
    oReport().GetLevelSetting();
    EXPECT_EQ(oReport().ShortReport(), kSevenToNine);
    const QString sevenToNine = oReport().ReportLevel();
    EXPECT_TRUE(sevenToNine.endsWith(QStringLiteral("BETWEEN 7 AND 9")));

    for (const char* other : {"level 9 - 10", "Level 11", "NONE", ""}) {
        m_view.level = QString::fromLatin1(other);
        oReport().GetLevelSetting();
        EXPECT_EQ(oReport().ShortReport(), kSevenToNine) << other;
        EXPECT_EQ(oReport().ReportLevel(), sevenToNine) << other;
    }
}

TEST_F(CReportTest, FoundTotalMessagesKeepTheirBlanksAndCutThePercentage)
{
    const auto several = [](int found, int total, int percent) {
        return QStringLiteral("  %1 records found.  The items you see are %1 of those %2 records.  "
                              "The % found is %3%.")
            .arg(found)
            .arg(total)
            .arg(percent);
    };
    const struct {
        int found, total;
        QString message;
    } cases[]{
        {1, 3, "   1 record found.  The item you see is 1 of those 3 records.  The % found is 33%."},
        {1, 200, "   1 record found.  The item you see is 1 of those 200 records.  The % found is 0%."},
        {2, 3, several(2, 3, 66)},
        {1, 8, "   1 record found.  The item you see is 1 of those 8 records.  The % found is 12%."},
        {2, 4, several(2, 4, 50)},
        {5, 5, several(5, 5, 100)},
        {32767, 32767, several(32767, 32767, 100)},
        {0, 5, "  0 records found.  The % found is 0%."},
        {0, 0, "No records returned."},
        {3, 0, "No records returned."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CReport::foundTotalMessage(c.found, c.total), c.message)
            << c.found << " of " << c.total;
}

TEST_F(CReportTest, EmptyCaseReportsNoRecordsAndShowsACountOfZero)
{
    openCase(QString());
    chooseLevel(kSevenToNine);

    EXPECT_EQ(oText().RecordsReturned(), "No records returned.");
    EXPECT_TRUE(m_view.captions.contains("No records returned."));
    EXPECT_EQ(m_view.caption(),
              "     Viewing Level 7 - 9 records returned, count is: 0 records returned.  "
              "Double-click any Rule to see its entirety.");
    EXPECT_TRUE(m_view.boundNames.isEmpty());
    EXPECT_EQ(m_advisory.shows, 0);
    EXPECT_FALSE(oReport().ShowFormReport());
}

TEST_F(CReportTest, FirstStudyWithRowsOpensNoAdvisoryWindowLaterOnesDo)
{
    openCase(bandCaseSql());
    EXPECT_FALSE(oReport().ShowFormReport());

    chooseLevel(kNineToTen);
    EXPECT_EQ(m_advisory.shows, 0);
    EXPECT_TRUE(oReport().ShowFormReport());
    const auto nine = levels::textsFor(kNineToTen, oText().RecordsReturned());
    ASSERT_TRUE(nine);
    EXPECT_EQ(oReport().LevelProblem(), nine->problem);

    chooseLevel(kSevenToNine);
    EXPECT_EQ(m_advisory.shows, 1);
    const QString rr = QStringLiteral(
        "   1 record found.  The item you see is 1 of those 6 records.  The % found is 16%.");
    const auto seven = levels::textsFor(kSevenToNine, rr);
    ASSERT_TRUE(seven);
    EXPECT_EQ(m_advisory.writes,
              QStringList({"Comment:" + seven->comment, "Problem:" + seven->problem,
                           "Issue:" + seven->issue, "Description:" + seven->description}));
    EXPECT_TRUE(m_advisory.comment.endsWith("light of the fact that there were " + rr));
    EXPECT_EQ(oReport().LevelComment(), seven->comment);
    EXPECT_EQ(oReport().LevelIssue(), seven->issue);
    EXPECT_EQ(oReport().LevelDescription(), seven->description);
}

TEST_F(CReportTest, StudyWithoutRowsShowsItsCountButLeavesTextsWindowAndFlagAlone)
{
    openCase(bandCaseSql());
    chooseLevel(kNineToTen);
    const QString problem = oReport().LevelProblem();
    m_view.captions.clear();

    chooseLevel(QStringLiteral("Level 3 - 5"));
    // The panel never keeps the previous study's count over an empty grid.
    EXPECT_EQ(m_view.captions,
              QStringList({kNoneOfSix,
                           "     Viewing Level 3 - 5 records returned, count is: 0 records "
                           "returned.  Double-click any Rule to see its entirety."}));
    EXPECT_TRUE(m_view.boundNames.isEmpty());
    EXPECT_EQ(oReport().LevelProblem(), problem);
    EXPECT_EQ(m_advisory.shows, 0);
    EXPECT_TRUE(oReport().ShowFormReport());

    // Method and range studies reach the panel the same way, with or
    // without rows, and never touch the level texts or the window.
    m_view.captions.clear();
    oReport().setReportType(3);
    oReport().FilterData(0, 6);
    oReport().FilterData(2, 3);
    EXPECT_EQ(m_view.captions,
              QStringList({kNoneOfSix, "  2 records found.  The items you see are 2 of those 3 "
                                       "records.  The % found is 66%."}));
    EXPECT_EQ(oReport().LevelProblem(), problem);
    EXPECT_EQ(m_advisory.shows, 0);
}

TEST_F(CReportTest, FailedStudyLeavesNoStaleQueryForTheNextBand)
{
    const QString path = m_case.create(QStringLiteral("Case.AGV"), bandCaseSql());
    oMain().setStrFileName(m_case.path(QStringLiteral("Missing.AGV")));
    try {
        chooseLevel(kNineToTen);
        FAIL() << "a study on a missing case file must fail";
    } catch (const AppError& e) {
        expectClassFailure(e, QStringLiteral("CReport"), QStringLiteral("RunAnalysis"));
    }
    EXPECT_FALSE(oReport().sqlReview().isEmpty());

    oMain().setStrFileName(path);
    chooseLevel(QStringLiteral("Level 1 - 3"));
    EXPECT_EQ(m_view.boundNames, QStringList{"Sum6"});
    EXPECT_TRUE(m_view.caption().startsWith("     Viewing Level 1 - 3 records returned, count "
                                            "is: 1 records"));
}

TEST_F(CReportTest, StudyQueriesTheCaseOpenNow)
{
    openCase(bandCaseSql(), QStringLiteral("First.AGV"));
    chooseLevel(kNineToTen);
    EXPECT_EQ(m_view.boundNames.size(), 3);
    ASSERT_TRUE(gConnection);

    const QString second = m_case.create(
        QStringLiteral("Second.AGV"), issueRow(1, 0, QStringLiteral("Other"), {10, 10, 9, 9, 9, 9}));
    oMain().setStrFileName(second);
    chooseLevel(kNineToTen);
    EXPECT_EQ(m_view.boundNames, QStringList{"Other"});
    EXPECT_EQ(oUtility().TotalCount(), 1);
    EXPECT_EQ(ado::dataSourceFromConnectionString(gConnection->ConnectionString()), second);
}

TEST_F(CReportTest, StudyRunsWithoutTheGridWindow)
{
    openCase(bandCaseSql());
    m_view.level = kSevenToNine;
    oReport().GetLevelSetting();
    setAnalysisView(nullptr);

    oReport().setShowFormReport(false);
    oReport().RunAnalysis();
    EXPECT_EQ(oUtility().RecordCount(), 1);
    EXPECT_EQ(m_advisory.shows, 0);
    EXPECT_TRUE(oReport().ShowFormReport());
    EXPECT_EQ(oReport().LevelIssue(), levels::textsFor(kSevenToNine, QString())->issue);
    EXPECT_TRUE(m_view.captions.isEmpty());
}

TEST_F(CReportTest, LevelStudyPastThirtyTwoThousandItemsCountsAndPercentsEveryItem)
{
    // 40,000 items; every third one (13,333) averages 8, the rest 1.
    openCase(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
        "INSERT INTO Issue (ParentID, Name, Weight, Success, Jury, Substantive, Procedural, "
        "Significance) SELECT 0, 'Item ' || i, r, r, r, r, r, r FROM "
        "(SELECT i, CASE WHEN i % 3 = 0 THEN 8 ELSE 1 END AS r FROM n);"));
    chooseLevel(kSevenToNine);

    EXPECT_EQ(oUtility().RecordCount(), 13333);
    EXPECT_EQ(oUtility().TotalCount(), 40000);
    EXPECT_EQ(m_view.boundNames.size(), 13333);
    EXPECT_EQ(oText().RecordsReturned(),
              "  13333 records found.  The items you see are 13333 of those 40000 records.  The "
              "% found is 33%.");
}

TEST_F(CReportTest, ReleasedEngineComesBackFresh)
{
    oReport().setShowFormReport(true);
    oReport().setLevel(kNineToTen);
    oText().setRecordsReturned(QStringLiteral("x"));
    releaseSharedInstance("oReport");
    releaseSharedInstance("oText");
    EXPECT_FALSE(oReport().ShowFormReport());
    EXPECT_TRUE(oReport().Level().isEmpty());
    EXPECT_TRUE(oText().RecordsReturned().isEmpty());
}

} // namespace
