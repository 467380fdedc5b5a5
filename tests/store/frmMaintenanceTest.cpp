#include "store/forms/frmMaintenance.h"
#include "platform/db/Ado.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"
#include "store/CUtility.h"
#include "store/CWaitCursor.h"
#include "store/CaseMaintenance.h"

#include "platform/core/DurableFile.h"
#include "platform/core/Shell.h"
#include "store/RecordsTestSupport.h"
#include "support/ScriptedShell.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace recordstest;
using platform::MsgIcon;

namespace {

const QString kNoCase = QStringLiteral("No case selected.  Select a case to maintain first.");
const QString kOpenCase =
    QStringLiteral("Cannot maintain the open case.  Select another case to maintain.");

// Whether another program finds the file locked against beginning a write:
// the byte the engine locks for a writer is taken. A process never sees its
// own locks, so a child process looks.
bool lockedForOtherPrograms(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(name.constData(), O_RDONLY);
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        probe.l_start = 0x40000001; // past the 1 GiB mark, beside the readers' bytes
        probe.l_len = 1;
        const bool locked = fd >= 0 && ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
        ::_exit(locked ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// The number of the error body raises, 0 when none.
int errorNumberOf(const std::function<void()>& body)
{
    try {
        body();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

gid_t groupOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_gid : gid_t(-1);
}

class CaseMaintenanceTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        QDir(cases.folder()).mkpath(QStringLiteral("open"));
        openPath = cases.createSample(QStringLiteral("open/Open.AGV"));
        oMain().setStrFileName(openPath);
        oUtility().setCaseName(QStringLiteral("Open.AGV"));
        gDB = dao::DBEngine::OpenDatabase(openPath);
    }

    // A closed case with free space left by deleted rows.
    QString closedCase(const QString& name = QStringLiteral("Other.AGV"))
    {
        const QString path = cases.createSample(name);
        auto db = dao::DBEngine::OpenDatabase(path);
        db->Execute(QStringLiteral("insert into Bookmarks (CodeID, Description) values (1, '") +
                    QString(4000, QLatin1Char('x')) + QStringLiteral("')"));
        db->Execute(QStringLiteral("delete from Bookmarks where codeid = 1"));
        db->Close();
        return path;
    }

    QStringList leftovers() const
    {
        return QDir(cases.folder())
            .entryList(QStringList{QStringLiteral("*.compact-*")}, QDir::Files | QDir::Hidden);
    }

    ScriptedShell shell;
    TempCase cases;
    QString openPath;
};

// In a folder named in other letters, with an older backup and the
// temporary copy of a crashed run beside the case.
TEST_F(CaseMaintenanceTest, SuccessfulRunCompactsKeepsTheOriginalAsOldAndShutsDown)
{
    const QString folderName = QStringLiteral("F\u00e4lle \u03a9\u03bc\u03ad\u03b3\u03b1");
    ASSERT_TRUE(QDir(cases.folder()).mkpath(folderName));
    const QString path = closedCase(folderName + QStringLiteral("/M\u00fcller.AGV"));
    writeFile(path + QStringLiteral(".OLD"), "an older backup");
    writeFile(path + QStringLiteral(".compact-Ab12Cd"), "half a compacted copy");
    writeFile(path + QStringLiteral(".compact-Ab12Cd-journal"), "its journal");
    const QByteArray original = fileBytes(path);

    // The wait pointer shows while the case is copied and compacted, and is
    // gone before the messages.
    int pointerDuringRun = 0;
    QList<int> pointersAtMessages;
    durable::setBeforeMoveHook([&](const QString&, const QString&) {
        pointerDuringRun = platform::screen().mousePointer();
    });
    prompt.whileMessageShown(
        [&](const QString&) { pointersAtMessages << platform::screen().mousePointer(); });
    CaseMaintenance maintenance;
    EXPECT_TRUE(maintenance.run(QStringLiteral("  ") + path + QStringLiteral(" ")));
    durable::setBeforeMoveHook({});
    EXPECT_EQ(pointerDuringRun, CWaitCursor::kHourglass);
    EXPECT_EQ(pointersAtMessages, (QList<int>{0, 0}));

    EXPECT_EQ(fileBytes(path + QStringLiteral(".OLD")), original);
    EXPECT_EQ(countIn(path, QStringLiteral("Issue")), 10);
    EXPECT_EQ(countIn(path, QStringLiteral("Bookmarks")), 1);
    EXPECT_LE(QFileInfo(path).size(), original.size());
    EXPECT_EQ(
        QDir(cases.path(folderName)).entryList(QDir::Files | QDir::Hidden),
        (QStringList{QStringLiteral("M\u00fcller.AGV"), QStringLiteral("M\u00fcller.AGV.OLD")}));
    EXPECT_EQ(prompt.messages(),
              (QStringList{QStringLiteral("System Maintenance has been successful."),
                           QStringLiteral("You must now restart Argovo 2003")}));
    EXPECT_EQ(shell.quitCount, 1);
    EXPECT_FALSE(gDB);
}

// A pipe named as a case among them, which is never waited on.
TEST_F(CaseMaintenanceTest, FailureIsReportedAndLeavesTheFileIntactWithNoTemporaryCopy)
{
    const QString path = cases.path(QStringLiteral("Broken.AGV"));
    writeFile(path, "this is not a case database");
    const QString pipe = cases.path(QStringLiteral("Pipe.AGV"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    qsizetype runs = 0;
    for (const QString& file : {path, pipe}) {
        SCOPED_TRACE(file.toStdString());
        prompt.clear();
        CaseMaintenance maintenance;
        EXPECT_FALSE(maintenance.run(file));

        EXPECT_TRUE(leftovers().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".OLD")));
        EXPECT_EQ(shell.quitCount, 0);
        ASSERT_EQ(prompt.count(QStringLiteral("message")), 1);
        EXPECT_TRUE(prompt.messages().front().startsWith(QStringLiteral("A technical Error")));
        EXPECT_EQ(platform::screen().mousePointer(), 0);
        const QStringList log = folder.logLines();
        ASSERT_EQ(log.size(), ++runs);
        EXPECT_TRUE(
            log.back().contains(QStringLiteral("CALLING PROCEDURE: frmMaintenance.cmdGo ")));
        EXPECT_TRUE(
            log.back().contains(QStringLiteral("Unrecognized database format '%1'").arg(file)))
            << log.back().toStdString();
        EXPECT_TRUE(gDB && gDB->isOpen());
    }
    EXPECT_EQ(fileBytes(path), QByteArray("this is not a case database"));
}

TEST_F(CaseMaintenanceTest, OpenCaseIsRefusedByItsNameInAnotherFolderOrByAnotherPathToIt)
{
    // The same file name in another folder, as chosen through the dialog.
    const QString sameName = closedCase(QStringLiteral("Open.AGV"));
    ASSERT_NE(QFileInfo(sameName).canonicalFilePath(), QFileInfo(openPath).canonicalFilePath());
    prompt.chooseFile(sameName);
    CaseMaintenance byTitle;
    EXPECT_EQ(byTitle.chooseFile(), sameName);
    EXPECT_EQ(byTitle.fileTitle(), QStringLiteral("Open.AGV"));
    EXPECT_FALSE(byTitle.run(sameName));

    // The open case itself under another name.
    const QString alias = cases.path(QStringLiteral("Alias.AGV"));
    ASSERT_TRUE(QFile::link(openPath, alias));
    const QByteArray before = fileBytes(openPath);
    CaseMaintenance byFile;
    EXPECT_FALSE(byFile.run(alias));

    EXPECT_EQ(prompt.messages(), (QStringList{kOpenCase, kOpenCase}));
    EXPECT_EQ(fileBytes(openPath), before);
    for (const QString& file : {sameName, alias, openPath})
        EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".OLD"))) << file.toStdString();
    EXPECT_EQ(shell.quitCount, 0);
}

