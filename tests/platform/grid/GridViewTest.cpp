#include "platform/grid/GridCore.h"
#include "platform/grid/GridModel.h"
#include "platform/grid/GridView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using grid::GridCore;
using grid::GridModel;
using grid::GridView;

namespace {

// The analysis window's shape: ID, key group, rule and six ratings.
void fillAnalysis(GridCore& g)
{
    const QList<QStringList> rows{
        {"ID", "Key Group", "Rule", "Weight", "Success", "Jury", "Instructions", "Evidence", "Significance"},
        {"3", "Breach", "Officer Reyes", "7", "7", "8", "6", "7", "7"},
        {"1", "Liability", "Duty of care", "10", "9", "9", "10", "9", "10"},
        {"1", "Liability", "Breach", "8", "7", "8", "7", "6", "8"},
        {"3", "Breach", "Skid marks", "8", "8", "7", "7", "5", "8"},
    };
    g.setCols(10);
    g.setRows(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            g.setTextAt(r, c + 1, rows[r][c]);
    }
}

// What the analysis window does after every study.
void sortAndShow(GridCore& g, int function)
{
    g.setRedraw(grid::RedrawOff);
    const int row = g.row();
    const int col = g.col();
    g.setCol(0);
    g.setColSel(g.cols() - 1);
    g.sort(grid::SortGenericAscending);
    g.subtotal(grid::SubtotalClear);
    for (int c = 4; c <= 9; ++c)
        g.subtotal(function, 1, c, QString(), std::nullopt, c == 4 ? grid::kRed : grid::kBlue, true);
    g.setRow(row);
    g.setCol(col);
    g.setRedraw(grid::RedrawOn);
}

// Collects the item-model tester's complaints instead of aborting.
class ModelTesterLog {
public:
    ModelTesterLog() { s_failures.clear(); s_previous = qInstallMessageHandler(&handler); }
    ~ModelTesterLog() { qInstallMessageHandler(s_previous); }
    const QStringList& failures() const { return s_failures; }

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (context.category && QByteArray(context.category) == "qt.modeltest")
            s_failures.append(message);
        else if (s_previous)
            s_previous(type, context, message);
    }
    static inline QStringList s_failures;
    static inline QtMessageHandler s_previous = nullptr;
};

QPoint cellCentre(const GridView& view, int row, int col)
{
    return view.visualRect(view.indexOfCell(row, col)).center();
}

bool editorOpen(const GridView& view)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return view.viewport()->findChild<QLineEdit*>() != nullptr;
}

// The grid between two controls on the first of two tabs, as the analysis
// window sits in the main window.
struct GridOnATab {
    enum Focus { Before, Grid, After, OtherTab, Nowhere };

    QTabWidget tabs;
    QWidget* page = new QWidget;
    QLineEdit* before = new QLineEdit;
    GridView* view = new GridView;
    QLineEdit* after = new QLineEdit;

    GridOnATab()
    {
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(before);
        layout->addWidget(view);
        layout->addWidget(after);
        tabs.addTab(page, "Grid");
        tabs.addTab(new QWidget, "Other");
        fillAnalysis(view->core());
        tabs.resize(900, 500);
        tabs.show();
        tabs.activateWindow();
    }

    Focus focus() const
    {
        QWidget* w = QApplication::focusWidget();
        if (!w)
            return Nowhere;
        if (w == before)
            return Before;
        if (w == view)
            return Grid;
        if (w == after)
            return After;
        return page->isAncestorOf(w) ? Nowhere : OtherTab;
    }
};

} // namespace

