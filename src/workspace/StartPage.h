#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

// The start page: what the user sees before working on an item, with the
// seven commands of cmdOpenStart. The main window acts on the clicks.
class StartPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StartPage)

public:
    static constexpr int kButtons = 7;
    enum Command {
        OpenCase = 0,
        NewCase = 1,
        ShutDown = 2,
        ReportInfo = 3,
        Help = 4,
        QuickStart = 5,
        NewTemplates = 6,
    };

    explicit StartPage(const QString& makerAddress, QWidget* parent = nullptr);

    QPushButton* cmdOpenStart(int index) const { return m_buttons.at(index); }

signals:
    // A command button was clicked, by its index.
    void commandClicked(int index);

private:
    std::array<QPushButton*, kButtons> m_buttons{};
};