// The user opened the backup to recover work from it: maintenance of the
// case it backs up, chosen by name or through a link, would replace it.
TEST_F(CaseMaintenanceTest, ACaseWhoseBackupIsTheOpenCaseIsRefused)
{
    const QString path = closedCase(QStringLiteral("X.AGV"));
    const QString backup = path + QStringLiteral(".OLD");
    ASSERT_TRUE(QFile::copy(path, backup));
    const QString link = cases.path(QStringLiteral("Link.AGV"));
    ASSERT_TRUE(QFile::link(path, link));
    gDB->Close();
    oMain().setStrFileName(backup);
    oUtility().setCaseName(QStringLiteral("X.AGV.OLD"));
    gDB = dao::DBEngine::OpenDatabase(backup);
    gDB->Execute(QStringLiteral("update Issue set Explanation = 'recovered' where ID = 1"));
    const QByteArray before = fileBytes(path);

    for (const QString& chosen : {path, link}) {
        CaseMaintenance maintenance;
        EXPECT_FALSE(maintenance.run(chosen)) << chosen.toStdString();
    }

    const QString refused =
        QStringLiteral("The open case %1 is this case's backup, and maintenance would replace "
                       "it.  Open another case first, then maintain this one.")
            .arg(QFileInfo(backup).canonicalFilePath());
    EXPECT_EQ(prompt.messages(), (QStringList{refused, refused}));
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(
        stored(backup, QStringLiteral("Issue"), QStringLiteral("Explanation"), QStringLiteral("1")),
        QStringLiteral("recovered"));
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_EQ(shell.quitCount, 0);
}

