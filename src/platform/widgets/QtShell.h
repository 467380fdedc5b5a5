#pragma once

#include "platform/core/Shell.h"

#include <QPointer>

class QTextBrowser;

namespace platform {

// Documents, web pages and mail through the desktop's associations; help
// pages in a plain help window.
class QtShell final : public Shell {
public:
    int execute(const QString& verb, const QString& target, const QString& workingFolder,
                int showCommand) override;
    void showHelp(const QString& path) override;

private:
    QPointer<QTextBrowser> m_helpWindow;
};

} // namespace platform
