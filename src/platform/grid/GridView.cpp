#include "GridView.h"

#include "GridCore.h"
#include "GridModel.h"

#include "platform/core/Twips.h"
#include "platform/widgets/PressWatch.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTimer>
#include <QtGlobal>

#include <exception>
#include <utility>

namespace grid {

namespace {

// Receivers of our events run inside Qt's event handling; nothing they throw
// may travel further.
template <typename F> void guarded(const char* event, F&& f)
{
    try {
        std::forward<F>(f)();
    } catch (const std::exception& e) {
        qWarning("GridView %s: %s", event, e.what());
    } catch (...) {
        qWarning("GridView %s: unknown failure", event);
    }
}

// Sets a flag for the lifetime of the object and restores its old value.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag)
        : m_flag(flag)
        , m_old(std::exchange(flag, true))
    {
    }
    ~FlagGuard() { m_flag = m_old; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

} // namespace

GridView::GridView(QWidget* parent)
    : QTableView(parent)
    , m_core(new GridCore(this))
    , m_model(new GridModel(m_core, this))
    , m_doubleClickWait(new QTimer(this))
{
    setObjectName(QStringLiteral("analysisGridView"));
    setModel(m_model);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    // Header texts start at the left edge, as text cells do, so that a
    // header wider than its column loses its end rather than both ends.
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    // The arrow keys move between cells; Tab and Shift+Tab go on to the next
    // control and Ctrl+Tab to the next tab, as everywhere else in the window.
    // Moving from cell to cell by Tab left a keyboard user no way out.
    setTabKeyNavigation(false);

    connect(m_core, &GridCore::aboutToReset, this, &GridView::onCoreAboutToReset);
    connect(m_core, &GridCore::displayChanged, this, &GridView::applyDisplay);
    connect(this, &QAbstractItemView::clicked, this, &GridView::onClicked);
    connect(this, &QAbstractItemView::doubleClicked, this, &GridView::onDoubleClicked);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, &GridView::onSectionMoved);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &GridView::onSectionResized);
    m_doubleClickWait->setSingleShot(true);
    connect(m_doubleClickWait, &QTimer::timeout, this, &GridView::tellAfterEditUnlessEditing);
    m_pressWatch = new platform::PressWatch(
        [this] {
            m_doubleClickWait->start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        },
        this);
    m_pressWatch->watchAround(this, [this] { tellAfterEditUnlessEditing(); });
    applyDisplay();
}

GridView::~GridView()
{
    // The model must not outlive the core it reads while the view goes down.
    setModel(nullptr);
}

int GridView::widthTwips() const
{
    return twips::fromPixels(width());
}

void GridView::setWidthTwips(int twips)
{
    // At least this wide; a wider container gives the grid area the rest,
    // right of the last column, rather than leaving a band beside it.
    setMinimumWidth(twips::toPixels(twips));
}

int GridView::heightTwips() const
{
    return twips::fromPixels(height());
}

void GridView::setHeightTwips(int twips)
{
    setFixedHeight(twips::toPixels(twips));
}

QModelIndex GridView::indexOfCell(int row, int col) const
{
    if (row < 1)
        return QModelIndex();
    return m_model->index(row - 1, col);
}

QRect GridView::visualRect(const QModelIndex& index) const
{
    // The editor covers only the line of the item it edits; over the whole
    // block it would not show which item takes the text.
    if (index.isValid() && index == m_editIndex) {
        const int gridLine = showGrid() ? 1 : 0;
        return QRect(columnViewportPosition(index.column()), rowViewportPosition(index.row()),
                     columnWidth(index.column()) - gridLine, rowHeight(index.row()) - gridLine);
    }
    return QTableView::visualRect(index);
}

void GridView::onCoreAboutToReset()
{
    m_inReset = true;
}

