#include "WorkspaceFixture.h"

#include "workspace/CaseTables.h"
#include "workspace/TreeDragDrop.h"
#include "workspace/TreeLogic.h"
#include "workspace/ctlBookmarks.h"
#include "workspace/frmRedoZiv.h"

#include "platform/core/ScreenText.h"
#include "platform/db/Dao.h"
#include "store/CIssue.h"
#include "store/CMain.h"
#include "store/CTypes.h"
#include "store/CUtility.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

// The tree on screen can be older than the file: the case is open in a second
// copy of the program too, which tests stand in for with their own connection.
const QString kDeletedElsewhere = QStringLiteral(
    "The item to link to was deleted elsewhere: the case is open in another copy of the program "
    "too. Nothing was changed. Refresh the tree to see the case as it is now.");
const QString kLoopElsewhere = QStringLiteral(
    "The case was changed elsewhere: it is open in another copy of the program too, and there "
    "the issue dropped onto now lies under the item dragged. Nothing was moved. Refresh the tree "
    "to see the case as it is now.");

} // namespace

// The sample case: 1 "Liability" holds 2 "Duty of care" and 3 "Breach", which
// holds witness 4 and exhibit 5; 6 "Damages" holds 7 and 8, which holds
// question 9; 10 "Comparative fault". Item 3 has a bookmark.
class TreeEditing : public WorkspaceTest {
protected:
    // The user's click on a node.
    static void choose(frmRedoZiv& w, const QString& key)
    {
        QTreeWidgetItem* node = w.node(key);
        ASSERT_NE(node, nullptr) << qPrintable(key);
        w.tvIssueItems()->setCurrentItem(node);
        w.tvIssueItems_NodeClick(node);
    }

    static QString parentOf(frmRedoZiv& w, const char* key)
    {
        QTreeWidgetItem* node = w.node(QLatin1String(key));
        if (!node)
            return QStringLiteral("<no node>");
        return node->parent()->data(0, frmRedoZiv::kKeyRole).toString();
    }
    static QString imageOf(frmRedoZiv& w, const QString& key)
    {
        return w.node(key)->data(0, frmRedoZiv::kImageRole).toString();
    }
    static QLineEdit* labelEditor(frmRedoZiv& w)
    {
        // An editor that closed is gone.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return w.tvIssueItems()->viewport()->findChild<QLineEdit*>();
    }
    // A drag of one node to another, as the drag loop hands it to the window.
    static void dragAndDrop(frmRedoZiv& w, const char* dragged, const char* target)
    {
        w.tvIssueItems_MouseDown(w.node(QLatin1String(dragged)));
        ASSERT_TRUE(w.tvIssueItems_MouseMove(Qt::LeftButton));
        std::unique_ptr<QMimeData> data(w.treeDragData(QLatin1String(dragged)));
        const int middle = w.tvIssueItems()->viewport()->height() / 2;
        w.tvIssueItems_OLEDragOver(data.get(), w.node(QLatin1String(target)), middle);
        w.tvIssueItems_OLEDragDrop(data.get());
        w.tvIssueItems_OLECompleteDrag();
    }
};

