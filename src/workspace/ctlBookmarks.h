#pragma once

#include <QWidget>

#include <memory>

class CIssue;
class QAction;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace dao {
class Database;
}
namespace platform {
class PressWatch;
}

// The bookmark pane: every bookmark of the open case beside the name of the
// item it points at. A click on a row asks the owner to show that item; the
// popup menu removes a bookmark. Adding is the add-bookmark dialog's job.
// No handler lets an error out: failures are reported and the list is kept.
class ctlBookmarks final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ctlBookmarks)

public:
    explicit ctlBookmarks(QWidget* parent = nullptr);
    ~ctlBookmarks() override;

    // Keeps the database and refills the list; no database leaves it empty.
    // Failures pass to the caller.
    void Initialise(std::shared_ptr<dao::Database> db);
    // Empties the list and lets go of the database.
    void Terminate();
    // A case that cannot be written: bookmarks show and jump, none is removed.
    void setReadOnly(bool readOnly);
    // Selects and scrolls to the first row, in list order, whose item name is
    // text (case ignored); with no such row, or no text, the selection stays.
    // While a mouse button is held the list waits for its release to move;
    // a press on the list meanwhile, which picks its own row, drops the look-up.
    void FindBookmark(const QString& text);
    // Takes the rows of item sKey off the list; table Bookmarks is not touched.
    void RemoveBookMark(const QString& sKey);
    // Names the rows of item sKey name where they stand; a sorted list takes
    // its new order once no mouse button is held.
    void RenameBookMark(const QString& sKey, const QString& name);

    // The row actions, as the list's events and the popup menu call them.
    void ViewSelectedBookmark(QTreeWidgetItem* row);
    void mnuRemoveBookMark_Click();
    // Shows the popup at pos (list viewport coordinates) when the list has rows.
    bool showPopup(const QPoint& pos);

    QTreeWidget* lvBookMarks() const { return m_list; }
    QMenu* mnuPopup() const { return m_popup; }
    QAction* mnuRemoveBookMark() const { return m_remove; }

signals:
    // A row was clicked: the record of the bookmarked item, bound to the
    // pane's database.
    void ViewBookMark(std::shared_ptr<CIssue> item);
    // A bookmark was deleted; sCodeID is the id of its item.
    void BookMarkRemoved(const QString& sCodeID);
    // Anywhere in the list was clicked.
    void listClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void sortByColumn(int column);
    // The new order and the look-up put off while a mouse button was held.
    void settleOnceReleased();
    // False where the description column is left no room.
    bool fitColumns();
    void fitNameColumn();

    QLabel* m_label = nullptr;
    QTreeWidget* m_list = nullptr;
    QMenu* m_popup = nullptr;
    QAction* m_remove = nullptr;
    std::shared_ptr<dao::Database> m_db;
    // The column of the last header click; -1 while the list is unsorted.
    int m_sortColumn = -1;
    bool m_inLayout = false;
    // The names' own width, measured once while the rows stay as they are:
    // every resize of the pane needs it, and measuring lays out each row's
    // text. -1 until measured.
    int m_nameWidth = -1;
    bool m_readOnly = false;
    // A rename waits to move its rows until the press that stored it is over.
    bool m_sortDue = false;
    // A look-up made while a mouse button was held; empty when none waits.
    QString m_findDue;
    // Installed on the application while the press goes on.
    platform::PressWatch* m_releaseWatch = nullptr;
};
