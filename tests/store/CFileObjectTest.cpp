#include "store/CFileObject.h"
#include "platform/core/DurableFile.h"
#include "store/CIssue.h"

#include "store/RecordsTestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <unistd.h>

using namespace recordstest;

namespace {

class CFileObjectTest : public RecordTest {
protected:
    QString source(const QString& name, const QByteArray& bytes)
    {
        const QString file = cases.path(name);
        writeFile(file, bytes);
        return file;
    }

    // The pane's add sequence.
    QString add(const QString& itemKey, const QString& file)
    {
        CIssue item;
        item.Initialise(db, itemKey);
        CFileObject doc;
        doc.Initialise(db, QString());
        doc.setCodeID(item.Key());
        doc.setStoredFile(file);
        doc.Commit();
        return doc.Key();
    }

    QByteArray exported(const QString& key, const QString& target)
    {
        CFileObject doc;
        doc.Initialise(db, key);
        doc.SaveToFile(target);
        return fileBytes(target);
    }

    static void touch(const QString& file, const QDateTime& when)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }

    QVariant column(const QString& name, const QString& key)
    {
        return stored(path, QStringLiteral("codefiles"), name, key);
    }
    void expectDocument(const QString& key, std::initializer_list<Column> columns)
    {
        expectRow(path, QStringLiteral("codefiles"), key, columns);
    }
};

// --- bytes in and out -------------------------------------------------------

class CFileObjectSizeTest : public CFileObjectTest, public ::testing::WithParamInterface<int> {};

// Exported over a longer file, which must end where the document does.
TEST_P(CFileObjectSizeTest, DocumentRoundTripsByteForByte)
{
    const QByteArray bytes = patternBytes(GetParam());
    const QString file = source(QStringLiteral("brief.bin"), bytes);
    const QString key = add(QStringLiteral("3"), file);
    ASSERT_FALSE(key.isEmpty());

    EXPECT_EQ(column(QStringLiteral("file"), key).toByteArray(), bytes);
    const QString target = source(QStringLiteral("existing.bin"), patternBytes(70000, 9));
    EXPECT_EQ(exported(key, target), bytes);
}

INSTANTIATE_TEST_SUITE_P(ChunkBoundaries, CFileObjectSizeTest,
                         ::testing::Values(0, 1, 16383, 16384, 16385, 3 * 16384));

