#include "WorkspaceFixture.h"

#include "workspace/BrowserPane.h"
#include "workspace/StartPage.h"
#include "workspace/ctlBookmarks.h"
#include "workspace/frmRedoZiv.h"

#include "platform/core/Twips.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"
#include "store/CUtility.h"

#include "platform/db/Ado.h"
#include "platform/db/Dao.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using Layout = WorkspaceTest;

TEST_F(Layout, CaseCloseWithNoCaseGivesTheStartLayoutAndCheckOnlineTheBrowserOverTheWholeArea)
{
    frmRedoZiv w;
    showAndWait(w);
    m_prompt.clear();
    w.DoCaseClose();
    EXPECT_EQ(w.pnlStartLeft(), 3875);
    EXPECT_TRUE(w.pnlStart()->isVisible());
    EXPECT_EQ(w.pnlStart()->x(), twips::toPixels(3875));
    EXPECT_EQ(w.webBrowserLeft(), twips::kHiddenLeft);
    EXPECT_FALSE(w.webBrowser()->isVisible());
    EXPECT_EQ(w.treePaneWidth(), 3750);
    EXPECT_EQ(w.selectedTab(), frmRedoZiv::kTabExplanation);
    EXPECT_FALSE(w.tvIssueItems()->isEnabled());
    EXPECT_EQ(m_prompt.messages(), QStringList());

    // Checking online shows the browser pane over the whole area.
    QTest::mouseClick(w.pnlStart()->cmdOpenStart(StartPage::NewTemplates), Qt::LeftButton);
    EXPECT_EQ(w.webBrowserLeft(), 0);
    EXPECT_TRUE(w.webBrowser()->isVisible());
    EXPECT_EQ(w.webBrowser()->x(), 0);
    EXPECT_TRUE(w.webBrowser()->address().endsWith(QStringLiteral("/download.htm")));
}

