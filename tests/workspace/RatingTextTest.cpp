#include "workspace/RatingText.h"

#include "QtPrinters.h"

#include "platform/core/AppError.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace ratingtext;

namespace {

// The rating a text gives, or minus the number of the error that refuses it.
int ratingOrRefusal(const char* text)
{
    try {
        return toRating(QString::fromLatin1(text));
    } catch (const AppError& e) {
        return -e.number();
    }
}

} // namespace

TEST(RatingText, TextsGiveRatingsWithHalvesToEvenAndRefuseTheRest)
{
    const std::pair<const char*, int> cases[] = {
        {"0", 0},
        {"10", 10},
        {" 7 ", 7},
        {"2.5", 2},
        {"3.5", 4},
        {"0.5", 0},
        {"9.5", 10},
        {"6.51", 7},
        {"6.49", 6},
        // Forms of a number the box takes as typed or pasted.
        {"1e1", 10},
        {"+5", 5},
        {"10.0", 10},
        {"7\n", 7},
        // No number at all.
        {"abc", -kTypeMismatch},
        {"", -kTypeMismatch},
        {"7x", -kTypeMismatch},
        {"nan", -kTypeMismatch},
        // Outside the 0 to 10 scale the analysis reads.
        {"25", -kOverflow},
        {"11", -kOverflow},
        {"-1", -kOverflow},
        {"10.51", -kOverflow},
        {"99999", -kOverflow},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ratingOrRefusal(text), expected) << '"' << text << '"';

    // A comma is never a group separator: refused, or a decimal comma where
    // the user's language writes one.
    const bool decimalComma = QLocale::system().decimalPoint() == QLatin1String(",");
    const std::pair<const char*, int> commas[] = {{"0,007", 0}, {"0,010", 0}, {"1,000", 1}};
    for (const auto& [text, asDecimal] : commas)
        EXPECT_EQ(ratingOrRefusal(text), decimalComma ? asDecimal : -kTypeMismatch)
            << '"' << text << '"';
    EXPECT_EQ(fromRating(10), QStringLiteral("10"));
}
