#include "SqliteConnection.h"
#include "CaseFileGuard.h"
#include "FieldValues.h"

#include "platform/core/Statistics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QScopeGuard>

#include <new>
#include <optional>
#include <vector>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace db {

namespace {

// Jet numbers used here that callers do not test by name.
constexpr int kTableExists = 3010;
constexpr int kDuplicateValue = 3022;
constexpr int kUndefinedFunction = 3085;
constexpr int kAmbiguousField = 3079;
constexpr int kTrailingCharacters = 3142;
constexpr int kRequiredValue = 3314;
constexpr int kValidationRule = 3317;
constexpr int kOutOfMemory = 7;

struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
};

std::optional<FileIdentity> identityOf(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
}

QString afterPrefix(const QString& message, const QString& prefix)
{
    QString rest = message.mid(prefix.size()).trimmed();
    if (rest.startsWith(QLatin1String("main."), Qt::CaseInsensitive))
        rest = rest.mid(5);
    return rest;
}

} // namespace

// Idle compiled statements of one connection, keyed by their text. A taken
// statement leaves the list until its holder lets it go, so none is ever
// shared. After the connection closed, returned statements are finalized.
class StatementCache {
public:
    static constexpr std::size_t kMaxIdle = 24;

    ~StatementCache() { clear(); }

    sqlite3_stmt* take(const QByteArray& sql)
    {
        for (auto it = m_idle.rbegin(); it != m_idle.rend(); ++it) {
            if (it->first == sql) {
                sqlite3_stmt* statement = it->second;
                m_idle.erase(std::next(it).base());
                return statement;
            }
        }
        return nullptr;
    }

    void giveBack(sqlite3_stmt* statement) noexcept
    {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        if (m_closed) {
            sqlite3_finalize(statement);
            return;
        }
        try {
            if (m_idle.size() >= kMaxIdle) {
                sqlite3_finalize(m_idle.front().second);
                m_idle.erase(m_idle.begin());
            }
            m_idle.emplace_back(QByteArray(sqlite3_sql(statement)), statement);
        } catch (...) {
            sqlite3_finalize(statement);
        }
    }

    void clear() noexcept
    {
        for (const auto& entry : m_idle)
            sqlite3_finalize(entry.second);
        m_idle.clear();
        tableNames.clear();
    }

    // Before the handle closes: nothing may stay compiled on it.
    void close() noexcept
    {
        clear();
        m_closed = true;
    }

    int schemaVersion = -1;
    // Stored table names by the name asked for, valid at schemaVersion.
    QHash<QString, QString> tableNames;

private:
    std::vector<std::pair<QByteArray, sqlite3_stmt*>> m_idle;
    bool m_closed = false;
};

void StatementFinalizer::operator()(sqlite3_stmt* statement) const noexcept
{
    if (cache)
        cache->giveBack(statement);
    else
        sqlite3_finalize(statement);
}

AppError closedError(const QString& source)
{
    return AppError(jet::ObjectClosed, source,
                    QStringLiteral("Operation is not allowed when the object is closed."));
}

AppError missingFileError(const QString& path, const QString& source)
{
    return AppError(jet::FileNotFound, source,
                    QStringLiteral("Could not find file '%1'.").arg(path));
}

AppError notDatabaseError(const QString& path, const QString& source)
{
    return AppError(jet::UnrecognizedFormat, source,
                    QStringLiteral("Unrecognized database format '%1'.").arg(path));
}

AppError targetExistsError(const QString& path, const QString& source)
{
    return AppError(
        jet::DatabaseExists, source,
        QStringLiteral("Database '%1' already exists; it is never overwritten.").arg(path));
}

AppError fieldNotFoundError(const QString& name, const QString& source)
{
    return AppError(
        jet::ItemNotFound, source,
        QStringLiteral("Item not found in this collection. There is no field '%1'.").arg(name));
}

AppError invalidStatementError(const QString& source)
{
    return AppError(jet::InvalidStatement, source,
                    QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', "
                                   "'PROCEDURE', 'SELECT', or 'UPDATE'."));
}

AppError tableNotFoundError(const QString& name, const QString& source)
{
    return AppError(jet::TableNotFound, source,
                    QStringLiteral("The database engine cannot find the input table or query '%1'. "
                                   "Make sure it exists and that its name is spelled correctly.")
                        .arg(name));
}

