#pragma once

#include "workspace/TreeLogic.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace dao {
class Database;
class ReadAhead;
} // namespace dao

// What the main window asks of an opened case file besides its records:
// whether it is a case at all, the two tables an older case file may lack,
// and the item rows the case tree is built from. No widgets here.
namespace casetables {

// A case file holds table Issue; any other database is no case.
bool isCaseFile(const dao::Database& db);

// Reads CodeDBVersion, adding the one row with version when the table is
// empty and creating the table when it is missing. A filled table keeps its
// value. False when the table could neither be read nor made; nothing is
// reported.
bool ensureVersionTable(dao::Database& db, const QString& version);

// Whether writes to the case would reach the file: a write is tried inside a
// transaction that is rolled back, so a read-only file, a folder where the
// journal cannot be made or a read-only file system all show up here, at
// open, rather than as a failure at the user's first edit. The file is left
// as it was.
bool canWrite(dao::Database& db);
// Tests stand in a check of their own (a root user writes anywhere); an
// empty function restores the real one.
void setWriteCheck(std::function<bool(dao::Database&)> check);

// Creates table CodeFiles with its seven fields when it is missing; a table
// that exists is left as it is. Nothing is reported.
void ensureCodeFilesTable(dao::Database& db);

// A "select * from ..." names the four columns instead; other SQL is kept.
QString narrowToTreeColumns(const QString& sql);

// The case tree's structure from the four columns it reads of each row of
// sql, taken as they are read. Failures pass to the caller.
treelogic::TreeStructure readIssueTree(dao::Database& db, const QString& sql);

// The same read, started on a thread of its own as a case file is chosen,
// so that it runs while the file is opened and checked.
class TreeReadAhead {
public:
    TreeReadAhead(const QString& path, const QString& sql);
    ~TreeReadAhead();
    TreeReadAhead(const TreeReadAhead&) = delete;
    TreeReadAhead& operator=(const TreeReadAhead&) = delete;

    // The structure, when this was a read of the same file and query, every
    // row was read and nothing was written to the file since; otherwise
    // none, and the caller reads itself.
    std::optional<treelogic::TreeStructure> take(const QString& path, const QString& sql);

private:
    QString m_path;
    QString m_sql;
    treelogic::TreeBuilder m_builder;
    treelogic::TreeStructure m_tree;
    // Last, so that a read still going stops before the builder goes.
    std::unique_ptr<dao::ReadAhead> m_read;
};

} // namespace casetables
