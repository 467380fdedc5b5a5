#include "IssueWindowFixture.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/CText.h"
#include "analysis/LevelTexts.h"
#include "platform/core/Twips.h"
#include "platform/grid/GridView.h"
#include "store/CUtility.h"
#include "store/IAnalysisHost.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

namespace {

const QString kAllCaption = QStringLiteral(
    "     Viewing all records, count is: %1 records returned.  Double-click any Key-Group or "
    "Rule to view its entirety.");

QStringList itemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Grid columns 1..9 as a layout leaves them; merge and format read "y" or
// "n" per column, as the layout tables give them.
void expectLayout(const grid::GridCore& g, const QStringList& headers, const QList<int>& widths,
                  const QString& merge, const QString& format)
{
    for (int c = 1; c <= 9; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(g.textAt(0, c), headers[c - 1]);
        EXPECT_EQ(g.colWidth(c), widths[c - 1]);
        EXPECT_EQ(g.mergeCol(c), merge[c - 1] == 'y');
        EXPECT_EQ(g.colFormat(c), format[c - 1] == 'y' ? "'.0" : "");
    }
}

class frmIssueTest : public AnalysisWindowTest {
protected:
    void SetUp() override
    {
        AnalysisWindowTest::SetUp();
        oMain().setStrFileName(m_case.createSample());
    }
};

TEST_F(frmIssueTest, LoadListsItemsThatHaveAParentBesideItWithRedAndBlueCountsPerParent)
{
    frmIssue& window = load();
    const grid::GridCore& g = window.grid();

    QStringList names = dataColumn(3);
    names.sort();
    EXPECT_EQ(names, QStringList({"Breach", "Duty of care", "Lost wages", "Medical costs",
                                  "Officer Reyes", "Skid-mark photographs",
                                  "Was the plaintiff paid during leave?"}));
    // Sorted on the parent, each item beside its parent's id and name.
    EXPECT_EQ(dataColumn(1), QStringList({"1", "1", "3", "3", "6", "6", "8"}));
    EXPECT_EQ(dataColumn(2), QStringList({"Liability", "Liability", "Breach", "Breach", "Damages",
                                          "Damages", "Lost wages"}));
    EXPECT_EQ(window.pnlInfo()->text(), kAllCaption.arg(7));
    EXPECT_TRUE(m_prompt.messages().isEmpty()) << m_prompt.messages().join("|").toStdString();

    QStringList counts;
    for (int r = 1; r < g.rows(); ++r) {
        if (!g.isSubtotal(r))
            continue;
        counts << g.textAt(r, 4);
        for (int c = 4; c <= 9; ++c) {
            EXPECT_EQ(g.foreColorAt(r, c), c == 4 ? grid::kRed : grid::kBlue) << r << "," << c;
            EXPECT_TRUE(g.boldAt(r, c)) << r << "," << c;
        }
    }
    EXPECT_EQ(counts, QStringList({"2", "2", "2", "1"}));
    EXPECT_EQ(g.redraw(), grid::RedrawOn);
}

TEST_F(frmIssueTest, LoadServesTheEngineAndLoadingAgainReadsTheCaseOpenNow)
{
    frmIssue& first = load();
    EXPECT_TRUE(oUtility().FormIssueLoaded());
    EXPECT_EQ(analysisHost(), &first);
    EXPECT_EQ(analysisView(), &first);
    EXPECT_EQ(first.parentWidget(), &m_pane);
    EXPECT_EQ(oUtility().sSQL(),
              "SELECT Issue.ID as ID,Issue.Name as [Key Group], Issue_1.Name as Name, "
              "Issue_1.Weight as Weight, Issue_1.Success as Success, Issue_1.Jury as Jury, "
              "Issue_1.Substantive as Instructions, Issue_1.Procedural as Evidentiary, "
              "Issue_1.Significance as Significance FROM Issue INNER JOIN Issue AS Issue_1 ON "
              "Issue.ID = Issue_1.ParentID;");

    oMain().setStrFileName(m_case.create(
        QStringLiteral("Other.AGV"), issueRow(1, 0, QStringLiteral("Top"), {5, 5, 5, 5, 5, 5})
                                         + issueRow(2, 1, QStringLiteral("Child"), {6, 6, 6, 6, 6, 6})));
    frmIssue& second = load();
    EXPECT_EQ(dataColumn(3), QStringList{"Child"});
    EXPECT_EQ(second.pnlInfo()->text(), kAllCaption.arg(1));
    EXPECT_EQ(analysisforms::issueWindow(), &second);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_pane.findChildren<frmIssue*>().size(), 1);

