#pragma once

#include <QString>

// Hands documents, web addresses and mail addresses to the desktop, and ends
// the process; both are seams so that tests never start a browser or quit.
namespace platform {

// Results follow the old shell convention: above 32 is success,
// 2 = file not found, 31 = no application associated.
namespace shellresult {
constexpr int FileNotFound = 2;
constexpr int NoAssociation = 31;
constexpr int Success = 42;
} // namespace shellresult

class Shell {
public:
    virtual ~Shell() = default;
    // verb is "open" or empty (the default action); target is a path, a URL or "mailto:...".
    virtual int execute(const QString& verb, const QString& target, const QString& workingFolder,
                        int showCommand) = 0;
    // Opens a help page in the program's help viewer.
    virtual void showHelp(const QString& path) = 0;
};

Shell& shell();
void setShell(Shell* shell);

class AppLifetime {
public:
    virtual ~AppLifetime() = default;
    // Ends the program after the current event; never blocks.
    virtual void quit(int exitCode) = 0;
};

AppLifetime& lifetime();
void setLifetime(AppLifetime* lifetime);

// The screen's mouse pointer, as the wait cursor sets and restores it
// (0 default, 11 hourglass).
class Screen {
public:
    virtual ~Screen() = default;
    virtual int mousePointer() const = 0;
    virtual void setMousePointer(int pointer) = 0;
};

Screen& screen();
void setScreen(Screen* screen);

} // namespace platform