TEST_F(TreeEditing, InsertingEachTypeUnderAnIssueAndUnderTheRootStoresAndShowsIt)
{
    auto w = openSample(false);
    struct Case {
        const char* type;
        const char* under;
        const char* prefix;
        const char* image;
        const char* parentId;
    };
    const Case cases[] = {
        {"Witness", "ROOT", "CW", "WITNESS", "0"}, {"Issue", "ROOT", "C", "ISSUE", "0"},
        {"Exhibit", "ROOT", "CX", "EXHIBIT", "0"}, {"Question", "ROOT", "QS", "QUESTION", "0"},
        {"Issue", "C6", "C", "ISSUE", "6"},        {"Exhibit", "C6", "CX", "EXHIBIT", "6"},
        {"Witness", "C2", "CW", "WITNESS", "2"},   {"Question", "C2", "QS", "QUESTION", "2"},
    };
    int rows = countIn(m_path, QStringLiteral("Issue"));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " under " + c.under);
        choose(*w, QLatin1String(c.under));
        oTypes().setItemType(QLatin1String(c.type));
        w->LinkerChecker();
        ASSERT_EQ(countIn(m_path, QStringLiteral("Issue")), ++rows);
        const int id = w->currentIssue()->Key().toInt();
        const QString key = QLatin1String(c.prefix) + QString::number(id);
        QTreeWidgetItem* node = w->node(key);
        ASSERT_NE(node, nullptr) << qPrintable(key);
        EXPECT_EQ(w->tvIssueItems()->currentItem(), node);
        EXPECT_EQ(node->parent(), w->node(QLatin1String(c.under)));
        EXPECT_EQ(node->text(0), QStringLiteral("New Case Item"));
        EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  New Case Item"));
        EXPECT_EQ(w->statusPanelText(), QStringLiteral("New Case Item"));
        EXPECT_EQ(imageOf(*w, key), QLatin1String(c.image));
        EXPECT_EQ(issueColumn("ParentID", id).toString(), QLatin1String(c.parentId));
        EXPECT_EQ(issueColumn("ItemType", id).toString(), QLatin1String(c.type));
        EXPECT_EQ(issueColumn("Name", id).toString(), QStringLiteral("New Case Item"));
        EXPECT_EQ(
            issueColumn("Weight + Success + Jury + Substantive + Procedural + Significance", id)
                .toInt(),
            6);
        // The name is typed at once, in place.
        ASSERT_NE(labelEditor(*w), nullptr);
        EXPECT_EQ(labelEditor(*w)->maxLength(), 50);
    }
    EXPECT_EQ(imageOf(*w, QStringLiteral("ROOT")), QStringLiteral("ISSUE"));
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(TreeEditing, InsertsUnderAnythingButTheRootOrAnIssueAreRefusedBeforeAnythingIsMade)
{
    auto w = openSample(false);
    const int rows = countIn(m_path, QStringLiteral("Issue"));

    // Nothing clicked yet.
    oTypes().setItemType(QStringLiteral("Issue"));
    w->LinkerChecker();
    ASSERT_EQ(m_prompt.shown().size(), 1);
    EXPECT_EQ(m_prompt.shown().last().text,
              QStringLiteral("Select an issue, witness or exhibit first."));
    EXPECT_EQ(m_prompt.shown().last().title, QStringLiteral("No Selection"));

    const std::pair<const char*, const char*> cases[] = {
        {"CX5", "Cannot link to exhibits--only to issues."},
        {"CW4", "Cannot link to witnesses--only to issues."},
        {"QS9", "Cannot link to questions--only to issues."},
    };
    for (const auto& [key, text] : cases) {
        SCOPED_TRACE(key);
        choose(*w, QLatin1String(key));
        const int childCount = w->node(QLatin1String(key))->childCount();
        m_prompt.clear();
        w->LinkerChecker();
        // The Insert key skips the menu's check; the insert refuses all the same.
        w->tvIssueItems_KeyUp(Qt::Key_Insert);
        ASSERT_EQ(m_prompt.messages(), (QStringList{QLatin1String(text), QLatin1String(text)}));
        EXPECT_EQ(m_prompt.shown().first().title, QStringLiteral("Not Supported"));
        EXPECT_EQ(m_prompt.shown().first().icon, platform::MsgIcon::Critical);
        EXPECT_EQ(w->node(QLatin1String(key))->childCount(), childCount);
        EXPECT_EQ(imageOf(*w, QLatin1String(key)), treelogic::imageForKey(QLatin1String(key)));
    }
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue")), rows);

    // The issue clicked is deleted elsewhere: no row is made under it.
    choose(*w, QStringLiteral("C3"));
    execIn(m_path, QStringLiteral("DELETE FROM Issue WHERE ID IN (3, 4, 5)"));
    m_prompt.clear();
    oTypes().setItemType(QStringLiteral("Witness"));
    w->LinkerChecker();
    w->tvIssueItems_KeyUp(Qt::Key_Insert);
    EXPECT_EQ(m_prompt.messages(), QStringList(2, kDeletedElsewhere));
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue")), rows - 3);
    EXPECT_EQ(w->node(QStringLiteral("C3"))->childCount(), 2);
}