    analysisforms::unloadIssueWindow();
    EXPECT_FALSE(oUtility().FormIssueLoaded());
    EXPECT_EQ(analysisHost(), nullptr);
    EXPECT_EQ(analysisView(), nullptr);
    EXPECT_EQ(analysisforms::issueWindow(), nullptr);
}

TEST_F(frmIssueTest, LoadEndsInTheStandardLayoutWithMergingOn)
{
    frmIssue& window = load();
    const grid::GridCore& g = window.grid();

    expectLayout(g, {"ID", "Key Group", "Rule", "Weight", "Success", "Jury", "Instructions",
                     "Evidence", "Significance"},
                 {760, 1750, 2000, 760, 760, 660, 1060, 1060, 1060}, "yyyyyyyyy", "nnnyyyyyy");
    EXPECT_EQ(g.mergeCells(), grid::MergeCells);
    EXPECT_EQ(g.displayOptionA(), 1);
    EXPECT_EQ(g.displayOptionB(), 3);
    EXPECT_FALSE(g.displayFlag());
    EXPECT_EQ(window.fg()->width(), twips::toPixels(10400));
}

TEST_F(frmIssueTest, ControlsCarryTheirNamesCaptionsAndLists)
{
    frmIssue& window = load();

    auto* frame = window.findChild<QGroupBox*>("Frame1");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(),
              "  Method            |         Levels                 |  Value                 |  "
              "   Range       |         Run          |   Refresh");
    for (const char* name : {"picButtons", "updown", "fg", "pnlInfo"})
        EXPECT_NE(window.findChild<QWidget*>(name), nullptr) << name;
    const QList<QPair<const char*, const char*>> buttons{
        {"cmdAnalyze", "Run Study"}, {"cmdReport", "Send to Report"}, {"cmdRefresh", "Refresh"}};
    for (const auto& [name, caption] : buttons) {
        auto* button = window.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), caption);
    }
    EXPECT_FALSE(window.cmdAnalyze()->isEnabled());
    ASSERT_EQ(window.findChildren<QRadioButton*>("optMerge").size(), 2);
    EXPECT_EQ(window.optMerge(0)->text(), "Merge Cells");
    EXPECT_EQ(window.optMerge(1)->text(), "No Merge");

    const QList<QPair<const char*, QStringList>> lists{
        {"cboLevel", {"NONE", "Level 9 - 10", "Level 7 - 9", "Level 5 - 7", "Level 3 - 5",
                      "Level 1 - 3", "Level 0"}},
        {"cboMethod", {"NONE", "COUNT", "AVG", "MIN", "MAX", "STDEV", "VAR", "PERCENT"}},
        {"cboRange", {"NONE", "<", ">", "=", "<=", ">=", "<>"}}};
    for (const auto& [name, items] : lists) {
        auto* combo = window.findChild<QComboBox*>(name);
        ASSERT_NE(combo, nullptr) << name;
        EXPECT_EQ(itemsOf(combo), items);
        EXPECT_EQ(combo->currentText(), "NONE");
        EXPECT_TRUE(combo->isEnabled());
    }
    EXPECT_EQ(window.findChild<QLineEdit*>("dialRange")->text(), "");
    EXPECT_TRUE(window.dialRange()->isEnabled());
}

