#include "AnalysisFakes.h"
#include "support/ScriptedPrompt.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/CText.h"
#include "platform/core/AppError.h"
#include "store/AppState.h"

#include <gtest/gtest.h>

namespace {

const QString kAvgDescriptionStart = QStringLiteral(
    "Here is an example of a practical application of the AVG method:  If we divided the "
    "world's population by 60 million there would be 100 humans, ");
const QString kAvgDescriptionEnd = QStringLiteral(
    "When you begin thinking of law cases in statistical terms such as these, you will find that "
    "you are thinking more objectively about your cases.");
const QString kAvgCommentStart = QStringLiteral(
    "The average (mean) is one of several indices of central tendency that you can use to locate "
    "the point among all issues where the population is centered.  ");
const QString kAvgCommentEnd = QStringLiteral(
    "In other words, when you are viewing the average or mean, you are viewing a key indicator "
    "of statistical meaning in your case.");
const QString kJuryStart = QStringLiteral(
    "  Because this is an issue that indicates it is closely allied with how the jury will feel "
    "about your case, ");
const QString kJuryEnd = QStringLiteral(
    "in order to assure a more favorable ruling, greater damages, or other outcome.");
const QString kRefusal = QStringLiteral(
    "No Popup Report for Methods COUNT, NONE, or PERCENT.  For Grid Report, click 'Send To "
    "Report' button.");

class CTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppState();
        oReport().setReportType(3);
    }
    void TearDown() override { resetAppState(); }

    // A click on a rating cell of a method study.
    void click(const QString& method, const QString& column, int value)
    {
        m_view.method = method;
        oText().setMyColumnText(column);
        oText().setMyColumnVal(static_cast<int16_t>(value));
        oText().DisplayReport();
    }

    ScriptedPrompt m_prompt;
    FakeAnalysisView m_view;
    FakeAdvisoryWindow m_window;
};

