#include "platform/grid/GridCore.h"

#include "platform/core/AppError.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>

using grid::GridCore;
using grid::MergeSpan;

namespace {

// Rows of texts for columns 1..n; row 0 of the list is the header row.
void fill(GridCore& g, const QList<QStringList>& rows)
{
    g.setCols(rows.first().size() + 1);
    g.setRows(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            g.setTextAt(r, c + 1, rows[r][c]);
    }
}

// Group column 1, values in column 2.
void fillGroups(GridCore& g, const QList<QPair<QString, QString>>& rows)
{
    QList<QStringList> table{{"Group", "Rating"}};
    for (const auto& [group, value] : rows)
        table.append({group, value});
    fill(g, table);
}

QList<int> subtotalRows(const GridCore& g)
{
    QList<int> result;
    for (int r = 0; r < g.rows(); ++r) {
        if (g.isSubtotal(r))
            result.append(r);
    }
    return result;
}

QStringList column(const GridCore& g, int col)
{
    QStringList result;
    for (int r = 1; r < g.rows(); ++r)
        result.append(g.textAt(r, col));
    return result;
}

// The statistic of one group (group column 1, total column 2), in a fresh grid.
QString statistic(int function, const QStringList& values, double* value = nullptr)
{
    GridCore g;
    QList<QPair<QString, QString>> rows;
    for (const QString& v : values)
        rows.append({"A", v});
    fillGroups(g, rows);
    g.subtotal(function, 1, 2);
    const QList<int> subtotals = subtotalRows(g);
    EXPECT_EQ(subtotals.size(), 1);
    if (subtotals.isEmpty())
        return QStringLiteral("<no subtotal row>");
    if (value)
        *value = g.valueAt(subtotals.first(), 2);
    return g.textAt(subtotals.first(), 2);
}

} // namespace

TEST(GridCoreSubtotal, NoDataRowsGiveNoSubtotalRows)
{
    GridCore g;
    fill(g, {{"Group", "Rating"}});
    for (int function = grid::SubtotalSum; function <= grid::SubtotalVariance; ++function)
        g.subtotal(function, 1, 2);
    EXPECT_EQ(g.rows(), 1);
    EXPECT_TRUE(subtotalRows(g).isEmpty());
}

