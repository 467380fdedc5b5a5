#pragma once

#include "platform/core/Shell.h"

#include <QString>
#include <QStringList>

// Records what would have been handed to the desktop, answers with a set
// result, and records quits instead of ending the test process.
class ScriptedShell final : public platform::Shell, public platform::AppLifetime {
public:
    ScriptedShell();
    ~ScriptedShell() override;

    int result = platform::shellresult::Success;
    QStringList executed;   // "verb|target|folder|show"
    QStringList helpShown;
    int quitCount = 0;
    int lastExitCode = -1;

    int execute(const QString& verb, const QString& target, const QString& workingFolder,
                int showCommand) override;
    void showHelp(const QString& path) override;
    void quit(int exitCode) override;
};
