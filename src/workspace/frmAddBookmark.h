#pragma once

#include <QDialog>

#include <memory>

class CIssue;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dao {
class Database;
}

// The small modal window in which the user types the description of a new
// bookmark on one issue. OK stores the bookmark; a failed store, or an issue
// the case no longer holds, is told and the window stays open with the typed
// text, so nothing typed is lost.
class frmAddBookmark final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAddBookmark)

public:
    // The name the prompt opens the window by; its result is
    // QDialog::Accepted when a bookmark was stored.
    static const QString kWindowName;

    explicit frmAddBookmark(QWidget* parent = nullptr);

    // Keeps the database and the issue, shows the name.
    void Initialise(std::shared_ptr<dao::Database> db, std::shared_ptr<CIssue> item);
    // True when the window was closed without storing a bookmark.
    bool Cancelled() const { return m_cancelled; }

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void reject() override;

private:
    QLabel* m_codeItem = nullptr;
    QLineEdit* m_text = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    std::shared_ptr<dao::Database> m_db;
    std::shared_ptr<CIssue> m_item;
    bool m_cancelled = true;
};
