// What the analysis grid does on clicks, edits, column moves and the merge
// option: the drill-down into advisory texts and the grid's own upkeep.
// Edits change only the grid; nothing is written to the case file.

#include "analysis/forms/frmIssue.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/CText.h"
#include "analysis/StudyQueries.h"
#include "analysis/forms/WindowLine.h"
#include "platform/core/Prompt.h"
#include "platform/core/ScreenText.h"
#include "platform/grid/GridCore.h"
#include "platform/grid/GridView.h"
#include "store/AppState.h"
#include "store/CUtility.h"

#include <QRadioButton>

#include <optional>

using analysisforms::line;

namespace {

constexpr int kMethodStudy = 3;
constexpr int kFixedColumn = 4; // never moves
constexpr int kFirstRating = 4;
// A message box grows with its text: this much fits a small screen with its
// OK button. The main window shows the item's whole text.
constexpr qsizetype kMaxShownInBox = 2000;
constexpr int kMaxLinesInBox = 30;

} // namespace

void frmIssue::connectGridEvents()
{
    connect(m_fg, &grid::GridView::gridClicked, this, &frmIssue::fg_Click);
    connect(m_fg, &grid::GridView::gridDoubleClicked, this, &frmIssue::fg_DblClick);
    connect(m_fg, &grid::GridView::beforeEdit, this, &frmIssue::fg_BeforeEdit);
    connect(m_fg, &grid::GridView::afterEdit, this, &frmIssue::fg_AfterEdit);
    connect(m_fg, &grid::GridView::beforeMoveColumn, this, &frmIssue::fg_BeforeMoveColumn);
    connect(m_fg, &grid::GridView::afterMoveColumn, this, &frmIssue::fg_AfterMoveColumn);
    for (int i = 0; i < 2; ++i)
        connect(m_optMerge[i], &QRadioButton::clicked, this, [this, i] { optMerge_Click(i); });
}

void frmIssue::fg_Click()
{
    const char* p = "fg_Click";
    const grid::GridCore& g = grid();
    QString text;
    line(p, 1, [&] {
        text = g.text();
        oUtility().setClickText(text);
    });
    line(p, 2, [&] { oUtility().setSSQL(studies::childQuery(text)); });
    int type = 0;
    line(p, 3, [&] { type = oReport().ReportType(); });
    if (type != kMethodStudy)
        return;
    // The clicked column as the grid keeps it, wherever it has been dragged.
    const std::optional<QString> field = studies::ratingField(g.colSel());
    if (!field)
        return;
    // A rating nobody gave, or a subtotal of none, reads as 0 and would be
    // advised as the lowest possible score.
    bool holdsNumber = false;
    line(p, 4, [&] { holdsNumber = g.isNumeric(g.row(), g.col()); });
    if (!holdsNumber)
        return;
    line(p, 5, [&] { oText().setMyColumnText(*field); });
    // A value too large is reported; the advice of the previous click would
    // otherwise be shown as if it were this one's.
    if (!line(p, 6, [&] { oText().setMyColumnVal(studies::roundToInt16(g.value())); }))
        return;
    line(p, 7, [&] { oText().DisplayReport(); });
}

void frmIssue::fg_DblClick()
{
    line("fg_DblClick", 1, [&] {
        const grid::GridCore& g = grid();
        // The key group and rule columns, whose text a narrow column cuts.
        if (g.colSel() == 2 || g.colSel() == 3)
            platform::msgBox(screentext::shown(g.text(), kMaxShownInBox, kMaxLinesInBox));
    });
}

void frmIssue::fg_BeforeEdit(int row, int col, bool* cancel)
{
    line("fg_BeforeEdit", 1, [&] {
        const grid::GridCore& g = grid();
        if (col < kFirstRating && g.mergeCells() != grid::MergeNone)
            *cancel = true;
        else if (g.isSubtotal(row))
            *cancel = true;
    });
}

void frmIssue::fg_AfterEdit(int /*row*/, int /*col*/)
{
    line("fg_AfterEdit", 1, [&] { SortAndShow(m_studyFunction); });
}

void frmIssue::fg_BeforeMoveColumn(int col, int* position)
{
    line("fg_BeforeMoveColumn", 1, [&] {
        if (col == kFixedColumn)
            *position = grid().colPosition(col);
    });
}

void frmIssue::fg_AfterMoveColumn(int /*col*/, int /*position*/)
{
    line("fg_AfterMoveColumn", 1, [&] { SortAndShow(m_studyFunction); });
}

void frmIssue::optMerge_Click(int index)
{
    line("optMerge_Click", 1, [&] {
        if (index == 0)
            grid().setMergeCells(grid::MergeCells);
        else if (index == 1)
            grid().setMergeCells(grid::MergeNone);
    });
}
