#include "WorkspaceFixture.h"

#include "workspace/UpDown.h"
#include "workspace/frmRedoZiv.h"

#include "store/CIssue.h"
#include "store/CMain.h"
#include "store/CUtility.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

// The sample case: 1 "Liability" (ratings 9 8 9 8 7 9) with 2 "Duty of care"
// and 3 "Breach" below it, 6 "Damages" (7 6 7 6 6 7), 10 "Comparative fault".
class Details : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        m_path = m_cases.createSample();
    }

    static QStringList spins(frmRedoZiv& w)
    {
        QStringList texts;
        for (int i = 0; i < 6; ++i)
            texts << w.txtSpin(i)->text();
        return texts;
    }

    // Leaves a rating box the way a user does: focus moves to another box.
    static void typeIntoRating(frmRedoZiv& w, int index, const QString& text)
    {
        w.txtSpin(index)->setFocus();
        w.txtSpin(index)->selectAll();
        QTest::keyClicks(w.txtSpin(index), text);
        w.txtQuestions()->setFocus();
    }
};

TEST_F(Details, ClickingAnItemShowsItAndClickingTheRootOrSelectingNoNodeKeepsIt)
{
    auto w = openWindow();
    // Before any item is shown a change of tabs only switches the view.
    ASSERT_EQ(w->currentIssue(), nullptr);
    w->selectTab(frmRedoZiv::kTabGrid);
    w->selectTab(frmRedoZiv::kTabFiles);
    w->selectTab(frmRedoZiv::kTabExplanation);
    EXPECT_EQ(w->selectedTab(), frmRedoZiv::kTabExplanation);

    clickNode(*w, QStringLiteral("C1"));
    EXPECT_TRUE(gNodeClicked);
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("1"));
    EXPECT_TRUE(
        w->txtExplanation()->toPlainText().startsWith(QStringLiteral("Whether the defendant")));
    EXPECT_EQ(w->txtQuestions()->toPlainText(),
              QStringLiteral("Was the defendant driving above the limit?"));
    EXPECT_EQ(spins(*w), (QStringList{"9", "8", "9", "8", "7", "9"}));
    EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  Liability"));
    EXPECT_EQ(w->statusPanelText(), QStringLiteral("Liability"));
    EXPECT_EQ(oUtility().SelectedNode(), QStringLiteral("C1"));
    EXPECT_TRUE(w->tbsTabs()->isEnabled());

    clickNode(*w, QStringLiteral("ROOT"));
    EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  Legal Issues"));
    EXPECT_EQ(oUtility().SelectedNode(), QStringLiteral("ROOT"));
    ASSERT_NE(w->currentIssue(), nullptr);
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("1"));
    EXPECT_EQ(w->txtSpin(0)->text(), QStringLiteral("9"));
    EXPECT_EQ(m_prompt.messages(), QStringList());

    // Nor does selecting no node, as when the tree has none selected; no row is added.
    const int rows = countIn(m_path, QStringLiteral("Issue"));
    w->SelectCodeItem(QString());
    ASSERT_NE(w->currentIssue(), nullptr);
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("1"));
    w->DoCaseClose();
    EXPECT_EQ(countIn(m_path, QStringLiteral("Issue")), rows);
}

TEST_F(Details, KeyboardMovesSelectLikeAClickAndEachSelectionReadsTheRowAfresh)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C10")); // "Comparative fault", first under the root
    QTest::keyClick(w->tvIssueItems(), Qt::Key_Down);
    ASSERT_NE(w->currentIssue(), nullptr);
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("6"));
    EXPECT_EQ(w->lblMain()->text(), QStringLiteral("  Damages"));

    execIn(m_path, QStringLiteral("UPDATE Issue SET Weight = 2 WHERE ID = 6"));
    EXPECT_EQ(w->txtSpin(0)->text(), QStringLiteral("7"));
    clickNode(*w, QStringLiteral("C6"));
    EXPECT_EQ(w->txtSpin(0)->text(), QStringLiteral("2"));
}

