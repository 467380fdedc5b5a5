#include "WorkspaceFixture.h"

#include "workspace/CaseTables.h"
#include "workspace/ctlBookmarks.h"
#include "workspace/ctlFileDetails.h"
#include "workspace/frmAddBookmark.h"
#include "workspace/frmRedoZiv.h"

#include "platform/db/Dao.h"
#include "store/CIssue.h"
#include "store/CMain.h"
#include "store/CUtility.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Items 1 "Liability", 2 "breach", 3 "Damages"; bookmarks 1 to 4 on items
// 3, 1, 2 and 1, and bookmark 5 on item 9, which no longer exists.
const QString kRows = QStringLiteral(
    "INSERT INTO Issue (ID, ParentID, Name, ItemType) VALUES (1, 0, 'Liability', 'Issue'), "
    "(2, 1, 'breach', 'Issue'), (3, 0, 'Damages', 'Issue');"
    "INSERT INTO Bookmarks (ID, CodeID, Description) VALUES (1, 3, 'invoices'), "
    "(2, 1, 'ask about' || char(13) || char(10) || 'the speed'), (3, 2, 'Skid' || char(10) || "
    "'marks'), "
    "(4, 1, 'deposition'), (5, 9, 'orphan');");

class Bookmarks : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        m_path = m_cases.create(QStringLiteral("Case.AGV"), kRows);
        m_db = dao::DBEngine::OpenDatabase(m_path);
        m_pane.Initialise(m_db);
    }
    void TearDown() override
    {
        m_pane.Terminate();
        m_db->Close();
        WorkspaceTest::TearDown();
    }

    QTreeWidget* list() const { return m_pane.lvBookMarks(); }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            texts << list()->topLevelItem(i)->text(c);
        return texts;
    }
    void clickHeader(int section)
    {
        QHeaderView* header = list()->header();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, Qt::NoModifier,
            QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    }
    QTreeWidgetItem* current() const { return list()->currentItem(); }
    void showPane(int width = 500)
    {
        m_pane.resize(width, 300);
        m_pane.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_pane));
    }

    QString m_path;
    std::shared_ptr<dao::Database> m_db;
    ctlBookmarks m_pane;
};

TEST_F(Bookmarks, EachBookmarkOfAnExistingItemIsListedAndAHeaderSortsAscendingOnEveryClick)
{
    // In the file's order, line breaks shown as blanks.
    EXPECT_EQ(column(0), (QStringList{"Damages", "Liability", "breach", "Liability"}));
    EXPECT_EQ(column(1),
              (QStringList{"invoices", "ask about the speed", "Skid marks", "deposition"}));
    showPane();
    const QStringList byName{"breach", "Damages", "Liability", "Liability"};
    clickHeader(0);
    EXPECT_EQ(column(0), byName);
    clickHeader(0);
    EXPECT_EQ(column(0), byName);
    m_pane.Initialise(m_db);
    EXPECT_EQ(column(0), byName);
    clickHeader(1);
    EXPECT_EQ(column(1),
              (QStringList{"ask about the speed", "deposition", "invoices", "Skid marks"}));
}

TEST_F(Bookmarks, RemoveDeletesExactlyTheSelectedBookmarkAndNamesItsItem)
{
    QSignalSpy removed(&m_pane, &ctlBookmarks::BookMarkRemoved);
    list()->setCurrentItem(list()->topLevelItem(2)); // "breach": bookmark 3 on item 2
    m_pane.mnuRemoveBookMark()->trigger();

    EXPECT_EQ(column(1), (QStringList{"invoices", "ask about the speed", "deposition"}));
    EXPECT_EQ(countIn(m_path, QStringLiteral("Bookmarks where ID = 3")), 0);
    EXPECT_EQ(countIn(m_path, QStringLiteral("Bookmarks")), 4);
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed[0][0].toString(), QStringLiteral("2"));
    EXPECT_TRUE(m_prompt.shown().isEmpty());
}

