#pragma once

// Internal to the storage engine: the only place (with its .cpp neighbours in
// this folder) that sees sqlite3. Owners for handles and statements, the
// mapping of engine failures to the Jet numbers callers test, and a savepoint
// guard that rolls back unless committed.

#include "platform/core/AppError.h"

#include <QString>
#include <QVariant>

#include <memory>

#include <sqlite3.h>

namespace db {

struct SqliteCloser {
    void operator()(sqlite3* handle) const noexcept { sqlite3_close_v2(handle); }
};
class StatementCache;
// Finalizes a statement, or hands it back to the connection's cache it was
// taken from.
struct StatementFinalizer {
    std::shared_ptr<StatementCache> cache;
    void operator()(sqlite3_stmt* statement) const noexcept;
};
struct BlobCloser {
    void operator()(sqlite3_blob* blob) const noexcept { sqlite3_blob_close(blob); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;
using BlobHandle = std::unique_ptr<sqlite3_blob, BlobCloser>;

// Every connection is used by the one thread that opened it (a reading
// thread opens its own), so the engine need not take a lock at each call:
// on a large read those locks cost a sixth of the reading.
constexpr int kOneThread = SQLITE_OPEN_NOMUTEX;

// How long any connection waits for a file another one is writing.
constexpr int kBusyTimeoutMs = 5000;
// The wait of a write told not to wait: long enough for another program's
// read to end, short enough that typing does not stall.
constexpr int kShortBusyTimeoutMs = 100;

// Turns an engine result code (with the handle's message, when there is one)
// into the Jet-numbered error of this program.
AppError errorFromSqlite(sqlite3* handle, int rc, const QString& source,
                         const QString& sql = QString(), const QString& path = QString());
AppError closedError(const QString& source);
AppError missingFileError(const QString& path, const QString& source);
AppError notDatabaseError(const QString& path, const QString& source);
AppError targetExistsError(const QString& path, const QString& source);
AppError tableNotFoundError(const QString& name, const QString& source);
// 3265: a result or table without a column of that name.
AppError fieldNotFoundError(const QString& name, const QString& source);
// 3129: a text that holds no statement where one was expected.
AppError invalidStatementError(const QString& source);

// The first size bytes of the regular file at path (fewer when it is
// shorter), read without ever waiting: 3343 for anything but a regular file
// (a pipe, a device), which is never read, 3024 when there is no file or it
// cannot be read.
QByteArray readFileStart(const QString& path, qsizetype size, const QString& source);

// 3024 when path names no file, 3343 when the file does not carry the
// engine's header or is no regular file. Reads the header only; never writes.
void checkIsDatabaseFile(const QString& path, const QString& source);

class SqliteConnection {
public:
    enum class Mode { ReadWrite, ReadOnly };

    // Opens an existing database file, never creating one.
    static std::shared_ptr<SqliteConnection> open(const QString& path, const QString& source,
                                                  Mode mode = Mode::ReadWrite);
    // Creates a new file; 3204 when one exists at path.
    static std::shared_ptr<SqliteConnection> create(const QString& path, const QString& source);

    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    bool isOpen() const { return static_cast<bool>(m_handle); }
    void close();
    const QString& path() const { return m_path; }
    bool readOnly() const { return m_readOnly; }
    // Whether path names the file this connection opened, as the file system
    // sees it: the same path spelt another way, a link to it, or the name it
    // was moved to since.
    bool isFile(const QString& path) const;
    // Whether a write waits for a file another connection is writing (the
    // usual kBusyTimeoutMs) or only briefly (kShortBusyTimeoutMs) before
    // it is refused with 3218.
    void setWaitForBusyFile(bool wait);

    // The raw handle; 3704 when the connection is closed.
    sqlite3* handle(const QString& source) const;

    // Prepares the first statement of sql exactly as given; a null
    // statement when the text holds none. Text after the first statement
    // other than blanks raises 3142.
    Statement prepare(const QString& sql, const QString& source) const;
    // As prepare, for statements run again and again: the compiled statement
    // is kept for the next caller of the same text once this one lets go
    // (reset, bindings cleared). No two holders ever share one.
    Statement prepareCached(const QString& sql, const QString& source) const;
    // Drops the kept statements when the schema changed since they were
    // compiled (here or by another connection): their column lists would
    // be stale until their first step.
    void dropStaleStatements(const QString& source) const;
    // storedTableName, remembered until the schema changes; only right after
    // dropStaleStatements.
    QString keptTableName(const QString& name) const;
    // Runs every statement of sql; returns the rows changed by the last.
    int execute(const QString& sql, const QString& source);

    bool tableExists(const QString& name) const;
    // The table's name as stored, found without regard to case; empty when none.
    QString storedTableName(const QString& name) const;

    QString nextSavepointName();

    // Rows changed by the last action query run through the DAO face.
    int recordsAffected() const { return m_recordsAffected; }
    void setRecordsAffected(int count) { m_recordsAffected = count; }

    // Writes a consistent, compacted copy of the case tables of the open file
    // (nothing else it holds) to a new file, read through this connection:
    // a file deleted or moved since it was opened copies as well. 3204 when
    // target exists. A failed copy leaves no file behind.
    void vacuumInto(const QString& target, const QString& source);

private:
    SqliteConnection(SqliteHandle handle, QString path);
    void configure(Mode mode, const QString& source);

    SqliteHandle m_handle;
    std::shared_ptr<StatementCache> m_cache;
    QString m_path;
    // Kept while open: later connections to the unchanged file skip the
    // quick check it passed.
    std::shared_ptr<const void> m_checked;
    int m_savepointCounter = 0;
    int m_recordsAffected = 0;
    bool m_readOnly = false;
    // The device and inode of the file when it was opened; they stay the
    // file's while the connection holds it, wherever it is moved.
    bool m_identified = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};

// Advances a statement: true with a row, false when done; raises otherwise.
bool stepStatement(sqlite3_stmt* statement, const QString& source, const QString& sql);

// Binds a value already coerced to its stored form (null, qint64, double,
// QString, QByteArray, bool).
void bindValue(sqlite3_stmt* statement, int index, const QVariant& value);

// A savepoint that is rolled back unless commit() ran; nests inside any
// transaction the engine already holds.
class Savepoint {
public:
    Savepoint(SqliteConnection& connection, const QString& source);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    void commit();

private:
    SqliteConnection& m_connection;
    QString m_source;
    QString m_name;
    bool m_opensTransaction = false; // no transaction was open before it
    bool m_done = false;
};

// The engine's own aggregates (stdev, var) on a new handle.
void registerJetFunctions(sqlite3* handle);

} // namespace db
