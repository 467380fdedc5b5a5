#pragma once

#include <QWidget>

class QLabel;

// Where a web page of the maker would show. There is no embedded browser:
// the pane names the address it would open.
class BrowserPane final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BrowserPane)

public:
    explicit BrowserPane(QWidget* parent = nullptr);

    void Navigate(const QString& address);
    QString address() const { return m_address; }

private:
    QLabel* m_text = nullptr;
    QString m_address;
};
