#include "RawSqlite.h"

#include <stdexcept>

namespace bench {

RawDb::RawDb(const QString& path, bool create)
{
    // Opened as the program opens its own: one thread to a connection.
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK)
        fail("open " + path.toStdString());
}

RawDb::~RawDb()
{
    sqlite3_close_v2(m_db);
}

void RawDb::exec(const std::string& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error("sqlite: " + text + " in " + sql.substr(0, 80));
    }
}

void RawDb::fail(const std::string& what) const
{
    throw std::runtime_error("sqlite: " + what + ": " + sqlite3_errmsg(m_db));
}

RawStatement::RawStatement(RawDb& db, const std::string& sql)
    : m_db(db)
{
    if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK)
        db.fail("prepare " + sql.substr(0, 80));
}

RawStatement::~RawStatement()
{
    sqlite3_finalize(m_stmt);
}

void RawStatement::bindInt(int index, long long value)
{
    sqlite3_bind_int64(m_stmt, index, value);
}

void RawStatement::bindText(int index, const std::string& text)
{
    sqlite3_bind_text(m_stmt, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

void RawStatement::bindNull(int index)
{
    sqlite3_bind_null(m_stmt, index);
}

bool RawStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        m_db.fail("step");
    return false;
}

void RawStatement::stepDone()
{
    while (step()) {
    }
    reset();
}

void RawStatement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void RawStatement::finalize()
{
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
}

int RawStatement::columns() const
{
    return sqlite3_column_count(m_stmt);
}

std::string RawStatement::text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? std::string(text, std::size_t(sqlite3_column_bytes(m_stmt, column)))
                : std::string();
}

long long RawStatement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

std::vector<std::vector<std::string>> readAll(RawDb& db, const std::string& sql)
{
    RawStatement statement(db, sql);
    const int n = statement.columns();
    std::vector<std::vector<std::string>> rows;
    while (statement.step()) {
        std::vector<std::string> row;
        row.reserve(std::size_t(n));
        for (int c = 0; c < n; ++c)
            row.push_back(statement.text(c));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace bench
