#include "workspace/BrowserPane.h"

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
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_text);
}

void BrowserPane::Navigate(const QString& address)
{
    m_address = address;
    m_text->setText(
        QStringLiteral("Web pages are not shown inside Argovo.\n\nThis page would open:\n%1")
            .arg(address));
}
