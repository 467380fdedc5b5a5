#include "FieldValues.h"

#include "Dao.h"
#include "platform/core/AppError.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cmath>
#include <limits>

#include <sqlite3.h>

namespace db {

namespace {

constexpr int kNumericOverflow = 3349;
const QString kDateFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

AppError conversionError(const QString& fieldName, const QString& source)
{
    return AppError(
        jet::ConversionError, source,
        QStringLiteral("Data type conversion error. The value given for field '%1' does not "
                       "fit its type.")
            .arg(fieldName));
}

// A number from a value: numbers as they are, booleans as VB gives them
// (True -1), texts parsed in the C locale. Nothing for anything else.
std::optional<double> numberFrom(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1.0 : 0.0;
    if (isNumericValue(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        bool ok = false;
        const double number = value.toString().trimmed().toDouble(&ok);
        if (ok && std::isfinite(number))
            return number;
    }
    return std::nullopt;
}

std::optional<QDateTime> dateFrom(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = value.toDateTime();
        return dt.isValid() ? std::optional<QDateTime>(dt) : std::nullopt;
    }
    if (value.typeId() == QMetaType::QDate) {
        const QDate d = value.toDate();
        return d.isValid() ? std::optional<QDateTime>(QDateTime(d, QTime(0, 0))) : std::nullopt;
    }
    if (value.typeId() == QMetaType::QString) {
        QString text = value.toString().trimmed();
        if (text.size() > 10 && text.at(10) == QLatin1Char(' '))
            text[10] = QLatin1Char('T');
        QDateTime dt = QDateTime::fromString(text, Qt::ISODate);
        if (!dt.isValid()) {
            const QDate d = QDate::fromString(text, Qt::ISODate);
            if (d.isValid())
                dt = QDateTime(d, QTime(0, 0));
        }
        if (dt.isValid())
            return dt;
    }
    return std::nullopt;
}

} // namespace

bool DeclaredType::isText() const
{
    return fieldType == dao::dbText || fieldType == dao::dbMemo;
}
bool DeclaredType::isBlob() const
{
    return fieldType == dao::dbLongBinary;
}
bool DeclaredType::isDate() const
{
    return fieldType == dao::dbDate;
}

DeclaredType parseDeclaredType(const QString& declared)
{
    static const QRegularExpression sized(QStringLiteral("\\(\\s*(\\d+)"));
    const QString upper = declared.trimmed().toUpper();
    DeclaredType type;
    if (upper.isEmpty())
        return type;
    const auto starts = [&](const char* word) { return upper.startsWith(QLatin1String(word)); };
    const QRegularExpressionMatch size = sized.match(upper);

    if (starts("SMALLINT"))
        type.fieldType = dao::dbInteger;
    else if (starts("TINYINT") || starts("BYTE"))
        type.fieldType = dao::dbByte;
    else if (starts("INT") || starts("BIGINT") ||
             (starts("LONG") && !starts("LONGBINARY") && !starts("LONGTEXT")) ||
             starts("COUNTER") || starts("AUTOINCREMENT"))
        type.fieldType = dao::dbLong;
    else if (starts("VARCHAR") || starts("NVARCHAR") || starts("CHAR") || starts("NCHAR") ||
             (starts("TEXT") && size.hasMatch())) {
        type.fieldType = dao::dbText;
        type.size = size.hasMatch() ? size.captured(1).toInt() : 255;
    } else if (starts("TEXT") || starts("MEMO") || starts("CLOB") || starts("LONGTEXT"))
        type.fieldType = dao::dbMemo;
    else if (starts("BLOB") || starts("LONGBINARY") || starts("IMAGE") || starts("BINARY"))
        type.fieldType = dao::dbLongBinary;
    else if (starts("DATE") || starts("TIMESTAMP"))
        type.fieldType = dao::dbDate;
    else if (starts("BOOL") || starts("BIT") || starts("YESNO"))
        type.fieldType = dao::dbBoolean;
    else if (starts("DOUBLE") || starts("FLOAT"))
        type.fieldType = dao::dbDouble;
    else if (starts("REAL") || starts("SINGLE"))
        type.fieldType = dao::dbSingle;
    else if (starts("DECIMAL") || starts("CURRENCY") || starts("MONEY") || starts("NUMERIC"))
        type.fieldType = dao::dbCurrency;
    return type;
}

QString storedDateText(const QDateTime& value)
{
    return value.toString(kDateFormat);
}

int ResultColumns::indexOf(const QString& name) const
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

ResultColumns resultColumns(sqlite3_stmt* statement)
{
    ResultColumns columns;
    const int count = statement ? sqlite3_column_count(statement) : 0;
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(statement, i);
        const char* declared = sqlite3_column_decltype(statement, i);
        columns.names << QString::fromUtf8(name ? name : "");
        columns.types.push_back(parseDeclaredType(QString::fromUtf8(declared ? declared : "")));
    }
    return columns;
}

