#pragma once

// Internal to the storage engine. A case file travels between people and may
// have been written by another tool: what it holds besides the case's own
// tables must never act on its own, and a damaged file must be refused
// before a write makes the damage worse.

#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <memory>

namespace db {

class SqliteConnection;

// The tables a case file holds and the program reads and writes.
const QStringList& caseTableNames();

// Settings every connection runs with, before its first read: defensive
// mode, an untrusted schema, no extension loading, no ATTACH.
void hardenConnection(sqlite3* handle);

// Held by a connection while it is open: the item and bookmark tables of its
// file passed the quick check, and what the file looked like then.
struct CheckedFile;
using CheckMark = std::shared_ptr<const CheckedFile>;

// Refuses (AppError) a file holding a trigger, or a view where a case table
// belongs, a case table without row ids, an item table lacking a column the
// case tree reads, and a file whose item and bookmark tables fail the
// engine's quick check. Reads only. Opening a case opens several connections
// to its file one after the other: while a connection that passed the quick
// check is open and the file is unchanged since (size, times, header with its
// change counter), the quick check is not run again.
CheckMark checkCaseContent(sqlite3* handle, const QString& path, const QString& source);

// How many quick checks this process has run.
int quickChecksRun();

// Writes a new file at target holding the case tables of from's file, their
// declarations and rows as they stand, and nothing else. 3204 when target
// exists; a failed copy leaves no file behind. With sameAccess the copy
// carries the permission bits of from's file, and from its making is closed
// to whom that file is closed to.
void copyCaseTables(const SqliteConnection& from, const QString& target, const QString& source,
                    bool sameAccess = false);

} // namespace db
