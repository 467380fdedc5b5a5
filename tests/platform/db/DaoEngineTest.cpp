#include "DbTestHelpers.h"

#include "platform/db/CaseFileBuilder.h"
#include "platform/db/SqliteConnection.h"
#include "support/TempCase.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class DaoEngineTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        // No test may leave a workspace transaction behind for the next.
        while (errorNumberOf([] { dao::DBEngine::Rollback(); }) == 0) {
        }
    }

    TempCase cases;
};

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(DaoEngineTest, CommitKeepsAndRollbackUndoesTheDeletesOfABranch)
{
    const QString path = cases.createSample();
    auto db = dao::DBEngine::OpenDatabase(path);
    const QByteArray before = bytesOf(path);
    const auto deleteBranch = [&] {
        dao::DBEngine::BeginTrans();
        for (int id : {3, 4, 5})
            db->Execute(QStringLiteral("delete from Issue where id = %1").arg(id));
        db->Execute(QStringLiteral("delete from bookmarks where codeid = 3"));
        EXPECT_EQ(countRows(*db, QStringLiteral("Issue")), 7);
    };
    deleteBranch();
    dao::DBEngine::Rollback();
    EXPECT_EQ(countRows(*db, QStringLiteral("Issue")), 10);
    EXPECT_EQ(countRows(*db, QStringLiteral("Bookmarks")), 1);
    // Not even the header's change counter moves.
    EXPECT_EQ(bytesOf(path), before);

    deleteBranch();
    dao::DBEngine::CommitTrans();
    EXPECT_EQ(dumpTable(db->Name(), QStringLiteral("Issue")).size(), 7);
    EXPECT_EQ(errorNumberOf([] { dao::DBEngine::CommitTrans(); }), jet::NotInTransaction);
    EXPECT_EQ(errorNumberOf([] { dao::DBEngine::Rollback(); }), jet::NotInTransaction);
}

TEST_F(DaoEngineTest, AWriterBlockedByAnotherSessionGets3218)
{
    const QString path = cases.createSample();
    auto db = dao::DBEngine::OpenDatabase(path);
    auto other = openAdo(path);
    dao::DBEngine::BeginTrans();
    db->Execute(QStringLiteral("delete from Bookmarks"));
    const AppError error =
        raised([&] { other->Execute(QStringLiteral("delete from Issue where id = 10")); });
    dao::DBEngine::Rollback();
    EXPECT_EQ(error.number(), jet::RecordLocked);
    EXPECT_EQ(error.source(), QStringLiteral("ADO.Connection"));
    EXPECT_EQ(dumpTable(path, QStringLiteral("Issue")).size(), 10);
}

TEST_F(DaoEngineTest, AWriteRefusedAtItsEndForAReaderLeavesNoTransactionOpen)
{
    const QString path = cases.createSample();
    auto db = dao::DBEngine::OpenDatabase(path);
    const auto rename = [&](const char* name) {
        return errorNumberOf([&] {
            auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Issue WHERE ID = 1"));
            rs->Edit();
            rs->Fields(QStringLiteral("Name")).setValue(QLatin1String(name));
            rs->Update();
        });
    };
    // Another program reads the case for longer than a brief wait.
    auto reader = db::SqliteConnection::open(path, QStringLiteral("reader"),
                                             db::SqliteConnection::Mode::ReadOnly);
    db::Statement reading =
        reader->prepare(QStringLiteral("SELECT * FROM Issue"), QStringLiteral("reader"));
    ASSERT_EQ(sqlite3_step(reading.get()), SQLITE_ROW);
    db->setWaitForBusyFile(false);
    EXPECT_EQ(rename("typed 1"), jet::RecordLocked);
    db->setWaitForBusyFile(true);
    reading.reset();
    reader->close();

    EXPECT_EQ(rename("typed 2"), 0);
    // The write is in the file for every other reader, and stays when the
    // case closes.
    auto other = dao::DBEngine::OpenDatabase(path);
    EXPECT_EQ(countRows(*other, QStringLiteral("select * from Issue where Name = 'typed 2'")), 1);
    db->Close();
    EXPECT_EQ(countRows(*other, QStringLiteral("select * from Issue where Name = 'typed 2'")), 1);
}