TEST_F(CFileObjectTest, ExportOfADeletedRowWritesNothingAndAFailedWriteNamesTheExport)
{
    const QString key = add(QStringLiteral("3"), source(QStringLiteral("a.txt"), "abc"));
    CFileObject doc;
    doc.Initialise(db, key);
    const AppError e =
        raised([&] { doc.SaveToFile(cases.path(QStringLiteral("no such folder/out.txt"))); });
    EXPECT_TRUE(e.source().endsWith(QStringLiteral("::CFileObject_SaveToFile"))) << e.what();

    db->Execute(QStringLiteral("delete from codefiles where id = ") + key);
    const QString target = cases.path(QStringLiteral("never.txt"));
    EXPECT_NO_THROW(doc.SaveToFile(target));
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(CFileObjectTest, AnExportFailingBeforeItsEndLeavesTheTargetAsItWas)
{
    const QString key =
        add(QStringLiteral("3"), source(QStringLiteral("a.bin"), patternBytes(40000)));
    const QString target = source(QStringLiteral("existing.bin"), "old content");
    durable::setBeforeMoveHook([](const QString&, const QString&) {
        throw AppError(61, QStringLiteral("Argovo"), QStringLiteral("Disk full"));
    });
    const AppError e = raised([&] { exported(key, target); });
    durable::setBeforeMoveHook({});
    EXPECT_EQ(e.number(), 61);
    EXPECT_EQ(fileBytes(target), QByteArray("old content"));
    EXPECT_EQ(QDir(cases.folder()).entryList({QStringLiteral("existing.bin*")}, QDir::Files),
              QStringList{QStringLiteral("existing.bin")});
}

// Any name of the case's own file, even the one it was moved to while open.
TEST_F(CFileObjectTest, AnExportOntoTheCaseFileUnderAnyOfItsNamesIsRefusedWithNothingWritten)
{
    const QString key = add(QStringLiteral("3"), source(QStringLiteral("a.txt"), "the brief"));
    const QByteArray caseBytes = fileBytes(path);
    const QString linked = cases.path(QStringLiteral("Linked.AGV"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(linked).constData()),
              0);
    const QString symbolic = cases.path(QStringLiteral("Shortcut.AGV"));
    ASSERT_TRUE(QFile::link(path, symbolic));
    const QString moved = cases.path(QStringLiteral("Moved.AGV"));
    const QStringList before = QDir(cases.folder()).entryList(QDir::Files | QDir::System);

    const auto expectRefused = [&](const QString& target, const QString& holder) {
        CFileObject doc;
        doc.Initialise(db, key);
        const AppError e = raised([&] { doc.SaveToFile(target); });
        EXPECT_EQ(e.number(), 75) << target.toStdString();
        EXPECT_EQ(e.description(), QStringLiteral("Path/File access error. '%1' is the open case "
                                                  "file; a document is never written over it. "
                                                  "Choose another file name.")
                                       .arg(target));
        EXPECT_EQ(fileBytes(holder), caseBytes) << target.toStdString();
    };
    for (const QString& target :
         {path, cases.folder() + QStringLiteral("/./Sample.AGV"), linked, symbolic})
        expectRefused(target, path);
    EXPECT_EQ(QDir(cases.folder()).entryList(QDir::Files | QDir::System), before);

    ASSERT_TRUE(QFile::rename(path, moved));
    expectRefused(moved, moved);
    EXPECT_EQ(exported(key, path), QByteArray("the brief")) << "the old name is free";
}

// A link is written through to the file it names, however it names it, and
// stays a link; a file replaced keeps the permission bits it had.
TEST_F(CFileObjectTest, AnExportOntoALinkReachesTheFileItNamesAndAReplacedFileKeepsItsAccess)
{
    const QString key = add(QStringLiteral("3"), source(QStringLiteral("a.txt"), "the brief"));
    ASSERT_TRUE(QDir(cases.folder()).mkpath(QStringLiteral("shared")));
    const QString real = cases.path(QStringLiteral("shared/evidence.txt"));
    const struct {
        const char* link;
        const char* names;
        const char* reaches;
    } links[] = {
        {"absolute.txt", nullptr, "shared/evidence.txt"},
        {"relative.txt", "shared/evidence.txt", "shared/evidence.txt"},
        {"chained.txt", "absolute.txt", "shared/evidence.txt"},
        {"up-and-back.txt", "shared/../shared/evidence.txt", "shared/evidence.txt"},
        {"dangling.txt", "shared/new.txt", "shared/new.txt"},
    };
    for (const auto& l : links) {
        const QString link = cases.path(QLatin1String(l.link));
        const QByteArray names = l.names ? QByteArray(l.names) : QFile::encodeName(real);
        ASSERT_EQ(::symlink(names.constData(), QFile::encodeName(link).constData()), 0);
    }
    for (const auto& l : links) {
        SCOPED_TRACE(l.link);
        writeFile(real, "old content");
        const QString link = cases.path(QLatin1String(l.link));
        EXPECT_EQ(exported(key, link), QByteArray("the brief"));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(fileBytes(cases.path(QLatin1String(l.reaches))), QByteArray("the brief"));
    }
    EXPECT_EQ(QDir(cases.path(QStringLiteral("shared"))).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("evidence.txt"), QStringLiteral("new.txt")}));

    struct stat info {};
    for (const mode_t mode : {mode_t(0640), mode_t(0664), mode_t(0400)}) {
        SCOPED_TRACE(mode);
        writeFile(real, "old content");
        ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), mode), 0);
        EXPECT_EQ(exported(key, cases.path(QStringLiteral("absolute.txt"))),
                  QByteArray("the brief"));
        ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
        QFile::remove(real);
    }
}