TEST_F(frmIssueTest, RefreshReturnsToAllRecordsWithEachListHoldingItsItemsOnce)
{
    frmIssue& window = load();
    window.dialRange()->setText(QStringLiteral("4"));
    window.cboMethod()->setCurrentText(QStringLiteral("AVG"));
    window.cboRange()->setCurrentText(QStringLiteral("<"));
    window.cmdReport()->setEnabled(false);
    window.SetMerge();
    ASSERT_EQ(window.grid().textAt(0, 1), "Method");

    window.cmdRefresh()->click();
    EXPECT_EQ(window.grid().textAt(0, 1), "ID");
    EXPECT_EQ(window.cboLevel()->count(), 7);
    EXPECT_EQ(window.cboMethod()->count(), 8);
    EXPECT_EQ(window.cboRange()->count(), 7);
    EXPECT_EQ(window.cboMethod()->currentText(), "NONE");
    EXPECT_EQ(window.dialRange()->text(), "");
    EXPECT_TRUE(window.cmdReport()->isEnabled());
    EXPECT_EQ(window.pnlInfo()->text(), kAllCaption.arg(7));
    EXPECT_EQ(dataColumn(3).size(), 7);
}

TEST_F(frmIssueTest, EmptyCaseLoadsAnEmptyGridWithCountZero)
{
    oMain().setStrFileName(m_case.create(QStringLiteral("Empty.AGV")));
    frmIssue& window = load();
    EXPECT_TRUE(dataColumn(3).isEmpty());
    EXPECT_EQ(window.pnlInfo()->text(), kAllCaption.arg(0));
    EXPECT_EQ(window.grid().textAt(0, 2), "Key Group");
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

TEST_F(frmIssueTest, CaseThatCannotBeOpenedIsReportedOnceAndLoadCarriesOn)
{
    oMain().setStrFileName(m_case.path(QStringLiteral("Missing.AGV")));
    frmIssue& window = load();
    ASSERT_EQ(m_prompt.messages().size(), 1);
    EXPECT_TRUE(m_prompt.messages()[0].endsWith("\nin Argovo.frmIssue.LoadData at line 1"))
        << m_prompt.messages()[0].toStdString();
    EXPECT_EQ(window.pnlInfo()->text(), kAllCaption.arg(0));
    EXPECT_TRUE(dataColumn(3).isEmpty());
    EXPECT_TRUE(oUtility().FormIssueLoaded());
    EXPECT_EQ(window.grid().textAt(0, 9), "Significance");
}

TEST_F(frmIssueTest, OnlyTheUsersChoiceOfARealLevelRunsAStudy)
{
    frmIssue& window = load();
    m_pane.show();
    m_pane.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_pane));
    const QStringList before = dataColumn(3);

    window.cboLevel()->setCurrentText(QStringLiteral("Level 7 - 9"));
    window.cboLevel()->setCurrentIndex(1);
    choose(window.cboLevel(), QStringLiteral("NONE"));
    EXPECT_EQ(oReport().ReportType(), 0);
    EXPECT_FALSE(oReport().LevelInPlay());
    EXPECT_EQ(dataColumn(3), before);
    EXPECT_EQ(window.pnlInfo()->text(), kAllCaption.arg(7));
    EXPECT_TRUE(window.cboMethod()->isEnabled());

    // From the keyboard: the next item is chosen, and the user stays in the
    // list although it was disabled while the study ran.
    window.cboLevel()->setFocus();
    QTest::keyClick(window.cboLevel(), Qt::Key_Down);
    EXPECT_EQ(oReport().ReportType(), 1);
    EXPECT_EQ(oReport().Level(), "Level 9 - 10");
    EXPECT_EQ(window.cboLevel()->currentText(), "NONE");
    EXPECT_TRUE(window.cboLevel()->hasFocus());
}

