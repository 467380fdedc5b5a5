// The main window's tree editing and drag and drop: the tree's events turned
// into calls on the plain rules of TreeEditing and TreeDragDrop.

#include "workspace/frmRedoZiv.h"

#include "workspace/TreeDragDrop.h"
#include "workspace/TreeEditing.h"
#include "workspace/TreeImages.h"
#include "workspace/TreeLogic.h"
#include "workspace/ctlBookmarks.h"

#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "platform/core/ScreenText.h"
#include "platform/core/Shell.h"
#include "platform/core/Twips.h"
#include "platform/db/Ado.h"
#include "platform/widgets/PlainRowsDelegate.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CIssue.h"
#include "store/CTypes.h"
#include "store/CUtility.h"
#include "store/CWaitCursor.h"
#include "store/ErrorReport.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QValidator>

namespace {

const QString kIssueWord = QStringLiteral("Issue");

QString keyOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, frmRedoZiv::kKeyRole).toString() : QString();
}

AppError asAppError(const std::exception& e)
{
    if (const auto* app = dynamic_cast<const AppError*>(&e))
        return *app;
    return AppError(0, QStringLiteral("Argovo"), report::describe(e));
}

// The window's standard report; the handler goes on with its next statement.
template <typename F> void orReport(const char* procedure, int line, F&& body)
{
    report::guarded(QStringLiteral("frmRedoZiv.") + QLatin1String(procedure), line,
                    std::forward<F>(body));
}

// The name the file holds for the node's item: its text, unless that was
// cut for the screen.
QString storedName(const QTreeWidgetItem* node)
{
    const QVariant whole = node->data(0, frmRedoZiv::kNameRole);
    return whole.isValid() ? whole.toString() : node->text(0);
}

void setNodeImage(QTreeWidgetItem* node, const QString& image)
{
    // The picture goes with its name, so an unchanged name is an unchanged
    // picture. Each change makes the view look the node up among all its
    // rows, and closing the whole tree sets every branch's picture.
    if (node->data(0, frmRedoZiv::kImageRole) == QVariant(image))
        return;
    node->setData(0, frmRedoZiv::kImageRole, image);
    node->setIcon(0, treeimages::image(image));
}

void keysBelow(const QTreeWidgetItem* node, QStringList& keys)
{
    keys << keyOf(node);
    for (int i = 0; i < node->childCount(); ++i)
        keysBelow(node->child(i), keys);
}

void expandedBelow(QTreeWidgetItem* node, QList<QTreeWidgetItem*>& expanded)
{
    if (node->isExpanded())
        expanded << node;
    for (int i = 0; i < node->childCount(); ++i)
        expandedBelow(node->child(i), expanded);
}

// The label editor's length limit cuts what is typed or pasted at any code
// unit, through a character outside the basic plane too: the half left at
// the limit is dropped instead of shown broken and stored as "?".
class WholeCharacters final : public QValidator {
public:
    explicit WholeCharacters(QLineEdit* editor)
        : QValidator(editor)
        , m_editor(editor)
    {
    }

    State validate(QString& input, int& pos) const override
    {
        if (input.size() < m_editor->maxLength())
            return Acceptable;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            const bool paired =
                c.isHighSurrogate()
                    ? i + 1 < input.size() && input.at(i + 1).isLowSurrogate()
                    : !c.isLowSurrogate() || (i > 0 && input.at(i - 1).isHighSurrogate());
            if (!paired) {
                input.remove(i, 1);
                if (pos > i)
                    --pos;
                --i;
            }
        }
        return Acceptable;
    }

private:
    QLineEdit* m_editor;
};

