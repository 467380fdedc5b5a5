#include "WorkspaceFixture.h"

#include "workspace/CaseTables.h"
#include "workspace/ExplanationPage.h"
#include "workspace/TreeLogic.h"
#include "workspace/UpDown.h"
#include "workspace/ctlBookmarks.h"
#include "workspace/frmRedoZiv.h"

#include "platform/db/Ado.h"
#include "platform/db/Dao.h"
#include "platform/db/SqliteConnection.h"
#include "store/CIssue.h"
#include "store/CMain.h"
#include "store/CUtility.h"

#include <QAction>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidgetItem>

#include <algorithm>
#include <functional>
#include <iterator>
#include <vector>

// Every write of an item fails, as on a full disk.
const QString kRefuseUpdates = QStringLiteral(
    "CREATE TRIGGER refuse BEFORE UPDATE ON Issue BEGIN SELECT RAISE(ABORT, 'disk full'); END");

const QString kLeaveUnsaved = QStringLiteral(
    "What was typed for \"Liability\" could not be saved. Leave the case anyway and lose it?");

// What the user typed reaches the case file on every way out of it, a write
// that fails is told once and what was typed is kept, and a case that cannot
// be written is recognised when it opens.
class WriteBack : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        m_path = m_cases.createSample();
    }
    void TearDown() override
    {
        casetables::setWriteCheck({});
        WorkspaceTest::TearDown();
    }

    // "Liability in full" typed over item 1's name in the tree, Return not pressed.
    static void typeNameInPlace(frmRedoZiv& w)
    {
        clickNode(w, QStringLiteral("C1"));
        w.RenameItem();
        auto* editor = w.tvIssueItems()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(QStringLiteral("Liability in full"));
    }

    static QByteArray digest(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }
};

struct WayOut {
    const char* name;
    std::function<void(frmRedoZiv&, TempCase&, ScriptedPrompt&)> leave;
    // The copy that must hold what was typed; otherwise the case left does.
    const char* copy = nullptr;
};

void PrintTo(const WayOut& way, std::ostream* os)
{
    *os << way.name;
}

class EveryWayOut : public WriteBack, public ::testing::WithParamInterface<WayOut> {
protected:
    void SetUp() override
    {
        WriteBack::SetUp();
        writeBlankTemplate(); // for a new case
    }

    // Leaves the case; returns the file that must hold what was typed.
    QString leave(frmRedoZiv& w)
    {
        GetParam().leave(w, m_cases, m_prompt);
        return GetParam().copy ? m_cases.path(QLatin1String(GetParam().copy)) : m_path;
    }

    // The failure was told, the way out asked and was answered No: the case
    // stays open and nothing was written elsewhere.
    void expectStayed(const QString& holder)
    {
        ASSERT_EQ(m_prompt.messages().size(), 2) << qPrintable(m_prompt.messages().join(" | "));
        EXPECT_TRUE(m_prompt.messages().at(0).contains(QStringLiteral("disk full")));
        EXPECT_EQ(m_prompt.messages().at(1), kLeaveUnsaved);
        ASSERT_TRUE(gDB && gDB->isOpen());
        EXPECT_EQ(gDB->Name(), m_path);
        if (holder != m_path) {
            EXPECT_FALSE(QFileInfo::exists(holder));
        }
    }

    // Every write of the item fails from here on, as on a full disk, while a
    // rating is typed and its box not left.
    void failWritesWithARatingTyped(frmRedoZiv& w)
    {
        clickNode(w, QStringLiteral("C1"));
        execIn(m_path, kRefuseUpdates);
        w.txtSpin(0)->setFocus();
        w.txtSpin(0)->setText(QStringLiteral("4"));
    }
};

TEST_P(EveryWayOut, WritesTheRatingTypedButNotYetLeft)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C1"));
    w->txtSpin(0)->setFocus();
    w->txtSpin(0)->setText(QStringLiteral("4")); // typed, the box not left

    const QString holder = leave(*w);
    EXPECT_EQ(issueColumn(holder, "Weight", 1).toInt(), 4);
    EXPECT_EQ(issueColumn(holder, "Success", 1).toInt(), 8);
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_P(EveryWayOut, WritesTheNameTypedInPlaceButNotYetEntered)
{
    auto w = openWindow();
    typeNameInPlace(*w);

    const QString holder = leave(*w);
    EXPECT_EQ(issueColumn(holder, "Name", 1).toString(), QStringLiteral("Liability in full"));
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_P(EveryWayOut, AFailedWriteLetsTheUserStayWithWhatWasTypedUntilItCanBeSaved)
{
    auto w = openWindow();
    failWritesWithARatingTyped(*w);

    expectStayed(leave(*w)); // answered No
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->txtSpin(0)->text(), QStringLiteral("4"));

    gDB->Execute(QStringLiteral("DROP TRIGGER refuse"));
    w->tvIssueItems()->setFocus();
    EXPECT_EQ(issueColumn("Weight", 1).toInt(), 4);
}

