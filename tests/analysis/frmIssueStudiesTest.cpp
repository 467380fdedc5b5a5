#include "IssueWindowFixture.h"
#include "support/RecordingReportLauncher.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "store/CUtility.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace {

using Values = std::vector<double>;
using Statistic = std::function<std::optional<double>(const Values& group, double columnSum)>;

double sum(const Values& v)
{
    double s = 0;
    for (double x : v)
        s += x;
    return s;
}

std::optional<double> variance(const Values& v)
{
    if (v.size() < 2)
        return std::nullopt;
    const double mean = sum(v) / static_cast<double>(v.size());
    double squares = 0;
    for (double x : v)
        squares += (x - mean) * (x - mean);
    return squares / static_cast<double>(v.size() - 1);
}

// A statistic of a group's values; none for a group without any.
Statistic ofValues(std::function<double(const Values&)> f)
{
    return [f](const Values& v, double) -> std::optional<double> {
        if (v.empty())
            return std::nullopt;
        return f(v);
    };
}

struct MethodCase {
    const char* method;
    Statistic expected;
};

const std::vector<MethodCase> kMethods{
    {"COUNT", [](const Values& v, double) { return double(v.size()); }},
    {"AVG", ofValues([](const Values& v) { return sum(v) / double(v.size()); })},
    {"MIN", ofValues([](const Values& v) { return *std::min_element(v.begin(), v.end()); })},
    {"MAX", ofValues([](const Values& v) { return *std::max_element(v.begin(), v.end()); })},
    {"STDEV",
     [](const Values& v, double) -> std::optional<double> {
         const auto var = variance(v);
         if (!var)
             return std::nullopt;
         return std::sqrt(*var);
     }},
    {"VAR", [](const Values& v, double) { return variance(v); }},
    {"PERCENT", [](const Values& v, double total) { return 100.0 * sum(v) / total; }},
    {"SUM", [](const Values& v, double) { return sum(v); }},
};

class frmIssueStudiesTest : public IssueWindowFixture {
protected:
    // Chooses an operator, types the number and runs the study.
    void runRange(const QString& op, const QString& number)
    {
        choose(window().cboRange(), op);
        window().dialRange()->setText(number);
        window().cmdAnalyze()->click();
    }
};

TEST_F(frmIssueStudiesTest, EachMethodSubtotalsEveryGroupWithItsStatistic)
{
    for (const MethodCase& m : kMethods) {
        SCOPED_TRACE(m.method);
        choose(window().cboMethod(), QString::fromLatin1(m.method));
        EXPECT_EQ(oReport().ReportType(), 3);
        EXPECT_EQ(grid().textAt(0, 1), "Method");
        EXPECT_EQ(grid().mergeCells(), grid::MergeCells);
        EXPECT_EQ(dataColumn(3).size(), 6);

        for (int c = 4; c <= 9; ++c) {
            std::map<int, Values> groups;
            double columnSum = 0;
            for (const RatedChild& child : kRatedChildren) {
                groups[child.parent]; // a group whose ratings are all empty too
                const int rating = child.ratings[static_cast<std::size_t>(c - 4)];
                if (rating >= 0) {
                    groups[child.parent].push_back(rating);
                    columnSum += rating;
                }
            }
            for (const auto& [parent, values] : groups) {
                const int r = subtotalRowOf(QString::number(parent));
                ASSERT_GT(r, 0) << parent;
                const std::optional<double> expected = m.expected(values, columnSum);
                if (expected)
                    EXPECT_NEAR(grid().valueAt(r, c), *expected, 1e-9) << parent << "," << c;
                else
                    EXPECT_EQ(grid().textAt(r, c), "") << parent << "," << c;
                EXPECT_EQ(grid().foreColorAt(r, c), c == 4 ? grid::kRed : grid::kBlue);
            }
        }
    }
    EXPECT_TRUE(m_prompt.messages().isEmpty()) << m_prompt.messages().join("|").toStdString();
}

TEST_F(frmIssueStudiesTest, MethodTextMatchingNoMethodRunsNothingAndNoneReloadsAllRecords)
{
    choose(window().cboMethod(), QStringLiteral("AVG"));
    const QString sql = oUtility().sSQL();
    const QString averages = grid().textAt(subtotalRowOf(QStringLiteral("1")), 5);

    choose(window().cboMethod(), QStringLiteral("avg"));
    EXPECT_EQ(oUtility().sSQL(), sql);
    EXPECT_EQ(grid().textAt(subtotalRowOf(QStringLiteral("1")), 5), averages);
    EXPECT_EQ(grid().textAt(0, 1), "Method");

    choose(window().cboMethod(), QStringLiteral("NONE"));
    EXPECT_EQ(grid().textAt(0, 1), "ID");
    // A count again: two of the three have a Success rating.
    EXPECT_EQ(grid().textAt(subtotalRowOf(QStringLiteral("1")), 5), "2");
    EXPECT_EQ(oReport().ReportType(), 3);
    EXPECT_TRUE(window().cboMethod()->isEnabled());
}