TEST_F(Bookmarks, ARightClickOnBlankSpaceOffersNoRemoveForTheRowSelectedBefore)
{
    showPane();
    list()->setCurrentItem(list()->topLevelItem(0));
    ASSERT_TRUE(m_pane.showPopup(QPoint(20, list()->viewport()->height() - 5)));
    EXPECT_FALSE(m_pane.mnuRemoveBookMark()->isEnabled());
    m_pane.mnuRemoveBookMark_Click();
    m_pane.mnuPopup()->hide();
    EXPECT_EQ(list()->topLevelItemCount(), 4);
    EXPECT_EQ(countIn(m_path, QStringLiteral("Bookmarks")), 5);

    ASSERT_TRUE(m_pane.showPopup(list()->visualItemRect(list()->topLevelItem(2)).center()));
    EXPECT_TRUE(m_pane.mnuRemoveBookMark()->isEnabled());
    m_pane.mnuPopup()->hide();
}

TEST_F(Bookmarks, ALongItemNameLeavesTheDescriptionInSight)
{
    execIn(m_path, QStringLiteral("UPDATE Issue SET Name = '%1' WHERE ID = 1")
                       .arg(QString(50, QLatin1Char('W'))));
    showPane(240);
    m_pane.Initialise(m_db);
    const int width = list()->viewport()->width();
    EXPECT_LE(list()->columnWidth(0), width / 2);
    EXPECT_GT(list()->columnWidth(1), 0);
    EXPECT_LT(list()->header()->sectionViewportPosition(1), width);

    m_pane.resize(1600, 300); // room enough: the names show whole again
    QCoreApplication::processEvents();
    EXPECT_GT(list()->columnWidth(0),
              list()->fontMetrics().horizontalAdvance(QString(50, QLatin1Char('W'))));

    m_pane.RemoveBookMark(QStringLiteral("1")); // the long name goes: the column narrows again
    m_pane.resize(1500, 300);
    QCoreApplication::processEvents();
    EXPECT_LT(list()->columnWidth(0),
              list()->fontMetrics().horizontalAdvance(QString(50, QLatin1Char('W'))));
}

TEST_F(Bookmarks, AFailingRemoveIsReportedAndTheListKept)
{
    QSignalSpy removed(&m_pane, &ctlBookmarks::BookMarkRemoved);
    m_db->Close();
    list()->setCurrentItem(list()->topLevelItem(0));
    m_pane.mnuRemoveBookMark()->trigger();

    EXPECT_EQ(list()->topLevelItemCount(), 4);
    EXPECT_EQ(removed.size(), 0);
    ASSERT_EQ(m_prompt.messages().size(), 1);
    EXPECT_TRUE(m_prompt.messages()[0].endsWith(
        QStringLiteral("\nin Argovo.ctlBookmarks.mnuRemoveBookMark_Click at line 10")));
    m_db = dao::DBEngine::OpenDatabase(m_path);
}

TEST_F(Bookmarks, FindSelectsTheFirstMatchingRowAndOtherwiseLeavesTheSelection)
{
    m_pane.FindBookmark(QStringLiteral("liability"));
    EXPECT_EQ(current(), list()->topLevelItem(1));
    for (const QString& text : {QStringLiteral("Witnesses"), QString()}) {
        m_pane.FindBookmark(text);
        EXPECT_EQ(current(), list()->topLevelItem(1)) << qPrintable(text);
    }
    m_pane.Terminate();
    m_pane.FindBookmark(QString());
    EXPECT_EQ(current(), nullptr);
}

TEST_F(Bookmarks, ClickingARowAsksTheOwnerToShowItsItem)
{
    showPane();
    QSignalSpy view(&m_pane, &ctlBookmarks::ViewBookMark);
    QSignalSpy clicked(&m_pane, &ctlBookmarks::listClicked);
    const QRect row = list()->visualItemRect(list()->topLevelItem(2));
    QTest::mouseClick(list()->viewport(), Qt::RightButton, Qt::NoModifier, row.center());
    EXPECT_EQ(view.size(), 0);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());

    ASSERT_EQ(view.size(), 1);
    EXPECT_EQ(view[0][0].value<std::shared_ptr<CIssue>>()->Name(), QStringLiteral("breach"));
    EXPECT_EQ(clicked.size(), 1);
}

