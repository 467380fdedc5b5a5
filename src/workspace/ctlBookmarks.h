#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QTreeWidget;

namespace dao {
class Database;
}

// The bookmark pane: every bookmark of the open case beside the name of the
// item it points at. Read-only here.
class ctlBookmarks final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ctlBookmarks)

public:
    explicit ctlBookmarks(QWidget* parent = nullptr);

    // Keeps the database and refills the list; no database leaves it empty.
    // Failures pass to the caller.
    void Initialise(std::shared_ptr<dao::Database> db);
    // Empties the list and lets go of the database.
    void Terminate();
    // Selects and scrolls to the first row whose item name is text; with no
    // such row the selection stays as it was.
    void FindBookmark(const QString& text);

    QTreeWidget* lvBookMarks() const { return m_list; }

private:
    QLabel* m_label = nullptr;
    QTreeWidget* m_list = nullptr;
    std::shared_ptr<dao::Database> m_db;
};
