#include "workspace/RatingText.h"

#include "QtPrinters.h"

#include "platform/core/AppError.h"

#include <gtest/gtest.h>

using namespace ratingtext;

namespace {

int refusalNumber(const char* text)
{
    try {
        toRating(QString::fromLatin1(text));
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(RatingText, WholeNumbersWithinTheScaleAreTaken)
{
    EXPECT_EQ(toRating(QStringLiteral("0")), 0);
    EXPECT_EQ(toRating(QStringLiteral("10")), 10);
    EXPECT_EQ(toRating(QStringLiteral(" 7 ")), 7);
}

TEST(RatingText, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(toRating(QStringLiteral("2.5")), 2);
    EXPECT_EQ(toRating(QStringLiteral("3.5")), 4);
    EXPECT_EQ(toRating(QStringLiteral("0.5")), 0);
    EXPECT_EQ(toRating(QStringLiteral("9.5")), 10);
    EXPECT_EQ(toRating(QStringLiteral("6.51")), 7);
    EXPECT_EQ(toRating(QStringLiteral("6.49")), 6);
}

TEST(RatingText, TextThatIsNoNumberIsATypeMismatch)
{
    EXPECT_EQ(refusalNumber("abc"), kTypeMismatch);
    EXPECT_EQ(refusalNumber(""), kTypeMismatch);
    EXPECT_EQ(refusalNumber("7x"), kTypeMismatch);
    EXPECT_EQ(refusalNumber("nan"), kTypeMismatch);
}

TEST(RatingText, NumbersOutsideTheScaleAreRefused)
{
    EXPECT_EQ(refusalNumber("25"), kOverflow);
    EXPECT_EQ(refusalNumber("11"), kOverflow);
    EXPECT_EQ(refusalNumber("-1"), kOverflow);
    EXPECT_EQ(refusalNumber("10.51"), kOverflow);
    EXPECT_EQ(refusalNumber("99999"), kOverflow);
}

TEST(RatingText, RatingsShowAsPlainDecimals)
{
    EXPECT_EQ(fromRating(0), QStringLiteral("0"));
    EXPECT_EQ(fromRating(10), QStringLiteral("10"));
}
