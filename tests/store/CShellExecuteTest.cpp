#include "store/CShellExecute.h"
#include "platform/core/Shell.h"

#include "store/RecordsTestSupport.h"
#include "support/ScriptedShell.h"

#include <gtest/gtest.h>

using namespace recordstest;

namespace {

constexpr int kShowNormal = 1;

// The documents lie in files; the test runs in its own current folder.
class CShellExecuteTest : public StoreTest {
protected:
    ScriptedShell shell;
    TempCase files;
};

// A shell whose call itself fails.
class BrokenShell final : public platform::Shell {
public:
    BrokenShell() { platform::setShell(this); }
    ~BrokenShell() override { platform::setShell(nullptr); }
    int execute(const QString&, const QString&, const QString&, int) override
    {
        throw AppError(5, QStringLiteral("shell"), QStringLiteral("Invalid procedure call"));
    }
    void showHelp(const QString&) override {}
};

TEST_F(CShellExecuteTest, DocumentLaunchMapsTheShellsAnswer)
{
    const QString file = files.path(QStringLiteral("brief.docx"));
    writeFile(file, "text");
    CShellExecute launcher;
    EXPECT_EQ(launcher.LaunchDocument(0, file, files.folder(), kShowNormal), -1);
    ASSERT_EQ(shell.executed.size(), 1);
    EXPECT_EQ(shell.executed.front(), QStringLiteral("open|%1|%2|1").arg(file, files.folder()));

    // No program registered for it: the shell's code, and no message.
    shell.result = platform::shellresult::NoAssociation;
    EXPECT_EQ(launcher.LaunchDocument(0, file, QString(), kShowNormal), 31);
    EXPECT_EQ(launcher.instanceResult(), 31);

    // A missing file is reported as the shell would, without asking it.
    EXPECT_EQ(
        launcher.LaunchDocument(0, files.path(QStringLiteral("gone.pdf")), QString(), kShowNormal),
        2);
    EXPECT_EQ(shell.executed.size(), 2);
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
}

TEST_F(CShellExecuteTest,
       ADocumentPathIsLookedForInTheWorkingFolderWithEnvironmentReferencesExpanded)
{
    writeFile(files.path(QStringLiteral("notes.txt")), "n");
    writeFile(folder.path(QStringLiteral("other.txt")), "only in the current folder");
    CShellExecute launcher;
    EXPECT_EQ(launcher.LaunchDocument(0, QStringLiteral("notes.txt"), files.folder(), kShowNormal),
              -1);
    EXPECT_EQ(launcher.LaunchDocument(0, QStringLiteral("other.txt"), files.folder(), kShowNormal),
              2);
    EXPECT_EQ(shell.executed,
              QStringList{QStringLiteral("open|notes.txt|%1|1").arg(files.folder())});

    writeFile(files.path(QStringLiteral("env.txt")), "e");
    qputenv("ARGOVO_TEST_FOLDER", files.folder().toLocal8Bit());
    EXPECT_EQ(launcher.LaunchDocument(0, QStringLiteral("%ARGOVO_TEST_FOLDER%/env.txt"), QString(),
                                      kShowNormal),
              -1);
    qunsetenv("ARGOVO_TEST_FOLDER");
    ASSERT_EQ(shell.executed.size(), 2);
    EXPECT_TRUE(shell.executed.back().contains(files.path(QStringLiteral("env.txt"))));
}

TEST_F(CShellExecuteTest, AddressesAndMailUseTheDefaultActionAndAbove32IsSuccess)
{
    CShellExecute launcher;
    shell.result = 33;
    EXPECT_EQ(launcher.LaunchURL(0, QStringLiteral("https://example.org/updates.htm"), 1), -1);
    EXPECT_EQ(launcher.LaunchEmail(0, QStringLiteral("support@example.org"), 1), -1);
    // An empty address opens a blank mail message.
    EXPECT_EQ(launcher.LaunchEmail(0, QString(), 1), -1);
    shell.result = 32;
    EXPECT_EQ(launcher.LaunchURL(0, QStringLiteral("https://example.org/updates.htm"), 1), 32);
    EXPECT_EQ(shell.executed, (QStringList{QStringLiteral("|https://example.org/updates.htm||1"),
                                           QStringLiteral("|mailto:support@example.org||1"),
                                           QStringLiteral("|mailto:||1"),
                                           QStringLiteral("|https://example.org/updates.htm||1")}));
}

TEST_F(CShellExecuteTest, AFailingShellCallIsShownTitledWithTheOperation)
{
    BrokenShell broken;
    CShellExecute launcher;
    EXPECT_EQ(launcher.LaunchURL(0, QStringLiteral("https://example.org"), 1), 0);
    EXPECT_EQ(launcher.LaunchEmail(0, QStringLiteral("a@b.c"), 1), 0);
    ASSERT_EQ(prompt.count(QStringLiteral("message")), 2);
    EXPECT_EQ(prompt.shown()[0].title, QStringLiteral("LaunchURL"));
    EXPECT_EQ(prompt.shown()[0].text, QStringLiteral("Error: 5. Invalid procedure call"));
    EXPECT_EQ(prompt.shown()[1].title, QStringLiteral("LaunchEmail"));
}

} // namespace
