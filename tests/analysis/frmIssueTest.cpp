#include "AnalysisFakes.h"
#include "support/ScriptedPrompt.h"
#include "support/TempCase.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/CText.h"
#include "analysis/LevelTexts.h"
#include "analysis/forms/IssueWindow.h"
#include "analysis/forms/frmIssue.h"
#include "analysis/forms/frmReport.h"
#include "platform/core/Twips.h"
#include "platform/grid/GridCore.h"
#include "platform/grid/GridView.h"
#include "store/AppState.h"
#include "store/CMain.h"
#include "store/CUtility.h"
#include "store/IAnalysisHost.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <gtest/gtest.h>

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

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class frmIssueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppState();
        oMain().setStrFileName(m_case.createSample());
    }

    void TearDown() override
    {
        analysisforms::unloadIssueWindow();
        if (frmReport* report = frmReport::loaded())
            report->close();
        flushDeletes();
        resetAppState();
    }

    frmIssue& load()
    {
        frmIssue* window = analysisforms::loadIssueWindow(&m_pane);
        EXPECT_NE(window, nullptr);
        return *window;
    }

    // What the user's choice in the level list does.
    static void chooseLevel(frmIssue& window, const QString& label)
    {
        QComboBox* combo = window.cboLevel();
        const int index = combo->findText(label);
        ASSERT_GE(index, 0);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    // Names (column 3) of the data rows, in grid order.
    static QStringList dataColumn(const grid::GridCore& g, int col)
    {
        QStringList values;
        for (int r = 1; r < g.rows(); ++r)
            if (!g.isSubtotal(r))
                values << g.textAt(r, col);
        return values;
    }

    ScriptedPrompt m_prompt;
    TempCase m_case;
    QWidget m_pane;
};

TEST_F(frmIssueTest, LoadListsOnlyItemsThatHaveAParentBesideTheirParent)
{
    frmIssue& window = load();
    const grid::GridCore& g = window.grid();

    QStringList names = dataColumn(g, 3);
    names.sort();
    EXPECT_EQ(names, QStringList({"Breach", "Duty of care", "Lost wages", "Medical costs",
                                  "Officer Reyes", "Skid-mark photographs",
                                  "Was the plaintiff paid during leave?"}));
    // Sorted on the parent, each item beside its parent's id and name.
    EXPECT_EQ(dataColumn(g, 1), QStringList({"1", "1", "3", "3", "6", "6", "8"}));
    EXPECT_EQ(dataColumn(g, 2), QStringList({"Liability", "Liability", "Breach", "Breach",
                                             "Damages", "Damages", "Lost wages"}));
    EXPECT_EQ(window.pnlInfo()->text(), kAllCaption.arg(7));
    EXPECT_TRUE(m_prompt.messages().isEmpty()) << m_prompt.messages().join("|").toStdString();
}

TEST_F(frmIssueTest, LoadMarksTheWindowLoadedAndServesTheEngine)
{
    frmIssue& window = load();
    EXPECT_TRUE(oUtility().FormIssueLoaded());
    EXPECT_EQ(analysisHost(), &window);
    EXPECT_EQ(analysisView(), &window);
    EXPECT_EQ(analysisforms::issueWindow(), &window);
    EXPECT_EQ(window.parentWidget(), &m_pane);
    EXPECT_EQ(oUtility().sSQL(),
              "SELECT Issue.ID as ID,Issue.Name as [Key Group], Issue_1.Name as Name, "
              "Issue_1.Weight as Weight, Issue_1.Success as Success, Issue_1.Jury as Jury, "
              "Issue_1.Substantive as Instructions, Issue_1.Procedural as Evidentiary, "
              "Issue_1.Significance as Significance FROM Issue INNER JOIN Issue AS Issue_1 ON "
              "Issue.ID = Issue_1.ParentID;");

    analysisforms::unloadIssueWindow();
    EXPECT_FALSE(oUtility().FormIssueLoaded());
    EXPECT_EQ(analysisHost(), nullptr);
    EXPECT_EQ(analysisView(), nullptr);
    EXPECT_EQ(analysisforms::issueWindow(), nullptr);
}

TEST_F(frmIssueTest, LoadingAgainReadsTheCaseOpenNow)
{
    load();
    const QString other = m_case.create(
        QStringLiteral("Other.AGV"),
        issueRow(1, 0, QStringLiteral("Top"), {5, 5, 5, 5, 5, 5})
            + issueRow(2, 1, QStringLiteral("Child"), {6, 6, 6, 6, 6, 6}));
    oMain().setStrFileName(other);

    frmIssue& second = load();
    EXPECT_EQ(dataColumn(second.grid(), 3), QStringList{"Child"});
    EXPECT_EQ(second.pnlInfo()->text(), kAllCaption.arg(1));
    flushDeletes();
    EXPECT_EQ(m_pane.findChildren<frmIssue*>().size(), 1);
}