// --- the add-bookmark window -------------------------------------------------

class AddBookmarkWindow : public Bookmarks {
protected:
    void open(const QString& id)
    {
        auto item = std::make_shared<CIssue>();
        item->Initialise(m_db, id);
        m_window.Initialise(m_db, item);
        m_window.show();
    }
    void click(const char* button)
    {
        QTest::mouseClick(m_window.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    QLineEdit* text() const
    {
        return m_window.findChild<QLineEdit*>(QStringLiteral("txtBookmark"));
    }
    int bookmarksOf(int id) const
    {
        return countIn(m_path, QStringLiteral("Bookmarks where CodeID = %1").arg(id));
    }

    frmAddBookmark m_window;
};

TEST_F(AddBookmarkWindow, OkStoresTheDescriptionAsTypedEvenWhenEmptyOrPastedAtLength)
{
    const QString pasted = QStringLiteral("Exhibit 12 ").repeated(4000) + QStringLiteral("end");
    for (const QString& typed : {QStringLiteral("Check the photographs"), QString(), pasted}) {
        open(QStringLiteral("3"));
        EXPECT_EQ(m_window.findChild<QLabel*>(QStringLiteral("lblCodeItem"))->text(),
                  QStringLiteral("Damages "));
        text()->setText(typed);
        click("cmdOk");
        EXPECT_FALSE(m_window.Cancelled());
        EXPECT_FALSE(m_window.isVisible());
        EXPECT_EQ(
            valueIn(m_path, QStringLiteral("select Description from Bookmarks where CodeID = 3 "
                                           "order by ID desc"))
                .toString(),
            typed);
    }
    EXPECT_EQ(bookmarksOf(3), 4);
}

TEST_F(AddBookmarkWindow, CancelAndTheCloseBoxStoreNothing)
{
    for (bool closeBox : {false, true}) {
        open(QStringLiteral("2"));
        text()->setText(QStringLiteral("not wanted"));
        closeBox ? void(m_window.close()) : click("cmdCancel");
        EXPECT_TRUE(m_window.Cancelled());
    }
    EXPECT_EQ(bookmarksOf(2), 1);
}

// The store fails, or the item was deleted in another copy of the program
// while the window was open; a name written by another tool is told cut.
TEST_F(AddBookmarkWindow, AFailedStoreKeepsTheWindowOpenWithTheTypedText)
{
    const QString longName = QStringLiteral("breach ") + QString(300, QLatin1Char('x'));
    for (bool deleted : {false, true}) {
        m_prompt.clear();
        if (deleted)
            execIn(m_path,
                   QStringLiteral("UPDATE Issue SET Name = '%1' WHERE ID = 2").arg(longName));
        open(QStringLiteral("2"));
        if (deleted) {
            EXPECT_EQ(m_window.findChild<QLabel*>(QStringLiteral("lblCodeItem"))->text(),
                      longName.left(255) + QChar(0x2026) + QLatin1Char(' '));
            execIn(m_path, QStringLiteral("DELETE FROM Issue WHERE ID = 2"));
        } else
            m_db->Close();
        text()->setText(QStringLiteral("keep me"));
        click("cmdOk");

        ASSERT_EQ(m_prompt.messages().size(), 1);
        EXPECT_TRUE(deleted ? m_prompt.messages()[0].startsWith(
                                  QLatin1Char('"') + longName.left(255) + QChar(0x2026) +
                                  QStringLiteral("\" is no longer in the case"))
                            : m_prompt.messages()[0].endsWith(QStringLiteral(
                                  "\nin Argovo.frmAddBookmark.cmdOK_Click at line 10")))
            << qPrintable(m_prompt.messages()[0]);
        EXPECT_TRUE(m_window.isVisible());
        EXPECT_EQ(text()->text(), QStringLiteral("keep me"));
        if (!deleted)
            m_db = dao::DBEngine::OpenDatabase(m_path);
        EXPECT_EQ(bookmarksOf(2), 1);
    }
}

// --- Insert > Bookmark Here --------------------------------------------------

TEST_F(WorkspaceTest, BookmarkHereTakesOnlyIssuesStillInTheCaseAndARowClickJumpsToItsItem)
{
    const QString path = m_cases.createSample();
    oMain().setStrFileName(path);
    frmRedoZiv w;
    showAndWait(w);

    clickNode(w, QStringLiteral("CX5"));
    w.AddBookMark();
    EXPECT_EQ(m_prompt.messages(), QStringList{QStringLiteral("Can only bookmark issues.")});

    // Deleted in another copy of the program: told before anything is typed.
    m_prompt.clear();
    clickNode(w, QStringLiteral("C7"));
    execIn(path, QStringLiteral("DELETE FROM Issue WHERE ID = 7"));
    w.AddBookMark();
    ASSERT_EQ(m_prompt.messages().size(), 1);
    EXPECT_TRUE(m_prompt.messages()[0].startsWith(
        QStringLiteral("\"Medical costs\" is no longer in the case")));
    EXPECT_EQ(countIn(path, QStringLiteral("Bookmarks where CodeID = 7")), 0);

    m_prompt.clear();
    clickNode(w, QStringLiteral("C6"));
    w.AddBookMark(); // cancelled
    execIn(path, QStringLiteral("INSERT INTO Bookmarks (CodeID, Description) VALUES (6, 'pay')"));
    m_prompt.modalResult(QDialog::Accepted);
    w.AddBookMark();

    ASSERT_EQ(m_prompt.count(QStringLiteral("modal")), 2);
    EXPECT_EQ(m_prompt.shown()[0].text, QStringLiteral("frmAddBookmark"));
    EXPECT_EQ(m_prompt.shown()[0].values.value(QStringLiteral("ID")).toString(),
              QStringLiteral("6"));
    QTreeWidget* list = w.ctlBookmarkList()->lvBookMarks();
    EXPECT_EQ(list->topLevelItemCount(), 2);
    ASSERT_TRUE(list->currentItem());
    EXPECT_EQ(list->currentItem()->text(0), QStringLiteral("Damages"));

    // A click on the other bookmark jumps to its item and its explanation.
    w.selectTab(frmRedoZiv::kTabFiles);
    QTreeWidgetItem* breach = list->findItems(QStringLiteral("Breach"), Qt::MatchExactly).value(0);
    ASSERT_TRUE(breach);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(breach).center());
    EXPECT_EQ(w.tvIssueItems()->currentItem(), w.node(QStringLiteral("C3")));
    EXPECT_EQ(w.currentIssue()->Key(), QStringLiteral("3"));
    EXPECT_EQ(w.selectedTab(), frmRedoZiv::kTabExplanation);
    EXPECT_EQ(w.lblMain()->text(), QStringLiteral("  Breach"));
    EXPECT_EQ(oUtility().SelectedNode(), QStringLiteral("C3"));

    // An older file holds bookmarks on other kinds of item: each has its own node.
    execIn(path, QStringLiteral("INSERT INTO Bookmarks (CodeID, Description) VALUES (5, 'x')"));
    w.InitialiseBookmarks();
    QTreeWidgetItem* exhibit =
        list->findItems(QStringLiteral("Skid-mark photographs"), Qt::MatchExactly).value(0);
    ASSERT_TRUE(exhibit);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(exhibit).center());
    EXPECT_EQ(w.currentIssue()->Key(), QStringLiteral("5"));
    EXPECT_EQ(w.tvIssueItems()->currentItem(), w.node(QStringLiteral("CX5")));
    EXPECT_EQ(w.lblMain()->text(), QStringLiteral("  Skid-mark photographs"));
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

// A press on the pane takes the focus from a name being typed in the tree,
// which stores the name (the pane sorted by it) before the press is handled:
// the bookmark pressed is still the one shown or removed, whether the popup
// comes while the button is down or after its release. Through the window
// the button is held while events run between the press and the release; a
// release the list gets while the pane waits for it is one click. Storing the
// name also looks up the item's bookmark: with the pane scrolled to its top
// and a bookmark of the name far down (the name typed over in capitals only,
// or another item of the old name), the pane stays where it is under the
// press; after Enter it scrolls to the bookmark of the new name.
TEST_F(WorkspaceTest, APressThatStoresANameTypedInTheTreeActsOnTheBookmarkPressed)
{
    enum Press {
        LeftClick,
        LeftClickThroughTheWindow,
        LeftClickHeld,
        PopupOnPress,
        PopupOnRelease,
        PopupThroughTheWindow,
        EnterKey
    };
    enum Pane { Sorted, ByCase, OldNameElsewhere };
    std::vector<std::pair<Pane, Press>> rows;
    for (Press press :
         {LeftClick, LeftClickThroughTheWindow, LeftClickHeld, PopupOnPress, PopupOnRelease})
        rows.emplace_back(Sorted, press);
    for (Pane pane : {ByCase, OldNameElsewhere})
        for (Press press : {LeftClickThroughTheWindow, PopupThroughTheWindow, EnterKey})
            rows.emplace_back(pane, press);
    for (const auto& [pane, press] : rows) {
        SCOPED_TRACE(testing::Message() << "pane " << pane << ", press " << press);
        m_path = m_cases.createSample(QStringLiteral("Case%1-%2.AGV").arg(pane).arg(press));
        QString values = QStringLiteral("(1, 'l'), (6, 'd')");
        if (pane != Sorted)
            for (int i = 0; i < 60; ++i)
                values += QStringLiteral(", (2, 'n%1')").arg(i);
        if (pane == OldNameElsewhere) {
            values += QStringLiteral(", (8, 'w')");
            execIn(m_path,
                   QStringLiteral("UPDATE Issue SET Name = 'Comparative fault' WHERE ID = 8"));
        }
        execIn(m_path, QStringLiteral("INSERT INTO Bookmarks (CodeID, Description) VALUES ") +
                           values + QStringLiteral(", (10, 'f')"));
        const int before = countIn(m_path, QStringLiteral("Bookmarks"));
        const QString typed = pane == Sorted   ? QStringLiteral("Zulu fault")
                              : pane == ByCase ? QStringLiteral("Comparative Fault")
                                               : QStringLiteral("Contributory fault");
        auto w = openWindow();
        ctlBookmarks* bookmarks = w->ctlBookmarkList();
        QTreeWidget* list = bookmarks->lvBookMarks();
        QHeaderView* header = list->header();
        if (pane == Sorted)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                              QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        if (pane == Sorted) {
            clickNode(*w, QStringLiteral("C10")); // "Comparative fault"
        } else {
            // A click on a node finds the first bookmark of its name once
            // the button is up.
            QTreeWidget* tree = w->tvIssueItems();
            const QPoint node = tree->viewport()->mapTo(
                w.get(), tree->visualItemRect(w->node(QStringLiteral("C10"))).center());
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, Qt::NoModifier, node);
            QApplication::processEvents();
            ASSERT_EQ(w->currentIssue()->Key(), QStringLiteral("10"));
            ASSERT_TRUE(list->currentItem());
            EXPECT_EQ(list->currentItem()->text(1),
                      pane == ByCase ? QStringLiteral("f") : QStringLiteral("w"));
            ASSERT_GT(list->verticalScrollBar()->value(), 0);
            list->scrollToTop();
        }
        w->RenameItem();
        auto* editor = w->tvIssueItems()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(typed);
        QTreeWidgetItem* damages =
            list->findItems(QStringLiteral("Damages"), Qt::MatchExactly).value(0);
        ASSERT_TRUE(damages);
        const QPoint at = list->visualItemRect(damages).center();
        QSignalSpy clicked(bookmarks, &ctlBookmarks::listClicked);
        const auto throughTheWindow = [&](Qt::MouseButton button) {
            const QPoint inWindow = list->viewport()->mapTo(w.get(), at);
            QTest::mousePress(w->windowHandle(), button, Qt::NoModifier, inWindow);
            QApplication::processEvents();
            QTest::mouseRelease(w->windowHandle(), button, Qt::NoModifier, inWindow);
        };
        const auto popup = [&] {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
            QApplication::sendEvent(list->viewport(), &menu);
            bookmarks->mnuPopup()->hide();
        };

        if (press == EnterKey) {
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents();
            QTreeWidgetItem* found = list->currentItem();
            ASSERT_TRUE(found);
            EXPECT_EQ(found->text(1), QStringLiteral("f"));
            EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(found).center()));
        } else if (press == LeftClick || press == LeftClickThroughTheWindow ||
                   press == LeftClickHeld) {
            if (press == LeftClick) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            } else if (press == LeftClickHeld) {
                QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
                QApplication::processEvents();
                QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            } else {
                throughTheWindow(Qt::LeftButton);
            }
            ASSERT_TRUE(w->currentIssue());
            EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("6"));
            EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  Damages"));
        } else {
            if (press == PopupThroughTheWindow) {
                throughTheWindow(Qt::RightButton);
            } else {
                QTest::mousePress(list->viewport(), Qt::RightButton, Qt::NoModifier, at);
                if (press == PopupOnPress)
                    popup();
                QTest::mouseRelease(list->viewport(), Qt::RightButton, Qt::NoModifier, at);
            }
            QApplication::processEvents();
            if (press != PopupOnPress)
                popup();
            bookmarks->mnuRemoveBookMark()->trigger();
            EXPECT_EQ(countIn(m_path, QStringLiteral("Bookmarks where CodeID = 6")), 0);
            EXPECT_EQ(countIn(m_path, QStringLiteral("Bookmarks")), before - 1);
        }
        const bool leftClick =
            press == LeftClick || press == LeftClickThroughTheWindow || press == LeftClickHeld;
        EXPECT_EQ(clicked.size(), leftClick ? 1 : 0);
        EXPECT_EQ(issueColumn("Name", 10).toString(), typed);
        QApplication::processEvents(); // once the press is over the new name takes its place
        if (pane != Sorted && press != EnterKey) {
            EXPECT_EQ(list->verticalScrollBar()->value(), 0);
        }
        if (pane == Sorted) {
            QStringList names;
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                names << list->topLevelItem(i)->text(0);
            EXPECT_EQ(names.last(), QStringLiteral("Zulu fault"));
            EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
        }
    }
}