TEST(GridModel, PassesTheItemModelTesterAndShowsSubtotalColoursInBoldUnderRowZeroAsHeader)
{
    ModelTesterLog log;
    GridCore core;
    GridModel model(&core);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

    fillAnalysis(core);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.columnCount(), 10);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Key Group");
    sortAndShow(core, grid::SubtotalCount);
    EXPECT_EQ(model.rowCount(), 6);
    // Sorted: Liability (1) twice, its subtotal, Breach (3) twice, its subtotal.
    ASSERT_TRUE(core.isSubtotal(3));
    const QModelIndex red = model.index(2, 4);
    const QModelIndex blue = model.index(2, 7);
    EXPECT_EQ(model.data(red, Qt::DisplayRole).toString(), "2");
    EXPECT_EQ(model.data(red, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(model.data(blue, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_TRUE(model.data(red, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model.data(model.index(0, 4), Qt::FontRole).isValid());

    model.setData(model.index(0, 4), "9");
    core.setTextAt(0, 3, "Rule");
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), "Rule");
    core.setMergeCol(2, true);
    core.setMergeCells(grid::MergeCells);
    core.subtotal(grid::SubtotalClear);
    core.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(log.failures().isEmpty()) << log.failures().join('\n').toStdString();
}

TEST(GridView, ClickMakesTheClickedCellCurrentBeforeClickIsRaisedAndReceiversCannotThrowOut)
{
    GridView view;
    fillAnalysis(view.core());
    view.resize(900, 400);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    int row = -1, col = -1, colSel = -1;
    QString text;
    QObject::connect(&view, &GridView::gridClicked, &view, [&] {
        row = view.core().row();
        col = view.core().col();
        colSel = view.core().colSel();
        text = view.core().text();
    });
    QObject::connect(&view, &GridView::gridClicked, &view, [] { throw std::runtime_error("boom"); });
    EXPECT_NO_THROW(QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cellCentre(view, 3, 2)));
    EXPECT_EQ(row, 3);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(colSel, 2);
    EXPECT_EQ(text, "Liability");
}

TEST(GridView, CancelInBeforeEditBlocksTheEditAndAfterEditMayRebuildTheGrid)
{
    GridView view;
    fillAnalysis(view.core());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    QList<QPair<int, int>> asked;
    bool refuse = true;
    QObject::connect(&view, &GridView::beforeEdit, &view, [&](int row, int col, bool* cancel) {
        asked.append({row, col});
        *cancel = refuse;
    });
    QList<QPair<int, int>> edited;
    QObject::connect(&view, &GridView::afterEdit, &view, [&](int row, int col) {
        edited.append({row, col});
        EXPECT_EQ(view.core().textAt(row, col), "4");
        sortAndShow(view.core(), grid::SubtotalCount);
    });

    view.edit(view.indexOfCell(2, 5));
    EXPECT_EQ(asked, (QList<QPair<int, int>>{{2, 5}}));
    EXPECT_EQ(view.findChild<QLineEdit*>(), nullptr);

    refuse = false;
    view.edit(view.indexOfCell(2, 5));
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("4");
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits on the next turn of the event loop.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !edited.isEmpty(); }, 1000));
    EXPECT_EQ(edited, (QList<QPair<int, int>>{{2, 5}}));
    EXPECT_EQ(view.core().rows(), 7);
    EXPECT_EQ(view.model()->rowCount(), 6);
    EXPECT_TRUE(view.core().isSubtotal(3));
}

