#include "Dao.h"

#include "SqliteConnection.h"

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
        // The savepoint began the connection's transaction.
        bool outermost = false;
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
            const bool outermost = sqlite3_get_autocommit(connection->handle(kSource)) != 0;
            connection->execute(QStringLiteral("SAVEPOINT %1").arg(name), kSource);
            level.push_back({connection, name, outermost});
        }
    } catch (...) {
        for (const auto& member : level) {
            if (auto connection = member.connection.lock(); connection && connection->isOpen())
                connection->execute(
                    QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(member.savepoint), kSource);
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
            // Undoing the whole transaction writes nothing; rolling back to
            // its first savepoint and releasing that would commit the
            // emptied transaction and still rewrite the file's header.
            if (member.outermost)
                connection->execute(QStringLiteral("ROLLBACK"), kSource);
            else
                connection->execute(
                    QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(member.savepoint), kSource);
        } catch (const AppError& error) {
            if (!failure)
                failure = error;
        }
    }
    if (failure)
        throw *failure;
}

void DBEngine::CompactDatabase(const QString& src, const QString& dst)
{
    if (QFileInfo::exists(dst))
        throw db::targetExistsError(dst, kSource);
    auto connection =
        db::SqliteConnection::open(src, kSource, db::SqliteConnection::Mode::ReadOnly);
    connection->vacuumInto(dst, kSource);
    connection->close();
}

} // namespace dao