// The tree's in-place label editor: the window decides whether it opens and
// what its closing stores; Escape closes it without either.
class LabelDelegate final : public platform::PlainRowsDelegate {
public:
    explicit LabelDelegate(frmRedoZiv* window)
        : PlainRowsDelegate(window->tvIssueItems())
        , m_window(window)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        auto* editor =
            qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        bool cancel = !editor;
        if (editor)
            m_window->tvIssueItems_BeforeLabelEdit(nodeAt(index), editor, cancel);
        if (cancel) {
            delete editor;
            return nullptr;
        }
        return editor;
    }

    // A name cut for the screen is edited whole.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        const QVariant whole = index.data(frmRedoZiv::kNameRole);
        if (line && whole.isValid())
            line->setText(whole.toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        const auto* line = qobject_cast<QLineEdit*>(editor);
        // A message shown while the name is stored takes the focus from the
        // editor, which would store it a second time.
        if (!line || m_storing)
            return;
        QScopedValueRollback storing(m_storing, true);
        QTreeWidgetItem* node = nodeAt(index);
        const QString accepted =
            treeediting::acceptedLabel(line->text(), node ? storedName(node) : QString());
        bool cancel = false;
        m_window->tvIssueItems_AfterLabelEdit(node, cancel, line->text());
        if (cancel)
            return;
        model->setData(index, screentext::shown(accepted), Qt::EditRole);
        if (accepted.size() > screentext::kMaxShown || index.data(frmRedoZiv::kNameRole).isValid())
            model->setData(
                index, accepted.size() > screentext::kMaxShown ? QVariant(accepted) : QVariant(),
                frmRedoZiv::kNameRole);
    }

    // Stores and closes an open editor, as leaving it does.
    void finish(QWidget* editor)
    {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }

private:
    QTreeWidgetItem* nodeAt(const QModelIndex& index) const
    {
        return m_window->node(index.data(frmRedoZiv::kKeyRole).toString());
    }

    frmRedoZiv* m_window;
    mutable bool m_storing = false;
};

// Mouse, key and drag events of the tree, handed to the window's handlers.
// The platform's drag loop runs here, between the start the window allows and
// the completion it is told of.
class TreeEvents final : public QObject {
public:
    explicit TreeEvents(frmRedoZiv* window)
        : QObject(window)
        , m_window(window)
        , m_tree(window->tvIssueItems())
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        try {
            return handle(watched, event);
        } catch (...) {
            return false;
        }
    }

private:
    bool handle(QObject* watched, QEvent* event)
    {
        // The tree is held apart: while the window is being destroyed its
        // closing still sends the tree events, and the window is no longer
        // one to ask.
        QTreeWidget* tree = m_tree;
        if (watched == tree) {
            // The view opens every branch below the current node on "*";
            // those never opened get their nodes first.
            if (event->type() == QEvent::KeyPress &&
                static_cast<QKeyEvent*>(event)->key() == Qt::Key_Asterisk)
                m_window->showBranch(tree->currentItem());
            if (event->type() == QEvent::KeyRelease) {
                const auto* key = static_cast<QKeyEvent*>(event);
                // Keys typed into the label editor are the editor's.
                if (!key->isAutoRepeat() && QApplication::focusWidget() == tree)
                    m_window->tvIssueItems_KeyUp(key->key());
            }
            return false;
        }
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            m_pressedAt = mouse->position().toPoint();
            m_window->tvIssueItems_MouseDown(tree->itemAt(m_pressedAt));
            return false;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (m_window->dragState().dragKey().isEmpty())
                return false;
            // A short move is still a click; meanwhile the press does not
            // drag the selection along.
            if (mouse->buttons() == Qt::LeftButton &&
                (mouse->position().toPoint() - m_pressedAt).manhattanLength() <
                    QApplication::startDragDistance())
                return m_window->dragState().dragKey() != treelogic::kRootKey;
            const QString key = m_window->dragState().dragKey();
            if (!m_window->tvIssueItems_MouseMove(mouse->buttons()))
                return false;
            auto* drag = new QDrag(tree);
            drag->setMimeData(m_window->treeDragData(key));
            drag->exec(Qt::MoveAction);
            m_window->tvIssueItems_OLECompleteDrag();
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            m_window->tvIssueItems_MouseUp(mouse->button(), mouse->globalPosition().toPoint());
            return false;
        }
        case QEvent::DragEnter: {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            if (fromThisTree(*drag))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            const QPoint at = drag->position().toPoint();
            if (fromThisTree(*drag) &&
                m_window->tvIssueItems_OLEDragOver(drag->mimeData(), tree->itemAt(at), at.y())) {
                drag->setDropAction(Qt::MoveAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::DragLeave:
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!fromThisTree(*drop)) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::MoveAction);
            drop->accept();
            m_window->tvIssueItems_OLEDragDrop(drop->mimeData());
            return true;
        }
        default:
            return false;
        }
    }

    // Only a drag that started in this tree moves anything. One from another
    // window or another copy of the program (its source unknown here) names
    // no item of this case, whatever format it offers.
    bool fromThisTree(const QDropEvent& event) const
    {
        return event.source() == m_tree && event.mimeData() &&
               event.mimeData()->hasFormat(m_window->treeClipboardFormat());
    }

    frmRedoZiv* m_window;
    QTreeWidget* m_tree;
    QPoint m_pressedAt;
};

} // namespace

