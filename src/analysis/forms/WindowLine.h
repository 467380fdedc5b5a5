#pragma once

#include "store/ErrorReport.h"

#include <QString>

#include <exception>

namespace analysisforms {

// One line of a window procedure of frmIssue: a failure is reported with
// the procedure's place and the line, and the procedure goes on with its
// next line. Returns whether the line ran through.
template <typename Body> bool line(const char* procedure, int number, Body&& body)
{
    return report::guarded(QStringLiteral("frmIssue.") + QLatin1String(procedure), number,
                           std::forward<Body>(body));
}

} // namespace analysisforms