TEST_F(CFileObjectTest, ADocumentWithoutDatesOrPathStillExportsItsBytes)
{
    for (const char* cleared : {"OrigDateTime", "DateAdded", "Path"}) {
        const QString key = add(QStringLiteral("3"), source(QStringLiteral("a.bin"), "bytes"));
        db->Execute(QStringLiteral("update codefiles set %1 = NULL where id = %2")
                        .arg(QLatin1String(cleared), key));
        EXPECT_EQ(exported(key, cases.path(QStringLiteral("out.bin"))), QByteArray("bytes"))
            << cleared;
    }
}

// --- the row ------------------------------------------------------------------

TEST_F(CFileObjectTest, NewDocumentRowNamesItsItemFileAndDatesThatSortInTimeOrder)
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    const struct {
        const char* name;
        QDateTime changed;
    } files[] = {
        {"december.docx", QDateTime(QDate(2021, 12, 1), QTime(9, 30))},
        {"january.txt", QDateTime(QDate(2022, 1, 15), QTime(8, 0))},
        {"february.txt", QDateTime(QDate(2021, 2, 28), QTime(23, 59))},
    };
    for (const auto& f : files) {
        const QString file = source(QString::fromLatin1(f.name), "content");
        touch(file, f.changed);
        const QString key = add(QStringLiteral("3"), file);
        expectDocument(key,
                       {{"codeid", 3}, {"description", QLatin1String(f.name)}, {"path", file}});
        EXPECT_EQ(column(QStringLiteral("origdatetime"), key).toDateTime(), f.changed);
        EXPECT_GE(column(QStringLiteral("dateadded"), key).toDateTime(), before);
        EXPECT_EQ(oFileObject().DocPath(), file);
    }
    auto rs =
        db->OpenRecordset(QStringLiteral("select description from codefiles order by origdatetime"),
                          dao::dbOpenSnapshot);
    QStringList order;
    for (; !rs->EOF(); rs->MoveNext())
        order << rs->Fields(0).Value().toString();
    EXPECT_EQ(order, (QStringList{QStringLiteral("february.txt"), QStringLiteral("december.docx"),
                                  QStringLiteral("january.txt")}));
}

