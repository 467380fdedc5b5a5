#include "workspace/WorkspaceWindows.h"

#include "workspace/frmAbout.h"

#include "platform/widgets/QtSeams.h"

#include <QApplication>

void registerWorkspaceWindows()
{
    platform::registerModalWindow(QStringLiteral("frmAbout"), [](const QVariantMap&) {
        frmAbout window(QApplication::activeWindow());
        return window.exec();
    });
}