void frmRedoZiv::connectTreeEditing()
{
    m_drag = std::make_unique<TreeDragDrop>();
    m_tmrDragTimer = new QTimer(this);
    m_tmrDragTimer->setObjectName(QStringLiteral("tmrDragTimer"));
    m_tmrDragTimer->setInterval(TreeDragDrop::kTickInterval);
    connect(m_tmrDragTimer, &QTimer::timeout, this, [this] { tmrDragTimer_Timer(); });

    m_tvIssueItems->setItemDelegate(new LabelDelegate(this));
    // The drag timer opens and scrolls the tree during a drag, not the view.
    // The view's own scrolling also kept the current item in sight; that is
    // done here, so keys that move it never leave it out of view.
    m_tvIssueItems->setAutoScroll(false);
    connect(m_tvIssueItems, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) {
                // The drag timer runs only while a drag is under way.
                if (current && !m_tmrDragTimer->isActive())
                    m_tvIssueItems->scrollToItem(current);
            });
    m_tvIssueItems->setAutoExpandDelay(-1);
    m_tvIssueItems->setAcceptDrops(true);
    m_tvIssueItems->viewport()->setAcceptDrops(true);
    m_tvIssueItems->setContextMenuPolicy(Qt::PreventContextMenu);
    auto* events = new TreeEvents(this);
    m_tvIssueItems->installEventFilter(events);
    m_tvIssueItems->viewport()->installEventFilter(events);
    connect(m_tvIssueItems, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* node) { tvIssueItems_Collapse(node); });
    connect(m_tvIssueItems, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { showChildren(node); });
}

// ---------------------------------------------------------------------------
// Inserting

// The insert commands check the node the insert goes under: the tree's
// selected node, once some node was clicked.
void frmRedoZiv::LinkerChecker()
{
    orReport("LinkerChecker", 10, [this] {
        if (oUtility().SelectedNode().isEmpty()) {
            platform::msgBox(QStringLiteral("Select an issue, witness or exhibit first."),
                             platform::MsgButtons::OK, platform::MsgIcon::Critical,
                             QStringLiteral("No Selection"));
            return;
        }
        const QString key = keyOf(m_tvIssueItems->currentItem());
        if (key.isEmpty() || key.startsWith(QLatin1Char('R'))) {
            AddCode(oTypes().ItemType());
            return;
        }
        const QString id = treelogic::nodeKeyToId(key);
        if (refuseInFile(treeediting::refusalInFile(gDB, id)))
            return;
        std::shared_ptr<ado::Recordset> rs;
        if (oDataLayer().RunSQL(QStringLiteral("SELECT * FROM Issue WHERE Issue.ID=") + id, rs,
                                QStringLiteral("frmRedoZiv.LinkerChecker")) != 0 ||
            !rs)
            return;
        const QString itemType = rs->Fields(QStringLiteral("ItemType")).Value().toString();
        const QString refusal = treeediting::refusalForType(itemType);
        if (!refusal.isEmpty())
            platform::msgBox(refusal, platform::MsgButtons::OK, platform::MsgIcon::Critical,
                             QStringLiteral("Not Supported"));
        else if (itemType == kIssueWord)
            AddCode(itemType);
    });
}

