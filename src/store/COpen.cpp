#include "store/COpen.h"

#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"
#include "platform/core/DurableFile.h"
#include "platform/core/Prompt.h"
#include "platform/db/Ado.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CError.h"
#include "store/CLog.h"
#include "store/CMain.h"
#include "store/CUtility.h"
#include "store/CWaitCursor.h"
#include "store/ICaseWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

#include <sys/stat.h>

namespace {

const QString kTreeSql = QStringLiteral("select * from Issue order by parentid and id");
const QString kSaveTitle = QStringLiteral("Save Case As...");
const QString kUnableToSave = QStringLiteral("Was Unable to Save the Argovo case.");
const QString kProvider = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;");

// Long file names, read-only box hidden, no overwrite prompt (refused below).
constexpr int kSaveFlags = 0x200004;
// Long file names, file must exist, read-only box hidden.
constexpr int kOpenFlags = 0x201004;

// The start page counts as shown below this left edge.
constexpr int kParkedLeft = 29999;
constexpr int kShownLeft = 2999;

const QString kCaseSuffix = QStringLiteral("AGV");

// Only files ending in .AGV are offered when a case is opened: a new case
// always gets the extension.
QString withCaseExtension(const QString& name)
{
    if (name.isEmpty() || name.endsWith(QLatin1Char('.') + kCaseSuffix, Qt::CaseInsensitive))
        return name;
    return name + QLatin1Char('.') + kCaseSuffix;
}

[[noreturn]] void classFailure(const char* procedure)
{
    throw AppError(kClassFailure, QStringLiteral("Argovo.COpen.") + QLatin1String(procedure),
                   QStringLiteral("COpen component failure"));
}

void logCause(const QString& caller, const QString& cause)
{
    oLog().setFileName(appinfo::kProductLabel);
    oLog().setMaxEntry(50000);
    oLog().LogItem(caller, cause);
}

void copyFailed(const QString& from, const QString& to, const QString& reason)
{
    throw AppError(75, QStringLiteral("Argovo"),
                   QStringLiteral("Could not copy %1 to %2: %3").arg(from, to, reason));
}

// A journal left beside path by an earlier case of that name, since deleted
// (a crash, then the file removed by hand), would be played back into the
// new case the first time it is opened, mixing that case's pages into it.
// With no file of the name it belongs to nothing, and goes.
void removeOrphanJournals(const QString& path, const QString& caller)
{
    if (QFileInfo::exists(path))
        return; // the name is refused anyway
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString side = path + QLatin1String(suffix);
        if (QFileInfo::exists(side) && !QFile::remove(side))
            throw AppError(75, caller,
                           QStringLiteral("'%1', left by an earlier case of that name, could not "
                                          "be removed.")
                               .arg(QDir::toNativeSeparators(side)));
    }
}

// A case file written to path complete or not at all: write fills a
// temporary file beside path, which takes the name only once it is on the
// disk. The cause of a failure goes to the log, as the caller sees only the
// class failure.
const QString kSavingTag = QStringLiteral("saving");

void writeDurably(const QString& path, const QString& caller,
                  const std::function<void(const QString& temp)>& write)
{
    QString temp;
    const auto removeTemp = [&] {
        if (!temp.isEmpty())
            QFile::remove(temp);
    };
    try {
        // A copy a crash stopped half-way may be as large as the case.
        durable::removeLeftoversBeside(path, kSavingTag);
        temp = durable::freeNameBeside(path, kSavingTag);
        write(temp);
        removeOrphanJournals(path, caller);
        durable::moveInto(temp, path, durable::Existing::Refuse, caller);
    } catch (const AppError& e) {
        removeTemp();
        logCause(caller, e.description());
        throw;
    } catch (...) {
        removeTemp();
        throw;
    }
}

void copyFile(const QString& from, const QString& temp, const QString& to)
{
    // A pipe or a device under a case's name would be read for ever, the
    // program waiting with it; only a file is a case.
    struct stat info {};
    if (::stat(QFile::encodeName(from).constData(), &info) == 0 && !S_ISREG(info.st_mode) &&
        !S_ISDIR(info.st_mode))
        throw AppError(jet::UnrecognizedFormat, QStringLiteral("Argovo"),
                       QStringLiteral("Unrecognized database format '%1'.").arg(from));
    // QFile::copy never overwrites: a file that appeared meanwhile stays.
    QFile file(from);
    if (!file.copy(temp))
        copyFailed(from, to, file.errorString());
}

bool dataLayerOpen()
{
    return oDataLayer().Connection()->State() != ado::adStateClosed;
}

// The steps that show a freshly opened case in the main window.
void showOpenedCase(ICaseWindow& frm)
{
    frm.ClearTreeView();
    frm.FillTree(kTreeSql);
    frm.InitialiseBookmarks();
    frm.EnableControls(true);
}

} // namespace

