#pragma once

#include <QWidget>

#include <memory>

class CIssue;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMimeData;
class QTreeWidget;
class QTreeWidgetItem;

namespace dao {
class Database;
}

// The document pane: every document stored in the open case. Documents are
// added from a file dialog or by dropping files, opened with the desktop's
// application, exported to a file and deleted. The pane never shows a file
// dialog itself: it asks its owner for names through RequestFileName.
// No handler lets an error out: each reports its failure and ends.
class ctlFileDetails final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ctlFileDetails)

public:
    // Modes of a file-name request.
    static constexpr int kChooseFileToAdd = 0;
    static constexpr int kChooseSaveTarget = 1;
    // The longest document name the case file keeps.
    static constexpr int kMaxNameLength = 50;
    // Item data roles of the rows.
    static constexpr int kKeyRole = Qt::UserRole;
    static constexpr int kIconKeyRole = Qt::UserRole + 1;

    explicit ctlFileDetails(QWidget* parent = nullptr);

    // Keeps the database and the item new documents will belong to, and
    // refills the list. Failures pass to the caller.
    void Initialise(std::shared_ptr<dao::Database> db, std::shared_ptr<CIssue> item);
    // Empties the list and lets go of the database and the item.
    void Terminate();
    // A case that cannot be written: documents open and export, but none is
    // added or deleted.
    void setReadOnly(bool readOnly);

    // The commands of the popup menu, the double click and the keys.
    void AddFile();
    void OpenFile();
    void ExportFile();
    void DeleteFile();
    // Stores the dropped files in the order given; anything that is not a
    // file on this computer is reported and skipped.
    void DropFiles(const QMimeData& data);
    // Shows the popup at pos (list viewport coordinates).
    void showPopup(const QPoint& pos);

    // The icon key of a document name, by its last three letters.
    static QString iconKey(const QString& description);
    // Whole kilobytes, rounded up, with thousands separators; empty for 0.
    static QString sizeText(qint64 bytes);
    // Where a new stored copy is written: a new folder of its own, private
    // to the user, holding the bare stored name. Raises 75 when no such
    // folder can be made safely.
    static QString openCopyPath(const QString& id, const QString& description);

    QTreeWidget* lvFiles() const { return m_list; }
    QLabel* emptyHint() const { return m_hint; }
    QMenu* mnuPopup() const { return m_popup; }
    QAction* mnuOpenFile() const { return m_open; }
    QAction* mnuAddFile() const { return m_add; }
    QAction* mnuDeleteFile() const { return m_delete; }

signals:
    // mode 0: an existing file to add; mode 1: the target of a save. The
    // owner sets fileName to the chosen full path, or empties it for a cancel.
    void RequestFileName(const QString& title, QString& fileName, int mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PopulateListView();
    // Stores one file for the current item; a failure is reported.
    void AddCodeFile(const QString& path);
    QTreeWidgetItem* selectedRow() const;
    // The open case; failing when there is none.
    dao::Database& database() const;
    void updateHint();

    QGroupBox* m_frame = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_hint = nullptr;
    QMenu* m_popup = nullptr;
    QAction* m_open = nullptr;
    QAction* m_add = nullptr;
    QAction* m_delete = nullptr;
    std::shared_ptr<dao::Database> m_db;
    std::shared_ptr<CIssue> m_item;
    bool m_readOnly = false;
};