// The type comes from the item-type holder; the argument is the callers' word.
void frmRedoZiv::AddCode(const QString&)
{
    // A name still being typed is stored before the new item opens its own
    // editor; one that cannot be stored keeps the user on it.
    if (!finishLabelEdit())
        return;
    QTreeWidgetItem* parent = m_tvIssueItems->currentItem();
    if (!parent || parent->text(0).isEmpty()) {
        platform::msgBox(
            QStringLiteral("Select issue, exhibit, or witness to link to in the tree."),
            platform::MsgButtons::OK, platform::MsgIcon::None, appinfo::kAppTitle);
        return;
    }
    const QString parentKey = keyOf(parent);
    // Only the root and issues hold children: refused before anything is made.
    const QString refusal = treeediting::refusalForKey(parentKey);
    if (!refusal.isEmpty()) {
        platform::msgBox(refusal, platform::MsgButtons::OK, platform::MsgIcon::Critical,
                         QStringLiteral("Not Supported"));
        return;
    }
    const auto kind = treeediting::kindOf(oTypes().ItemType());
    if (!kind)
        return;
    try {
        const QString parentId = treeediting::parentIdUnder(parentKey);
        if (refuseInFile(treeediting::refusalInFile(gDB, parentId)))
            return;
        // The new item is shown at once: what was typed for the item shown is
        // written first, and when it cannot be, nothing is made.
        if (!writeBackItemLeft("AddCode")) {
            stayOnItemShown();
            return;
        }
        std::shared_ptr<CIssue> item = treeediting::createItem(gDB, parentId);
        setNodeImage(parent, treelogic::kImageIssue);
        const bool shown = Initialise(gDB, item);

        auto* node = new QTreeWidgetItem;
        const QString key = kind->prefix + item->Key();
        node->setText(0, item->Name());
        node->setData(0, kKeyRole, key);
        node->setData(0, kTagRole, QStringLiteral("C") + parentId);
        setNodeImage(node, kind->image);
        showChildren(parent);
        parent->addChild(node);
        m_nodes.insert(key, node);
        // The row is made and in the tree, but the item left stayed shown.
        if (!shown)
            return;
        m_lblMain->setText(QStringLiteral("  ") + item->Name());
        showItemStatus();
        {
            QScopedValueRollback inCode(m_selectingInCode, true);
            m_tvIssueItems->setCurrentItem(node);
        }
        m_tvIssueItems->scrollToItem(node);
        startLabelEdit(node);
    } catch (const std::exception& e) {
        report::numberedError(asAppError(e), QStringLiteral(" frmRedoZiv::AddCode"));
    }
}

// ---------------------------------------------------------------------------
// Renaming

void frmRedoZiv::RenameItem()
{
    orReport("RenameItem", 10, [this] { startLabelEdit(m_tvIssueItems->currentItem()); });
}

void frmRedoZiv::startLabelEdit(QTreeWidgetItem* node)
{
    if (!node || keyOf(node) == treelogic::kRootKey)
        return;
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    m_tvIssueItems->setFocus();
    m_tvIssueItems->editItem(node);
}

bool frmRedoZiv::finishLabelEdit()
{
    QTreeWidgetItem* node = m_tvIssueItems->currentItem();
    auto* delegate = dynamic_cast<LabelDelegate*>(m_tvIssueItems->itemDelegate());
    QWidget* editor = node ? m_tvIssueItems->itemWidget(node, 0) : nullptr;
    if (!delegate || !editor)
        return true;
    m_unstoredName.reset();
    delegate->finish(editor);
    return !m_unstoredName;
}

void frmRedoZiv::tvIssueItems_BeforeLabelEdit(QTreeWidgetItem* node, QLineEdit* editor,
                                              bool& cancel)
{
    // The root has no row to hold a name.
    if (!node || keyOf(node) == treelogic::kRootKey) {
        cancel = true;
        return;
    }
    // The limit stops the typing; it does not cut a longer name an older file holds.
    orReport("tvIssueItems_BeforeLabelEdit", 10, [node, editor] {
        if (!editor)
            return;
        editor->setMaxLength(treeediting::labelLimit(storedName(node)));
        editor->setValidator(new WholeCharacters(editor));
    });
}

