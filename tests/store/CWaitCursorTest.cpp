#include "store/CWaitCursor.h"

#include "platform/core/Shell.h"
#include "platform/widgets/QtScreen.h"

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingScreen final : public platform::Screen {
public:
    RecordingScreen() { platform::setScreen(this); }
    ~RecordingScreen() override { platform::setScreen(nullptr); }
    int mousePointer() const override { return pointer; }
    void setMousePointer(int p) override
    {
        pointer = p;
        history.push_back(p);
    }
    int pointer = 0;
    std::vector<int> history;
};

TEST(CWaitCursorTest, NestedCursorsEachRestoreThePointerCurrentAtTheirCreation)
{
    RecordingScreen screen;
    screen.pointer = 3;
    {
        // One released without a SetCursor puts back the same pointer.
        CWaitCursor untouched;
    }
    EXPECT_EQ(screen.history, std::vector<int>{3});
    {
        CWaitCursor outer;
        outer.SetCursor(CWaitCursor::kHourglass);
        {
            CWaitCursor inner;
            inner.SetCursor(13);
            EXPECT_EQ(screen.pointer, 13);
        }
        EXPECT_EQ(screen.pointer, CWaitCursor::kHourglass);
    }
    EXPECT_EQ(screen.pointer, 3);
}

TEST(CWaitCursorTest, QtScreenKeepsOneOverrideAndDropsItAtTheDefaultPointer)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        platform::QtScreen qtScreen;
        platform::setScreen(&qtScreen);
        {
            CWaitCursor outer;
            outer.SetCursor(CWaitCursor::kHourglass);
            ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            {
                CWaitCursor inner;
                inner.SetCursor(1);
                EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
            }
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(qtScreen.mousePointer(), 0);
        platform::setScreen(nullptr);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