TEST_F(CTextTest, AverageSevenInTheJuryColumnFillsTheFourBoxesInOrder)
{
    click(QStringLiteral("AVG"), QStringLiteral("Jury"), 7);

    EXPECT_EQ(m_window.problem,
              "The following applies ONLY when you have clicked a value that has been posted to "
              "the screen in red.  (The values in black are the actual values, not the AVGs.)  "
              "The average has been rounded off.  A 7 average means this group of issues when "
              "added together and divided by their total count scores about 70%. This is an "
              "average score for a group of issues.");
    const QString opening = "The selected AVG value is of a Jury object.  The value is 7.";
    EXPECT_TRUE(m_window.issue.startsWith(opening + kJuryStart)) << m_window.issue.toStdString();
    EXPECT_TRUE(m_window.issue.endsWith(kJuryEnd));
    EXPECT_TRUE(m_window.comment.startsWith(kAvgCommentStart));
    EXPECT_TRUE(m_window.comment.endsWith(kAvgCommentEnd));
    EXPECT_TRUE(m_window.description.startsWith(kAvgDescriptionStart));
    EXPECT_TRUE(m_window.description.endsWith(kAvgDescriptionEnd));
    EXPECT_EQ(m_window.writes.size(), 4);
    EXPECT_TRUE(m_window.writes[0].startsWith("Problem:"));
    EXPECT_TRUE(m_window.writes[3].startsWith("Description:"));
    EXPECT_EQ(m_window.shows, 1);
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

TEST_F(CTextTest, AverageProblemStatementForEachValue)
{
    const QString note = QStringLiteral(
        "The following applies ONLY when you have clicked a value that has been posted to the "
        "screen in red.  (The values in black are the actual values, not the AVGs.)  ");
    const QString tenNote = QStringLiteral(
        "The following applies ONLY when you have clicked a value  that has been posted to the "
        "screen in red.  (The values in black are the actual values, not the AVGs.)  ");
    const QString rounded = QStringLiteral("The average has been rounded off.  ");
    const QString meaning = QStringLiteral(
        "average means this group of issues when added together and divided by their total count "
        "scores ");
    const QStringList expected{
        note + rounded + "A 0 " + meaning +
            "about 0%. This is the lowest possible score for a group of issues.",
        note + rounded + "A 1 " + meaning + "about 10%. This is a bottom score for so many issues.",
        note + rounded + "A 2 " + meaning +
            "about 20%. This is a defeated score for so many issues.",
        note + rounded + "A 3 " + meaning +
            "about 30%. This is a very poor score for so many issues.",
        rounded + "A 4 " + meaning + "about 40%. This is a poor score for so many issues.",
        note + rounded + "A 5 " + meaning +
            "about 50%. This is a very low score for so many issues.",
        note + rounded + "A 6 " + meaning + "about 60%. This is a low score for so many issues.",
        note + rounded + "A 7 " + meaning +
            "about 70%. This is an average score for a group of issues.",
        note + rounded + "An 8 " + meaning +
            "about 80%. This is high-confidence low score for a group of issues.",
        note + rounded + "A 9 " + meaning +
            "about 90%. This is an excellent score for a group of issues.",
        tenNote + rounded + "A 10 " + meaning +
            "about 100%. This is the highest possible score for a group of issues.",
    };
    m_view.method = QStringLiteral("AVG");
    for (int v = 0; v <= 10; ++v) {
        oText().setMyColumnVal(static_cast<int16_t>(v));
        EXPECT_EQ(oText().MethodProblemStatement(), expected[v]) << v;
    }
}

TEST_F(CTextTest, ValuesAndMethodsWithoutTextsYieldEmptyTextsNotThePreviousClicks)
{
    click(QStringLiteral("AVG"), QStringLiteral("Weight"), 5);
    ASSERT_FALSE(m_window.problem.isEmpty());

    click(QStringLiteral("AVG"), QStringLiteral("Weight"), 11);
    EXPECT_EQ(m_window.problem, "");
    EXPECT_TRUE(m_window.issue.startsWith("The selected AVG value is of a Weight object.  The "
                                          "value is 11.  Because"));
    click(QStringLiteral("AVG"), QStringLiteral("Weight"), -1);
    EXPECT_TRUE(m_window.issue.startsWith("The selected AVG value is of a Weight object.  The "
                                          "value is -1."));

    m_view.method = QStringLiteral("SUM");
    EXPECT_EQ(oText().MethodDescription(), "");
    EXPECT_EQ(oText().MethodIssueStatement(), "");
    oText().setMyColumnText(QStringLiteral("Instructions"));
    oText().setMyColumnVal(12);
    EXPECT_EQ(oText().LevelDescription(), "");
    EXPECT_EQ(oText().LevelProblemStatement(), "");
}

TEST_F(CTextTest, OtherMethodsSayOneSentenceWhateverTheColumn)
{
    for (const char* method : {"MIN", "MAX", "STDEV", "VAR"}) {
        click(QString::fromLatin1(method), QStringLiteral("Significance"), 9);
        EXPECT_EQ(m_window.issue, QStringLiteral("The selected %1 value is of a Significance "
                                                 "object.  The value is 9.")
                                      .arg(method));
        EXPECT_FALSE(m_window.problem.isEmpty() || m_window.comment.isEmpty() ||
                     m_window.description.isEmpty())
            << method;
    }
}

TEST_F(CTextTest, TextsGivenByTheirEndsKeepTheirGivenWords)
{
    auto expectEnds = [](const QString& text, const char* start, const char* end) {
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(start))) << start;
        EXPECT_TRUE(text.endsWith(QString::fromUtf8(end))) << end;
    };
    m_view.method = QStringLiteral("STDEV");
    expectEnds(oText().MethodDescription(),
               "If you traded in the stock market, you would think about STDEV like this:  in "
               "relation to trading system returns, a high standard deviation is telling you "
               "that you can expect a wide range of returns, ",
               "This uncertainty of what the returns would be in the next period is why standard "
               "deviation is used as a measure of risk.");
    expectEnds(oText().MethodComment(),
               "The standard deviation is a figure that illustrates how closely all the various "
               "points of data are clustered around the mean (average) in a group of issues. ",
               "Translated into case terms, the latter would indicate wide-spread issue values.");
    m_view.method = QStringLiteral("VAR");
    expectEnds(oText().MethodDescription(),
               "Variation is inevitable in life! Every issue, every measurement, every group has "
               "variation. ",
               "A good rule of thumb: pay heed to the VAR indicator where the key issues are "
               "involved.  Look at their values individually, keeping in mind what is the "
               "average and what is the VAR, and compare those values to each key.");
    expectEnds(oText().MethodComment(),
               "The variance is the square of the standard deviation.  What does this mean in our "
               "analysis of issue scores?  ",
               "If you equate issue importance with the size of objects on your desktop, you are "
               "starting to grasp the idea of variance.");
    m_view.method = QStringLiteral("AVG");
    oText().setMyColumnText(QStringLiteral("Success"));
    expectEnds(oText().MethodIssueStatement(),
               "The selected AVG value is of a Success object.  The value is 0.  Because this is "
               "an issue that indicates how you feel about your chances for success with this "
               "case, you are looking at an issue that is really about your gut-feeling, as some "
               "would say.  ",
               "Doing so will help you gain a cross-section of opinion about the merits of the "
               "case as a jury might perceive them in your opening statement.");

    const QList<std::tuple<const char*, const char*, const char*>> levelDescriptions{
        {"Success", "'Success' is a value assigned on the basis of many thought processes.  ",
         "Do the rules of evidence allow for the admission of all the evidence necessary to "
         "prove (or defeat) the issue.  "},
        {"Jury",
         "Cases having the greatest jury appeal are those cases that ignite human "
         "emotion.  ",
         "Many attorneys like to keep in mind the human feeling side of the case when thinking "
         "of jury appeal, especially those cases dealing with children, the infirm, the aged, "
         "and the physically or mentally challenged.  "},
        {"Substantive",
         "'Proof beyond a reasonable doubt means proof beyond all doubt.'  (This "
         "misstates the law, ",
         "Also think of ways your adversary might try to distinguish your facts from the facts "
         "in those reported cases."},
        {"Procedural",
         "'An admission by a party opponent is an exception to the hearsay rule.'  "
         "Are you certain you know what this language means?  ",
         "If so, you are ready to assign a reliable procedural value to issues subject to such "
         "frailties."},
        {"Significance",
         "If you were sitting on your jury, how strongly would you be moved by "
         "the issue now under consideration?  ",
         "through an interrogatory or 'request for admission' so that you do not have to bore "
         "your jury."}};
    for (const auto& [column, start, end] : levelDescriptions) {
        oText().setMyColumnText(QString::fromLatin1(column));
        expectEnds(oText().LevelDescription(), start, end);
    }

    const QList<QPair<int, const char*>> levelIssues{
        {10, "A 10 out of 10 level is significant in that it indicates an issue that you clearly "
             "expect to win.  "},
        {9, "9 out of 10 is a sure thing, an issue that you believe would be difficult to lose.  "
            "But why not a 10?  "},
        {8, "8 of 10 is a strong issue, if a key issue, for an excellent settlement.  "},
        {7, "A 7 out of 10 resembles the 'C' student.  "},
        {6, "You will most likely, at some point, regret having ever filed an "
            "'across-the-board' 6 out of 10 case.  "},
        {5, "A 5 out of 10 level indicates you are equally divided on your chances of winning on "
            "this issue.  "},
        {3, "If many other issues in the case are also at the 3 level, your adversary will "
            "likely move for summary judgment and win.  "}};
    oText().setRecordsReturned(QStringLiteral("  2 records found."));
    for (const auto& [value, start] : levelIssues) {
        oText().setMyColumnVal(static_cast<int16_t>(value));
        expectEnds(oText().LevelIssueStatement(), start,
                   "You should consider this finding in light of the fact that   2 records "
                   "found.");
    }
}

