#include "DbTestHelpers.h"

#include "support/TempCase.h"

#include <limits>

namespace {

class AdoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = cases.createSample();
        connection = openAdo(path);
    }

    TempCase cases;
    QString path;
    std::shared_ptr<ado::Connection> connection;
};

TEST_F(AdoTest, ResultColumnsCarryTheStatementsAliases)
{
    auto rs = ado::Recordset::create();
    rs->setCursorLocation(ado::adUseClient);
    rs->Open(
        QStringLiteral(
            "SELECT Issue.ID as ID,Issue.Name as [Key Group], Issue_1.Name as Name, Issue_1.Weight "
            "as "
            "Weight, Issue_1.Success as Success, Issue_1.Jury as Jury, Issue_1.Substantive as "
            "Instructions, Issue_1.Procedural as Evidentiary, Issue_1.Significance as Significance "
            "FROM Issue INNER JOIN Issue AS Issue_1 ON Issue.ID = Issue_1.ParentID;"),
        connection, ado::adOpenDynamic, ado::adLockOptimistic, ado::adOptionUnspecified);
    EXPECT_EQ(rs->State(), ado::adStateOpen);
    EXPECT_EQ(rs->fieldNames(), (QStringList{"ID", "Key Group", "Name", "Weight", "Success", "Jury",
                                             "Instructions", "Evidentiary", "Significance"}));
    EXPECT_EQ(rs->RecordCount(), 7);
    EXPECT_EQ(rs->Fields(QStringLiteral("key group")).Value().toString(),
              QStringLiteral("Liability"));
    EXPECT_EQ(rs->Fields(1).Name(), QStringLiteral("Key Group"));
}

TEST_F(AdoTest, RecordCountIsExactForAForwardOnlyCursor)
{
    auto rs = ado::Recordset::create();
    rs->Open(QStringLiteral("SELECT * from Issue"), connection, ado::adOpenForwardOnly,
             ado::adLockReadOnly);
    EXPECT_EQ(rs->RecordCount(), 10);
    int seen = 0;
    while (!rs->EOF()) {
        ++seen;
        rs->MoveNext();
    }
    EXPECT_EQ(seen, 10);
    EXPECT_EQ(errorNumberOf([&] { rs->Fields(QStringLiteral("Name")).Value(); }),
              jet::NoCurrentRecord);
    EXPECT_EQ(errorNumberOf([&] { rs->Fields(QStringLiteral("Colour")); }), jet::ItemNotFound);
}

TEST_F(AdoTest, CommandsRunActionStatementsAndRejectedOnesRaise)
{
    ado::Command command;
    command.ActiveConnection = connection;
    command.CommandText = QStringLiteral("delete from Bookmarks");
    auto result = command.Execute();
    EXPECT_EQ(result->State(), ado::adStateClosed);
    EXPECT_EQ(
        connection->Execute(QStringLiteral("select count(*) from bookmarks"))->value(0, 0).toInt(),
        0);

    command.CommandText = QStringLiteral("SELECT * FROM Issue WHERE Issue.ID=3");
    EXPECT_EQ(command.Execute()->Fields(QStringLiteral("ItemType")).Value().toString(),
              QStringLiteral("Issue"));

    command.CommandText = QStringLiteral("select from where");
    const AppError error = raised([&] { command.Execute(); });
    EXPECT_EQ(error.number(), jet::SyntaxError);
    EXPECT_EQ(error.source(), QStringLiteral("ADO.Command"));
    EXPECT_EQ(errorNumberOf([&] { connection->Execute(QStringLiteral("select * from Exhibits")); }),
              jet::TableNotFound);
}

TEST_F(AdoTest, ClosedConnectionsAndRecordsetsRaise3704)
{
    const QString sql = QStringLiteral("select * from Issue");
    auto rs = connection->Execute(sql);
    rs->Close();
    connection->Close();
    ado::Command command;
    command.ActiveConnection = connection;
    command.CommandText = sql;
    auto fresh = ado::Recordset::create();
    const std::function<void()> onClosed[] = {
        [&] { rs->RecordCount(); },   [&] { rs->Close(); },
        [&] { connection->Close(); }, [&] { connection->Execute(sql); },
        [&] { command.Execute(); },   [&] { fresh->Open(sql, connection); },
    };
    for (size_t i = 0; i < std::size(onClosed); ++i)
        EXPECT_EQ(errorNumberOf(onClosed[i]), jet::ObjectClosed) << "call " << i;
    EXPECT_EQ(raised([&] { connection->Execute(sql); }).source(), QStringLiteral("ADO.Connection"));
}

