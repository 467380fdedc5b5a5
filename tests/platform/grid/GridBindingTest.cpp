#include "platform/grid/GridCore.h"

#include "platform/core/AppError.h"

#pragma push_macro("EOF")
#undef EOF
#include "platform/db/Ado.h"
#pragma pop_macro("EOF")

#include "support/TempCase.h"

#include <gtest/gtest.h>

using grid::GridCore;

namespace {

std::shared_ptr<ado::Recordset> openRecordset(const QString& path, const QString& sql)
{
    auto connection = ado::Connection::create();
    connection->setCursorLocation(ado::adUseClient);
    connection->Open(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    auto recordset = ado::Recordset::create();
    recordset->Open(sql, connection, ado::adOpenStatic, ado::adLockOptimistic);
    return recordset;
}

} // namespace

TEST(GridBinding, CopiesFieldNamesIntoRowZeroAndOneRowPerRecord)
{
    TempCase tempCase;
    const QString path = tempCase.createSample();
    GridCore g;
    {
        auto rs = openRecordset(path,
            "SELECT Issue.ID as ID, Issue.Name as [Key Group], Issue_1.Name as Name, "
            "Issue_1.Weight as Weight FROM Issue INNER JOIN Issue AS Issue_1 "
            "ON Issue.ID = Issue_1.ParentID ORDER BY Issue_1.ID;");
        g.setDataSource(*rs);
        rs->Close();
    }
    // The recordset is gone; the grid keeps its own copy.
    ASSERT_EQ(g.cols(), 5);
    EXPECT_EQ(g.textAt(0, 0), "");
    EXPECT_EQ(g.textAt(0, 1), "ID");
    EXPECT_EQ(g.textAt(0, 2), "Key Group");
    EXPECT_EQ(g.textAt(0, 3), "Name");
    EXPECT_EQ(g.textAt(0, 4), "Weight");
    // Items 2, 3, 4, 5, 7, 8 and 9 have a parent.
    ASSERT_EQ(g.rows(), 8);
    EXPECT_EQ(g.textAt(1, 1), "1");
    EXPECT_EQ(g.textAt(1, 2), "Liability");
    EXPECT_EQ(g.textAt(1, 3), "Duty of care");
    EXPECT_EQ(g.textAt(1, 4), "10");
    EXPECT_DOUBLE_EQ(g.valueAt(1, 4), 10.0);
    EXPECT_EQ(g.textAt(7, 2), "Lost wages");
    EXPECT_EQ(g.textAt(7, 4), "3");
}

TEST(GridBinding, AnEmptyResultLeavesOnlyTheHeaderRow)
{
    TempCase tempCase;
    const QString path = tempCase.create();
    GridCore g;
    g.setCols(4);
    g.setRows(5);
    auto rs = openRecordset(path, "SELECT ID, Name FROM Issue;");
    g.setDataSource(*rs);
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(g.cols(), 3);
    EXPECT_EQ(g.textAt(0, 2), "Name");
    g.subtotal(grid::SubtotalCount, 1, 2);
    EXPECT_EQ(g.rows(), 1);
}

TEST(GridBinding, AClosedRecordsetLeavesTheGridAsItWas)
{
    TempCase tempCase;
    const QString path = tempCase.createSample();
    GridCore g;
    g.setCols(3);
    g.setRows(2);
    g.setTextAt(1, 1, "kept");
    auto rs = openRecordset(path, "SELECT ID, Name FROM Issue;");
    rs->Close();
    EXPECT_THROW(g.setDataSource(*rs), AppError);
    EXPECT_EQ(g.textAt(1, 1), "kept");
}
