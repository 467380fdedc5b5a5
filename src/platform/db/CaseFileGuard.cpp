#include "CaseFileGuard.h"

#include "SqliteConnection.h"

#include "platform/core/AppError.h"
#include "platform/core/DurableFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>

namespace db {

namespace {

// The names a copy's two files go by on the connection that fills it.
const char* const kCaseSchema = "argovo_case";
const char* const kCopySchema = "argovo_copy";

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
    return {AppError(jet::Damaged, source,
                     QStringLiteral("The case file %1 is damaged (%2). The case was not opened and "
                                    "the file was left as it is; open a backup copy of the case.")
                         .arg(shown(path), finding))};
}

// A write cut off by a crash leaves its journal beside the file; the engine
// undoes the write from it at the first read, which it can only do where the
// file may be written. The file is whole once that is done: not damaged.
Finding notClosedProperly(const QString& path, const QString& source)
{
    return {AppError(jet::ReadOnly, source,
                     QStringLiteral("The case file %1 was not closed properly: a change was cut "
                                    "off, and %2 beside it holds what undoes it. That can only "
                                    "be done where the file may be written: open the case once "
                                    "in Argovo from a place where it can be changed, then try "
                                    "again. The file and %2 were left as they are.")
                         .arg(shown(path), shown(path + QStringLiteral("-journal"))))};
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

// Each row of a case table is changed by its row id, which a table declared
// WITHOUT ROWID lacks; and the case tree reads these columns of every item.
// Such a file may come from another tool: it is refused before the user
// works in it and every item fails.
const QStringList kTreeColumns = {QStringLiteral("ID"), QStringLiteral("ParentID"),
                                  QStringLiteral("Name"), QStringLiteral("ItemType")};

void refuseUnusableTables(sqlite3* handle, const QString& path, const QString& source)
{
    const QString withoutRowidSql =
        QStringLiteral("SELECT name FROM pragma_table_list WHERE schema = 'main' AND type = "
                       "'table' AND wr AND lower(name) IN (%1) LIMIT 1")
            .arg(caseTableList());
    Statement withoutRowid = prepared(handle, withoutRowidSql, source, path);
    if (stepStatement(withoutRowid.get(), source, withoutRowidSql))
        throw refused(path, source,
                      QStringLiteral("a table \"%1\" without row ids (declared WITHOUT ROWID)")
                          .arg(text(withoutRowid.get(), 0)));

    // A file without the table is no case at all, which its opener tells.
    const QString issueSql = QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                            "AND lower(name) = 'issue'");
    Statement issue = prepared(handle, issueSql, source, path);
    if (!stepStatement(issue.get(), source, issueSql))
        return;
    const QString columnsSql = QStringLiteral("SELECT name FROM pragma_table_info(?1)");
    Statement columns = prepared(handle, columnsSql, source, path);
    bindValue(columns.get(), 1, text(issue.get(), 0));
    QStringList missing = kTreeColumns;
    while (stepStatement(columns.get(), source, columnsSql)) {
        const QString column = text(columns.get(), 0);
        missing.removeIf(
            [&](const QString& name) { return name.compare(column, Qt::CaseInsensitive) == 0; });
    }
    if (missing.isEmpty())
        return;
    throw Finding{AppError(
        jet::UnrecognizedFormat, source,
        QStringLiteral("%1 is not an Argovo case file: its table Issue has no %2 %3. The case "
                       "was not opened and the file was left as it is.")
            .arg(shown(path),
                 missing.size() == 1 ? QStringLiteral("column") : QStringLiteral("columns"),
                 missing.join(QStringLiteral(", "))))};
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

// The index the engine makes by itself for a UNIQUE column or a key that is
// not the row id, which it names after its table and a number.
bool isAutomaticIndex(const char* index, const char* table, const QString& declared)
{
    if (!index || !table || QString::fromUtf8(table).compare(declared, Qt::CaseInsensitive) != 0)
        return false;
    const QString prefix = QStringLiteral("sqlite_autoindex_%1_").arg(QString::fromUtf8(table));
    const QString name = QString::fromUtf8(index);
    if (!name.startsWith(prefix) || name.size() == prefix.size())
        return false;
    return std::all_of(name.cbegin() + prefix.size(), name.cend(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// While the copy declares a table (declared, its name), the stored
// declaration may only declare: a declaration that would select or call a
// function is no table of ours. Of indexes it makes only the automatic one
// its constraints need.
int declarationOnly(void* declared, int action, const char* first, const char* second, const char*,
                    const char*)
{
    switch (action) {
    case SQLITE_CREATE_TABLE:
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_READ:
        return SQLITE_OK;
    case SQLITE_CREATE_INDEX:
        return isAutomaticIndex(first, second, *static_cast<const QString*>(declared))
                   ? SQLITE_OK
                   : SQLITE_DENY;
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

// A file attached to a connection for one copy, let go of whatever
// happens: the copy's transaction is rolled back when it did not commit, the
// file is detached and the connection may attach nothing again.
class AttachedCopy {
public:
    AttachedCopy(sqlite3* handle, const QString& file, const QString& name, const QString& source)
        : m_handle(handle)
        , m_name(name)
        , m_source(source)
    {
        // A copy an earlier failure could not let go of is let go of first,
        // or this one could never be attached.
        if (sqlite3_db_filename(handle, name.toUtf8().constData()))
            detach();
        sqlite3_limit(handle, SQLITE_LIMIT_ATTACHED, 1);
        try {
            const QString attach = QStringLiteral("ATTACH ?1 AS %1").arg(name);
            Statement statement = prepared(handle, attach, source, file);
            bindValue(statement.get(), 1, file);
            stepStatement(statement.get(), source, attach);
        } catch (...) {
            sqlite3_limit(handle, SQLITE_LIMIT_ATTACHED, 0);
            throw;
        }
    }
    ~AttachedCopy()
    {
        // Attaching needs the connection outside any transaction, so one
        // still open here is the copy's own.
        if (!sqlite3_get_autocommit(m_handle))
            sqlite3_exec(m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
        if (sqlite3_db_filename(m_handle, m_name.toUtf8().constData()))
            sqlite3_exec(m_handle, QStringLiteral("DETACH %1").arg(m_name).toUtf8().constData(),
                         nullptr, nullptr, nullptr);
        sqlite3_limit(m_handle, SQLITE_LIMIT_ATTACHED, 0);
    }
    // Lets go of the file, or raises: a copy still attached (another
    // statement of the connection still reading) is no finished copy.
    void detach() { runStep(m_handle, QStringLiteral("DETACH %1").arg(m_name), m_source, m_name); }
    AttachedCopy(const AttachedCopy&) = delete;
    AttachedCopy& operator=(const AttachedCopy&) = delete;

private:
    sqlite3* m_handle;
    QString m_name;
    QString m_source;
};

// A table's columns, and which hold documents: a row's whole record passes
// through memory when copied, and a document may be near a gigabyte.
struct CopiedColumns {
    QStringList names;
    QStringList documents;     // declared BLOB
    bool keyedByRowid = false; // an INTEGER PRIMARY KEY: the copy keeps each row's id
};

CopiedColumns columnsOf(sqlite3* handle, const QString& schema, const QString& table,
                        const QString& source, const QString& path)
{
    CopiedColumns columns;
    const QString sql = QStringLiteral("PRAGMA %1.table_info(%2)").arg(schema, quotedName(table));
    Statement info = prepared(handle, sql, source, path);
    while (stepStatement(info.get(), source, sql)) {
        const QString name = text(info.get(), 1);
        const QString type = text(info.get(), 2);
        columns.names << name;
        if (type.contains(QLatin1String("BLOB"), Qt::CaseInsensitive))
            columns.documents << name;
        if (sqlite3_column_int(info.get(), 5) == 1 &&
            type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
            columns.keyedByRowid = true;
    }
    return columns;
}

// The documents of a table whose rows were copied with room of their size:
// each is streamed into its room in pieces, so memory stays flat whatever
// its size.
void streamDocuments(sqlite3* handle, const QString& table, const QString& column,
                     const QString& into, const QString& from, const QString& source,
                     const QString& target)
{
    constexpr int kPiece = 1 << 20;
    const QString rowsSql =
        QStringLiteral("SELECT rowid, length(%1) FROM %2.%3 WHERE typeof(%1) = 'blob' AND "
                       "length(%1) > 0")
            .arg(quotedName(column), from, quotedName(table));
    Statement rows = prepared(handle, rowsSql, source, target);
    QByteArray piece(kPiece, Qt::Uninitialized);
    const QByteArray tableName = table.toUtf8();
    const QByteArray columnName = column.toUtf8();
    while (stepStatement(rows.get(), source, rowsSql)) {
        const sqlite3_int64 rowid = sqlite3_column_int64(rows.get(), 0);
        const int size = sqlite3_column_int(rows.get(), 1);
        sqlite3_blob* read = nullptr;
        int rc = sqlite3_blob_open(handle, from.toUtf8().constData(), tableName.constData(),
                                   columnName.constData(), rowid, 0, &read);
        BlobHandle reading(read);
        sqlite3_blob* write = nullptr;
        if (rc == SQLITE_OK)
            rc = sqlite3_blob_open(handle, into.toUtf8().constData(), tableName.constData(),
                                   columnName.constData(), rowid, 1, &write);
        BlobHandle writing(write);
        for (int offset = 0; rc == SQLITE_OK && offset < size; offset += kPiece) {
            const int length = std::min(kPiece, size - offset);
            rc = sqlite3_blob_read(reading.get(), piece.data(), length, offset);
            if (rc == SQLITE_OK)
                rc = sqlite3_blob_write(writing.get(), piece.constData(), length, offset);
        }
        if (rc != SQLITE_OK)
            throw errorFromSqlite(handle, rc, source, rowsSql, target);
    }
}

// Fills the copy's declared tables with the case's rows in one transaction
// on handle, where the case is schema from and the copy schema into: one
// read of the case and one write of the copy; the case itself is never
// locked for writing, so a read-only case copies too.
void copyRows(sqlite3* handle, const QStringList& names, bool counters, const QString& into,
              const QString& from, const QString& source, const QString& target)
{
    runStep(handle, QStringLiteral("BEGIN"), source, target);
    for (const QString& name : names) {
        const CopiedColumns columns = columnsOf(handle, into, name, source, target);
        if (columns.documents.isEmpty() || !columns.keyedByRowid) {
            runStep(handle,
                    QStringLiteral("INSERT INTO %1.%2 SELECT * FROM %3.%2")
                        .arg(into, quotedName(name), from),
                    source, target);
            continue;
        }
        // Each document first gets room of its size, then its bytes.
        QStringList listed;
        QStringList selected;
        for (const QString& column : columns.names) {
            listed << quotedName(column);
            selected << (columns.documents.contains(column)
                             ? QStringLiteral("CASE WHEN typeof(%1) = 'blob' THEN "
                                              "zeroblob(length(%1)) ELSE %1 END")
                                   .arg(quotedName(column))
                             : quotedName(column));
        }
        runStep(handle,
                QStringLiteral("INSERT INTO %1.%2 (%3) SELECT %4 FROM %5.%2")
                    .arg(into, quotedName(name), listed.join(QLatin1Char(',')),
                         selected.join(QLatin1Char(',')), from),
                source, target);
        for (const QString& column : columns.documents)
            streamDocuments(handle, name, column, into, from, source, target);
    }
    // Ids are never reused: the copy continues each table's count where
    // the case left it, past deleted rows.
    if (counters) {
        runStep(handle, QStringLiteral("DELETE FROM %1.sqlite_sequence").arg(into), source, target);
        runStep(handle,
                QStringLiteral("INSERT INTO %1.sqlite_sequence (name, seq) SELECT name, seq "
                               "FROM %2.sqlite_sequence WHERE lower(name) IN (%3)")
                    .arg(into, from, caseTableList()),
                source, target);
    }
    runStep(handle, QStringLiteral("COMMIT"), source, target);
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
        refuseUnusableTables(handle, path, source);
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
        if (sqlite3_extended_errcode(handle) == SQLITE_READONLY_ROLLBACK)
            throw notClosedProperly(path, source).error;
        throw damaged(path, source, QString::fromUtf8(sqlite3_errmsg(handle))).error;
    }
}

void copyCaseTables(const SqliteConnection& from, const QString& target, const QString& source,
                    bool sameAccess)
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
    QStringList names;
    QStringList declarations;
    {
        const QString tablesSql =
            QStringLiteral("SELECT name, sql FROM main.sqlite_master WHERE type = 'table' AND "
                           "lower(name) IN (%1) ORDER BY rowid")
                .arg(caseTableList());
        Statement tables = prepared(fromHandle, tablesSql, source, from.path());
        while (stepStatement(tables.get(), source, tablesSql)) {
            names << text(tables.get(), 0);
            declarations << text(tables.get(), 1);
        }
    }

    QFileDevice::Permissions access;
    const auto giveAccess = [&](QFileDevice::Permissions bits) {
        if (!QFile::setPermissions(target, bits))
            throw AppError(jet::ReadOnly, source,
                           QStringLiteral("The permissions of %1 cannot be set on its copy %2.")
                               .arg(shown(from.path()), shown(target)));
    };

    try {
        bool counters = false;
        {
            auto copy = SqliteConnection::create(target, source);
            // Closed to others as the case is before a row is in it; its
            // owner fills it.
            if (sameAccess) {
                access = durable::accessForCopy(from.path(), target);
                giveAccess(access | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            }
            sqlite3* h = copy->handle(source);
            for (const QString& setting : layout)
                runStep(h, setting, source, target);
            for (int i = 0; i < names.size(); ++i) {
                sqlite3_set_authorizer(h, &declarationOnly, &names[i]);
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
            }
            counters = !names.isEmpty() && copy->tableExists(QStringLiteral("sqlite_sequence"));
            copy->close();
        }

        if (!from.readOnly()) {
            // The rows are read through the connection that holds the case:
            // it still reaches a file deleted or moved since it was opened,
            // which the file's path no longer does.
            AttachedCopy attached(fromHandle, target, QLatin1String(kCopySchema), source);
            copyRows(fromHandle, names, counters, QLatin1String(kCopySchema),
                     QStringLiteral("main"), source, target);
            attached.detach();
        } else {
            // A connection that may not write cannot fill an attached copy:
            // the copy reads the case by its path instead, opened without
            // the right to create a file there.
            auto copy = SqliteConnection::open(target, source);
            sqlite3* h = copy->handle(source);
            {
                AttachedCopy attached(h, from.path(), QLatin1String(kCaseSchema), source);
                copyRows(h, names, counters, QStringLiteral("main"), QLatin1String(kCaseSchema),
                         source, target);
                attached.detach();
            }
            copy->close();
        }

        // Kept only once it opens as a case: its header, its schema and the
        // quick check of its item tables.
        try {
            SqliteConnection::open(target, source, SqliteConnection::Mode::ReadOnly)->close();
        } catch (const AppError& error) {
            throw AppError(error.number(), source,
                           QStringLiteral("The copy %1 does not open as a case: %2")
                               .arg(shown(target), error.description()));
        }
        if (sameAccess)
            giveAccess(access);
    } catch (...) {
        // The target did not exist before: whatever is there now is ours.
        QFile::remove(target);
        QFile::remove(target + QStringLiteral("-journal"));
        throw;
    }
}

} // namespace db
