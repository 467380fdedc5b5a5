#include "store/forms/frmLogin.h"

#include "platform/core/Prompt.h"
#include "store/ErrorReport.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The one word that signs in; the user name plays no part.
const QString kExpectedWord = QStringLiteral("casefile");
} // namespace

frmLogin::frmLogin(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Login"));

    auto* userLabel = new QLabel(QStringLiteral("&User Name:"), this);
    userLabel->setObjectName(QStringLiteral("lblLabels_0"));
    auto* passwordLabel = new QLabel(QStringLiteral("&Password:"), this);
    passwordLabel->setObjectName(QStringLiteral("lblLabels_1"));
    m_userName = new QLineEdit(this);
    m_userName->setObjectName(QStringLiteral("txtUserName"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    userLabel->setBuddy(m_userName);
    passwordLabel->setBuddy(m_password);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* fields = new QGridLayout;
    fields->addWidget(userLabel, 0, 0);
    fields->addWidget(m_userName, 0, 1);
    fields->addWidget(passwordLabel, 1, 0);
    fields->addWidget(m_password, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &frmLogin::cmdOKClicked);
    connect(m_cancel, &QPushButton::clicked, this, &frmLogin::cmdCancelClicked);
}

void frmLogin::cmdOKClicked()
{
    try {
        if (m_password->text() == kExpectedWord) {
            m_loginSucceeded = true;
            hide();
            return;
        }
        platform::msgBox(QStringLiteral("Invalid Password, try again!"),
                         platform::MsgButtons::OK, platform::MsgIcon::None,
                         QStringLiteral("Login"));
        m_password->setFocus();
        m_password->selectAll();
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmLogin.cmdOK_Click"), 10);
    }
}

void frmLogin::cmdCancelClicked()
{
    try {
        m_loginSucceeded = false;
        hide();
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmLogin.cmdCancel_Click"), 10);
    }
}