TEST(GridView, TabLeavesTheGridAndCtrlTabSwitchesTabsWhileArrowsMoveBetweenCells)
{
    using F = GridOnATab::Focus;
    struct Way {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        F focus;
    };
    for (const Way& w : {Way{"Tab", Qt::Key_Tab, Qt::NoModifier, F::After},
                         Way{"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, F::Before},
                         Way{"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, F::OtherTab},
                         Way{"Ctrl+Shift+Tab", Qt::Key_Backtab,
                             Qt::ControlModifier | Qt::ShiftModifier, F::OtherTab}}) {
        GridOnATab t;
        ASSERT_TRUE(QTest::qWaitForWindowActive(&t.tabs)) << w.name;
        t.view->setFocus();
        t.view->setCurrentIndex(t.view->indexOfCell(2, 4));
        QTest::keyClick(t.view, Qt::Key_Right);
        QTest::keyClick(t.view, Qt::Key_Down);
        EXPECT_EQ(t.view->core().row(), 3) << w.name;
        EXPECT_EQ(t.view->core().col(), 5) << w.name;
        ASSERT_EQ(t.focus(), F::Grid) << w.name;

        QTest::keyClick(t.view, w.key, w.modifiers);
        EXPECT_EQ(t.focus(), w.focus) << w.name;
        EXPECT_EQ(t.tabs.currentIndex(), w.focus == F::OtherTab ? 1 : 0) << w.name;
        // Neither a move to another cell nor an edit.
        EXPECT_EQ(t.view->core().row(), 3) << w.name;
        EXPECT_EQ(t.view->core().col(), 5) << w.name;
        EXPECT_FALSE(editorOpen(*t.view)) << w.name;
    }
}

TEST(GridView, TabInACellEditorKeepsTheTypedValueAsEnterDoesButEscapeDropsIt)
{
    using F = GridOnATab::Focus;
    struct Way {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool kept;
        F focus;
    };
    for (const Way& w : {Way{"Tab", Qt::Key_Tab, Qt::NoModifier, true, F::After},
                         Way{"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, true, F::Before},
                         Way{"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, true, F::OtherTab},
                         Way{"Escape", Qt::Key_Escape, Qt::NoModifier, false, F::Grid}}) {
        GridOnATab t;
        GridView& view = *t.view;
        ASSERT_TRUE(QTest::qWaitForWindowActive(&t.tabs)) << w.name;
        QList<QPair<int, int>> edited;
        QString storedThen;
        // The receiver rebuilds the grid, as the analysis window does.
        QObject::connect(&view, &GridView::afterEdit, &view, [&](int row, int col) {
            edited.append({row, col});
            storedThen = view.core().textAt(row, col);
            sortAndShow(view.core(), grid::SubtotalCount);
        });
        view.setFocus();
        view.setCurrentIndex(view.indexOfCell(2, 5));
        // The user types 42 over Duty of care's Success of 9.
        QTest::keyClick(&view, Qt::Key_4);
        QWidget* editor = view.indexWidget(view.indexOfCell(2, 5));
        ASSERT_NE(editor, nullptr) << w.name;
        QTest::keyClick(editor, Qt::Key_2);

        QTest::keyClick(editor, w.key, w.modifiers);
        EXPECT_FALSE(editorOpen(view)) << w.name;
        if (w.kept) {
            EXPECT_EQ(edited, (QList<QPair<int, int>>{{2, 5}})) << w.name;
            EXPECT_EQ(storedThen, "42") << w.name;
            EXPECT_TRUE(view.core().isSubtotal(3)) << w.name;
        } else {
            EXPECT_TRUE(edited.isEmpty()) << w.name;
            EXPECT_EQ(view.core().textAt(2, 5), "9") << w.name;
        }
        EXPECT_EQ(t.focus(), w.focus) << w.name;
        EXPECT_EQ(t.tabs.currentIndex(), w.focus == F::OtherTab ? 1 : 0) << w.name;
    }
}

// A press on the grid takes the focus from the editor, which ends the edit,
// before the grid locates the press; the receiver sorts the grid, as the
// analysis window does. The press acts on the cell as it was shown (the
// unsorted grid's Skid marks, where the sort puts Officer Reyes), and the
// edit is told once the press is over, or at once when a press or a key
// goes to another control. An editor opened meanwhile keeps it waiting: a
// sort would take away what is being typed.
TEST(GridView, AnEditEndedByAPressOnTheGridIsToldOnceThePressIsOver)
{
    enum Way {
        Click,
        ClickHeld,
        ClickThroughTheWindow,
        RightClick,
        DoubleClick,
        ThenPressElsewhere,
        ThenTabAndKeyElsewhere,
        ThenTyping
    };
    for (Way way : {Click, ClickHeld, ClickThroughTheWindow, RightClick, DoubleClick,
                    ThenPressElsewhere, ThenTabAndKeyElsewhere, ThenTyping}) {
        SCOPED_TRACE(way);
        GridOnATab t;
        GridView& view = *t.view;
        GridCore& g = view.core();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&t.tabs));
        QStringList told;
        QObject::connect(&view, &GridView::afterEdit, &view, [&](int row, int col) {
            told << QStringLiteral("%1,%2=%3").arg(row).arg(col).arg(g.textAt(row, col));
            sortAndShow(g, grid::SubtotalCount);
        });
        QStringList clicked;
        QObject::connect(&view, &GridView::gridClicked, &view, [&] { clicked << g.text(); });
        view.setFocus();
        view.setCurrentIndex(view.indexOfCell(1, 5));
        // 42 typed over Officer Reyes's Success of 7.
        QTest::keyClick(&view, Qt::Key_4);
        QWidget* editor = view.indexWidget(view.indexOfCell(1, 5));
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_2);
        const QPoint skidMarks = cellCentre(view, 4, 3);
        ASSERT_EQ(g.textAt(4, 3), "Skid marks");
        const QString edit = QStringLiteral("1,5=42");

        switch (way) {
        case Click:
        case ThenPressElsewhere:
        case ThenTabAndKeyElsewhere:
        case ThenTyping:
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, skidMarks);
            break;
        case ClickHeld:
            QTest::mousePress(view.viewport(), Qt::LeftButton, {}, skidMarks);
            QApplication::processEvents();
            EXPECT_TRUE(told.isEmpty());
            QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, skidMarks);
            break;
        case ClickThroughTheWindow: {
            const QPoint inWindow = view.viewport()->mapTo(&t.tabs, skidMarks);
            QTest::mousePress(t.tabs.windowHandle(), Qt::LeftButton, {}, inWindow);
            QApplication::processEvents();
            QTest::mouseRelease(t.tabs.windowHandle(), Qt::LeftButton, {}, inWindow);
            break;
        }
        case RightClick:
            QTest::mouseClick(view.viewport(), Qt::RightButton, {}, skidMarks);
            break;
        case DoubleClick:
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, skidMarks);
            QApplication::processEvents();
            QTest::mousePress(view.viewport(), Qt::LeftButton, {}, skidMarks);
            QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, skidMarks);
            QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, skidMarks);
            break;
        }
        EXPECT_EQ(g.text(), "Skid marks");
        EXPECT_EQ(clicked, way == RightClick ? QStringList() : QStringList{"Skid marks"});
        EXPECT_TRUE(told.isEmpty());

        if (way == ThenPressElsewhere) {
            QTest::mouseClick(t.after, Qt::LeftButton);
            EXPECT_EQ(told, QStringList{edit});
            EXPECT_EQ(t.focus(), GridOnATab::After);
        } else if (way == ThenTabAndKeyElsewhere) {
            QTest::keyClick(&view, Qt::Key_Tab);
            EXPECT_TRUE(told.isEmpty());
            ASSERT_EQ(t.focus(), GridOnATab::After);
            QTest::keyClick(t.after, Qt::Key_A);
            EXPECT_EQ(told, QStringList{edit});
        } else if (way == DoubleClick || way == ThenTyping) {
            if (way == ThenTyping)
                QTest::keyClick(&view, Qt::Key_X);
            auto* open = qobject_cast<QLineEdit*>(view.indexWidget(view.indexOfCell(4, 3)));
            ASSERT_NE(open, nullptr);
            const QString shown = way == DoubleClick ? "Skid marks" : "x";
            EXPECT_EQ(open->text(), shown);
            QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
            EXPECT_TRUE(told.isEmpty());
            EXPECT_EQ(open->text(), shown);
            // Escape drops the second edit but not the first.
            QTest::keyClick(open, way == DoubleClick ? Qt::Key_Escape : Qt::Key_Return);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !told.isEmpty(); }, 1000));
            EXPECT_EQ(told, QStringList{way == DoubleClick ? edit : QStringLiteral("4,3=x")});
        } else {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !told.isEmpty(); }, 2000));
            EXPECT_EQ(told, QStringList{edit});
        }
        // Sorted: Breach's Officer Reyes with the 42, then Skid marks or x.
        EXPECT_TRUE(g.isSubtotal(6));
        EXPECT_EQ(g.textAt(4, 3), "Officer Reyes");
        EXPECT_EQ(g.textAt(4, 5), "42");
        EXPECT_EQ(g.textAt(5, 3), way == ThenTyping ? "x" : "Skid marks");
        EXPECT_FALSE(editorOpen(view));
    }
}

