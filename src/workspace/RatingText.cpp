#include "workspace/RatingText.h"

#include "platform/core/AppError.h"
#include "store/CIssue.h"

#include <QLocale>

#include <cmath>

namespace ratingtext {
namespace {

const QString kSource = QStringLiteral("Argovo");

double roundHalfToEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1.0;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

} // namespace

int16_t toRating(const QString& text)
{
    const QString trimmed = text.trimmed();
    // A group separator is no part of a rating: "0,010" read as ten would
    // store a value the user never meant. A decimal comma of the user's
    // language is still read as one.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    QLocale system = QLocale::system();
    system.setNumberOptions(system.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = c.toDouble(trimmed, &ok);
    if (!ok)
        value = system.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        throw AppError(kTypeMismatch, kSource, QStringLiteral("Type mismatch"));
    const double rounded = roundHalfToEven(value);
    if (rounded < kMinimum || rounded > kMaximum)
        throw AppError(
            kOverflow, kSource,
            QStringLiteral("A rating must be a number from %1 to %2.").arg(kMinimum).arg(kMaximum));
    return static_cast<int16_t>(rounded);
}

int16_t toRating(const QString& text, int16_t stored)
{
    if (text.trimmed() == fromRating(stored))
        return stored;
    return toRating(text);
}

QString fromRating(int16_t rating)
{
    return QString::number(rating);
}

int16_t ratingOf(CIssue& item, int index)
{
    switch (index) {
    case 0:
        return item.Weight();
    case 1:
        return item.SUCCESS();
    case 2:
        return item.Jury();
    case 3:
        return item.Substantive();
    case 4:
        return item.Procedural();
    default:
        return item.Significance();
    }
}

void setRatingOf(CIssue& item, int index, int16_t value)
{
    switch (index) {
    case 0:
        item.setWeight(value);
        break;
    case 1:
        item.setSUCCESS(value);
        break;
    case 2:
        item.setJury(value);
        break;
    case 3:
        item.setSubstantive(value);
        break;
    case 4:
        item.setProcedural(value);
        break;
    case 5:
        item.setSignificance(value);
        break;
    default:
        break;
    }
}

} // namespace ratingtext
