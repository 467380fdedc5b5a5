#include "reports/CaseStatistics.h"
#include "reports/arCaseAnalysis.h"

#include <gtest/gtest.h>

TEST(CaseStatisticsTest, StatisticsAreCutToFourCharactersNotRounded)
{
    const std::vector<std::pair<double, double>> cases{
        {6.8333, 6.83}, {10, 10},     {7.25, 7.25}, {0.123, 0.12},     {12.345, 12.3},
        {9.999, 9.99},  {0.58, 0.58}, {1.6e-05, 0}, {2.0 / 3.0, 0.66}, {12345.6, 12345},
    };
    for (const auto& [value, cut] : cases)
        EXPECT_DOUBLE_EQ(casestats::truncated(value), cut) << value;
}

TEST(CaseStatisticsTest, GrandValueLeavesEmptyStatisticsOut)
{
    using V = std::optional<double>;
    // 46.68 / 6 = 7.78, as the averages 6.8333, 7, 7.5, 8, 8.25 and 9.1 give.
    EXPECT_DOUBLE_EQ(*casestats::grandValue({V(6.8333), 7, 7.5, 8, 8.25, 9.1}), 7.78);
    EXPECT_DOUBLE_EQ(*casestats::grandValue({V(4), V(), 6, V(), V(), V()}), 5);
    EXPECT_FALSE(casestats::grandValue({V(), V(), V(), V(), V(), V()}));
}

TEST(CaseStatisticsTest, GrandAverageLevelRoundsHalvesToEven)
{
    const std::vector<std::pair<double, int>> cases{{6.5, 6}, {7.5, 8},  {6.51, 7}, {7.78, 8},
                                                    {0.5, 0}, {9.5, 10}, {0.49, 0}};
    for (const auto& [grand, level] : cases)
        EXPECT_EQ(casestats::averageLevel(grand), level) << grand;
    EXPECT_TRUE(arCaseAnalysis::AnalyzeAVG(8).startsWith(
        QStringLiteral("8 of 10 is a strong case, a case that suggests settlement might ")));
    EXPECT_EQ(arCaseAnalysis::AnalyzeAVG(0),
              QStringLiteral("A zero average indicates no case whatsoever."));
    EXPECT_TRUE(arCaseAnalysis::AnalyzeAVG(11).isEmpty());
    EXPECT_TRUE(arCaseAnalysis::AnalyzeAVG(-1).isEmpty());
}

TEST(CaseStatisticsTest, DeviationParagraphsFollowOpenBands)
{
    const std::vector<std::pair<double, const char*>> cases{
        {0, ""},
        {0.1, "The values in a 0 to .25 case"},
        {0.25, ""},
        {0.3, "The values in a 0.25 to 0.4 case"},
        {0.4, ""},
        {0.6, "The values in a 0.4 to 0.8 case"},
        {0.7, "The values in a 0.4 to 0.8 case"},
        {0.8, ""},
        {1, "The values in a 0.8 to 1.25 case"},
        {1.25, ""},
        {2, "The values in a 1.25 to 2.5 case"},
        {2.5, ""},
        {3, "Outside Argovo's measureable range"},
    };
    for (const auto& [value, opening] : cases) {
        const QString paragraph = arCaseAnalysis::AnalyzeSTDEV(value);
        if (*opening)
            EXPECT_TRUE(paragraph.startsWith(QLatin1String(opening))) << value;
        else
            EXPECT_TRUE(paragraph.isEmpty()) << value;
    }
}
