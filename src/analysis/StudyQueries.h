#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The query texts of the method, range and drill-down studies, and the
// conversions of what the user typed or clicked into the numbers they use.
// Plain functions: no window, no connection.
namespace studies {

struct MethodStudy {
    QString query;
    int subtotalFunction; // a grid subtotal code
};

// The query and subtotal code of a method text, compared exactly as typed
// (case and blanks count); none for a text that names no method.
std::optional<MethodStudy> methodStudy(const QString& method);

// True for the six comparison operators of a range study.
bool isRangeOperator(const QString& op);

// The query listing every item with any rating compared by op against
// value; none for an operator outside the six.
std::optional<QString> rangeQuery(const QString& op, int16_t value);

// A typed range number: rounded to the nearest whole number, halves to the
// even neighbour. Raises AppError 13 "Type mismatch" for a text that is no
// number and 6 "Overflow" outside -32768..32767.
int16_t rangeValue(const QString& text);

// A number rounded as rangeValue rounds it; raises the same overflow.
int16_t roundToInt16(double value);

// The children of the group named groupName; the name is quoted with its
// apostrophes doubled.
QString childQuery(const QString& groupName);

// The rating field a grid column shows (4 "Weight" .. 9 "Significance");
// none for the other columns.
std::optional<QString> ratingField(int column);

} // namespace studies
