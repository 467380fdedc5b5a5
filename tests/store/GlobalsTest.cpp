#include "store/Globals.h"
#include "platform/core/AppError.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"
#include "store/CTypes.h"
#include "store/CUtility.h"
#include "store/IShutdownHost.h"

#include "store/TempCurrentFolder.h"
#include "support/ScriptedShell.h"
#include "support/TempCase.h"
#include "support/TestFiles.h"

#include "platform/db/Ado.h"
#include "platform/db/Dao.h"
#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(SQLTextTest, SQLStringCheckDoublesEveryApostrophe)
{
    const std::pair<const char*, const char*> cases[] = {
        {"O'Brien", "O''Brien"},        {"'", "''"}, {"", ""}, {"Smiths'", "Smiths''"},
        {"it's 'x''", "it''s ''x''''"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SQLStringCheck(QString::fromUtf8(text)), QString::fromUtf8(expected)) << text;
}

// An integer that is not one never reaches the statement.
TEST(SQLTextTest, FormatSQLValueByTypeRefusingAnIntegerThatIsNotOne)
{
    const std::tuple<const char*, int, const char*> cases[] = {
        {"", 3, "NULL"},       {"", 200, "NULL"},
        {"", 7, "NULL"},       {"42", 3, "42"},
        {"-7", 3, "-7"},       {"O'Brien's memo.doc", 200, "'O''Brien''s memo.doc'"},
        {"2003-03-05", 7, ""},
    };
    for (const auto& [value, type, expected] : cases)
        EXPECT_EQ(FormatSQLValue(QString::fromUtf8(value), type), QString::fromUtf8(expected))
            << value << " as " << type;
    for (const char* bad : {"1; drop table Issue", "1 or 1=1", "4.5", "abc", " 1"})
        EXPECT_EQ(raised([&] { FormatSQLValue(QString::fromUtf8(bad), 3); }).number(),
                  jet::ConversionError)
            << bad;
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

class ShutdownTest : public StoreTest {
protected:
    void TearDown() override
    {
        registerSharedInstanceRelease("oReport", {});
        registerSharedInstanceRelease("oText", {});
        StoreTest::TearDown();
    }

    ScriptedShell shell;
    TempCase cases;
    QStringList calls;
    FakeShutdownHost host{calls};
};

TEST_F(ShutdownTest, ReleasesTheOpenCaseClosesBothConnectionsAndLeavesFreshInstances)
{
    const QString path = cases.createSample();
    gDB = dao::DBEngine::OpenDatabase(path);
    const std::shared_ptr<dao::Database> db = gDB;
    gConnection = ado::Connection::create();
    gConnection->Open(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    oDataLayer().setDataSource(path);
    ASSERT_EQ(oDataLayer().GetConnected(), 0);
    const auto layerConnection = oDataLayer().Connection();
    oMain().setStrFileName(path);
    oUtility().setSelectedNode(QStringLiteral("C4"));
    oTypes().setItemType(QStringLiteral("Witness"));

    Shutdown();

    EXPECT_FALSE(gDB);
    EXPECT_FALSE(db->isOpen());
    EXPECT_FALSE(gConnection);
    EXPECT_EQ(layerConnection->State(), ado::adStateClosed);
    EXPECT_TRUE(oDataLayer().DataSource().isEmpty());
    EXPECT_TRUE(oMain().strFileName().isEmpty());
    EXPECT_TRUE(oUtility().SelectedNode().isEmpty());
    EXPECT_TRUE(oTypes().ItemType().isEmpty());
    EXPECT_EQ(shell.quitCount, 1);
    EXPECT_EQ(shell.lastExitCode, 0);
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
