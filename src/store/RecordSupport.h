#pragma once

// Helpers the record classes share: the state step of a property write and
// the ways a data procedure hands an error on to its caller.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace dao {
class Database;
class Recordset;
} // namespace dao

namespace records {

// The record's database; a record that was given none fails as an unset
// object variable (91) would.
dao::Database& database(const std::shared_ptr<dao::Database>& db);

// The state step of a property write: unchanged becomes changed, new and
// changed stay, and a record marked for deletion, deleted or in an unknown
// state refuses with +513, +514 or +515 (source as given).
void stateStep(int& state, const QString& source);

// Inside a catch block: raises the current error again with the same number
// and description and the given source.
[[noreturn]] void reraise(const QString& source);

// Inside a catch block of an insert: closes rs when it was opened, ignoring
// a failure of the close, then re-raises as reraise does.
[[noreturn]] void closeAndReraise(const std::shared_ptr<dao::Recordset>& rs, const QString& source);

// Inside a catch block: raises the current error again with its source
// extended by suffix.
[[noreturn]] void reraiseExtended(const QString& suffix);

// Inside a catch block: raises the class failure (vbObjectError + 100) with
// the given source and description, whatever the current error was.
[[noreturn]] void classFailure(const QString& source, const QString& description);

// Deletes the Issue row with id key together with the bookmarks and stored
// documents that hang on it; its child items stay.
void deleteItemRows(dao::Database& db, const QString& key);
// The same for every id of keys (bare ids), as one change.
void deleteItemRows(dao::Database& db, const QStringList& keys);

// Text of a column; a Null column fails with "Invalid use of Null" (94),
// as the loads of the bookmark and stored-document records do.
QString textOrFail(const QVariant& value);

} // namespace records
