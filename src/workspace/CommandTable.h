#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

// The toolbar's buttons, in their order on the bar.
namespace toolbar {

struct Button {
    QString key;
    QString tooltip; // empty: the button has none
    QString imageKey;
};

const std::vector<Button>& buttons();

} // namespace toolbar

// Commands by key. Keys are compared exactly, case included; a key that is
// not in the table does nothing.
class CommandTable final {
public:
    void add(const QString& key, std::function<void()> command);
    // Runs the key's command; false when there is none. What the command
    // raises reaches the caller.
    bool run(const QString& key) const;
    bool contains(const QString& key) const { return m_commands.contains(key); }

private:
    QHash<QString, std::function<void()>> m_commands;
};
