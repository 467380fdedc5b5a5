#include "store/CLog.h"

#include "store/TempCurrentFolder.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

const QDateTime kWhen(QDate(2003, 3, 5), QTime(16, 5, 6));
// One entry of caller "X" and comment "y" at kWhen in the US locale.
const QByteArray kLine("TIME: 3/5/03 4:05:06 PM    CALLING PROCEDURE: X    LOG COMMENT: y\r\n");

class CLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppState();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        log.setFileName(QStringLiteral("Argovo 2003"));
        log.setMaxEntry(50000);
        log.setClock([] { return kWhen; });
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        resetAppState();
    }

    TempCurrentFolder folder;
    CLog log;
    QString logPath = folder.path(QStringLiteral("Argovo 2003.LOG"));
    QString oldPath = folder.path(QStringLiteral("Argovo 2003.OLD"));
};

TEST_F(CLogTest, EntriesAreAppendedInTheFixedLineFormatWithoutATimeZone)
{
    log.LogItem(QStringLiteral("X"), QStringLiteral("y"));
    log.LogItem(QStringLiteral("oDataLayer.CloseConnection"), QString());

    EXPECT_EQ(fileBytes(logPath), kLine + "TIME: 3/5/03 4:05:06 PM    CALLING PROCEDURE: "
                                          "oDataLayer.CloseConnection    LOG COMMENT: \r\n");
}

// A log of exactly MaxEntry bytes after a write stays; one byte more and it
// becomes the older generation, replacing the previous one.
class CLogRollOverTest : public CLogTest, public ::testing::WithParamInterface<int> {};

TEST_P(CLogRollOverTest, LogPastMaxEntryBytesBecomesTheOldGeneration)
{
    const int sizeAfterWrite = GetParam();
    const QByteArray filler(sizeAfterWrite - kLine.size(), 'a');
    writeFile(logPath, filler);
    writeFile(oldPath, "previous generation");

    log.LogItem(QStringLiteral("X"), QStringLiteral("y"));

    if (sizeAfterWrite <= 50000) {
        EXPECT_EQ(fileBytes(logPath), filler + kLine);
        EXPECT_EQ(fileBytes(oldPath), QByteArray("previous generation"));
        return;
    }
    EXPECT_FALSE(QFileInfo::exists(logPath));
    EXPECT_EQ(fileBytes(oldPath), filler + kLine);
    // The next entry starts a new log.
    log.LogItem(QStringLiteral("X"), QStringLiteral("y"));
    EXPECT_EQ(fileBytes(logPath), kLine);
}

INSTANTIATE_TEST_SUITE_P(AtTheLimit, CLogRollOverTest, ::testing::Values(50000, 50001));

TEST_F(CLogTest, ALogThatCannotBecomeTheOldGenerationIsKeptAndAnUnwritableOneLosesTheEntry)
{
    // A folder in the older generation's place cannot be replaced.
    ASSERT_TRUE(QDir(folder.path(QString())).mkpath(QStringLiteral("Argovo 2003.OLD/busy")));
    const QByteArray filler(50001, 'a');
    writeFile(logPath, filler);
    log.LogItem(QStringLiteral("X"), QStringLiteral("y"));
    EXPECT_EQ(fileBytes(logPath), filler + kLine);

    // Silently.
    log.setFileName(folder.path(QStringLiteral("no such folder/Argovo 2003")));
    EXPECT_NO_THROW(log.LogItem(QStringLiteral("X"), QStringLiteral("y")));
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("no such folder"))));
}

} // namespace
