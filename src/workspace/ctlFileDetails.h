#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class CIssue;
class QGroupBox;
class QTreeWidget;

namespace dao {
class Database;
}

// The document pane: the documents stored in the open case. It never shows a
// file dialog itself; it asks its owner for file names.
class ctlFileDetails final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ctlFileDetails)

public:
    // Mode of a file-name request.
    static constexpr int kChooseFileToAdd = 0;
    static constexpr int kChooseSaveTarget = 1;
    // Answers a request with a full path, or an empty text for a cancel.
    using FileNameRequest =
        std::function<QString(const QString& title, const QString& proposed, int mode)>;

    explicit ctlFileDetails(QWidget* parent = nullptr);

    // Keeps the database and the item new documents will belong to, and
    // refills the list.
    void Initialise(std::shared_ptr<dao::Database> db, std::shared_ptr<CIssue> item);
    // Empties the list and lets go of the database and the item.
    void Terminate();

    void setFileNameRequest(FileNameRequest request) { m_requestFileName = std::move(request); }
    QTreeWidget* lvFiles() const { return m_list; }

private:
    void PopulateListView();

    QGroupBox* m_frame = nullptr;
    QTreeWidget* m_list = nullptr;
    std::shared_ptr<dao::Database> m_db;
    std::shared_ptr<CIssue> m_item;
    FileNameRequest m_requestFileName;
};
