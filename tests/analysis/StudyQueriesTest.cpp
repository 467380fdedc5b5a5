#include "analysis/StudyQueries.h"
#include "platform/core/AppError.h"

#include <QList>

#include <tuple>

#include <gtest/gtest.h>

namespace {

const QString kQueryA = QStringLiteral(
    "SELECT Issue.ID, Issue.Name, Issue_1.Explanation, Issue_1.Weight, Issue_1.Success, "
    "Issue_1.Jury, Issue_1.Substantive, Issue_1.Procedural, Issue_1.Significance FROM Issue "
    "INNER JOIN Issue AS Issue_1 ON Issue.ID = Issue_1.ParentID;");
const QString kQueryB = QStringLiteral(
    "SELECT  Issue.ID, Issue.Name, Issue_1.Explanation, Issue_1.Weight, Issue_1.Success, "
    "Issue_1.Jury, Issue_1.Substantive, Issue_1.Procedural, Issue_1.Significance FROM Issue "
    "INNER JOIN Issue AS Issue_1 ON Issue.ID = Issue_1.ParentID;");

TEST(StudyQueries, EachMethodSendsItsQueryTextAndSubtotalCode)
{
    const QList<std::tuple<QString, const QString*, int>> methods{
        {"COUNT", &kQueryA, 4},   {"AVG", &kQueryA, 5},   {"MIN", &kQueryB, 7},
        {"MAX", &kQueryA, 6},     {"STDEV", &kQueryB, 8}, {"VAR", &kQueryB, 9},
        {"PERCENT", &kQueryA, 3}, {"SUM", &kQueryA, 2}};
    for (const auto& [text, query, code] : methods) {
        const auto study = studies::methodStudy(text);
        ASSERT_TRUE(study) << text.toStdString();
        EXPECT_EQ(study->query, *query) << text.toStdString();
        EXPECT_EQ(study->subtotalFunction, code) << text.toStdString();
    }
    for (const char* other : {"NONE", "avg", " AVG", "AVG ", ""})
        EXPECT_FALSE(studies::methodStudy(QString::fromLatin1(other))) << other;
}

TEST(StudyQueries, RangeQueryComparesEveryRatingAndRefusesOtherOperators)
{
    EXPECT_EQ(studies::rangeQuery(QStringLiteral("<"), -3),
              "SELECT Issue.ID, Issue.Name, Issue.Explanation, Issue.Weight, Issue.Success, "
              "Issue.Jury, Issue.Substantive, Issue.Procedural, Issue.Significance FROM Issue "
              "WHERE Issue.Weight < -3 OR Issue.Success < -3 OR Issue.Jury < -3 OR "
              "Issue.Substantive < -3 OR Issue.Procedural < -3 OR Issue.Significance < -3;");
    EXPECT_TRUE(studies::rangeQuery(QStringLiteral(">="), 0)
                    ->endsWith("WHERE Issue.Weight >= 0 OR Issue.Success >= 0 OR Issue.Jury >= 0 "
                               "OR Issue.Substantive >= 0 OR Issue.Procedural >= 0 OR "
                               "Issue.Significance >= 0;"));
    for (const char* op : {">", "=", "<=", "<>"})
        EXPECT_TRUE(studies::rangeQuery(QString::fromLatin1(op), 7)
                        ->contains(QStringLiteral(" OR Issue.Jury %1 7 OR ").arg(op)))
            << op;
    for (const char* op : {"NONE", "=>", "==", "< ", "; DROP TABLE Issue", ""})
        EXPECT_FALSE(studies::rangeQuery(QString::fromLatin1(op), 1)) << op;
}

TEST(StudyQueries, TypedRangeRoundsHalvesToEvenAndRefusesWhatIsNoSixteenBitNumber)
{
    const QList<QPair<const char*, int>> rounded{
        {"2.5", 2}, {"3.5", 4}, {"-0.5", 0}, {"6.5", 6},         {"7.5", 8},
        {" 4 ", 4}, {"-3", -3}, {"0", 0},    {"32767.4", 32767}, {"-32768.5", -32768}};
    for (const auto& [text, value] : rounded)
        EXPECT_EQ(studies::rangeValue(QString::fromLatin1(text)), value) << text;

    const QList<QPair<const char*, int>> refused{{"32767.5", 6}, {"-32769", 6}, {"1e9", 6},
                                                 {"abc", 13},    {"4,5", 13},   {"nan", 13}};
    for (const auto& [text, number] : refused) {
        try {
            studies::rangeValue(QString::fromLatin1(text));
            ADD_FAILURE() << text << " was accepted";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), number) << text;
            EXPECT_EQ(e.description(), number == 6 ? "Overflow" : "Type mismatch") << text;
        }
    }
}

TEST(StudyQueries, ChildQueryDoublesTheApostrophesOfTheClickedName)
{
    EXPECT_EQ(studies::childQuery(QStringLiteral("O'Brien's car")),
              "SELECT Issue.Name, Issue.Explanation from Issue WHERE (Issue.ParentID IN (SELECT "
              "Issue.ID FROM Issue WHERE Issue.name ='O''Brien''s car'));");
}

} // namespace
