#pragma once

#include "GridCore.h"

#include <QTableView>

class QTimer;

namespace platform {
class PressWatch;
} // namespace platform

namespace grid {

class GridCore;
class GridModel;

// The analysis grid on screen: a table view over its own GridCore. Grid row 0
// is shown as the horizontal header, column 0 as a narrow shaded column.
// Headers are dragged to move columns (visually only).
//
// Events carry in/out arguments as pointers; connect them directly (the
// default within one thread). An exception thrown by a receiver is caught
// here and never reaches Qt's event loop.
class GridView : public QTableView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridView)

public:
    explicit GridView(QWidget* parent = nullptr);
    ~GridView() override;

    using QTableView::edit;

    GridCore& core() { return *m_core; }
    const GridCore& core() const { return *m_core; }
    GridModel* gridModel() const { return m_model; }

    // The control's outer size, in twips.
    int widthTwips() const;
    void setWidthTwips(int twips);
    int heightTwips() const;
    void setHeightTwips(int twips);

    // The model index showing grid cell (row, col); invalid for row 0.
    QModelIndex indexOfCell(int row, int col) const;

    // A cell being edited inside a merged block has its own line.
    QRect visualRect(const QModelIndex& index) const override;

signals:
    // The current cell and the selection end are the clicked cell.
    void gridClicked();
    void gridDoubleClicked();
    // Set *cancel to true to refuse the edit.
    void beforeEdit(int row, int col, bool* cancel);
    // Told once the editor is gone. An edit ended by a press on the grid is
    // told once the click, and the double-click it may begin, have been
    // handled on the cells as they were shown, or at once when the user turns
    // to anything else; edits ended meanwhile are told with it, naming the
    // last cell.
    void afterEdit(int row, int col);
    // position is the visual position the column is dropped at; change it to
    // put the column elsewhere (its old position keeps it in place).
    void beforeMoveColumn(int col, int* position);
    void afterMoveColumn(int col, int position);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void applyDisplay();
    void onCoreAboutToReset();
    void onClicked(const QModelIndex& index);
    void onDoubleClicked(const QModelIndex& index);
    void onSectionMoved(int logical, int oldVisual, int newVisual);
    void onSectionResized(int logical, int oldSize, int newSize);
    void followCell(const QModelIndex& index);
    QModelIndex cellToEdit(const QModelIndex& index) const;
    bool pressOnTheGrid() const;
    void tellAfterEditUnlessEditing();
    void tellAfterEdit();

    GridCore* m_core = nullptr;
    GridModel* m_model = nullptr;
    bool m_syncing = false;   // our own header and selection changes
    bool m_inReset = false;   // between a core reset and its redisplay
    QList<MergeSpan> m_spans; // the merge blocks the table shows
    QPersistentModelIndex m_editIndex;
    // The cell on the line last pressed, though the table gives a merged
    // block's clicks to its top cell.
    QPersistentModelIndex m_pressedCell;
    bool m_afterEditPending = false;
    int m_editRow = 0;
    int m_editCol = 0;
    // An edit whose after-edit waits for the press that ended it to be over.
    bool m_afterEditOwed = false;
    // Within the table's own double-click handling, a box opened from it
    // included.
    bool m_inDoubleClick = false;
    platform::PressWatch* m_pressWatch = nullptr;
    // From the release for as long as a second click would make a
    // double-click.
    QTimer* m_doubleClickWait = nullptr;
};

} // namespace grid
