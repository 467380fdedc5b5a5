#include "platform/core/DurableFile.h"

#include "platform/core/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace durable {

namespace {

constexpr int kFileAccess = 75;

BeforeMoveHook& beforeMoveHook()
{
    static BeforeMoveHook hook;
    return hook;
}

[[noreturn]] void systemError(const QString& what, const QString& path, int error,
                              const QString& source)
{
    throw AppError(kFileAccess, source,
                   QStringLiteral("Path/File access error. %1 '%2': %3")
                       .arg(what, path, QString::fromLocal8Bit(std::strerror(error))));
}

void syncPath(const QString& path, int flags, const QString& what, const QString& source)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        systemError(what, path, errno, source);
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // A folder that cannot be flushed on this file system is not an error.
    if (rc != 0 && !(flags & O_DIRECTORY && (error == EINVAL || error == EROFS)))
        systemError(what, path, error, source);
}

} // namespace

QString freeNameBeside(const QString& target, const QString& tag)
{
    QTemporaryFile reserve(target + QLatin1Char('.') + tag + QStringLiteral("-XXXXXX"));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        throw AppError(kFileAccess, QStringLiteral("Argovo"),
                       QStringLiteral("Path/File access error. Cannot write beside '%1': %2")
                           .arg(target, reserve.errorString()));
    const QString name = reserve.fileName();
    reserve.close();
    // Writers here create their file themselves and refuse an existing one.
    QFile::remove(name);
    return name;
}

QFileDevice::Permissions accessForCopy(const QString& original, const QString& copy)
{
    // What permissions() adds for the user running the program (the
    // superuser may write any file) is no permission of the file's.
    const QFileDevice::Permissions access =
        QFile::permissions(original) &
        ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    struct stat info {};
    if (::stat(QFile::encodeName(original).constData(), &info) != 0 ||
        ::chown(QFile::encodeName(copy).constData(), static_cast<uid_t>(-1), info.st_gid) == 0)
        return access;
    return access.testFlag(QFileDevice::ReadGroup) ? access | QFileDevice::ReadOther : access;
}

QString replacedFile(const QString& target, const QString& source)
{
    // As many links as the system itself follows in one name.
    constexpr int kMostLinks = 40;
    QString path = target;
    for (int followed = 0; followed <= kMostLinks; ++followed) {
        const QByteArray name = QFile::encodeName(path);
        struct stat info {};
        if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            // The folder as the system finds it: a relative link's ".." is
            // taken from where the link lies, not cut from its name.
            const QFileInfo file(path);
            const QString folder = QFileInfo(file.path()).canonicalFilePath();
            return folder.isEmpty() || followed == 0 ? path
                                                     : QDir(folder).filePath(file.fileName());
        }
        QByteArray named(PATH_MAX + 1, '\0');
        const ssize_t size = ::readlink(name.constData(), named.data(), size_t(named.size()));
        if (size < 0)
            systemError(QStringLiteral("Cannot read the link"), path, errno, source);
        named.truncate(size);
        const QString next = QFile::decodeName(named);
        path = QDir::isAbsolutePath(next) ? next : QFileInfo(path).path() + QLatin1Char('/') + next;
    }
    systemError(QStringLiteral("Cannot follow the links of"), target, ELOOP, source);
}

void keepAccessOf(const QString& target, const QString& temp, const QString& source)
{
    struct stat info {};
    if (::stat(QFile::encodeName(target).constData(), &info) != 0)
        return;
    QFile file(temp);
    if (!file.setPermissions(accessForCopy(target, temp)))
        throw AppError(kFileAccess, source,
                       QStringLiteral("Path/File access error. Cannot give '%1' the permissions "
                                      "of '%2': %3")
                           .arg(temp, target, file.errorString()));
}

void removeLeftoversBeside(const QString& target, const QString& tag)
{
    const QFileInfo info(target);
    const QString prefix = info.fileName() + QLatin1Char('.') + tag + QLatin1Char('-');
    const QString journal = QStringLiteral("-journal");
    QDir folder = info.absoluteDir();
    // Compared as text, not as a name pattern: a case's name may hold the
    // pattern's own signs ("[", "*").
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden)) {
        // Six characters follow the prefix, as QTemporaryFile makes them.
        const qsizetype rest = entry.size() - prefix.size();
        if (entry.startsWith(prefix) &&
            (rest == 6 || (rest == 6 + journal.size() && entry.endsWith(journal))))
            folder.remove(entry);
    }
}

void syncFile(const QString& path, const QString& source)
{
    syncPath(path, O_RDONLY, QStringLiteral("Cannot flush"), source);
}

void syncFolderOf(const QString& path, const QString& source)
{
    syncPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY,
             QStringLiteral("Cannot flush the folder of"), source);
}

void moveInto(const QString& temp, const QString& target, Existing existing, const QString& source)
{
    syncFile(temp, source);
    if (beforeMoveHook())
        beforeMoveHook()(temp, target);
    const QByteArray from = QFile::encodeName(temp);
    const QByteArray to = QFile::encodeName(target);
    if (existing == Existing::Refuse) {
        // A hard link never replaces a file; the temporary name then goes.
        // Where the file system has no links, the name is checked first.
        const auto refuse = [&] {
            throw AppError(
                jet::DatabaseExists, source,
                QStringLiteral("'%1' already exists; it is never overwritten.").arg(target));
        };
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
        } else {
            const int error = errno;
            if (error == EEXIST)
                refuse();
            if (error != EPERM && error != EOPNOTSUPP && error != ENOSYS && error != EMLINK)
                systemError(QStringLiteral("Cannot create"), target, error, source);
            if (QFileInfo::exists(target))
                refuse();
            if (::rename(from.constData(), to.constData()) != 0)
                systemError(QStringLiteral("Cannot create"), target, errno, source);
        }
    } else if (::rename(from.constData(), to.constData()) != 0) {
        systemError(QStringLiteral("Cannot replace"), target, errno, source);
    }
    syncFolderOf(target, source);
}

void setBeforeMoveHook(BeforeMoveHook hook)
{
    beforeMoveHook() = std::move(hook);
}

} // namespace durable
