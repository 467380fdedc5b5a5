#include "workspace/BrowserPane.h"

#include "platform/core/Prompt.h"
#include "store/CShellExecute.h"
#include "store/ErrorReport.h"

#include <QLabel>
#include <QVBoxLayout>

BrowserPane::BrowserPane(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblAddress"));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::RichText);
    m_text->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_text->setOpenExternalLinks(false);
    connect(m_text, &QLabel::linkActivated, this, [this] { openAddress(); });
    layout->addWidget(m_text);
}

void BrowserPane::Navigate(const QString& address)
{
    m_address = address;
    const QString escaped = address.toHtmlEscaped();
    m_text->setText(QStringLiteral("Web pages are not shown inside Argovo.<br><br>"
                                   "Open this page in your browser:<br><a href=\"%1\">%1</a>")
                        .arg(escaped));
}

void BrowserPane::openAddress()
{
    try {
        if (m_address.isEmpty())
            return;
        CShellExecute launcher;
        const int32_t result = launcher.LaunchURL(0, m_address, 1);
        if (result != -1)
            platform::msgBox(QStringLiteral("Error on Launch Browser: %1").arg(result));
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmRedoZiv.webBrowser_Navigate"), 10);
    }
}
