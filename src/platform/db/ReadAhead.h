#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace dao {

// One query read on a thread and a connection of its own while the caller
// goes on with what has to come first (opening and checking the case file),
// for a read the caller knows it is about to make. The connection only
// reads; a file it cannot read plainly (a view in place of the table, a
// trigger, a write-ahead log) is not read at all.
class ReadAhead {
public:
    using Row = std::function<void(const std::vector<QVariant>& values)>;

    // Starts reading the named columns of sql from the file at path; each
    // row goes to row, on the reading thread, and done follows the last one
    // there too when every row was read. table is the table sql reads.
    ReadAhead(const QString& path, const QString& table, const QString& sql,
              const QStringList& columns, Row row, std::function<void()> done = {});
    // Stops a read still going and waits for its thread.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Waits for the read: true when every row was handed over, with the
    // values the same query through Database::ReadEach gives, and nothing
    // was written to the file since.
    bool wait();

private:
    struct Shared;
    std::unique_ptr<Shared> m_shared;
};

} // namespace dao
