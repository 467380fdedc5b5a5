#pragma once

#include "store/ErrorReport.h"

#include <QString>

#include <exception>

namespace reports {

// One line of a report procedure: a failure is told with the design's
// procedure ("arCaseAnalysis.GetAVGData") and the line, and the procedure
// goes on with its next line.
template <typename Body> void line(const QString& place, int number, Body&& body)
{
    report::guarded(place, number, std::forward<Body>(body));
}

} // namespace reports
