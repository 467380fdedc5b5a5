#include "workspace/CommandTable.h"

namespace toolbar {

const std::vector<Button>& buttons()
{
    auto b = [](const char* key, const char* tooltip, const char* image = nullptr) {
        return Button{QLatin1String(key), QLatin1String(tooltip),
                      QLatin1String(image ? image : key)};
    };
    static const std::vector<Button> table = {
        b("new", "New case"),
        b("open", "Open existing case"),
        b("save", "Save case"),
        b("delete", ""),
        b("close", "Close case"),
        b("larrow", "Previous item"),
        b("rarrow", "Next item"),
        b("refresh", "Refresh tree issues, exhibits, witnesses, and questions."),
        b("home", "Argovo web home"),
        b("overlay", "Overlay screen"),
        b("tabs", "Tabs view"),
        b("internet", "Argovo update check"),
        b("settings", "Program settings"),
        b("maintenance", "Case maintenance"),
        b("bookmarks", "View bookmarks", "bookmark"),
        b("grid", "Grid report"),
        b("issue", "Issue report"),
        b("exhibit", "Exhibit report"),
        b("witness", "Witness report"),
        b("caseanalysis", "Case analysis"),
        b("expand", "Open all issues, exhibits, witnesses in tree"),
        b("shut", "Close all issues, exhibits, witnesses in tree"),
        b("help", "Help"),
    };
    return table;
}

} // namespace toolbar

void CommandTable::add(const QString& key, std::function<void()> command)
{
    m_commands.insert(key, std::move(command));
}

bool CommandTable::run(const QString& key) const
{
    const auto found = m_commands.constFind(key);
    if (found == m_commands.constEnd() || !found.value())
        return false;
    found.value()();
    return true;
}
