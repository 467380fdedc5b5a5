#include "DbTestHelpers.h"

#include "platform/core/Statistics.h"
#include "support/TempCase.h"

#include <cmath>
#include <optional>
#include <vector>

namespace {

class JetSemanticsTest : public ::testing::Test {
protected:
    void SetUp() override { db = dao::DBEngine::OpenDatabase(cases.createSample()); }

    TempCase cases;
    std::shared_ptr<dao::Database> db;
};

TEST_F(JetSemanticsTest, NamesAndTextAreMatchedWithoutRegardToCase)
{
    auto rs = db->OpenRecordset(QStringLiteral("select version from CodeDBVersion"));
    EXPECT_EQ(rs->Fields(QStringLiteral("Version")).Value().toString(), QStringLiteral("1.0.0"));
    EXPECT_EQ(rs->Fields(QStringLiteral("VERSION")).Name(), QStringLiteral("Version"));

    EXPECT_EQ(countRows(*db, QStringLiteral("select * from issue where itemtype='issue'")), 7);
    EXPECT_EQ(countRows(*db, QStringLiteral("select * from issue where ItemType='ISSUE'")), 7);
    auto witness = db->OpenRecordset(
        QStringLiteral(
            "SELECT [Name], [Explanation], [Question] FROM [Issue] where itemtype='witness';"),
        dao::dbOpenSnapshot);
    EXPECT_EQ(columnTexts(*witness, QStringLiteral("name")),
              QStringList{QStringLiteral("Officer Reyes")});
}

TEST_F(JetSemanticsTest, BareTableNameOpensTheWholeTable)
{
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("Issue"))->RecordCount(), 10);
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("[bookmarks];"))->RecordCount(), 1);
    auto files = db->OpenRecordset(QStringLiteral("codefiles"));
    EXPECT_TRUE(files->EOF());
    EXPECT_EQ(files->FieldCount(), 7);
    auto issues = db->OpenRecordset(QStringLiteral("Issue"));
    EXPECT_EQ(issues->Fields(QStringLiteral("weight")).Type(), dao::dbInteger);
    EXPECT_EQ(issues->Fields(QStringLiteral("explanation")).Type(), dao::dbMemo);
    // The tree's fill order, as the program writes it.
    EXPECT_EQ(countRows(*db, QStringLiteral("select * from Issue order by parentid and id")), 10);
}

// The level bands of the analysis, run as the engine receives them.
class LevelBandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Rating sums 54, 55, 60, 6 and 5: averages 9, 9.17, 10, 1 and 0.83.
        path = cases.create(QStringLiteral("Levels.AGV"),
                            QStringLiteral("INSERT INTO Issue (ParentID, Name, Weight, Success, "
                                           "Jury, Substantive, Procedural, "
                                           "Significance, ItemType) VALUES "
                                           "(0, 'sum54', 9, 9, 9, 9, 9, 9, 'Issue'),"
                                           "(0, 'sum55', 10, 9, 9, 9, 9, 9, 'Issue'),"
                                           "(0, 'sum60', 10, 10, 10, 10, 10, 10, 'Issue'),"
                                           "(0, 'sum6', 1, 1, 1, 1, 1, 1, 'Issue'),"
                                           "(0, 'sum5', 0, 1, 1, 1, 1, 1, 'Issue');"));
    }
    static QString bandQuery(const QString& condition)
    {
        return QStringLiteral(
                   "SELECT Name, Explanation,Question,Weight, Success, Jury, Substantive, "
                   "Procedural, "
                   "Significance  FROM Issue WHERE (Issue.Weight + Issue.Success + Issue.Jury + "
                   "Issue.Substantive + Issue.Procedural + Issue.Significance)/6 ") +
               condition + QLatin1Char(' ');
    }
    QStringList namesThroughAdo(const QString& condition)
    {
        auto connection = openAdo(path);
        auto rs = ado::Recordset::create();
        rs->setCursorLocation(ado::adUseClient);
        rs->Open(bandQuery(condition), connection, ado::adOpenStatic, ado::adLockOptimistic);
        QStringList names;
        for (int row = 0; row < rs->RecordCount(); ++row)
            names << rs->value(row, 0).toString();
        return names;
    }
    QStringList namesThroughDao(const QString& condition)
    {
        auto db = dao::DBEngine::OpenDatabase(path);
        auto rs = db->OpenRecordset(bandQuery(condition), dao::dbOpenSnapshot);
        return columnTexts(*rs, QStringLiteral("Name"));
    }

    TempCase cases;
    QString path;
};