void GridView::applyDisplay()
{
    FlagGuard syncing(m_syncing);
    m_inReset = false;

    if (!m_core->fontName().isEmpty() || m_core->fontSize() > 0.0) {
        QFont f = font();
        if (!m_core->fontName().isEmpty())
            f.setFamily(m_core->fontName());
        if (m_core->fontSize() > 0.0)
            f.setPointSizeF(m_core->fontSize());
        if (f != font()) {
            setFont(f);
            verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 6);
        }
    }

    QHeaderView* header = horizontalHeader();
    for (int c = 0; c < m_core->cols(); ++c) {
        const int pixels = twips::toPixels(m_core->colWidth(c));
        if (pixels <= 0) {
            setColumnHidden(c, true);
        } else {
            setColumnHidden(c, false);
            setColumnWidth(c, pixels);
        }
    }
    // A model reset forgets moved sections; the core keeps the order.
    for (int position = 0; position < m_core->cols(); ++position) {
        const int logical = m_core->colAtPosition(position);
        const int visual = header->visualIndex(logical);
        if (visual >= 0 && visual != position)
            header->moveSection(visual, position);
    }

    // Many display settings change one after another, and every study
    // rebuilds the rows; the blocks are laid again only when they changed,
    // as a large grid holds thousands of them.
    QList<MergeSpan> spans = m_core->mergeSpans();
    if (spans != m_spans) {
        clearSpans();
        for (const MergeSpan& span : spans)
            setSpan(span.row - 1, span.col, span.rowCount, 1);
        m_spans = std::move(spans);
    }

    const QModelIndex current = indexOfCell(m_core->row(), m_core->col());
    if (current.isValid() && current != currentIndex())
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
}

void GridView::followCell(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    m_core->setRow(GridModel::gridRow(index));
    m_core->setCol(index.column());
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    // Gone to another cell, by keys or code: the line pressed is no longer
    // the one meant.
    if (m_pressedCell.isValid() &&
        QTableView::visualRect(current) != QTableView::visualRect(m_pressedCell))
        m_pressedCell = QPersistentModelIndex();
    if (!m_syncing)
        followCell(current);
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    m_pressedCell = model()->index(rowAt(at.y()), columnAt(at.x()));
    // Perhaps the second click of a double-click: the edit still waits.
    m_doubleClickWait->stop();
    QTableView::mousePressEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    {
        // The table opens the editor on the cell it kept only once the
        // double-click's handlers return, a box they opened answered: rows
        // put in a new order meanwhile would have it open on another item.
        FlagGuard handling(m_inDoubleClick);
        QTableView::mouseDoubleClickEvent(event);
    }
    // The box may have taken the release the after-edit waited for.
    if (QGuiApplication::mouseButtons() == Qt::NoButton)
        tellAfterEditUnlessEditing();
}

QModelIndex GridView::cellToEdit(const QModelIndex& index) const
{
    // A merged block is one cell on screen, and the table hands its top cell
    // to every click and key; the user means the line the mouse was on.
    if (!m_pressedCell.isValid() || m_pressedCell.column() != index.column())
        return index;
    const int pressed = m_pressedCell.row();
    for (const MergeSpan& span : m_spans) {
        if (span.col == index.column() && span.row == GridModel::gridRow(index)) {
            const int top = index.row();
            return pressed > top && pressed < top + span.rowCount ? QModelIndex(m_pressedCell)
                                                                  : index;
        }
    }
    return index;
}

void GridView::onClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    followCell(index);
    guarded("Click", [this] { emit gridClicked(); });
}

