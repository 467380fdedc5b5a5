#include "platform/core/AppInfo.h"

#include <QCoreApplication>

namespace {
QString& folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

namespace appinfo {

QString versionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(ARGOVO_VERSION_MAJOR)
        .arg(ARGOVO_VERSION_MINOR)
        .arg(ARGOVO_VERSION_PATCH);
}

QString programFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QStringLiteral(".");
}

void setProgramFolder(const QString& folder)
{
    folderOverride() = folder;
}

} // namespace appinfo
