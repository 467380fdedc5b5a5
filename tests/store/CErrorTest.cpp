#include "store/CError.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "store/CLog.h"

#include "store/TempCurrentFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

const QString kQuestion = QStringLiteral(
    "A technical Error has occurred in running Argovo 2003 2.1.  Please try again, or if this "
    "problem continues to persist, call technical support.  Would you like to see the "
    "technical Error?");

class CErrorTest : public ::testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override { resetAppState(); }

    TempCurrentFolder folder;
    std::optional<ScriptedPrompt> prompt{std::in_place};
};

TEST_F(CErrorTest, PlainMessageShowsTheInformationBoxAndLogsOnlyWhenAsked)
{
    EXPECT_EQ(oError().HandleError(QStringLiteral("COpen.NewCase"),
                                   QStringLiteral("The case could not be created."), 0, false),
              0);
    ASSERT_EQ(prompt->shown().size(), 1);
    const auto& box = prompt->shown().first();
    EXPECT_EQ(box.text, QStringLiteral("The case could not be created."));
    EXPECT_EQ(box.title, QStringLiteral("Argovo 2003 2.1 Information..."));
    EXPECT_EQ(box.icon, MsgIcon::Information);
    EXPECT_TRUE(folder.logLines().isEmpty());

    oError().HandleError(QStringLiteral("COpen.NewCase"), QStringLiteral("Again."), 0, true);
    const QStringList log = folder.logLines();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().endsWith(
        QStringLiteral("    CALLING PROCEDURE: COpen.NewCase    LOG COMMENT: Again.")));
}

TEST_F(CErrorTest, TechnicalErrorDeclinedShowsNoWindowAndLogsOneLine)
{
    prompt->answer(MsgAnswer::No);
    EXPECT_EQ(oError().HandleError(QStringLiteral("CDataLayer.RunSQL"),
                                   QStringLiteral("Syntax error"), 3075, true),
              0);

    ASSERT_EQ(prompt->shown().size(), 1);
    const auto& question = prompt->shown().first();
    EXPECT_EQ(question.text, kQuestion);
    EXPECT_EQ(question.title, appinfo::kAppTitle);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::None);
    EXPECT_EQ(prompt->count(QStringLiteral("modal")), 0);

    const QStringList log = folder.logLines();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().endsWith(
        QStringLiteral("    CALLING PROCEDURE: CDataLayer.RunSQL    LOG COMMENT: Syntax error")));
}

TEST_F(CErrorTest, TechnicalErrorAcceptedShowsTheErrorWindowAndLogsNothingWithNoPromptItLogs)
{
    prompt->answer(MsgAnswer::Yes);
    oError().HandleError(QStringLiteral("CIssue::UpdateObject"), QStringLiteral("Disk full"),
                         -2147221404, true);

    ASSERT_EQ(prompt->count(QStringLiteral("modal")), 1);
    const auto& window = prompt->shown().last();
    EXPECT_EQ(window.text, QStringLiteral("frmError"));
    EXPECT_EQ(window.values.value(QStringLiteral("lblErrorCallerValue")).toString(),
              QStringLiteral("CIssue::UpdateObject"));
    EXPECT_EQ(window.values.value(QStringLiteral("lblErrorDescriptionValue")).toString(),
              QStringLiteral("Disk full"));
    EXPECT_EQ(window.values.value(QStringLiteral("lblErrorNumberValue")).toString(),
              QStringLiteral("-2147221404"));
    EXPECT_TRUE(folder.logLines().isEmpty());

    // Without a prompt every box fails; the reporter never raises, and the
    // entry still reaches the log.
    prompt.reset();
    EXPECT_NO_THROW(
        oError().HandleError(QStringLiteral("Globals.Test"), QStringLiteral("lost box"), 7, true));
    EXPECT_EQ(folder.logLines().size(), 1);
}

TEST_F(CErrorTest, LoggedErrorsRollTheLogOverPastFiftyThousandBytes)
{
    oLog().setClock([] { return QDateTime(QDate(2003, 3, 5), QTime(16, 5, 6)); });
    const auto report = [] {
        oError().HandleError(QStringLiteral("Globals.Test"), QStringLiteral("logged"), 0, true);
    };
    const QString logPath = folder.path(QStringLiteral("Argovo 2003.LOG"));
    const QString oldPath = folder.path(QStringLiteral("Argovo 2003.OLD"));
    report();
    const qint64 line = QFileInfo(logPath).size();
    ASSERT_GT(line, 0);

    for (const qint64 after : {qint64(50000), qint64(50001)}) {
        SCOPED_TRACE(after);
        QFile::remove(oldPath);
        QFile log(logPath);
        ASSERT_TRUE(log.open(QIODevice::WriteOnly | QIODevice::Truncate));
        log.write(QByteArray(after - line, 'a'));
        log.close();
        report();
        EXPECT_EQ(QFileInfo::exists(logPath), after == 50000);
        EXPECT_EQ(QFileInfo(oldPath).size(), after == 50000 ? 0 : after);
    }
}

} // namespace
