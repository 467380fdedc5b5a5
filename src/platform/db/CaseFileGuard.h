#pragma once

// Internal to the storage engine. A case file travels between people and may
// have been written by another tool: what it holds besides the case's own
// tables must never act on its own, and a damaged file must be refused
// before a write makes the damage worse.

#include <QString>
#include <QStringList>

#include <sqlite3.h>

namespace db {

class SqliteConnection;

// The tables a case file holds and the program reads and writes.
const QStringList& caseTableNames();

// Settings every connection runs with, before its first read: defensive
// mode, an untrusted schema, no extension loading, no ATTACH.
void hardenConnection(sqlite3* handle);

// Refuses (AppError) a file holding a trigger, or a view where a case table
// belongs, and a file whose item and bookmark tables fail the engine's quick
// check (left out with readItemTables false, when an open connection of this
// process has just read them). Reads only.
void checkCaseContent(sqlite3* handle, const QString& path, const QString& source,
                      bool readItemTables = true);

// Writes a new file at target holding the case tables of from's file, their
// declarations and rows as they stand, and nothing else. 3204 when target
// exists; a failed copy leaves no file behind.
void copyCaseTables(const SqliteConnection& from, const QString& target, const QString& source);

} // namespace db
