#pragma once

#include <QString>

namespace db {
// Creates a new database file at path and runs the SQL script in it.
// Fails (AppError 3204) when the file exists, so nothing is ever overwritten.
void createDatabaseFromScript(const QString& path, const QString& sqlScript);
} // namespace db
