#include "workspace/ctlBookmarks.h"

#include "workspace/CodeModule.h"

#include "platform/core/Prompt.h"
#include "platform/core/ScreenText.h"
#include "platform/db/Dao.h"
#include "platform/widgets/PlainRowsDelegate.h"
#include "platform/widgets/PressWatch.h"
#include "store/CBookmark.h"
#include "store/CIssue.h"
#include "store/ErrorReport.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>
#include <utility>
#include <vector>

namespace {

const QString kQuery = QStringLiteral("SELECT Bookmarks.ID, Bookmarks.CodeID, Issue.Name, ") +
                       QStringLiteral("Bookmarks.Description FROM Bookmarks INNER JOIN ") +
                       QStringLiteral("Issue ON Bookmarks.codeID = Issue.ID");
const QString kPane = QStringLiteral("ctlBookmarks.");

constexpr int kKeyRole = Qt::UserRole;
constexpr int kTagRole = Qt::UserRole + 1;

QString text(dao::Recordset& rs, const char* field)
{
    const QVariant v = rs.Fields(QString::fromLatin1(field)).Value();
    return v.isNull() ? QString() : v.toString();
}

// Rows sort by their text without regard to case, as names are compared
// everywhere else in the case.
class BookmarkRow final : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return QString::compare(text(column), other.text(column), Qt::CaseInsensitive) < 0;
    }
};

// The first row, in list order, whose item name is text, case ignored.
void selectFirstNamed(QTreeWidget* list, const QString& text)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        if (QString::compare(row->text(0), text, Qt::CaseInsensitive) == 0) {
            list->scrollToItem(row);
            list->setCurrentItem(row);
            return;
        }
    }
}

// A handler reports its failure and ends; the list stays as it was.
template <typename F> void handled(const char* procedure, int line, F&& body)
{
    report::guarded(kPane + QLatin1String(procedure), line, std::forward<F>(body));
}

} // namespace

ctlBookmarks::ctlBookmarks(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(1);
    m_label = new QLabel(QStringLiteral("  Bookmarks :"), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(m_label);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lvBookMarks"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Case Item"), QStringLiteral("Bookmark Description")});
    m_list->setRootIsDecorated(false);
    // Every row is one line (line breaks in a description show as spaces):
    // the list need not measure each row's height to lay itself out.
    m_list->setUniformRowHeights(true);
    m_list->setItemDelegate(new platform::PlainRowsDelegate(m_list));
    // Rows that come, go or change make the names be measured again.
    const auto forgetNameWidth = [this] { m_nameWidth = -1; };
    QAbstractItemModel* rows = m_list->model();
    connect(rows, &QAbstractItemModel::rowsInserted, this, forgetNameWidth);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, forgetNameWidth);
    connect(rows, &QAbstractItemModel::modelReset, this, forgetNameWidth);
    connect(rows, &QAbstractItemModel::dataChanged, this, forgetNameWidth);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAllColumnsShowFocus(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->header()->setSectionsClickable(true);
    layout->addWidget(m_list, 1);

    m_popup = new QMenu(QStringLiteral("mnuPopup"), this);
    m_popup->setObjectName(QStringLiteral("mnuPopup"));
    m_remove = m_popup->addAction(QStringLiteral("&Remove Bookmark"));
    m_remove->setObjectName(QStringLiteral("mnuRemoveBookMark"));

    m_list->viewport()->installEventFilter(this);
    // After the release is handled: a click is on the row pressed.
    m_releaseWatch = new platform::PressWatch(
        [this] {
            m_releaseWatch->stop();
            QTimer::singleShot(0, this, [this] { settleOnceReleased(); });
        },
        this);
    // Only a left click reaches itemClicked: the right button opens the popup.
    connect(m_list, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* row) { ViewSelectedBookmark(row); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        handled("lvBookMarks_ColumnClick", 10, [&] { sortByColumn(column); });
    });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        handled("lvBookMarks_MouseUp", 10, [&] { showPopup(pos); });
    });
    connect(m_remove, &QAction::triggered, this, [this] { mnuRemoveBookMark_Click(); });
}