TEST_F(WorkspaceTest, AReadOnlyCaseShowsBothPanesButChangesNothingThroughThem)
{
    const QString path = m_cases.createSample();
    casetables::setWriteCheck([](dao::Database&) { return false; });
    oMain().setStrFileName(path);
    frmRedoZiv w;
    showAndWait(w);
    casetables::setWriteCheck({});
    clickNode(w, QStringLiteral("C1"));
    w.selectTab(frmRedoZiv::kTabFiles);

    ctlFileDetails* documents = w.ctlFileDetails1();
    documents->showPopup(QPoint(5, 5));
    EXPECT_FALSE(documents->mnuAddFile()->isEnabled());
    EXPECT_TRUE(documents->mnuOpenFile()->isEnabled());
    documents->mnuPopup()->hide();

    ctlBookmarks* bookmarks = w.ctlBookmarkList();
    bookmarks->lvBookMarks()->setCurrentItem(bookmarks->lvBookMarks()->topLevelItem(0));
    EXPECT_FALSE(bookmarks->mnuRemoveBookMark()->isEnabled());
    bookmarks->mnuRemoveBookMark_Click();
    EXPECT_EQ(bookmarks->lvBookMarks()->topLevelItemCount(), 1);
    EXPECT_EQ(countIn(path, QStringLiteral("Bookmarks")), 1);
}

} // namespace
