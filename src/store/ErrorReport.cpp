#include "store/ErrorReport.h"

#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"

namespace report {

QString windowErrorText(const QString& description, const QString& place, int line)
{
    return QStringLiteral("%1\nin Argovo.%2 at line %3").arg(description, place).arg(line);
}

void windowError(const QString& description, const QString& place, int line)
{
    try {
        platform::msgBox(windowErrorText(description, place, line));
    } catch (...) {
        // A report is the last thing a handler does; it must not throw on.
    }
}

void windowError(const std::exception& error, const QString& place, int line)
{
    windowError(describe(error), place, line);
}

QString numberedErrorText(const AppError& error, const QString& place)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(error.number())
        .arg(error.description(), error.source(), place);
}

void numberedError(const AppError& error, const QString& place)
{
    try {
        platform::msgBox(numberedErrorText(error, place), platform::MsgButtons::OK,
                         platform::MsgIcon::None, appinfo::kAppTitle);
    } catch (...) {
    }
}

QString describe(const std::exception& error)
{
    if (const auto* app = dynamic_cast<const AppError*>(&error))
        return app->description();
    return QString::fromLocal8Bit(error.what());
}

} // namespace report
