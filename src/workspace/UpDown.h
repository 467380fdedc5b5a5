#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of arrow buttons that steps the rating in a buddy text box within a
// range. The buddy stays a plain text box, so it can hold whatever the user
// types; the arrows (and the Up and Down keys in the buddy) read its rating
// as the box does, step it and write it back, and announce the change.
class UpDown final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UpDown)

public:
    explicit UpDown(QLineEdit* buddy, QWidget* parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int increment() const { return m_increment; }
    void setRange(int minimum, int maximum);
    void setIncrement(int increment) { m_increment = increment; }

    // The last position the arrows reached or that was set.
    int value() const { return m_value; }
    void setValue(int value);

    QLineEdit* buddy() const { return m_buddy; }
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

    void stepUp();
    void stepDown();

signals:
    // The buddy's text was changed by a step.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int direction);

    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    int m_minimum = 0;
    int m_maximum = 10;
    int m_increment = 1;
    int m_value = 0;
};