TEST_P(EveryWayOut, ANameThatCannotBeStoredLetsTheUserStayWithItTyped)
{
    auto w = openWindow();
    typeNameInPlace(*w);
    execIn(m_path, kRefuseUpdates);

    expectStayed(leave(*w)); // answered No
    // The editor the failure closed is gone; a new one holds the name typed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* editor = qobject_cast<QLineEdit*>(
        w->tvIssueItems()->itemWidget(w->tvIssueItems()->currentItem(), 0));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Liability in full"));

    gDB->Execute(QStringLiteral("DROP TRIGGER refuse"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor stores on a queued call
    EXPECT_EQ(issueColumn("Name", 1).toString(), QStringLiteral("Liability in full"));
}

TEST_P(EveryWayOut, AFailedWriteLeftUnsavedByTheUsersChoiceLetsTheWayOutGoOn)
{
    auto w = openWindow();
    failWritesWithARatingTyped(*w);
    m_prompt.answer(platform::MsgAnswer::OK);
    m_prompt.answer(platform::MsgAnswer::Yes);

    leave(*w);
    EXPECT_EQ(m_prompt.messages().size(), 2) << qPrintable(m_prompt.messages().join(" | "));
    EXPECT_TRUE(!gDB || gDB->Name() != m_path);
}

INSTANTIATE_TEST_SUITE_P(
    WriteBack, EveryWayOut,
    ::testing::Values(
        WayOut{"Exit", [](frmRedoZiv& w, TempCase&, ScriptedPrompt&) { w.mnuFileExit_Click(); }},
        WayOut{"CloseBox", [](frmRedoZiv& w, TempCase&, ScriptedPrompt&) { w.close(); }},
        WayOut{"CloseCase",
               [](frmRedoZiv& w, TempCase&, ScriptedPrompt&) { w.mnuFileClose_Click(); }},
        WayOut{"OpenAnother",
               [](frmRedoZiv& w, TempCase& cases, ScriptedPrompt& prompt) {
                   prompt.chooseFile(cases.create(QStringLiteral("other.AGV")));
                   w.mnuFileOpen_Click();
               }},
        WayOut{"New",
               [](frmRedoZiv& w, TempCase& cases, ScriptedPrompt& prompt) {
                   prompt.chooseFile(cases.path(QStringLiteral("fresh.AGV")));
                   w.mnuFileNew_Click();
               }},
        WayOut{"SaveAsCopy",
               [](frmRedoZiv& w, TempCase& cases, ScriptedPrompt& prompt) {
                   prompt.chooseFile(cases.path(QStringLiteral("copy.AGV")));
                   w.mnuFileSaveAs_Click();
               },
               "copy.AGV"}),
    [](const ::testing::TestParamInfo<WayOut>& info) { return std::string(info.param.name); });

// What the user left in a box of item 3 "Breach", the box keeping the focus,
// and what its column must then hold.
struct BoxEdit {
    const char* name;
    const char* column;
    const char* stored;
    std::function<QWidget*(frmRedoZiv&)> box;
    const char* typed; // nullptr: the box is emptied
};

// A command that shows another item than 3 "Breach": a toolbar button or
// menu item (neither takes the focus), a jump from the bookmark pane, or a
// click on node C2 in the tree.
struct ItemChange {
    const char* name;
    const char* action = nullptr;
    std::function<void(frmRedoZiv&)> run = {};
    // Where a failed write of the item left is told.
    const char* place = "Initialise";
};

void PrintTo(const BoxEdit& edit, std::ostream* os)
{
    *os << edit.name;
}
void PrintTo(const ItemChange& change, std::ostream* os)
{
    *os << change.name;
}

const BoxEdit kBoxEdits[] = {
    {"Rating", "Weight", "3", [](frmRedoZiv& w) { return w.txtSpin(0); }, "3"},
    {"EmptiedExplanation", "Explanation", "", [](frmRedoZiv& w) { return w.txtExplanation(); },
     nullptr},
    {"EmptiedQuestions", "Question", "", [](frmRedoZiv& w) { return w.txtQuestions(); }, nullptr},
};

const ItemChange kItemChanges[] = {
    {"ToolbarPrevious", "tbTools_larrow"},
    {"ToolbarNext", "tbTools_rarrow"},
    {"InsertMenu", "mnuInsertNewIssue", {}, "AddCode"},
    {"BookmarkJump", nullptr,
     [](frmRedoZiv& w) {
         auto duty = std::make_shared<CIssue>();
         duty->Initialise(gDB, QStringLiteral("2"));
         w.ctlBookMarkList_ViewBookMark(duty);
     }},
    {"TreeClick"},
};

// Edits of the boxes of the item shown and the commands that follow them.
class Commands : public WriteBack {
protected:
    // The box keeps the focus.
    static void typeInto(frmRedoZiv& w, const BoxEdit& edit)
    {
        QWidget* box = edit.box(w);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        if (edit.typed)
            QTest::keyClicks(box, QLatin1String(edit.typed));
        else
            QTest::keyClick(box, Qt::Key_Delete);
    }

    static void trigger(frmRedoZiv& w, const char* name)
    {
        auto* action = w.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }

    static void changeItem(frmRedoZiv& w, const ItemChange& change)
    {
        if (change.action)
            trigger(w, change.action);
        else if (change.run)
            change.run(w);
        else
            clickNode(w, QStringLiteral("C2"));
    }

    // The new item's name, open for typing, is left as it is.
    static void leaveNewName(frmRedoZiv& w)
    {
        if (auto* editor = w.tvIssueItems()->viewport()->findChild<QLineEdit*>())
            QTest::keyClick(editor, Qt::Key_Escape);
    }
};

class EveryItemChange : public Commands,
                        public ::testing::WithParamInterface<std::tuple<BoxEdit, ItemChange>> {};

TEST_P(EveryItemChange, WritesWhatTheBoxesHoldForTheItemLeftAndNothingIntoTheItemShown)
{
    const auto& [edit, change] = GetParam();
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C3"));
    typeInto(*w, edit);

    changeItem(*w, change);
    ASSERT_NE(w->currentIssue(), nullptr);
    const int shown = w->currentIssue()->Key().toInt();
    ASSERT_NE(shown, 3);
    EXPECT_EQ(issueColumn(edit.column, 3).toString(), QLatin1String(edit.stored));
    EXPECT_EQ(w->txtSpin(0)->text(), issueColumn("Weight", shown).toString());
    EXPECT_EQ(w->txtQuestions()->toPlainText(), issueColumn("Question", shown).toString());
    EXPECT_EQ(m_prompt.messages(), QStringList());
    leaveNewName(*w);
}

INSTANTIATE_TEST_SUITE_P(WriteBack, EveryItemChange,
                         ::testing::Combine(::testing::ValuesIn(kBoxEdits),
                                            ::testing::ValuesIn(kItemChanges)),
                         [](const ::testing::TestParamInfo<std::tuple<BoxEdit, ItemChange>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

QString failure(const char* place, int line)
{
    return QStringLiteral("One or more values are prohibited by a rule of the table. (disk full)\n"
                          "in Argovo.frmRedoZiv.%1 at line %2")
        .arg(QLatin1String(place))
        .arg(line);
}

// Through the window's own connection: a file holding a trigger is not
// opened again.
QVariant storedValue(const QString& sql)
{
    return gDB->OpenRecordset(sql, dao::dbOpenSnapshot)->Fields(0).Value();
}

class ARefusedItemChange : public Commands, public ::testing::WithParamInterface<ItemChange> {};

TEST_P(ARefusedItemChange, KeepsTheItemLeftShownWithWhatWasTypedUntilItCanBeWritten)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C3"));
    const QVariant stored = issueColumn("Explanation", 3);
    const int rows = countIn(m_path, QStringLiteral("Issue"));
    // Every write of the item fails from here on, as on a full disk.
    execIn(m_path, kRefuseUpdates);
    w->txtExplanation()->setFocus();
    QTest::keyClicks(w->txtExplanation(), QStringLiteral(" in full")); // told: the run begins
    const QString typed = w->txtExplanation()->toPlainText();
    w->txtSpin(0)->setFocus();
    w->txtSpin(0)->setText(QStringLiteral("4"));

    changeItem(*w, GetParam());
    QCoreApplication::processEvents();
    EXPECT_EQ(m_prompt.messages(),
              (QStringList{failure("ExplanationOnChange", 20), failure(GetParam().place, 10)}));
    ASSERT_NE(w->currentIssue(), nullptr);
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("3"));
    EXPECT_EQ(w->txtExplanation()->toPlainText(), typed);
    EXPECT_EQ(w->txtSpin(0)->text(), QStringLiteral("4"));
    QTreeWidgetItem* breach = w->node(QStringLiteral("C3"));
    EXPECT_EQ(w->tvIssueItems()->currentItem(), breach);
    EXPECT_EQ(w->tvIssueItems()->selectedItems(), QList<QTreeWidgetItem*>{breach});
    EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  Breach"));
    EXPECT_EQ(w->statusPanelText(), QStringLiteral("Breach: not saved"));
    EXPECT_EQ(oUtility().SelectedNode(), QStringLiteral("C3"));
    EXPECT_EQ(storedValue(QStringLiteral("select Explanation from Issue where ID = 3")), stored);
    EXPECT_EQ(storedValue(QStringLiteral("select count(*) from Issue")).toInt(), rows);

    // Space is freed: the same command now writes the item and leaves it.
    gDB->Execute(QStringLiteral("DROP TRIGGER refuse"));
    changeItem(*w, GetParam());
    leaveNewName(*w);
    ASSERT_NE(w->currentIssue(), nullptr);
    EXPECT_NE(w->currentIssue()->Key(), QStringLiteral("3"));
    EXPECT_EQ(issueColumn("Explanation", 3).toString(), typed);
    EXPECT_EQ(issueColumn("Weight", 3).toInt(), 4);
    EXPECT_FALSE(w->statusPanelText().endsWith(QStringLiteral("not saved")));
    EXPECT_EQ(m_prompt.messages().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(WriteBack, ARefusedItemChange, ::testing::ValuesIn(kItemChanges),
                         [](const ::testing::TestParamInfo<ItemChange>& info) {
                             return std::string(info.param.name);
                         });

// Every item's texts and ratings, as the file holds them.
QVariant everyItem(const QString& path)
{
    return valueIn(path, QStringLiteral("select group_concat(quote(Explanation) || "
                                        "quote(Question) || quote(Weight) || quote(Success) || "
                                        "quote(Jury) || quote(Substantive) || quote(Procedural) "
                                        "|| quote(Significance), '|') from Issue"));
}

// The item changes that show an item the file holds already.
std::vector<ItemChange> changesToAStoredItem()
{
    std::vector<ItemChange> changes;
    std::copy_if(std::begin(kItemChanges), std::end(kItemChanges), std::back_inserter(changes),
                 [](const ItemChange& change) { return std::string(change.place) != "AddCode"; });
    return changes;
}

class AnUnreadItem : public Commands, public ::testing::WithParamInterface<ItemChange> {};

TEST_P(AnUnreadItem, IsNotShownAndNothingOfTheItemShownIsWrittenIntoIt)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C3"));
    const QString breach = w->txtExplanation()->toPlainText();
    const QVariant stored = everyItem(m_path);
    // Another program holds the file for a long write; the wait for it is cut short.
    auto other = ado::Connection::create();
    other->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                ado::dataSourceValue(m_path));
    other->Execute(QStringLiteral("BEGIN EXCLUSIVE"));
    gDB->setWaitForBusyFile(false);

    changeItem(*w, GetParam());
    QCoreApplication::processEvents();
    ASSERT_EQ(m_prompt.messages().size(), 1) << qPrintable(m_prompt.messages().join(" | "));
    EXPECT_TRUE(m_prompt.messages().at(0).contains(QStringLiteral("could not be read")));
    EXPECT_TRUE(m_prompt.messages().at(0).contains(QStringLiteral("busy")));
    ASSERT_NE(w->currentIssue(), nullptr);
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("3"));
    EXPECT_EQ(w->txtExplanation()->toPlainText(), breach);
    EXPECT_EQ(w->tvIssueItems()->currentItem(), w->node(QStringLiteral("C3")));
    EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  Breach"));
    EXPECT_EQ(w->statusPanelText(), QStringLiteral("Breach"));

    // The file is free: leaving the box and the item writes nothing anywhere.
    other->Close();
    gDB->setWaitForBusyFile(true);
    w->txtExplanation()->setFocus();
    w->tvIssueItems()->setFocus();
    changeItem(*w, GetParam());
    ASSERT_NE(w->currentIssue(), nullptr);
    EXPECT_NE(w->currentIssue()->Key(), QStringLiteral("3"));
    EXPECT_EQ(everyItem(m_path), stored);
    EXPECT_EQ(m_prompt.messages().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(WriteBack, AnUnreadItem, ::testing::ValuesIn(changesToAStoredItem()),
                         [](const ::testing::TestParamInfo<ItemChange>& info) {
                             return std::string(info.param.name);
                         });

// With the tree on the root, the toolbar's next item is the item shown, item
// 10: it is shown again with what was typed for it, not as read before that
// was written, and leaving the box does not store the old text back.
class OntoTheItemShown : public Commands {
protected:
    std::unique_ptr<frmRedoZiv> showItem10TreeOnRoot()
    {
        auto w = openWindow();
        clickNode(*w, QStringLiteral("C10"));
        clickNode(*w, treelogic::kRootKey);
        w->txtExplanation()->setFocus();
        return w;
    }
};

TEST_F(OntoTheItemShown, AnEmptiedExplanationStaysEmpty)
{
    auto w = showItem10TreeOnRoot();
    QTest::keyClick(w->txtExplanation(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w->txtExplanation(), Qt::Key_Delete);
    trigger(*w, "tbTools_rarrow");
    EXPECT_EQ(w->txtExplanation()->toPlainText(), QString());
    clickNode(*w, QStringLiteral("C2"));
    EXPECT_EQ(issueColumn("Explanation", 10).toString(), QString());
}

TEST_F(OntoTheItemShown, TextTypedWhileWritesFailedIsKeptOnceTheyWork)
{
    auto w = showItem10TreeOnRoot();
    const QString typed = w->txtExplanation()->toPlainText() + QStringLiteral(" O'Brien's");
    execIn(m_path, kRefuseUpdates);
    QTest::keyClick(w->txtExplanation(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(w->txtExplanation(), QStringLiteral(" O'Brien's"));
    gDB->Execute(QStringLiteral("DROP TRIGGER refuse")); // the disk is freed
    trigger(*w, "tbTools_rarrow");
    EXPECT_EQ(w->txtExplanation()->toPlainText(), typed);
    clickNode(*w, QStringLiteral("C2"));
    EXPECT_EQ(issueColumn("Explanation", 10).toString(), typed);
    EXPECT_EQ(m_prompt.messages().size(), 1);
}

TEST_F(WriteBack, AnItemDeletedElsewhereWhileShownDoesNotHoldTheUserOnIt)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C2"));
    execIn(m_path, QStringLiteral("DELETE FROM Issue WHERE ID = 2")); // another window
    w->txtExplanation()->setFocus();
    QTest::keyClicks(w->txtExplanation(), QStringLiteral("x"));
    clickNode(*w, QStringLiteral("C3"));
    ASSERT_NE(w->currentIssue(), nullptr);
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("3"));
    EXPECT_FALSE(m_prompt.messages().isEmpty()); // the failed write was told
}

// What the user does with item 2 "Duty of care" after another copy of the
// program changed its texts; typed is what the user typed into the explanation.
struct ElsewhereEdit {
    const char* name;
    std::function<void(frmRedoZiv&)> act;
    const char* typed = nullptr;
};

void PrintTo(const ElsewhereEdit& edit, std::ostream* os)
{
    *os << edit.name;
}

class AnotherCopysEdit : public WriteBack, public ::testing::WithParamInterface<ElsewhereEdit> {};

TEST_P(AnotherCopysEdit, IsKeptWhereThisCopyLeftTheTextAsItWasRead)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C2"));
    execIn(m_path, QStringLiteral("UPDATE Issue SET Explanation = 'elsewhere', "
                                  "Question = 'asked elsewhere' WHERE ID = 2"));

    GetParam().act(*w);
    w->tvIssueItems()->setFocus();
    clickNode(*w, QStringLiteral("C3"));
    if (GetParam().typed)
        EXPECT_TRUE(issueColumn("Explanation", 2).toString().endsWith(GetParam().typed));
    else
        EXPECT_EQ(issueColumn("Explanation", 2).toString(), QStringLiteral("elsewhere"));
    EXPECT_EQ(issueColumn("Question", 2).toString(), QStringLiteral("asked elsewhere"));
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    WriteBack, AnotherCopysEdit,
    ::testing::Values(ElsewhereEdit{"ExplanationEnteredAndLeft",
                                    [](frmRedoZiv& w) { w.txtExplanation()->setFocus(); }},
                      ElsewhereEdit{"ExplanationTyped",
                                    [](frmRedoZiv& w) {
                                        w.txtExplanation()->setFocus();
                                        QTest::keyClick(w.txtExplanation(), Qt::Key_End,
                                                        Qt::ControlModifier);
                                        QTest::keyClicks(w.txtExplanation(),
                                                         QStringLiteral(" here"));
                                    },
                                    " here"}),
    [](const ::testing::TestParamInfo<ElsewhereEdit>& info) {
        return std::string(info.param.name);
    });

// Another copy of the program deleted the bookmarked item, or added an item
// and bookmarked it; this copy's pane lists the bookmark, its tree holds no
// node for the item.
TEST_F(WriteBack, ABookmarkOfAnItemTheTreeDoesNotHoldIsToldAndTheItemShownStays)
{
    struct Elsewhere {
        const char* sql;
        const char* bookmarked;
        const char* told;
    };
    const Elsewhere cases[] = {
        {"DELETE FROM Issue WHERE ID = 3", "Breach", "\"Breach\" is no longer in the case"},
        {"INSERT INTO Issue (ID, ParentID, Name, ItemType) VALUES (11, 0, 'Settlement', "
         "'Issue'); INSERT INTO Bookmarks (CodeID, Description) VALUES (11, 'offer')",
         "Settlement", "\"Settlement\" is not in the tree yet"},
    };
    for (const Elsewhere& elsewhere : cases) {
        SCOPED_TRACE(elsewhere.bookmarked);
        m_path = m_cases.createSample(QLatin1String(elsewhere.bookmarked) + QLatin1String(".AGV"));
        m_prompt.clear();
        auto w = openWindow();
        clickNode(*w, QStringLiteral("C1"));
        for (const QString& statement : QString::fromLatin1(elsewhere.sql).split(u';'))
            execIn(m_path, statement);
        // The deleted item's bookmark is listed from before; the new one's
        // at the pane's next refill.
        QTreeWidget* bookmarks = w->ctlBookmarkList()->lvBookMarks();
        const auto listed = [&] {
            return bookmarks->findItems(QLatin1String(elsewhere.bookmarked), Qt::MatchExactly)
                .value(0);
        };
        if (!listed())
            w->InitialiseBookmarks();
        QTreeWidgetItem* row = listed();
        ASSERT_TRUE(row);

        w->ctlBookmarkList()->ViewSelectedBookmark(row);
        QCoreApplication::processEvents();
        ASSERT_EQ(m_prompt.messages().size(), 1);
        EXPECT_TRUE(m_prompt.messages().at(0).startsWith(QLatin1String(elsewhere.told)))
            << qPrintable(m_prompt.messages().at(0));
        ASSERT_NE(w->currentIssue(), nullptr);
        EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("1"));
        EXPECT_EQ(w->tvIssueItems()->currentItem(), w->node(QStringLiteral("C1")));
        EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  Liability"));
        w->txtExplanation()->setFocus();
        QTest::keyClicks(w->txtExplanation(), QStringLiteral("x"));
        EXPECT_TRUE(issueColumn("Explanation", 1).toString().startsWith(QLatin1Char('x')));
        EXPECT_TRUE(issueColumn("Explanation", 11).toString().isEmpty());
        EXPECT_EQ(m_prompt.messages().size(), 1);
    }
}

TEST_F(WriteBack, TheItemShownIsDeletedThoughWhatWasTypedForItCouldNotBeWritten)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C10"));
    execIn(m_path, kRefuseUpdates);
    w->txtExplanation()->setFocus();
    QTest::keyClicks(w->txtExplanation(), QStringLiteral("x"));
    m_prompt.answer(platform::MsgAnswer::Yes);

    w->findChild<QAction*>(QStringLiteral("tbTools_delete"))->trigger();
    EXPECT_EQ(m_prompt.messages(), (QStringList{failure("ExplanationOnChange", 20),
                                                QStringLiteral("Delete selected Item ?")}));
    EXPECT_EQ(storedValue(QStringLiteral("select count(*) from Issue where ID = 10")).toInt(), 0);
    EXPECT_EQ(w->node(QStringLiteral("C10")), nullptr);
    QTreeWidgetItem* shown = w->tvIssueItems()->currentItem();
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(w->currentIssue(), nullptr);
    EXPECT_EQ(w->currentIssue()->Key(),
              treelogic::nodeKeyToId(shown->data(0, frmRedoZiv::kKeyRole).toString()));
    EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  ") + shown->text(0));
    EXPECT_FALSE(w->statusPanelText().endsWith(QStringLiteral("not saved")));
}

