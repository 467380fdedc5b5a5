#include "PressWatch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <utility>

namespace platform {

PressWatch::PressWatch(std::function<void()> released, QObject* parent)
    : QObject(parent)
    , m_released(std::move(released))
{
}

PressWatch::~PressWatch()
{
    stop();
}

void PressWatch::watchAround(QWidget* within, std::function<void()> turnedElsewhere)
{
    m_within = within;
    m_turnedElsewhere = std::move(turnedElsewhere);
}

void PressWatch::start()
{
    m_held = true;
    if (m_watching)
        return;
    m_watching = true;
    QCoreApplication::instance()->installEventFilter(this);
}

void PressWatch::stop()
{
    if (!m_watching)
        return;
    m_watching = false;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool PressWatch::outside(QObject* receiver) const
{
    // The window sees an event before the widget it is meant for.
    if (!m_within || !m_turnedElsewhere || !receiver->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(receiver);
    return widget != m_within && !m_within->isAncestorOf(widget);
}

bool PressWatch::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_held = true;
        if (outside(watched))
            m_turnedElsewhere();
        break;
    case QEvent::MouseButtonRelease:
        if (m_held && QGuiApplication::mouseButtons() == Qt::NoButton) {
            m_held = false;
            m_released();
        }
        break;
    case QEvent::KeyPress:
    case QEvent::Wheel:
        if (outside(watched))
            m_turnedElsewhere();
        break;
    case QEvent::Shortcut:
        if (m_within && m_turnedElsewhere)
            m_turnedElsewhere();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