TEST_F(Details, ClickOnTheGridTabKeepsAChangeMadeElsewhereAndFillsEveryBoxOfTheNewOne)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C1"));
    w->selectTab(frmRedoZiv::kTabGrid);
    // Another copy of the program changes the row; the switch back to the
    // explanation does not write over it what this window read before.
    execIn(m_path,
           QStringLiteral("UPDATE Issue SET Explanation = 'changed elsewhere' WHERE ID = 1"));

    clickNode(*w, QStringLiteral("C6"));
    EXPECT_EQ(w->selectedTab(), frmRedoZiv::kTabExplanation);
    EXPECT_EQ(issueColumn("Explanation", 1).toString(), QStringLiteral("changed elsewhere"));
    EXPECT_EQ(w->currentIssue()->Key(), QStringLiteral("6"));
    EXPECT_EQ(spins(*w), (QStringList{"7", "6", "7", "6", "6", "7"}));
    EXPECT_EQ(w->txtExplanation()->toPlainText(),
              QStringLiteral("Medical costs, lost wages and pain and suffering."));
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(Details, AnItemShownWhileTheGridTabIsUpFillsEveryBoxSoNothingLeaksIntoIt)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C1"));
    w->selectTab(frmRedoZiv::kTabGrid);
    // The bookmark pane shows another item without a switch of tabs.
    auto damages = std::make_shared<CIssue>();
    damages->Initialise(gDB, QStringLiteral("6"));
    w->ctlBookMarkList_ViewBookMark(damages);
    EXPECT_EQ(spins(*w), (QStringList{"7", "6", "7", "6", "6", "7"}));
    EXPECT_EQ(w->txtExplanation()->toPlainText(),
              QStringLiteral("Medical costs, lost wages and pain and suffering."));

    w->selectTab(frmRedoZiv::kTabExplanation);
    w->txtExplanation()->setFocus();
    w->txtQuestions()->setFocus();
    EXPECT_EQ(issueColumn("Explanation", 6).toString(),
              QStringLiteral("Medical costs, lost wages and pain and suffering."));
    EXPECT_EQ(issueColumn("Weight", 6).toInt(), 7);
    EXPECT_EQ(issueColumn("Success", 6).toInt(), 6);
    EXPECT_EQ(issueColumn("Weight", 1).toInt(), 9);
}

TEST_F(Details, TypingWritesEveryKeystrokeAtOnceTheTabKeyATab)
{
    execIn(m_path, QStringLiteral("UPDATE Issue SET Explanation = '' WHERE ID = 2"));
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C2"));
    ASSERT_TRUE(w->txtExplanation()->toPlainText().isEmpty());
    w->txtExplanation()->setFocus();
    QTest::keyClick(w->txtExplanation(), Qt::Key_A);
    EXPECT_EQ(issueColumn("Explanation", 2).toString(), QStringLiteral("a"));
    QTest::keyClick(w->txtExplanation(), Qt::Key_B);
    EXPECT_EQ(issueColumn("Explanation", 2).toString(), QStringLiteral("ab"));
    // The Tab key writes a tab, and the focus stays.
    QTest::keyClick(w->txtExplanation(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w->txtExplanation());
    EXPECT_EQ(issueColumn("Explanation", 2).toString(), QStringLiteral("ab\t"));

    w->txtQuestions()->setFocus();
    w->txtQuestions()->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->txtQuestions(), QStringLiteral(" Really?"));
    EXPECT_EQ(issueColumn("Question", 2).toString(),
              QStringLiteral("Is the duty disputed? Really?"));
}

TEST_F(Details, ClearingTheExplanationWritesNothingUntilTheFocusLeaves)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C1"));
    const QString before = issueColumn("Explanation", 1).toString();
    w->txtSpin(0)->setText(QStringLiteral("3"));
    w->txtExplanation()->setFocus();
    w->txtExplanation()->selectAll();
    QTest::keyClick(w->txtExplanation(), Qt::Key_Delete);
    ASSERT_TRUE(w->txtExplanation()->toPlainText().isEmpty());
    EXPECT_EQ(issueColumn("Explanation", 1).toString(), before);
    EXPECT_EQ(issueColumn("Weight", 1).toInt(), 9);

    w->txtQuestions()->setFocus();
    EXPECT_EQ(issueColumn("Explanation", 1).toString(), QString());
    EXPECT_EQ(issueColumn("Weight", 1).toInt(), 3);
}

TEST_F(Details, ARatingTextThatIsNoNumberOrOffTheScaleIsRefusedAndTheRatingKept)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C1"));
    typeIntoRating(*w, 1, QStringLiteral("abc"));
    typeIntoRating(*w, 4, QStringLiteral("25"));
    ASSERT_EQ(m_prompt.messages().size(), 2);
    EXPECT_EQ(m_prompt.messages().at(0),
              QStringLiteral("Type mismatch\nin Argovo.frmRedoZiv.OnTxtSpinLostFocus at line 10"));
    EXPECT_TRUE(m_prompt.messages().at(1).contains(QStringLiteral("from 0 to 10")));
    EXPECT_TRUE(
        m_prompt.messages().at(1).contains(QStringLiteral("frmRedoZiv.OnTxtSpinLostFocus")));
    EXPECT_EQ(issueColumn("Success", 1).toInt(), 8);
    EXPECT_EQ(issueColumn("Procedural", 1).toInt(), 7);
    EXPECT_EQ(w->txtSpin(1)->text(), QStringLiteral("8"));
    EXPECT_EQ(w->txtSpin(4)->text(), QStringLiteral("7"));
}