void GridView::onDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    followCell(index);
    guarded("DblClick", [this] { emit gridDoubleClicked(); });
}

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // Ask only when an editor would really open, not on every click or key.
    const bool wouldEdit = index.isValid() && state() != EditingState &&
                           (model()->flags(index) & Qt::ItemIsEditable) &&
                           (trigger == AllEditTriggers || (trigger & editTriggers())) &&
                           !isPersistentEditorOpen(index);
    if (!wouldEdit)
        return QTableView::edit(index, trigger, event);

    const QModelIndex cell = cellToEdit(index);
    const int row = GridModel::gridRow(cell);
    const int col = cell.column();
    bool cancel = false;
    guarded("BeforeEdit", [&] { emit beforeEdit(row, col, &cancel); });
    if (cancel)
        return false;
    // Known before the editor opens, which places it by the cell's rectangle.
    m_editIndex = cell;
    const bool editing = QTableView::edit(cell, trigger, event);
    if (!editing) {
        m_editIndex = QPersistentModelIndex();
        return false;
    }
    // Seen before the delegate, which would end a Tab by editing the next cell.
    if (QWidget* editor = indexWidget(cell))
        editor->installEventFilter(this);
    return true;
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_editIndex.isValid() &&
        watched == indexWidget(m_editIndex)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            // What was typed is kept as Enter keeps it, after-edit handling
            // included; the key then does what it does on the grid.
            auto* editor = static_cast<QWidget*>(watched);
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
            // Unless the after-edit handling has sent the focus elsewhere.
            if (hasFocus()) {
                QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
                QCoreApplication::sendEvent(this, &again);
            }
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void GridView::commitData(QWidget* editor)
{
    QTableView::commitData(editor);
    if (!m_editIndex.isValid())
        return;
    m_editRow = GridModel::gridRow(m_editIndex);
    m_editCol = m_editIndex.column();
    m_afterEditPending = true;
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    m_editIndex = QPersistentModelIndex();
    if (std::exchange(m_afterEditPending, false))
        m_afterEditOwed = true;
    if (!m_afterEditOwed)
        return;
    // A press on the grid takes the focus from the editor before the grid
    // locates the press: rows put in a new order now would bring another
    // cell under the mouse, and the click, or the double-click that may
    // follow, would act on that one.
    if (m_inDoubleClick || pressOnTheGrid()) {
        m_doubleClickWait->stop();
        m_pressWatch->start();
        return;
    }
    // Told only once the editor is gone, so the receiver may rebuild the grid.
    tellAfterEdit();
}

bool GridView::pressOnTheGrid() const
{
    const QWidget* focus = QApplication::focusWidget();
    return QGuiApplication::mouseButtons() != Qt::NoButton && focus &&
           (focus == this || isAncestorOf(focus));
}

void GridView::tellAfterEditUnlessEditing()
{
    // An editor opened meanwhile tells it when it closes; rows rebuilt
    // under it would take away what is being typed. A double-click still
    // being handled tells it once it is over.
    if (m_afterEditOwed && state() != EditingState && !m_inDoubleClick)
        tellAfterEdit();
}

void GridView::tellAfterEdit()
{
    m_afterEditOwed = false;
    m_doubleClickWait->stop();
    m_pressWatch->stop();
    const int row = m_editRow;
    const int col = m_editCol;
    guarded("AfterEdit", [&] { emit afterEdit(row, col); });
}

void GridView::onSectionMoved(int logical, int oldVisual, int newVisual)
{
    if (m_syncing)
        return;
    QHeaderView* header = horizontalHeader();
    // The fixed column stays first, and nothing goes before it.
    if (logical == 0 || newVisual == 0) {
        FlagGuard syncing(m_syncing);
        header->moveSection(newVisual, oldVisual);
        return;
    }
    int position = newVisual;
    guarded("BeforeMoveColumn", [&] { emit beforeMoveColumn(logical, &position); });
    position = qBound(1, position, m_core->cols() - 1);
    if (position != newVisual) {
        FlagGuard syncing(m_syncing);
        header->moveSection(newVisual, position);
    }
    if (position == m_core->colPosition(logical))
        return;
    m_core->moveColumn(logical, position);
    guarded("AfterMoveColumn", [&] { emit afterMoveColumn(logical, position); });
}

void GridView::onSectionResized(int logical, int /*oldSize*/, int newSize)
{
    // Only the user's resizing goes back into the core's twips.
    if (m_syncing || m_inReset || newSize <= 0 || logical >= m_core->cols())
        return;
    m_core->setColWidth(logical, twips::fromPixels(newSize));
}

} // namespace grid