// Another running copy of the program has the case open and stores an edit
// while maintenance runs: from the copy until the case is replaced the file
// is locked, so the store is refused there instead of going into the file
// about to be replaced.
TEST_F(CaseMaintenanceTest, AnEditStoredElsewhereDuringTheRunIsRefusedNotLost)
{
    const QString path = closedCase();
    const QVariant explanation =
        stored(path, QStringLiteral("Issue"), QStringLiteral("Explanation"), QStringLiteral("1"));
    const QString update =
        QStringLiteral("update Issue set Explanation = 'typed elsewhere' where ID = 1");
    auto elsewhere = dao::DBEngine::OpenDatabase(path);
    elsewhere->setWaitForBusyFile(false);
    // A save begun during the copy that would end only after it, as one
    // waiting for the file does.
    auto saving = dao::DBEngine::OpenDatabase(path);
    saving->setWaitForBusyFile(false);
    int begun = -1;
    struct Attempt {
        int number;
        bool locked;
    };
    std::vector<Attempt> attempts;
    durable::setBeforeMoveHook([&](const QString&, const QString&) {
        // Looked at first: a write tried here takes the lock again for this
        // program, whatever it had let go of.
        const bool locked = lockedForOtherPrograms(path);
        if (attempts.empty()) {
            saving->Execute(QStringLiteral("BEGIN"));
            begun = errorNumberOf([&] { saving->Execute(update); });
        }
        const int number = errorNumberOf([&] { elsewhere->Execute(update); });
        attempts.push_back({number, locked});
    });
    CaseMaintenance maintenance;
    const bool ran = maintenance.run(path);
    durable::setBeforeMoveHook({});
    elsewhere->Close();
    // Once the run lets go, the save ends and a write that waited meanwhile
    // is tried, on the file the save holds, which is no longer the case.
    const int ended = errorNumberOf([&] { saving->Execute(QStringLiteral("COMMIT")); });
    const AppError retried = raised([&] { saving->Execute(update); });
    saving->Close();

    EXPECT_TRUE(ran);
    EXPECT_EQ(begun, jet::RecordLocked);
    EXPECT_EQ(ended, 0);
    // Told as what happened, not as a read-only file, and what to do.
    EXPECT_EQ(retried.number(), jet::ReadOnly);
    EXPECT_EQ(retried.description(),
              QStringLiteral("The case file was moved, renamed, replaced or deleted while it was "
                             "open here, for example by System Maintenance in another copy of "
                             "Argovo, so nothing more can be stored in it. Close the case and "
                             "open it again; what was typed is still on the screen."));
    // Before the backup and before the compacted case take their names.
    ASSERT_EQ(attempts.size(), 2u);
    for (const Attempt& attempt : attempts) {
        EXPECT_EQ(attempt.number, jet::RecordLocked);
        EXPECT_TRUE(attempt.locked);
    }
    for (const QString& file : {path, path + QStringLiteral(".OLD")})
        EXPECT_EQ(stored(file, QStringLiteral("Issue"), QStringLiteral("Explanation"),
                         QStringLiteral("1")),
                  explanation)
            << file.toStdString();
}

// A save another copy of the program has under way when the run starts is
// waited for, and is in the compacted case.
TEST_F(CaseMaintenanceTest, ASaveUnderWayElsewhereWhenTheRunStartsIsKept)
{
    const QString path = closedCase();
    auto saving = dao::DBEngine::OpenDatabase(path);
    saving->Execute(QStringLiteral("BEGIN"));
    saving->Execute(
        QStringLiteral("update Issue set Explanation = 'saved elsewhere' where ID = 1"));
    int committed = -1;
    std::thread commit([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        committed = errorNumberOf([&] { saving->Execute(QStringLiteral("COMMIT")); });
    });
    CaseMaintenance maintenance;
    const bool ran = maintenance.run(path);
    commit.join();
    saving->Close();

    EXPECT_TRUE(ran);
    EXPECT_EQ(committed, 0);
    EXPECT_EQ(
        stored(path, QStringLiteral("Issue"), QStringLiteral("Explanation"), QStringLiteral("1")),
        QVariant(QStringLiteral("saved elsewhere")));
}