AppError errorFromSqlite(sqlite3* handle, int rc, const QString& source, const QString& sql,
                         const QString& path)
{
    const QString message =
        handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString::fromUtf8(sqlite3_errstr(rc));
    const QString statement = sql.simplified();
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return AppError(
            jet::RecordLocked, source,
            QStringLiteral("Could not update; the case file is currently locked by another "
                           "session. (%1)")
                .arg(message));
    case SQLITE_NOTADB:
        return notDatabaseError(path, source);
    case SQLITE_CANTOPEN:
        return missingFileError(path, source);
    case SQLITE_IOERR:
    case SQLITE_FULL:
        return AppError(jet::DiskIo, source,
                        QStringLiteral("Disk or network error. (%1)").arg(message));
    case SQLITE_READONLY:
        // The engine refuses to write through a handle whose file no longer
        // has the name it was opened by, and calls that a read-only database.
        if (rc == SQLITE_READONLY_DBMOVED)
            return AppError(
                jet::ReadOnly, source,
                QStringLiteral("The case file was moved, renamed, replaced or deleted while it "
                               "was open here, for example by System Maintenance in another copy "
                               "of Argovo, so nothing more can be stored in it. Close the case "
                               "and open it again; what was typed is still on the screen."));
        return AppError(
            jet::ReadOnly, source,
            QStringLiteral("Cannot update. Database or object is read-only. (%1)").arg(message));
    case SQLITE_CORRUPT:
        return AppError(
            jet::Damaged, source,
            QStringLiteral("The database file is damaged and cannot be read. (%1)").arg(message));
    case SQLITE_NOMEM:
        return AppError(kOutOfMemory, source, QStringLiteral("Out of memory."));
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            return AppError(
                kDuplicateValue, source,
                QStringLiteral("The changes you requested were not successful because they "
                               "would create duplicate values in the index or primary key. (%1)")
                    .arg(message));
        if (rc == SQLITE_CONSTRAINT_NOTNULL)
            return AppError(
                kRequiredValue, source,
                QStringLiteral("A field cannot contain a Null value. (%1)").arg(message));
        return AppError(
            kValidationRule, source,
            QStringLiteral("One or more values are prohibited by a rule of the table. (%1)")
                .arg(message));
    default:
        break;
    }

    if (message.startsWith(QLatin1String("no such table:")))
        return tableNotFoundError(afterPrefix(message, QStringLiteral("no such table:")), source);
    if (message.startsWith(QLatin1String("no such column:"))) {
        const QString column = afterPrefix(message, QStringLiteral("no such column:"));
        return AppError(
            jet::TooFewParameters, source,
            QStringLiteral("Too few parameters. Expected 1. The field '%1' is not known in "
                           "the statement '%2'.")
                .arg(column, statement));
    }
    if (message.startsWith(QLatin1String("no such function:")))
        return AppError(kUndefinedFunction, source,
                        QStringLiteral("Undefined function '%1' in expression.")
                            .arg(afterPrefix(message, QStringLiteral("no such function:"))));
    if (message.startsWith(QLatin1String("ambiguous column name:")))
        return AppError(
            kAmbiguousField, source,
            QStringLiteral("The specified field '%1' could refer to more than one table listed "
                           "in the FROM clause of your SQL statement.")
                .arg(afterPrefix(message, QStringLiteral("ambiguous column name:"))));
    if (message.startsWith(QLatin1String("table ")) &&
        message.endsWith(QLatin1String("already exists")))
        return AppError(kTableExists, source,
                        QStringLiteral("Table already exists. (%1)").arg(message));
    if (message.contains(QLatin1String("syntax error")) ||
        message.startsWith(QLatin1String("near ")) ||
        message.contains(QLatin1String("incomplete input")) ||
        message.contains(QLatin1String("unrecognized token")))
        return AppError(jet::SyntaxError, source,
                        statement.isEmpty()
                            ? QStringLiteral("Syntax error in query expression. (%1)").arg(message)
                            : QStringLiteral("Syntax error in query expression '%1'. (%2)")
                                  .arg(statement, message));
    return AppError(
        jet::InvalidArgument, source,
        statement.isEmpty()
            ? QStringLiteral("The database engine could not run the statement. (%1)").arg(message)
            : QStringLiteral("The database engine could not run the statement '%1'. (%2)")
                  .arg(statement, message));
}

QByteArray readFileStart(const QString& path, qsizetype size, const QString& source)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (path.isEmpty() || ::stat(name.constData(), &info) != 0)
        throw missingFileError(path, source);
    // A pipe or a device would keep whoever reads it waiting for ever, and
    // is no case: it is never opened by name but as this check, which does
    // not wait, and is checked again through the handle, as one may be put
    // under the name meanwhile.
    if (!S_ISREG(info.st_mode))
        throw notDatabaseError(path, source);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw missingFileError(path, source);
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        throw notDatabaseError(path, source);
    QByteArray bytes(size, '\0');
    qsizetype read = 0;
    while (read < size) {
        const ssize_t piece = ::read(fd, bytes.data() + read, size_t(size - read));
        if (piece < 0 && errno == EINTR)
            continue;
        if (piece <= 0)
            break;
        read += piece;
    }
    bytes.truncate(read);
    return bytes;
}

