#include "store/forms/frmMaintenance.h"

#include "store/ErrorReport.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QPushButton* namedButton(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

frmMaintenance::frmMaintenance(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMaintenance"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    try {
        m_frame = new QGroupBox(QStringLiteral("Run Maintenance"), this);
        m_frame->setObjectName(QStringLiteral("Frame1"));
        m_warning = new QLabel(m_frame);
        m_warning->setObjectName(QStringLiteral("lblWarning"));
        m_warning->setWordWrap(true);
        m_file = new QLineEdit(m_frame);
        m_file->setObjectName(QStringLiteral("txtFile"));
        m_open = namedButton(QStringLiteral("cmdOpen"), QStringLiteral("&Open"), m_frame);
        m_go = namedButton(QStringLiteral("cmdGo"), QStringLiteral("&Go"), m_frame);
        m_more = namedButton(QStringLiteral("cmdMore"), QStringLiteral("&More..."), m_frame);
        m_cancel = namedButton(QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), this);

        auto* fileRow = new QHBoxLayout;
        fileRow->addWidget(m_file, 1);
        fileRow->addWidget(m_open);
        auto* actionRow = new QHBoxLayout;
        actionRow->addWidget(m_more);
        actionRow->addStretch(1);
        actionRow->addWidget(m_go);
        auto* frameLayout = new QVBoxLayout(m_frame);
        frameLayout->addWidget(m_warning);
        frameLayout->addLayout(fileRow);
        frameLayout->addLayout(actionRow);

        auto* bottom = new QHBoxLayout;
        bottom->addStretch(1);
        bottom->addWidget(m_cancel);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_frame);
        layout->addLayout(bottom);
        resize(520, 300);

        connect(m_open, &QPushButton::clicked, this, &frmMaintenance::cmdOpenClicked);
        connect(m_more, &QPushButton::clicked, this, &frmMaintenance::cmdMoreClicked);
        connect(m_go, &QPushButton::clicked, this, &frmMaintenance::cmdGoClicked);
        connect(m_cancel, &QPushButton::clicked, this, &frmMaintenance::cmdCancelClicked);
        load();
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmMaintenance.Form_Load"), 10);
    }
}

// The main window keeps the closed window to show it again; each showing
// starts as the first, so a file chosen before is never run on unseen.
// Restoring the window from the task bar is no new showing.
void frmMaintenance::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        try {
            load();
        } catch (const std::exception& e) {
            report::windowError(e, QStringLiteral("frmMaintenance.Form_Load"), 10);
        }
    }
    QDialog::showEvent(event);
}

void frmMaintenance::load()
{
    setWindowTitle(CaseMaintenance::kCaption);
    m_warning->setText(CaseMaintenance::kWarning);
    m_file->setText(CaseMaintenance::kPlaceholder);
    // The text is longer than the box: its start is what the user must read.
    m_file->setCursorPosition(0);
    m_maintenance = CaseMaintenance();
}

void frmMaintenance::cmdOpenClicked()
{
    try {
        m_file->setText(m_maintenance.chooseFile());
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmMaintenance.cmdOpen_Click"), 10);
    }
}

void frmMaintenance::cmdMoreClicked()
{
    try {
        m_maintenance.explain();
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmMaintenance.cmdMore_Click"), 10);
    }
}

void frmMaintenance::cmdGoClicked()
{
    try {
        m_maintenance.run(m_file->text());
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmMaintenance.cmdGo_Click"), 10);
    }
}

void frmMaintenance::cmdCancelClicked()
{
    close();
}