TEST_F(frmIssueTest, CountSubtotalsPerParentAreRedThenBlueAndBold)
{
    frmIssue& window = load();
    const grid::GridCore& g = window.grid();

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

TEST_F(frmIssueTest, StandardLayoutHasItsHeadersWidthsAndFlags)
{
    frmIssue& window = load();
    const grid::GridCore& g = window.grid();

    const QStringList headers{"ID",           "Key Group", "Rule",     "Weight",      "Success",
                              "Jury",         "Instructions", "Evidence", "Significance"};
    const QList<int> widths{760, 1750, 2000, 760, 760, 660, 1060, 1060, 1060};
    for (int c = 1; c <= 9; ++c) {
        EXPECT_EQ(g.textAt(0, c), headers[c - 1]) << c;
        EXPECT_EQ(g.colWidth(c), widths[c - 1]) << c;
        EXPECT_TRUE(g.mergeCol(c)) << c;
        EXPECT_EQ(g.colFormat(c), c >= 4 ? "'.0" : "") << c;
    }
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
    EXPECT_EQ(frame->title().size(), 130);
    EXPECT_NE(window.findChild<QWidget*>("picButtons"), nullptr);
    EXPECT_NE(window.findChild<QWidget*>("updown"), nullptr);
    EXPECT_NE(window.findChild<grid::GridView*>("fg"), nullptr);
    EXPECT_NE(window.findChild<QLabel*>("pnlInfo"), nullptr);

    EXPECT_EQ(window.findChild<QPushButton*>("cmdAnalyze")->text(), "Run Study");
    EXPECT_FALSE(window.cmdAnalyze()->isEnabled());
    EXPECT_EQ(window.findChild<QPushButton*>("cmdReport")->text(), "Send to Report");
    EXPECT_EQ(window.findChild<QPushButton*>("cmdRefresh")->text(), "Refresh");
    const auto merge = window.findChildren<QRadioButton*>("optMerge");
    ASSERT_EQ(merge.size(), 2);
    EXPECT_EQ(window.optMerge(0)->text(), "Merge Cells");
    EXPECT_EQ(window.optMerge(1)->text(), "No Merge");

    EXPECT_EQ(itemsOf(window.findChild<QComboBox*>("cboLevel")),
              QStringList({"NONE", "Level 9 - 10", "Level 7 - 9", "Level 5 - 7", "Level 3 - 5",
                           "Level 1 - 3", "Level 0"}));
    EXPECT_EQ(itemsOf(window.findChild<QComboBox*>("cboMethod")),
              QStringList({"NONE", "COUNT", "AVG", "MIN", "MAX", "STDEV", "VAR", "PERCENT"}));
    EXPECT_EQ(itemsOf(window.findChild<QComboBox*>("cboRange")),
              QStringList({"NONE", "<", ">", "=", "<=", ">=", "<>"}));
    for (QComboBox* combo : {window.cboLevel(), window.cboMethod(), window.cboRange()}) {
        EXPECT_EQ(combo->currentText(), "NONE");
        EXPECT_TRUE(combo->isEnabled());
    }
    EXPECT_EQ(window.findChild<QLineEdit*>("dialRange")->text(), "");
    EXPECT_TRUE(window.dialRange()->isEnabled());
}

TEST_F(frmIssueTest, RefreshLeavesEachListWithItsItemsOnce)
{
    frmIssue& window = load();
    window.cboMethod()->setCurrentText(QStringLiteral("AVG"));
    window.dialRange()->setText(QStringLiteral("4"));
    window.cmdReport()->setEnabled(false);

    window.cmdRefresh()->click();
    EXPECT_EQ(window.cboLevel()->count(), 7);
    EXPECT_EQ(window.cboMethod()->count(), 8);
    EXPECT_EQ(window.cboRange()->count(), 7);
    EXPECT_EQ(window.cboMethod()->currentText(), "NONE");
    EXPECT_EQ(window.dialRange()->text(), "");
    EXPECT_TRUE(window.cmdReport()->isEnabled());
    EXPECT_EQ(window.pnlInfo()->text(), kAllCaption.arg(7));
    EXPECT_EQ(dataColumn(window.grid(), 3).size(), 7);
}

TEST_F(frmIssueTest, EmptyCaseLoadsAnEmptyGridWithCountZero)
{
    oMain().setStrFileName(m_case.create(QStringLiteral("Empty.AGV")));
    frmIssue& window = load();
    EXPECT_TRUE(dataColumn(window.grid(), 3).isEmpty());
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
    EXPECT_TRUE(dataColumn(window.grid(), 3).isEmpty());
    EXPECT_TRUE(oUtility().FormIssueLoaded());
    EXPECT_EQ(window.grid().textAt(0, 9), "Significance");
}

TEST_F(frmIssueTest, LevelTextSetByCodeRunsNoStudy)
{
    frmIssue& window = load();
    const QStringList before = dataColumn(window.grid(), 3);

    window.cboLevel()->setCurrentText(QStringLiteral("Level 7 - 9"));
    window.cboLevel()->setCurrentIndex(1);
    EXPECT_EQ(oReport().ReportType(), 0);
    EXPECT_EQ(dataColumn(window.grid(), 3), before);
    EXPECT_EQ(window.pnlInfo()->text(), kAllCaption.arg(7));
}

TEST_F(frmIssueTest, ChoosingALevelRunsTheStudyInTheLevelLayout)
{
    frmIssue& window = load();
    chooseLevel(window, QStringLiteral("Level 7 - 9"));
    const grid::GridCore& g = window.grid();

    EXPECT_EQ(oReport().ReportType(), 1);
    EXPECT_EQ(oReport().Level(), "Level 7 - 9");
    // Liability 8.33, Breach 7.33, Officer Reyes 7.0, Skid-mark photographs 7.17.
    QStringList names = dataColumn(g, 1);
    names.sort();
    EXPECT_EQ(names, QStringList({"Breach", "Liability", "Officer Reyes",
                                  "Skid-mark photographs"}));
    EXPECT_EQ(window.pnlInfo()->text(),
              "     Viewing Level 7 - 9 records returned, count is: 4 records returned.  "
              "Double-click any Rule to see its entirety.");
    EXPECT_EQ(oText().RecordsReturned(),
              "  4 records found.  The items you see are 4 of those 10 records.  "
              "The % found is 40%.");

    const QStringList headers{"Key Group", "Rule",     "",        "Weight",      "Success",
                              "Jury",      "Instructions", "Evidence", "Significance"};
    const QList<int> widths{1700, 2500, 0, 760, 760, 760, 660, 1060, 1060};
    for (int c = 1; c <= 9; ++c) {
        EXPECT_EQ(g.textAt(0, c), headers[c - 1]) << c;
        EXPECT_EQ(g.colWidth(c), widths[c - 1]) << c;
        EXPECT_EQ(g.mergeCol(c), c != 3) << c;
        EXPECT_EQ(g.colFormat(c), c >= 5 ? "'.0" : "") << c;
    }
    EXPECT_TRUE(window.fg()->isColumnHidden(3));
    EXPECT_EQ(g.mergeCells(), grid::MergeCells);
    for (QComboBox* combo : {window.cboLevel(), window.cboMethod(), window.cboRange()}) {
        EXPECT_EQ(combo->currentText(), "NONE");
        EXPECT_TRUE(combo->isEnabled());
    }
    EXPECT_FALSE(oReport().LevelInPlay());
    EXPECT_TRUE(window.dialRange()->isEnabled());
}

TEST_F(frmIssueTest, SecondLevelStudyWithRowsShowsItsTextsInTheAdvisoryWindow)
{
    frmIssue& window = load();
    chooseLevel(window, QStringLiteral("Level 9 - 10"));
    EXPECT_EQ(frmReport::loaded(), nullptr);

    chooseLevel(window, QStringLiteral("Level 5 - 7"));
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
}

TEST_F(frmIssueTest, NoneInTheLevelListRunsNothing)
{
    frmIssue& window = load();
    chooseLevel(window, QStringLiteral("NONE"));
    EXPECT_EQ(oReport().ReportType(), 0);
    EXPECT_FALSE(oReport().LevelInPlay());
    EXPECT_EQ(window.pnlInfo()->text(), kAllCaption.arg(7));
    EXPECT_TRUE(window.cboMethod()->isEnabled());
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

TEST_F(frmIssueTest, UnloadingEveryAnalysisWindowClosesTheAdvisoryWindowToo)
{
    frmIssue& window = load();
    chooseLevel(window, QStringLiteral("Level 9 - 10"));
    chooseLevel(window, QStringLiteral("Level 7 - 9"));
    ASSERT_NE(frmReport::loaded(), nullptr);

    analysisforms::unloadAnalysisWindows();
    EXPECT_EQ(frmReport::loaded(), nullptr);
    EXPECT_EQ(analysisforms::issueWindow(), nullptr);
    EXPECT_FALSE(oUtility().FormIssueLoaded());
}

} // namespace
