#include "DbTestHelpers.h"

#include "support/ForeignCase.h"
#include "support/TempCase.h"

#include <QFileInfo>

using namespace foreigncase;

namespace {

class ForeignCaseTest : public ::testing::Test {
protected:
    TempCase cases;
};

class RefusedCaseTest : public ::testing::TestWithParam<Refused> {
protected:
    TempCase cases;
};

TEST_P(RefusedCaseTest, BothFacesRefuseItByNameAndLeaveItByteIdentical)
{
    const Refused& refused = GetParam();
    const QString path = refused.make(cases);
    const QByteArray before = fileBytes(path);

    const AppError dao = errorOf([&] { dao::DBEngine::OpenDatabase(path); });
    const AppError ado = errorOf([&] { openAdo(path); });
    for (const AppError& error : {dao, ado}) {
        EXPECT_TRUE(error.number() == jet::UnrecognizedFormat || error.number() == 3049)
            << error.number();
        EXPECT_TRUE(error.description().contains(QLatin1String(refused.found)))
            << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(path));
    }
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_FALSE(QFileInfo::exists(path + "-journal"));
    EXPECT_FALSE(QFileInfo::exists(path + "-wal"));
}

INSTANTIATE_TEST_SUITE_P(Foreign, RefusedCaseTest, ::testing::ValuesIn(refusedCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ForeignCaseTest, AnotherToolsTableOpensAndIsKept)
{
    const QString path = withExtraTable(cases);
    auto db = dao::DBEngine::OpenDatabase(path);
    db->Execute(QStringLiteral("update Issue set Name = 'Renamed' where ID = 1"));
    db->Close();
    auto connection = openAdo(path);
    auto rs = connection->Execute(QStringLiteral("select Peer, Seen from SyncState"));
    EXPECT_EQ(rs->Fields(QStringLiteral("Peer")).Value().toString(), QStringLiteral("laptop"));
    EXPECT_EQ(rs->Fields(QStringLiteral("Seen")).Value().toInt(), 7);
}

TEST_F(ForeignCaseTest, WriteAheadCaseOpensAndIsOneFileAfterClose)
{
    const QString path = writeAhead(cases);
    ASSERT_EQ(fileBytes(path).at(18), 2); // left in write-ahead mode
    for (int face = 0; face < 2; ++face) {
        if (face == 0) {
            auto db = dao::DBEngine::OpenDatabase(path);
            auto rs = db->OpenRecordset(QStringLiteral("select Name from Issue where ID = 1"),
                                        dao::dbOpenSnapshot);
            EXPECT_EQ(rs->Fields(0).Value().toString(), QStringLiteral("Written in WAL"));
            db->Close();
        } else {
            openAdo(path)->Close();
        }
        EXPECT_FALSE(QFileInfo::exists(path + "-wal")) << face;
        EXPECT_FALSE(QFileInfo::exists(path + "-shm")) << face;
        EXPECT_EQ(fileBytes(path).at(18), 1) << face; // the rollback journal
    }
}

TEST_F(ForeignCaseTest, SchemaCallingAFunctionWithSideEffectsRunsNothing)
{
    const QString payload = cases.path(QStringLiteral("payload.so"));
    const QString path = cases.create(
        QStringLiteral("Loader.AGV"),
        QStringLiteral("ALTER TABLE Issue ADD COLUMN Audit TEXT DEFAULT (load_extension('%1'));")
            .arg(payload));
    auto db = dao::DBEngine::OpenDatabase(path);
    auto rs = db->OpenRecordset(QStringLiteral("Issue"), dao::dbOpenDynaset);
    rs->AddNew();
    rs->Fields(QStringLiteral("Name")).setValue(QStringLiteral("New item"));
    const AppError error = errorOf([&] { rs->Update(); });
    EXPECT_NE(error.number(), 0);
    EXPECT_TRUE(error.description().contains(QLatin1String("unsafe use of load_extension")))
        << error.description().toStdString();
    EXPECT_EQ(countRows(*db, QStringLiteral("select * from Issue")), 0);
    // Nor may the program's own statements reach another file.
    const QString other = cases.path(QStringLiteral("other.db"));
    EXPECT_NE(
        errorNumberOf([&] { db->Execute(QStringLiteral("ATTACH '%1' AS other").arg(other)); }), 0);
    EXPECT_FALSE(QFileInfo::exists(other));
}

TEST_F(ForeignCaseTest, CopiesHoldTheCaseTablesOnlyAndKeepTheirIdCounters)
{
    const QString path = withExtraTable(cases);
    auto db = dao::DBEngine::OpenDatabase(path);
    db->Execute(QStringLiteral("CREATE VIEW Names AS SELECT Name FROM Issue"));
    const int lastId = countRows(*db, QStringLiteral("select * from Issue"));
    db->Execute(QStringLiteral("delete from Issue where ID = %1").arg(lastId));
    const int items = countRows(*db, QStringLiteral("select * from Issue"));
    const int bookmarks = countRows(*db, QStringLiteral("select * from Bookmarks"));
    db->Close();

    const QString compacted = cases.path(QStringLiteral("Compacted.AGV"));
    dao::DBEngine::CompactDatabase(path, compacted);
    // A trigger made while the case is open, which the open could not see.
    db = dao::DBEngine::OpenDatabase(path);
    db->Execute(QStringLiteral("CREATE TRIGGER wipe AFTER UPDATE ON Issue BEGIN DELETE FROM "
                               "Bookmarks; END"));
    const QString saved = cases.path(QStringLiteral("Saved.AGV"));
    db->copyTo(saved);
    db->Close();

    for (const QString& copy : {compacted, saved}) {
        auto opened = dao::DBEngine::OpenDatabase(copy);
        EXPECT_EQ(countRows(*opened, QStringLiteral("select * from Issue")), items);
        EXPECT_EQ(countRows(*opened, QStringLiteral("select * from Bookmarks")), bookmarks);
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

} // namespace
