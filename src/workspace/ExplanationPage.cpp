#include "workspace/ExplanationPage.h"

#include "workspace/UpDown.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {
const char* const kLabels[ExplanationPage::kRatings] = {
    "Weight:", "Success:", "Jury:", "Instructions", "Evidentiary:", "Significance:"};
} // namespace

QString ExplanationPage::ratingLabel(int index)
{
    return QString::fromLatin1(kLabels[index]);
}

ExplanationPage::ExplanationPage(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);

    m_explanation = new QPlainTextEdit(this);
    m_explanation->setObjectName(QStringLiteral("txtExplanation"));
    // The tab key writes a tab into the explanation instead of moving on.
    m_explanation->setTabChangesFocus(false);
    layout->addWidget(m_explanation, 3);

    m_questionsFrame = new QGroupBox(QStringLiteral("Questions"), this);
    m_questionsFrame->setObjectName(QStringLiteral("fraQuestions"));
    auto* questionsLayout = new QVBoxLayout(m_questionsFrame);
    m_questions = new QPlainTextEdit(m_questionsFrame);
    m_questions->setObjectName(QStringLiteral("txtQuestions"));
    m_questions->setTabChangesFocus(true);
    questionsLayout->addWidget(m_questions);
    layout->addWidget(m_questionsFrame, 2);

    m_valuesFrame = new QGroupBox(QStringLiteral("Values"), this);
    m_valuesFrame->setObjectName(QStringLiteral("fraValues"));
    auto* values = new QGridLayout(m_valuesFrame);
    for (int i = 0; i < kRatings; ++i) {
        auto* label = new QLabel(ratingLabel(i), m_valuesFrame);
        label->setObjectName(QStringLiteral("lblSpin%1").arg(i));
        auto* box = new QLineEdit(m_valuesFrame);
        box->setObjectName(QStringLiteral("txtSpin%1").arg(i));
        box->setMaximumWidth(56);
        box->setAlignment(Qt::AlignRight);
        auto* arrows = new UpDown(box, m_valuesFrame);
        arrows->setObjectName(QStringLiteral("updown%1").arg(i));
        arrows->setRange(0, 10);
        arrows->setIncrement(1);
        label->setBuddy(box);

        auto* cell = new QHBoxLayout;
        cell->setSpacing(1);
        cell->addWidget(box);
        cell->addWidget(arrows);
        cell->addStretch(1);
        values->addWidget(label, 0, i);
        values->addLayout(cell, 1, i);
        m_spins[i] = box;
        m_updowns[i] = arrows;
    }
    layout->addWidget(m_valuesFrame, 0);
}

void ExplanationPage::setReadOnly(bool readOnly)
{
    m_explanation->setReadOnly(readOnly);
    m_questions->setReadOnly(readOnly);
    for (int i = 0; i < kRatings; ++i) {
        m_spins[i]->setReadOnly(readOnly);
        m_updowns[i]->setEnabled(!readOnly);
    }
}