QString COpen::templatePath()
{
    return QDir(appinfo::programFolder()).filePath(QStringLiteral("cases/templates/BLANK.AGV"));
}

QString COpen::newCaseFolder()
{
    return QDir(appinfo::programFolder()).filePath(QStringLiteral("cases"));
}

QString COpen::saveAsFolder()
{
    return QDir(appinfo::programFolder()).filePath(QStringLiteral("My Cases"));
}

QString COpen::openFolder()
{
    return QDir(appinfo::programFolder()).filePath(QStringLiteral("db/my cases"));
}

QString COpen::caseFilter()
{
    return QStringLiteral("(*.AGV)|*.AGV;*.agv");
}

// No database, a damaged one, or one without the case tables. A busy file, a
// failed read or write or a full disk says nothing of the copied bytes.
bool COpen::isNoCaseFile(int errorNumber)
{
    return errorNumber == jet::UnrecognizedFormat || errorNumber == jet::Damaged;
}

int16_t COpen::NewCase(ICaseWindow& frm)
{
    try {
        platform::FileDialogRequest request;
        request.save = true;
        request.fileName = oMain().CaseName();
        request.title = kSaveTitle;
        request.filter = caseFilter();
        request.flags = kSaveFlags;
        request.defaultSuffix = kCaseSuffix;
        request.initDir = newCaseFolder();
        platform::FileDialogResult choice = platform::prompt().fileDialog(request);
        if (choice.fileTitle.isEmpty()) {
            oError().HandleError(QStringLiteral("COpen.NewCase"),
                                 QStringLiteral("Enter a case name."), 0, true);
            choice = platform::prompt().fileDialog(request);
        }

        // Everything is checked before anything of the open case changes.
        const QString path = withCaseExtension(choice.fileName);
        if (path.isEmpty())
            return kFailed;
        if (QFileInfo::exists(path)) {
            oError().HandleError(
                QStringLiteral("COpen.NewCase"),
                QStringLiteral("This case already exists.  Please pick a case name not in use."), 0,
                false);
            return kFailed;
        }
        // The case being left keeps what was typed into it, or the user
        // chose to leave what could not be written.
        if (!frm.WritePendingEdits())
            return kFailed;
        bool templateRefused = false;
        try {
            writeDurably(path, QStringLiteral("COpen.NewCase"), [&](const QString& temp) {
                // Only a copy that opens as a case takes the chosen name: one
                // of a damaged template would keep the name taken by a file
                // no one can open.
                try {
                    copyFile(templatePath(), temp, path);
                    auto made = dao::DBEngine::OpenDatabase(temp);
                    const bool isCase = made->tableExists(QStringLiteral("Issue"));
                    made->Close();
                    if (!isCase)
                        throw AppError(jet::UnrecognizedFormat, QStringLiteral("COpen.NewCase"),
                                       QStringLiteral("it holds no table Issue"));
                } catch (const AppError& e) {
                    if (!isNoCaseFile(e.number()))
                        throw;
                    templateRefused = true;
                    QString cause = e.description();
                    throw AppError(e.number(), e.source(),
                                   cause.replace(temp, templatePath())
                                       .replace(QDir::toNativeSeparators(temp),
                                                QDir::toNativeSeparators(templatePath())));
                }
            });
        } catch (const AppError& e) {
            // Any cause but the template is told as itself (a copy that failed
            // on a full disk or without the template, a fresh copy that could
            // not be opened, a name that could not be taken) where nothing is
            // at the name; a file there now (the copy, before its folder could
            // be flushed) is no such case.
            if (!templateRefused && !QFileInfo::exists(path)) {
                oError().HandleError(QStringLiteral("COpen.NewCase"),
                                     QStringLiteral("No new case was made at %1: %2\nThe case "
                                                    "open before stays open.")
                                         .arg(QDir::toNativeSeparators(path), e.description()),
                                     0, false);
                return kFailed;
            }
            if (!templateRefused)
                throw;
            oError().HandleError(
                QStringLiteral("COpen.NewCase"),
                QStringLiteral("No new case was made: the blank case template %1, which every "
                               "new case is a copy of, does not open as a case: %2\nIt may "
                               "need to be installed again; the case open before stays open.")
                    .arg(QDir::toNativeSeparators(templatePath()), e.description()),
                0, false);
            return kFailed;
        }
        if (oDataLayer().Connected() && oDataLayer().CloseConnection() != 0) {
            QFile::remove(path);
            oError().HandleError(QStringLiteral("COpen.NewCase"), kUnableToSave, 0, true);
            return kFailed;
        }

        oDataLayer().setDataSource(path);
        oUtility().setCaseName(withCaseExtension(choice.fileTitle));
        oMain().setStrFileName(path);

        if (frm.SetupDBConnection()) {
            showOpenedCase(frm);
            frm.setCaseMenusEnabled(true);
            if (frm.pnlStartLeft() > kParkedLeft)
                frm.setPnlStartLeft(kShownLeft);
            // The grid tab loads afresh for the new case.
            frm.UnloadAnalysisWindow();
        } else {
            frm.EnableControls(false);
        }
        return kDone;
    } catch (...) {
        classFailure("NewCase");
    }
}

