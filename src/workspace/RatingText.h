#pragma once

#include <QString>

#include <cstdint>

class CIssue;

// The text of a rating box and the rating it stands for, and which of an
// item's six ratings a box shows.
namespace ratingtext {

constexpr int kMinimum = 0;
constexpr int kMaximum = 10;

// The rating boxes, by index: Weight, SUCCESS, Jury, Substantive,
// Procedural, Significance.
constexpr int kRatings = 6;

// Error numbers of a refused rating text.
constexpr int kTypeMismatch = 13;
constexpr int kOverflow = 6;

// The rating a box's text gives: a decimal number, a fraction rounded to the
// nearest whole number with halves going to the even neighbour ("2.5" gives
// 2, "3.5" gives 4). Throws AppError kTypeMismatch for a text that is no
// number (one with a group separator, such as "0,010", included) and
// kOverflow for a number outside 0 to 10.
int16_t toRating(const QString& text);
// The same for a box filled with an item's stored rating: the text it was
// filled with gives that rating back, even one off the scale from an older
// file, so only a text the user changed is checked.
int16_t toRating(const QString& text, int16_t stored);

// The text a box shows for a rating.
QString fromRating(int16_t rating);

// The item's rating shown in box index (0 to 5).
int16_t ratingOf(CIssue& item, int index);
// Sets the item's rating of box index; any index outside 0 to 5 sets nothing.
void setRatingOf(CIssue& item, int index, int16_t value);

} // namespace ratingtext
