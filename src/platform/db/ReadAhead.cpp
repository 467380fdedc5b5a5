#include "ReadAhead.h"

#include "CaseFileGuard.h"
#include "FieldValues.h"
#include "JetSql.h"
#include "SqliteConnection.h"
#include "StoredRows.h"

#include <QFile>
#include <QScopeGuard>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace dao {

struct ReadAhead::Shared {
    QString path;
    QString table;
    // Already translated from Jet's SQL.
    QString sql;
    QStringList columns;
    Row row;
    std::function<void()> done;
    // The reading connection while it is open, for a stop from the owner.
    std::mutex mutex;
    sqlite3* reading = nullptr;
    bool complete = false;
    // The file's change counter as the rows were read.
    QByteArray readAt;
    // Set when the owner lets go: rows not yet handed over are dropped.
    std::atomic<bool> stopping = false;
    std::thread thread;

    void run();
    bool read(sqlite3* handle);
    bool handOver(sqlite3_stmt* statement, const std::vector<db::DeclaredType>& types,
                  const std::vector<int>& at);
};

namespace {

// A file that keeps a write-ahead log is switched back to one file by the
// open; a reader alongside would stand in its way. Looked at on the caller's
// thread before the reading starts: closing a descriptor of the file drops
// every lock this process holds on it, the engine's included, and the
// caller's connection may be writing by the time the reading thread runs.
bool keepsWriteAheadLog(const QString& path)
{
    QByteArray header;
    try {
        header = db::readFileStart(path, 20, QString());
    } catch (const AppError&) {
        // Nothing to read ahead of (a pipe, a device, no file): the open
        // tells why.
        return true;
    }
    return header.size() < 20 || header[18] == 2 || header[19] == 2;
}

using Compiled = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

Compiled compile(sqlite3* handle, const QString& sql)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()), &raw, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(raw);
        raw = nullptr;
    }
    return Compiled(raw, sqlite3_finalize);
}

// A connection that only reads the file at path, hardened as every other;
// none when the file cannot be opened.
db::SqliteHandle openReader(const QString& path)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   SQLITE_OPEN_READONLY | db::kOneThread, nullptr);
    db::SqliteHandle handle(raw);
    if (rc != SQLITE_OK)
        return db::SqliteHandle(nullptr);
    db::hardenConnection(handle.get());
    sqlite3_busy_timeout(handle.get(), db::kBusyTimeoutMs);
    return handle;
}

// The change counter in the file's header, which every commit to the file
// changes, read through the connection's own file so that its locks stay.
// The connection holds a read transaction: no commit is under way meanwhile.
QByteArray changeCounter(sqlite3* handle)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(handle, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods)
        return {};
    char bytes[4];
    if (file->pMethods->xRead(file, bytes, sizeof bytes, 24) != SQLITE_OK)
        return {};
    return QByteArray(bytes, sizeof bytes);
}

// The change counter of the file at path as it is now; empty when it cannot
// be read.
QByteArray changeCounterNow(const QString& path)
{
    const db::SqliteHandle handle = openReader(path);
    if (!handle)
        return {};
    if (sqlite3_exec(handle.get(), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return {};
    QByteArray counter;
    if (sqlite3_exec(handle.get(), "SELECT 1 FROM sqlite_master LIMIT 1", nullptr, nullptr,
                     nullptr) == SQLITE_OK)
        counter = changeCounter(handle.get());
    sqlite3_exec(handle.get(), "COMMIT", nullptr, nullptr, nullptr);
    return counter;
}

} // namespace

bool ReadAhead::Shared::read(sqlite3* handle)
{
    // One read transaction, so that the change counter is the one of the
    // rows read; it ends before done is called.
    if (sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    const auto endRead =
        qScopeGuard([handle] { sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr); });
    // Nothing but the plain table is read: the open refuses anything else.
    Compiled foreign =
        compile(handle, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'trigger' OR "
                                       "(type = 'view' AND lower(name) = lower(?1))"));
    if (!foreign)
        return false;
    const QByteArray tableName = table.toUtf8();
    sqlite3_bind_text(foreign.get(), 1, tableName.constData(), int(tableName.size()),
                      SQLITE_TRANSIENT);
    if (sqlite3_step(foreign.get()) != SQLITE_DONE)
        return false;
    readAt = changeCounter(handle);
    if (readAt.isEmpty())
        return false;

    Compiled statement = compile(handle, sql);
    if (!statement)
        return false;
    const db::ResultColumns result = db::resultColumns(statement.get());
    std::vector<int> at;
    for (const QString& name : columns) {
        at.push_back(result.indexOf(name));
        if (at.back() < 0)
            return false;
    }
    return handOver(statement.get(), result.types, at);
}