void frmRedoZiv::tvIssueItems_AfterLabelEdit(QTreeWidgetItem* node, bool& cancel,
                                             const QString& newString)
{
    if (newString.isEmpty()) {
        platform::msgBox(QStringLiteral("You must enter some text for an explanation."),
                         platform::MsgButtons::OK, platform::MsgIcon::Information,
                         appinfo::kAppTitle);
        cancel = true;
        return;
    }
    if (!node) {
        cancel = true;
        return;
    }
    // Nothing was changed: the file keeps the name.
    if (newString == storedName(node))
        return;
    try {
        const QString name = treeediting::acceptedLabel(newString, storedName(node));
        treeediting::renameItem(gDB, keyOf(node), name);
        // The pane names bookmarked items by their stored name.
        m_ctlBookmarkList->RenameBookMark(treelogic::nodeKeyToId(keyOf(node)), name);
        m_statusPanel1->setText(name);
        m_lblMain->setText(QStringLiteral("  ") + name);
        // The node is given the new name once this returns: until then its
        // text would find the bookmark of another item of the old name.
        QTreeWidgetItem* current = m_tvIssueItems->currentItem();
        SelectCodeItem(keyOf(current), current == node ? screentext::shown(name) : QString());
    } catch (const std::exception& e) {
        // The node keeps the name the file keeps; a way out asks about the one typed.
        cancel = true;
        m_unstoredName.emplace(keyOf(node), newString);
        report::numberedError(asAppError(e),
                              QStringLiteral("frmRedoZiv::tvIssueItems_AfterLabelEdit"));
    }
}

// The Insert menu is on while the open case may be changed.
bool frmRedoZiv::treeEditable() const
{
    return m_mnuInsert->isEnabled();
}

void frmRedoZiv::tvIssueItems_KeyUp(int keyCode)
{
    if (!treeEditable())
        return;
    orReport("tvIssueItems_KeyUp", 10, [this, keyCode] {
        if (keyCode == Qt::Key_Delete) {
            if (keyOf(m_tvIssueItems->currentItem()) != treelogic::kRootKey)
                DeleteCodeItem();
        } else if (keyCode == Qt::Key_Insert) {
            oTypes().setItemType(kIssueWord);
            AddCode(kIssueWord);
        }
    });
}

// ---------------------------------------------------------------------------
// Deleting

void frmRedoZiv::DeleteCodeItem()
{
    QTreeWidgetItem* node = m_tvIssueItems->currentItem();
    if (!node) {
        platform::msgBox(QStringLiteral("No Selected Record"), platform::MsgButtons::OK,
                         platform::MsgIcon::None, appinfo::kAppTitle);
        return;
    }
    if (keyOf(node) == treelogic::kRootKey)
        return;
    try {
        // The delete meets every node below, those never opened too.
        showBranch(node);
        if (platform::msgBox(treeediting::deleteQuestion(node->childCount() > 0),
                             platform::MsgButtons::YesNo, platform::MsgIcon::Exclamation,
                             QStringLiteral("Delete Case Item?")) != platform::MsgAnswer::Yes)
            return;
        QTreeWidgetItem* parent = node->parent();
        CWaitCursor wait;
        wait.SetCursor(CWaitCursor::kHourglass);
        // All or nothing: a failure leaves the file and the tree as they were.
        RecursiveDeleteCode(node);

        QStringList deleted;
        keysBelow(node, deleted);
        // The item shown went with the delete: nothing of it is written back,
        // so nothing can keep the next item from being shown.
        if (m_currentIssue) {
            for (const QString& key : deleted)
                if (treelogic::nodeKeyToId(key) == m_currentIssue->Key()) {
                    Initialise(gDB, nullptr);
                    break;
                }
        }
        {
            QScopedValueRollback inCode(m_selectingInCode, true);
            for (const QString& key : deleted)
                m_nodes.remove(key);
            m_selectedByMove = nullptr;
            delete parent->takeChild(parent->indexOfChild(node));
        }
        InitialiseBookmarks();
        SelectCodeItem(keyOf(m_tvIssueItems->currentItem()));
        // An item shown that was not deleted may have stayed shown, its node
        // made current again.
        QTreeWidgetItem* shown = m_tvIssueItems->currentItem();
        if (shown && m_currentIssue)
            m_lblMain->setText(QStringLiteral("  ") + shown->text(0));
        if (parent->childCount() == 0) {
            parent->setExpanded(false);
            if (keyOf(parent) != treelogic::kRootKey)
                setNodeImage(parent, treelogic::imageForKey(keyOf(parent)));
        }
    } catch (const std::exception& e) {
        report::numberedError(asAppError(e), QStringLiteral(" frmRedoZiv::DeleteCodeItem"));
    }
}

void frmRedoZiv::RecursiveDeleteCode(QTreeWidgetItem* node)
{
    QStringList keys;
    keysBelow(node, keys);
    treeediting::deleteItems(gDB, keys);
}

