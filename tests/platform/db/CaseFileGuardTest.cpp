#include "DbTestHelpers.h"

#include "platform/db/CaseFileBuilder.h"
#include "platform/db/CaseFileGuard.h"
#include "platform/db/SqliteConnection.h"

#include "support/ForeignCase.h"
#include "support/TempCase.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

class ForeignCaseTest : public ::testing::Test {
protected:
    TempCase cases;
};

TEST_F(ForeignCaseTest, NoStatementRewritesTheSchemaOrReachesAnotherFile)
{
    auto db = dao::DBEngine::OpenDatabase(cases.createSample());
    db->Execute(QStringLiteral("PRAGMA writable_schema = ON"));
    EXPECT_NE(errorNumberOf([&] {
                  db->Execute(QStringLiteral("UPDATE sqlite_master SET sql = 'x' WHERE 0"));
              }),
              0);
    const QString other = cases.path(QStringLiteral("other.db"));
    EXPECT_NE(
        errorNumberOf([&] { db->Execute(QStringLiteral("ATTACH '%1' AS other").arg(other)); }), 0);
    EXPECT_FALSE(QFileInfo::exists(other));
}

TEST_F(ForeignCaseTest, CopiesHoldTheCaseTablesOnlyAndKeepTheirIdCounters)
{
    // Another tool's table, and pages larger than the engine's own.
    const QString path = cases.path(QStringLiteral("Wide.AGV"));
    db::createDatabaseFromScript(path, QStringLiteral("PRAGMA page_size = 8192;\n") +
                                           TempCase::schemaSql() + TempCase::sampleSql() +
                                           QStringLiteral("CREATE TABLE SyncState (Peer TEXT);"));
    auto db = dao::DBEngine::OpenDatabase(path);
    db->Execute(QStringLiteral("CREATE VIEW Names AS SELECT Name FROM Issue"));
    const int lastId = countRows(*db, QStringLiteral("select * from Issue"));
    db->Execute(QStringLiteral("delete from Issue where ID = %1").arg(lastId));
    db->Close();
    const QStringList caseRows = dumpCase(path);
    ASSERT_EQ(caseRows.size(), 11); // nine items, a bookmark and the version

    const QString compacted = cases.path(QStringLiteral("Compacted.AGV"));
    dao::DBEngine::CompactDatabase(path, compacted);
    // A trigger made while the case is open, which the open could not see.
    db = dao::DBEngine::OpenDatabase(path);
    db->Execute(QStringLiteral("CREATE TRIGGER wipe AFTER UPDATE ON Issue BEGIN DELETE FROM "
                               "Bookmarks; END"));
    const QString saved = cases.path(QStringLiteral("Saved.AGV"));
    db->copyTo(saved);
    EXPECT_TRUE(db->isOpen());
    db->Close();

    for (const QString& copy : {compacted, saved}) {
        auto opened = dao::DBEngine::OpenDatabase(copy);
        auto pageSize =
            opened->OpenRecordset(QStringLiteral("PRAGMA page_size"), dao::dbOpenSnapshot);
        EXPECT_EQ(pageSize->Fields(0).Value().toInt(), 8192);
        EXPECT_EQ(dumpCase(copy), caseRows);
        auto names = opened->OpenRecordset(QStringLiteral("select name from sqlite_master where "
                                                          "name not like 'sqlite%' order by name"),
                                           dao::dbOpenSnapshot);
        EXPECT_EQ(columnTexts(*names, QStringLiteral("name")),
                  (QStringList{"Bookmarks", "CodeDBVersion", "CodeFiles", "Issue"}));
        opened->Execute(QStringLiteral("insert into Issue (Name) values ('After the copy')"));
        auto added =
            opened->OpenRecordset(QStringLiteral("select max(ID) from Issue"), dao::dbOpenSnapshot);
        EXPECT_EQ(added->Fields(0).Value().toInt(), lastId + 1) << copy.toStdString();
    }
}

// Another tool's declarations: a version keyed by its text, a document's name
// that must be unique. The engine indexes both by itself.
TEST_F(ForeignCaseTest, TablesDeclaringUniqueOrTextKeysAreCopiedWithRowsAndConstraints)
{
    QString schema = TempCase::schemaSql();
    const QString version = QStringLiteral("Version VARCHAR(255) COLLATE NOCASE");
    const QString description = QStringLiteral("Description VARCHAR(50) COLLATE NOCASE,");
    ASSERT_TRUE(schema.contains(version) && schema.contains(description));
    schema.replace(version, QStringLiteral("Version VARCHAR(255) PRIMARY KEY"))
        .replace(description, QStringLiteral("Description VARCHAR(50) COLLATE NOCASE UNIQUE,"));
    const QString path = cases.path(QStringLiteral("Keyed.AGV"));
    db::createDatabaseFromScript(path, schema + TempCase::sampleSql() +
                                           QStringLiteral("INSERT INTO CodeFiles (CodeID, "
                                                          "Description, File) VALUES (3, "
                                                          "'brief.txt', x'6272696566');"));
    const QStringList caseRows = dumpCase(path);
    ASSERT_EQ(caseRows.size(), 13);

    // What maintenance and Save As make.
    const QString compacted = cases.path(QStringLiteral("Compacted.AGV"));
    dao::DBEngine::CompactDatabase(path, compacted);
    const QString saved = cases.path(QStringLiteral("Saved.AGV"));
    auto db = dao::DBEngine::OpenDatabase(path);
    db->copyTo(saved);
    db->Close();

    for (const QString& copy : {compacted, saved}) {
        EXPECT_EQ(dumpCase(copy), caseRows) << copy.toStdString();
        auto opened = dao::DBEngine::OpenDatabase(copy);
        for (const char* twice : {"insert into CodeDBVersion values ('1.0.0')",
                                  "insert into CodeFiles (Description) values ('BRIEF.TXT')"})
            EXPECT_NE(errorNumberOf([&] { opened->Execute(QLatin1String(twice)); }), 0) << twice;
        opened->Close();
    }
}

