#include "workspace/StartPage.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kCaptions[StartPage::kButtons] = {
    "Open Case", "New Case", "Shut Down", "Report Info", "Help", "Quick Start", "NewTemplates"};
} // namespace

StartPage::StartPage(const QString& makerAddress, QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* black = new QLabel(QStringLiteral("  Start Argovo"), this);
    black->setObjectName(QStringLiteral("lblBlackStart"));
    QFont heading(QStringLiteral("Tahoma"));
    heading.setPointSize(18);
    heading.setBold(true);
    black->setFont(heading);
    black->setAutoFillBackground(true);
    black->setStyleSheet(QStringLiteral("background-color: black; color: white; padding: 8px;"));
    layout->addWidget(black);

    auto* gold = new QLabel(QStringLiteral("    ") + makerAddress, this);
    gold->setObjectName(QStringLiteral("lblgoldstart"));
    gold->setStyleSheet(QStringLiteral("background-color: #c9a227; color: black; padding: 4px;"));
    layout->addWidget(gold);

    auto* body = new QWidget(this);
    auto* grid = new QGridLayout(body);
    grid->setContentsMargins(24, 24, 24, 24);
    grid->setHorizontalSpacing(32);
    grid->setVerticalSpacing(10);

    QFont buttonFont(QStringLiteral("Verdana"));
    for (int i = 0; i < kButtons; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kCaptions[i]), body);
        button->setObjectName(QStringLiteral("cmdOpenStart%1").arg(i));
        button->setFont(buttonFont);
        button->setMinimumWidth(140);
        connect(button, &QPushButton::clicked, this, [this, i] { emit commandClicked(i); });
        m_buttons[i] = button;
    }

    auto addHeading = [body, grid](const char* name, const char* text, int column) {
        auto* label = new QLabel(QString::fromLatin1(text), body);
        label->setObjectName(QLatin1String(name));
        QFont f = label->font();
        f.setBold(true);
        f.setPointSize(f.pointSize() + 2);
        label->setFont(f);
        grid->addWidget(label, 0, column);
    };
    addHeading("lblSelect", "Actions", 0);
    addHeading("lblLearn", "Information", 1);
    addHeading("lblActions", "Check Online", 2);

    grid->addWidget(m_buttons[OpenCase], 1, 0);
    grid->addWidget(m_buttons[NewCase], 2, 0);
    grid->addWidget(m_buttons[ShutDown], 3, 0);
    grid->addWidget(m_buttons[ReportInfo], 1, 1);
    grid->addWidget(m_buttons[Help], 2, 1);
    grid->addWidget(m_buttons[QuickStart], 3, 1);
    grid->addWidget(m_buttons[NewTemplates], 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(body, 1);
}