TEST(GridCoreSubtotal, StatisticsOfOneGroupLeaveOutEmptyCells)
{
    struct Case {
        const char* what;
        int function;
        QStringList values;
        QString text; // the subtotal cell's text
        double value; // its value; 0 for an empty result
    };
    using namespace grid;
    const QList<Case> cases{
        {"all empty: count", SubtotalCount, {"", ""}, "0", 0},
        {"all empty: sum", SubtotalSum, {"", ""}, "0", 0},
        {"all empty: average", SubtotalAverage, {"", ""}, "", 0},
        {"all empty: max", SubtotalMax, {"", ""}, "", 0},
        {"all empty: min", SubtotalMin, {"", ""}, "", 0},
        {"all empty: deviation", SubtotalStdDev, {"", ""}, "", 0},
        {"all empty: variance", SubtotalVariance, {"", ""}, "", 0},
        {"text and blanks: count", SubtotalCount, {"7", "", "n/a", "9"}, "2", 2},
        {"blank: average", SubtotalAverage, {"7", "", "9"}, "8", 8},
        {"blank: min", SubtotalMin, {"", "7", "9"}, "7", 7},
        {"blank: max", SubtotalMax, {"", "7", "9"}, "9", 9},
        {"single row: deviation", SubtotalStdDev, {"6"}, "", 0},
        {"single row: variance", SubtotalVariance, {"6"}, "", 0},
        {"single row: average", SubtotalAverage, {"6"}, "6", 6},
        {"single row: count", SubtotalCount, {"6"}, "1", 1},
        {"7 and 9: average", SubtotalAverage, {"7", "9"}, "8", 8},
        {"7 and 9: variance", SubtotalVariance, {"7", "9"}, "2", 2},
        {"7 and 9: deviation", SubtotalStdDev, {"7", "9"}, "1.4142135623731", std::sqrt(2.0)},
        {"7 and 9: sum", SubtotalSum, {"7", "9"}, "16", 16},
        // Not a tiny negative or a rounding speck.
        {"constant: variance", SubtotalVariance, {"0.1", "0.1", "0.1"}, "0", 0},
        {"constant: deviation", SubtotalStdDev, {"0.1", "0.1", "0.1"}, "0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double value = -1;
        EXPECT_EQ(statistic(c.function, c.values, &value), c.text);
        EXPECT_DOUBLE_EQ(value, c.value);
    }
    // A statistic of values too large to total is still a number, one a
    // click reports as too large rather than reading it as 0.
    double overflow = 0;
    EXPECT_EQ(statistic(SubtotalPercent, {"1e308", "1e308"}, &overflow), "nan");
    EXPECT_TRUE(std::isnan(overflow));
}

TEST(GridCoreSubtotal, PercentIsTheGroupShareOfTheColumnAndEmptyWhenTheColumnSumsToZero)
{
    GridCore g;
    fillGroups(g, {{"A", "10"}, {"A", "15"}, {"B", "75"}});
    g.subtotal(grid::SubtotalPercent, 1, 2);
    ASSERT_EQ(subtotalRows(g), (QList<int>{3, 5}));
    EXPECT_DOUBLE_EQ(g.valueAt(3, 2), 25.0);
    EXPECT_DOUBLE_EQ(g.valueAt(5, 2), 75.0);

    GridCore zero;
    fillGroups(zero, {{"A", "0"}, {"B", "0"}, {"B", ""}});
    zero.subtotal(grid::SubtotalPercent, 1, 2);
    ASSERT_EQ(subtotalRows(zero).size(), 2);
    for (const int r : subtotalRows(zero)) {
        EXPECT_EQ(zero.textAt(r, 2), "");
        EXPECT_EQ(zero.valueAt(r, 2), 0.0);
    }
}

TEST(GridCoreSubtotal, PercentAfterASumOnTheSameColumnSharesTheDataRowsTotalOnly)
{
    GridCore g;
    fillGroups(g, {{"A", "10"}, {"A", "15"}, {"B", "75"}});
    g.subtotal(grid::SubtotalSum, 1, 2);
    g.subtotal(grid::SubtotalPercent, 1, 2);
    ASSERT_EQ(subtotalRows(g), (QList<int>{3, 5}));
    EXPECT_DOUBLE_EQ(g.valueAt(3, 2), 25.0);
    EXPECT_DOUBLE_EQ(g.valueAt(5, 2), 75.0);
}

TEST(GridCoreSubtotal, OneSubtotalRowBelowEachRunCarryingTheGroupTextUntilCleared)
{
    GridCore g;
    fillGroups(g, {{"A", "1"}, {"A", "2"}, {"B", "3"}, {"A", "4"}});
    g.subtotal(grid::SubtotalSum, 1, 2);
    EXPECT_EQ(column(g, 1), (QStringList{"A", "A", "A", "B", "B", "A", "A"}));
    EXPECT_EQ(column(g, 2), (QStringList{"1", "2", "3", "3", "3", "4", "4"}));
    EXPECT_EQ(subtotalRows(g), (QList<int>{3, 5, 7}));

    g.subtotal(grid::SubtotalClear);
    EXPECT_TRUE(subtotalRows(g).isEmpty());
    EXPECT_EQ(column(g, 2), (QStringList{"1", "2", "3", "4"}));
    // Fresh subtotal rows again after a clear.
    g.subtotal(grid::SubtotalCount, 1, 2);
    EXPECT_EQ(subtotalRows(g), (QList<int>{3, 5, 7}));
    EXPECT_EQ(g.textAt(3, 2), "2");
}

TEST(GridCoreSubtotal, RowsAreReusedAcrossColumnsAndCarryTheirOwnColourAndBold)
{
    GridCore g;
    fill(g, {{"ID", "Key Group", "Rule", "Weight", "Success", "Jury", "Instructions", "Evidence",
              "Significance"},
             {"1", "Liability", "Duty", "10", "9", "9", "10", "9", "10"},
             {"1", "Liability", "Breach", "8", "7", "8", "7", "", "8"},
             {"6", "Damages", "Wages", "5", "4", "5", "4", "4", "5"}});
    for (int c = 4; c <= 9; ++c)
        g.subtotal(grid::SubtotalCount, 1, c, QString(), std::nullopt,
                   c == 4 ? grid::kRed : grid::kBlue, true);

    ASSERT_EQ(subtotalRows(g), (QList<int>{3, 5}));
    EXPECT_EQ(g.rows(), 6);
    EXPECT_EQ(g.textAt(3, 1), "1");
    EXPECT_EQ(g.textAt(3, 4), "2");
    EXPECT_EQ(g.textAt(3, 8), "1");
    for (int c = 4; c <= 9; ++c) {
        EXPECT_EQ(g.textAt(5, c), "1") << "column " << c;
        EXPECT_EQ(g.foreColorAt(3, c), c == 4 ? 255 : 16711680) << "column " << c;
        EXPECT_TRUE(g.boldAt(3, c)) << "column " << c;
    }
    // Data cells keep the defaults.
    EXPECT_EQ(g.foreColorAt(1, 4), -1);
    EXPECT_FALSE(g.boldAt(1, 4));
}

TEST(GridCoreSubtotal, SubtotalRowsFollowAGroupTextEditedBeforeOrAfterTheSort)
{
    GridCore g;
    fillGroups(g, {{"A", "1"}, {"A", "2"}, {"B", "4"}});
    g.setCol(0);
    g.setColSel(2);
    g.subtotal(grid::SubtotalSum, 1, 2);

    // The edits leave the rows in order: each sort keeps them where they are.
    g.sort(grid::SortGenericAscending);
    g.setTextAt(2, 1, "AB");
    g.subtotal(grid::SubtotalSum, 1, 2);
    EXPECT_EQ(column(g, 2), (QStringList{"1", "1", "2", "2", "4", "4"}));

    g.setTextAt(1, 1, "AB");
    g.sort(grid::SortGenericAscending);
    g.subtotal(grid::SubtotalSum, 1, 2);
    EXPECT_EQ(column(g, 2), (QStringList{"1", "2", "3", "4", "4"}));
}

TEST(GridCoreSubtotal, AStudyAfterASortShowsNothingOfTheStudiesBefore)
{
    GridCore g;
    fill(g, {{"Group", "Rating", "Other"}, {"A", "1", "5"}, {"A", "2", "6"}, {"B", "4", "7"}});
    g.setCol(0);
    g.setColSel(3);
    g.subtotal(grid::SubtotalSum, 1, 3, QString(), grid::kBlue, grid::kRed, true);
    g.sort(grid::SortGenericAscending);
    g.subtotal(grid::SubtotalSum, 1, 2);
    ASSERT_EQ(subtotalRows(g), (QList<int>{3, 5}));
    EXPECT_EQ(g.textAt(3, 2), "3");
    EXPECT_EQ(g.textAt(3, 3), "");
    EXPECT_FALSE(g.isNumeric(3, 3));
    EXPECT_EQ(g.foreColorAt(3, 3), -1);
    EXPECT_EQ(g.backColorAt(3, 3), -1);
    EXPECT_FALSE(g.boldAt(3, 3));

    // Totalled, the group column of a subtotal row shows the group again.
    g.subtotal(grid::SubtotalCount, 1, 1);
    g.sort(grid::SortGenericAscending);
    g.subtotal(grid::SubtotalSum, 1, 2);
    EXPECT_EQ(g.textAt(3, 1), "A");
    EXPECT_EQ(g.textAt(5, 1), "B");
}

TEST(GridCoreSubtotal, AveragesShowOneCutDecimalWhileTheValueStaysExact)
{
    GridCore g;
    fillGroups(g, {{"A", "7"}, {"A", "7"}, {"A", "8"}});
    g.setColFormat(2, "'.0");
    g.subtotal(grid::SubtotalAverage, 1, 2);
    EXPECT_EQ(g.displayText(4, 2), "7.3");
    EXPECT_NEAR(g.valueAt(4, 2), 22.0 / 3.0, 1e-12);
    // Integers stay as they are.
    EXPECT_EQ(g.displayText(1, 2), "7");
    EXPECT_EQ(GridCore::formatNumber(7.46, "'.0"), "7.4");
    EXPECT_EQ(GridCore::formatNumber(7.3, "'.0"), "7.3");
    EXPECT_EQ(GridCore::formatNumber(8.0, "'.0"), "8");
}

TEST(GridCoreSort, EmptyFirstThenNumbersByValueThenTextWithoutRegardToCase)
{
    GridCore g;
    fill(g, {{"Rating"}, {"10"}, {"apple"}, {"9"}, {""}, {"Banana"}, {"100"}, {"2"}});
    g.setCol(0);
    g.setColSel(g.cols() - 1);
    g.sort(grid::SortGenericAscending);
    EXPECT_EQ(column(g, 1), (QStringList{"", "2", "9", "10", "100", "apple", "Banana"}));
}

TEST(GridCoreSort, NumbersWrittenDifferentlyKeepTheirOwnTexts)
{
    GridCore g;
    fill(g, {{"Rating"}, {"2"}, {"1.0"}, {"1"}, {"1.0"}});
    g.setCol(0);
    g.setColSel(g.cols() - 1);
    g.sort(grid::SortGenericAscending);
    EXPECT_EQ(column(g, 1), (QStringList{"1.0", "1", "1.0", "2"}));
}

TEST(GridCoreSort, SortIsStableAndKeyedOnSelectedColumnsLeftToRight)
{
    GridCore g;
    fill(g, {{"Group", "Name", "Order"},
             {"2", "b", "1"},
             {"1", "z", "2"},
             {"2", "a", "3"},
             {"1", "z", "4"},
             {"1", "y", "5"}});
    // Keys: group only; equal groups keep their order.
    g.setCol(1);
    g.sort(grid::SortGenericAscending);
    EXPECT_EQ(column(g, 3), (QStringList{"2", "4", "5", "1", "3"}));

    // Keys: group, then name.
    g.setCol(1);
    g.setColSel(2);
    g.sort(grid::SortGenericAscending);
    EXPECT_EQ(column(g, 3), (QStringList{"5", "2", "4", "3", "1"}));
}

TEST(GridCoreSort, SixtyRowsOfFewKeysKeepTheirOrderWithinEachKey)
{
    // Beyond the few rows an unstable sort happens to leave in order.
    QList<QStringList> table{{"Key", "Order"}};
    for (int i = 0; i < 60; ++i)
        table.append({QString::number((i * 7) % 3), QString::number(i)});
    GridCore g;
    fill(g, table);
    g.setCol(1);
    g.sort(grid::SortGenericAscending);
    QStringList expected;
    for (int key = 0; key < 3; ++key) {
        for (int i = 0; i < 60; ++i) {
            if ((i * 7) % 3 == key)
                expected.append(QString::number(i));
        }
    }
    EXPECT_EQ(column(g, 2), expected);
}

// A grid once sorted is sorted again after each of these changes.
struct ChangeAfterSort {
    const char* name;
    void (*change)(GridCore&);
    QStringList orderColumn; // column 3 after the second sort
};

class GridCoreSortAgain : public testing::TestWithParam<ChangeAfterSort> {};

TEST_P(GridCoreSortAgain, ChangedRowsAreOrderedAgain)
{
    GridCore g;
    fill(g, {{"Group", "Name", "Order"}, {"2", "b", "1"}, {"1", "z", "2"}, {"1", "y", "3"}});
    g.setCol(1);
    g.setColSel(2);
    g.sort(grid::SortGenericAscending);
    g.subtotal(grid::SubtotalCount, 1, 3);
    GetParam().change(g);
    g.sort(grid::SortGenericAscending);
    EXPECT_TRUE(subtotalRows(g).isEmpty());
    EXPECT_EQ(column(g, 3), GetParam().orderColumn);
}

INSTANTIATE_TEST_SUITE_P(
    GridCoreSort, GridCoreSortAgain,
    testing::Values(
        ChangeAfterSort{"KeyEdited", [](GridCore& g) { g.setTextAt(1, 1, "3"); }, {"2", "1", "3"}},
        ChangeAfterSort{"RowAdded",
                        [](GridCore& g) {
                            g.setRows(g.rows() + 1);
                            g.setTextAt(g.rows() - 1, 1, "0");
                            g.setTextAt(g.rows() - 1, 3, "4");
                            g.setCol(1);
                            g.setColSel(2);
                        },
                        {"4", "3", "2", "1"}},
        ChangeAfterSort{"OtherKeys",
                        [](GridCore& g) {
                            g.setCol(2);
                            g.setColSel(2);
                        },
                        {"1", "3", "2"}}),
    [](const testing::TestParamInfo<ChangeAfterSort>& info) { return info.param.name; });

TEST(GridCoreSort, SortingDropsSubtotalRowsThatNoLongerFit)
{
    GridCore g;
    fillGroups(g, {{"B", "1"}, {"A", "2"}});
    g.subtotal(grid::SubtotalSum, 1, 2);
    g.setCol(0);
    g.setColSel(2);
    g.sort(grid::SortGenericAscending);
    EXPECT_TRUE(subtotalRows(g).isEmpty());
    EXPECT_EQ(column(g, 1), (QStringList{"A", "B"}));
}

TEST(GridCoreSort, RowsAlreadyInOrderLoseTheirSubtotalsAndTotalEditedNumbersAnew)
{
    GridCore g;
    fillGroups(g, {{"A", "1"}, {"A", "2"}, {"B", "4"}});
    g.setColFormat(2, "'.0");
    g.subtotal(grid::SubtotalAverage, 1, 2);
    // Typing over a computed cell keeps what was typed, not the exact value.
    g.setTextAt(3, 2, "1.5");
    EXPECT_DOUBLE_EQ(g.valueAt(3, 2), 1.5);
    g.setTextAt(3, 2, "1.5");
    EXPECT_EQ(g.displayText(3, 2), "1.5");

    g.setCol(0);
    g.setColSel(2);
    g.sort(grid::SortGenericAscending);
    EXPECT_TRUE(subtotalRows(g).isEmpty());
    EXPECT_EQ(column(g, 2), (QStringList{"1", "2", "4"}));

    g.setTextAt(2, 2, "word");
    g.setTextAt(3, 2, "6");
    g.subtotal(grid::SubtotalSum, 1, 2);
    EXPECT_EQ(subtotalRows(g), (QList<int>{3, 5}));
    EXPECT_EQ(g.textAt(3, 2), "1");
    EXPECT_EQ(g.textAt(5, 2), "6");
    EXPECT_FALSE(g.isNumeric(2, 2));
}

TEST(GridCoreMerge, MergesNeverCrossTheHeaderOrSubtotalRowsNorJoinEmptyCells)
{
    GridCore g;
    fill(g, {{"A", "x", "7"}, {"A", "x", "7"}, {"A", "", "7"}, {"A", "", "7"}, {"B", "x", "7"}});
    g.setMergeCol(1, true);
    g.setMergeCol(2, true);
    EXPECT_TRUE(g.mergeSpans().isEmpty());
    g.setMergeCells(grid::MergeCells);
    // Header "A" above data "A" and "x" above "x": the header stays apart.
    // Column 3 is not flagged and does not merge.
    EXPECT_EQ(g.mergeSpans(), (QList<MergeSpan>{{1, 1, 3}}));

    g.subtotal(grid::SubtotalCount, 1, 2);
    ASSERT_EQ(subtotalRows(g), (QList<int>{4, 6}));
    // The subtotal row below group A carries "A" too but stays apart.
    EXPECT_EQ(g.mergeSpans(), (QList<MergeSpan>{{1, 1, 3}}));
    g.setMergeCells(grid::MergeNone);
    EXPECT_TRUE(g.mergeSpans().isEmpty());

    // Texts of the same number are still different texts.
    GridCore numbers;
    fill(numbers, {{"Rating"}, {"1"}, {"1.0"}, {"1.0"}, {"2"}, {"02"}});
    numbers.setMergeCol(1, true);
    numbers.setMergeCells(grid::MergeCells);
    EXPECT_EQ(numbers.mergeSpans(), (QList<MergeSpan>{{2, 1, 2}}));

    // Long words alike in length and in their first letters are told apart.
    const QString longA(70, QLatin1Char('x'));
    const QString longB = QString(69, QLatin1Char('x')) + QLatin1Char('y');
    GridCore words;
    fillGroups(words, {{longA, "1"}, {longB, "2"}, {longB, "4"}});
    words.setMergeCol(1, true);
    words.setMergeCells(grid::MergeCells);
    EXPECT_EQ(words.mergeSpans(), (QList<MergeSpan>{{2, 1, 2}}));
    words.subtotal(grid::SubtotalSum, 1, 2);
    EXPECT_EQ(subtotalRows(words), (QList<int>{2, 5}));
    EXPECT_EQ(words.textAt(5, 2), "6");
}

TEST(GridCoreColumns, VisualMoveLeavesAddressingGroupingAndTotalsOnLogicalColumns)
{
    GridCore g;
    fill(g, {{"Group", "Name", "Rating"}, {"B", "n1", "4"}, {"A", "n2", "2"}, {"A", "n3", "6"}});
    g.moveColumn(3, 1);
    g.moveColumn(1, 3);
    EXPECT_EQ(g.visualOrder(), (QList<int>{0, 3, 2, 1}));
    EXPECT_EQ(g.colAtPosition(1), 3);
    EXPECT_EQ(g.colPosition(1), 3);
    EXPECT_EQ(g.textAt(0, 1), "Group");

    g.setCol(0);
    g.setColSel(g.cols() - 1);
    g.sort(grid::SortGenericAscending);
    EXPECT_EQ(column(g, 1), (QStringList{"A", "A", "B"}));
    g.subtotal(grid::SubtotalSum, 1, 3);
    EXPECT_EQ(subtotalRows(g), (QList<int>{3, 5}));
    EXPECT_EQ(g.textAt(3, 3), "8");
    EXPECT_EQ(g.textAt(5, 3), "4");
    EXPECT_EQ(g.visualOrder(), (QList<int>{0, 3, 2, 1}));
}

TEST(GridCoreCells, CurrentCellReadsTextAndValueAndSettingItCollapsesTheSelection)
{
    GridCore g;
    fill(g, {{"Name", "Rating"}, {"Liability", " 7.5 "}});
    g.setCol(0);
    g.setColSel(g.cols() - 1);
    EXPECT_EQ(g.colSel(), 2);
    g.setRow(99);
    g.setCol(2);
    EXPECT_EQ(g.row(), 1);
    EXPECT_DOUBLE_EQ(g.value(), 7.5);
    EXPECT_DOUBLE_EQ(g.cell(grid::CellValue, 1, 2).toDouble(), 7.5);
    g.setCol(1);
    EXPECT_EQ(g.colSel(), 1);
    EXPECT_EQ(g.text(), "Liability");
    EXPECT_EQ(g.value(), 0.0);
    g.setCell(grid::CellText, 0, 1, "Key Group");
    EXPECT_EQ(g.cell(grid::CellText, 0, 1).toString(), "Key Group");
}

TEST(GridCoreCells, NumbersAreReadWhateverTheirSignPointExponentOrBlanks)
{
    struct Case {
        const char* text;
        bool numeric;
        double value;
    };
    const Case cases[] = {
        {"12", true, 12},
        {" 7 ", true, 7},
        {"-3", true, -3},
        {"+4", true, 4},
        {"2.5", true, 2.5},
        {".5", true, 0.5},
        {"1e3", true, 1000},
        {"-0.25", true, -0.25},
        {"1234567890123456789", true, 1234567890123456789.0},
        {"abc", false, 0},
        {"-", false, 0},
        {"12a", false, 0},
        {"1 2", false, 0},
        {"", false, 0},
        {"inf", false, 0},
    };
    GridCore g;
    g.setCols(2);
    g.setRows(2);
    for (const Case& c : cases) {
        g.setTextAt(1, 1, QString::fromLatin1(c.text));
        EXPECT_EQ(g.isNumeric(1, 1), c.numeric) << c.text;
        EXPECT_DOUBLE_EQ(g.valueAt(1, 1), c.value) << c.text;
    }
}

TEST(GridCoreCells, AddressingOutsideTheGridRaisesSubscriptOutOfRange)
{
    GridCore g;
    fill(g, {{"a"}, {"1"}});
    try {
        g.setTextAt(5, 1, "x");
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 381);
    }
    EXPECT_THROW(g.textAt(1, 9), AppError);
    EXPECT_THROW(g.subtotal(grid::SubtotalSum, 1, 7), AppError);
}

