#include "support/ScriptedPrompt.h"
#include "support/ScriptedShell.h"

#include "analysis/IAnalysisView.h"
#include "analysis/forms/frmReport.h"
#include "platform/core/AppInfo.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

class frmReportTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (frmReport* window = frmReport::loaded())
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static void write(const QString& tag)
    {
        IAdvisoryWindow& writer = frmReportWriter();
        writer.setProblem(tag + " problem");
        writer.setIssue(tag + " issue");
        writer.setComment(tag + " comment");
        writer.setDescription(tag + " description");
        writer.showWindow();
    }

    ScriptedPrompt m_prompt;
};

TEST_F(frmReportTest, WriterFillsTheFourBoxesAsPlainTextAndShowsTheWindow)
{
    frmReportWriter().setProblem(QStringLiteral("<b>Not bold</b>"));
    frmReportWriter().showWindow();
    frmReport* window = frmReport::loaded();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Argovo Case Analysis");
    EXPECT_EQ(window->txtProblem()->toPlainText(), "<b>Not bold</b>");
    for (const char* box : {"txtProblem", "txtIssue", "txtComment", "txtDescription"}) {
        auto* edit = window->findChild<QTextEdit*>(box);
        ASSERT_NE(edit, nullptr) << box;
        EXPECT_FALSE(edit->acceptRichText()) << box;
        EXPECT_DOUBLE_EQ(edit->font().pointSizeF(), 8.5) << box;
    }
    const QList<QPair<const char*, const char*>> captions{
        {"lblproblem", "Problem:"},
        {"lblIssue", "Issue:"},
        {"lblComment", "Comment:"},
        {"lblDescription", "Description:"},
        {"lblNote", "Note:  After you close this window, click individual values in the grid "
                    "columns for more specific reporting."}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(window->findChild<QLabel*>(name)->text(), caption) << name;
    EXPECT_EQ(window->findChild<QPushButton*>("cmdHelp")->text(), "Help");
    EXPECT_EQ(window->findChild<QPushButton*>("cmdClose")->text(), "Close");
}

TEST_F(frmReportTest, SecondWriteReusesTheOpenWindowAndAfterCloseTheNextLoadsItAgain)
{
    write(QStringLiteral("first"));
    QPointer<frmReport> first = frmReport::loaded();
    write(QStringLiteral("second"));
    EXPECT_EQ(frmReport::loaded(), first.data());
    EXPECT_EQ(first->txtDescription()->toPlainText(), "second description");

    first->findChild<QPushButton*>("cmdClose")->click();
    EXPECT_EQ(frmReport::loaded(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    write(QStringLiteral("again"));
    frmReport* second = frmReport::loaded();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->txtProblem()->toPlainText(), "again problem");
    EXPECT_EQ(second->txtComment()->toPlainText(), "again comment");
}

TEST_F(frmReportTest, HelpOpensTheHelpAndTheWindowStaysOpen)
{
    ScriptedShell shell;
    const QString folder = appinfo::programFolder();
    appinfo::setProgramFolder(QStringLiteral("/opt/argovo"));
    write(QStringLiteral("help"));
    frmReport::loaded()->findChild<QPushButton*>("cmdHelp")->click();
    appinfo::setProgramFolder(folder);

    EXPECT_EQ(shell.helpShown, QStringList{"/opt/argovo/help/index.html"});
    ASSERT_NE(frmReport::loaded(), nullptr);
    EXPECT_TRUE(frmReport::loaded()->isVisible());
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

} // namespace