// The engine's rows are taken in chunks as they come, and turned into
// values and handed to row on a second thread meanwhile, so the reading
// waits for neither.
bool ReadAhead::Shared::handOver(sqlite3_stmt* statement,
                                 const std::vector<db::DeclaredType>& types,
                                 const std::vector<int>& at)
{
    constexpr int kChunkRows = 2048;
    // Enough chunks ahead that neither side waits often, few enough that a
    // slow receiver does not gather the whole result.
    constexpr std::size_t kChunksAhead = 16;

    std::mutex queueMutex;
    std::condition_variable queueChanged;
    std::deque<std::unique_ptr<db::StoredRows>> queue;
    bool allQueued = false;
    bool handedAll = true;
    std::atomic<bool> receiverFailed = false;

    std::thread receiver([&] {
        std::vector<QVariant> values(at.size());
        try {
            for (;;) {
                std::unique_ptr<db::StoredRows> chunk;
                {
                    std::unique_lock lock(queueMutex);
                    queueChanged.wait(lock, [&] { return !queue.empty() || allQueued; });
                    if (queue.empty())
                        return;
                    chunk = std::move(queue.front());
                    queue.pop_front();
                }
                queueChanged.notify_all();
                for (int r = 0; r < chunk->rowCount(); ++r) {
                    if (stopping)
                        throw std::runtime_error("stopped");
                    for (std::size_t i = 0; i < at.size(); ++i)
                        values[i] = chunk->value(r, at[i]);
                    row(values);
                }
            }
        } catch (...) {
            receiverFailed = true;
            std::lock_guard lock(queueMutex);
            queue.clear();
            queueChanged.notify_all();
        }
    });

    const auto queueChunk = [&](std::unique_ptr<db::StoredRows> chunk) {
        {
            std::unique_lock lock(queueMutex);
            queueChanged.wait(lock, [&] { return queue.size() < kChunksAhead || receiverFailed; });
            if (!receiverFailed)
                queue.push_back(std::move(chunk));
        }
        queueChanged.notify_all();
    };
    {
        // However the reading ends, the receiver is told and waited for.
        const auto receiverDone = qScopeGuard([&] {
            {
                std::lock_guard lock(queueMutex);
                allQueued = true;
            }
            queueChanged.notify_all();
            receiver.join();
        });
        auto chunk = std::make_unique<db::StoredRows>(types);
        for (;;) {
            const int rc = sqlite3_step(statement);
            if (rc == SQLITE_ROW && !receiverFailed) {
                chunk->append(statement);
                if (chunk->rowCount() == kChunkRows) {
                    queueChunk(std::move(chunk));
                    chunk = std::make_unique<db::StoredRows>(types);
                }
                continue;
            }
            handedAll = rc == SQLITE_DONE;
            break;
        }
        if (handedAll && !chunk->empty())
            queueChunk(std::move(chunk));
    }
    return handedAll && !receiverFailed;
}

void ReadAhead::Shared::run()
{
    const db::SqliteHandle handle = openReader(path);
    if (!handle)
        return;
    db::registerJetFunctions(handle.get());
    // An interrupt from the owner can come before the connection is known to
    // it; the engine also asks now and then whether to stop.
    sqlite3_progress_handler(
        handle.get(), 1000,
        [](void* shared) { return static_cast<Shared*>(shared)->stopping.load() ? 1 : 0; }, this);
    {
        std::lock_guard lock(mutex);
        reading = handle.get();
    }
    bool allRead = false;
    try {
        allRead = read(handle.get());
        if (allRead && done)
            done();
    } catch (...) {
        allRead = false;
    }
    std::lock_guard lock(mutex);
    reading = nullptr;
    complete = allRead;
}

ReadAhead::ReadAhead(const QString& path, const QString& table, const QString& sql,
                     const QStringList& columns, Row row, std::function<void()> done)
    : m_shared(std::make_unique<Shared>())
{
    m_shared->path = path;
    m_shared->table = table;
    m_shared->columns = columns;
    m_shared->row = std::move(row);
    m_shared->done = std::move(done);
    // Only ever a help: a query that does not translate, or a thread that
    // cannot be had, leaves the caller to read itself.
    try {
        // Translated here, not on the reading thread: the translation's
        // tables are the caller's.
        m_shared->sql = db::translateJetSql(db::withoutTrailingSemicolons(sql));
        if (keepsWriteAheadLog(path))
            return;
        m_shared->thread = std::thread([shared = m_shared.get()] { shared->run(); });
    } catch (...) {
    }
}

ReadAhead::~ReadAhead()
{
    m_shared->stopping = true;
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->reading)
            sqlite3_interrupt(m_shared->reading);
    }
    if (m_shared->thread.joinable())
        m_shared->thread.join();
}

bool ReadAhead::wait()
{
    if (m_shared->thread.joinable())
        m_shared->thread.join();
    {
        std::lock_guard lock(m_shared->mutex);
        if (!m_shared->complete)
            return false;
    }
    // Rows of a file that was written to since, by the caller's own
    // connection too, are no longer the file's.
    return changeCounterNow(m_shared->path) == m_shared->readAt;
}

} // namespace dao
