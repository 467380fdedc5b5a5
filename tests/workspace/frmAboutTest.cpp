#include "WorkspaceFixture.h"

#include "workspace/frmAbout.h"

#include "platform/core/Shell.h"

#include <QLabel>

using About = WorkspaceTest;

TEST_F(About, ShowsTheVersionAndTheMakersHomeWhoseLinksGoToTheDesktopAndFailuresAreReported)
{
    frmAbout box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Argovo 2003"));
    EXPECT_EQ(box.lblVersion()->text(), QStringLiteral("1.0.0"));
    EXPECT_TRUE(box.lblLink()->text().contains(QStringLiteral("https://www.argovo.example")));
    EXPECT_NE(box.Image1(), nullptr);

    box.lblLink_Click();
    box.lblMailTo_Click();
    EXPECT_EQ(m_shell.executed,
              (QStringList{QStringLiteral("open|https://www.argovo.example||1"),
                           QStringLiteral("open|mailto:support@argovo.example||1")}));
    EXPECT_TRUE(m_prompt.messages().isEmpty());

    for (int result : {0, 2, 31}) {
        m_prompt.clear();
        m_shell.result = result;
        platform::screen().setMousePointer(0);
        box.lblLink_Click();
        ASSERT_EQ(m_prompt.shown().size(), 1) << result;
        EXPECT_EQ(
            m_prompt.shown().first().text,
            QStringLiteral("Error Opening Link to https://www.argovo.example\n\n%1").arg(result));
        EXPECT_EQ(m_prompt.shown().first().title, QStringLiteral("frmAbout::ExecuteLink"));
        EXPECT_EQ(platform::screen().mousePointer(), 0);
    }
}
