#include "platform/widgets/QtSeams.h"

#include "platform/widgets/QtLifetime.h"
#include "platform/widgets/QtPrompt.h"
#include "platform/widgets/QtScreen.h"
#include "platform/widgets/QtShell.h"

#include <QHash>

namespace platform {
namespace {

QHash<QString, ModalWindowFactory>& modalWindows()
{
    static QHash<QString, ModalWindowFactory> windows;
    return windows;
}

} // namespace

void installQtSeams()
{
    // Live until the process ends, as the seams they stand behind.
    static QtPrompt prompt;
    static QtShell shell;
    static QtLifetime lifetime;
    static QtScreen screen;
    setPrompt(&prompt);
    setShell(&shell);
    setLifetime(&lifetime);
    setScreen(&screen);
}

void registerModalWindow(const QString& name, ModalWindowFactory factory)
{
    modalWindows().insert(name, std::move(factory));
}

ModalWindowFactory modalWindow(const QString& name)
{
    return modalWindows().value(name);
}

} // namespace platform