ctlBookmarks::~ctlBookmarks()
{
    // The list empties its rows as it goes, after this pane is gone.
    disconnect(m_list->model(), nullptr, this, nullptr);
    m_releaseWatch->stop();
}

void ctlBookmarks::Initialise(std::shared_ptr<dao::Database> db)
{
    codemodule::TreeRedraw(m_list, false);
    struct RedrawOn {
        QTreeWidget* list;
        ~RedrawOn() { codemodule::TreeRedraw(list, true); }
    } redrawOn{m_list};
    m_list->clear();
    m_db = std::move(db);
    if (!m_db)
        return;

    std::vector<QTreeWidgetItem*> rows;
    try {
        auto rs = m_db->OpenRecordset(kQuery, dao::dbOpenSnapshot);
        if (!(rs->BOF() && rs->EOF())) {
            rs->MoveFirst();
            while (!rs->EOF()) {
                QString description = text(*rs, "Description");
                // A break of any kind: a description pasted from elsewhere
                // may hold a lone line feed.
                for (const char* lineBreak : {"\r\n", "\n", "\r"})
                    codemodule::ReplaceAll(description, QLatin1String(lineBreak),
                                           QStringLiteral(" "), false);
                auto* row = new BookmarkRow;
                row->setText(0, screentext::shown(text(*rs, "Name")));
                row->setText(1, screentext::shown(description));
                row->setData(0, kKeyRole, QStringLiteral("B") + text(*rs, "ID"));
                row->setData(0, kTagRole, QStringLiteral("C") + text(*rs, "CodeID"));
                rows.push_back(row);
                rs->MoveNext();
            }
        }
        rs->Close();
    } catch (...) {
        qDeleteAll(rows);
        throw;
    }
    for (QTreeWidgetItem* row : rows)
        m_list->addTopLevelItem(row);
    // A sorted list stays sorted when it is filled again.
    if (m_sortColumn >= 0)
        m_list->sortItems(m_sortColumn, Qt::AscendingOrder);
    // Sizing a column to its contents lays out every row's text: the
    // descriptions are measured only when the pane leaves them no room.
    fitNameColumn();
    if (!fitColumns())
        m_list->resizeColumnToContents(m_list->columnCount() - 1);
}

void ctlBookmarks::Terminate()
{
    m_list->clear();
    m_db.reset();
}

void ctlBookmarks::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    m_remove->setEnabled(!readOnly);
}

void ctlBookmarks::FindBookmark(const QString& text)
{
    if (text.isEmpty())
        return;
    // A press that takes the focus from a name typed in the tree stores it,
    // and the item's bookmark is looked up, before the press is handled: the
    // rows scrolled now would put another bookmark under the mouse.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        m_findDue = text;
        m_releaseWatch->start();
        return;
    }
    m_findDue.clear();
    selectFirstNamed(m_list, text);
}

void ctlBookmarks::RemoveBookMark(const QString& sKey)
{
    const QString tag = QStringLiteral("C") + sKey;
    for (int i = m_list->topLevelItemCount() - 1; i >= 0; --i) {
        if (m_list->topLevelItem(i)->data(0, kTagRole).toString() == tag)
            delete m_list->takeTopLevelItem(i);
    }
}

void ctlBookmarks::RenameBookMark(const QString& sKey, const QString& name)
{
    const QString tag = QStringLiteral("C") + sKey;
    bool renamed = false;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = m_list->topLevelItem(i);
        if (row->data(0, kTagRole).toString() == tag) {
            row->setText(0, screentext::shown(name));
            renamed = true;
        }
    }
    if (!renamed)
        return;
    fitNameColumn();
    fitColumns();
    // A name typed in the tree is stored when its editor loses the focus,
    // and a press on this list takes the focus before the list handles the
    // press: rows moved now would put another bookmark under the mouse, and
    // the press would show or remove that one.
    if (m_sortColumn == 0 && !m_sortDue) {
        m_sortDue = true;
        QTimer::singleShot(0, this, [this] { settleOnceReleased(); });
    }
}