// An older file may hold ratings off the scale: they stay as stored, and
// only a value the user types is checked.
TEST_F(Details, AStoredRatingOffTheScaleIsKeptAndNeverReportedUntilTheUserChangesIt)
{
    execIn(m_path, QStringLiteral("UPDATE Issue SET Weight = 25, Jury = -3 WHERE ID = 2"));
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C2"));
    EXPECT_EQ(spins(*w), (QStringList{"25", "9", "-3", "10", "9", "10"}));
    w->txtExplanation()->setFocus();
    w->txtExplanation()->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->txtExplanation(), QStringLiteral("!"));
    w->txtQuestions()->setFocus();
    clickNode(*w, QStringLiteral("C3"));
    clickNode(*w, QStringLiteral("C2"));
    EXPECT_EQ(m_prompt.messages(), QStringList());

    typeIntoRating(*w, 0, QStringLiteral("30"));
    ASSERT_EQ(m_prompt.messages().size(), 1);
    EXPECT_TRUE(m_prompt.messages().at(0).contains(QStringLiteral("from 0 to 10")));
    EXPECT_EQ(w->txtSpin(0)->text(), QStringLiteral("25"));
    w->DoCaseClose();
    EXPECT_EQ(m_prompt.messages().size(), 1);
    EXPECT_EQ(issueColumn("Weight", 2).toInt(), 25);
    EXPECT_EQ(issueColumn("Jury", 2).toInt(), -3);
    EXPECT_TRUE(issueColumn("Explanation", 2).toString().endsWith(QLatin1Char('!')));
}

TEST_F(Details, TypedRatingsShowAsStoredAndTheArrowsStepFromTheTextTypedAndWriteTheirBox)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C1"));
    // Once stored, the box shows the rating stored, not the text typed.
    const std::pair<const char*, int> typed[] = {{"2.5", 2}, {"3.5", 4}, {"1e1", 10}, {"+5", 5}};
    for (const auto& [text, stored] : typed) {
        typeIntoRating(*w, 2, QString::fromLatin1(text));
        EXPECT_EQ(issueColumn("Jury", 1).toInt(), stored) << text;
        EXPECT_EQ(w->txtSpin(2)->text(), QString::number(stored)) << text;
    }

    QTest::mouseClick(w->updown(3)->downButton(), Qt::LeftButton);
    EXPECT_EQ(w->txtSpin(3)->text(), QStringLiteral("7"));
    EXPECT_EQ(issueColumn("Substantive", 1).toInt(), 7);
    QTest::mouseClick(w->updown(3)->upButton(), Qt::LeftButton);
    QTest::mouseClick(w->updown(3)->upButton(), Qt::LeftButton);
    EXPECT_EQ(issueColumn("Substantive", 1).toInt(), 9);
    EXPECT_EQ(issueColumn("Weight", 1).toInt(), 9);

    // The arrows step from a text typed in the box, read as the box reads
    // it, the box still being in use.
    w->txtSpin(0)->setFocus();
    w->txtSpin(0)->selectAll();
    QTest::keyClicks(w->txtSpin(0), QStringLiteral("2.0"));
    QTest::keyClick(w->txtSpin(0), Qt::Key_Up);
    EXPECT_EQ(w->txtSpin(0)->text(), QStringLiteral("3"));
    EXPECT_EQ(issueColumn("Weight", 1).toInt(), 3);
    w->txtSpin(1)->setFocus();
    w->txtSpin(1)->selectAll();
    QTest::keyClicks(w->txtSpin(1), QStringLiteral("3.0"));
    QTest::mouseClick(w->updown(1)->downButton(), Qt::LeftButton);
    EXPECT_EQ(w->txtSpin(1)->text(), QStringLiteral("2"));
    EXPECT_EQ(issueColumn("Success", 1).toInt(), 2);
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(Details, EmptiedBoxesAfterAReopenReachNoEarlierItem)
{
    auto w = openWindow();
    clickNode(*w, QStringLiteral("C1"));
    w->EnableControls(true); // as after a case open: no item shown
    EXPECT_EQ(w->currentIssue(), nullptr);
    EXPECT_TRUE(w->txtExplanation()->toPlainText().isEmpty());
    w->txtQuestions()->setPlainText(QStringLiteral("typed into nothing"));
    w->txtExplanation()->setFocus();
    w->txtQuestions()->setFocus();
    EXPECT_EQ(issueColumn("Question", 1).toString(),
              QStringLiteral("Was the defendant driving above the limit?"));
}