TEST_F(Layout, CaseCloseFromTheGridTabWritesARatingEditOfAnItemWithNoExplanation)
{
    m_path = m_cases.createSample();
    execIn(m_path, QStringLiteral("UPDATE Issue SET Explanation = '' WHERE ID = 6"));
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C6"));
    // Typed, and the focus never left the box before the close.
    w->txtSpin(2)->setText(QStringLiteral("2"));
    w->selectTab(frmRedoZiv::kTabGrid);
    w->findChild<QAction*>(QStringLiteral("mnuFileClose"))->trigger();

    EXPECT_EQ(issueColumn("Jury", 6).toInt(), 2);
    EXPECT_EQ(gDB, nullptr);
    EXPECT_EQ(w->currentIssue(), nullptr);
    EXPECT_EQ(w->selectedTab(), frmRedoZiv::kTabExplanation);
    EXPECT_EQ(w->tvIssueItems()->topLevelItemCount(), 0);
    EXPECT_EQ(w->ctlBookmarkList()->lvBookMarks()->topLevelItemCount(), 0);
    EXPECT_NE(oDataLayer().Connection()->State(), ado::adStateOpen);
    EXPECT_TRUE(oUtility().CaseName().isEmpty());
    EXPECT_EQ(oMain().strFileName(), m_path);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Argovo"));
    EXPECT_TRUE(w->pnlStart()->isVisible());
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(Layout, HelpOpenAndNewWorkFromTheStartPageAndHelpFromTheMenu)
{
    writeHelpPage();
    writeBlankTemplate();
    auto w = openSample();
    w->DoCaseClose();
    QTest::mouseClick(w->pnlStart()->cmdOpenStart(StartPage::Help), Qt::LeftButton);
    ASSERT_EQ(m_shell.helpShown.size(), 1);
    EXPECT_EQ(m_shell.helpShown.first(),
              QDir(programFolder()).filePath(QStringLiteral("help/index.html")));

    m_prompt.chooseFile(m_path);
    QTest::mouseClick(w->pnlStart()->cmdOpenStart(StartPage::OpenCase), Qt::LeftButton);
    ASSERT_NE(gDB, nullptr);
    EXPECT_EQ(w->node(QStringLiteral("ROOT"))->childCount(), 3);
    EXPECT_EQ(w->pnlStartLeft(), twips::kHiddenLeft);
    EXPECT_FALSE(w->pnlStart()->isVisible());

    w->findChild<QAction*>(QStringLiteral("mnuHelpContents"))->trigger();
    EXPECT_EQ(m_shell.helpShown.size(), 2);

    // A new case from the start page is an empty one.
    w->DoCaseClose();
    const QString fresh = m_cases.path(QStringLiteral("fresh.AGV"));
    m_prompt.chooseFile(fresh);
    QTest::mouseClick(w->pnlStart()->cmdOpenStart(StartPage::NewCase), Qt::LeftButton);
    ASSERT_NE(gDB, nullptr);
    EXPECT_EQ(gDB->Name(), fresh);
    EXPECT_TRUE(w->tvIssueItems()->isEnabled());
    EXPECT_EQ(w->node(QStringLiteral("ROOT"))->childCount(), 0);
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(Layout, ViewsPlaceTheStartPageAndEveryResizeResetsTheTreePane)
{
    auto w = openSample();
    w->mnuViewTabs_Click();
    EXPECT_EQ(w->treePaneWidth(), twips::fromPixels(twips::toPixels(4285)));
    EXPECT_EQ(w->pnlStartLeft(), twips::kHiddenLeft);

    w->mnuViewOverlay_Click();
    EXPECT_EQ(w->pnlStartLeft(), 3875);
    EXPECT_TRUE(w->pnlStart()->isVisible());
    w->resize(w->width() + 100, w->height() + 40);
    QTest::qWait(20);
    EXPECT_EQ(w->treePaneWidth(), 3750);
    const QWidget* area = w->pnlStart()->parentWidget();
    EXPECT_EQ(
        w->pnlStart()->geometry(),
        QRect(twips::toPixels(3875), 0, area->width() - twips::toPixels(3875), area->height()));
    // The toolbar's variant keeps it to the detail pane.
    w->tbTools_ButtonClick(QStringLiteral("overlay"));
    EXPECT_EQ(w->pnlStart()->geometry().right() + 1,
              twips::toPixels(3875) + w->ssSplitter()->sizes().value(1));
    // A splitter drag puts it out of the way.
    w->ssSplitter_SplitterStartDrag();
    EXPECT_EQ(w->pnlStartLeft(), twips::kHiddenLeft);
    EXPECT_FALSE(w->pnlStart()->isVisible());
}

TEST_F(Layout, TheBookmarkPaneTogglesBackAndFollowsTheSelectedItem)
{
    auto w = openSample();
    ASSERT_TRUE(gBookmarksVisible);
    w->ShowBookmarks(!gBookmarksVisible);
    EXPECT_FALSE(gBookmarksVisible);
    EXPECT_FALSE(w->ctlBookmarkList()->isVisible());
    EXPECT_EQ(w->treePaneWidth(), 3750);
    w->ShowBookmarks(!gBookmarksVisible);
    EXPECT_TRUE(gBookmarksVisible);
    EXPECT_TRUE(w->ctlBookmarkList()->isVisible());
    EXPECT_GT(w->ctlBookmarkList()->width(), 0);

    clickNode(*w, QStringLiteral("C3")); // "Breach" carries the bookmark
    QApplication::processEvents();       // the pane moves once the button is up
    QTreeWidget* list = w->ctlBookmarkList()->lvBookMarks();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
}

TEST_F(Layout, TheTitleBarCloseAndFileExitRunTheSameShutdown)
{
    for (bool titleBar : {true, false}) {
        resetAppState();
        m_shell.quitCount = 0;
        oMain().setStrFileName(m_cases.createSample(QStringLiteral("case%1.AGV").arg(titleBar)));
        frmRedoZiv w;
        showAndWait(w);
        if (titleBar)
            w.close();
        else
            w.findChild<QAction*>(QStringLiteral("mnuFileExit"))->trigger();
        EXPECT_EQ(m_shell.quitCount, 1) << titleBar;
        EXPECT_EQ(gDB, nullptr) << titleBar;
        EXPECT_FALSE(w.isVisible()) << titleBar;
        EXPECT_EQ(w.ctlBookmarkList()->lvBookMarks()->topLevelItemCount(), 0) << titleBar;
    }
}

TEST_F(Layout, TheGridTabLoadsTheAnalysisWindowAndAnotherCaseUnloadsIt)
{
    auto w = openSample();
    EXPECT_EQ(w->analysisWindow(), nullptr);
    clickNode(*w, QStringLiteral("C1"));
    w->selectTab(frmRedoZiv::kTabGrid);
    ASSERT_NE(w->analysisWindow(), nullptr);
    EXPECT_TRUE(oUtility().FormIssueLoaded());
    EXPECT_TRUE(w->analysisWindow()->isVisible());
    EXPECT_TRUE(w->isAncestorOf(w->analysisWindow()));

    m_prompt.chooseFile(m_cases.create(QStringLiteral("other.AGV")));
    w->mnuFileOpen_Click();
    EXPECT_EQ(w->analysisWindow(), nullptr);
    EXPECT_FALSE(oUtility().FormIssueLoaded());
    w->selectTab(frmRedoZiv::kTabGrid);
    EXPECT_NE(w->analysisWindow(), nullptr);
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(Layout, SaveAsOpensTheCopyInTheWindow)
{
    auto w = openSample();
    clickNode(*w, QStringLiteral("C1"));
    const QString copy = m_cases.path(QStringLiteral("copy.AGV"));
    m_prompt.chooseFile(copy);
    w->findChild<QAction*>(QStringLiteral("mnuFileSaveAs"))->trigger();

    ASSERT_NE(gDB, nullptr);
    EXPECT_EQ(gDB->Name(), copy);
    EXPECT_EQ(w->node(QStringLiteral("ROOT"))->childCount(), 3);
    EXPECT_EQ(w->currentIssue(), nullptr);
    EXPECT_EQ(w->pnlStartLeft(), twips::kHiddenLeft);
    EXPECT_EQ(m_prompt.messages(), QStringList());
}
