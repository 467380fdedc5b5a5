#pragma once

// The SQL texts the program writes are Jet's. These routines bring them to
// what our engine runs, in one place, so that both the DAO and the ADO face
// give the same answers.

#include <QString>

#include <optional>

namespace db {

// Jet's "/" is always real division; the engine divides integers as
// integers, so (55)/6 would be 9 and fall into the wrong band. Rewrites
// every "/" outside string literals, [bracketed] or quoted names and
// comments as "*1.0/", which keeps the operator's precedence and order.
QString translateJetSql(const QString& sql);

// The text without blanks and ";" at its end.
QString withoutTrailingSemicolons(const QString& sql);

// A source that is a bare table name ("codefiles", "[CodeDBVersion];")
// yields the name without brackets; a SQL text yields nothing.
std::optional<QString> bareTableName(const QString& source);

// A select of plain columns from one table ("select * from codefiles where
// id = 3", "select version from CodeDBVersion"): its table name as written
// and the text from WHERE or ORDER BY on. Nothing for joins, groupings,
// DISTINCT, unions and the like.
struct SingleTableSelect {
    QString table;
    QString rest;
};
std::optional<SingleTableSelect> parseSingleTableSelect(const QString& sql);

// An identifier quoted for the engine ("File" -> "\"File\"").
QString quoteIdentifier(const QString& name);

} // namespace db
