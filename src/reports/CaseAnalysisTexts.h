#pragma once

#include <QString>

// The fixed texts of the case analysis report.
namespace caseanalysis {

// The advisory paragraph of a whole average level 0..10; empty for any other.
QString averageParagraph(int level);
// The advisory paragraph of a grand standard deviation's open band; empty on
// a band's edge and at or below 0.
QString deviationParagraph(double grandDeviation);

// The explanations that follow the grand values; the value is spliced in as
// it prints.
QString averageExplanation(const QString& grandAverage);
QString deviationExplanation(const QString& grandDeviation);

} // namespace caseanalysis