void ctlBookmarks::settleOnceReleased()
{
    if (!m_sortDue && m_findDue.isEmpty())
        return;
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        // Every release is seen here until the last button is up.
        m_releaseWatch->start();
        return;
    }
    if (m_sortDue) {
        m_sortDue = false;
        if (m_sortColumn >= 0)
            m_list->sortItems(m_sortColumn, Qt::AscendingOrder);
    }
    // Sorted first: the row found is scrolled to where it now stands.
    const QString found = std::exchange(m_findDue, QString());
    if (!found.isEmpty())
        selectFirstNamed(m_list, found);
}

void ctlBookmarks::ViewSelectedBookmark(QTreeWidgetItem* row)
{
    if (!row)
        return;
    handled("ViewSelectedBookmark", 10, [&] {
        const QString itemId = row->data(0, kTagRole).toString().mid(1);
        if (itemId.isEmpty()) {
            platform::msgBox(QStringLiteral("No Related Item!"));
            return;
        }
        auto item = std::make_shared<CIssue>();
        item->Initialise(m_db, itemId);
        emit ViewBookMark(item);
    });
}

void ctlBookmarks::mnuRemoveBookMark_Click()
{
    QTreeWidgetItem* row = m_list->currentItem();
    if (!row || !row->isSelected() || !m_remove->isEnabled())
        return;
    handled("mnuRemoveBookMark_Click", 10, [&] {
        const QString bookmarkId = row->data(0, kKeyRole).toString().mid(1);
        const QString itemId = row->data(0, kTagRole).toString().mid(1);
        CBookmark bookmark;
        bookmark.Initialise(m_db, bookmarkId);
        bookmark.Delete();
        bookmark.Commit();
        // The row goes only once its bookmark is gone.
        delete row;
        emit BookMarkRemoved(itemId);
    });
}

bool ctlBookmarks::showPopup(const QPoint& pos)
{
    if (m_list->topLevelItemCount() == 0)
        return false;
    // Blank space keeps the selection: Remove then must not take a bookmark
    // the user did not point at.
    m_remove->setEnabled(!m_readOnly && m_list->itemAt(pos) != nullptr);
    m_popup->popup(m_list->viewport()->mapToGlobal(pos));
    return true;
}

void ctlBookmarks::sortByColumn(int column)
{
    // A second click on the same header sorts the same way again.
    m_sortColumn = column;
    m_list->header()->setSortIndicatorShown(true);
    m_list->sortItems(column, Qt::AscendingOrder);
}

void ctlBookmarks::fitNameColumn()
{
    if (m_nameWidth < 0) {
        m_list->resizeColumnToContents(0);
        m_nameWidth = m_list->columnWidth(0);
    } else {
        m_list->setColumnWidth(0, m_nameWidth);
    }
}

// A long item name keeps at most half the list, so the description stays in
// sight; the description takes the rest.
bool ctlBookmarks::fitColumns()
{
    const int half = m_list->viewport()->width() / 2;
    if (half > 0 && m_list->columnWidth(0) > half)
        m_list->setColumnWidth(0, half);
    return codemodule::AutoSizeLastColumn(m_list);
}

bool ctlBookmarks::eventFilter(QObject* watched, QEvent* event)
{
    // A press on the list picks its own row: a look-up made for the name this
    // press stored would take the selection, and Remove Bookmark with it, to
    // another bookmark.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress)
        m_findDue.clear();
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            emit listClicked();
    }
    if (watched == m_list->viewport() && event->type() == QEvent::Resize && !m_inLayout) {
        m_inLayout = true;
        try {
            fitNameColumn();
            fitColumns();
        } catch (...) {
            // A pane too small for its columns keeps the widths it had.
        }
        m_inLayout = false;
    }
    return QWidget::eventFilter(watched, event);
}

void ctlBookmarks::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_inLayout)
        return;
    m_inLayout = true;
    try {
        codemodule::AutoSizeLastColumn(m_list);
    } catch (...) {
        // A pane too small for its columns keeps the widths it had.
    }
    m_inLayout = false;
}
