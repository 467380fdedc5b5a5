#include "store/CDataLayer.h"

#include "store/TempCurrentFolder.h"
#include "support/ForeignCase.h"
#include "support/TempCase.h"

#include "platform/db/Ado.h"
#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>

using platform::MsgButtons;
using platform::MsgIcon;

namespace {

class CDataLayerTest : public StoreTest {
protected:
    TempCase cases;
};

TEST_F(CDataLayerTest, NoOrANonCaseDataSourceIsRefusedWithTheBoxAndAMissingCaseFailsToOpen)
{
    CDataLayer& layer = oDataLayer();
    EXPECT_EQ(layer.GetConnected(), 1);
    EXPECT_EQ(layer.DataSource(), QStringLiteral("Data Source=;"));
    EXPECT_FALSE(layer.Connected());

    layer.setDataSource(cases.path(QStringLiteral("notes.mdb")));
    EXPECT_EQ(layer.GetConnected(), 1);
    EXPECT_FALSE(layer.Connected());

    ASSERT_EQ(prompt.count(QStringLiteral("message")), 2);
    for (const auto& shown : prompt.shown()) {
        EXPECT_EQ(shown.text, QStringLiteral("Select a case if you want to proceed."));
        EXPECT_EQ(shown.title, QStringLiteral("No Case Selected"));
        EXPECT_EQ(shown.icon, MsgIcon::Information);
    }
    EXPECT_FALSE(QFileInfo::exists(cases.path(QStringLiteral("notes.mdb"))));

    // A missing case file fails to open, and none is made.
    prompt.clear();
    const QString path = cases.path(QStringLiteral("Missing.AGV"));
    layer.setDataSource(path);
    EXPECT_EQ(layer.GetConnected(), 1);
    EXPECT_FALSE(layer.Connected());
    EXPECT_NE(layer.Connection()->State(), ado::adStateOpen);
    EXPECT_FALSE(QFileInfo::exists(path));

    // The technical-error question, answered No, then the log line.
    ASSERT_EQ(prompt.count(QStringLiteral("message")), 1);
    EXPECT_EQ(prompt.shown().first().buttons, MsgButtons::YesNo);
    const QStringList log = folder.logLines();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().contains(QStringLiteral("CALLING PROCEDURE: oDataLayer.GetConnected")));
}

// The bare path is kept: a reconnect after a close, or a wrapped value stored
// back, opens the same file instead of a doubly wrapped one. A lower-case
// extension is a case file too.
TEST_F(CDataLayerTest, ConnectAndReconnectAfterCloseOpenTheSameFile)
{
    const QString path = cases.create(QStringLiteral("lower.agv"));
    const QString wrapped = QStringLiteral("Data Source=") + path + QLatin1Char(';');
    CDataLayer& layer = oDataLayer();
    layer.setDataSource(path);
    ASSERT_EQ(layer.GetConnected(), 0);
    EXPECT_EQ(layer.DataSource(), wrapped);
    EXPECT_EQ(layer.Provider(), QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;"));
    EXPECT_EQ(ado::dataSourceFromConnectionString(layer.Connection()->ConnectionString()), path);

    ASSERT_EQ(layer.CloseConnection(), 0);
    EXPECT_FALSE(layer.Connected());
    layer.setDataSource(layer.DataSource());
    EXPECT_EQ(layer.DataSource(), path);

    EXPECT_EQ(layer.GetConnected(), 0);
    EXPECT_TRUE(layer.Connected());
    EXPECT_EQ(layer.Connection()->State(), ado::adStateOpen);
    EXPECT_EQ(ado::dataSourceFromConnectionString(layer.Connection()->ConnectionString()), path);
    EXPECT_EQ(layer.DataSource(), wrapped);
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
}

TEST_F(CDataLayerTest, ConnectingWhenOpenAndClosingWhenClosedOnlySetConnected)
{
    CDataLayer& layer = oDataLayer();
    layer.setConnected(true);
    EXPECT_EQ(layer.CloseConnection(), 0);
    EXPECT_FALSE(layer.Connected());

    layer.setDataSource(cases.create());
    ASSERT_EQ(layer.GetConnected(), 0);
    const auto connection = layer.Connection();
    layer.setConnected(false);
    EXPECT_EQ(layer.GetConnected(), 0);
    EXPECT_TRUE(layer.Connected());
    EXPECT_EQ(layer.Connection(), connection);
    EXPECT_EQ(connection->State(), ado::adStateOpen);
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
    EXPECT_TRUE(folder.logLines().isEmpty());
}

TEST_F(CDataLayerTest, RunSQLConnectsOnDemandAndARejectedStatementLeavesTheRecordset)
{
    // Without a case: one refusal, and no recordset.
    std::shared_ptr<ado::Recordset> rs;
    EXPECT_EQ(oDataLayer().RunSQL(QStringLiteral("select * from Issue"), rs), 1);
    EXPECT_FALSE(rs);
    EXPECT_EQ(prompt.messages(),
              QStringList{QStringLiteral("Select a case if you want to proceed.")});

    oDataLayer().setDataSource(cases.createSample());
    EXPECT_EQ(oDataLayer().RunSQL(QStringLiteral("select * from Issue"), rs), 0);
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->RecordCount(), 10);
    EXPECT_TRUE(oDataLayer().Connected());

    const auto passed = ado::Recordset::create();
    rs = passed;
    for (const char* rejected : {"select * from NoSuchTable", "selec Name fro Issue"}) {
        EXPECT_EQ(oDataLayer().RunSQL(QLatin1String(rejected), rs), 1) << rejected;
        EXPECT_EQ(rs, passed) << rejected;
    }
    EXPECT_EQ(prompt.messages().size(), 1);
}

