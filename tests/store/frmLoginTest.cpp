#include "store/forms/frmLogin.h"
#include "store/AppState.h"

#include "support/ScriptedPrompt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>


#include <gtest/gtest.h>

namespace {

class frmLoginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppState();
        dialog.show();
        dialog.activateWindow();
        focusWorks = QTest::qWaitForWindowActive(&dialog);
        password = dialog.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        ASSERT_TRUE(password);
        ASSERT_TRUE(ok);
    }

    void tryWord(const QString& word)
    {
        password->setText(word);
        ok->setFocus();
        QTest::mouseClick(ok, Qt::LeftButton);
    }

    ScriptedPrompt prompt;
    frmLogin dialog;
    bool focusWorks = false;
    QLineEdit* password = nullptr;
    QPushButton* ok = nullptr;
};

TEST_F(frmLoginTest, TheExpectedWordSignsInAndCancelSignsOutBothHidingTheDialog)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Login"));
    EXPECT_TRUE(dialog.findChild<QLineEdit*>(QStringLiteral("txtUserName")));
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(),
              QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblLabels_0"))->text(),
              QStringLiteral("&User Name:"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblLabels_1"))->text(),
              QStringLiteral("&Password:"));

    // The user name plays no part: it stays empty.
    tryWord(QStringLiteral("casefile"));
    EXPECT_TRUE(dialog.LoginSucceeded());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);

    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    EXPECT_FALSE(dialog.LoginSucceeded());
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(frmLoginTest, WrongWordsAreRefusedWithTheMessageAndTheTextSelected)
{
    // The word with any one letter in upper case, an empty entry, a word cut short.
    const QString word = QStringLiteral("casefile");
    QStringList refused{QString(), QStringLiteral("casefil")};
    for (int i = 0; i < word.size(); ++i)
        refused << word.left(i) + word.at(i).toUpper() + word.mid(i + 1);
    for (const QString& typed : refused) {
        prompt.clear();
        tryWord(typed);
        EXPECT_FALSE(dialog.LoginSucceeded()) << typed.toStdString();
        ASSERT_EQ(prompt.count(QStringLiteral("message")), 1);
        EXPECT_EQ(prompt.shown().front().text, QStringLiteral("Invalid Password, try again!"));
        EXPECT_EQ(prompt.shown().front().title, QStringLiteral("Login"));
        EXPECT_EQ(password->selectedText(), typed);
        if (focusWorks) {
            EXPECT_TRUE(password->hasFocus());
        }
    }
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
