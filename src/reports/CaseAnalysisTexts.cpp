#include "reports/CaseAnalysisTexts.h"

namespace caseanalysis {

QString averageParagraph(int level)
{
    switch (level) {
    case 10:
        return QStringLiteral(
            "A 10 level is significant in that it indicates a case you clearly expect to win, or "
            "to settle for its full value.  A sure thing is unusual in law, so make sure that no "
            "sub-issue or unexpected twist has been overlooked, and consider probing your "
            "adversary with a 'Request to Admit' or other discovery.");
    case 9:
        return QStringLiteral(
            "9 out of 10 is a sure thing, or nearly so.  But why not a 10?  Go back to the grid "
            "and search by Range (below 10, then equal to 8, 7 and down) to find your "
            "reservations and the items that make the case difficult.");
    case 8:
        return QStringLiteral(
            "8 of 10 is a strong case, a case that suggests settlement might be reached on good "
            "terms.  Manage your client's expectations: tell the client about the 20% "
            "reservation that remains.");
    case 7:
        return QStringLiteral(
            "A 7 out of 10 resembles the 'C' student--solid, but not without weaknesses.  It is a "
            "case for a fair settlement, and a dangerous one in court, where it will turn on the "
            "credibility of witnesses: their impeachability, prior inconsistent statements, and "
            "the need to bolster a weak key witness.");
    case 6:
        return QStringLiteral(
            "At some point most attorneys will come to know the regret of trying an "
            "across-the-board 6 case.  Settle it: fair compensation is about 60% of the damages, "
            "and the earlier the settlement, the better.");
    case 5:
        return QStringLiteral(
            "A 5 out of 10 level indicates you are equally likely to win or lose.  With the "
            "chances so divided, seek an early settlement with a like-minded adversary, and keep "
            "the costs of discovery down.");
    case 4:
        return QStringLiteral("A 4 case is one to settle as ") +
               QStringLiteral("best you can, and hopefully without having ") +
               QStringLiteral("to pay costs.  If the case is to be salvaged at all, much work "
                              "remains ") +
               QStringLiteral("to be done.");
    case 3:
        return QStringLiteral(
            "At the 3 level, your adversary will likely move for summary judgment, and is likely "
            "to win it.  Ask whether keeping a factual dispute alive is really in your client's "
            "interest.");
    case 2:
        return QStringLiteral("Some attorneys would ") +
               QStringLiteral("probably try to dismiss a '2' case and hope to avoid ") +
               QStringLiteral("costs and attorney's fees.");
    case 1:
        return QStringLiteral("This is a case that should not be filed, especially ") +
               QStringLiteral("if the exhibits and witnesses are at the '1' level too.");
    case 0:
        return QStringLiteral("A zero average indicates no case whatsoever.");
    default:
        return QString();
    }
}

QString deviationParagraph(double value)
{
    if (value > 0 && value < 0.25)
        return QStringLiteral("The values in a 0 to .25 case can be ") +
               QStringLiteral("said to be tightly placed around the average.  ") +
               QStringLiteral("A very cohesive, stable case.");
    if (value > 0.25 && value < 0.4)
        return QStringLiteral("The values in a 0.25 to 0.4 case vary ") +
               QStringLiteral("very little from the average.  It can be said ") +
               QStringLiteral("that such a case will present few ") +
               QStringLiteral("difficulties in terms of unexpected ups and ") +
               QStringLiteral("downs that so often damage a case.");
    if (value > 0.4 && value < 0.8)
        return QStringLiteral(
            "The values in a 0.4 to 0.8 case are tightly clustered around the average.  At 0.8, "
            "a Weight of 8 may move anywhere between 7.2 and 8.8: a reliable case, yet not "
            "without some instability.  Go back to the individual values to see where it lies.");
    if (value > 0.8 && value < 1.25)
        return QStringLiteral(
            "The values in a 0.8 to 1.25 case are beginning to offer room for some "
            "unmanageability.  A 7 may jump to 8.25 or fall to 5.75.  Go back to the individual "
            "values to find the items that move the most.");
    if (value > 1.25 && value < 2.5)
        return QStringLiteral(
            "The values in a 1.25 to 2.5 case are noticeably unstable.  A 7 may jump to 9.5 or "
            "fall to 4.5.  Pinpoint the reasons in the individual values before relying on the "
            "averages.");
    if (value > 2.5)
        return QStringLiteral(
                   "Outside Argovo's measureable range of values for standard deviations. ") +
               QStringLiteral("This means the standard deviation is so wide that Argovo finds "
                              "it a non-useful ") +
               QStringLiteral("value.  Most likely the value is unreliable, too.");
    return QString();
}

QString averageExplanation(const QString& grandAverage)
{
    return QStringLiteral("The case has an overall case ") +
           QStringLiteral("average, of all issues, exhibits, and witnesses, ") +
           QStringLiteral("of ") + grandAverage +
           QStringLiteral(
               ".  The average (mean) is one of several indices of central tendency that "
               "statisticians use to locate the point on the scale where a population is "
               "centred.  It is the one value that, put in place of every score, gives the same "
               "sum as all the scores together.  An average can hide wide differences between "
               "items, so read it beside the standard deviations below to judge its "
               "statistical meaning in your case.");
}

QString deviationExplanation(const QString& grandDeviation)
{
    return QStringLiteral("The case has an overall case ") +
           QStringLiteral("average standard deviation, for all issues, exhibits, and witnesses, ") +
           QStringLiteral("of ") + grandDeviation +
           QStringLiteral(
               ".  Please understand that this value has been derived as an average.  The "
               "individual standard deviations of the six groups were added together and divided "
               "by the number of columns (6).  This is not necessarily a valid use of the "
               "standard deviation: the individual values by group (Weight, Success, Jury, "
               "Instructions, Evidence, Significance) are the more reliable ones.") +
           QString(91, QLatin1Char(' ')) +
           QStringLiteral(
               "Standard deviations and variance are very useful measures of how widely the "
               "values spread around the average.  A smaller deviation means that the values are "
               "packed closer to the average, which indicates the 'stability' of a case; a "
               "larger one means the case may move in ways you do not expect.  Look first at the "
               "groups with the largest standard deviation.");
}

} // namespace caseanalysis