class CDataLayerRefusalTest : public CDataLayerTest,
                              public ::testing::WithParamInterface<foreigncase::Refused> {};

TEST_P(CDataLayerRefusalTest, CaseThatCouldActOnItsOwnIsRefusedWithWhatWasFound)
{
    const QString path = GetParam().make(cases);
    const QByteArray before = foreigncase::fileBytes(path);
    oDataLayer().setDataSource(path);

    EXPECT_EQ(oDataLayer().GetConnected(), 1);
    EXPECT_FALSE(oDataLayer().Connected());
    ASSERT_EQ(prompt.messages().size(), 1);
    const QString shown = prompt.messages().first();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("The case file could not be opened. ") +
                                 GetParam().before + path))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(QLatin1String(GetParam().found))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("The case was not opened and the file was left as it "
                                              "is.")) ||
                shown.endsWith(QStringLiteral("open a backup copy of the case.")));
    EXPECT_EQ(foreigncase::fileBytes(path), before);
}

INSTANTIATE_TEST_SUITE_P(Foreign, CDataLayerRefusalTest,
                         ::testing::ValuesIn(foreigncase::refusedCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(CDataLayerTest, ForeignTableAndWriteAheadCasesOpenAndStayOneFileHoldingTheirRows)
{
    for (const QString& path :
         {foreigncase::withExtraTable(cases), foreigncase::writeAhead(cases)}) {
        oDataLayer().setDataSource(path);
        std::shared_ptr<ado::Recordset> rs;
        ASSERT_EQ(oDataLayer().RunSQL(QStringLiteral("select * from Issue"), rs), 0);
        EXPECT_EQ(rs->RecordCount(), 10);
        EXPECT_EQ(oDataLayer().CloseConnection(), 0);
        EXPECT_FALSE(QFileInfo::exists(path + "-wal"));
        EXPECT_FALSE(QFileInfo::exists(path + "-shm"));
        EXPECT_EQ(foreigncase::fileBytes(path).at(18), 1); // the rollback journal's mark
    }
    std::shared_ptr<ado::Recordset> rs;
    oDataLayer().setDataSource(cases.path(QStringLiteral("Extra.AGV")));
    ASSERT_EQ(oDataLayer().RunSQL(QStringLiteral("select Peer from SyncState"), rs), 0);
    EXPECT_EQ(rs->Fields(QStringLiteral("Peer")).Value().toString(), QStringLiteral("laptop"));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(CDataLayerTest, SchemaFunctionWithSideEffectsStaysInert)
{
    // The default runs on every new item; the engine refuses to call it.
    const QString path = cases.create(
        QStringLiteral("Loader.AGV"),
        QStringLiteral("ALTER TABLE Issue ADD COLUMN Audit TEXT DEFAULT (load_extension('%1'));")
            .arg(cases.path(QStringLiteral("payload.so"))));
    oDataLayer().setDataSource(path);
    std::shared_ptr<ado::Recordset> rs;
    EXPECT_EQ(oDataLayer().RunSQL(QStringLiteral("insert into Issue (Name) values ('x')"), rs), 1);
    ASSERT_EQ(oDataLayer().RunSQL(QStringLiteral("select * from Issue"), rs), 0);
    EXPECT_EQ(rs->RecordCount(), 0);
}

} // namespace
