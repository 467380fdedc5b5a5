#include "platform/widgets/QtLifetime.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace platform {

void QtLifetime::quit(int exitCode)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    // Queued, so the handler that asked for the end finishes first.
    QMetaObject::invokeMethod(
        app, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

} // namespace platform
