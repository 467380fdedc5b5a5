#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace platform {

// Watches the mouse and the keys all over the program while a window holds
// back a change that would move what lies under the mouse (rows put in a new
// order) until the press that brought it about is over. Calls back when the
// last mouse button is released, before the release reaches its widget.
//
// A filter of its own: a window that also filters one of its widgets would
// see that widget's events a second time through the application, and one
// release would count as two clicks.
class PressWatch final : public QObject {
    Q_DISABLE_COPY_MOVE(PressWatch)

public:
    PressWatch(std::function<void()> released, QObject* parent);
    ~PressWatch() override;

    // Also calls back when a press, a key, the wheel or a shortcut goes
    // anywhere outside within, before it gets there: the user has turned to
    // something else, which must find the change made.
    void watchAround(QWidget* within, std::function<void()> turnedElsewhere);

    // Started while a mouse button is held; watches until stopped.
    void start();
    void stop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool outside(QObject* receiver) const;

    std::function<void()> m_released;
    std::function<void()> m_turnedElsewhere;
    QPointer<QWidget> m_within;
    bool m_watching = false;
    // A press seen since the last release was told: a release passes the
    // window before its widget, and is told once.
    bool m_held = false;
};

} // namespace platform