// File > Save and the toolbar's Save, and how each tells a failure.
struct SaveCommand {
    const char* name;
    const char* action;
    QString failure;
};

void PrintTo(const SaveCommand& save, std::ostream* os)
{
    *os << save.name;
}

const SaveCommand kSaves[] = {
    {"FileSave", "mnuFileSave", failure("mnuFileSave_Click", 10)},
    {"ToolbarSave", "tbTools_save",
     QStringLiteral("3317 One or more values are prohibited by a rule of the table. (disk full) "
                    "CIssue::UpdateObject frmRedoZiv::tbTools_ButtonClick")},
};

class EverySave : public Commands,
                  public ::testing::WithParamInterface<std::tuple<BoxEdit, SaveCommand>> {};

TEST_P(EverySave, WritesWhatTheBoxesHold)
{
    const auto& [edit, save] = GetParam();
    auto w = openWindow();
    // The toolbar's Save saves a case that has a name.
    oUtility().setCaseName(QStringLiteral("Sample.AGV"));
    clickNode(*w, QStringLiteral("C3"));
    typeInto(*w, edit);

    trigger(*w, save.action);
    EXPECT_EQ(issueColumn(edit.column, 3).toString(), QLatin1String(edit.stored));
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("3"));
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    WriteBack, EverySave,
    ::testing::Combine(::testing::ValuesIn(kBoxEdits), ::testing::ValuesIn(kSaves)),
    [](const ::testing::TestParamInfo<std::tuple<BoxEdit, SaveCommand>>& info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

class ASave : public Commands, public ::testing::WithParamInterface<SaveCommand> {};

TEST_P(ASave, StoresANameStillBeingTypedInPlace)
{
    auto w = openWindow();
    oUtility().setCaseName(QStringLiteral("Sample.AGV"));
    typeNameInPlace(*w);

    trigger(*w, GetParam().action);
    EXPECT_EQ(issueColumn("Name", 1).toString(), QStringLiteral("Liability in full"));
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_P(ASave, ThatFailsIsToldAndKeepsWhatWasTypedForTheNextOne)
{
    auto w = openWindow();
    oUtility().setCaseName(QStringLiteral("Sample.AGV"));
    clickNode(*w, QStringLiteral("C3"));
    execIn(m_path, kRefuseUpdates);
    typeInto(*w, kBoxEdits[0]);

    trigger(*w, GetParam().action);
    EXPECT_EQ(m_prompt.messages(), QStringList{GetParam().failure});
    EXPECT_EQ(w->statusPanelText(), QStringLiteral("Breach: not saved"));
    EXPECT_EQ(w->txtSpin(0)->text(), QStringLiteral("3"));

    gDB->Execute(QStringLiteral("DROP TRIGGER refuse"));
    trigger(*w, GetParam().action);
    EXPECT_EQ(issueColumn("Weight", 3).toInt(), 3);
    EXPECT_EQ(w->statusPanelText(), QStringLiteral("Breach"));
    EXPECT_EQ(m_prompt.messages().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(WriteBack, ASave, ::testing::ValuesIn(kSaves),
                         [](const ::testing::TestParamInfo<SaveCommand>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(WriteBack, ANameTypedInPlaceIsStoredWhenTheWindowGoes)
{
    auto w = openWindow();
    typeNameInPlace(*w);

    w.reset();
    EXPECT_EQ(issueColumn("Name", 1).toString(), QStringLiteral("Liability in full"));
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(WriteBack, LeavingTheExplanationKeepsRatingsNeverGivenUnsetAndTheWriteCheckLeavesNoTrace)
{
    execIn(m_path, QStringLiteral("UPDATE Issue SET Weight = NULL, Jury = NULL WHERE ID = 2"));
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C2"));
    EXPECT_EQ(w->txtSpin(0)->text(), QStringLiteral("0"));
    w->txtExplanation()->setFocus();
    QTest::keyClicks(w->txtExplanation(), QStringLiteral("x"));
    w->txtQuestions()->setFocus();
    w->DoCaseClose();

    EXPECT_TRUE(issueColumn("Weight", 2).isNull());
    EXPECT_TRUE(issueColumn("Jury", 2).isNull());
    EXPECT_FALSE(issueColumn("Success", 2).isNull());
    // The check whether the case can be written left nothing behind.
    auto db = dao::DBEngine::OpenDatabase(m_path);
    EXPECT_TRUE(casetables::canWrite(*db));
    EXPECT_FALSE(db->tableExists(QStringLiteral("ArgovoWriteCheck")));
}

TEST_F(WriteBack, AFailingWriteIsToldOnceKeepsTheTextAndTheNextWriteSavesIt)
{
    execIn(m_path, QStringLiteral("UPDATE Issue SET Explanation = '' WHERE ID = 2"));
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C2"));
    // Every write of the item fails, as on a full disk.
    execIn(m_path, QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Issue BEGIN "
                                  "SELECT RAISE(ABORT, 'disk full'); END"));
    w->txtExplanation()->setFocus();
    QTest::keyClicks(w->txtExplanation(), QStringLiteral("abc"));

    ASSERT_EQ(m_prompt.messages().size(), 1) << qPrintable(m_prompt.messages().join(" | "));
    EXPECT_TRUE(m_prompt.messages().at(0).contains(QStringLiteral("disk full")));
    EXPECT_TRUE(w->statusPanelText().endsWith(QStringLiteral("not saved")));
    EXPECT_EQ(w->txtExplanation()->toPlainText(), QStringLiteral("abc"));
    // Through the window's own connection: a file holding a trigger is not
    // opened again.
    EXPECT_EQ(gDB->OpenRecordset(QStringLiteral("select Explanation from Issue where ID = 2"),
                                 dao::dbOpenSnapshot)
                  ->Fields(0)
                  .Value()
                  .toString(),
              QString());

    gDB->Execute(QStringLiteral("DROP TRIGGER refuse"));
    QTest::keyClicks(w->txtExplanation(), QStringLiteral("d"));
    EXPECT_EQ(issueColumn("Explanation", 2).toString(), QStringLiteral("abcd"));
    EXPECT_FALSE(w->statusPanelText().endsWith(QStringLiteral("not saved")));
    EXPECT_EQ(m_prompt.messages().size(), 1);
}

TEST_F(WriteBack, WhileAnotherProgramHoldsTheFileKeystrokesDoNotEachWaitForIt)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C2"));
    // Another program is writing the file (storing a large document).
    auto other = ado::Connection::create();
    other->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                ado::dataSourceValue(m_path));
    other->Execute(QStringLiteral("BEGIN IMMEDIATE"));

    w->txtExplanation()->setFocus();
    QElapsedTimer typing;
    typing.start();
    QTest::keyClicks(w->txtExplanation(), QStringLiteral("abcd"));
    // The first keystroke waits its time for the file; the three after it
    // do not wait again, or they would add three times as much.
    EXPECT_LT(typing.elapsed(), 2 * db::kBusyTimeoutMs);
    ASSERT_EQ(m_prompt.messages().size(), 1) << qPrintable(m_prompt.messages().join(" | "));
    EXPECT_TRUE(w->statusPanelText().endsWith(QStringLiteral("not saved")));

    // Once the file is free, leaving the box writes everything typed.
    other->Close(); // its change undone
    w->tvIssueItems()->setFocus();
    EXPECT_TRUE(w->txtExplanation()->toPlainText().contains(QStringLiteral("abcd")));
    EXPECT_EQ(issueColumn("Explanation", 2).toString(), w->txtExplanation()->toPlainText());
    EXPECT_FALSE(w->statusPanelText().endsWith(QStringLiteral("not saved")));
}

TEST_F(WriteBack, ACaseThatCannotBeWrittenOpensReadOnlyAndIsLeftAsItWas)
{
    casetables::setWriteCheck([](dao::Database&) { return false; });
    const QByteArray before = digest(m_path);
    auto w = openWindow();

    ASSERT_EQ(m_prompt.messages().size(), 1);
    EXPECT_TRUE(m_prompt.messages().at(0).contains(QStringLiteral("open read-only")));
    EXPECT_TRUE(w->windowTitle().endsWith(QStringLiteral("read-only")));
    clickNode(*w, QStringLiteral("C1"));
    EXPECT_TRUE(w->txtExplanation()->isReadOnly());
    EXPECT_TRUE(w->txtQuestions()->isReadOnly());
    EXPECT_TRUE(w->txtSpin(0)->isReadOnly());
    EXPECT_FALSE(w->updown(0)->isEnabled());
    EXPECT_FALSE(w->mnuInsert()->isEnabled());
    EXPECT_FALSE(w->findChild<QAction*>(QStringLiteral("tbTools_delete"))->isEnabled());
    EXPECT_TRUE(w->findChild<QAction*>(QStringLiteral("tbTools_caseanalysis"))->isEnabled());
    w->mnuFileExit_Click();
    EXPECT_EQ(digest(m_path), before);
}

TEST_F(WriteBack, TheReadOnlyNoticeIsShownWithTheNewCaseInTheWindow)
{
    auto w = openWindow();
    const QString other = m_cases.createSample(QStringLiteral("Other.AGV"));
    execIn(other, QStringLiteral("UPDATE Issue SET Name = 'Liability elsewhere' WHERE ID = 1"));
    casetables::setWriteCheck([](dao::Database&) { return false; });
    QStringList behind;
    m_prompt.whileMessageShown([&](const QString&) {
        for (const char* name : {"Liability", "Liability elsewhere"})
            if (!w->tvIssueItems()->findItems(QLatin1String(name), Qt::MatchRecursive).isEmpty())
                behind << QLatin1String(name);
    });
    m_prompt.chooseFile(other);
    w->mnuFileOpen_Click();

    ASSERT_EQ(m_prompt.messages().size(), 1) << qPrintable(m_prompt.messages().join(" | "));
    EXPECT_TRUE(m_prompt.messages().at(0).contains(QStringLiteral("open read-only")));
    EXPECT_EQ(behind, QStringList{QStringLiteral("Liability elsewhere")});
}

TEST_F(WriteBack, InACaseOpenReadOnlyLeavingBoxesTabsAndSaveWriteNothing)
{
    casetables::setWriteCheck([](dao::Database&) { return false; });
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C1"));
    // As on a read-only disk, any write of an item would fail and be told.
    gDB->Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Issue BEGIN "
                                "SELECT RAISE(ABORT, 'read-only'); END"));
    w->txtExplanation()->setFocus();
    w->txtSpin(0)->setFocus();
    w->tvIssueItems()->setFocus();
    w->tbsTabs()->setCurrentIndex(2);
    w->tbsTabs()->setCurrentIndex(0);
    w->mnuFileSave_Click();
    w->tbTools_ButtonClick(QStringLiteral("save"));
    w->mnuFileExit_Click();
    // Only the notice given at the open.
    EXPECT_EQ(m_prompt.messages().size(), 1) << qPrintable(m_prompt.messages().join(" | "));
}

using ForeignValues = WriteBack;

TEST_F(ForeignValues, AHugeNameIsShownCutAndKeptWholeInTheFile)
{
    execIn(m_path,
           QStringLiteral("UPDATE Issue SET Name = printf('%.*c', 1000000, 'n') WHERE ID = 6"));
    execIn(m_path, QStringLiteral("INSERT INTO Bookmarks (CodeID, Description) "
                                  "VALUES (6, printf('%.*c', 100000, 'd'))"));
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C6"));
    EXPECT_LE(w->node(QStringLiteral("C6"))->text(0).size(), 256);
    const QTreeWidget* bookmarks = w->ctlBookmarkList()->lvBookMarks();
    for (int row = 0; row < bookmarks->topLevelItemCount(); ++row)
        for (int column : {0, 1})
            EXPECT_LE(bookmarks->topLevelItem(row)->text(column).size(), 256);
    EXPECT_LE(w->statusPanelText().size(), 256);
    EXPECT_LE(w->lblMain()->text().size(), 258);
    w->DoCaseClose();
    EXPECT_EQ(
        valueIn(m_path, QStringLiteral("select length(Name) from Issue where ID = 6")).toInt(),
        1000000);
}
