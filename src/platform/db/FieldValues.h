#pragma once

// Internal to the storage engine: how declared column types map to the
// field types callers see, how a value read from the engine becomes a
// QVariant, and how a value written through a recordset is checked and
// coerced to its column's declared type.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

struct sqlite3_stmt;

namespace db {

struct DeclaredType {
    int fieldType = 0; // dao::FieldTypeEnum, 0 when the column declares none
    int size = 0;      // characters of a sized text, else 0
    bool isText() const;
    bool isBlob() const;
    bool isDate() const;
};

DeclaredType parseDeclaredType(const QString& declared);

// Whether a value holds a whole number, or any number, by its type alone.
bool isIntegerValue(const QVariant& value);
bool isNumericValue(const QVariant& value);

// The stored text form of a date and time ("yyyy-MM-ddTHH:mm:ss"), which
// sorts in time order.
QString storedDateText(const QDateTime& value);

// Reads column `column` of the current row, dates as QDateTime where the
// declared type is a date.
QVariant readColumn(sqlite3_stmt* statement, int column, const DeclaredType& type);
// The same from a value already taken from the engine: a whole number, or
// a text as its UTF-8 bytes.
QVariant integerValue(qint64 number, const DeclaredType& type);
QVariant textValue(const char* text, int size, const DeclaredType& type);

// The names and declared types of a compiled statement's result columns.
struct ResultColumns {
    QStringList names;
    std::vector<DeclaredType> types;

    // The position of the column so named, in any case; -1 when there is none.
    int indexOf(const QString& name) const;
};
ResultColumns resultColumns(sqlite3_stmt* statement);

// The value as it will be stored in a column of the declared type: 3163 for
// a text longer than its size, 3421 for a value that does not convert,
// 3349 for a number outside the column's range. A null stays null.
QVariant coerceForColumn(const QVariant& value, const DeclaredType& type, const QString& fieldName,
                         const QString& source);

} // namespace db