// Another tool declared the items' ID a plain column: the engine gives a new
// row no id, and an item without one could never be reached again.
TEST_F(TreeEditing, AnInsertIntoAnItemTableThatNumbersNoRowsMakesNothingAndSaysWhy)
{
    m_path = m_cases.create(
        QStringLiteral("Unnumbered.AGV"),
        TempCase::sampleSql() +
            QStringLiteral("CREATE TABLE Plain (ID INTEGER, ParentID INTEGER, Name TEXT, "
                           "Explanation TEXT, Question TEXT, Weight SMALLINT, Success SMALLINT, "
                           "Jury SMALLINT, Substantive SMALLINT, Procedural SMALLINT, "
                           "Significance SMALLINT, ItemType TEXT);"
                           "INSERT INTO Plain SELECT * FROM Issue; DROP TABLE Issue;"
                           "ALTER TABLE Plain RENAME TO Issue;"));
    auto w = openWindow(false);
    ASSERT_NE(gDB, nullptr);
    choose(*w, QStringLiteral("C3"));
    w->showBranch(w->node(QStringLiteral("C3")));
    m_prompt.clear();
    w->mnuInsertNewIssue_Click();

    ASSERT_EQ(m_prompt.messages().size(), 1) << qPrintable(m_prompt.messages().join(" | "));
    EXPECT_TRUE(m_prompt.messages().first().startsWith(
        QStringLiteral("3058 The case's table Issue does not number its new rows itself (its "
                       "column ID is no INTEGER PRIMARY KEY), so no item can be added to this "
                       "case. Nothing was added.")))
        << qPrintable(m_prompt.messages().first());
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue")), 10);
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue where ID is null")), 0);
    EXPECT_EQ(w->node(QStringLiteral("C3"))->childCount(), 2);
    EXPECT_EQ(w->tvIssueItems()->currentItem(), w->node(QStringLiteral("C3")));
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("3"));
}

TEST_F(TreeEditing, TheInsertChecksTheNodeItGoesUnderNotAnEarlierClick)
{
    auto w = openSample(false);
    choose(*w, QStringLiteral("C3"));
    oTypes().setItemType(QStringLiteral("Witness"));
    w->LinkerChecker();
    const QString witness = QStringLiteral("CW") + w->currentIssue()->Key();
    ASSERT_EQ(w->tvIssueItems()->currentItem(), w->node(witness));
    ASSERT_EQ(oUtility().SelectedNode(), QStringLiteral("C3"));
    const int rows = countIn(m_path, QStringLiteral("Issue"));

    // The last click was on an issue, but the insert would go under the new witness.
    oTypes().setItemType(QStringLiteral("Issue"));
    w->LinkerChecker();
    EXPECT_EQ(m_prompt.messages(),
              QStringList{QStringLiteral("Cannot link to witnesses--only to issues.")});
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue")), rows);
    EXPECT_EQ(w->node(witness)->childCount(), 0);
}

