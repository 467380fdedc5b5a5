#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// A sign-in dialog: the word typed into txtPassword must equal one fixed
// word. Hidden, not destroyed, so that the caller can read LoginSucceeded.
class frmLogin final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmLogin)

public:
    explicit frmLogin(QWidget* parent = nullptr);

    bool LoginSucceeded() const { return m_loginSucceeded; }

private:
    void cmdOKClicked();
    void cmdCancelClicked();

    bool m_loginSucceeded = false;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