TEST_F(frmIssueTest, ChoosingALevelRunsTheStudyInTheLevelLayout)
{
    frmIssue& window = load();
    choose(window.cboLevel(), QStringLiteral("Level 7 - 9"));
    const grid::GridCore& g = window.grid();

    EXPECT_EQ(oReport().ReportType(), 1);
    EXPECT_EQ(oReport().Level(), "Level 7 - 9");
    // Liability 8.33, Breach 7.33, Officer Reyes 7.0, Skid-mark photographs 7.17.
    QStringList names = dataColumn(1);
    names.sort();
    EXPECT_EQ(names, QStringList({"Breach", "Liability", "Officer Reyes",
                                  "Skid-mark photographs"}));
    EXPECT_EQ(window.pnlInfo()->text(),
              "     Viewing Level 7 - 9 records returned, count is: 4 records returned.  "
              "Double-click any Rule to see its entirety.");
    EXPECT_EQ(oText().RecordsReturned(),
              "  4 records found.  The items you see are 4 of those 10 records.  "
              "The % found is 40%.");

    expectLayout(g, {"Key Group", "Rule", "", "Weight", "Success", "Jury", "Instructions",
                     "Evidence", "Significance"},
                 {1700, 2500, 0, 760, 760, 760, 660, 1060, 1060}, "yynyyyyyy", "nnnnyyyyy");
    EXPECT_TRUE(window.fg()->isColumnHidden(3));
    EXPECT_EQ(g.mergeCells(), grid::MergeCells);
    for (QComboBox* combo : {window.cboLevel(), window.cboMethod(), window.cboRange()}) {
        EXPECT_EQ(combo->currentText(), "NONE");
        EXPECT_TRUE(combo->isEnabled());
    }
    EXPECT_FALSE(oReport().LevelInPlay());
    EXPECT_TRUE(window.dialRange()->isEnabled());
}

TEST_F(frmIssueTest, SecondLevelStudyWithRowsShowsItsTextsInTheAdvisoryWindowUntilUnload)
{
    frmIssue& window = load();
    choose(window.cboLevel(), QStringLiteral("Level 9 - 10"));
    EXPECT_EQ(frmReport::loaded(), nullptr);

    choose(window.cboLevel(), QStringLiteral("Level 5 - 7"));
    frmReport* report = frmReport::loaded();
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->isVisible());
    const auto texts = levels::textsFor(QStringLiteral("Level 5 - 7"), oText().RecordsReturned());
    ASSERT_TRUE(texts);
    EXPECT_EQ(report->txtProblem()->toPlainText(), texts->problem);
    EXPECT_EQ(report->txtIssue()->toPlainText(), texts->issue);
    EXPECT_EQ(report->txtComment()->toPlainText(), texts->comment);
    EXPECT_EQ(report->txtDescription()->toPlainText(), texts->description);
    EXPECT_TRUE(texts->comment.endsWith(
        "fact that there were   3 records found.  The items you see are 3 of those 10 records.  "
        "The % found is 30%."));

    // Unloading every analysis window closes the advisory window too.
    analysisforms::unloadAnalysisWindows();
    EXPECT_EQ(frmReport::loaded(), nullptr);
    EXPECT_EQ(analysisforms::issueWindow(), nullptr);
    EXPECT_FALSE(oUtility().FormIssueLoaded());
}

TEST_F(frmIssueTest, StandardLayoutOnceTheLevelIsNoLongerInPlay)
{
    frmIssue& window = load();
    window.cboLevel()->setCurrentText(QStringLiteral("Level 7 - 9"));
    oReport().setLevelInPlay(false);
    window.SetMerge();
    EXPECT_EQ(window.grid().textAt(0, 2), "Key Group");
    EXPECT_EQ(window.grid().colWidth(3), 2000);
    EXPECT_EQ(window.cboLevel()->currentText(), "Level 7 - 9");

    window.cboMethod()->setCurrentText(QStringLiteral("AVG"));
    window.cboRange()->setCurrentText(QStringLiteral("<"));
    window.SetMerge();
    EXPECT_EQ(window.grid().textAt(0, 1), "Method");
    window.cboMethod()->setCurrentText(QStringLiteral("NONE"));
    window.SetMerge();
    EXPECT_EQ(window.grid().textAt(0, 1), "ID");
}

TEST_F(frmIssueTest, GridQueriesOfTheStudiesReachTheWindowThroughTheHost)
{
    frmIssue& window = load();
    oReport().setReportType(3);
    oUtility().setSSQL(QStringLiteral("SELECT ID, Name FROM Issue WHERE ID < 3"));
    oUtility().GetRecordset();
    EXPECT_EQ(window.grid().rows(), 3);
    EXPECT_EQ(window.grid().textAt(2, 2), "Duty of care");
    EXPECT_EQ(window.pnlInfo()->text(),
              "  2 records found.  The items you see are 2 of those 10 records.  "
              "The % found is 20%.");
}

} // namespace
