#include "IssueWindowFixture.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/CText.h"
#include "analysis/StudyQueries.h"
#include "platform/core/Twips.h"
#include "platform/grid/GridView.h"
#include "store/CUtility.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QWheelEvent>

#include <functional>

namespace {

class frmIssueGridEventsTest : public IssueWindowFixture {
protected:
    void SetUp() override
    {
        IssueWindowFixture::SetUp();
        m_pane.resize(1400, 700);
        m_pane.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_pane));
    }

    void clickCell(int row, int col)
    {
        grid::GridView* view = window().fg();
        const QRect rect = view->visualRect(view->indexOfCell(row, col));
        ASSERT_TRUE(rect.isValid()) << row << "," << col;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QString shownIssue()
    {
        frmReport* report = frmReport::loaded();
        return report ? report->txtIssue()->toPlainText() : QString();
    }

    int dataRowNamed(const QString& name, int nameCol)
    {
        for (int r = 1; r < grid().rows(); ++r)
            if (!grid().isSubtotal(r) && grid().textAt(r, nameCol) == name)
                return r;
        return -1;
    }
};

TEST_F(frmIssueGridEventsTest,
       ClickOnARatingAfterAMethodStudyAdvisesOnItsRoundedValueButOnNoNumberOpensNothing)
{
    choose(window().cboMethod(), QStringLiteral("AVG"));
    const int alpha = subtotalRowOf(QStringLiteral("1"));
    const int a1 = dataRowNamed(QStringLiteral("About A1"), 3);
    const int a2 = dataRowNamed(QStringLiteral("About A2"), 3);
    struct Click {
        int row;
        int col;
        const char* issue; // null: no advice, the cell holding no number
    };
    // Alpha's averages: Success 7.5, Jury 6.5, Instructions 4.33, Evidence 4.
    const QList<Click> clicks{{alpha, 5, "Success object.  The value is 8."},
                              {alpha, 6, "Jury object.  The value is 6."},
                              {alpha, 7, "Substantive object.  The value is 4."},
                              {alpha, 8, "Procedural object.  The value is 4."},
                              {subtotalRowOf(QStringLiteral("3")), 6, nullptr},
                              {a1, 6, nullptr},
                              {a2, 7, "Substantive object.  The value is 0."}};
    for (const Click& click : clicks) {
        ASSERT_GT(click.row, 0) << click.col;
        if (frmReport* report = frmReport::loaded())
            report->close();
        clickCell(click.row, click.col);
        const QString cell = grid().textAt(click.row, click.col);
        EXPECT_EQ(cell.isEmpty(), !click.issue) << click.row << "," << click.col;
        EXPECT_EQ(oUtility().ClickText(), cell);
        EXPECT_EQ(oUtility().sSQL(), studies::childQuery(cell));
        if (!click.issue) {
            EXPECT_EQ(frmReport::loaded(), nullptr) << click.row << "," << click.col;
            continue;
        }
        ASSERT_NE(frmReport::loaded(), nullptr) << click.row << "," << click.col;
        EXPECT_TRUE(frmReport::loaded()->isVisible());
        EXPECT_TRUE(shownIssue().startsWith(QStringLiteral("The selected AVG value is of a ") +
                                            QLatin1String(click.issue)))
            << click.row << "," << click.col << ": " << shownIssue().toStdString();
    }
    EXPECT_TRUE(m_prompt.messages().isEmpty()) << m_prompt.messages().join("|").toStdString();
}