void checkIsDatabaseFile(const QString& path, const QString& source)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        throw missingFileError(path, source);
    // An empty file would be taken by the engine as a fresh database; a case
    // file always carries the full header.
    static const QByteArray magic("SQLite format 3\0", 16);
    const QByteArray header = readFileStart(path, 100, source);
    if (header.size() < 100 || !header.startsWith(magic))
        throw notDatabaseError(path, source);
}

SqliteConnection::SqliteConnection(SqliteHandle handle, QString path)
    : m_handle(std::move(handle))
    , m_cache(std::make_shared<StatementCache>())
    , m_path(std::move(path))
{
}

SqliteConnection::~SqliteConnection()
{
    close();
}

std::shared_ptr<SqliteConnection> SqliteConnection::open(const QString& path, const QString& source,
                                                         Mode mode)
{
    checkIsDatabaseFile(path, source);
    sqlite3* raw = nullptr;
    const int flags =
        (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | kOneThread;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    SqliteHandle handle(raw);
    if (rc != SQLITE_OK)
        throw errorFromSqlite(handle.get(), rc, source, QString(), path);
    std::shared_ptr<SqliteConnection> connection(new SqliteConnection(std::move(handle), path));
    if (const auto identity = identityOf(path)) {
        connection->m_identified = true;
        connection->m_device = identity->device;
        connection->m_inode = identity->inode;
    }
    connection->configure(mode, source);
    return connection;
}

std::shared_ptr<SqliteConnection> SqliteConnection::create(const QString& path,
                                                           const QString& source)
{
    if (path.isEmpty())
        throw missingFileError(path, source);
    if (QFileInfo::exists(path))
        throw targetExistsError(path, source);
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | kOneThread, nullptr);
    SqliteHandle handle(raw);
    if (rc != SQLITE_OK)
        throw errorFromSqlite(handle.get(), rc, source, QString(), path);
    std::shared_ptr<SqliteConnection> connection(new SqliteConnection(std::move(handle), path));
    connection->configure(Mode::ReadWrite, source);
    return connection;
}

void SqliteConnection::setWaitForBusyFile(bool wait)
{
    if (m_handle)
        sqlite3_busy_timeout(m_handle.get(), wait ? kBusyTimeoutMs : kShortBusyTimeoutMs);
}

void SqliteConnection::configure(Mode mode, const QString& source)
{
    sqlite3* h = m_handle.get();
    m_readOnly = mode == Mode::ReadOnly;
    sqlite3_extended_result_codes(h, 1);
    sqlite3_busy_timeout(h, kBusyTimeoutMs);
    hardenConnection(h);
    const auto check = [&](const char* sql) {
        char* error = nullptr;
        const int rc = sqlite3_exec(h, sql, nullptr, nullptr, &error);
        sqlite3_free(error);
        if (rc != SQLITE_OK)
            throw errorFromSqlite(h, rc, source, QString::fromUtf8(sql), m_path);
    };
    // The schema and the item tables are read before anything could be
    // written: a file that is no database, or is refused, is left as it came.
    m_checked = checkCaseContent(h, m_path, source);
    if (mode == Mode::ReadWrite) {
        // One self-contained file: no write-ahead log beside it.
        const QString journal = QStringLiteral("PRAGMA journal_mode = DELETE");
        Statement statement = prepare(journal, source);
        const QString journalMode = stepStatement(statement.get(), source, journal)
                                        ? QString::fromUtf8(reinterpret_cast<const char*>(
                                              sqlite3_column_text(statement.get(), 0)))
                                        : QString();
        if (journalMode.compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
            throw AppError(jet::RecordLocked, source,
                           QStringLiteral("The case file %1 is kept in write-ahead mode and could "
                                          "not be returned to one self-contained file; close "
                                          "every other program that has it open and try again.")
                               .arg(QDir::toNativeSeparators(m_path)));
        check("PRAGMA synchronous = FULL");
    }
    registerJetFunctions(h);
}

void SqliteConnection::close()
{
    m_cache->close();
    m_handle.reset();
    m_checked.reset();
}

bool SqliteConnection::isFile(const QString& path) const
{
    if (path.isEmpty())
        return false;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty() && canonical == QFileInfo(m_path).canonicalFilePath())
        return true;
    // Only while the file is held is its inode not given to another file.
    const auto identity = identityOf(path);
    return isOpen() && m_identified && identity && identity->device == m_device &&
           identity->inode == m_inode;
}