TEST_F(frmIssueStudiesTest, ChoosingAnOperatorEmptiesTheGridAndRunStudyListsItemsInRange)
{
    choose(window().cboMethod(), QStringLiteral("MAX"));
    choose(window().cboRange(), QStringLiteral(">"));
    EXPECT_EQ(grid().rows(), 1);
    EXPECT_EQ(oReport().ReportType(), 4);
    EXPECT_TRUE(window().cmdAnalyze()->isEnabled());

    // Typing the number sets the method back to NONE, so the study runs.
    window().dialRange()->setText(QStringLiteral("8.5"));
    EXPECT_EQ(window().cboMethod()->currentText(), "NONE");
    window().cmdAnalyze()->click();

    EXPECT_TRUE(oUtility().sSQL().endsWith("OR Issue.Significance > 8;"));
    QStringList names = dataColumn(2);
    names.sort();
    EXPECT_EQ(names, QStringList({"A1", "A2", "A3", "C2"}));
    EXPECT_EQ(grid().textAt(0, 1), "ID");
    EXPECT_FALSE(window().cmdAnalyze()->isEnabled());
    EXPECT_EQ(window().cboRange()->currentText(), "NONE");
    EXPECT_EQ(window().dialRange()->text(), "0");
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

TEST_F(frmIssueStudiesTest, RangeThatCannotBeComparedIsReportedAndRunsNoStudy)
{
    struct Refused {
        const char* op;
        const char* number;
        const char* message;
        const char* title;
    };
    const QList<Refused> cases{
        {"<", "32767.5", "Overflow\nin Argovo.frmIssue.GetRange at line 2", ""},
        {"<", "seven", "Type mismatch\nin Argovo.frmIssue.GetRange at line 2", ""},
        {"<", "", "Enter a range to compare.", "No Range Entered."},
        {"=>", "3", "Choose one of the operators <, >, =, <=, >= or <> to compare with.",
         "No Range Operator."},
    };
    for (const Refused& r : cases) {
        SCOPED_TRACE(r.number);
        m_prompt.clear();
        oUtility().setSSQL(QStringLiteral("earlier"));
        choose(window().cboRange(), QStringLiteral("<"));
        window().cboRange()->setCurrentText(QString::fromLatin1(r.op));
        window().dialRange()->setText(QString::fromLatin1(r.number));
        window().cmdAnalyze()->click();

        ASSERT_EQ(m_prompt.shown().size(), 1);
        EXPECT_EQ(m_prompt.shown()[0].text, r.message);
        EXPECT_EQ(m_prompt.shown()[0].title, r.title);
        EXPECT_EQ(oUtility().sSQL(), "earlier");
        EXPECT_EQ(grid().rows(), 1);
        EXPECT_FALSE(window().cmdAnalyze()->isEnabled());
    }
}

TEST_F(frmIssueStudiesTest, SpinnerStepsFromTheNumberInTheRangeBetweenZeroAndTen)
{
    const QList<QToolButton*> arrows =
        window().findChild<QWidget*>(QStringLiteral("updown"))->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    QToolButton* up = arrows[0];
    QToolButton* down = arrows[1];
    // The box is read as a study reads it: a fraction rounded, no group
    // separator.
    const struct {
        const char* typed;
        QToolButton* arrow;
        const char* shown;
    } steps[] = {
        {"7", up, "8"},   {"10", up, "10"},   {"0", down, "0"},   {"4", down, "3"},
        {"2.0", up, "3"}, {"3.5", down, "3"}, {"0,010", up, "4"}, {"12", down, "10"},
    };
    for (const auto& step : steps) {
        window().dialRange()->setText(QString::fromLatin1(step.typed));
        step.arrow->click();
        EXPECT_EQ(window().dialRange()->text(), step.shown) << step.typed;
    }
    // A text that is no number steps from the spinner's own last number.
    window().dialRange()->setText(QStringLiteral("seven"));
    up->click();
    EXPECT_EQ(window().dialRange()->text(), "10");
}

TEST_F(frmIssueStudiesTest, RunStudyWhileAMethodIsChosenDoesNothing)
{
    choose(window().cboRange(), QStringLiteral("<"));
    window().dialRange()->setText(QStringLiteral("4"));
    window().cboMethod()->setCurrentText(QStringLiteral("AVG"));
    window().cmdAnalyze()->click();
    EXPECT_EQ(grid().rows(), 1);
    EXPECT_TRUE(window().cmdAnalyze()->isEnabled());
}

TEST_F(frmIssueStudiesTest, SendToReportShowsTheGridReportAtEightyFivePercent)
{
    RecordingReportLauncher reports;
    window().cmdReport()->click();
    EXPECT_EQ(reports.shown, QStringList{"adHocGeneral|85"});
}

} // namespace