TEST_F(frmIssueGridEventsTest, AdviceSpeaksOfTheFiguresOnShowWhateverTheMethodListReads)
{
    QComboBox* list = window().cboMethod();
    auto wheelDown = [&] {
        // Over the list without clicking it; the line edit passes it on.
        const QPoint at = list->rect().center();
        QWheelEvent wheel(at, list->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &wheel);
    };
    struct Change {
        const char* what;
        std::function<void()> make;
        const char* adviceOpening;
        double jury; // Alpha's Jury subtotal clicked
    };
    const QList<Change> changes{
        {"entered, naming no method", [&] { choose(list, QStringLiteral("max")); },
         "The selected AVG value is of a Jury object.  The value is 6.", 6.5},
        {"set back to NONE by a range number",
         [&] { window().dialRange()->setText(QStringLiteral("3")); },
         "The selected AVG value is of a Jury object.  The value is 6.", 6.5},
        // These choose a method, and the study runs before the click lands.
        {"wheel", wheelDown, "The selected MIN value is of a Jury object.  The value is 6.", 6.0},
        {"typed, then the focus leaves for the grid",
         [&] {
             list->setFocus();
             list->lineEdit()->selectAll();
             QTest::keyClicks(list->lineEdit(), QStringLiteral("MAX"));
         },
         "The selected MAX value is of a Jury object.  The value is 7.", 7.0},
    };
    for (const Change& change : changes) {
        choose(list, QStringLiteral("AVG"));
        change.make();
        ASSERT_NE(list->currentText(), "AVG") << change.what;
        const int alpha = subtotalRowOf(QStringLiteral("1"));
        clickCell(alpha, 6);
        EXPECT_DOUBLE_EQ(grid().valueAt(alpha, 6), change.jury) << change.what;
        EXPECT_TRUE(shownIssue().startsWith(QLatin1String(change.adviceOpening)))
            << change.what << ": " << shownIssue().toStdString();
    }
    EXPECT_TRUE(m_prompt.messages().isEmpty()) << m_prompt.messages().join("|").toStdString();

    // Refresh shows all records with counts again.
    window().cmdRefresh()->click();
    clickCell(subtotalRowOf(QStringLiteral("1")), 6);
    ASSERT_EQ(m_prompt.shown().size(), 1);
    EXPECT_TRUE(m_prompt.shown()[0].text.startsWith("No Popup Report for Methods COUNT, NONE"));
}

TEST_F(frmIssueGridEventsTest, ClicksOutsideAMethodStudyOrOffTheRatingsOpenNothing)
{
    clickCell(1, 5);
    EXPECT_EQ(oUtility().ClickText(), grid().textAt(1, 5));
    choose(window().cboMethod(), QStringLiteral("MAX"));
    clickCell(1, 3);
    oReport().setReportType(1);
    clickCell(subtotalRowOf(QStringLiteral("1")), 5);
    EXPECT_EQ(frmReport::loaded(), nullptr);
    EXPECT_TRUE(m_prompt.messages().isEmpty());

    oReport().setReportType(3);
    choose(window().cboMethod(), QStringLiteral("COUNT"));
    clickCell(subtotalRowOf(QStringLiteral("1")), 5);
    EXPECT_EQ(m_prompt.shown().size(), 1);
    EXPECT_EQ(frmReport::loaded(), nullptr);
}

TEST_F(frmIssueGridEventsTest, ClickedGroupNameWithAnApostropheGivesAChildQueryThatRuns)
{
    choose(window().cboMethod(), QStringLiteral("AVG"));
    const int row = dataRowNamed(QStringLiteral("O'Brien"), 2);
    ASSERT_GT(row, 0);
    clickCell(row, 2);
    EXPECT_EQ(oUtility().ClickText(), "O'Brien");
    EXPECT_TRUE(oUtility().sSQL().endsWith("Issue.name ='O''Brien'));"));

    oUtility().GetRecordset();
    EXPECT_EQ(dataColumn(1), QStringList({"C1", "C2"}));
    EXPECT_TRUE(m_prompt.messages().isEmpty()) << m_prompt.messages().join("|").toStdString();
}

TEST_F(frmIssueGridEventsTest, ValueBeyondSixteenBitsIsReportedAndNoAdviceIsShown)
{
    choose(window().cboMethod(), QStringLiteral("MAX"));
    clickCell(subtotalRowOf(QStringLiteral("1")), 6);
    const QString before = shownIssue();
    ASSERT_FALSE(before.isEmpty());

    const int row = dataRowNamed(QStringLiteral("About A2"), 3);
    grid().setTextAt(row, 6, QStringLiteral("32767.5"));
    clickCell(row, 6);
    EXPECT_EQ(m_prompt.messages(), QStringList{"Overflow\nin Argovo.frmIssue.fg_Click at line 6"});
    EXPECT_EQ(shownIssue(), before);
}

TEST_F(frmIssueGridEventsTest, EditsOfMergedTextColumnsAndSubtotalRowsAreRefused)
{
    choose(window().cboMethod(), QStringLiteral("AVG"));
    const int data = dataRowNamed(QStringLiteral("About A1"), 3);
    const int subtotal = subtotalRowOf(QStringLiteral("1"));
    struct Edit {
        int row;
        int col;
        int merge;
        bool refused;
    };
    const QList<Edit> edits{
        {data, 1, grid::MergeCells, true},    {data, 3, grid::MergeCells, true},
        {data, 3, grid::MergeNone, false},    {data, 4, grid::MergeCells, false},
        {data, 9, grid::MergeCells, false},   {subtotal, 5, grid::MergeCells, true},
        {subtotal, 5, grid::MergeNone, true}, {subtotal, 2, grid::MergeNone, true}};
    for (const Edit& e : edits) {
        grid().setMergeCells(e.merge);
        bool cancel = false;
        window().fg_BeforeEdit(e.row, e.col, &cancel);
        EXPECT_EQ(cancel, e.refused) << e.row << "," << e.col << " merge " << e.merge;
    }
}