TEST(GridView, BeforeMoveColumnCanKeepAColumnInPlaceAndTheFixedColumnNeverMoves)
{
    GridView view;
    fillAnalysis(view.core());
    int asked = 0;
    QObject::connect(&view, &GridView::beforeMoveColumn, &view, [&](int col, int* position) {
        ++asked;
        if (col == 4)
            *position = 4;
    });
    QSignalSpy afterMove(&view, &GridView::afterMoveColumn);
    QHeaderView* header = view.horizontalHeader();

    header->moveSection(4, 7);
    EXPECT_EQ(header->visualIndex(4), 4);
    EXPECT_EQ(view.core().colPosition(4), 4);
    // Nothing goes before the fixed column, and nobody is asked.
    header->moveSection(3, 0);
    EXPECT_EQ(header->logicalIndex(0), 0);
    EXPECT_EQ(view.core().colPosition(3), 3);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(afterMove.count(), 0);

    header->moveSection(5, 8);
    EXPECT_EQ(header->visualIndex(5), 8);
    EXPECT_EQ(view.core().colPosition(5), 8);
    ASSERT_EQ(afterMove.count(), 1);
    EXPECT_EQ(afterMove.at(0).at(0).toInt(), 5);
    EXPECT_EQ(afterMove.at(0).at(1).toInt(), 8);

    // A re-sort rebuilds the model; the moved column stays where it was put.
    sortAndShow(view.core(), grid::SubtotalCount);
    EXPECT_EQ(header->visualIndex(5), 8);
    EXPECT_EQ(header->visualIndex(4), 4);
}

