#include "store/CDataLayer.h"
#include "platform/core/AppInfo.h"
#include "store/AppState.h"

#include "store/TempCurrentFolder.h"
#include "support/ScriptedPrompt.h"
#include "support/TempCase.h"

#include "platform/db/Ado.h"
#include <QFileInfo>

#include <gtest/gtest.h>

using platform::MsgButtons;
using platform::MsgIcon;

namespace {

class CDataLayerTest : public ::testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override { resetAppState(); }

    TempCurrentFolder folder;
    ScriptedPrompt prompt;
    TempCase cases;
};

TEST_F(CDataLayerTest, LowerCaseExtensionConnectsWithThePathUnchanged)
{
    const QString path = cases.create(QStringLiteral("lower.agv"));
    CDataLayer& layer = oDataLayer();
    layer.setDataSource(path);

    EXPECT_EQ(layer.GetConnected(), 0);
    EXPECT_TRUE(layer.Connected());
    EXPECT_EQ(layer.Connection()->State(), ado::adStateOpen);
    EXPECT_EQ(ado::dataSourceFromConnectionString(layer.Connection()->ConnectionString()), path);
    EXPECT_EQ(layer.Provider(), QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;"));
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
}

TEST_F(CDataLayerTest, MissingOrNonCaseDataSourceIsRefusedWithTheBox)
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
}

TEST_F(CDataLayerTest, FailedOpenIsReportedAsFailureAndCreatesNoFile)
{
    const QString path = cases.path(QStringLiteral("Missing.AGV"));
    CDataLayer& layer = oDataLayer();
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

TEST_F(CDataLayerTest, ReconnectAfterCloseOpensTheSameFile)
{
    const QString path = cases.create();
    CDataLayer& layer = oDataLayer();
    layer.setDataSource(path);
    ASSERT_EQ(layer.GetConnected(), 0);
    EXPECT_EQ(layer.DataSource(), QStringLiteral("Data Source=") + path + QLatin1Char(';'));

    ASSERT_EQ(layer.CloseConnection(), 0);
    EXPECT_FALSE(layer.Connected());

    EXPECT_EQ(layer.GetConnected(), 0);
    EXPECT_TRUE(layer.Connected());
    EXPECT_EQ(layer.Connection()->State(), ado::adStateOpen);
    EXPECT_EQ(layer.DataSource(), QStringLiteral("Data Source=") + path + QLatin1Char(';'));
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
}

TEST_F(CDataLayerTest, WrappedDataSourceIsStoredOnlyOnce)
{
    const QString path = cases.create();
    CDataLayer& layer = oDataLayer();
    layer.setDataSource(QStringLiteral("Data Source=") + path + QLatin1Char(';'));
    EXPECT_EQ(layer.DataSource(), path);
    EXPECT_EQ(layer.GetConnected(), 0);
    EXPECT_EQ(ado::dataSourceFromConnectionString(layer.Connection()->ConnectionString()), path);
}

TEST_F(CDataLayerTest, GetConnectedOnAnOpenConnectionOnlySetsConnected)
{
    oDataLayer().setDataSource(cases.create());
    ASSERT_EQ(oDataLayer().GetConnected(), 0);
    const auto connection = oDataLayer().Connection();
    oDataLayer().setConnected(false);

    EXPECT_EQ(oDataLayer().GetConnected(), 0);
    EXPECT_TRUE(oDataLayer().Connected());
    EXPECT_EQ(oDataLayer().Connection(), connection);
    EXPECT_EQ(connection->State(), ado::adStateOpen);
}

TEST_F(CDataLayerTest, CloseConnectionOnAClosedConnectionSucceedsQuietly)
{
    oDataLayer().setConnected(true);
    EXPECT_EQ(oDataLayer().CloseConnection(), 0);
    EXPECT_FALSE(oDataLayer().Connected());
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
    EXPECT_TRUE(folder.logLines().isEmpty());
}

TEST_F(CDataLayerTest, RunSQLConnectsOnDemandAndReturnsRows)
{
    oDataLayer().setDataSource(cases.createSample());
    std::shared_ptr<ado::Recordset> rs;

    EXPECT_EQ(oDataLayer().RunSQL(QStringLiteral("select * from Issue"), rs), 0);
    ASSERT_TRUE(rs);
    EXPECT_GT(rs->RecordCount(), 0);
    EXPECT_TRUE(oDataLayer().Connected());
}

TEST_F(CDataLayerTest, RejectedStatementFailsAndLeavesTheRecordsetAsPassed)
{
    oDataLayer().setDataSource(cases.create());
    ASSERT_EQ(oDataLayer().GetConnected(), 0);
    const auto passed = ado::Recordset::create();
    std::shared_ptr<ado::Recordset> rs = passed;

    EXPECT_EQ(oDataLayer().RunSQL(QStringLiteral("select * from NoSuchTable"), rs), 1);
    EXPECT_EQ(rs, passed);
    EXPECT_EQ(oDataLayer().RunSQL(QStringLiteral("selec Name fro Issue"), rs), 1);
    EXPECT_EQ(rs, passed);
}

TEST_F(CDataLayerTest, RunSQLWithoutACaseFailsAfterOneRefusal)
{
    std::shared_ptr<ado::Recordset> rs;
    EXPECT_EQ(oDataLayer().RunSQL(QStringLiteral("select * from Issue"), rs), 1);
    EXPECT_FALSE(rs);
    EXPECT_EQ(prompt.messages(),
              QStringList{QStringLiteral("Select a case if you want to proceed.")});
}

} // namespace