// Deleted or moved by another program while open: the open connection still
// reaches the file's rows, its old path does not, and nothing is made there.
// A write is refused as one to a file that is no longer the case.
TEST_F(ForeignCaseTest, ACaseDeletedOrMovedWhileOpenIsCopiedWholeAndNothingAppearsAtItsPath)
{
    for (const bool moved : {false, true}) {
        const QString path =
            cases.createSample(moved ? QStringLiteral("Moved.AGV") : QStringLiteral("Deleted.AGV"));
        auto db = dao::DBEngine::OpenDatabase(path);
        db->Execute(QStringLiteral("update Issue set Name = 'Changed while open' where ID = 1"));
        const QStringList caseRows = dumpCase(path);
        ASSERT_EQ(caseRows.size(), 12);
        const QString away = cases.path(QStringLiteral("Away.AGV"));
        ASSERT_TRUE(moved ? QFile::rename(path, away) : QFile::remove(path));

        const QString copy =
            cases.path(moved ? QStringLiteral("FromMoved.AGV") : QStringLiteral("FromDeleted.AGV"));
        db->copyTo(copy);
        EXPECT_FALSE(QFileInfo::exists(path)) << moved;
        EXPECT_EQ(dumpCase(copy), caseRows) << moved;
        EXPECT_TRUE(db->isOpen());
        EXPECT_EQ(db->isFile(away), moved);
        EXPECT_FALSE(db->isFile(copy));
        const AppError refused = raised([&] {
            db->Execute(QStringLiteral("update Issue set Name = 'Typed after' where ID = 1"));
        });
        EXPECT_EQ(refused.number(), jet::ReadOnly);
        EXPECT_TRUE(refused.description().startsWith(
            QStringLiteral("The case file was moved, renamed, replaced or deleted while it was "
                           "open here")))
            << qPrintable(refused.description());
        db->Close();
        QFile::remove(away);
    }
}

TEST_F(ForeignCaseTest, ACopyThatCannotLetGoOfItsFileFailsAndTheNextCopyStillWorks)
{
    const QString path = cases.createSample();
    auto connection = db::SqliteConnection::open(path, QStringLiteral("test"));
    // Another statement of the case's own connection is still reading.
    db::Statement reading =
        connection->prepare(QStringLiteral("SELECT * FROM Issue"), QStringLiteral("test"));
    ASSERT_EQ(sqlite3_step(reading.get()), SQLITE_ROW);
    const QString first = cases.path(QStringLiteral("First.AGV"));
    EXPECT_NE(
        errorNumberOf([&] { db::copyCaseTables(*connection, first, QStringLiteral("test")); }), 0);
    EXPECT_FALSE(QFileInfo::exists(first));

    reading.reset();
    const QString second = cases.path(QStringLiteral("Second.AGV"));
    EXPECT_EQ(
        errorNumberOf([&] { db::copyCaseTables(*connection, second, QStringLiteral("test")); }), 0);
    EXPECT_EQ(dumpCase(second), dumpCase(path));
}

TEST_F(ForeignCaseTest, AFileIsCheckedOnceWhileOpenUnchangedAndAgainWhenChangedOrReopened)
{
    const QString path = cases.createSample();
    const int before = db::quickChecksRun();
    auto first = dao::DBEngine::OpenDatabase(path);
    auto second = dao::DBEngine::OpenDatabase(path);
    EXPECT_EQ(db::quickChecksRun(), before + 1);
    first->Close();
    second->Close();
    first = dao::DBEngine::OpenDatabase(path);
    EXPECT_EQ(db::quickChecksRun(), before + 2);

    // Damaged by another program a moment later, while the case stays open.
    QThread::msleep(50);
    const auto [offset, pageSize] = foreigncase::rootPageOf(path, QStringLiteral("Issue"));
    Q_UNUSED(pageSize);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(offset + 3);
    file.write(QByteArray("\x7f\x7f\xff\xf0", 4));
    file.close();
    EXPECT_EQ(errorNumberOf([&] { dao::DBEngine::OpenDatabase(path); }), 3049);
}

} // namespace