TEST_F(DaoEngineTest, CompactionAndCopyRefuseAnExistingTargetAndCompactionBadSources)
{
    const QString source = cases.createSample();
    const QString existing = cases.create(QStringLiteral("Existing.AGV"));
    const QByteArray existingBytes = fileBytes(existing);
    EXPECT_EQ(errorNumberOf([&] { dao::DBEngine::CompactDatabase(source, existing); }),
              jet::DatabaseExists);
    EXPECT_EQ(errorNumberOf([&] { dao::DBEngine::OpenDatabase(source)->copyTo(existing); }),
              jet::DatabaseExists);
    EXPECT_EQ(fileBytes(existing), existingBytes);
    EXPECT_EQ(errorNumberOf([&] { dao::DBEngine::CompactDatabase(source, source); }),
              jet::DatabaseExists);

    const QString notes = cases.path(QStringLiteral("Notes.AGV"));
    writeFile(notes, QByteArray("not a case file at all").repeated(10));
    const QString gone = cases.path(QStringLiteral("Gone.AGV"));
    const QString target = cases.path(QStringLiteral("Out.AGV"));
    for (const auto& [bad, number] :
         {std::pair{notes, jet::UnrecognizedFormat}, std::pair{gone, jet::FileNotFound}}) {
        EXPECT_EQ(errorNumberOf([&] { dao::DBEngine::CompactDatabase(bad, target); }), number);
        EXPECT_FALSE(QFileInfo::exists(target));
    }
    EXPECT_FALSE(QFileInfo::exists(gone));
}

// The case as a crash in the middle of a write leaves it: pages of the write
// already in the file, the pages they replaced in the journal beside it.
void crashMidWrite(const QString& path, const QString& crashed)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    db::SqliteHandle handle(raw);
    // A cache of one page spills the write into the file before its commit.
    ASSERT_EQ(sqlite3_exec(raw,
                           "PRAGMA cache_size = 1; BEGIN; "
                           "UPDATE Issue SET Explanation = hex(randomblob(30000))",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    for (const QString& suffix : {QString(), QStringLiteral("-journal")})
        ASSERT_TRUE(QFile::copy(path + suffix, crashed + suffix));
    sqlite3_exec(raw, "ROLLBACK", nullptr, nullptr, nullptr);
}

// Read only, the cut-off write cannot be undone: that is told as such, not
// as damage, and both files are left for a writable open to undo it. The
// compaction undoes it first where the file may be written.
TEST_F(DaoEngineTest, AWriteCutOffByACrashIsUndoneBeforeCompactionAndNotCalledDamage)
{
    const QString path = cases.createSample();
    const QStringList issues = dumpTable(path, QStringLiteral("Issue"));
    const QString crashed = cases.path(QStringLiteral("Crashed.AGV"));
    const QString journal = crashed + QStringLiteral("-journal");
    ASSERT_NO_FATAL_FAILURE(crashMidWrite(path, crashed));
    const QByteArray crashedBytes = fileBytes(crashed);
    ASSERT_NE(crashedBytes, fileBytes(path));
    const QByteArray journalBytes = fileBytes(journal);

    const AppError refused = raised([&] {
        db::SqliteConnection::open(crashed, QStringLiteral("test"),
                                   db::SqliteConnection::Mode::ReadOnly);
    });
    EXPECT_EQ(refused.number(), 3027);
    EXPECT_TRUE(refused.description().startsWith(
        QStringLiteral("The case file %1 was not closed properly").arg(crashed)));
    EXPECT_EQ(fileBytes(crashed), crashedBytes);
    EXPECT_EQ(fileBytes(journal), journalBytes);

    const QString compacted = cases.path(QStringLiteral("Compacted.AGV"));
    EXPECT_EQ(errorNumberOf([&] { dao::DBEngine::CompactDatabase(crashed, compacted); }), 0);
    EXPECT_FALSE(QFileInfo::exists(journal));
    EXPECT_EQ(dumpTable(compacted, QStringLiteral("Issue")), issues);
    EXPECT_EQ(dumpTable(crashed, QStringLiteral("Issue")), issues);
}

TEST_F(DaoEngineTest, AWriteCutOffByACrashInAFileThatMayNotBeWrittenIsToldNotCompacted)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write any file: this needs another user";
    const QString crashed = cases.path(QStringLiteral("Crashed.AGV"));
    ASSERT_NO_FATAL_FAILURE(crashMidWrite(cases.createSample(), crashed));
    ASSERT_EQ(::chmod(QFile::encodeName(crashed).constData(), 0444), 0);
    const QByteArray crashedBytes = fileBytes(crashed);
    const QString compacted = cases.path(QStringLiteral("Compacted.AGV"));

    const AppError refused = raised([&] { dao::DBEngine::CompactDatabase(crashed, compacted); });

    EXPECT_EQ(refused.number(), 3027);
    EXPECT_TRUE(refused.description().contains(QStringLiteral("was not closed properly")));
    EXPECT_EQ(fileBytes(crashed), crashedBytes);
    EXPECT_TRUE(QFileInfo::exists(crashed + QStringLiteral("-journal")));
    EXPECT_FALSE(QFileInfo::exists(compacted));
}