TEST_F(CTextTest, LevelIssueStatementOfOneAndTwoMatchAndZeroDiffersOnlyInProbably)
{
    oText().setRecordsReturned(QStringLiteral("RR"));
    oText().setMyColumnVal(1);
    const QString one = oText().LevelIssueStatement();
    oText().setMyColumnVal(2);
    EXPECT_EQ(oText().LevelIssueStatement(), one);
    oText().setMyColumnVal(0);
    EXPECT_EQ(
        oText().LevelIssueStatement(),
        QString(one).replace(QStringLiteral("would probably try"), QStringLiteral("would try")));
    EXPECT_TRUE(one.endsWith("You should consider this finding in light of the fact that RR"));
}

TEST_F(CTextTest, MethodsWithoutAdvisoryTextsAreRefusedTheWindowKeepsWhatItShowedAndNoStudyNoText)
{
    click(QStringLiteral("MAX"), QStringLiteral("Jury"), 9);
    const QStringList before = m_window.writes;
    for (const char* method : {" count ", "percent", "None", "COUNT"}) {
        m_prompt.clear();
        click(QString::fromLatin1(method), QStringLiteral("Jury"), 7);
        ASSERT_EQ(m_prompt.shown().size(), 1) << method;
        EXPECT_EQ(m_prompt.shown()[0].text, kRefusal) << method;
        EXPECT_EQ(m_prompt.shown()[0].title, "Popup Report Not Supported");
        EXPECT_EQ(m_prompt.shown()[0].buttons, platform::MsgButtons::OKCancel);
    }
    for (const char* method : {"SUM", "avg", " AVG "}) {
        m_prompt.clear();
        click(QString::fromLatin1(method), QStringLiteral("Jury"), 7);
        ASSERT_EQ(m_prompt.shown().size(), 1) << method;
        EXPECT_EQ(m_prompt.shown()[0].text,
                  QStringLiteral("No Popup Report for Method %1.  For Grid Report, click 'Send "
                                 "To Report' button.")
                      .arg(QString::fromLatin1(method).trimmed()));
    }
    EXPECT_EQ(m_window.writes, before);
    EXPECT_EQ(m_window.shows, 1);

    // Outside a method study a click does nothing at all.
    m_prompt.clear();
    for (int type : {0, 1, 4}) {
        oReport().setReportType(type);
        click(QStringLiteral("COUNT"), QStringLiteral("Jury"), 7);
        click(QStringLiteral("AVG"), QStringLiteral("Jury"), 7);
    }
    EXPECT_TRUE(m_prompt.shown().isEmpty());
    EXPECT_EQ(m_window.writes, before);
    EXPECT_EQ(m_window.shows, 1);
}

} // namespace
