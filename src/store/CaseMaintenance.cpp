#include "store/CaseMaintenance.h"

#include "platform/core/AppError.h"
#include "platform/core/DurableFile.h"
#include "platform/core/Prompt.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CError.h"
#include "store/CMain.h"
#include "store/COpen.h"
#include "store/CUtility.h"
#include "store/CWaitCursor.h"
#include "store/Globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

const QString CaseMaintenance::kCaption = QStringLiteral("Argovo 2003 System Maintenance");
const QString CaseMaintenance::kPlaceholder =
    QStringLiteral("You cannot maintain the open case.  Select a closed case to maintain.");
const QString CaseMaintenance::kWarning = QStringLiteral(
    "Warning!  Please read carefully.  Running this command will compact and repair problems "
    "with your case file.  This command will run on the file listed below.  Normally, it does "
    "not need to be run, but if you are experiencing problems, it may be able to correct the "
    "problem.  If Argovo 2003 is being run by other users accessing this file, you will need "
    "to have them stop using Argovo 2003, before running.  If you are using a large file this "
    "command may take up to several minutes.  Afterward, Argovo 2003 will be shut down and "
    "restarted.");

namespace {

const QString kGoCaller = QStringLiteral("frmMaintenance.cmdGo_Click");

[[noreturn]] void fileError(const QString& description)
{
    throw AppError(75, QStringLiteral("Argovo"), description);
}

const QString kCompactTag = QStringLiteral("compact");
const QString kBackupTag = QStringLiteral("copy");

// Temporary files a run interrupted by a crash left beside the case, with
// the journal of one cut off while it was filled: they are never the case
// and go before the next run writes its own.
void removeLeftovers(const QString& path)
{
    durable::removeLeftoversBeside(path, kCompactTag);
    durable::removeLeftoversBeside(path + QStringLiteral(".OLD"), kBackupTag);
}

// The case a path names: a link leads to the file it stands for, which is
// compacted where it lies, its backup beside it, and the link stays a link.
QString caseFileOf(const QString& path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? path : real;
}

QString backupOf(const QString& caseFile)
{
    return caseFile + QStringLiteral(".OLD");
}

QString notWritable(const QString& caseFile)
{
    return QStringLiteral("You may not change the case file %1, so it cannot be maintained.  "
                          "Nothing was changed.")
        .arg(QDir::toNativeSeparators(caseFile));
}

// A case file of more than one name (hard links) would get the compacted
// case under the name maintained only, the other names keeping the old file:
// two cases, each going on without the other's changes.
QString sharedFile(const QString& caseFile)
{
    struct stat info {};
    if (::stat(QFile::encodeName(caseFile).constData(), &info) != 0 || info.st_nlink <= 1)
        return QString();
    return QStringLiteral("The case file %1 has %2 names (hard links to one file), and "
                          "maintenance would give the compacted case to this name only: the "
                          "other names would keep the old file, as another case.  Copy the case "
                          "to a file of its own, or remove its other names, and maintain that.  "
                          "Nothing was changed.")
        .arg(QDir::toNativeSeparators(caseFile))
        .arg(info.st_nlink);
}

// The bytes of the case, read through the handle the compaction holds it
// by, into a new file closed to others as the case is.
void copyHeld(QFile& held, const QString& caseFile, const QString& to)
{
    QFile copy(to);
    const auto failed = [&](const QString& reason) {
        fileError(QStringLiteral("Cannot copy %1 to %2: %3").arg(caseFile, to, reason));
    };
    if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        failed(copy.errorString());
    const QFileDevice::Permissions access = durable::accessForCopy(caseFile, to);
    constexpr qint64 kPiece = 1 << 20;
    held.seek(0);
    while (!held.atEnd()) {
        const QByteArray piece = held.read(kPiece);
        if (piece.isEmpty())
            failed(held.errorString());
        if (copy.write(piece) != piece.size())
            failed(copy.errorString());
    }
    copy.close();
    if (copy.error() != QFileDevice::NoError)
        failed(copy.errorString());
    if (!QFile::setPermissions(to, access))
        failed(QStringLiteral("its permissions cannot be set"));
}

} // namespace

QString CaseMaintenance::chooseFile()
{
    try {
        platform::FileDialogRequest request;
        request.title = QStringLiteral("Open a Case");
        request.filter = COpen::caseFilter();
        request.flags = 0x201004;
        const platform::FileDialogResult choice = platform::prompt().fileDialog(request);
        if (!choice.cancelled()) {
            m_dialogFile = choice.fileName;
            m_fileTitle = choice.fileTitle;
        }
    } catch (const AppError& e) {
        oError().HandleError(QStringLiteral("frmMaintenance.cmdOpen_Click"), e.description(),
                             e.number(), true);
    } catch (const std::exception& e) {
        oError().HandleError(QStringLiteral("frmMaintenance.cmdOpen_Click"),
                             QString::fromLocal8Bit(e.what()), kClassFailure, true);
    }
    return m_dialogFile;
}

