#include "ScriptedShell.h"

ScriptedShell::ScriptedShell()
{
    platform::setShell(this);
    platform::setLifetime(this);
}

ScriptedShell::~ScriptedShell()
{
    platform::setShell(nullptr);
    platform::setLifetime(nullptr);
}

int ScriptedShell::execute(const QString& verb, const QString& target,
                           const QString& workingFolder, int showCommand)
{
    executed << QStringLiteral("%1|%2|%3|%4").arg(verb, target, workingFolder).arg(showCommand);
    return result;
}

void ScriptedShell::showHelp(const QString& path)
{
    helpShown << path;
}

void ScriptedShell::quit(int exitCode)
{
    ++quitCount;
    lastExitCode = exitCode;
}
