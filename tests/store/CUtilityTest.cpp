#include "store/CUtility.h"
#include "platform/core/AppError.h"
#include "store/CMain.h"
#include "store/IAnalysisHost.h"

#include "store/TempCurrentFolder.h"
#include "support/TempCase.h"
#include "support/TestFiles.h"

#include "platform/db/Ado.h"
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Stands in for the analysis grid and engine; GetCount sets the total as
// the engine does.
class FakeAnalysisHost final : public IAnalysisHost {
public:
    QStringList calls;
    std::shared_ptr<ado::Recordset> bound;
    int16_t total = 12;

    void ResetGridBindingSetting() override { calls << QStringLiteral("reset"); }
    void BindGrid(std::shared_ptr<ado::Recordset> recordset) override
    {
        bound = std::move(recordset);
        calls << QStringLiteral("bind");
    }
    void GetCount() override
    {
        oUtility().setTotalCount(total);
        calls << QStringLiteral("count");
    }
    void FilterData(int found, int all) override
    {
        calls << QStringLiteral("filter %1 %2").arg(found).arg(all);
    }
};

class CUtilityTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        setAnalysisHost(&host);
    }

    static void expectGetRecordsetFailure()
    {
        expectClassFailure(raised([] { oUtility().GetRecordset(); }), QStringLiteral("CUtility"),
                           QStringLiteral("GetRecordset"));
    }

    TempCase cases;
    FakeAnalysisHost host;
};

// A failure at any step stops the sequence there and reaches the caller as
// the class failure.
TEST_F(CUtilityTest, GetRecordsetFailuresRaiseTheClassFailureAndStopAtTheFailingStep)
{
    oUtility().setSSQL(QStringLiteral("select * from Issue"));
    expectGetRecordsetFailure(); // no case: the open fails
    EXPECT_TRUE(host.calls.isEmpty());

    oMain().setStrFileName(cases.create());
    oUtility().setSSQL(QStringLiteral("select * from NoSuchTable"));
    expectGetRecordsetFailure();
    EXPECT_EQ(host.calls, QStringList{QStringLiteral("reset")});

    setAnalysisHost(nullptr);
    oUtility().setSSQL(QStringLiteral("select * from Issue"));
    expectGetRecordsetFailure();
}

TEST_F(CUtilityTest, QueryWithoutRowsStillBindsCountsAndFilters)
{
    oMain().setStrFileName(cases.createSample());
    oUtility().setRecordCount(5);
    oUtility().setSSQL(QStringLiteral("select * from Issue where ID = -1"));

    oUtility().GetRecordset();

    EXPECT_EQ(oUtility().RecordCount(), 0);
    ASSERT_TRUE(host.bound);
    EXPECT_EQ(host.bound->RecordCount(), 0);
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("reset"), QStringLiteral("bind"),
                                       QStringLiteral("count"), QStringLiteral("filter 0 12")}));
}

TEST_F(CUtilityTest, EachCallCountsItsRowsOnANewSharedConnection)
{
    oMain().setStrFileName(cases.createSample());
    oUtility().setSSQL(QStringLiteral("select * from Issue"));

    oUtility().GetRecordset();
    const std::shared_ptr<ado::Connection> first = gConnection;
    ASSERT_TRUE(first);
    EXPECT_EQ(first->State(), ado::adStateOpen);
    ASSERT_TRUE(host.bound);
    EXPECT_EQ(host.bound->RecordCount(), 10);
    EXPECT_EQ(oUtility().RecordCount(), 10);
    EXPECT_EQ(host.calls.last(), QStringLiteral("filter 10 12"));

    oUtility().GetRecordset();
    ASSERT_TRUE(gConnection);
    EXPECT_NE(gConnection, first);
    EXPECT_EQ(gConnection->State(), ado::adStateOpen);
    // Released, not closed: only this test still holds the first one.
    EXPECT_EQ(first.use_count(), 1);
}

} // namespace
