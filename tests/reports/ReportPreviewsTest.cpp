#include "support/ScriptedPrompt.h"
#include "support/TempCase.h"

#include "analysis/forms/IssueWindow.h"
#include "platform/core/AppError.h"
#include "platform/reports/ReportPreview.h"
#include "reports/ReportPreviews.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"

#include <gtest/gtest.h>

namespace {

class ReportPreviewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppState();
        const QString path = m_cases.createSample();
        oMain().setStrFileName(path);
        oDataLayer().setDataSource(path);
    }
    void TearDown() override
    {
        analysisforms::unloadIssueWindow();
        resetAppState();
    }

    ScriptedPrompt m_prompt;
    TempCase m_cases;
    ReportPreviews m_previews;
};

} // namespace

TEST_F(ReportPreviewsTest, EachReportOpensItsPreviewAtTheZoomAsked)
{
    namespace rn = platform::reportname;
    QWidget pane;
    analysisforms::loadIssueWindow(&pane);
    const std::vector<std::tuple<QString, int, QString>> cases{
        {rn::kCaseAnalysis, 100, "Argovo Case Analysis"},
        {rn::kIssues, 85, "Argovo Issue Report"},
        {rn::kWitnesses, 85, "Argovo Witness Report"},
        {rn::kExhibits, 85, "Argovo Exhibit Report"},
        {rn::kGrid, 85, "Grid Report"},
    };
    for (const auto& [name, zoom, caption] : cases) {
        m_previews.show(name, zoom);
        rpt::ReportPreview* preview = m_previews.previews().last();
        EXPECT_EQ(preview->windowTitle(), caption);
        EXPECT_EQ(preview->zoom(), zoom);
        EXPECT_TRUE(preview->isVisible());
        EXPECT_GE(preview->document().pageCount(), 1);
    }
    EXPECT_EQ(m_previews.previews().size(), 5);
    EXPECT_EQ(m_prompt.count(QStringLiteral("message")), 0)
        << m_prompt.messages().join('|').toStdString();
}

TEST_F(ReportPreviewsTest, GridReportWithoutTheAnalysisWindowIsRefused)
{
    try {
        m_previews.show(platform::reportname::kGrid, 85);
        ADD_FAILURE() << "the grid report opened without a grid";
    } catch (const AppError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("The analysis grid is not loaded."));
    }
    EXPECT_TRUE(m_previews.previews().isEmpty());
}
