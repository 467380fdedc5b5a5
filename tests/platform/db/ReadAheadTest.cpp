#include "DbTestHelpers.h"

#include "platform/db/ReadAhead.h"

#include "support/ForeignCase.h"
#include "support/TempCase.h"

#include <QSemaphore>
#include <QThread>

#include <atomic>

namespace {

using Rows = std::vector<std::vector<QVariant>>;

const QString kTreeSql = QStringLiteral(
    "select ParentID, ID, Name, ItemType, Weight from Issue order by parentid and id");
const QStringList kColumns{QStringLiteral("parentid"), QStringLiteral("ID"), QStringLiteral("Name"),
                           QStringLiteral("ItemType"), QStringLiteral("Weight")};

struct Outcome {
    Rows rows;
    bool complete = false;
    bool doneCalled = false;
};

Outcome readAhead(const QString& path, const QString& sql = kTreeSql,
                  const QStringList& columns = kColumns)
{
    Outcome outcome;
    dao::ReadAhead read(
        path, QStringLiteral("Issue"), sql, columns,
        [&](const std::vector<QVariant>& values) { outcome.rows.push_back(values); },
        [&] { outcome.doneCalled = true; });
    outcome.complete = read.wait();
    return outcome;
}

// A sample case with items 100 to last added, each under parentOf (an SQL
// expression of i).
QString caseWithItems(TempCase& cases, int last, const char* parentOf)
{
    const QString path = cases.createSample();
    auto db = dao::DBEngine::OpenDatabase(path);
    db->Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n "
                               "WHERE i < %1) INSERT INTO Issue (ID, ParentID, Name, ItemType) "
                               "SELECT i, %2, 'Item ' || i, 'Issue' FROM n")
                    .arg(last)
                    .arg(QLatin1String(parentOf)));
    return path;
}

TEST(ReadAhead, GivesTheRowsAndValuesOfTheSameReadOnTheCasesConnection)
{
    TempCase cases;
    const QString path = cases.createSample();
    auto db = dao::DBEngine::OpenDatabase(path);
    db->Execute(QStringLiteral("update Issue set Weight = NULL, Name = NULL where ID = 2"));
    Rows expected;
    db->ReadEach(kTreeSql, kColumns,
                 [&](const std::vector<QVariant>& values) { expected.push_back(values); });
    ASSERT_EQ(expected.size(), 10u);

    const Outcome outcome = readAhead(path);
    EXPECT_TRUE(outcome.complete);
    EXPECT_TRUE(outcome.doneCalled);
    ASSERT_EQ(outcome.rows.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r)
        for (std::size_t c = 0; c < expected[r].size(); ++c) {
            EXPECT_EQ(outcome.rows[r][c], expected[r][c]) << r << ' ' << c;
            EXPECT_EQ(outcome.rows[r][c].typeId(), expected[r][c].typeId()) << r << ' ' << c;
        }
}

TEST(ReadAhead, ReadsNothingOfAFileItCannotReadPlainlyAndLeavesItAsItWas)
{
    TempCase cases;
    struct Case {
        const char* label;
        QString path;
        QString sql;
    };
    const Case refused[] = {
        {"trigger", foreigncase::withTrigger(cases), kTreeSql},
        {"view in place of the table", foreigncase::withIssueView(cases), kTreeSql},
        {"write-ahead log", foreigncase::writeAhead(cases), kTreeSql},
        {"damaged item table", foreigncase::damaged(cases), kTreeSql},
        {"no such file", cases.path(QStringLiteral("Missing.AGV")), kTreeSql},
        {"no such column", cases.createSample(QStringLiteral("Column.AGV")),
         QStringLiteral("select ID from Issue")},
        {"no statement", cases.createSample(QStringLiteral("Blank.AGV")), QStringLiteral("  ;")},
    };
    for (const Case& c : refused) {
        const QByteArray before = foreigncase::fileBytes(c.path);
        const Outcome outcome = readAhead(c.path, c.sql);
        EXPECT_FALSE(outcome.complete) << c.label;
        EXPECT_FALSE(outcome.doneCalled) << c.label;
        EXPECT_EQ(foreigncase::fileBytes(c.path), before) << c.label;
        if (QLatin1String(c.label) != QLatin1String("damaged item table")) {
            EXPECT_TRUE(outcome.rows.empty()) << c.label;
        }
    }
}

TEST(ReadAhead, AFileChangedAfterItsReadIsNotTakenForWhatWasRead)
{
    // The case is opened, and maybe written to, once the rows are read.
    const struct {
        const char* label;
        const char* write;
        bool stillAsRead;
    } cases[] = {
        {"only opened", nullptr, true},
        {"an item renamed", "update Issue set Name = 'Renamed' where ID = 2", false},
        {"an item added", "insert into Issue (ID, ParentID, Name) values (50, 0, 'New')", false},
    };
    for (const auto& c : cases) {
        TempCase files;
        const QString path = files.createSample();
        QSemaphore read;
        QSemaphore opened;
        dao::ReadAhead ahead(
            path, QStringLiteral("Issue"), kTreeSql, kColumns, [](const std::vector<QVariant>&) {},
            [&] {
                read.release();
                opened.acquire();
            });
        read.acquire();
        auto db = dao::DBEngine::OpenDatabase(path);
        if (c.write)
            db->Execute(QLatin1String(c.write));
        opened.release();
        EXPECT_EQ(ahead.wait(), c.stillAsRead) << c.label;
    }
}

TEST(ReadAhead, AResultOfManyChunksIsHandedOverWholeInItsOrder)
{
    // More rows than the reading keeps ahead of the receiver, and a last
    // chunk that is not full.
    TempCase cases;
    const QString path = caseWithItems(cases, 50000, "i % 7");
    auto db = dao::DBEngine::OpenDatabase(path);
    QStringList expected;
    db->ReadEach(kTreeSql, kColumns, [&](const std::vector<QVariant>& values) {
        expected << values[1].toString() + values[2].toString();
    });
    db->Close();

    QStringList seen;
    dao::ReadAhead read(path, QStringLiteral("Issue"), kTreeSql, kColumns,
                        [&](const std::vector<QVariant>& values) {
                            seen << values[1].toString() + values[2].toString();
                        });
    EXPECT_TRUE(read.wait());
    EXPECT_EQ(seen.size(), 49911);
    EXPECT_EQ(seen, expected);
}

TEST(ReadAhead, LettingGoOfAReadStillGoingStopsIt)
{
    TempCase cases;
    const QString path = caseWithItems(cases, 60000, "0");
    std::atomic<int> rows{0};
    bool done = false;
    {
        dao::ReadAhead read(
            path, QStringLiteral("Issue"), kTreeSql, kColumns,
            [&](const std::vector<QVariant>&) {
                ++rows;
                QThread::usleep(50);
            },
            [&] { done = true; });
        QThread::msleep(20);
    }
    const int seen = rows;
    EXPECT_FALSE(done);
    EXPECT_LT(seen, 60000);
    QThread::msleep(20);
    EXPECT_EQ(rows, seen);
}

} // namespace