// The compacted case and its backup carry the case's group and permission
// bits, and a case reached through a link is compacted where it lies, the
// link kept.
TEST_F(CaseMaintenanceTest, TheCaseKeepsItsPermissionsAndALinkToItStaysALink)
{
    const bool superuser = ::geteuid() == 0;
    // The superuser may give the case a group it is not in (nogroup).
    const gid_t group = superuser ? gid_t(65534) : ::getegid();
    for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0444)}) {
        const QString path = closedCase(QStringLiteral("Mode%1.AGV").arg(mode, 0, 8));
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), uid_t(-1), group), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        const QByteArray before = fileBytes(path);
        const bool mayWrite = (mode & 0200) || superuser;

        EXPECT_EQ(errorNumberOf([&] { CaseMaintenance::compactWithBackup(path); }),
                  mayWrite ? 0 : 75)
            << std::oct << mode;

        EXPECT_EQ(modeOf(path), mode) << std::oct << mode;
        EXPECT_EQ(groupOf(path), group) << std::oct << mode;
        if (mayWrite) {
            EXPECT_EQ(modeOf(path + QStringLiteral(".OLD")), mode) << std::oct << mode;
            EXPECT_EQ(groupOf(path + QStringLiteral(".OLD")), group) << std::oct << mode;
            EXPECT_EQ(fileBytes(path + QStringLiteral(".OLD")), before);
            EXPECT_NE(fileBytes(path), before);
        } else {
            EXPECT_EQ(fileBytes(path), before);
            EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".OLD")));
        }
    }

    ASSERT_TRUE(QDir(cases.folder()).mkpath(QStringLiteral("server")));
    const QString real = closedCase(QStringLiteral("server/Real.AGV"));
    const QByteArray before = fileBytes(real);
    const QString link = cases.path(QStringLiteral("Link.AGV"));
    ASSERT_TRUE(QFile::link(real, link));
    CaseMaintenance::compactWithBackup(link);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QFileInfo(real).absoluteFilePath());
    EXPECT_NE(fileBytes(real), before);
    EXPECT_EQ(countIn(real, QStringLiteral("Bookmarks")), 1);
    EXPECT_EQ(fileBytes(real + QStringLiteral(".OLD")), before);
    EXPECT_FALSE(QFileInfo::exists(link + QStringLiteral(".OLD")));
    EXPECT_TRUE(leftovers().isEmpty());
}

// Maintenance gives the compacted case to one name: a case file of two names
// (hard links) would become two cases, each going on without the other's
// changes.
TEST_F(CaseMaintenanceTest, ACaseFileOfTwoNamesIsRefusedWithNothingChanged)
{
    const QString path = closedCase(QStringLiteral("Matter.AGV"));
    ASSERT_TRUE(QDir(cases.folder()).mkpath(QStringLiteral("active")));
    const QString other = cases.path(QStringLiteral("active/Matter.AGV"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    const QByteArray before = fileBytes(path);
    const auto refusal = [](const QString& name) {
        return QStringLiteral("The case file %1 has 2 names (hard links to one file), and "
                              "maintenance would give the compacted case to this name only: the "
                              "other names would keep the old file, as another case.  Copy the "
                              "case to a file of its own, or remove its other names, and "
                              "maintain that.  Nothing was changed.")
            .arg(QFileInfo(name).canonicalFilePath());
    };

    CaseMaintenance maintenance;
    EXPECT_FALSE(maintenance.run(other));
    EXPECT_EQ(prompt.messages(), QStringList{refusal(other)});
    const AppError e = raised([&] { CaseMaintenance::compactWithBackup(path); });
    EXPECT_EQ(e.number(), 75);
    EXPECT_EQ(e.description(), refusal(path));
    struct stat first {
    }, second{};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &first), 0);
    ASSERT_EQ(::stat(QFile::encodeName(other).constData(), &second), 0);
    EXPECT_EQ(first.st_ino, second.st_ino);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".OLD")));
    EXPECT_FALSE(QFileInfo::exists(other + QStringLiteral(".OLD")));
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_EQ(shell.quitCount, 0);
}

