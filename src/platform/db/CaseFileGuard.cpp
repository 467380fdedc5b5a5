#include "CaseFileGuard.h"

#include "SqliteConnection.h"

#include "platform/core/AppError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <map>
#include <mutex>

namespace db {

namespace {

constexpr int kDamaged = 3049;
const char* const kCopySchema = "argovo_case";

// The tables whose damage the open looks for: small beside the documents,
// so the check stays quick whatever the case's documents weigh.
const QStringList kCheckedTables = {QStringLiteral("Issue"), QStringLiteral("Bookmarks")};

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString text(sqlite3_stmt* statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
}

Statement prepared(sqlite3* handle, const QString& sql, const QString& source, const QString& path)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(handle, utf8.constData(), -1, &raw, nullptr);
    Statement statement(raw);
    if (rc != SQLITE_OK)
        throw errorFromSqlite(handle, sqlite3_extended_errcode(handle), source, sql, path);
    return statement;
}

QString quotedLiteral(const QString& value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString caseTableList()
{
    QStringList names;
    for (const QString& name : caseTableNames())
        names << quotedLiteral(name.toLower());
    return names.join(QLatin1Char(','));
}

// What the check found, told apart from a failure of the engine while looking.
struct Finding {
    AppError error;
};

Finding refused(const QString& path, const QString& source, const QString& found)
{
    return {AppError(jet::UnrecognizedFormat, source,
                     QStringLiteral("The case file %1 holds %2, which Argovo never makes: it may "
                                    "have been changed by another program. The case was not "
                                    "opened and the file was left as it is.")
                         .arg(shown(path), found))};
}

Finding damaged(const QString& path, const QString& source, const QString& finding)
{
    return {AppError(kDamaged, source,
                     QStringLiteral("The case file %1 is damaged (%2). The case was not opened and "
                                    "the file was left as it is; open a backup copy of the case.")
                         .arg(shown(path), finding))};
}

void refuseForeignObjects(sqlite3* handle, const QString& path, const QString& source)
{
    const QString sql =
        QStringLiteral("SELECT type, name, tbl_name FROM sqlite_master WHERE type = 'trigger' "
                       "OR (type = 'view' AND lower(name) IN (%1)) ORDER BY rowid LIMIT 1")
            .arg(caseTableList());
    Statement statement = prepared(handle, sql, source, path);
    if (!stepStatement(statement.get(), source, sql))
        return;
    const QString type = text(statement.get(), 0);
    const QString name = text(statement.get(), 1);
    if (type == QLatin1String("trigger"))
        throw refused(path, source,
                      QStringLiteral("a trigger \"%1\" on table \"%2\", commands that run by "
                                     "themselves when the case changes")
                          .arg(name, text(statement.get(), 2)));
    throw refused(
        path, source,
        QStringLiteral("a view \"%1\" in place of the case's table of that name").arg(name));
}

std::atomic<int> gQuickChecks{0};

void quickCheck(sqlite3* handle, const QString& path, const QString& source)
{
    ++gQuickChecks;
    const QString tablesSql =
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND lower(name) IN "
                       "('issue','bookmarks')");
    Statement tables = prepared(handle, tablesSql, source, path);
    QStringList present;
    while (stepStatement(tables.get(), source, tablesSql))
        present << text(tables.get(), 0);
    for (const QString& table : present) {
        const QString sql = QStringLiteral("PRAGMA quick_check(%1)").arg(quotedLiteral(table));
        Statement check = prepared(handle, sql, source, path);
        if (stepStatement(check.get(), source, sql)) {
            const QString finding = text(check.get(), 0);
            if (finding != QLatin1String("ok"))
                throw damaged(path, source, finding);
        }
    }
}

// While the copy declares a table, the stored declaration may only declare:
// a declaration that would select or call a function is no table of ours.
int declarationOnly(void*, int action, const char*, const char*, const char*, const char*)
{
    switch (action) {
    case SQLITE_CREATE_TABLE:
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_READ:
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

void runStep(sqlite3* handle, const QString& sql, const QString& source, const QString& path)
{
    Statement statement = prepared(handle, sql, source, path);
    while (stepStatement(statement.get(), source, sql)) {
    }
}

QString quotedName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

// What a file looked like when it was checked: any write since changes its
// times, a commit of the engine also its header's change counter.
struct CheckedFile {
    qint64 size = -1;
    qint64 modified = 0;
    qint64 changed = 0;
    QByteArray header;

    static CheckedFile of(const QString& path)
    {
        const QFileInfo info(path);
        CheckedFile file;
        file.size = info.size();
        file.modified = info.lastModified().toMSecsSinceEpoch();
        file.changed = info.metadataChangeTime().toMSecsSinceEpoch();
        QFile bytes(path);
        if (bytes.open(QIODevice::ReadOnly))
            file.header = bytes.read(100);
        return file;
    }

    bool operator==(const CheckedFile& other) const
    {
        return size == other.size && modified == other.modified && changed == other.changed &&
               header == other.header;
    }
};

namespace {

// The marks of the open connections, by file.
struct CheckedFiles {
    std::mutex mutex;
    std::map<QString, std::weak_ptr<const CheckedFile>> byPath;
};

CheckedFiles& checkedFiles()
{
    static CheckedFiles files;
    return files;
}

QString fileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

int quickChecksRun()
{
    return gQuickChecks;
}

const QStringList& caseTableNames()
{
    static const QStringList names = {QStringLiteral("Issue"), QStringLiteral("Bookmarks"),
                                      QStringLiteral("CodeFiles"), QStringLiteral("CodeDBVersion")};
    return names;
}

void hardenConnection(sqlite3* handle)
{
    sqlite3_db_config(handle, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_enable_load_extension(handle, 0);
    // Only the program's own copy attaches a file, and raises this for it.
    sqlite3_limit(handle, SQLITE_LIMIT_ATTACHED, 0);
}

CheckMark checkCaseContent(sqlite3* handle, const QString& path, const QString& source)
{
    try {
        // Reading the schema is the first real read of the file.
        runStep(handle, QStringLiteral("PRAGMA schema_version"), source, path);
        refuseForeignObjects(handle, path, source);
        // Taken before the check: a change while it runs is seen next time.
        auto seen = std::make_shared<const CheckedFile>(CheckedFile::of(path));
        const QString key = fileKey(path);
        CheckedFiles& files = checkedFiles();
        {
            const std::lock_guard lock(files.mutex);
            const auto found = files.byPath.find(key);
            if (found != files.byPath.end()) {
                if (CheckMark mark = found->second.lock(); mark && *mark == *seen)
                    return mark;
            }
        }
        quickCheck(handle, path, source);
        const std::lock_guard lock(files.mutex);
        for (auto it = files.byPath.begin(); it != files.byPath.end();)
            it = it->second.expired() ? files.byPath.erase(it) : std::next(it);
        files.byPath[key] = seen;
        return seen;
    } catch (const Finding& finding) {
        throw finding.error;
    } catch (const AppError& error) {
        // No database at all, or a file busy elsewhere, is told as such;
        // whatever else keeps the engine from reading the schema or the
        // checked tables is damage.
        if (error.number() == jet::UnrecognizedFormat || error.number() == jet::RecordLocked ||
            error.number() == jet::DiskIo)
            throw;
        throw damaged(path, source, QString::fromUtf8(sqlite3_errmsg(handle))).error;
    }
}

void copyCaseTables(const SqliteConnection& from, const QString& target, const QString& source)
{
    sqlite3* fromHandle = from.handle(source);
    if (target.isEmpty())
        throw missingFileError(target, source);
    if (QFileInfo::exists(target))
        throw targetExistsError(target, source);

    // The copy is laid out as the case is; an attached file must share the
    // text encoding of the connection's own.
    QStringList layout;
    for (const char* setting : {"page_size", "encoding"}) {
        const QString sql = QStringLiteral("PRAGMA %1").arg(QLatin1String(setting));
        Statement statement = prepared(fromHandle, sql, source, from.path());
        if (stepStatement(statement.get(), source, sql))
            layout << QStringLiteral("PRAGMA %1 = %2")
                          .arg(QLatin1String(setting), quotedLiteral(text(statement.get(), 0)));
    }

    try {
        auto copy = SqliteConnection::create(target, source);
        sqlite3* h = copy->handle(source);
        for (const QString& setting : layout)
            runStep(h, setting, source, target);

        sqlite3_limit(h, SQLITE_LIMIT_ATTACHED, 1);
        {
            const QString attach =
                QStringLiteral("ATTACH ?1 AS %1").arg(QLatin1String(kCopySchema));
            Statement statement = prepared(h, attach, source, target);
            bindValue(statement.get(), 1, from.path());
            stepStatement(statement.get(), source, attach);
        }

        // One read of the case and one write of the copy; the case itself
        // is never locked for writing, so a read-only case copies too.
        runStep(h, QStringLiteral("BEGIN"), source, target);
        const QString tablesSql =
            QStringLiteral("SELECT name, sql FROM %1.sqlite_master WHERE type = 'table' AND "
                           "lower(name) IN (%2) ORDER BY rowid")
                .arg(QLatin1String(kCopySchema), caseTableList());
        QStringList names;
        QStringList declarations;
        {
            Statement tables = prepared(h, tablesSql, source, target);
            while (stepStatement(tables.get(), source, tablesSql)) {
                names << text(tables.get(), 0);
                declarations << text(tables.get(), 1);
            }
        }
        for (int i = 0; i < names.size(); ++i) {
            sqlite3_set_authorizer(h, &declarationOnly, nullptr);
            Statement declare;
            try {
                // One statement only: text after it raises instead of running.
                declare = copy->prepare(declarations[i], source);
            } catch (...) {
                sqlite3_set_authorizer(h, nullptr, nullptr);
                throw;
            }
            sqlite3_set_authorizer(h, nullptr, nullptr);
            if (!declare)
                throw AppError(jet::UnrecognizedFormat, source,
                               QStringLiteral("Table %1 of %2 has no declaration to copy.")
                                   .arg(names[i], shown(from.path())));
            stepStatement(declare.get(), source, declarations[i]);
            runStep(h,
                    QStringLiteral("INSERT INTO main.%1 SELECT * FROM %2.%1")
                        .arg(quotedName(names[i]), QLatin1String(kCopySchema)),
                    source, target);
        }
        // Ids are never reused: the copy continues each table's count where
        // the case left it, past deleted rows.
        if (!names.isEmpty() && copy->tableExists(QStringLiteral("sqlite_sequence"))) {
            runStep(h, QStringLiteral("DELETE FROM main.sqlite_sequence"), source, target);
            runStep(h,
                    QStringLiteral("INSERT INTO main.sqlite_sequence (name, seq) SELECT name, seq "
                                   "FROM %1.sqlite_sequence WHERE lower(name) IN (%2)")
                        .arg(QLatin1String(kCopySchema), caseTableList()),
                    source, target);
        }
        runStep(h, QStringLiteral("COMMIT"), source, target);
        runStep(h, QStringLiteral("DETACH %1").arg(QLatin1String(kCopySchema)), source, target);
        sqlite3_limit(h, SQLITE_LIMIT_ATTACHED, 0);
        copy->close();
    } catch (...) {
        // The target did not exist before: whatever is there now is ours.
        QFile::remove(target);
        QFile::remove(target + QStringLiteral("-journal"));
        throw;
    }
}

} // namespace db