TEST_F(frmIssueGridEventsTest, EditDuringAMethodStudySubtotalsAgainWithThatMethodAndStaysInTheGrid)
{
    choose(window().cboMethod(), QStringLiteral("AVG"));
    // A method study shows each child's explanation beside its group.
    const int a1 = dataRowNamed(QStringLiteral("About A1"), 3);
    grid().setTextAt(a1, 4, QStringLiteral("8"));
    window().fg_AfterEdit(a1, 4);

    // Weights 8, 5 and 9: still an average, not a count of 3.
    EXPECT_NEAR(grid().valueAt(subtotalRowOf(QStringLiteral("1")), 4), 22.0 / 3.0, 1e-9);
    EXPECT_EQ(window().cboMethod()->currentText(), "AVG");

    window().cmdRefresh()->click();
    EXPECT_EQ(grid().textAt(dataRowNamed(QStringLiteral("A1"), 3), 4), "2");
}

TEST_F(frmIssueGridEventsTest, ColumnMovedBeforeTheGroupColumnKeepsGroupingAndDrillDown)
{
    choose(window().cboMethod(), QStringLiteral("AVG"));
    QHeaderView* header = window().fg()->horizontalHeader();
    header->moveSection(header->visualIndex(6), 1);
    EXPECT_EQ(grid().colPosition(6), 1);
    header->moveSection(header->visualIndex(4), 7);
    EXPECT_EQ(header->visualIndex(4), grid().colPosition(4));
    EXPECT_EQ(grid().colPosition(4), 5);

    for (const char* group : {"1", "2", "3"})
        EXPECT_GT(subtotalRowOf(QString::fromLatin1(group)), 0) << group;
    const int alpha = subtotalRowOf(QStringLiteral("1"));
    EXPECT_NEAR(grid().valueAt(alpha, 6), 6.5, 1e-9);
    EXPECT_EQ(dataColumn(3).size(), 6);

    clickCell(alpha, 6);
    EXPECT_TRUE(shownIssue().startsWith("The selected AVG value is of a Jury object.  The value "
                                        "is 6."))
        << shownIssue().toStdString();
}

TEST_F(frmIssueGridEventsTest, RefreshAndEveryNewStudyShowTheirFieldsInFieldOrderAgain)
{
    QHeaderView* header = window().fg()->horizontalHeader();
    auto drag = [&] {
        header->moveSection(header->visualIndex(1), 5);
        header->moveSection(header->visualIndex(6), 8);
        ASSERT_EQ(grid().colPosition(1), 5);
    };
    auto expectFieldOrder = [&](const char* after) {
        for (int c = 0; c < grid().cols(); ++c) {
            EXPECT_EQ(grid().colPosition(c), c) << after;
            EXPECT_EQ(header->visualIndex(c), c) << after;
        }
    };
    drag();
    window().cmdRefresh()->click();
    expectFieldOrder("Refresh");

    drag();
    choose(window().cboMethod(), QStringLiteral("MIN"));
    expectFieldOrder("method study");

    drag();
    choose(window().cboLevel(), QStringLiteral("Level 3 - 5"));
    expectFieldOrder("level study");
}

TEST_F(frmIssueGridEventsTest, ListsResetToNoneRunNothingWhenTheFocusPassesThrough)
{
    choose(window().cboMethod(), QStringLiteral("AVG"));
    choose(window().cboRange(), QStringLiteral("<"));
    choose(window().cboLevel(), QStringLiteral("Level 3 - 5"));
    const QString caption = window().pnlInfo()->text();
    ASSERT_TRUE(caption.startsWith(QStringLiteral("     Viewing Level 3 - 5")))
        << caption.toStdString();
    const int rows = grid().rows();
    for (QComboBox* list : {window().cboMethod(), window().cboRange(), window().cboLevel()}) {
        ASSERT_EQ(list->currentText(), "NONE");
        list->setFocus();
        QCoreApplication::processEvents();
        window().fg()->setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(window().pnlInfo()->text().toStdString(), caption.toStdString())
            << list->objectName().toStdString();
        EXPECT_EQ(grid().rows(), rows) << list->objectName().toStdString();
    }
}

