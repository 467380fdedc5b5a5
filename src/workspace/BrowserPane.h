#pragma once

#include <QWidget>

class QLabel;

// Where a web page of the maker would show. There is no embedded browser:
// the pane names the address as a link, which opens in the desktop's browser.
class BrowserPane final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BrowserPane)

public:
    explicit BrowserPane(QWidget* parent = nullptr);

    void Navigate(const QString& address);
    QString address() const { return m_address; }
    // What activating the link does: the address goes to the desktop's
    // browser; a launch that fails is reported.
    void openAddress();

private:
    QLabel* m_text = nullptr;
    QString m_address;
};
