#pragma once

#include <QString>

// The program's stop sequence and the routines that make text safe to place
// inside SQL.

// Releases the open case and every shared instance, unloads the windows and
// ends the program. Each failing step is reported and the sequence goes on.
// False, with nothing closed, when what the user typed could not be written
// and the user chose to stay.
bool Shutdown();

// Doubles every apostrophe.
QString SQLStringCheck(const QString& s);

// A value ready to be placed in SQL: "NULL" for an empty value, an integer
// (type 3) as it stands, text (type 200) quoted; other types give "".
// An integer value that is not a plain integer raises jet::ConversionError,
// so nothing unchecked reaches the statement.
QString FormatSQLValue(const QString& value, int type);

// Kept as a step of Shutdown; compaction is done by case maintenance.
void CompactAndBackup();
