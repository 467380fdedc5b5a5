#include "workspace/TreeDragDrop.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

constexpr int kHeight = 3000;
constexpr int kMiddle = 1500;

// A drag of one node that hovers over another in the middle of the tree.
TreeDragDrop dragOnto(const char* dragged, const char* target)
{
    TreeDragDrop drag;
    drag.mouseDown(QLatin1String(dragged));
    EXPECT_TRUE(drag.beginDrag());
    drag.dragOver(QLatin1String(target), kMiddle, kHeight);
    return drag;
}

} // namespace

TEST(TreeDragDrop, TheRootAndNoNodeStartNoDrag)
{
    TreeDragDrop drag;
    drag.mouseDown(QStringLiteral("ROOT"));
    EXPECT_FALSE(drag.beginDrag());
    drag.mouseDown(QString());
    EXPECT_FALSE(drag.beginDrag());
    EXPECT_TRUE(drag.tick().stopTimer);
}

TEST(TreeDragDrop, ScrollBandsNearTheTopAndBottomEdges)
{
    const std::pair<int, int> cases[] = {
        {0, 0}, {1, -1}, {299, -1}, {300, 0}, {2500, 0}, {2501, 1}, {2999, 1}, {3000, 0},
    };
    for (const auto& [y, direction] : cases) {
        TreeDragDrop drag = dragOnto("C1", "C6");
        drag.dragOver(QStringLiteral("C6"), y, kHeight);
        EXPECT_EQ(drag.scrollDirection(), direction) << "y " << y;
        EXPECT_EQ(drag.tick().scroll, direction) << "y " << y;
    }
}

TEST(TreeDragDrop, AHoveredNodeOpensOnTheEleventhTickAndEachDragCountsAfresh)
{
    TreeDragDrop drag = dragOnto("C1", "C6");
    for (int i = 1; i <= 10; ++i)
        EXPECT_TRUE(drag.tick().expand.isEmpty()) << "tick " << i;
    EXPECT_EQ(drag.tick().expand, QStringLiteral("C6"));
    EXPECT_EQ(drag.ticks(), 0);

    // A drag that ends without a drop after some ticks leaves nothing behind.
    for (int i = 0; i < 7; ++i)
        drag.tick();
    drag.endDrag();
    drag.mouseDown(QStringLiteral("C10"));
    ASSERT_TRUE(drag.beginDrag());
    EXPECT_EQ(drag.ticks(), 0);
    EXPECT_TRUE(drag.dropHighlight().isEmpty());
    EXPECT_EQ(drag.drop({}).outcome, TreeDragDrop::Outcome::Nothing);

    // Past ten ticks with nothing highlighted, nothing opens and nothing scrolls.
    drag.dragOver(QString(), 10, kHeight);
    for (int i = 0; i < 12; ++i) {
        const TreeDragDrop::Tick tick = drag.tick();
        EXPECT_TRUE(tick.expand.isEmpty());
        EXPECT_EQ(tick.scroll, i < 10 ? -1 : 0) << "tick " << i + 1;
    }
}