// ---------------------------------------------------------------------------
// Drag and drop

QMimeData* frmRedoZiv::treeDragData(const QString& key) const
{
    auto* data = new QMimeData;
    QByteArray bytes;
    for (const QChar c : key) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    data->setData(m_treeClipboardFormat, bytes);
    return data;
}

void frmRedoZiv::tvIssueItems_MouseDown(QTreeWidgetItem* hit)
{
    orReport("tvIssueItems_MouseDown", 10, [this, hit] { m_drag->mouseDown(keyOf(hit)); });
}

bool frmRedoZiv::tvIssueItems_MouseMove(Qt::MouseButtons buttons)
{
    bool starts = false;
    orReport("tvIssueItems_MouseMove", 10, [&] {
        if (m_drag->dragKey().isEmpty())
            return;
        if (buttons != Qt::LeftButton || !treeEditable()) {
            m_drag->clearCandidate();
            return;
        }
        if (!m_drag->beginDrag())
            return;
        showDropHighlight(QString());
        if (QTreeWidgetItem* dragged = node(m_drag->dragKey())) {
            QScopedValueRollback inCode(m_selectingInCode, true);
            m_tvIssueItems->setCurrentItem(dragged);
        }
        m_tmrDragTimer->start();
        starts = true;
    });
    return starts;
}

void frmRedoZiv::tvIssueItems_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    // A press ends with its release: no later drag takes the node it was on.
    if (!m_drag->dragging())
        m_drag->clearCandidate();
    if (button != Qt::RightButton)
        return;
    orReport("tvIssueItems_MouseUp", 10, [this, globalPos] {
        if (treeEditable() && !m_mnuInsert->actions().isEmpty())
            m_mnuInsert->popup(globalPos);
    });
}

bool frmRedoZiv::tvIssueItems_OLEDragOver(const QMimeData* data, QTreeWidgetItem* hit, int y)
{
    try {
        if (!data || !data->hasFormat(m_treeClipboardFormat))
            return false;
        const bool allowed =
            m_drag->dragOver(keyOf(hit), twips::fromPixels(y),
                             twips::fromPixels(m_tvIssueItems->viewport()->height()));
        showDropHighlight(m_drag->dropHighlight());
        return allowed;
    } catch (...) {
        return false;
    }
}

void frmRedoZiv::tmrDragTimer_Timer()
{
    try {
        const TreeDragDrop::Tick tick = m_drag->tick();
        if (tick.stopTimer) {
            m_tmrDragTimer->stop();
            return;
        }
        if (QTreeWidgetItem* node = m_nodes.value(tick.expand); node && !node->isExpanded())
            node->setExpanded(true);
        if (tick.scroll != 0)
            m_tvIssueItems->verticalScrollBar()->triggerAction(
                tick.scroll < 0 ? QAbstractSlider::SliderSingleStepSub
                                : QAbstractSlider::SliderSingleStepAdd);
    } catch (...) {
    }
}