int16_t COpen::SaveAsCase(ICaseWindow& frm)
{
    try {
        platform::FileDialogRequest request;
        request.save = true;
        request.title = kSaveTitle;
        request.filter = caseFilter();
        request.flags = kSaveFlags;
        request.defaultSuffix = kCaseSuffix;
        request.initDir = saveAsFolder();
        const platform::FileDialogResult choice = platform::prompt().fileDialog(request);

        // A refusal leaves the data layer and the path on the open case.
        const QString path = withCaseExtension(choice.fileName);
        if (path.isEmpty())
            return kFailed;
        if (QFileInfo::exists(path)) {
            oError().HandleError(
                QStringLiteral("COpen.SaveAsCase"),
                QStringLiteral("This file already exists.  Please pick a file name not in use."), 0,
                false);
            return kFailed;
        }
        // The copy holds what was typed last, or the user chose to leave
        // what could not be written.
        if (!frm.WritePendingEdits())
            return kFailed;

        // The open database copies itself consistently, through its own
        // connection: a case file deleted or moved while open is still saved.
        // The copy takes the name only once it opens as a case; a closed
        // file is copied as it lies. Until then the open case stays as it
        // was, and the user is told so.
        try {
            // A large case takes a while to copy; the pointer goes back before
            // any message.
            CWaitCursor wait;
            wait.SetCursor(CWaitCursor::kHourglass);
            writeDurably(path, QStringLiteral("COpen.SaveAsCase"), [&](const QString& temp) {
                if (gDB && gDB->isOpen())
                    gDB->copyTo(temp);
                else
                    copyFile(oMain().strFileName(), temp, path);
            });
        } catch (const AppError& e) {
            oError().HandleError(QStringLiteral("COpen.SaveAsCase"),
                                 QStringLiteral("The case could not be saved as %1: %2\nNothing "
                                                "was written there, and the case stays open as "
                                                "it was.")
                                     .arg(QDir::toNativeSeparators(path), e.description()),
                                 0, false);
            return kFailed;
        }
        if (dataLayerOpen() && oDataLayer().CloseConnection() != 0) {
            QFile::remove(path);
            oError().HandleError(QStringLiteral("COpen.SaveAsCase"), kUnableToSave, 0, true);
            return kFailed;
        }

        if (gDB) {
            auto db = std::move(gDB);
            gDB.reset();
            db->Close();
        }
        frm.DoCaseClose();

        // After the case close, which forgets the open case's names.
        oMain().setStrFileName(path);
        oUtility().setCaseDSN(path);
        oUtility().setCaseName(withCaseExtension(choice.fileTitle));
        oDataLayer().setDataSource(path);

        if (frm.SetupDBConnection()) {
            showOpenedCase(frm);
            frm.UnloadAnalysisWindow();
        } else {
            frm.EnableControls(false);
        }
        return kDone;
    } catch (...) {
        classFailure("SaveAsCase");
    }
}

int16_t COpen::OpenCase()
{
    try {
        oDataLayer().setProvider(kProvider);
        return oDataLayer().GetConnected() == 0 ? kDone : kFailed;
    } catch (const AppError& e) {
        oError().HandleError(QStringLiteral("clsOpen.OpenCase"), e.description(), e.number(), true);
    } catch (const std::exception& e) {
        oError().HandleError(QStringLiteral("clsOpen.OpenCase"), QString::fromLocal8Bit(e.what()),
                             kClassFailure, true);
    }
    return kFailed;
}

int16_t COpen::GetDBName(ICaseWindow&)
{
    try {
        platform::FileDialogRequest request;
        request.title = QStringLiteral("Open a Case");
        request.filter = caseFilter();
        request.flags = kOpenFlags;
        request.initDir = openFolder();
        const platform::FileDialogResult choice = platform::prompt().fileDialog(request);
        // A cancelled dialog keeps the case that was chosen before.
        if (choice.cancelled())
            return 0;
        oMain().setStrFileName(choice.fileName);
        oMain().setCaseName(choice.fileTitle);
        if (!oMain().strFileName().isEmpty())
            oMain().setCaseType(QStringLiteral("Existing"));
    } catch (const AppError& e) {
        oError().HandleError(QStringLiteral("clsOpen.GetDBName"), e.description(), e.number(),
                             true);
    } catch (const std::exception& e) {
        oError().HandleError(QStringLiteral("clsOpen.GetDBName"), QString::fromLocal8Bit(e.what()),
                             kClassFailure, true);
    }
    return 0;
}
