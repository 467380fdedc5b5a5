#include "analysis/StudyQueries.h"

#include "platform/core/AppError.h"
#include "store/Globals.h"

#include <QLocale>

#include <array>
#include <cmath>
#include <limits>

namespace studies {

namespace {

constexpr int kOverflow = 6;
constexpr int kTypeMismatch = 13;
const QString kSource = QStringLiteral("Argovo");

const QString kMethodTail =
    QStringLiteral("Issue_1.Weight, Issue_1.Success, Issue_1.Jury, Issue_1.Substantive, ") +
    QStringLiteral("Issue_1.Procedural, Issue_1.Significance FROM Issue INNER JOIN Issue AS ") +
    QStringLiteral("Issue_1 ON Issue.ID = Issue_1.ParentID;");
const QString kMethodQueryA =
    QStringLiteral("SELECT Issue.ID, Issue.Name, Issue_1.Explanation, ") + kMethodTail;
// Two blanks after SELECT, as these methods have always sent it.
const QString kMethodQueryB =
    QStringLiteral("SELECT  Issue.ID, Issue.Name, Issue_1.Explanation, ") + kMethodTail;

struct MethodRow {
    const char* text;
    const QString* query;
    int function;
};

// First match wins, in this order.
const std::array<MethodRow, 8> kMethods{{
    {"COUNT", &kMethodQueryA, 4},
    {"AVG", &kMethodQueryA, 5},
    {"MIN", &kMethodQueryB, 7},
    {"MAX", &kMethodQueryA, 6},
    {"STDEV", &kMethodQueryB, 8},
    {"VAR", &kMethodQueryB, 9},
    {"PERCENT", &kMethodQueryA, 3},
    {"SUM", &kMethodQueryA, 2},
}};

const std::array<const char*, 6> kOperators{"<", ">", "=", "<=", ">=", "<>"};

const std::array<const char*, 6> kRangeColumns{"Issue.Weight",     "Issue.Success",
                                               "Issue.Jury",       "Issue.Substantive",
                                               "Issue.Procedural", "Issue.Significance"};

const std::array<const char*, 6> kRatingFields{"Weight",      "Success",    "Jury",
                                               "Substantive", "Procedural", "Significance"};

} // namespace

std::optional<MethodStudy> methodStudy(const QString& method)
{
    for (const MethodRow& row : kMethods) {
        if (method == QLatin1String(row.text))
            return MethodStudy{*row.query, row.function};
    }
    return std::nullopt;
}

bool isRangeOperator(const QString& op)
{
    for (const char* known : kOperators) {
        if (op == QLatin1String(known))
            return true;
    }
    return false;
}

std::optional<QString> rangeQuery(const QString& op, int16_t value)
{
    if (!isRangeOperator(op))
        return std::nullopt;
    QString sql = QStringLiteral("SELECT Issue.ID, Issue.Name, ") +
                  QStringLiteral("Issue.Explanation, Issue.Weight, ") +
                  QStringLiteral("Issue.Success, Issue.Jury, ") +
                  QStringLiteral("Issue.Substantive, Issue.Procedural, ") +
                  QStringLiteral("Issue.Significance FROM Issue WHERE ");
    const QString number = QString::number(value);
    for (std::size_t i = 0; i < kRangeColumns.size(); ++i) {
        if (i > 0)
            sql += QStringLiteral(" OR ");
        sql += QLatin1String(kRangeColumns[i]) + QLatin1Char(' ') + op + QLatin1Char(' ') + number;
    }
    return sql + QLatin1Char(';');
}

int16_t roundToInt16(double value)
{
    // nearbyint rounds in the default mode, to nearest with halves to even.
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<int16_t>::min() ||
        rounded > std::numeric_limits<int16_t>::max())
        throw AppError(kOverflow, kSource, QStringLiteral("Overflow"));
    return static_cast<int16_t>(rounded);
}

int16_t rangeValue(const QString& text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double number = c.toDouble(text.trimmed(), &ok);
    if (!ok || std::isnan(number))
        throw AppError(kTypeMismatch, kSource, QStringLiteral("Type mismatch"));
    return roundToInt16(number);
}

QString childQuery(const QString& groupName)
{
    return QStringLiteral("SELECT Issue.Name, Issue.Explanation from Issue WHERE "
                          "(Issue.ParentID IN (SELECT Issue.ID FROM Issue WHERE Issue.name ='") +
           SQLStringCheck(groupName) + QStringLiteral("'));");
}

std::optional<QString> ratingField(int column)
{
    if (column < 4 || column > 9)
        return std::nullopt;
    return QString::fromLatin1(kRatingFields[static_cast<std::size_t>(column - 4)]);
}

} // namespace studies
