#include "store/CMain.h"

#include "store/TempCurrentFolder.h"

#include <gtest/gtest.h>

using platform::MsgAnswer;

namespace {

using CMainTest = StoreTest;

TEST_F(CMainTest, CheckExitAsksWithOkCancelAndStopsOnlyOnCancel)
{
    prompt.answer(MsgAnswer::OK);
    EXPECT_FALSE(oMain().CheckExit());
    prompt.answer(MsgAnswer::Cancel);
    EXPECT_TRUE(oMain().CheckExit());

    ASSERT_EQ(prompt.shown().size(), 2);
    const auto& asked = prompt.shown().first();
    EXPECT_EQ(asked.text, QStringLiteral("The changes you have made have not been saved.  Press OK "
                                         "to continue and lose the changes, or press Cancel to "
                                         "stop and then Save."));
    EXPECT_EQ(asked.title, QStringLiteral("Edits pending."));
    EXPECT_EQ(asked.buttons, platform::MsgButtons::OKCancel);
    EXPECT_EQ(asked.icon, platform::MsgIcon::Question);
}

} // namespace