sqlite3* SqliteConnection::handle(const QString& source) const
{
    if (!m_handle)
        throw closedError(source);
    return m_handle.get();
}

Statement SqliteConnection::prepare(const QString& sql, const QString& source) const
{
    sqlite3* h = handle(source);
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(h, utf8.constData(), static_cast<int>(utf8.size()), &raw, &tail);
    Statement statement(raw);
    if (rc != SQLITE_OK)
        throw errorFromSqlite(h, rc, source, sql, m_path);
    if (tail && !QByteArray(tail).trimmed().isEmpty()) {
        // Only comments may follow; a second statement may not.
        sqlite3_stmt* next = nullptr;
        const int rcNext = sqlite3_prepare_v2(h, tail, -1, &next, nullptr);
        Statement nextStatement(next);
        if (rcNext != SQLITE_OK || nextStatement)
            throw AppError(kTrailingCharacters, source,
                           QStringLiteral("Characters found after end of SQL statement: '%1'.")
                               .arg(sql.simplified()));
    }
    return statement;
}

Statement SqliteConnection::prepareCached(const QString& sql, const QString& source) const
{
    sqlite3* h = handle(source);
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_stmt* kept = m_cache->take(utf8))
        return Statement(kept, StatementFinalizer{m_cache});
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(h, utf8.constData(), static_cast<int>(utf8.size()),
                                      SQLITE_PREPARE_PERSISTENT, &raw, &tail);
    Statement statement(raw);
    if (rc != SQLITE_OK)
        throw errorFromSqlite(h, rc, source, sql, m_path);
    // Only a text that is one whole statement is kept; any other goes the
    // usual way, with its checks of what follows.
    if (!statement || tail != utf8.constData() + utf8.size())
        return prepare(sql, source);
    return Statement(statement.release(), StatementFinalizer{m_cache});
}

void SqliteConnection::dropStaleStatements(const QString& source) const
{
    const QString sql = QStringLiteral("PRAGMA schema_version");
    int version = -1;
    {
        Statement statement = prepareCached(sql, source);
        if (stepStatement(statement.get(), source, sql))
            version = sqlite3_column_int(statement.get(), 0);
    }
    if (version != m_cache->schemaVersion) {
        m_cache->clear();
        m_cache->schemaVersion = version;
        // A change made through another connection is only in the file: the
        // engine takes it in at the next statement that reads a table, and
        // a statement compiled before that would still see the old columns.
        const QString reload = QStringLiteral("SELECT count(*) FROM sqlite_master");
        Statement statement = prepare(reload, source);
        while (stepStatement(statement.get(), source, reload)) {
        }
    }
}

int SqliteConnection::execute(const QString& sql, const QString& source)
{
    sqlite3* h = handle(source);
    const QByteArray utf8 = sql.toUtf8();
    const char* cursor = utf8.constData();
    const char* end = cursor + utf8.size();
    int changes = 0;
    while (cursor < end) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(h, cursor, static_cast<int>(end - cursor), &raw, &tail);
        Statement statement(raw);
        if (rc != SQLITE_OK)
            throw errorFromSqlite(h, rc, source, sql, m_path);
        if (!statement)
            break;
        while (stepStatement(statement.get(), source, sql)) {
        }
        changes = sqlite3_changes(h);
        cursor = tail;
    }
    return changes;
}

QString SqliteConnection::keptTableName(const QString& name) const
{
    const QString key = name.toCaseFolded();
    const auto kept = m_cache->tableNames.constFind(key);
    if (kept != m_cache->tableNames.constEnd())
        return *kept;
    const QString stored = storedTableName(name);
    m_cache->tableNames.insert(key, stored);
    return stored;
}

bool SqliteConnection::tableExists(const QString& name) const
{
    return !storedTableName(name).isEmpty();
}

QString SqliteConnection::storedTableName(const QString& name) const
{
    const QString source = QStringLiteral("DAO.Database");
    Statement statement = prepareCached(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') "
                       "AND name = ?1 COLLATE NOCASE"),
        source);
    bindValue(statement.get(), 1, name);
    if (stepStatement(statement.get(), source, QString()))
        return QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0)));
    return QString();
}

void SqliteConnection::vacuumInto(const QString& target, const QString& source)
{
    sqlite3* h = handle(source);
    if (target.isEmpty())
        throw missingFileError(target, source);
    if (QFileInfo::exists(target))
        throw targetExistsError(target, source);
    // Only the case's own tables travel into the copy.
    copyCaseTables(*this, target, source);
    Q_UNUSED(h);
}

