#include "WorkspaceFixture.h"

#include "workspace/CodeModule.h"

#include <QStyle>
#include <QTreeWidget>

#include <gtest/gtest.h>

using codemodule::ReplaceAll;

TEST(ReplaceAll, ReplacesEveryOccurrenceInOnePass)
{
    struct Case {
        const char* text;
        const char* find;
        const char* replacement;
        bool wholeWord;
        const char* expected;
    };
    const Case cases[] = {
        {"check the marks\r\nbefore the deposition\r\n", "\r\n", " ", false,
         "check the marks before the deposition "},
        // A replacement that holds the search text is not searched again.
        {"a-b-c", "-", "--", false, "a--b--c"},
        {"", "x", "y", false, ""},
        {"cat concat cat cats cat", "cat", "dog", true, "dog concat dog cats dog"},
    };
    for (const Case& c : cases) {
        QString text = QString::fromLatin1(c.text);
        ReplaceAll(text, QLatin1String(c.find), QLatin1String(c.replacement), c.wholeWord);
        EXPECT_EQ(text, QLatin1String(c.expected)) << c.text;
    }
}

TEST(AutoSizeLastColumn, ASingleColumnTakesTheWidthLessAScrollBarAndTenPixels)
{
    QTreeWidget list;
    list.setColumnCount(1);
    list.resize(300, 200);
    codemodule::AutoSizeLastColumn(&list);
    const int scrollBar = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    EXPECT_EQ(list.columnWidth(0), 300 - scrollBar - 10);
}

using ShowHelpFileTest = WorkspaceTest;

TEST_F(ShowHelpFileTest, AMissingHelpPageIsReportedAndNothingOpens)
{
    codemodule::ShowHelpFile(codemodule::helpFilePath());
    ASSERT_EQ(m_prompt.messages().size(), 1);
    EXPECT_TRUE(m_prompt.messages().first().contains(QStringLiteral("could not be found")));
    EXPECT_TRUE(m_prompt.messages().first().contains(QStringLiteral("CodeModule.ShowHelpFile")));
    EXPECT_TRUE(m_shell.helpShown.isEmpty());
}
