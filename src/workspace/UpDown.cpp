#include "workspace/UpDown.h"

#include "platform/core/AppError.h"
#include "workspace/RatingText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

UpDown::UpDown(QLineEdit* buddy, QWidget* parent)
    : QWidget(parent)
    , m_buddy(buddy)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto makeButton = [this, layout](Qt::ArrowType arrow, const char* name) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(18, 12);
        layout->addWidget(button);
        return button;
    };
    m_up = makeButton(Qt::UpArrow, "upButton");
    m_down = makeButton(Qt::DownArrow, "downButton");
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
    if (m_buddy)
        m_buddy->installEventFilter(this);
}

void UpDown::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_value = std::clamp(m_value, m_minimum, m_maximum);
}

void UpDown::setValue(int value)
{
    m_value = std::clamp(value, m_minimum, m_maximum);
}

void UpDown::stepUp()
{
    step(+1);
}
void UpDown::stepDown()
{
    step(-1);
}

void UpDown::step(int direction)
{
    // The buddy's rating, read as the box itself reads it ("2.0" is 2), is
    // the position when it is one within range; otherwise the arrows go on
    // from their own last position.
    int from = m_value;
    if (m_buddy) {
        try {
            const int typed = ratingtext::toRating(m_buddy->text());
            if (typed >= m_minimum && typed <= m_maximum)
                from = typed;
        } catch (const AppError&) {
        }
    }
    const int to = std::clamp(from + direction * m_increment, m_minimum, m_maximum);
    const QString text = QString::number(to);
    if (to == from && (!m_buddy || m_buddy->text() == text))
        return; // at the end of the range: nothing moves
    m_value = to;
    if (m_buddy)
        m_buddy->setText(text);
    emit changed();
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up) {
            stepUp();
            return true;
        }
        if (key == Qt::Key_Down) {
            stepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