void frmRedoZiv::tvIssueItems_OLEDragDrop(const QMimeData* data)
{
    const bool ours = data && data->hasFormat(m_treeClipboardFormat);
    const QString draggedKey = m_drag->dragKey();
    QTreeWidgetItem* target = node(m_drag->dropHighlight());
    QStringList ancestors;
    for (QTreeWidgetItem* up = target ? target->parent() : nullptr; up; up = up->parent())
        ancestors << keyOf(up);
    const TreeDragDrop::Drop drop = m_drag->drop(ancestors);
    // Whatever the drop does, the drag is over.
    m_drag->endDrag();
    showDropHighlight(QString());
    m_tmrDragTimer->stop();
    if (!ours)
        return;
    try {
        switch (drop.outcome) {
        case TreeDragDrop::Outcome::Nothing:
        case TreeDragDrop::Outcome::Ignored:
            return;
        case TreeDragDrop::Outcome::RefusedAtRoot:
            platform::msgBox(TreeDragDrop::kRefusedAtRootText, platform::MsgButtons::OK,
                             platform::MsgIcon::Critical, TreeDragDrop::kRefusedAtRootTitle);
            return;
        case TreeDragDrop::Outcome::RefusedUnderItself:
            platform::msgBox(TreeDragDrop::kRefusedUnderItselfText, platform::MsgButtons::OK,
                             platform::MsgIcon::None, appinfo::kAppTitle);
            return;
        case TreeDragDrop::Outcome::Move:
            break;
        }
        QTreeWidgetItem* dragged = node(draggedKey);
        if (!dragged || !target)
            return;
        if (refuseInFile(treeediting::refusalInFile(gDB, drop.newParentId,
                                                    treelogic::nodeKeyToId(draggedKey))))
            return;
        // The file first: a refused write leaves the tree as it was.
        gTreeChanged = true;
        CIssue moved;
        moved.Initialise(gDB, draggedKey.mid(1));
        moved.setParentKey(drop.newParentId);
        moved.Commit();

        QTreeWidgetItem* oldParent = dragged->parent();
        moveNode(dragged, target);
        if (keyOf(target) != treelogic::kRootKey)
            setNodeImage(target, treelogic::kImageIssue);
        if (oldParent && oldParent != target && oldParent->childCount() < 2 &&
            keyOf(oldParent) != treelogic::kRootKey)
            setNodeImage(oldParent, treelogic::kImageIssue);
        // The item shown holds the parent it was read with; it is read again
        // so that its next commit does not put the old one back.
        const QString id = treelogic::nodeKeyToId(draggedKey);
        if (m_currentIssue && m_currentIssue->Key() == id) {
            auto fresh = std::make_shared<CIssue>();
            fresh->Initialise(gDB, id);
            Initialise(gDB, fresh);
        }
    } catch (const std::exception& e) {
        platform::msgBox(report::describe(e), platform::MsgButtons::OK, platform::MsgIcon::None,
                         appinfo::kAppTitle);
    }
}

bool frmRedoZiv::refuseInFile(const QString& refusal)
{
    if (refusal.isEmpty())
        return false;
    platform::msgBox(refusal, platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                     appinfo::kAppTitle);
    return true;
}

// The node with its subtree becomes the target's last child; the branches
// that were open stay open.
void frmRedoZiv::moveNode(QTreeWidgetItem* node, QTreeWidgetItem* target)
{
    QScopedValueRollback inCode(m_selectingInCode, true);
    QList<QTreeWidgetItem*> expanded;
    expandedBelow(node, expanded);
    QTreeWidgetItem* oldParent = node->parent();
    oldParent->takeChild(oldParent->indexOfChild(node));
    showChildren(target);
    target->addChild(node);
    node->setData(0, kTagRole, QStringLiteral("C") + treeediting::parentIdUnder(keyOf(target)));
    target->setExpanded(true);
    for (QTreeWidgetItem* open : expanded)
        open->setExpanded(true);
    m_tvIssueItems->setCurrentItem(node);
    m_tvIssueItems->scrollToItem(node);
}

void frmRedoZiv::tvIssueItems_OLECompleteDrag()
{
    orReport("tvIssueItems_OLECompleteDrag", 10, [this] {
        platform::screen().setMousePointer(0);
        m_tmrDragTimer->stop();
        // A drag that ended without a drop leaves no highlight behind.
        m_drag->endDrag();
        showDropHighlight(QString());
    });
}

void frmRedoZiv::tvIssueItems_Collapse(QTreeWidgetItem* node)
{
    // Closing the whole tree reports leaves as collapsed too; a leaf has
    // nothing to close and keeps its own picture.
    if (!node || node->childCount() == 0)
        return;
    orReport("tvIssueItems_Collapse", 10, [this, node] {
        if (keyOf(node) != treelogic::kRootKey)
            setNodeImage(node, treelogic::kImageIssue);
        m_statusPanel1->setText(node->text(0));
    });
}

void frmRedoZiv::showDropHighlight(const QString& key)
{
    if (key == m_dropHighlighted)
        return;
    if (QTreeWidgetItem* old = m_nodes.value(m_dropHighlighted)) {
        old->setData(0, Qt::BackgroundRole, QVariant());
        old->setData(0, Qt::ForegroundRole, QVariant());
    }
    m_dropHighlighted = key;
    if (QTreeWidgetItem* now = m_nodes.value(key)) {
        now->setBackground(0, m_tvIssueItems->palette().highlight());
        now->setForeground(0, m_tvIssueItems->palette().highlightedText());
    }
}
