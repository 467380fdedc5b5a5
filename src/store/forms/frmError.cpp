#include "store/forms/frmError.h"

#include "platform/core/AppInfo.h"
#include "store/ErrorReport.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

frmError::frmError(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmError"));
    setModal(true);
    try {
        setWindowTitle(appinfo::kProductLabel + QLatin1Char(' ') + appinfo::kVersionLabel +
                       QStringLiteral(" Error"));

        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image1"));
        image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
        image->setAlignment(Qt::AlignTop);

        auto* frame = new QGroupBox(QStringLiteral("Detail Error Info"), this);
        frame->setObjectName(QStringLiteral("frameDetail"));
        auto* grid = new QGridLayout(frame);
        grid->addWidget(
            namedLabel(QStringLiteral("lblErrorCaller"), QStringLiteral("Error Caller:"), frame), 0,
            0, Qt::AlignTop);
        grid->addWidget(namedLabel(QStringLiteral("lblDescription"),
                                   QStringLiteral("Error Description:"), frame),
                        1, 0, Qt::AlignTop);
        grid->addWidget(
            namedLabel(QStringLiteral("lblErrorNumber"), QStringLiteral("Error Number:"), frame), 2,
            0, Qt::AlignTop);
        m_callerValue = namedLabel(QStringLiteral("lblErrorCallerValue"), QString(), frame);
        m_descriptionValue =
            namedLabel(QStringLiteral("lblErrorDescriptionValue"), QString(), frame);
        m_numberValue = namedLabel(QStringLiteral("lblErrorNumberValue"), QString(), frame);
        for (QLabel* value : {m_callerValue, m_descriptionValue, m_numberValue}) {
            value->setWordWrap(true);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        }
        grid->addWidget(m_callerValue, 0, 1);
        grid->addWidget(m_descriptionValue, 1, 1);
        grid->addWidget(m_numberValue, 2, 1);
        grid->setColumnStretch(1, 1);

        m_ok = new QPushButton(QStringLiteral("OK"), this);
        m_ok->setObjectName(QStringLiteral("cmdOK"));
        m_ok->setDefault(true);
        connect(m_ok, &QPushButton::clicked, this, &frmError::cmdOKClicked);

        auto* top = new QHBoxLayout;
        top->addWidget(image);
        top->addWidget(frame, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        buttons->addWidget(m_ok);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addLayout(buttons);
        resize(480, 220);
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmError.Form_Load"), 10);
    }
}

void frmError::setValues(const QVariantMap& values)
{
    m_callerValue->setText(values.value(QStringLiteral("lblErrorCallerValue")).toString());
    m_descriptionValue->setText(
        values.value(QStringLiteral("lblErrorDescriptionValue")).toString());
    m_numberValue->setText(values.value(QStringLiteral("lblErrorNumberValue")).toString());
}

void frmError::cmdOKClicked()
{
    try {
        accept();
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("frmError.cmdOK_Click"), 10);
    }
}
