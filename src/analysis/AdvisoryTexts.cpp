#include "analysis/AdvisoryTexts.h"

// The texts are kept exactly as users have always read them, blanks and
// spelling included.

namespace advisory {

const std::vector<MethodTexts>& methods()
{
    static const std::vector<MethodTexts> list{
        {
            QStringLiteral("AVG"),
            QStringLiteral(
                "Here is an example of a practical application of the AVG method:  If we divided "
                "the world's population by 60 million there would be 100 humans, and of those 100 "
                "humans 57 would be Asian, 21 European, 14 from the Western Hemisphere and 8 "
                "African; 52 would be female and 48 male; 70 would be non-Christian and 30 "
                "Christian; 6 would own 59% of the entire world's wealth; 70 would be unable to "
                "read; 50 would suffer from malnutrition; 1 would be near birth, and only 1 "
                "would have a college education.  None of those 100 people is an average person, "
                "yet the figures tell you more about the world than any one of them could.  When "
                "you begin thinking of law cases in statistical terms such as these, you will "
                "find that you are thinking more objectively about your cases."),
            QString(),
            QStringLiteral("The selected AVG value is of a "),
            QStringLiteral(
                "The average (mean) is one of several indices of central tendency that you can "
                "use to locate the point among all issues where the population is centered.  The "
                "mean is the sum of all the scores divided by the number of scores.  It is the "
                "one value that, substituted for every score in the group, would yield the same "
                "sum.  In other words, when you are viewing the average or mean, you are viewing "
                "a key indicator of statistical meaning in your case."),
        },
        {
            QStringLiteral("MIN"),
            QStringLiteral("To find the MIN or minimum value the computer simply searches through "
                           "all issues until it locates the lowest one and returns it to you."),
            QStringLiteral("The MIN method has returned the one lowest score of all issue scores."),
            QStringLiteral("The selected MIN value is of a "),
            QStringLiteral(
                "The MIN method simply helps you locate the issue with the lowest value. "
                " Once you have reworked that issue and re-adjusted its value, you can "
                "run the method again in order to find the next lowest value."),
        },
        {
            QStringLiteral("MAX"),
            QStringLiteral("To find the MAX or maximum value the computer simply searches through "
                           "all issues until it locates the highest one and returns it to you."),
            QStringLiteral(
                "The MAX method has returned the one maximum score of all maximum scores."),
            QStringLiteral("The selected MAX value is of a "),
            QStringLiteral("The MAX methhod locates the issue with the highest value.  In the best "
                           "case scenario the issues that score the highest values are those that "
                           "are the key issues."),
        },
        {
            QStringLiteral("STDEV"),
            QStringLiteral(
                "If you traded in the stock market, you would think about STDEV like this:  in "
                "relation to trading system returns, a high standard deviation is telling you "
                "that you can expect a wide range of returns, some far above the average and some "
                "far below it.  In other words, the returns are volatile.  A low standard "
                "deviation tells you that the returns stay close to their average from one period "
                "to the next.  Carry the same thinking over to the scores of your issues: a high "
                "STDEV means the scores of a group have many ups and downs, and you cannot be "
                "sure where the group as a whole will come to rest.  This uncertainty of what the "
                "returns would be in the next period is why standard deviation is used as a "
                "measure of risk."),
            QStringLiteral(
                "The following applies ONLY when you have clicked a value  that has been posted "
                "to the screen in red.  (The values in black are the actual values, not the "
                "STDEVs.)  The STDEV method has returned a single score, which represents the "
                "number amount by which the issues deviate.  The result indicates how volatile "
                "are the issues in your case--that is, how many ups and down and how wide the "
                "swings."),
            QStringLiteral("The selected STDEV value is of a "),
            QStringLiteral(
                "The standard deviation is a figure that illustrates how closely all the various "
                "points of data are clustered around the mean (average) in a group of issues. "
                "When the points are tightly clustered, the bell-shaped curve is steep and the "
                "standard deviation is small.  When the points are spread apart, the curve is "
                "flat and the standard deviation is large.  Translated into case terms, the "
                "latter would indicate wide-spread issue values."),
        },
        {
            QStringLiteral("VAR"),
            QStringLiteral(
                "Variation is inevitable in life! Every issue, every measurement, every group has "
                "variation. The lawyer who understands variation understands where a case can "
                "surprise him.  Suppose a column of issues averages 8.  If its VAR is 1, the "
                "scores lie close together, from 7 to 9, and the average tells you a good deal "
                "about each issue.  If its VAR is 3, some of those issues score 5 and lower, and "
                "the average of 8 hides issues that could cost you the case.  A good rule of "
                "thumb: pay heed to the VAR indicator where the key issues are involved.  Look at "
                "their values individually, keeping in mind what is the average and what is the "
                "VAR, and compare those values to each key."),
            QStringLiteral(
                "The following applies ONLY when you have clicked a value  that has been posted "
                "to the screen in red.  (The values in black are the actual values, not the "
                "VARs.)  Variance can be used as a measure of volatility. A high variance "
                "indicates a high amount of volatility in issues.  See Description, below for "
                "how this information can be used."),
            QStringLiteral("The selected VAR value is of a "),
            QStringLiteral(
                "The variance is the square of the standard deviation.  What does this mean in "
                "our analysis of issue scores?  Think of the top of a forest seen from the air: "
                "the trees stand at much the same height, and the surface looks smooth.  That is "
                "a low variance.  Now think of a cluttered desk top, a stapler beside a pencil, a "
                "stack of books beside a paper clip.  That is a high variance.  If you equate "
                "issue importance with the size of objects on your desktop, you are starting to "
                "grasp the idea of variance."),
        },
    };
    return list;
}

const AverageProblem& averageProblem()
{
    static const AverageProblem pieces{
        QStringLiteral("The following applies ONLY when you have clicked a value "),
        QStringLiteral("that has been posted to the screen in red.  (The values in black "),
        QStringLiteral("are the actual values, not the AVGs.)  "),
        QStringLiteral("The average has been rounded off.  A "),
        QStringLiteral("The average has been rounded off.  An 8 "),
        QStringLiteral("average means this group of issues when added together and divided by "
                       "their total count scores "),
        {{
            {QStringLiteral("about 0%. This is the lowest possible "),
             QStringLiteral("score for a group of issues.")},
            {QStringLiteral("about 10%. This is a bottom score "),
             QStringLiteral("for so many issues.")},
            {QStringLiteral("about 20%. This is a defeated score "),
             QStringLiteral("for so many issues.")},
            {QStringLiteral("about 30%. This is a very poor score "),
             QStringLiteral("for so many issues.")},
            {QStringLiteral("about 40%. This is a poor score "),
             QStringLiteral("for so many issues.")},
            {QStringLiteral("about 50%. This is a very low score "),
             QStringLiteral("for so many issues.")},
            {QStringLiteral("about 60%. This is a low score "),
             QStringLiteral("for so many issues.")},
            {QStringLiteral("about 70%. This is an average score "),
             QStringLiteral("for a group of issues.")},
            {QStringLiteral("about 80%. This is high-confidence low score "),
             QStringLiteral("for a group of issues.")},
            {QStringLiteral("about 90%. This is an excellent score "),
             QStringLiteral("for a group of issues.")},
            {QStringLiteral("about 100%. This is the highest "),
             QStringLiteral("possible score for a group of issues.")},
        }},
    };
    return pieces;
}

const std::vector<ColumnTexts>& columns()
{
    static const std::vector<ColumnTexts> list{
        {
            QStringLiteral("Weight"),
            QStringLiteral(
                "  Because this is a number that indicates the weight you think the issue "
                "carries, it is important to look for the lows and highs across the columns to "
                "see where your case is strongest and where it might need help."),
            QStringLiteral(
                "The weight or 'gravity' of an issue relates to its impact on the case.  For "
                "example, an issue dealing with property damage to an automobile carries nowhere "
                "near the weight of an issue related to the death of the driver."),
            QStringLiteral(
                "An issue weight represents the numerical gravity you have assigned an issue."),
        },
        {
            QStringLiteral("Success"),
            QStringLiteral(
                "  Because this is an issue that indicates how you feel about your chances for "
                "success with this case, you are looking at an issue that is really about your "
                "gut-feeling, as some would say.  It is worth testing that feeling against the "
                "opinions of others: present the facts of the issue to colleagues, friends or "
                "family whose judgment you trust, and listen to how they react.  Doing so will "
                "help you gain a cross-section of opinion about the merits of the case as a jury "
                "might perceive them in your opening statement."),
            QStringLiteral(
                "'Success' is a value assigned on the basis of many thought processes.  How "
                "strong is the evidence on the issue?  How will the witnesses be perceived by the "
                "jury?  How will the court instruct the jury on the law that governs the issue?  "
                "Do the rules of evidence allow for the admission of all the evidence necessary "
                "to prove (or defeat) the issue.  "),
            QStringLiteral(
                "An issue success value represents the numerical chances for success you expect "
                "on a given issue.  In Las Vegas terms, it is the percentage odds you believe are "
                "for or against you--50%, 60%, and so forth."),
        },
        {
            QStringLiteral("Jury"),
            QStringLiteral(
                "  Because this is an issue that indicates it is closely allied with how the jury "
                "will feel about your case, it should be studied to see how its impact on the "
                "jury can be lessened, where it works against you, or strengthened, where it "
                "works for you, in order to assure a more favorable ruling, greater damages, or "
                "other outcome."),
            QStringLiteral(
                "Cases having the greatest jury appeal are those cases that ignite human "
                "emotion.  A jury that is moved by the plight of a party will look for a way to "
                "find in that party's favor, and a jury that is left cold will look no further "
                "than the evidence requires.  Many attorneys like to keep in mind the human "
                "feeling side of the case when thinking of jury appeal, especially those cases "
                "dealing with children, the infirm, the aged, and the physically or mentally "
                "challenged.  "),
            QStringLiteral(
                "The jury value represents the jury appeal you believe your presentation on an "
                "issue will have.  Sometimes juries are very much in one's favor on a given issue "
                "('was the light green?') and your 'Jury' value will be higher."),
        },
        {
            QStringLiteral("Substantive"),
            QStringLiteral(
                "  Because this is an issue that indicates what jury instructions will be given, "
                "it should be closely examined to see whether you need to present the facts in "
                "order paint a different picture in order to get more favorable instructions, or "
                "in order to bolster what you already can expect."),
            QStringLiteral(
                "'Proof beyond a reasonable doubt means proof beyond all doubt.'  (This misstates "
                "the law, yet jurors often hear the instruction that way.)  When you assign a "
                "substantive value, think in terms of the jury instructions approved by the "
                "highest court of your jurisdiction, and of the reported cases that apply them "
                "to facts like yours.  Also think of ways your adversary might try to distinguish "
                "your facts from the facts in those reported cases."),
            QStringLiteral(
                "An issue substantive number should directly consider the likelihood of the "
                "court giving a jury instruction in your client's favor.  There are other "
                "substantive issues, of course, but the greatest impact substantive law has upon "
                "a case, once trial has begun, is to be found in the final jury instructions the "
                "judge tells the jury."),
        },
        {
            QStringLiteral("Procedural"),
            QStringLiteral(
                "  Because this is an issue that indicates it may control the admission of "
                "evidence, it should be closely examined to see whether you need to prepare "
                "alternative strategies for admitting/keeping-out the evidence in question."),
            QStringLiteral(
                "'An admission by a party opponent is an exception to the hearsay rule.'  Are "
                "you certain you know what this language means?  Do you know when the court will "
                "admit such evidence, and whether the evidence your issue depends on will come in "
                "over an objection, a missing foundation or a late disclosure?  If so, you are "
                "ready to assign a reliable procedural value to issues subject to such "
                "frailties."),
            QStringLiteral(
                "A procedural value directly relates to the prospect of a favorable evidentiary "
                "ruling as to evidence offered on any given issue."),
        },
        {
            QStringLiteral("Significance"),
            QStringLiteral(
                "  Because this is an issue that indicates it is of significance, it should be "
                "closely examined to see whether it meets with your needs/expectations for a "
                "successful resolution of the action."),
            QStringLiteral(
                "If you were sitting on your jury, how strongly would you be moved by the issue "
                "now under consideration?  If very strongly, the issue deserves a value of 8 to "
                "10.  If you would be just receptive, a 7.  If you would feel lukewarm about it, "
                "a 5 or 6.  If you would be bored, a 4, and you should consider establishing the "
                "issue by an admission instead, through an interrogatory or 'request for "
                "admission' so that you do not have to bore your jury."),
            QStringLiteral(
                "A general overview value that you can place on an issue to denote the degree of "
                "significance you believe an issue has in your case."),
        },
    };
    return list;
}

namespace {
const QString kInLight =
    QStringLiteral("You should consider this finding in light of the fact that ");
} // namespace

const std::array<QString, 11>& levelIssueParagraphs()
{
    static const std::array<QString, 11> list{
        // 0
        QStringLiteral("If this is a key issue on which the case turns, a majority of attorneys "
                       "would try to dismiss and hope to avoid costs and attorney's fees.  ") +
            kInLight,
        // 1
        QStringLiteral("If this is a key issue on which the case turns, a majority of attorneys "
                       "would probably try to dismiss and hope to avoid costs and attorney's "
                       "fees.  ") +
            kInLight,
        // 2
        QStringLiteral("If this is a key issue on which the case turns, a majority of attorneys "
                       "would probably try to dismiss and hope to avoid costs and attorney's "
                       "fees.  ") +
            kInLight,
        // 3
        QStringLiteral("If many other issues in the case are also at the 3 level, your adversary "
                       "will likely move for summary judgment and win.  Does keeping the case "
                       "alive serve your client?  ") +
            kInLight,
        // 4
        QStringLiteral("A 4 case is one to settle as best you can, and hopefully without having "
                       "to pay costs.  ") +
            kInLight,
        // 5
        QStringLiteral("A 5 out of 10 level indicates you are equally divided on your chances of "
                       "winning on this issue.  An early settlement may keep your discovery costs "
                       "down.  ") +
            kInLight,
        // 6
        QStringLiteral("You will most likely, at some point, regret having ever filed an "
                       "'across-the-board' 6 out of 10 case.  Settlement should be your aim.  ") +
            kInLight,
        // 7
        QStringLiteral("A 7 out of 10 resembles the 'C' student.  It is a good issue for a fair "
                       "settlement, but a dangerous one to try.  ") +
            kInLight,
        // 8
        QStringLiteral("8 of 10 is a strong issue, if a key issue, for an excellent settlement.  "
                       "Has your client been told of the 20% reservation you hold on it?  ") +
            kInLight,
        // 9
        QStringLiteral("9 out of 10 is a sure thing, an issue that you believe would be difficult "
                       "to lose.  But why not a 10?  What is your reservation, and can the issue "
                       "be strengthened to remove it?  ") +
            kInLight,
        // 10
        QStringLiteral("A 10 out of 10 level is significant in that it indicates an issue that "
                       "you clearly expect to win.  Make sure that no sub-issue or unexpected "
                       "twist has been missed, and consider probing your adversary with a "
                       "'Request to Admit'.  ") +
            kInLight,
    };
    return list;
}

const std::array<QString, 11>& levelProblemStatements()
{
    static const std::array<QString, 11> list{
        QStringLiteral("A value of 0 out of 10 has been assigned on this issue.  This issue is "
                       "definitely lost.  If the case turns on this issue some attorneys will "
                       "offer to dismiss and to avoid paying costs and/or attorney's fees."),
        QStringLiteral("A value of 1 out of 10 has been assigned on this issue.  This issue is "
                       "clearly lost.  If the case turns on this issue some attorneys will offer "
                       "to dismiss and to avoid paying costs and/or attorney's fees."),
        QStringLiteral("A value of 2 out of 10 has been assigned on this issue.  This issue is "
                       "lost."),
        QStringLiteral("A value of 3 out of 10 has been assigned on this issue.  You are at a 70% "
                       "disadvantage on this issue."),
        QStringLiteral("A value of 4 out of 10 has been assigned on this issue.  You are at a 60% "
                       "disadvantage on this issue."),
        QStringLiteral("A value of 5 out of 10 has been assigned on this issue.  You will win on "
                       "this issue 50% of the time."),
        QStringLiteral("A value of 6 out of 10 has been assigned on this issue.  This issue is "
                       "hopefully in your favor."),
        QStringLiteral("A value of 7 out of 10 has been assigned on this issue.  Seven times out "
                       "of ten you expect to win on this issue."),
        QStringLiteral("A value of 8 out of 10 has been assigned on this issue.  An issue "
                       "strongly in your favor."),
        QStringLiteral("A value of 9 out of 10 has been assigned on this issue.  A reason for the "
                       "other side to settle quickly, if the case turns on this issue."),
        QStringLiteral("A value of 10 out of 10 has been assigned to this issue.  A 'Request to "
                       "Admit' might be appropriate. On the other hand, you might still want to "
                       "offer proof on this issue so that the jury gets to hear evidence on an "
                       "issue so surely in your favor."),
    };
    return list;
}

} // namespace advisory