TEST_F(frmIssueGridEventsTest, DoubleClickShowsTheWholeKeyGroupOrRuleOnly)
{
    choose(window().cboMethod(), QStringLiteral("AVG"));
    const int row = dataRowNamed(QStringLiteral("About A1"), 3);
    grid().setTextAt(row, 3, QStringLiteral("A rule far longer than its narrow column"));
    for (int col : {1, 2, 3, 4}) {
        grid().setRow(row);
        grid().setCol(col);
        window().fg_DblClick();
    }
    EXPECT_EQ(m_prompt.messages(),
              QStringList({"Alpha", "A rule far longer than its narrow column"}));
}

// A press on the grid takes the focus from the cell being edited, which ends
// the edit, and an edit has the grid sorted again, before the grid locates
// the press. Three items of one issue without an explanation tie on every
// text column: X1 (Weight 2) goes after X2 once its Weight is 8 or its Rule
// is Zeta. The press still acts on X2's Success (4) as shown; the grid is
// sorted and subtotalled with the study's method once the press is over.
TEST_F(AnalysisWindowTest, APressThatEndsAnEditActsOnTheCellPressedAsShown)
{
    const QString sql = issueRow(1, 0, QStringLiteral("Alpha"), {5, 5, 5, 5, 5, 5}) +
                        issueRow(10, 1, QStringLiteral("X1"), {2, 1, 1, 1, 1, 1}) +
                        issueRow(11, 1, QStringLiteral("X2"), {5, 4, 4, 4, 4, 4}) +
                        issueRow(12, 1, QStringLiteral("X3"), {9, 7, 7, 7, 7, 7}) +
                        QStringLiteral("UPDATE Issue SET Explanation = '' WHERE ParentID = 1;\n");
    oMain().setStrFileName(m_case.create(QStringLiteral("Ties.AGV"), sql));
    load();
    m_pane.resize(1400, 700);
    m_pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_pane));
    struct Press {
        const char* what;
        int mergeOption; // 0 Merge Cells, 1 No Merge
        int col;
        const char* typed;
        bool doubleClick;
        QStringList sorted; // the Success column once sorted
        double weightAverage;
        int pressCol = 5; // X2's cell pressed; Success is advised on
    };
    const QStringList weightSorted{"4", "1", "7"};
    const QStringList ruleSorted{"4", "7", "1"};
    for (const Press& p :
         {Press{"Weight, click", 0, 4, "8", false, weightSorted, 22.0 / 3.0},
          Press{"Weight, double-click", 0, 4, "8", true, weightSorted, 22.0 / 3.0},
          Press{"Rule, click", 1, 3, "Zeta", false, ruleSorted, 16.0 / 3.0},
          Press{"Rule, double-click", 1, 3, "Zeta", true, ruleSorted, 16.0 / 3.0},
          // Its box is answered before the table opens the editor.
          Press{"Rule, double-click on a Rule", 1, 3, "Zeta", true, ruleSorted, 16.0 / 3.0, 3}}) {
        SCOPED_TRACE(p.what);
        if (frmReport* report = frmReport::loaded())
            report->close();
        // As the user comes back to the window the advice was shown over.
        m_pane.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_pane));
        window().cmdRefresh()->click();
        choose(window().cboMethod(), QStringLiteral("AVG"));
        window().optMerge(p.mergeOption)->click();
        ASSERT_EQ(dataColumn(4), (QStringList{"2", "5", "9"}));
        grid::GridView* view = window().fg();
        view->setFocus();
        view->setCurrentIndex(view->indexOfCell(1, p.col));
        QTest::keyClick(view, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(view->indexOfCell(1, p.col)));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QLatin1String(p.typed));

        // Stands for the message box, which the user answers with Enter.
        QWidget box;
        box.show();
        m_prompt.whileMessageShown([&](const QString&) { QTest::keyClick(&box, Qt::Key_Return); });
        m_prompt.clear();
        const QPoint at = view->visualRect(view->indexOfCell(2, p.pressCol)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        if (p.doubleClick) {
            QApplication::processEvents();
            QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
            const QModelIndex pressed = view->indexOfCell(2, p.pressCol);
            auto* opened = qobject_cast<QLineEdit*>(view->indexWidget(pressed));
            ASSERT_NE(opened, nullptr);
            EXPECT_EQ(view->indexOfCell(2, 5).data().toString(), "4");
            QTest::keyClick(opened, Qt::Key_Escape);
        }
        m_prompt.whileMessageShown({});
        EXPECT_EQ(m_prompt.messages().size(), p.doubleClick && p.pressCol == 3 ? 1 : 0);
        if (p.pressCol == 5) {
            EXPECT_EQ(oUtility().ClickText(), "4");
            ASSERT_NE(frmReport::loaded(), nullptr);
            const QString advice = frmReport::loaded()->txtIssue()->toPlainText();
            EXPECT_TRUE(advice.startsWith(
                QStringLiteral("The selected AVG value is of a Success object.  The value is 4.")))
                << advice.toStdString();
        }

        EXPECT_TRUE(QTest::qWaitFor([&] { return dataColumn(5) == p.sorted; }, 2000));
        EXPECT_EQ(dataColumn(p.col).indexOf(QLatin1String(p.typed)), p.sorted.indexOf("1"));
        EXPECT_NEAR(grid().valueAt(subtotalRowOf(QStringLiteral("1")), 4), p.weightAverage, 1e-9);
        EXPECT_EQ(window().studyMethod(), "AVG");
    }
}

