#include "store/Globals.h"
#include "platform/core/AppError.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"
#include "store/CTypes.h"
#include "store/CUtility.h"
#include "store/IShutdownHost.h"

#include "store/TempCurrentFolder.h"
#include "support/ScriptedPrompt.h"
#include "support/ScriptedShell.h"
#include "support/TempCase.h"

#include "platform/db/Ado.h"
#include "platform/db/Dao.h"
#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(SQLStringCheckTest, DoublesEveryApostrophe)
{
    EXPECT_EQ(SQLStringCheck(QStringLiteral("O'Brien")), QStringLiteral("O''Brien"));
    EXPECT_EQ(SQLStringCheck(QStringLiteral("'")), QStringLiteral("''"));
    EXPECT_EQ(SQLStringCheck(QString()), QString());
    EXPECT_EQ(SQLStringCheck(QStringLiteral("Smiths'")), QStringLiteral("Smiths''"));
    EXPECT_EQ(SQLStringCheck(QStringLiteral("it's 'x''")), QStringLiteral("it''s ''x''''"));
}

TEST(FormatSQLValueTest, EmptyValueIsNullWhateverTheType)
{
    for (const int type : {3, 200, 7, 0})
        EXPECT_EQ(FormatSQLValue(QString(), type), QStringLiteral("NULL")) << type;
}

TEST(FormatSQLValueTest, TextIsQuotedWithApostrophesDoubled)
{
    EXPECT_EQ(FormatSQLValue(QStringLiteral("O'Brien's memo.doc"), 200),
              QStringLiteral("'O''Brien''s memo.doc'"));
}

TEST(FormatSQLValueTest, OtherTypesGiveNoText)
{
    EXPECT_EQ(FormatSQLValue(QStringLiteral("2003-03-05"), 7), QString());
}

TEST(FormatSQLValueTest, IntegerPassesOnlyWhenItIsAPlainInteger)
{
    EXPECT_EQ(FormatSQLValue(QStringLiteral("42"), 3), QStringLiteral("42"));
    EXPECT_EQ(FormatSQLValue(QStringLiteral("-7"), 3), QStringLiteral("-7"));
    for (const QString& bad :
         {QStringLiteral("1; drop table Issue"), QStringLiteral("1 or 1=1"), QStringLiteral("4.5"),
          QStringLiteral("abc"), QStringLiteral(" 1")}) {
        try {
            FormatSQLValue(bad, 3);
            ADD_FAILURE() << "accepted " << bad.toStdString();
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), jet::ConversionError);
        }
    }
}

// Records the window side of the stop sequence; a step can be made to fail.
class FakeShutdownHost final : public IShutdownHost {
public:
    QStringList& calls;
    int reportState = 0;
    bool failPanes = false;

    explicit FakeShutdownHost(QStringList& log)
        : calls(log)
    {
    }

    void TerminatePanes() override
    {
        calls << QStringLiteral("TerminatePanes");
        if (failPanes)
            throw AppError(91, QStringLiteral("ctlBookmarkList"), QStringLiteral("Pane failure"));
    }
    int GridReportState() const override
    {
        calls << QStringLiteral("GridReportState");
        return reportState;
    }
    void StopGridReport() override { calls << QStringLiteral("StopGridReport"); }
    void UnloadAllWindows() override { calls << QStringLiteral("UnloadAllWindows"); }
};

class ShutdownTest : public ::testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override
    {
        registerSharedInstanceRelease("oReport", {});
        registerSharedInstanceRelease("oText", {});
        resetAppState();
    }

    TempCurrentFolder folder;
    ScriptedPrompt prompt;
    ScriptedShell shell;
    TempCase cases;
    QStringList calls;
    FakeShutdownHost host{calls};
};

TEST_F(ShutdownTest, WithNoCaseAndNoWindowItReachesTheEndAndLeavesFreshInstances)
{
    oMain().setStrFileName(QStringLiteral("C:/cases/Old.AGV"));
    oUtility().setSelectedNode(QStringLiteral("C4"));
    oTypes().setItemType(QStringLiteral("Witness"));

    Shutdown();

    EXPECT_EQ(shell.quitCount, 1);
    EXPECT_EQ(shell.lastExitCode, 0);
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
    EXPECT_TRUE(oMain().strFileName().isEmpty());
    EXPECT_TRUE(oUtility().SelectedNode().isEmpty());
    EXPECT_TRUE(oTypes().ItemType().isEmpty());
}

TEST_F(ShutdownTest, ReleasesTheOpenCaseAndClosesBothConnections)
{
    const QString path = cases.createSample();
    gDB = dao::DBEngine::OpenDatabase(path);
    const std::shared_ptr<dao::Database> db = gDB;
    gConnection = ado::Connection::create();
    gConnection->Open(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    oDataLayer().setDataSource(path);
    ASSERT_EQ(oDataLayer().GetConnected(), 0);
    const auto layerConnection = oDataLayer().Connection();

    Shutdown();

    EXPECT_FALSE(gDB);
    EXPECT_FALSE(db->isOpen());
    EXPECT_FALSE(gConnection);
    EXPECT_EQ(layerConnection->State(), ado::adStateClosed);
    EXPECT_TRUE(oDataLayer().DataSource().isEmpty());
    EXPECT_EQ(shell.quitCount, 1);
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
}

TEST_F(ShutdownTest, WindowStepsAndRegisteredReleasesRunInTheirOrder)
{
    setShutdownHost(&host);
    host.reportState = 1;
    oUtility().setSSQL(QStringLiteral("select 1"));
    oTypes().setItemType(QStringLiteral("Issue"));
    oMain().setStrFileName(QStringLiteral("C:/cases/Open.AGV"));
    // Each release notes which of the store's instances were already gone.
    registerSharedInstanceRelease("oReport", [this] {
        calls << QStringLiteral("oReport utility:%1 types:%2")
                     .arg(oUtility().sSQL().isEmpty() ? "gone" : "kept",
                          oTypes().ItemType().isEmpty() ? "gone" : "kept");
    });
    registerSharedInstanceRelease("oText", [this] {
        calls << QStringLiteral("oText main:%1")
                     .arg(oMain().strFileName().isEmpty() ? "gone" : "kept");
    });

    Shutdown();

    EXPECT_EQ(calls,
              (QStringList{QStringLiteral("TerminatePanes"),
                           QStringLiteral("oReport utility:gone types:kept"),
                           QStringLiteral("oText main:kept"), QStringLiteral("GridReportState"),
                           QStringLiteral("StopGridReport"), QStringLiteral("UnloadAllWindows")}));
    EXPECT_EQ(shell.quitCount, 1);
}

TEST_F(ShutdownTest, AFailingStepIsReportedAndTheRestStillRuns)
{
    setShutdownHost(&host);
    host.failPanes = true;

    Shutdown();

    EXPECT_EQ(prompt.messages(),
              QStringList{QStringLiteral("Pane failure\nin Argovo.Globals.Shutdown at line 10")});
    EXPECT_EQ(calls,
              (QStringList{QStringLiteral("TerminatePanes"), QStringLiteral("GridReportState"),
                           QStringLiteral("UnloadAllWindows")}));
    EXPECT_EQ(shell.quitCount, 1);
}

} // namespace