TEST_F(CFileObjectTest, FailedInsertStoresNothingAndStaysNew)
{
    // A name over the description column's 50 characters, a source file
    // that is not there, no ordinary file: a pipe (read for ever) and a
    // folder, and a file that cannot be opened. Of several files dropped at
    // once, only the message tells which one failed: each names its file.
    const QString pipe = cases.path(QStringLiteral("pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const struct {
        QString file;
        int number;
        bool noHandlesLeft = false; // the process may open no more files
    } failures[] = {
        {source(QString(56, QLatin1Char('d')) + QStringLiteral(".txt"), "bytes"),
         jet::FieldTooSmall},
        {cases.path(QStringLiteral("gone.pdf")), 53},
        {pipe, 75},
        {cases.folder(), 75},
        // Unreadable even to root, unlike a file without read permission.
        {source(QStringLiteral("unreadable.txt"), "bytes"), 75, true},
    };
    for (const auto& c : failures) {
        CFileObject doc;
        doc.Initialise(db, QString());
        doc.setCodeID(QStringLiteral("3"));
        doc.setStoredFile(c.file);
        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        if (c.noHandlesLeft) {
            // Descriptors go lowest first: the next one free is over the limit.
            const int next = ::open("/dev/null", O_RDONLY);
            ASSERT_GE(next, 0);
            ::close(next);
            rlimit none = saved;
            none.rlim_cur = rlim_t(next);
            ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
        }
        const AppError e = raised([&] { doc.Commit(); });
        ::setrlimit(RLIMIT_NOFILE, &saved);
        EXPECT_EQ(e.number(), c.number) << c.file.toStdString();
        if (c.number != jet::FieldTooSmall) {
            EXPECT_TRUE(e.description().contains(QLatin1Char('\'') + c.file + QLatin1Char('\'')))
                << e.description().toStdString();
        }
        EXPECT_EQ(e.source(), QStringLiteral("CFileObject::InsertObject"));
        EXPECT_EQ(doc.state(), stNew);
        EXPECT_EQ(doc.Key(), QString());
    }
    EXPECT_EQ(countIn(path, QStringLiteral("codefiles")), 0);
}

TEST_F(CFileObjectTest, UnchangedCommitKeepsTheRowAndReplacingTheFileStoresNewBytesAndPath)
{
    const QString first = source(QStringLiteral("first.txt"), "first");
    const QString key = add(QStringLiteral("3"), first);
    CFileObject unchanged;
    unchanged.Initialise(db, key);
    unchanged.Commit();
    expectDocument(key,
                   {{"description", QStringLiteral("first.txt")}, {"path", first}, {"codeid", 3}});
    EXPECT_EQ(column(QStringLiteral("file"), key).toByteArray(), QByteArray("first"));

    const QByteArray second = patternBytes(40000, 5);
    const QString secondFile = source(QStringLiteral("second.bin"), second);
    const QDateTime changed(QDate(2023, 3, 4), QTime(5, 6, 7));
    touch(secondFile, changed);

    CFileObject doc;
    doc.Initialise(db, key);
    doc.setStoredFile(secondFile);
    EXPECT_EQ(doc.state(), stChanged);
    doc.Commit();

    expectDocument(
        key, {{"path", secondFile}, {"description", QStringLiteral("second.bin")}, {"codeid", 3}});
    EXPECT_EQ(column(QStringLiteral("origdatetime"), key).toDateTime(), changed);
    EXPECT_EQ(exported(key, cases.path(QStringLiteral("back.bin"))), second);
}

TEST_F(CFileObjectTest, DeleteRemovesTheRowAndNoOther)
{
    const QString one = add(QStringLiteral("3"), source(QStringLiteral("one.txt"), "1"));
    const QString two = add(QStringLiteral("3"), source(QStringLiteral("two.txt"), "2"));
    CFileObject doc;
    doc.Initialise(db, one);
    doc.Delete();
    doc.Commit();
    EXPECT_EQ(doc.state(), stDeleted);
    EXPECT_EQ(countIn(path, QStringLiteral("codefiles where id = ") + one), 0);
    EXPECT_EQ(countIn(path, QStringLiteral("codefiles where id = ") + two), 1);
}

TEST_F(CFileObjectTest, NothingIsReadAtInitialiseKeyOrDelete)
{
    db->Close();
    CFileObject doc;
    doc.Initialise(db, QStringLiteral("1"));
    EXPECT_EQ(doc.Key(), QStringLiteral("1"));
    const AppError e = raised([&] { doc.setStoredFile(QStringLiteral("/tmp/x.txt")); });
    doc.Delete();
    EXPECT_EQ(e.number(), jet::ObjectClosed);
    EXPECT_EQ(e.source(), QStringLiteral("CFileObject:GetAttributes"));
}

// --- names --------------------------------------------------------------------

TEST(CFileObjectNames, FileNameIsThePartAfterTheLastSeparatorOfEitherKind)
{
    const std::pair<const char*, const char*> names[] = {
        {"/home/u/cases/brief.docx", "brief.docx"},
        {"C:\\cases\\brief.docx", "brief.docx"},
        {"C:\\cases\\notes.longextension", "notes.longextension"},
        {"brief.docx", "brief.docx"},
        {"/mnt/c\\mixed/dir\\x.pdf", "x.pdf"},
    };
    for (const auto& [path, name] : names)
        EXPECT_EQ(CFileObject::fileNameFromPath(QString::fromLatin1(path)), QLatin1String(name))
            << path;
}

TEST(CFileObjectNames, InstrLastFindsTheLastHitFromStartCaseSensitively)
{
    CFileObject doc;
    EXPECT_EQ(doc.InstrLast(1, QStringLiteral("a\\b\\c"), QStringLiteral("\\"), 1), 4);
    EXPECT_EQ(doc.InstrLast(1, QStringLiteral("abc"), QStringLiteral("\\"), 0), 0);
    EXPECT_EQ(doc.InstrLast(5, QStringLiteral("a\\b\\c"), QStringLiteral("\\"), 0), 0);
    EXPECT_EQ(doc.InstrLast(1, QStringLiteral("aXbxc"), QStringLiteral("x"), 1), 4);
    EXPECT_EQ(doc.InstrLast(1, QStringLiteral("aaaa"), QStringLiteral("aa"), 0), 3);
}

} // namespace