TEST(GridView, SpansFollowTheMergeBlocksAndMergeSetting)
{
    GridView view;
    GridCore& g = view.core();
    fillAnalysis(g);
    sortAndShow(g, grid::SubtotalCount);
    g.setMergeCol(2, true);
    g.setMergeCells(grid::MergeCells);
    // Liability in grid rows 1..2 (model rows 0..1), its subtotal row apart.
    EXPECT_EQ(view.rowSpan(0, 2), 2);
    EXPECT_EQ(view.rowSpan(2, 2), 1);
    EXPECT_EQ(view.rowSpan(3, 2), 2);
    // A re-sort that leaves the blocks where they were keeps them shown.
    sortAndShow(g, grid::SubtotalAverage);
    EXPECT_EQ(view.rowSpan(0, 2), 2);
    EXPECT_EQ(view.rowSpan(2, 2), 1);
    EXPECT_EQ(view.rowSpan(3, 2), 2);
    g.setMergeCells(grid::MergeNone);
    EXPECT_EQ(view.rowSpan(0, 2), 1);
}

TEST(GridView, AnEditInAMergedBlockLandsOnTheLineTheMouseWasOn)
{
    GridView view;
    GridCore& g = view.core();
    fillAnalysis(g);
    sortAndShow(g, grid::SubtotalCount);
    g.setMergeCol(4, true);
    g.setMergeCells(grid::MergeCells);
    view.resize(900, 400);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QList<int> asked;
    QObject::connect(&view, &GridView::beforeEdit, &view,
                     [&](int row, int, bool*) { asked.append(row); });
    QList<int> edited;
    QObject::connect(&view, &GridView::afterEdit, &view, [&](int row, int) { edited.append(row); });

    struct Edit {
        const char* how;
        int line; // grid row under the mouse
        bool doubleClick;
    };
    // Liability's Breach (row 1) and Duty of care (row 2) share one Weight.
    for (const Edit& e :
         {Edit{"double-click, lower line", 2, true}, Edit{"click and type, lower line", 2, false},
          Edit{"double-click, top line", 1, true}}) {
        g.setTextAt(1, 4, "8");
        g.setTextAt(2, 4, "8");
        ASSERT_EQ(view.rowSpan(0, 4), 2) << e.how;
        asked.clear();
        edited.clear();
        const QModelIndex line = view.indexOfCell(e.line, 4);
        const QPoint at(view.columnViewportPosition(4) + view.columnWidth(4) / 2,
                        view.rowViewportPosition(line.row()) + view.rowHeight(line.row()) / 2);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
        if (e.doubleClick) {
            QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
            // A double-click ends with its release; QTest's leaves the button held.
            QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at);
        } else {
            QTest::keyClick(&view, Qt::Key_4);
        }
        auto* editor = view.findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << e.how;
        // On the edited line only, not over the whole block.
        EXPECT_TRUE(view.visualRect(line).contains(editor->geometry().center())) << e.how;
        EXPECT_LE(editor->height(), view.rowHeight(line.row())) << e.how;
        editor->setText("4");
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !edited.isEmpty(); }, 1000)) << e.how;
        EXPECT_EQ(asked, QList<int>{e.line}) << e.how;
        EXPECT_EQ(edited, QList<int>{e.line}) << e.how;
        EXPECT_EQ(g.textAt(e.line, 4), "4") << e.how;
        EXPECT_EQ(g.textAt(3 - e.line, 4), "8") << e.how;
    }
}