// A case written by another tool may hold an explanation of megabytes.
TEST_F(AnalysisWindowTest, AMegabyteRuleIsCutOnScreenAndInItsBoxButKeptWholeForReports)
{
    QString big;
    for (int i = 0; i < 20000; ++i)
        big += QStringLiteral("Line %1 of the explanation \u00e9\u4e2d\U0001F600\n").arg(i);
    const QString sql =
        issueRow(1, 0, QStringLiteral("P"), {5, 5, 5, 5, 5, 5}) +
        issueRow(2, 1, QStringLiteral("X1"), {5, 1, 1, 1, 1, 1}) +
        issueRow(3, 1, QStringLiteral("X2"), {5, 2, 2, 2, 2, 2}) +
        QStringLiteral("UPDATE Issue SET Explanation = '%1' WHERE ID = 2;\n").arg(big);
    oMain().setStrFileName(m_case.create(QStringLiteral("Long.AGV"), sql));
    load();
    choose(window().cboMethod(), QStringLiteral("AVG"));
    int x1 = -1;
    int x2 = -1;
    for (int r = 1; r < grid().rows(); ++r) {
        if (grid().textAt(r, 3) == big)
            x1 = r;
        else if (grid().textAt(r, 3) == "About X2")
            x2 = r;
    }
    ASSERT_GT(x1, 0) << "the study read the explanation whole";
    ASSERT_GT(x2, 0);
    // What the grid report prints.
    EXPECT_EQ(grid().displayText(x1, 3), big);

    const QModelIndex cell = window().fg()->indexOfCell(x1, 3);
    const QString onScreen = cell.data(Qt::DisplayRole).toString();
    EXPECT_LT(onScreen.size(), 10000);
    EXPECT_TRUE(onScreen.endsWith(QChar(0x2026)));
    EXPECT_TRUE(big.startsWith(onScreen.chopped(1)));
    EXPECT_EQ(cell.data(Qt::EditRole).toString(), big);
    EXPECT_EQ(window().fg()->indexOfCell(x2, 3).data().toString(), "About X2");

    grid().setRow(x1);
    grid().setCol(3);
    window().fg_DblClick();
    ASSERT_EQ(m_prompt.messages().size(), 1);
    const QString box = m_prompt.messages().first();
    EXPECT_LT(box.count(QLatin1Char('\n')), 40) << "taller than a screen";
    EXPECT_LT(box.size(), 4000);
    EXPECT_TRUE(box.endsWith(QChar(0x2026)));
    EXPECT_TRUE(big.startsWith(box.chopped(1)));
    EXPECT_FALSE(box.chopped(1).back().isHighSurrogate());
}

TEST_F(frmIssueGridEventsTest, GridFillsAWiderTabKeepingItsColumnWidthsAndMergeOptionsSwitchMerging)
{
    EXPECT_GT(window().fg()->width(), twips::toPixels(10400) + 100);
    EXPECT_EQ(window().fg()->columnWidth(3), twips::toPixels(2000));
    window().optMerge(1)->click();
    EXPECT_EQ(grid().mergeCells(), grid::MergeNone);
    window().optMerge(0)->click();
    EXPECT_EQ(grid().mergeCells(), grid::MergeCells);
}

} // namespace