TEST_F(CaseMaintenanceTest, ACaseTheUserMayNotWriteIsRefusedWithNothingChanged)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write any file: the refusal needs another user";
    const QString locked = closedCase(QStringLiteral("Locked.AGV"));
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0444), 0);
    const QByteArray before = fileBytes(locked);
    CaseMaintenance maintenance;
    EXPECT_FALSE(maintenance.run(locked));
    EXPECT_EQ(prompt.messages(),
              QStringList{QStringLiteral("You may not change the case file %1, so it cannot be "
                                         "maintained.  Nothing was changed.")
                              .arg(QFileInfo(locked).canonicalFilePath())});
    EXPECT_EQ(fileBytes(locked), before);
    EXPECT_EQ(modeOf(locked), mode_t(0444));
    EXPECT_FALSE(QFileInfo::exists(locked + QStringLiteral(".OLD")));
    EXPECT_EQ(shell.quitCount, 0);
}

TEST_F(CaseMaintenanceTest, GoWithoutAFileOrWithNoCaseOpenStopsButStillClosesTheDataLayer)
{
    oDataLayer().setDataSource(openPath);
    ASSERT_EQ(oDataLayer().GetConnected(), 0);

    CaseMaintenance maintenance;
    EXPECT_FALSE(maintenance.run(CaseMaintenance::kPlaceholder));
    EXPECT_FALSE(maintenance.run(QStringLiteral("   ")));
    EXPECT_EQ(prompt.messages(), (QStringList{kNoCase, kNoCase}));
    EXPECT_EQ(prompt.shown().front().icon, MsgIcon::Information);
    EXPECT_FALSE(oDataLayer().Connected());
    EXPECT_EQ(oDataLayer().Connection()->State(), ado::adStateClosed);
    EXPECT_TRUE(folder.logLines().isEmpty());

    // With no case open nothing happens, silently.
    oUtility().setCaseName(QString());
    const QString path = closedCase();
    const QByteArray before = fileBytes(path);
    prompt.clear();
    EXPECT_FALSE(maintenance.run(path));
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(shell.quitCount, 0);
}

// --- the window -------------------------------------------------------------------

TEST_F(CaseMaintenanceTest, WindowShowsItsTextsUnderTheControlNamesAndItsButtonsChooseExplainAndRun)
{
    frmMaintenance window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Argovo 2003 System Maintenance"));
    const std::pair<const char*, QString> texts[] = {
        {"Frame1", QStringLiteral("Run Maintenance")},
        {"lblWarning", CaseMaintenance::kWarning},
        {"txtFile", CaseMaintenance::kPlaceholder},
        {"cmdOpen", QStringLiteral("&Open")},
        {"cmdGo", QStringLiteral("&Go")},
        {"cmdCancel", QStringLiteral("&Cancel")},
    };
    for (const auto& [name, text] : texts) {
        const QWidget* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_TRUE(widget) << name;
        const QVariant shown =
            widget->property(qobject_cast<const QGroupBox*>(widget) ? "title" : "text");
        EXPECT_EQ(shown.toString(), text) << name;
    }
    ASSERT_TRUE(window.findChild<QPushButton*>(QStringLiteral("cmdMore")));

    // Its buttons choose, explain and run.
    const QString path = closedCase();
    window.show();
    auto* file = window.findChild<QLineEdit*>(QStringLiteral("txtFile"));

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdMore")), Qt::LeftButton);
    ASSERT_EQ(prompt.count(QStringLiteral("message")), 1);
    EXPECT_EQ(prompt.shown().back().title, QStringLiteral("What Maintenance Does"));
    EXPECT_TRUE(prompt.shown().back().text.startsWith(
        QStringLiteral("As you change data in a case, the case file can become fragmented")));

    prompt.chooseFile(path);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOpen")), Qt::LeftButton);
    EXPECT_EQ(file->text(), path);
    const auto& request = prompt.shown().back().file;
    EXPECT_EQ(request.title, QStringLiteral("Open a Case"));
    EXPECT_EQ(request.flags, 0x201004);
    EXPECT_FALSE(request.save);

    prompt.cancelFile();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOpen")), Qt::LeftButton);
    EXPECT_EQ(file->text(), path);

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    EXPECT_EQ(shell.quitCount, 1);
    EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral(".OLD")));

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());

    // Shown again, as the main window shows the window it keeps, it starts
    // afresh: Go runs on no file chosen before.
    window.show();
    EXPECT_EQ(file->text(), CaseMaintenance::kPlaceholder);
    EXPECT_EQ(file->cursorPosition(), 0); // the message is read from its start
    EXPECT_TRUE(window.maintenance().fileTitle().isEmpty());
    prompt.clear();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    EXPECT_EQ(prompt.messages(), QStringList{kNoCase});
    EXPECT_EQ(shell.quitCount, 1);
}

} // namespace