TEST(GridView, WidthsInTwipsBecomePixelsZeroHidesAndTheCoreFontIsShown)
{
    GridView view;
    GridCore& g = view.core();
    fillAnalysis(g);
    g.setColWidth(2, 1500);
    g.setColWidth(3, 0);
    EXPECT_EQ(view.columnWidth(2), 100);
    EXPECT_TRUE(view.isColumnHidden(3));
    view.setWidthTwips(10400);
    EXPECT_EQ(view.width(), 693);
    view.resize(900, 300);
    EXPECT_EQ(view.width(), 900);
    EXPECT_EQ(view.columnWidth(2), 100);
    // A header cut by its narrow column shows its whole text as a tooltip.
    EXPECT_EQ(view.model()->headerData(9, Qt::Horizontal, Qt::ToolTipRole), "Significance");
    // A header wider than its column loses its end, not its start.
    EXPECT_EQ(view.horizontalHeader()->defaultAlignment(), Qt::AlignLeft | Qt::AlignVCenter);

    // The user's resizing is read back in twips.
    view.horizontalHeader()->resizeSection(2, 120);
    EXPECT_EQ(g.colWidth(2), 1800);

    g.setFontName("Verdana");
    g.setFontSize(7);
    EXPECT_EQ(view.font().family(), "Verdana");
    EXPECT_EQ(view.font().pointSizeF(), 7.0);
}

TEST(GridView, PaintingWhileRedrawIsOffSeesNoStaleRows)
{
    // A message box shown between redraw off and on lets the view paint.
    GridView view;
    fillAnalysis(view.core());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy resets(view.model(), &QAbstractItemModel::modelReset);
    view.core().setRedraw(grid::RedrawOff);
    view.core().clear();
    EXPECT_NO_THROW(view.viewport()->repaint());
    EXPECT_EQ(resets.count(), 0);
    view.core().setRedraw(grid::RedrawOn);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(view.model()->rowCount(), 0);
}

TEST(GridView, DraggingAHeaderMovesTheColumnForTheCore)
{
    GridView view;
    fillAnalysis(view.core());
    view.resize(1000, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QHeaderView* header = view.horizontalHeader();
    const int y = header->height() / 2;
    const QPoint from(header->sectionViewportPosition(6) + header->sectionSize(6) / 2, y);
    const QPoint to(header->sectionViewportPosition(8) + header->sectionSize(8) - 3, y);

    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(header->viewport(), from + QPoint(20, 0));
    QTest::mouseMove(header->viewport(), to);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to);

    EXPECT_EQ(header->visualIndex(6), 8);
    EXPECT_EQ(view.core().colPosition(6), 8);
    EXPECT_EQ(view.core().textAt(0, 6), "Jury");
}