TEST(GridCoreCells, ClearEmptiesEveryCellAndDropsTheDataRows)
{
    GridCore g;
    fill(g, {{"a", "b"}, {"1", "2"}, {"3", "4"}});
    g.setColWidth(2, 1500);
    g.clear();
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(g.cols(), 3);
    EXPECT_EQ(g.textAt(0, 1), "");
    EXPECT_EQ(g.colWidth(2), 1500);
}

TEST(GridCoreRedraw, ChangesWhileRedrawIsOffReachTheViewOnceWhenItComesBack)
{
    GridCore g;
    fillGroups(g, {{"B", "1"}, {"A", "2"}});
    QSignalSpy aboutToReset(&g, &GridCore::aboutToReset);
    QSignalSpy reset(&g, &GridCore::reset);
    QSignalSpy cells(&g, &GridCore::cellsChanged);
    QSignalSpy display(&g, &GridCore::displayChanged);

    g.setRedraw(grid::RedrawOff);
    g.setCol(0);
    g.setColSel(2);
    g.sort(grid::SortGenericAscending);
    g.subtotal(grid::SubtotalClear);
    for (int c = 1; c <= 2; ++c)
        g.subtotal(grid::SubtotalCount, 1, 2);
    g.setTextAt(0, 1, "Key Group");
    g.setColWidth(1, 2000);
    EXPECT_EQ(aboutToReset.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(display.count(), 0);
    EXPECT_EQ(cells.count(), 0);

    g.setRedraw(grid::RedrawOn);
    EXPECT_EQ(g.redraw(), grid::RedrawOn);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(display.count(), 1);
    EXPECT_EQ(cells.count(), 0);
}