void CaseMaintenance::explain()
{
    platform::msgBox(
        QStringLiteral(
            "As you change data in a case, the case file can become fragmented and use more disk "
            "space than is necessary. Periodically, you can use the System Maintenance method to "
            "compact your case to defragment the case file. The compacted case is usually "
            "smaller and often runs faster."),
        platform::MsgButtons::OK, platform::MsgIcon::Information,
        QStringLiteral("What Maintenance Does"));
}

// The open case is recognised by its title, as before, and by the file
// itself, so that another path to it (a link, another spelling) is refused too.
bool CaseMaintenance::isOpenCase(const QString& path) const
{
    const QString openTitle = oUtility().CaseName();
    if (openTitle == m_fileTitle || openTitle == QFileInfo(path).fileName())
        return true;
    return oMain().isOpenCaseFile(path);
}

bool CaseMaintenance::run(const QString& fileText)
{
    try {
        const QString path = fileText.trimmed();
        if (oDataLayer().Connected() && oDataLayer().CloseConnection() != 0)
            return false;
        if (fileText == kPlaceholder || path.isEmpty()) {
            oError().HandleError(
                kGoCaller, QStringLiteral("No case selected.  Select a case to maintain first."), 0,
                false);
            return false;
        }
        if (oUtility().CaseName().isEmpty())
            return false;
        if (isOpenCase(path)) {
            oError().HandleError(
                kGoCaller,
                QStringLiteral("Cannot maintain the open case.  Select another case to maintain."),
                0, false);
            return false;
        }
        // The backup is replaced whole: the open case may not be it (opened
        // to recover work from it).
        const QString caseFile = caseFileOf(path);
        if (oMain().isOpenCaseFile(backupOf(caseFile))) {
            oError().HandleError(
                kGoCaller,
                QStringLiteral("The open case %1 is this case's backup, and maintenance would "
                               "replace it.  Open another case first, then maintain this one.")
                    .arg(QDir::toNativeSeparators(backupOf(caseFile))),
                0, false);
            return false;
        }
        if (QFileInfo::exists(caseFile) && !QFileInfo(caseFile).isWritable()) {
            oError().HandleError(kGoCaller, notWritable(caseFile), 0, false);
            return false;
        }
        if (const QString refusal = sharedFile(caseFile); !refusal.isEmpty()) {
            oError().HandleError(kGoCaller, refusal, 0, false);
            return false;
        }

        {
            // A large case takes a while to copy and compact; the pointer
            // goes back before any message.
            CWaitCursor wait;
            wait.SetCursor(CWaitCursor::kHourglass);
            compactWithBackup(path);
        }

        platform::msgBox(QStringLiteral("System Maintenance has been successful."));
        platform::msgBox(QStringLiteral("You must now restart Argovo 2003"));
    } catch (const AppError& e) {
        oError().HandleError(QStringLiteral("frmMaintenance.cmdGo"), e.description(), e.number(),
                             true);
        return false;
    } catch (const std::exception& e) {
        oError().HandleError(QStringLiteral("frmMaintenance.cmdGo"),
                             QString::fromLocal8Bit(e.what()), kClassFailure, true);
        return false;
    }
    Shutdown();
    return true;
}

void CaseMaintenance::compactWithBackup(const QString& path)
{
    const QString source = QStringLiteral("CaseMaintenance");
    const QString caseFile = caseFileOf(path);
    if (QFileInfo::exists(caseFile) && !QFileInfo(caseFile).isWritable())
        fileError(notWritable(caseFile));
    if (const QString refusal = sharedFile(caseFile); !refusal.isEmpty())
        fileError(refusal);
    removeLeftovers(caseFile);
    const QString target = durable::freeNameBeside(caseFile, kCompactTag);
    const QString backup = backupOf(caseFile);
    QString backupCopy;
    try {
        // Held for writing from before the copy to the last rename: a save
        // elsewhere either is in the copy or is refused there, never lost
        // with the old file.
        dao::DBEngine::CompactDatabase(caseFile, target, [&](QFile& held) {
            // Only a copy that opens as a case database replaces the case.
            dao::DBEngine::OpenDatabase(target)->Close();

            // The backup replaces the older one whole, and is on the disk
            // before the case changes.
            backupCopy = durable::freeNameBeside(backup, kBackupTag);
            copyHeld(held, caseFile, backupCopy);
            durable::moveInto(backupCopy, backup, durable::Existing::Replace, source);
            backupCopy.clear();

            // One rename: the case is either the old file or the compacted one.
            durable::moveInto(target, caseFile, durable::Existing::Replace, source);
        });
    } catch (...) {
        QFile::remove(target);
        if (!backupCopy.isEmpty())
            QFile::remove(backupCopy);
        throw;
    }
}
