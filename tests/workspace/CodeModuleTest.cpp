#include "WorkspaceFixture.h"

#include "workspace/CodeModule.h"

#include <gtest/gtest.h>

using codemodule::ReplaceAll;

TEST(ReplaceAll, LineBreaksBecomeBlanks)
{
    QString text = QStringLiteral("check the marks\r\nbefore the deposition\r\n");
    ReplaceAll(text, QStringLiteral("\r\n"), QStringLiteral(" "), false);
    EXPECT_EQ(text, QStringLiteral("check the marks before the deposition "));
}

TEST(ReplaceAll, AReplacementHoldingTheSearchTextEndsAfterOnePass)
{
    QString text = QStringLiteral("a-b-c");
    ReplaceAll(text, QStringLiteral("-"), QStringLiteral("--"), false);
    EXPECT_EQ(text, QStringLiteral("a--b--c"));
}

TEST(ReplaceAll, EmptyTextStaysEmpty)
{
    QString text;
    ReplaceAll(text, QStringLiteral("x"), QStringLiteral("y"), false);
    EXPECT_TRUE(text.isEmpty());
}

TEST(ReplaceAll, WholeWordsOnlyMatchBetweenBlanks)
{
    QString text = QStringLiteral("cat concat cat cats cat");
    ReplaceAll(text, QStringLiteral("cat"), QStringLiteral("dog"), true);
    EXPECT_EQ(text, QStringLiteral("dog concat dog cats dog"));
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

TEST_F(ShowHelpFileTest, TheProgramsHelpPageOpensInTheHelpWindow)
{
    writeHelpPage();
    codemodule::ShowHelpFile(codemodule::helpFilePath());
    EXPECT_TRUE(m_prompt.messages().isEmpty());
    ASSERT_EQ(m_shell.helpShown.size(), 1);
    EXPECT_EQ(m_shell.helpShown.first(),
              QDir(programFolder()).filePath(QStringLiteral("help/index.html")));
}