TEST_F(DaoEngineTest, AppendTableDefCreatesTheDocumentsTableWithAnAutoNumberKey)
{
    const QString path = cases.path(QStringLiteral("Old.AGV"));
    db::createDatabaseFromScript(
        path, QStringLiteral("CREATE TABLE Issue (ID INTEGER PRIMARY KEY AUTOINCREMENT, ParentID "
                             "INTEGER, Name VARCHAR(255), ItemType VARCHAR(50));"));
    auto db = dao::DBEngine::OpenDatabase(path);
    EXPECT_EQ(errorNumberOf([&] { db->OpenRecordset(QStringLiteral("codefiles")); }),
              jet::TableNotFound);

    auto table = db->CreateTableDef(QStringLiteral("CodeFiles"));
    const std::tuple<const char*, int, int> fields[] = {
        {"ID", dao::dbLong, 0},           {"CodeID", dao::dbLong, 0},
        {"Description", dao::dbText, 50}, {"File", dao::dbLongBinary, 0},
        {"OrigDateTime", dao::dbDate, 0}, {"DateAdded", dao::dbDate, 0},
        {"Path", dao::dbText, 0}};
    for (const auto& [name, type, size] : fields) {
        auto field = table->CreateField(QLatin1String(name), type, size);
        table->AppendField(field);
        if (QLatin1String(name) == QLatin1String("ID"))
            field->setAttributes(dao::dbAutoIncrField);
    }
    db->AppendTableDef(*table);

    EXPECT_TRUE(db->tableExists(QStringLiteral("codefiles")));
    auto rs = db->OpenRecordset(QStringLiteral("codefiles"));
    ASSERT_EQ(rs->FieldCount(), 7);
    for (int i = 0; i < 7; ++i) {
        const auto& [name, type, size] = fields[i];
        EXPECT_EQ(rs->Fields(i).Name(), QLatin1String(name));
        EXPECT_EQ(rs->Fields(i).Type(), type) << name;
        EXPECT_EQ(rs->Fields(i).Size(), type == dao::dbText ? (size ? size : 255) : 0) << name;
    }

    const auto add = [&](const QString& description) {
        auto adder = db->OpenRecordset(QStringLiteral("select * from codefiles where id = 0"));
        adder->AddNew();
        adder->Fields(QStringLiteral("description")).setValue(description);
        adder->Update();
        adder->setBookmark(adder->LastModified());
        return adder->Fields(QStringLiteral("id")).Value().toLongLong();
    };
    EXPECT_EQ(add(QStringLiteral("a.doc")), 1);
    EXPECT_EQ(add(QStringLiteral("b.doc")), 2);
    db->Execute(QStringLiteral("delete from codefiles where id = 2"));
    EXPECT_EQ(add(QStringLiteral("c.doc")), 3);
    EXPECT_EQ(countRows(*db, QStringLiteral("select * from codefiles where description = 'A.DOC'")),
              1);
    EXPECT_NE(errorNumberOf([&] { db->AppendTableDef(*table); }), 0);
}

} // namespace
