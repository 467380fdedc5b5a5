#include "support/ForeignCase.h"

#include "platform/db/Dao.h"

#include <QFile>

namespace foreigncase {

namespace {

QString sampleWith(TempCase& cases, const QString& name, const QString& extraSql)
{
    return cases.create(name, TempCase::sampleSql() + QLatin1Char('\n') + extraSql);
}

} // namespace

QString withTrigger(TempCase& cases)
{
    return sampleWith(cases, QStringLiteral("Trigger.AGV"),
                      QStringLiteral("CREATE TRIGGER wipe AFTER UPDATE ON Issue "
                                     "BEGIN DELETE FROM Issue; END;"));
}

QString withIssueView(TempCase& cases)
{
    return sampleWith(cases, QStringLiteral("View.AGV"),
                      QStringLiteral("ALTER TABLE Issue RENAME TO IssueRows;"
                                     "CREATE VIEW Issue AS SELECT * FROM IssueRows;"));
}

QString withoutRowids(TempCase& cases)
{
    return sampleWith(
        cases, QStringLiteral("WithoutRowid.AGV"),
        QStringLiteral("CREATE TABLE Keyed (ID INTEGER PRIMARY KEY, ParentID INTEGER, Name TEXT, "
                       "Explanation TEXT, Question TEXT, Weight SMALLINT, Success SMALLINT, "
                       "Jury SMALLINT, Substantive SMALLINT, Procedural SMALLINT, "
                       "Significance SMALLINT, ItemType TEXT) WITHOUT ROWID;"
                       "INSERT INTO Keyed SELECT * FROM Issue; DROP TABLE Issue;"
                       "ALTER TABLE Keyed RENAME TO Issue;"));
}

QString withoutItemType(TempCase& cases)
{
    return sampleWith(cases, QStringLiteral("Untyped.AGV"),
                      QStringLiteral("ALTER TABLE Issue DROP COLUMN ItemType;"));
}

QString withExtraTable(TempCase& cases)
{
    return sampleWith(cases, QStringLiteral("Extra.AGV"),
                      QStringLiteral("CREATE TABLE SyncState (Peer TEXT, Seen INTEGER);"
                                     "INSERT INTO SyncState VALUES ('laptop', 7);"));
}

QString writeAhead(TempCase& cases)
{
    const QString path = cases.createSample(QStringLiteral("Wal.AGV"));
    auto db = dao::DBEngine::OpenDatabase(path);
    db->OpenRecordset(QStringLiteral("PRAGMA journal_mode = WAL"), dao::dbOpenSnapshot)->Close();
    db->Execute(QStringLiteral("update Issue set Name = 'Written in WAL' where ID = 1"));
    db->Close();
    return path;
}

std::pair<qint64, int> rootPageOf(const QString& path, const QString& table)
{
    auto db = dao::DBEngine::OpenDatabase(path);
    auto size = db->OpenRecordset(QStringLiteral("PRAGMA page_size"), dao::dbOpenSnapshot);
    const int pageSize = size->Fields(0).Value().toInt();
    auto root = db->OpenRecordset(
        QStringLiteral("select rootpage from sqlite_master where name = '%1'").arg(table),
        dao::dbOpenSnapshot);
    const qint64 page = root->Fields(0).Value().toLongLong();
    db->Close();
    return {(page - 1) * pageSize, pageSize};
}

QString damaged(TempCase& cases)
{
    const QString path = cases.createSample(QStringLiteral("Damaged.AGV"));
    const auto [offset, pageSize] = rootPageOf(path, QStringLiteral("Issue"));
    Q_UNUSED(pageSize);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        qFatal("cannot damage %s", qPrintable(path));
    // The page's cell count and first cell pointer: the tree no longer adds up.
    file.seek(offset + 3);
    file.write(QByteArray("\x7f\x7f\xff\xf0", 4));
    return path;
}

const std::vector<Refused>& refusedCases()
{
    static const std::vector<Refused> cases = {
        {"TriggerOnIssue", &withTrigger, "a trigger \"wipe\" on table \"Issue\""},
        {"IssueAsAView", &withIssueView, "a view \"Issue\" in place of the case's table"},
        {"DamagedItemTable", &damaged, "is damaged"},
        {"IssueWithoutRowids", &withoutRowids, "a table \"Issue\" without row ids"},
        {"IssueWithoutItemType", &withoutItemType,
         " is not an Argovo case file: its table Issue has no column ItemType.", ""},
    };
    return cases;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace foreigncase
