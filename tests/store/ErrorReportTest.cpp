#include "store/ErrorReport.h"
#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"

#include "support/ScriptedPrompt.h"

#include <memory>
#include <stdexcept>

#include <gtest/gtest.h>

namespace {

TEST(ErrorReportTest, WindowErrorNamesThePlaceAndLineAndWithoutAPromptDoesNotThrow)
{
    auto prompt = std::make_unique<ScriptedPrompt>();
    report::windowError(
        AppError(3024, QStringLiteral("DAO"), QStringLiteral("Could not find file")),
        QStringLiteral("frmRedoZiv.DoStartUp"), 120);
    report::windowError(std::runtime_error("bad"), QStringLiteral("Globals.Shutdown"), 30);

    ASSERT_EQ(prompt->shown().size(), 2);
    EXPECT_EQ(prompt->shown().at(0).text,
              QStringLiteral("Could not find file\nin Argovo.frmRedoZiv.DoStartUp at line 120"));
    EXPECT_TRUE(prompt->shown().at(0).title.isEmpty());
    EXPECT_EQ(prompt->shown().at(0).buttons, platform::MsgButtons::OK);
    EXPECT_EQ(prompt->shown().at(1).text,
              QStringLiteral("bad\nin Argovo.Globals.Shutdown at line 30"));

    prompt.reset();
    EXPECT_NO_THROW(
        report::windowError(QStringLiteral("x"), QStringLiteral("Globals.Shutdown"), 1));
}

TEST(ErrorReportTest, NumberedErrorCarriesNumberDescriptionSourceAndPlace)
{
    ScriptedPrompt prompt;
    report::numberedError(AppError(kClassFailure, QStringLiteral("Argovo.CUtility.CaseName"),
                                   QStringLiteral("CUtility component failure")),
                          QStringLiteral("frmRedoZiv::FillTree"));

    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown().first().text,
              QStringLiteral("-2147221404 CUtility component failure Argovo.CUtility.CaseName "
                             "frmRedoZiv::FillTree"));
    EXPECT_EQ(prompt.shown().first().title, appinfo::kAppTitle);
}

} // namespace
