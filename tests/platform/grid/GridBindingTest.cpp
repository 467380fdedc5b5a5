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

TEST(GridBinding, ValuesOfEveryKindAreTotalledAfterAStudyOfEarlierRows)
{
    // Values as the engine keeps them in a column of no declared kind.
    TempCase tempCase;
    const QString path = tempCase.create(
        QStringLiteral("Case.AGV"),
        QStringLiteral("CREATE TABLE Mixed (N INTEGER PRIMARY KEY, G TEXT, V);"
                       "INSERT INTO Mixed VALUES (1, 'beta', 9007199254740993);"
                       "INSERT INTO Mixed VALUES (2, 'Alpha', NULL);"
                       "INSERT INTO Mixed VALUES (3, 'alpha', 25);"
                       "INSERT INTO Mixed VALUES (4, 'Alpha', '4');"
                       "INSERT INTO Mixed VALUES (5, NULL, 'n/a');"
                       "INSERT INTO Mixed VALUES (6, 'Alpha', x'3132');"
                       "INSERT INTO Mixed VALUES (7, 'beta', -1);"
                       "INSERT INTO Mixed VALUES (8, 'Alpha', 6);"));
    GridCore g;
    const auto study = [&g] {
        g.setCol(0);
        g.setColSel(g.cols() - 1);
        g.sort(grid::SortGenericAscending);
        g.subtotal(grid::SubtotalClear);
        g.subtotal(grid::SubtotalSum, 1, 2);
    };
    g.setDataSource(*openRecordset(path, "SELECT G, V FROM Mixed ORDER BY N;"));
    study();
    // Newer rows in another order: the order the grid was sorted in is
    // no longer theirs.
    g.setDataSource(*openRecordset(path, "SELECT G, V FROM Mixed ORDER BY N DESC;"));
    study();
    // Empty first; "Alpha" and "alpha" sort together, on their values,
    // but total apart; a blob's bytes read as their text.
    const QList<QStringList> expected{
        {"", "n/a"},   {"", "0"},       {"Alpha", ""},   {"Alpha", "4"},
        {"Alpha", "6"}, {"Alpha", "12"}, {"Alpha", "22"}, {"alpha", "25"},
        {"alpha", "25"}, {"beta", "-1"}, {"beta", "9007199254740993"},
        {"beta", "9.00719925474099e+15"},
    };
    ASSERT_EQ(g.rows(), expected.size() + 1);
    QList<int> subtotals;
    for (int r = 1; r < g.rows(); ++r) {
        EXPECT_EQ(g.textAt(r, 1), expected[r - 1][0]) << "row " << r;
        EXPECT_EQ(g.textAt(r, 2), expected[r - 1][1]) << "row " << r;
        if (g.isSubtotal(r))
            subtotals.append(r);
    }
    EXPECT_EQ(subtotals, (QList<int>{2, 7, 9, 12}));
}
