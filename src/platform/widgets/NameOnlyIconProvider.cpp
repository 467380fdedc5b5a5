#include "platform/widgets/NameOnlyIconProvider.h"

#include <QMimeDatabase>

namespace platform {
namespace {

QMimeType typeByName(const QFileInfo& info)
{
    const QMimeDatabase mimes;
    const QList<QMimeType> byName = mimes.mimeTypesForFileName(info.fileName());
    return byName.isEmpty() ? mimes.mimeTypeForName(QStringLiteral("application/octet-stream"))
                            : byName.constFirst();
}

} // namespace

NameOnlyIconProvider::NameOnlyIconProvider()
{
    setOptions(DontUseCustomDirectoryIcons);
}

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const
{
    if (info.isRoot())
        return QFileIconProvider::icon(Drive);
    if (info.isDir())
        return QFileIconProvider::icon(Folder);
    const QIcon themed = QIcon::fromTheme(typeByName(info).iconName());
    return themed.isNull() ? QFileIconProvider::icon(File) : themed;
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const
{
    if (!info.isFile())
        return QFileIconProvider::type(info);
    const QList<QMimeType> byName = QMimeDatabase().mimeTypesForFileName(info.fileName());
    if (byName.isEmpty()) {
        // A case file's extension is known to no one but the program.
        return info.suffix().isEmpty() ? QStringLiteral("File")
                                       : QStringLiteral("%1 File").arg(info.suffix().toUpper());
    }
    const QMimeType& mime = byName.constFirst();
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

} // namespace platform
