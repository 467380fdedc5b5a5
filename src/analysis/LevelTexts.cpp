#include "analysis/LevelTexts.h"

namespace levels {

namespace {

const QString kAverage = QStringLiteral(
    "WHERE (Issue.Weight + Issue.Success + Issue.Jury + Issue.Substantive + Issue.Procedural + "
    "Issue.Significance)/6 ");

} // namespace

const std::vector<Band>& bands()
{
    static const std::vector<Band> list{
        {QStringLiteral("Level 9 - 10"), kAverage + QStringLiteral("BETWEEN 9 AND 10")},
        {QStringLiteral("Level 7 - 9"), kAverage + QStringLiteral("BETWEEN 7 AND 9")},
        {QStringLiteral("Level 5 - 7"), kAverage + QStringLiteral("BETWEEN 5 AND 7")},
        {QStringLiteral("Level 3 - 5"), kAverage + QStringLiteral("BETWEEN 3 AND 5")},
        {QStringLiteral("Level 1 - 3"), kAverage + QStringLiteral("BETWEEN 1 AND 3")},
        {QStringLiteral("Level 0"), kAverage + QStringLiteral("< 1")},
    };
    return list;
}

std::optional<Texts> textsFor(const QString& label, const QString& rr)
{
    if (label == QLatin1String("Level 9 - 10"))
        return Texts{
            QStringLiteral("An average between 9 - 10 has been assigned to")
                + QStringLiteral(" these issues.  A 'Request to Admit' might be appropriate.  On "
                                 "the other hand, you might still want to offer proof on them so "
                                 "that the jury gets to hear evidence so clearly in your client's "
                                 "favor."),
            QStringLiteral("How to proceed."),
            QStringLiteral("If this is a key issue or group, a motion for")
                + QStringLiteral("summary judgment might be indicated IF there is no question of "
                                 "fact."),
            QStringLiteral("An average between 9 - 10 is significant in")
                + QStringLiteral(" that it indicates issues you clearly expect to win.  Make sure "
                                 "that no sub-issue or unexpected twist has been missed, and "
                                 "consider probing your adversary with a 'Request to Admit' or "
                                 "other discovery.  You should consider this finding in light of ")
                + QStringLiteral("the fact that there were ") + rr,
        };
    if (label == QLatin1String("Level 7 - 9"))
        return Texts{
            QStringLiteral("An average value between 7 and 9 has been ")
                + QStringLiteral("assigned these issues.  These are good, ")
                + QStringLiteral("solid numbers, yet not without some ")
                + QStringLiteral("degree of risk."),
            QStringLiteral("A 70% case is oftentimes much more difficult to settle than an 80% "
                           "case.")
                + QStringLiteral("  Run a Range study to find the high-scoring items of this "
                                 "group, and stress those items in your settlement "
                                 "negotiations."),
            QStringLiteral("An average between 7 and 9 is an almost-sure thing, items")
                + QStringLiteral(" that you believe would be difficult to lose.  But why not a "
                                 "solid 9 or 10?  What is your reservation, and can it be "
                                 "removed by further work on these issues?  You should consider "
                                 "this finding in ")
                + QStringLiteral("light of the fact that there were ") + rr,
            QStringLiteral("This is the level where the majority of cases")
                + QStringLiteral(" are found.  Cases on either side of it are the exceptional "
                                 "ones.  Work to improve this case issue by issue, moving each "
                                 "item toward the higher level wherever you can."),
        };
    if (label == QLatin1String("Level 5 - 7"))
        return Texts{
            QStringLiteral("An average value between 5 and 7 has been")
                + QStringLiteral(" assigned these issues.  Six times out of ten you might expect "
                                 "to win, but the risk is high.  If this is a key issue, "
                                 "settlement should be considered; a key group at level 5 is not "
                                 "one to try."),
            QStringLiteral("Client management for the good of the client")
                + QStringLiteral(" is essential at this level.  A client whose expectations are "
                                 "not met will be a dissatisfied client, so make sure those "
                                 "expectations are realistic from the start."),
            QStringLiteral("An average 6 level is low, and")
                + QStringLiteral(" makes this a good case for a fair settlement but a dangerous "
                                 "one to try.  Overreaching with a jury on issues at this level "
                                 "can be devastating.  You should consider this finding in light "
                                 "of the ")
                + QStringLiteral("fact that there were ") + rr,
            QStringLiteral("A case fully popuplated at the 5 - 7 level is a case to be")
                + QStringLiteral(" accepted only as a candidate for settlement.  If it is already "
                                 "in your files, recall the rationale for taking it on in the "
                                 "first place."),
        };
    if (label == QLatin1String("Level 3 - 5"))
        return Texts{
            QStringLiteral("An average value between 3 and 5 has been assigned these issues.")
                + QStringLiteral("  You can expect to win only 30 to 49% of the time, which "
                                 "places you at a 51 to 70% disadvantage.  This is a poor "
                                 "result."),
            QStringLiteral("Not a good case to have in your files."),
            QStringLiteral("A 4 case is one to settle as best you can,")
                + QStringLiteral(" and hopefully without having to pay costs.  A 3 means that "
                                 "something has gone seriously wrong.  You should consider this ")
                + QStringLiteral("finding in light of the fact that there were ") + rr,
            QStringLiteral("Many attorneys would agree that a case at this level should not be "
                           "undertaken, all ")
                + QStringLiteral("else being equal."),
        };
    if (label == QLatin1String("Level 1 - 3"))
        return Texts{
            QStringLiteral("An average value of 1 - 3 out of a possible 10 has been")
                + QStringLiteral(" assigned these issues.  You are at a 70 to 90% disadvantage.  "
                                 "The whole case should be reassessed."),
            QStringLiteral("There is no case at this level."),
            QStringLiteral("If many other issue averages in")
                + QStringLiteral(" the case are also at this level, your adversary will likely "
                                 "move for summary judgment and win.  A dismissal may spare your "
                                 "client costs and attorney's fees.  You should consider this "
                                 "finding in light of ")
                + QStringLiteral("the fact that there were ") + rr,
            QStringLiteral("A case to dispose of with the client's approval."),
        };
    if (label == QLatin1String("Level 0"))
        return Texts{
            QStringLiteral("An average value below 1.0 has been computed."),
            QStringLiteral("All else being equal, this is a failed case."),
            QStringLiteral("All else being equal, this is a failed case."),
            QStringLiteral("All else being equal, this is a failed case."),
        };
    return std::nullopt;
}

} // namespace levels
