#pragma once

#include <QString>

#include <cstdint>

// The text of a rating box and the rating it stands for.
namespace ratingtext {

constexpr int kMinimum = 0;
constexpr int kMaximum = 10;

// Error numbers of a refused rating text.
constexpr int kTypeMismatch = 13;
constexpr int kOverflow = 6;

// The rating a box's text gives: a decimal number, a fraction rounded to the
// nearest whole number with halves going to the even neighbour ("2.5" gives
// 2, "3.5" gives 4). Throws AppError kTypeMismatch for a text that is no
// number and kOverflow for a number outside 0 to 10.
int16_t toRating(const QString& text);

// The text a box shows for a rating.
QString fromRating(int16_t rating);

} // namespace ratingtext