TEST_F(LevelBandTest, AveragesUseRealDivisionAndBandsShareTheirEdges)
{
    const std::pair<QString, QStringList> bands[] = {
        {QStringLiteral("BETWEEN 9 AND 10"),
         {QStringLiteral("sum54"), QStringLiteral("sum55"), QStringLiteral("sum60")}},
        {QStringLiteral("BETWEEN 7 AND 9"), {QStringLiteral("sum54")}},
        {QStringLiteral("BETWEEN 5 AND 7"), {}},
        {QStringLiteral("BETWEEN 3 AND 5"), {}},
        {QStringLiteral("BETWEEN 1 AND 3"), {QStringLiteral("sum6")}},
        {QStringLiteral("< 1"), {QStringLiteral("sum5")}},
    };
    for (const auto& [condition, expected] : bands) {
        EXPECT_EQ(namesThroughAdo(condition), expected) << condition.toStdString();
        EXPECT_EQ(namesThroughDao(condition), expected) << condition.toStdString();
    }
}

class StatisticAggregateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = cases.create(
            QStringLiteral("Stats.AGV"),
            QStringLiteral("CREATE TABLE Sample (G VARCHAR(10), V DOUBLE);"
                           "INSERT INTO Sample VALUES ('pair', 7), ('pair', 9),"
                           "('single', 4),"
                           "('nulls', NULL), ('nulls', 7), ('nulls', NULL), ('nulls', 9),"
                           "('constant', 0.1), ('constant', 0.1), ('constant', 0.1),"
                           "('empty', NULL);"));
        connection = openAdo(path);
        db = dao::DBEngine::OpenDatabase(path);
    }
    // The value through both faces of the engine.
    std::pair<QVariant, QVariant> aggregate(const QString& function, const QString& group)
    {
        const QString sql =
            QStringLiteral("select %1(V) from Sample where G = '%2'").arg(function, group);
        return {connection->Execute(sql)->value(0, 0),
                db->OpenRecordset(sql, dao::dbOpenSnapshot)->Fields(0).Value()};
    }

    TempCase cases;
    QString path;
    std::shared_ptr<ado::Connection> connection;
    std::shared_ptr<dao::Database> db;
};

// Sample statistics: n-1, Nulls skipped, Null below two values, a constant
// group exactly 0.
TEST_F(StatisticAggregateTest, SampleVarianceAndDeviationAsJetGivesThem)
{
    const std::tuple<const char*, const char*, std::optional<double>> cases[] = {
        {"var", "pair", 2.0},
        {"stdev", "pair", std::sqrt(2.0)},
        {"STDEV", "nulls", std::sqrt(2.0)},
        {"var", "constant", 0.0},
        {"stdev", "constant", 0.0},
        {"var", "single", std::nullopt},
        {"stdev", "single", std::nullopt},
        {"var", "empty", std::nullopt},
        {"stdev", "empty", std::nullopt},
        {"var", "none", std::nullopt},
    };
    for (const auto& [function, group, expected] : cases) {
        const auto [viaAdo, viaDao] = aggregate(QLatin1String(function), QLatin1String(group));
        for (const QVariant& value : {viaAdo, viaDao}) {
            ASSERT_EQ(value.isNull(), !expected) << function << " " << group;
            if (!expected)
                continue;
            // A constant group gives exactly 0, not rounding noise.
            const double got = value.toDouble();
            if (*expected == 0.0) {
                EXPECT_EQ(got, 0.0) << function << " " << group;
            } else {
                EXPECT_DOUBLE_EQ(got, *expected) << function << " " << group;
            }
        }
    }
}

TEST(StatisticsAccumulator, AgreesWithTheTextbookFormulas)
{
    stats::Accumulator empty;
    EXPECT_FALSE(empty.mean());
    EXPECT_FALSE(empty.min());

    stats::Accumulator values;
    for (double v : {2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0})
        values.add(v);
    EXPECT_DOUBLE_EQ(values.sum(), 40.0);
    EXPECT_DOUBLE_EQ(*values.mean(), 5.0);
    EXPECT_DOUBLE_EQ(*values.sampleVariance(), 32.0 / 7.0);
    EXPECT_EQ(values.min(), 2.0);
    EXPECT_EQ(values.max(), 9.0);

    // Large equal values would leave rounding noise in a naive sum of squares.
    stats::Accumulator constant;
    for (int i = 0; i < 1000; ++i)
        constant.add(1e9 + 0.3);
    EXPECT_EQ(*constant.sampleStdev(), 0.0);
}

// Ratings are whole numbers: their mean and variance are exact, whatever the
// order the rows come in, so a value shown as x.5 rounds the way it shows.
TEST(StatisticsAccumulator, WholeRatingsGiveExactHalves)
{
    struct Case {
        std::vector<double> ratings;
        double mean;
        double variance;
    };
    const Case cases[] = {
        {{9, 10, 7, 10, 5, 4}, 7.5, 6.7},
        {{6, 7, 0, 1, 10, 3}, 4.5, 14.7},
        {{2, 9, 4, 6, 1, 10, 9, 9}, 6.25, 12.5},
        {{6, 4, 7, 6, 7}, 6.0, 1.5},
    };
    for (const Case& c : cases) {
        stats::Accumulator acc;
        for (const double rating : c.ratings)
            acc.add(rating);
        EXPECT_EQ(*acc.mean(), c.mean);
        EXPECT_EQ(*acc.sampleVariance(), c.variance);
    }
}

} // namespace
