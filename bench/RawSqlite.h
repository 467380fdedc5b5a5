#pragma once

#include <QString>

#include <sqlite3.h>

#include <string>
#include <vector>

// The benchmark's limit: the same reads and writes done straight through
// the SQLite C API, with nothing in between. Only the benchmark uses this;
// the program reaches SQLite through its storage engine alone.
namespace bench {

class RawDb {
public:
    RawDb(const QString& path, bool create = false);
    ~RawDb();
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    sqlite3* handle() const { return m_db; }
    void exec(const std::string& sql);
    [[noreturn]] void fail(const std::string& what) const;

private:
    sqlite3* m_db = nullptr;
};

class RawStatement {
public:
    RawStatement(RawDb& db, const std::string& sql);
    ~RawStatement();
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;

    void bindInt(int index, long long value);
    void bindText(int index, const std::string& text);
    void bindNull(int index);
    // True while there is a row.
    bool step();
    void stepDone();
    void reset();
    void finalize();
    int columns() const;
    std::string text(int column) const;
    long long integer(int column) const;

private:
    RawDb& m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// Every row of sql with every column as text, as a client would hold them.
std::vector<std::vector<std::string>> readAll(RawDb& db, const std::string& sql);

} // namespace bench