TEST_F(AdoTest, DaoWriteIsSeenByAConnectionOpenedEarlier)
{
    auto held = connection->Execute(QStringLiteral("select * from Issue"));
    auto db = dao::DBEngine::OpenDatabase(path);
    auto rs = db->OpenRecordset(QStringLiteral("select * from Issue where id = 7"));
    rs->Edit();
    rs->Fields(QStringLiteral("Weight")).setValue(2);
    rs->Update();
    db->Execute(QStringLiteral("delete from Issue where id = 10"));

    EXPECT_EQ(connection->Execute(QStringLiteral("select Weight from Issue where id = 7"))
                  ->value(0, 0)
                  .toInt(),
              2);
    EXPECT_EQ(connection->Execute(QStringLiteral("SELECT * from Issue"))->RecordCount(), 9);
    // A recordset read before the write keeps the rows it read.
    EXPECT_EQ(held->RecordCount(), 10);
}

TEST_F(AdoTest, EveryKindOfValueReadsAsTheDaoFaceReadsIt)
{
    // Rows of texts long and short fill more than one of the recordset's
    // blocks; one text is larger than a block of its own.
    auto db = dao::DBEngine::OpenDatabase(path);
    db->Execute(QStringLiteral("create table Kinds (ID integer primary key, T text, N long, "
                               "R double, B logical, D datetime, L longbinary)"));
    db->Execute(QStringLiteral("insert into Kinds values (1, NULL, NULL, NULL, NULL, NULL, NULL)"));
    db->Execute(QStringLiteral("insert into Kinds values (2, '', -7, 2.5, 1, "
                               "'2026-12-09T10:30:00', x'00ff10')"));
    db->Execute(QStringLiteral("insert into Kinds values (3, 'Zeugin Müller – 証人', 0, -0.125, 0, "
                               "'no date', x'')"));
    db->Execute(QStringLiteral("insert into Kinds (ID, T) values (4, '%1')")
                    .arg(QString(300 * 1024, QLatin1Char('x'))));
    // Texts with a NUL or bytes that are no UTF-8, the largest whole numbers,
    // and values of another kind than their column declares.
    db->Execute(QStringLiteral("insert into Kinds values (2005, 'a' || char(0) || 'b', "
                               "9223372036854775807, 1e308, 2, 20261209, x'')"));
    db->Execute(QStringLiteral("insert into Kinds values (2006, cast(x'ff41c3' as text), "
                               "-9223372036854775808, 'word', 'yes', 45000.5, NULL)"));
    db->Execute(QStringLiteral("insert into Kinds values (2007, x'004100', '12', 7, -1, "
                               "x'01', x'41')"));
    dao::DBEngine::BeginTrans();
    for (int i = 5; i < 2005; ++i)
        db->Execute(QStringLiteral("insert into Kinds (ID, T, N) values (%1, '%2', %1)")
                        .arg(i)
                        .arg(QString(i % 700, QLatin1Char('a' + i % 26))));
    dao::DBEngine::CommitTrans();

    const QString sql = QStringLiteral("select * from Kinds order by ID");
    auto expected = db->OpenRecordset(sql, dao::dbOpenSnapshot);
    auto rs = connection->Execute(sql);
    ASSERT_EQ(rs->RecordCount(), 2007);
    for (int row = 0; row < rs->RecordCount(); ++row, expected->MoveNext()) {
        for (int column = 0; column < rs->FieldCount(); ++column) {
            const QVariant want = expected->Fields(column).Value();
            const QVariant got = rs->value(row, column);
            ASSERT_EQ(got, want) << "row " << row << ", column " << column;
            ASSERT_EQ(got.metaType(), want.metaType()) << "row " << row << ", column " << column;
            ASSERT_EQ(got.toString().isNull(), want.toString().isNull()) << "row " << row;
        }
    }
    rs->MoveFirst();
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(QStringLiteral("D")).Value().toDateTime(),
              QDateTime(QDate(2026, 12, 9), QTime(10, 30)));
    EXPECT_EQ(rs->Fields(QStringLiteral("L")).Value().toByteArray(), QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(rs->value(2004, 1).toString(), QString(QStringLiteral("a\0b").data(), 3));
    EXPECT_EQ(rs->value(2004, 2).toLongLong(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(rs->value(2005, 2).toLongLong(), std::numeric_limits<qint64>::min());
}

} // namespace
