#pragma once

#include <QString>

#include <array>
#include <vector>

// The wording of the advisory texts that CText composes. Data only: which
// text a click selects is decided in CText.
namespace advisory {

// The four method texts of one aggregate method. problem is empty for
// "AVG", whose problem statement is put together from the pieces below.
struct MethodTexts {
    QString method; // as the method list shows it, e.g. "STDEV"
    QString description;
    QString problem;
    QString issueOpening; // followed by the column, " object.  The value is " ...
    QString comment;
};
// "AVG", "MIN", "MAX", "STDEV", "VAR".
const std::vector<MethodTexts>& methods();

// The pieces of the "AVG" problem statement for a value v of 0 to 10.
struct AverageProblem {
    // The note on red and black values, in its two parts; left out for 4.
    QString noteStart;
    QString noteMiddle; // for 10 it begins with a blank
    QString noteEnd;
    QString roundedA;  // "... rounded off.  A ", then v and a blank
    QString roundedAn; // for 8: "... rounded off.  An 8 "
    QString meaning;
    struct Grade {
        QString grade;
        QString ending;
    };
    std::array<Grade, 11> grades; // by value
};
const AverageProblem& averageProblem();

// Texts keyed by the clicked rating column's field name.
struct ColumnTexts {
    QString field;            // "Weight" .. "Significance"
    QString averageParagraph; // follows the "AVG" issue statement's sentence
    QString levelDescription;
    QString levelComment;
};
const std::vector<ColumnTexts>& columns();

// By value 0 to 10. Each issue paragraph ends "... in light of the fact
// that ", after which the found/total message follows.
const std::array<QString, 11>& levelIssueParagraphs();
const std::array<QString, 11>& levelProblemStatements();

} // namespace advisory