QVariant integerValue(qint64 number, const DeclaredType& type)
{
    if (type.fieldType == dao::dbBoolean)
        return QVariant(number != 0);
    return QVariant(number);
}

QVariant textValue(const char* text, int size, const DeclaredType& type)
{
    const QString value = QString::fromUtf8(text, size);
    if (type.isDate()) {
        if (const auto dt = dateFrom(value))
            return QVariant(*dt);
    }
    return QVariant(value);
}

QVariant readColumn(sqlite3_stmt* statement, int column, const DeclaredType& type)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return integerValue(sqlite3_column_int64(statement, column), type);
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(statement, column);
        const int size = sqlite3_column_bytes(statement, column);
        return QVariant(QByteArray(static_cast<const char*>(data), size));
    }
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return textValue(text, sqlite3_column_bytes(statement, column), type);
    }
    }
}

QVariant coerceForColumn(const QVariant& value, const DeclaredType& type, const QString& fieldName,
                         const QString& source)
{
    if (!value.isValid() || value.isNull())
        return QVariant();

    const auto integerIn = [&](double low, double high) -> QVariant {
        const auto number = numberFrom(value);
        if (!number)
            throw conversionError(fieldName, source);
        // Jet rounds a fraction to the nearest even integer, as VB's CInt.
        const double rounded = std::nearbyint(*number);
        if (rounded < low || rounded > high)
            throw AppError(
                kNumericOverflow, source,
                QStringLiteral("Numeric field overflow. The value %1 does not fit field '%2'.")
                    .arg(*number)
                    .arg(fieldName));
        return QVariant(static_cast<qint64>(rounded));
    };

    switch (type.fieldType) {
    case dao::dbInteger:
        return integerIn(-32768.0, 32767.0);
    case dao::dbByte:
        return integerIn(0.0, 255.0);
    case dao::dbLong:
        return integerIn(-2147483648.0, 2147483647.0);
    case dao::dbBoolean: {
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed().toLower();
            if (text == QLatin1String("true") || text == QLatin1String("yes"))
                return QVariant(true);
            if (text == QLatin1String("false") || text == QLatin1String("no"))
                return QVariant(false);
        }
        const auto number = numberFrom(value);
        if (!number)
            throw conversionError(fieldName, source);
        return QVariant(*number != 0.0);
    }
    case dao::dbDouble:
    case dao::dbSingle:
    case dao::dbCurrency: {
        const auto number = numberFrom(value);
        if (!number)
            throw conversionError(fieldName, source);
        if (type.fieldType == dao::dbCurrency)
            return QVariant(std::round(*number * 10000.0) / 10000.0);
        return QVariant(*number);
    }
    case dao::dbDate: {
        const auto dt = dateFrom(value);
        if (!dt)
            throw conversionError(fieldName, source);
        return QVariant(storedDateText(*dt));
    }
    case dao::dbText:
    case dao::dbMemo: {
        QString text;
        if (value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate) {
            const auto dt = dateFrom(value);
            if (!dt)
                throw conversionError(fieldName, source);
            text = storedDateText(*dt);
        } else if (value.typeId() == QMetaType::QByteArray) {
            throw conversionError(fieldName, source);
        } else if (value.typeId() == QMetaType::Bool) {
            text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        } else if (value.canConvert<QString>()) {
            text = value.toString();
        } else {
            throw conversionError(fieldName, source);
        }
        if (type.fieldType == dao::dbText && type.size > 0 && text.size() > type.size)
            throw AppError(
                jet::FieldTooSmall, source,
                QStringLiteral("The field is too small to accept the amount of data you attempted "
                               "to add. Try inserting or pasting less data. (Field '%1' holds at "
                               "most %2 characters; %3 were given.)")
                    .arg(fieldName)
                    .arg(type.size)
                    .arg(text.size()));
        return QVariant(text);
    }
    case dao::dbLongBinary:
        if (value.typeId() == QMetaType::QByteArray)
            return QVariant(value.toByteArray());
        if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
            return QVariant(QByteArray());
        throw conversionError(fieldName, source);
    default:
        break;
    }
    // A column without a declared type keeps what it is given.
    if (value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate) {
        const auto dt = dateFrom(value);
        return dt ? QVariant(storedDateText(*dt)) : QVariant();
    }
    return value;
}

bool isIntegerValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isNumericValue(const QVariant& value)
{
    return isIntegerValue(value) || value.typeId() == QMetaType::Double ||
           value.typeId() == QMetaType::Float;
}

} // namespace db
