#include "store/CTypes.h"
#include "store/AppState.h"

#include <gtest/gtest.h>

namespace {

TEST(CTypesTest, ItemTypeIsEmptyUntilSetAndKeepsTheLastValue)
{
    resetAppState();
    EXPECT_TRUE(oTypes().ItemType().isEmpty());
    oTypes().setItemType(QStringLiteral("Exhibit"));
    oTypes().setItemType(QStringLiteral("Witness"));
    EXPECT_EQ(oTypes().ItemType(), QStringLiteral("Witness"));
    resetAppState();
    EXPECT_TRUE(oTypes().ItemType().isEmpty());
}

} // namespace
