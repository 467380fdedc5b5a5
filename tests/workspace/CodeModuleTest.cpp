#include "WorkspaceFixture.h"

#include "workspace/CodeModule.h"

#include "analysis/forms/IssueWindow.h"
#include "analysis/forms/frmIssue.h"
#include "analysis/forms/frmReport.h"
#include "platform/grid/GridCore.h"
#include "platform/grid/GridView.h"
#include "store/CUtility.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>

#include <functional>

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

namespace {

// Entries of this process's descriptor table that resolve to the file (Linux).
int handlesOn(const QString& path)
{
    const QDir table(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString& entry : table.entryList(QDir::AllEntries | QDir::System))
        if (QFile::symLinkTarget(table.filePath(entry)) == path)
            ++count;
    return count;
}

} // namespace

using DoCaseCloseTest = WorkspaceTest;

TEST_F(DoCaseCloseTest, TheAnalysisWindowGoesWithTheClosedCaseAndNoHandleOnItStays)
{
    struct Setup {
        const char* what;
        std::function<void(frmIssue&)> make;
    };
    const Setup setups[] = {
        {"the grid on show", [](frmIssue&) {}},
        {"a rating being typed in a grid cell",
         [](frmIssue& window) {
             grid::GridCore& g = window.grid();
             int row = 1;
             while (row < g.rows() && g.isSubtotal(row))
                 ++row;
             ASSERT_LT(row, g.rows());
             grid::GridView* view = window.fg();
             view->setFocus();
             view->edit(view->indexOfCell(row, 5));
             auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
             ASSERT_NE(editor, nullptr);
             QTest::keyClicks(editor, QStringLiteral("9"));
         }},
        {"the advisory window open",
         [](frmIssue& window) {
             QComboBox* methods = window.cboMethod();
             const int avg = methods->findText(QStringLiteral("AVG"));
             ASSERT_GE(avg, 0);
             methods->setCurrentIndex(avg);
             emit methods->activated(avg);
             grid::GridCore& g = window.grid();
             int row = 1;
             while (row < g.rows() && !(g.isSubtotal(row) && g.isNumeric(row, 5)))
                 ++row;
             ASSERT_LT(row, g.rows());
             grid::GridView* view = window.fg();
             QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                               view->visualRect(view->indexOfCell(row, 5)).center());
             ASSERT_NE(frmReport::loaded(), nullptr);
         }},
    };
    for (const Setup& setup : setups) {
        SCOPED_TRACE(setup.what);
        auto w = openSample(true, QLatin1String(setup.what) + QStringLiteral(".AGV"));
        const QString file = QFileInfo(m_path).canonicalFilePath();
        clickNode(*w, QStringLiteral("C1"));
        // Typed in the main window and not yet written when the grid is shown.
        const QString typed = QStringLiteral("typed before the close");
        w->txtExplanation()->setPlainText(typed);
        w->selectTab(frmRedoZiv::kTabGrid);
        QPointer<frmIssue> window = analysisforms::issueWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_GT(window->grid().rows(), 1);
        setup.make(*window);
        ASSERT_GT(handlesOn(file), 0);

        w->findChild<QAction*>(QStringLiteral("mnuFileClose"))->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull());
        EXPECT_EQ(w->analysisWindow(), nullptr);
        EXPECT_FALSE(oUtility().FormIssueLoaded());
        EXPECT_EQ(handlesOn(file), 0);
        EXPECT_EQ(issueColumn("Explanation", 1).toString(), typed);
        EXPECT_EQ(m_prompt.messages(), QStringList());

        // The case opened next is read afresh by a window of its own.
        execIn(m_path,
               QStringLiteral("UPDATE Issue SET Name = 'renamed while closed' WHERE ID = 2"));
        m_prompt.chooseFile(m_path);
        w->mnuFileOpen_Click();
        w->selectTab(frmRedoZiv::kTabGrid);
        frmIssue* fresh = analysisforms::issueWindow();
        ASSERT_NE(fresh, nullptr);
        bool renamed = false;
        for (int row = 1; row < fresh->grid().rows(); ++row)
            for (int col = 1; col < fresh->grid().cols(); ++col)
                renamed = renamed ||
                          fresh->grid().textAt(row, col) == QLatin1String("renamed while closed");
        EXPECT_TRUE(renamed);
        EXPECT_EQ(m_prompt.messages(), QStringList());
        if (frmReport* report = frmReport::loaded())
            report->close();
        m_prompt.clear();
    }
}
