#include "WorkspaceFixture.h"
#include "support/CaseRows.h"
#include "support/RecordingReportLauncher.h"

#include "workspace/BrowserPane.h"
#include "workspace/StartPage.h"
#include "workspace/frmRedoZiv.h"

#include "platform/core/Twips.h"
#include "store/CIssue.h"
#include "store/CMain.h"
#include "store/CTypes.h"
#include "store/CUtility.h"
#include "store/Globals.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QToolBar>
#include <QTreeWidget>

namespace {

QString keyOf(QTreeWidgetItem* node)
{
    return node ? node->data(0, frmRedoZiv::kKeyRole).toString() : QStringLiteral("<none>");
}

QAction* action(frmRedoZiv& w, const char* name)
{
    auto* found = w.findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace

class Commands : public WorkspaceTest {
protected:
    void select(frmRedoZiv& w, const QString& key)
    {
        ASSERT_NE(w.node(key), nullptr) << qPrintable(key);
        for (QTreeWidgetItem* up = w.node(key)->parent(); up; up = up->parent())
            up->setExpanded(true);
        w.tvIssueItems()->setCurrentItem(w.node(key));
        ASSERT_EQ(keyOf(w.tvIssueItems()->currentItem()), key);
    }
};

TEST_F(Commands, PreviousAndNextGoToASiblingElseToTheParentOrFirstChild)
{
    auto w = openSample(false);
    // Sorted sample tree: ROOT > Comparative fault C10, Damages C6 > (Lost wages C8 > QS9,
    // Medical costs C7), Liability C1 > (Breach C3 > (CW4, CX5), Duty of care C2).
    struct Row {
        const char* from;
        const char* key;
        const char* expected;
    } rows[] = {
        // clang-format off
        {"ROOT", "larrow", "ROOT"}, // nothing before the root
        {"C3",   "larrow", "C1"},   // first child: its issue
        {"C2",   "larrow", "C3"},
        {"QS9",  "rarrow", "QS9"},  // last leaf: nothing
        {"CX5",  "rarrow", "CX5"},
        {"C3",   "rarrow", "C2"},   // the next sibling, though the node has children
        {"C1",   "rarrow", "C3"},   // no next sibling: the first child
        {"C8",   "rarrow", "C7"},
        {"ROOT", "rarrow", "C10"},
        // clang-format on
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.from) + " " + row.key);
        select(*w, QLatin1String(row.from));
        // The node moved to may lie in a closed branch.
        w->node(QLatin1String(row.from))->setExpanded(false);
        w->tbTools_ButtonClick(QLatin1String(row.key));
        QTreeWidgetItem* current = w->tvIssueItems()->currentItem();
        EXPECT_EQ(keyOf(current), QLatin1String(row.expected));
        for (QTreeWidgetItem* up = current ? current->parent() : nullptr; up; up = up->parent())
            EXPECT_TRUE(up->isExpanded()) << "the selected node is out of sight";
        // The caption over the details names the node moved to, as a click does.
        if (QLatin1String(row.from) != QLatin1String(row.expected)) {
            EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  ") + current->text(0));
        }
        if (QLatin1String(row.expected) != QLatin1String("ROOT")) {
            ASSERT_NE(w->currentIssue(), nullptr);
            EXPECT_EQ(w->currentIssue()->Name(), w->node(QLatin1String(row.expected))->text(0));
        }
    }
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(Commands, ExpandAndCollapseReachEveryBranchAndAnEmptyTreeIsLeftAlone)
{
    auto w = openSample(false);
    const char* const branches[] = {"ROOT", "C1", "C3", "C6", "C8"};
    w->tbTools_ButtonClick(QStringLiteral("expand"));
    for (const char* branch : branches)
        EXPECT_TRUE(w->node(QLatin1String(branch))->isExpanded()) << branch;
    w->tbTools_ButtonClick(QStringLiteral("shut"));
    for (const char* branch : branches)
        EXPECT_FALSE(w->node(QLatin1String(branch))->isExpanded()) << branch;
    // Only a branch that closes takes the issue picture; leaves keep theirs.
    for (const auto& [leaf, image] :
         {std::pair{"CW4", "WITNESS"}, {"CX5", "EXHIBIT"}, {"QS9", "QUESTION"}, {"C10", "ISSUE"}})
        EXPECT_EQ(w->node(QLatin1String(leaf))->data(0, frmRedoZiv::kImageRole).toString(),
                  QLatin1String(image))
            << leaf;
    // Closing branches that already show the issue picture changes no row: a
    // large tree closed in one go would otherwise be looked through per row.
    w->tbTools_ButtonClick(QStringLiteral("expand"));
    QSignalSpy changed(w->tvIssueItems()->model(), &QAbstractItemModel::dataChanged);
    w->tbTools_ButtonClick(QStringLiteral("shut"));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(w->node(QStringLiteral("C1"))->isExpanded());

    w->DoCaseClose();
    m_prompt.clear();
    w->tbTools_ButtonClick(QStringLiteral("expand"));
    w->tbTools_ButtonClick(QStringLiteral("shut"));
    EXPECT_EQ(w->tvIssueItems()->topLevelItemCount(), 0);
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(Commands, ToolbarSaveNeedsACaseNameWhileFileSaveCommitsAnyway)
{
    auto w = openSample(false);
    select(*w, QStringLiteral("C6"));
    const QString sql = QStringLiteral("select Weight from Issue where ID = 6");

    // A rating typed is written when its box is left, or by a save.
    oUtility().setCaseName(QString());
    w->txtSpin(0)->setText(QStringLiteral("2"));
    w->tbTools_ButtonClick(QStringLiteral("save"));
    EXPECT_EQ(valueIn(m_path, sql).toInt(), 7);

    action(*w, "mnuFileSave")->trigger();
    EXPECT_EQ(valueIn(m_path, sql).toInt(), 2);

    oUtility().setCaseName(QStringLiteral("Sample.AGV"));
    w->txtSpin(0)->setText(QStringLiteral("3"));
    w->tbTools_ButtonClick(QStringLiteral("save"));
    EXPECT_EQ(valueIn(m_path, sql).toInt(), 3);
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(Commands, ToolbarCloseClearsTheNodeFlagsAndTheMenuCloseKeepsThem)
{
    for (bool toolbar : {true, false}) {
        SCOPED_TRACE(toolbar ? "toolbar" : "menu");
        resetAppState();
        auto w = openSample(false, toolbar ? QStringLiteral("a.AGV") : QStringLiteral("b.AGV"));
        gNodeClicked = true;
        gTreeChanged = true;
        if (toolbar)
            w->tbTools_ButtonClick(QStringLiteral("close"));
        else
            action(*w, "mnuFileClose")->trigger();
        EXPECT_EQ(gDB, nullptr);
        EXPECT_EQ(gNodeClicked, !toolbar);
        EXPECT_EQ(gTreeChanged, !toolbar);
    }
}

TEST_F(Commands, EachReportLauncherShowsTheGridTabBeforeThePreview)
{
    auto w = openSample(false);
    // An emptied box is written only when it is left; the report reads the file.
    select(*w, QStringLiteral("C1"));
    ASSERT_NE(w->currentIssue(), nullptr);
    w->txtQuestions()->setPlainText(QString());
    RecordingReportLauncher reports;
    int tabWhenShown = 0;
    bool analysisLoaded = false;
    QVariant questionsWhenShown;
    reports.onShow = [&](const QString&) {
        tabWhenShown = w->selectedTab();
        analysisLoaded = w->analysisWindow() != nullptr;
        questionsWhenShown = issueColumn("Question", 1);
    };
    struct Row {
        const char* menuItem;
        const char* toolbarKey;
        const char* shown;
    } rows[] = {
        {"mnuReportsGrid", "grid", "adHocGeneral|85"},
        {"mnuReportIssue", "issue", "arIssues|85"},
        {"mnuReportExhibit", "exhibit", "arExhibits|85"},
        {"mnuReportWitness", "witness", "arWitnesses|85"},
        {"mnuReportAnalysis", "caseanalysis", "arCaseAnalysis|100"},
    };
    for (const Row& row : rows) {
        for (bool fromToolbar : {false, true}) {
            SCOPED_TRACE(fromToolbar ? row.toolbarKey : row.menuItem);
            w->selectTab(frmRedoZiv::kTabExplanation);
            reports.shown.clear();
            tabWhenShown = 0;
            if (fromToolbar)
                w->tbTools_ButtonClick(QLatin1String(row.toolbarKey));
            else
                action(*w, row.menuItem)->trigger();
            EXPECT_EQ(reports.shown, QStringList{QLatin1String(row.shown)});
            EXPECT_EQ(tabWhenShown, frmRedoZiv::kTabGrid);
            EXPECT_TRUE(analysisLoaded);
            EXPECT_EQ(questionsWhenShown.toString(), QString());
        }
    }
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(Commands, AReportOpensThoughTheItemShownWasDeletedElsewhereWithSomethingTyped)
{
    auto w = openSample(false);
    select(*w, QStringLiteral("C2"));
    execIn(m_path, QStringLiteral("DELETE FROM Issue WHERE ID = 2"));
    const int fours = countIn(m_path, QStringLiteral("Issue where Weight = 4"));
    w->txtSpin(0)->setText(QStringLiteral("4"));
    RecordingReportLauncher reports;
    w->tbTools_ButtonClick(QStringLiteral("issue"));
    w->tbTools_ButtonClick(QStringLiteral("issue"));
    EXPECT_EQ(reports.shown.size(), 2);
    // The failure of the write is told; nothing is written anywhere else.
    EXPECT_FALSE(m_prompt.messages().isEmpty());
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue where Weight = 4")), fours);
}

TEST_F(Commands, TheToolbarHoldsTheButtonsInOrderWithPicturesAndTooltipsAndTakesOnlyItsExactKeys)
{
    auto w = openSample(false);
    const QStringList expected = {
        "new|New case",
        "open|Open existing case",
        "save|Save case",
        "delete|Delete",
        "close|Close case",
        "larrow|Previous item",
        "rarrow|Next item",
        "refresh|Refresh tree issues, exhibits, witnesses, and questions.",
        "home|Argovo web home",
        "overlay|Overlay screen",
        "tabs|Tabs view",
        "internet|Argovo update check",
        "settings|Program settings",
        "maintenance|Case maintenance",
        "bookmarks|View bookmarks",
        "grid|Grid report",
        "issue|Issue report",
        "exhibit|Exhibit report",
        "witness|Witness report",
        "caseanalysis|Case analysis",
        "expand|Open all issues, exhibits, witnesses in tree",
        "shut|Close all issues, exhibits, witnesses in tree",
        "help|Help",
    };
    QStringList actual;
    for (QAction* button : w->tbTools()->actions()) {
        actual << button->data().toString() + QLatin1Char('|') + button->toolTip();
        EXPECT_FALSE(button->icon().pixmap(24, 24).isNull()) << qPrintable(button->toolTip());
        // Only the settings button, which has nothing to offer, cannot be clicked.
        EXPECT_EQ(button->isEnabled(), button->data() != QStringLiteral("settings"))
            << qPrintable(button->toolTip());
    }
    EXPECT_EQ(actual, expected);

    // Keys are compared exactly, and an unknown key does nothing.
    for (const char* key : {"Open", "OPEN", " open", "open ", "", "bookmark", "nosuchkey"}) {
        w->tbTools_ButtonClick(QLatin1String(key));
        EXPECT_TRUE(m_prompt.shown().isEmpty()) << '"' << key << '"';
    }
    EXPECT_TRUE(m_shell.executed.isEmpty());
    EXPECT_NE(gDB, nullptr);
    w->tbTools_ButtonClick(QStringLiteral("open"));
    EXPECT_EQ(m_prompt.count(QStringLiteral("file")), 1);
}

TEST_F(Commands, TheMenusHoldEveryItemInOrderWithSeparatorsAndInsertItemsNameTheirType)
{
    auto w = openSample(false);
    const std::pair<const char*, QStringList> menus[] = {
        {"mnuFile",
         {"mnuFileNew|New Case", "mnuFileOpen|Open Existing Case", "mnuFileSave|Save",
          "mnuFileSaveAs|Save As...", "mnuFileClose|Close Case", "Filesep1|-", "mnuFileExit|Exit"}},
        {"mnuInsert",
         {"mnuInsertNewIssue|Add New Issue Here", "mnuInsertNewExhibit|Add New Exhibit Here",
          "mnuInsertNewWitness|Add New Witness Here", "mnuInsertNewQuestion|Add New Question Here",
          "Insertsep1|-", "mnuInsertDelete|Delete Selected Item", "Insertsep2|-",
          "mnuInsertRename|Rename Item", "Insertsep3|-", "mnuInsertBookmark|Bookmark Here"}},
        {"mnuView",
         {"mnuViewIssue|Issue", "Viewsep1|-", "mnuViewBookmarks|Bookmarks",
          "mnuViewOverlay|Overlay", "mnuViewTabs|Tabs", "Viewsep2|-",
          "mnuViewMaintenance|Maintenance"}},
        {"mnuReports",
         {"mnuReportsGrid|Grid View", "mnuReportIssue|Issue Report",
          "mnuReportExhibit|Exhibit Report", "mnuReportWitness|Witness Report",
          "mnuReportAnalysis|Case Analysis"}},
        {"mnuHelp",
         {"mnuHelpContents|Contents...", "mnuHelpEmail|E-Mail Argovo",
          "mnuHelpUpdates|Check For Updates", "Helpsep1|-", "mnuHelpAbout|About"}},
    };
    for (const auto& [name, items] : menus) {
        auto* menu = w->findChild<QMenu*>(QLatin1String(name));
        ASSERT_NE(menu, nullptr) << name;
        QStringList actual;
        for (QAction* item : menu->actions())
            actual << item->objectName() + QLatin1Char('|') +
                          (item->isSeparator() ? QStringLiteral("-") : item->text());
        EXPECT_EQ(actual, items) << name;
    }
    EXPECT_EQ(w->mnuInsert()->objectName(), QStringLiteral("mnuInsert"));
    // Each insert item names its item type before the insert.
    for (const auto& [item, type] : {std::pair{"mnuInsertNewIssue", "Issue"},
                                     {"mnuInsertNewExhibit", "Exhibit"},
                                     {"mnuInsertNewWitness", "Witness"},
                                     {"mnuInsertNewQuestion", "Question"}}) {
        action(*w, item)->trigger();
        EXPECT_EQ(oTypes().ItemType(), QLatin1String(type)) << item;
    }
}

TEST_F(Commands, RefreshRefillsTheTreeAndLeavesItsCaption)
{
    auto w = openSample(false);
    select(*w, QStringLiteral("C6"));
    execIn(m_path, QStringLiteral("INSERT INTO Issue (ID, ParentID, Name, ItemType) "
                                  "VALUES (11, 6, 'Future care', 'Issue')"));
    w->tbTools_ButtonClick(QStringLiteral("refresh"));
    ASSERT_NE(w->node(QStringLiteral("C11")), nullptr);
    EXPECT_EQ(keyOf(w->node(QStringLiteral("C11"))->parent()), QStringLiteral("C6"));
    EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  Argovo Screen Refresh"));
}

TEST_F(Commands, WebPagesOpenOnTheMakersHostAndTheirLinkGoesToTheDesktopBrowser)
{
    auto w = openSample(false);
    showAndWait(*w);
    w->tbTools_ButtonClick(QStringLiteral("home"));
    EXPECT_EQ(w->webBrowser()->address(), QStringLiteral("https://www.argovo.example"));
    EXPECT_EQ(w->webBrowserLeft(), 0);
    EXPECT_EQ(w->pnlStartLeft(), 3875);
    EXPECT_EQ(w->treePaneWidth(), 3750);

    // The host is an installation setting beside the program.
    QSettings ini(QDir(programFolder()).filePath(QStringLiteral("argovo.ini")),
                  QSettings::IniFormat);
    ini.setValue(QStringLiteral("Maker/WebHome"), QStringLiteral("https://law.example.org/"));
    ini.sync();
    w->tbTools_ButtonClick(QStringLiteral("internet"));
    EXPECT_EQ(w->webBrowser()->address(), QStringLiteral("https://law.example.org/download.htm"));

    w->webBrowser()->openAddress();
    EXPECT_EQ(m_shell.executed,
              QStringList{QStringLiteral("|https://law.example.org/download.htm||1")});
    m_shell.result = platform::shellresult::NoAssociation;
    w->webBrowser()->openAddress();
    EXPECT_EQ(m_prompt.messages(), QStringList{QStringLiteral("Error on Launch Browser: 31")});
}

TEST_F(Commands, AFailedMailOrUpdateLaunchIsReportedAndChangesNothingAndAboutOpensModally)
{
    auto w = openSample(false);
    select(*w, QStringLiteral("C6"));
    const int startLeft = w->pnlStartLeft();
    const int browserLeft = w->webBrowserLeft();
    m_shell.result = platform::shellresult::NoAssociation;
    action(*w, "mnuHelpEmail")->trigger();
    action(*w, "mnuHelpUpdates")->trigger();
    EXPECT_EQ(m_prompt.messages(), (QStringList{QStringLiteral("Error on LaunchEmail: 31"),
                                                QStringLiteral("Error on Launch Browser: 31")}));
    EXPECT_EQ(m_shell.executed,
              (QStringList{QStringLiteral("|mailto:support@argovo.example||10"),
                           QStringLiteral("|https://www.argovo.example/updates.htm||10")}));
    EXPECT_EQ(w->pnlStartLeft(), startLeft);
    EXPECT_EQ(w->webBrowserLeft(), browserLeft);
    EXPECT_EQ(keyOf(w->tvIssueItems()->currentItem()), QStringLiteral("C6"));

    m_prompt.clear();
    m_shell.result = platform::shellresult::Success;
    action(*w, "mnuHelpEmail")->trigger();
    action(*w, "mnuHelpUpdates")->trigger();
    EXPECT_TRUE(m_prompt.shown().isEmpty());

    // About opens the about box modally.
    action(*w, "mnuHelpAbout")->trigger();
    ASSERT_EQ(m_prompt.shown().size(), 1);
    EXPECT_EQ(m_prompt.shown().first().kind, QStringLiteral("modal"));
    EXPECT_EQ(m_prompt.shown().first().text, QStringLiteral("frmAbout"));
}

TEST_F(Commands, StartPageButtonSevenAndBeyondDoNothing)
{
    frmRedoZiv w;
    m_prompt.clear();
    const int startLeft = w.pnlStartLeft();
    for (int index : {7, 8, 100})
        w.cmdOpenStart_Click(index);
    EXPECT_TRUE(m_prompt.shown().isEmpty());
    EXPECT_TRUE(m_shell.executed.isEmpty());
    EXPECT_TRUE(m_shell.helpShown.isEmpty());
    EXPECT_EQ(m_shell.quitCount, 0);
    EXPECT_EQ(w.pnlStartLeft(), startLeft);
    EXPECT_EQ(w.webBrowserLeft(), twips::kHiddenLeft);
}