QString SqliteConnection::nextSavepointName()
{
    return QStringLiteral("argovo_sp_%1").arg(++m_savepointCounter);
}

bool stepStatement(sqlite3_stmt* statement, const QString& source, const QString& sql)
{
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3* h = sqlite3_db_handle(statement);
    throw errorFromSqlite(h, sqlite3_extended_errcode(h), source,
                          sql.isEmpty() ? QString::fromUtf8(sqlite3_sql(statement)) : sql,
                          QString::fromUtf8(sqlite3_db_filename(h, "main")));
}

void bindValue(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(statement, index);
        return;
    }
    if (isIntegerValue(value)) {
        sqlite3_bind_int64(statement, index, value.toLongLong());
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int64(statement, index, value.toBool() ? 1 : 0);
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(statement, index, value.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        // A null data pointer would bind Null; an empty value is a
        // zero-length blob.
        if (bytes.isEmpty()) {
            sqlite3_bind_zeroblob(statement, index, 0);
            return;
        }
        sqlite3_bind_blob64(statement, index, bytes.constData(),
                            static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text64(statement, index, text.constData(),
                            static_cast<sqlite3_uint64>(text.size()), SQLITE_TRANSIENT,
                            SQLITE_UTF8);
        return;
    }
    }
}

Savepoint::Savepoint(SqliteConnection& connection, const QString& source)
    : m_connection(connection)
    , m_source(source)
    , m_name(connection.nextSavepointName())
{
    m_opensTransaction = sqlite3_get_autocommit(m_connection.handle(m_source)) != 0;
    m_connection.execute(QStringLiteral("SAVEPOINT %1").arg(m_name), m_source);
}

Savepoint::~Savepoint()
{
    if (m_done || !m_connection.isOpen())
        return;
    sqlite3* h = m_connection.handle(m_source);
    const QByteArray rollback = QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(m_name).toUtf8();
    sqlite3_exec(h, rollback.constData(), nullptr, nullptr, nullptr);
    // The release can be refused too (another program reading the file):
    // a transaction this savepoint opened must not stay open, holding the
    // file and taking every later write into what closing the case undoes.
    if (m_opensTransaction && !sqlite3_get_autocommit(h))
        sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Savepoint::commit()
{
    m_connection.execute(QStringLiteral("RELEASE %1").arg(m_name), m_source);
    m_done = true;
}

namespace {

// Sample statistics as the engine's StDev and Var aggregates give them:
// Nulls skipped, Null below two values. The arithmetic is the shared
// accumulator's, so grid subtotals and query results agree.
struct AggregateState {
    bool started;
    stats::Accumulator accumulator;
};

AggregateState* aggregateState(sqlite3_context* context, bool create)
{
    auto* state = static_cast<AggregateState*>(
        sqlite3_aggregate_context(context, create ? static_cast<int>(sizeof(AggregateState)) : 0));
    if (state && !state->started) {
        new (&state->accumulator) stats::Accumulator();
        state->started = true;
    }
    return state;
}

void statisticStep(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc != 1)
        return;
    sqlite3_value* value = argv[0];
    int type = sqlite3_value_type(value);
    if (type == SQLITE_NULL)
        return;
    if (type == SQLITE_TEXT || type == SQLITE_BLOB)
        type = sqlite3_value_numeric_type(value);
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) {
        sqlite3_result_error(context, "Data type mismatch in criteria expression.", -1);
        return;
    }
    AggregateState* state = aggregateState(context, true);
    if (!state) {
        sqlite3_result_error_nomem(context);
        return;
    }
    state->accumulator.add(sqlite3_value_double(value));
}

void varianceFinal(sqlite3_context* context)
{
    AggregateState* state = aggregateState(context, false);
    const auto result = state ? state->accumulator.sampleVariance() : std::nullopt;
    if (result)
        sqlite3_result_double(context, *result);
    else
        sqlite3_result_null(context);
}

void stdevFinal(sqlite3_context* context)
{
    AggregateState* state = aggregateState(context, false);
    const auto result = state ? state->accumulator.sampleStdev() : std::nullopt;
    if (result)
        sqlite3_result_double(context, *result);
    else
        sqlite3_result_null(context);
}

} // namespace

void registerJetFunctions(sqlite3* handle)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(handle, "stdev", 1, flags, nullptr, nullptr, &statisticStep,
                               &stdevFinal, nullptr);
    sqlite3_create_function_v2(handle, "var", 1, flags, nullptr, nullptr, &statisticStep,
                               &varianceFinal, nullptr);
}

} // namespace db