TEST_F(TreeEditing, RenamingInPlaceStoresTheNameAsTypedUpToFiftyCharacters)
{
    auto w = openSample();
    const QString fifty = QString(50, QLatin1Char('n'));
    struct Case {
        QString typed;
        QString stored;
        QString message;
    };
    const Case cases[] = {
        {QString(), QStringLiteral("Breach"),
         QStringLiteral("You must enter some text for an explanation.")},
        {fifty + QLatin1Char('x'), fifty, QString()},
        {QStringLiteral("O'Brien's brief — Zürich 証言"),
         QStringLiteral("O'Brien's brief — Zürich 証言"), QString()},
        // A character of two code units at the limit goes in whole or not at all.
        {fifty.left(48) + QStringLiteral("\U0001F600"),
         fifty.left(48) + QStringLiteral("\U0001F600"), QString()},
        {fifty.left(49) + QStringLiteral("\U0001F600"), fifty.left(49), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        choose(*w, QStringLiteral("C3"));
        m_prompt.clear();
        w->RenameItem();
        QLineEdit* editor = labelEditor(*w);
        ASSERT_NE(editor, nullptr);
        editor->clear();
        editor->insert(c.typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor closes after the key
        EXPECT_EQ(issueColumn("Name", 3).toString(), c.stored);
        EXPECT_EQ(w->node(QStringLiteral("C3"))->text(0), c.stored);
        EXPECT_EQ(m_prompt.messages().join(QLatin1Char('|')), c.message);
        EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  ") + c.stored);
        EXPECT_EQ(w->currentIssue()->Name(), c.stored);
        // The bookmark pane names the item as the tree does.
        EXPECT_EQ(w->ctlBookmarkList()->lvBookMarks()->topLevelItem(0)->text(0), c.stored);
    }
}

// Older files hold names longer than the editor's limit, some longer than
// the tree shows: a rename never cuts them, and typing never lengthens them.
TEST_F(TreeEditing, ALongerNameFromAnOlderFileKeepsItsLengthThroughARenameButCannotGrow)
{
    const QString eighty = QString(80, QLatin1Char('n'));
    const QString huge = QString(300, QLatin1Char('h'));
    m_path = m_cases.createSample();
    for (int id : {2, 3, 6})
        execIn(m_path,
               QStringLiteral("UPDATE Issue SET Name = '%1' WHERE ID = %2").arg(eighty).arg(id));
    execIn(m_path, QStringLiteral("UPDATE Issue SET Name = '%1' WHERE ID = 10").arg(huge));
    auto w = openWindow();
    struct Case {
        const char* key;
        QString typed; // null: Return on the name as the editor shows it
        QString stored;
    };
    const Case cases[] = {
        {"C2", QString(), eighty},
        {"C3", eighty.left(60), eighty.left(60)},
        {"C6", eighty + QStringLiteral("xyz"), eighty},
        {"C10", QString(), huge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const int id = QByteArray(c.key + 1).toInt();
        choose(*w, QLatin1String(c.key));
        w->RenameItem();
        QLineEdit* editor = labelEditor(*w);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->text(), issueColumn("Name", id).toString());
        if (!c.typed.isNull()) {
            editor->clear();
            editor->insert(c.typed);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(issueColumn("Name", id).toString(), c.stored);
        EXPECT_EQ(w->node(QLatin1String(c.key))->text(0), screentext::shown(c.stored));
    }

    // Fixed in place, with room made for the column the file declares: the
    // end the tree does not show is kept.
    choose(*w, QStringLiteral("C10"));
    w->RenameItem();
    QLineEdit* editor = labelEditor(*w);
    ASSERT_NE(editor, nullptr);
    editor->setSelection(0, 50);
    editor->insert(QStringLiteral("H"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(issueColumn("Name", 10).toString(), QStringLiteral("H") + huge.mid(50));
    EXPECT_EQ(w->node(QStringLiteral("C10"))->text(0), QStringLiteral("H") + huge.mid(50));
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(TreeEditing, ARefreshOrAnInsertDuringARenameStoresAndShowsTheNameTyped)
{
    for (const bool insert : {false, true}) {
        SCOPED_TRACE(insert ? "insert" : "refresh");
        auto w =
            openSample(true, insert ? QStringLiteral("Insert.AGV") : QStringLiteral("Refresh.AGV"));
        choose(*w, QStringLiteral("C6"));
        w->RenameItem();
        ASSERT_NE(labelEditor(*w), nullptr);
        labelEditor(*w)->setText(QStringLiteral("Damages in full")); // Return not pressed
        if (insert)
            w->mnuInsertNewIssue_Click();
        else
            w->tbTools_ButtonClick(QStringLiteral("refresh"));
        EXPECT_EQ(issueColumn("Name", 6).toString(), QStringLiteral("Damages in full"));
        EXPECT_EQ(w->node(QStringLiteral("C6"))->text(0), QStringLiteral("Damages in full"));
        EXPECT_EQ(m_prompt.messages(), QStringList());
    }
}

TEST_F(TreeEditing, EscapeEndsARenameSilentlyAndTheRootIsNeverRenamed)
{
    auto w = openSample();
    choose(*w, QStringLiteral("C6"));
    w->RenameItem();
    ASSERT_NE(labelEditor(*w), nullptr);
    QTest::keyClicks(labelEditor(*w), QStringLiteral("Other"));
    QTest::keyClick(labelEditor(*w), Qt::Key_Escape);
    EXPECT_EQ(issueColumn("Name", 6).toString(), QStringLiteral("Damages"));
    EXPECT_EQ(w->node(QStringLiteral("C6"))->text(0), QStringLiteral("Damages"));

    choose(*w, QStringLiteral("ROOT"));
    w->RenameItem();
    EXPECT_EQ(labelEditor(*w), nullptr);
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

TEST_F(TreeEditing,
       TheDeleteQuestionNamesChildRecordsOnlyForABranchNoKeepsAllAndALastChildGoneCollapsesItsIssue)
{
    auto w = openSample(false);
    const int rows = countIn(m_path, QStringLiteral("Issue"));
    const std::pair<const char*, const char*> cases[] = {
        {"CW4", "Delete selected Item ?"},
        {"C3", "Delete selected Item and all child records?"},
    };
    for (const auto& [key, question] : cases) {
        choose(*w, QLatin1String(key));
        m_prompt.clear();
        m_prompt.answer(platform::MsgAnswer::No);
        w->tvIssueItems_KeyUp(Qt::Key_Delete);
        ASSERT_EQ(m_prompt.shown().size(), 1) << key;
        EXPECT_EQ(m_prompt.shown().first().text, QLatin1String(question));
        EXPECT_EQ(m_prompt.shown().first().title, QStringLiteral("Delete Case Item?"));
        EXPECT_EQ(m_prompt.shown().first().buttons, platform::MsgButtons::YesNo);
        EXPECT_NE(w->node(QLatin1String(key)), nullptr);
    }
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue")), rows);

    // Yes for the last child collapses its issue, which is then shown.
    choose(*w, QStringLiteral("QS9"));
    m_prompt.answer(platform::MsgAnswer::Yes);
    w->DeleteCodeItem();
    QTreeWidgetItem* parent = w->node(QStringLiteral("C8"));
    EXPECT_EQ(parent->childCount(), 0);
    EXPECT_FALSE(parent->isExpanded());
    EXPECT_EQ(imageOf(*w, QStringLiteral("C8")), QStringLiteral("ISSUE"));
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("8"));
    EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  Lost wages"));
}

TEST_F(TreeEditing, DeletingABranchRemovesItsRowsBookmarksAndDocumentsAndClearsTheDetails)
{
    m_path = m_cases.create(
        QStringLiteral("Branch.AGV"),
        QStringLiteral(
            "INSERT INTO Issue (ID, ParentID, Name, ItemType) VALUES "
            "(1, 0, 'Only issue', 'Issue'), (2, 1, 'Sub-issue', 'Issue'), "
            "(3, 2, 'Witness', 'Witness'), (4, 1, 'Exhibit', 'Exhibit');"
            "INSERT INTO Bookmarks (CodeID, Description) VALUES (2, 'b'), (4, 'b'), (4, 'b2'), "
            "(9, 'kept'), (-9, 'kept');"
            "INSERT INTO CodeFiles (CodeID, Description) VALUES (1, 'd'), (3, 'd'), (3, 'd2'), "
            "(9, 'kept'), (-9, 'kept');"));
    auto w = openWindow(false);
    choose(*w, QStringLiteral("C1"));
    m_prompt.answer(platform::MsgAnswer::Yes);
    w->DeleteCodeItem();

    // Every item of the branch goes with all its bookmarks and documents;
    // nothing of another item does.
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue where ID in (1, 2, 3, 4)")), 0);
    EXPECT_EQ(countIn(m_path, QStringLiteral("Bookmarks where CodeID in (1, 2, 3, 4)")), 0);
    EXPECT_EQ(countIn(m_path, QStringLiteral("CodeFiles where CodeID in (1, 2, 3, 4)")), 0);
    EXPECT_EQ(countIn(m_path, QStringLiteral("Bookmarks where CodeID in (9, -9)")), 2);
    EXPECT_EQ(countIn(m_path, QStringLiteral("CodeFiles where CodeID in (9, -9)")), 2);
    for (const char* key : {"C1", "C2", "CW3", "CX4"})
        EXPECT_EQ(w->node(QLatin1String(key)), nullptr) << key;
    // The root is left selected: the deleted item is no longer the one the
    // details show.
    EXPECT_EQ(w->currentIssue(), nullptr);
    EXPECT_TRUE(w->lblMain()->text().isEmpty());
    EXPECT_FALSE(w->tbsTabs()->isEnabled());
    EXPECT_EQ(m_prompt.messages().size(), 1);
}

TEST_F(TreeEditing, AFailedBranchDeleteLeavesFileAndTreeAsTheyWereAndIsReportedOnce)
{
    m_path = m_cases.createSample();
    // The documents of the witness under "Breach" cannot be deleted.
    execIn(m_path, QStringLiteral("INSERT INTO CodeFiles (CodeID, Description) VALUES (4, 'd')"));
    auto w = openWindow(false);
    // Through the window's own connection: a file holding a trigger is not
    // opened at all.
    gDB->Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON CodeFiles "
                                "WHEN old.CodeID = 4 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    choose(*w, QStringLiteral("C3"));
    m_prompt.answer(platform::MsgAnswer::Yes);
    w->DeleteCodeItem();
    gDB->Execute(QStringLiteral("DROP TRIGGER refuse"));

    ASSERT_EQ(m_prompt.messages().size(), 2);
    EXPECT_TRUE(m_prompt.messages().last().endsWith(QStringLiteral(" frmRedoZiv::DeleteCodeItem")))
        << qPrintable(m_prompt.messages().last());
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue where ID in (3, 4, 5)")), 3);
    EXPECT_EQ(countIn(m_path, QStringLiteral("Bookmarks where CodeID = 3")), 1);
    EXPECT_EQ(countIn(m_path, QStringLiteral("CodeFiles where CodeID = 4")), 1);
    EXPECT_EQ(w->node(QStringLiteral("C3"))->childCount(), 2);
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("3"));
}

TEST_F(TreeEditing, DropsMoveOnlyUnderIssuesOrIssuesToTheTop)
{
    struct Case {
        const char* dragged;
        const char* target;
        QString message;
        const char* parentId; // of the dragged row afterwards
        const char* parentNode;
        const char* elsewhere = nullptr; // written by another copy once the tree is shown
    };
    const char* damagesUnderBreach = "UPDATE Issue SET ParentID = 3 WHERE ID = 6";
    const Case cases[] = {
        {"CW4", "C6", "", "6", "C6"},
        {"CW4", "ROOT",
         "Cannot link exhibit to witness or question or witness to exhibit or question.  Only "
         "link to issues.",
         "3", "C3"},
        {"C3", "ROOT", "", "0", "ROOT"},
        {"C10", "CX5", "", "0", "ROOT"},
        {"C1", "C3", "An item cannot be moved under itself or under one of its own sub-items.", "0",
         "ROOT"},
        {"C1", "C1", "", "0", "ROOT"},
        {"C10", "C3", kDeletedElsewhere, "0", "ROOT", "DELETE FROM Issue WHERE ID IN (3, 4, 5)"},
        // "Lost wages" now lies below "Liability" in the file.
        {"C1", "C8", kLoopElsewhere, "0", "ROOT", damagesUnderBreach},
        {"C10", "C8", "", "8", "C8", damagesUnderBreach},
        // A loop the file already holds ends the walk up the parents.
        {"C10", "C8", "", "8", "C8", "UPDATE Issue SET ParentID = 8 WHERE ID = 6"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dragged) + " on " + c.target);
        m_path = m_cases.createSample(QStringLiteral("Drop%1.AGV").arg(++n));
        auto w = openWindow(false);
        m_prompt.clear();
        if (c.elsewhere)
            execIn(m_path, QLatin1String(c.elsewhere));
        dragAndDrop(*w, c.dragged, c.target);
        EXPECT_EQ(m_prompt.messages().join(QLatin1Char('|')), c.message);
        EXPECT_EQ(issueColumn("ParentID", treelogic::nodeKeyToId(QLatin1String(c.dragged)).toInt())
                      .toString(),
                  QLatin1String(c.parentId));
        EXPECT_EQ(parentOf(*w, c.dragged), QLatin1String(c.parentNode));
        EXPECT_TRUE(w->dragState().dragKey().isEmpty());
        EXPECT_FALSE(w->tmrDragTimer()->isActive());
    }
}

// Another copy of the program drags its own tree's node over this window: the
// drag carries the tree's format but no source known here. Nor may the handlers
// take a drop with no drag begun: the node last pressed is no drag.
TEST_F(TreeEditing, OnlyADragBegunInThisTreeMovesAnItem)
{
    auto w = openSample(true);
    const auto parents = [&] {
        return valueIn(m_path, "select group_concat(ID || ':' || ParentID) from "
                               "(select * from Issue order by ID)")
            .toString();
    };
    const QString before = parents();
    QTreeWidget* tree = w->tvIssueItems();
    std::unique_ptr<QMimeData> data(w->treeDragData(QStringLiteral("C2")));
    for (const char* clicked : {"C10", "ROOT"}) {
        for (const char* target : {"C6", "ROOT"}) {
            SCOPED_TRACE(std::string(clicked) + ", then a drop on " + target);
            clickNode(*w, QLatin1String(clicked));
            m_prompt.clear();
            const QPoint at = tree->visualItemRect(w->node(QLatin1String(target))).center();
            const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
            QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(tree->viewport(), &enter);
            EXPECT_FALSE(enter.isAccepted());
            QDragMoveEvent move(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(tree->viewport(), &move);
            EXPECT_FALSE(move.isAccepted());
            QDropEvent drop(QPointF(at), actions, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(tree->viewport(), &drop);
            EXPECT_EQ(parents(), before);
            EXPECT_EQ(m_prompt.messages().join(QLatin1Char('|')), QString());
        }
    }

    w->tvIssueItems_MouseDown(w->node(QStringLiteral("C10")));
    const int middle = tree->viewport()->height() / 2;
    EXPECT_FALSE(w->tvIssueItems_OLEDragOver(data.get(), w->node(QStringLiteral("C6")), middle));
    w->tvIssueItems_OLEDragDrop(data.get());
    EXPECT_EQ(parents(), before);
    EXPECT_EQ(parentOf(*w, "C10"), QStringLiteral("ROOT"));
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

TEST_F(TreeEditing, ItemsMovedOrAddedIntoBranchesNeverOpenedComeAfterTheChildrenAlreadyThere)
{
    // Only the root is open: "Damages" and "Lost wages" have no nodes for
    // their children yet when an item arrives in them.
    auto w = openSample(false);
    const auto children = [&](const char* key) {
        QStringList texts;
        QTreeWidgetItem* node = w->node(QLatin1String(key));
        w->showBranch(node);
        for (int i = 0; i < node->childCount(); ++i)
            texts << node->child(i)->text(0);
        return texts;
    };
    dragAndDrop(*w, "CW4", "C6");
    EXPECT_EQ(children("C6"), (QStringList{"Lost wages", "Medical costs", "Officer Reyes"}));
    choose(*w, QStringLiteral("C8"));
    oTypes().setItemType(QStringLiteral("Witness"));
    w->LinkerChecker();
    EXPECT_EQ(children("C8"),
              (QStringList{"Was the plaintiff paid during leave?", "New Case Item"}));
}

TEST_F(TreeEditing, ADroppedCurrentItemKeepsItsNewParentThroughItsNextCommit)
{
    auto w = openSample(false);
    choose(*w, QStringLiteral("C3"));
    dragAndDrop(*w, "C3", "C6");
    ASSERT_EQ(issueColumn("ParentID", 3).toInt(), 6);
    EXPECT_EQ(w->currentIssue()->ParentKey(), QStringLiteral("6"));

    w->txtSpin(0)->setText(QStringLiteral("2"));
    w->OnTxtSpinLostFocus(0);
    EXPECT_EQ(issueColumn("Weight", 3).toInt(), 2);
    EXPECT_EQ(issueColumn("ParentID", 3).toInt(), 6);
    EXPECT_EQ(parentOf(*w, "C3"), QStringLiteral("C6"));
    // The branch moved whole: its children still hang on it.
    EXPECT_EQ(parentOf(*w, "CW4"), QStringLiteral("C3"));
    EXPECT_EQ(issueColumn("ParentID", 4).toInt(), 3);
}

TEST_F(TreeEditing, AnIssueHoveredForElevenTicksOpens)
{
    auto w = openSample(false);
    QTreeWidgetItem* damages = w->node(QStringLiteral("C6"));
    ASSERT_FALSE(damages->isExpanded());
    w->tvIssueItems_MouseDown(w->node(QStringLiteral("C10")));
    ASSERT_TRUE(w->tvIssueItems_MouseMove(Qt::LeftButton));
    EXPECT_TRUE(w->tmrDragTimer()->isActive());
    EXPECT_EQ(w->tmrDragTimer()->interval(), 100);
    std::unique_ptr<QMimeData> data(w->treeDragData(QStringLiteral("C10")));
    EXPECT_EQ(data->data(QStringLiteral("application/x-VBRedoZivTree")),
              QByteArray("C\0001\0000\0", 6));
    w->tvIssueItems_OLEDragOver(data.get(), damages, w->tvIssueItems()->viewport()->height() / 2);
    for (int i = 0; i < 10; ++i)
        w->tmrDragTimer_Timer();
    EXPECT_FALSE(damages->isExpanded());
    w->tmrDragTimer_Timer();
    EXPECT_TRUE(damages->isExpanded());
}

TEST_F(TreeEditing, ARightClickOpensTheInsertMenu)
{
    auto w = openSample();
    QMenu* insert = w->mnuInsert();
    ASSERT_FALSE(insert->actions().isEmpty());
    w->tvIssueItems_MouseUp(Qt::RightButton, w->mapToGlobal(QPoint(40, 80)));
    EXPECT_TRUE(insert->isVisible());
    insert->close();
}

TEST_F(TreeEditing, AReadOnlyCaseTakesNoTreeEditsAndAWritableOneOpenedAfterItCanBeEditedAgain)
{
    m_path = m_cases.createSample();
    casetables::setWriteCheck([](dao::Database&) { return false; });
    auto w = openWindow(false);
    casetables::setWriteCheck({});
    m_prompt.clear(); // the read-only notice
    choose(*w, QStringLiteral("C3"));
    w->tvIssueItems_KeyUp(Qt::Key_Delete);
    w->tvIssueItems_KeyUp(Qt::Key_Insert);
    w->tvIssueItems_MouseDown(w->node(QStringLiteral("C3")));
    EXPECT_FALSE(w->tvIssueItems_MouseMove(Qt::LeftButton));
    w->tvIssueItems_MouseUp(Qt::RightButton, QPoint(40, 80));
    EXPECT_FALSE(w->mnuInsert()->isVisible());
    EXPECT_TRUE(m_prompt.shown().isEmpty());
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue")), 10);

    // Neither key, mouse nor drag, nor the toolbar; until another case opens.
    auto* remove = w->findChild<QAction*>(QStringLiteral("tbTools_delete"));
    ASSERT_NE(remove, nullptr);
    EXPECT_FALSE(remove->isEnabled());

    m_prompt.chooseFile(m_cases.createSample(QStringLiteral("Other.AGV")));
    w->mnuFileOpen_Click();
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_TRUE(w->mnuInsert()->isEnabled());
}
