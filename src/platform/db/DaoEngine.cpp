#include "Dao.h"

#include "CaseFileGuard.h"
#include "SqliteConnection.h"

#include <QFile>
#include <QFileInfo>

namespace dao {

namespace {

const QString kSource = QStringLiteral("DAO.DBEngine");

// Every database the engine opened, so that a workspace transaction spans
// them all; each level of BeginTrans holds one savepoint per database.
struct EngineState {
    std::vector<std::weak_ptr<db::SqliteConnection>> databases;
    struct Member {
        std::weak_ptr<db::SqliteConnection> connection;
        QString savepoint;
        bool beganTransaction = false; // the connection had none before
    };
    std::vector<std::vector<Member>> levels;
};

EngineState& engine()
{
    static EngineState state;
    return state;
}

std::vector<std::shared_ptr<db::SqliteConnection>> openDatabases()
{
    std::vector<std::shared_ptr<db::SqliteConnection>> open;
    auto& databases = engine().databases;
    databases.erase(std::remove_if(databases.begin(), databases.end(),
                                   [&](const std::weak_ptr<db::SqliteConnection>& weak) {
                                       auto connection = weak.lock();
                                       if (!connection || !connection->isOpen())
                                           return true;
                                       open.push_back(std::move(connection));
                                       return false;
                                   }),
                    databases.end());
    return open;
}

// Undoes a member's savepoint. One that began the connection's transaction
// is undone with the transaction: releasing it would commit an empty
// transaction, which still rewrites the file's header and its times. A read
// still under way keeps the savepoint form, which leaves it running.
void rollBack(db::SqliteConnection& connection, const EngineState::Member& member)
{
    sqlite3* handle = connection.handle(kSource);
    bool reading = false;
    for (sqlite3_stmt* s = sqlite3_next_stmt(handle, nullptr); s && !reading;
         s = sqlite3_next_stmt(handle, s))
        reading = sqlite3_stmt_busy(s) != 0;
    connection.execute(member.beganTransaction && !reading
                           ? QStringLiteral("ROLLBACK")
                           : QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(member.savepoint),
                       kSource);
}

AppError notInTransaction()
{
    return AppError(
        jet::NotInTransaction, kSource,
        QStringLiteral("You tried to commit or rollback a transaction without first beginning a "
                       "transaction."));
}

} // namespace

std::shared_ptr<Database> DBEngine::OpenDatabase(const QString& path)
{
    auto connection = db::SqliteConnection::open(path, kSource);
    openDatabases();
    engine().databases.push_back(connection);
    return std::shared_ptr<Database>(new Database(std::move(connection)));
}

void DBEngine::Idle(int /*action*/) {}

void DBEngine::BeginTrans()
{
    std::vector<EngineState::Member> level;
    try {
        for (const auto& connection : openDatabases()) {
            const QString name = connection->nextSavepointName();
            const bool began = sqlite3_get_autocommit(connection->handle(kSource)) != 0;
            connection->execute(QStringLiteral("SAVEPOINT %1").arg(name), kSource);
            level.push_back({connection, name, began});
        }
    } catch (...) {
        for (const auto& member : level) {
            if (auto connection = member.connection.lock(); connection && connection->isOpen())
                rollBack(*connection, member);
        }
        throw;
    }
    engine().levels.push_back(std::move(level));
}

void DBEngine::CommitTrans()
{
    auto& levels = engine().levels;
    if (levels.empty())
        throw notInTransaction();
    auto& level = levels.back();
    // A member that cannot commit yet (the file is busy) stays in the level,
    // so that CommitTrans can be tried again.
    while (!level.empty()) {
        const EngineState::Member& member = level.back();
        if (auto connection = member.connection.lock(); connection && connection->isOpen())
            connection->execute(QStringLiteral("RELEASE %1").arg(member.savepoint), kSource);
        level.pop_back();
    }
    levels.pop_back();
}

void DBEngine::Rollback()
{
    auto& levels = engine().levels;
    if (levels.empty())
        throw notInTransaction();
    std::vector<EngineState::Member> level = std::move(levels.back());
    levels.pop_back();
    std::optional<AppError> failure;
    for (const auto& member : level) {
        auto connection = member.connection.lock();
        if (!connection || !connection->isOpen())
            continue;
        try {
            rollBack(*connection, member);
        } catch (const AppError& error) {
            if (!failure)
                failure = error;
        }
    }
    if (failure)
        throw *failure;
}

void DBEngine::CompactDatabase(const QString& src, const QString& dst,
                               const std::function<void(QFile& held)>& whileHeld)
{
    if (QFileInfo::exists(dst))
        throw db::targetExistsError(dst, kSource);
    // A connection that may write undoes a write a crash cut off as it first
    // reads; the copy's, which only reads, cannot.
    if (QFileInfo::exists(src + QStringLiteral("-journal")))
        db::SqliteConnection::open(src, kSource)->close();

    // Let go of in the reverse order: the holds, the connections that hold,
    // and only then the caller's handle, whose closing would let go of the
    // holds were they still there. Every handle on src is open before the
    // first hold is taken, for the same reason.
    QFile held(src);
    std::shared_ptr<db::SqliteConnection> writer;
    if (whileHeld)
        writer = db::SqliteConnection::open(src, kSource);
    auto connection =
        db::SqliteConnection::open(src, kSource, db::SqliteConnection::Mode::ReadOnly);
    if (whileHeld && !held.open(QIODevice::ReadOnly))
        throw db::missingFileError(src, kSource);
    // A caller that replaces src holds it as a writer does: a write under way
    // elsewhere is waited for, as a commit is, and is in the copy (or, still
    // open after the wait, the compaction is refused as busy). A write begun
    // meanwhile waits in turn and then finds src replaced and is refused,
    // where a mere read lock let it commit into the file this replaces. The
    // transaction writes nothing; closing the writer ends it.
    if (writer)
        writer->execute(QStringLiteral("BEGIN IMMEDIATE"), kSource);
    db::Savepoint hold(*connection, kSource);
    // The first read takes the file's shared lock, which the transaction
    // keeps until it ends: a commit elsewhere waits for it, and gives up.
    connection->execute(QStringLiteral("SELECT count(*) FROM sqlite_master"), kSource);
    db::copyCaseTables(*connection, dst, kSource, true);
    if (whileHeld)
        whileHeld(held);
}

} // namespace dao
