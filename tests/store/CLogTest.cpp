#include "store/CLog.h"
#include "store/AppState.h"

#include "store/TempCurrentFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

const QDateTime kWhen(QDate(2003, 3, 5), QTime(16, 5, 6));

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class CLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppState();
        log.setFileName(QStringLiteral("Argovo 2003"));
        log.setMaxEntry(50000);
        log.setClock([] { return kWhen; });
    }
    void TearDown() override { resetAppState(); }

    QString expectedLine(const QString& caller, const QString& comment) const
    {
        const QLocale system = QLocale::system();
        return QStringLiteral("TIME: ") + system.toString(kWhen.date(), QLocale::ShortFormat) +
               QLatin1Char(' ') + system.toString(kWhen.time(), QLocale::LongFormat) +
               QStringLiteral("    CALLING PROCEDURE: ") + caller +
               QStringLiteral("    LOG COMMENT: ") + comment + QStringLiteral("\r\n");
    }

    TempCurrentFolder folder;
    CLog log;
    QString logPath = folder.path(QStringLiteral("Argovo 2003.LOG"));
    QString oldPath = folder.path(QStringLiteral("Argovo 2003.OLD"));
};

TEST_F(CLogTest, EntriesAreAppendedInTheFixedLineFormat)
{
    log.LogItem(QStringLiteral("COpen.NewCase"), QStringLiteral("first"));
    log.LogItem(QStringLiteral("oDataLayer.CloseConnection"), QString());

    EXPECT_EQ(QString::fromUtf8(readAll(logPath)),
              expectedLine(QStringLiteral("COpen.NewCase"), QStringLiteral("first")) +
                  expectedLine(QStringLiteral("oDataLayer.CloseConnection"), QString()));
    EXPECT_TRUE(QString::fromUtf8(readAll(logPath)).endsWith(QStringLiteral("LOG COMMENT: \r\n")));
}

TEST_F(CLogTest, LogOfExactlyMaxEntryBytesStaysInPlace)
{
    const QByteArray line = expectedLine(QStringLiteral("X"), QStringLiteral("y")).toUtf8();
    writeAll(logPath, QByteArray(50000 - line.size(), 'a'));
    writeAll(oldPath, "previous generation");

    log.LogItem(QStringLiteral("X"), QStringLiteral("y"));

    EXPECT_EQ(QFileInfo(logPath).size(), 50000);
    EXPECT_EQ(readAll(oldPath), QByteArray("previous generation"));
}

TEST_F(CLogTest, OneByteMoreRollsTheLogOverReplacingTheOldGeneration)
{
    const QByteArray line = expectedLine(QStringLiteral("X"), QStringLiteral("y")).toUtf8();
    const QByteArray filler(50001 - line.size(), 'a');
    writeAll(logPath, filler);
    writeAll(oldPath, "previous generation");

    log.LogItem(QStringLiteral("X"), QStringLiteral("y"));

    EXPECT_FALSE(QFileInfo::exists(logPath));
    EXPECT_EQ(readAll(oldPath), filler + line);

    // The next entry starts a new log.
    log.LogItem(QStringLiteral("X"), QStringLiteral("y"));
    EXPECT_EQ(readAll(logPath), line);
}

TEST_F(CLogTest, UnwritableLogLosesTheEntrySilently)
{
    log.setFileName(folder.path(QStringLiteral("no such folder/Argovo 2003")));
    EXPECT_NO_THROW(log.LogItem(QStringLiteral("X"), QStringLiteral("y")));
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("no such folder"))));
}

} // namespace
