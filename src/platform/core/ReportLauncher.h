#pragma once

#include <QString>

// Opens a report's preview. The main window's report commands and the
// analysis window's "Send to Report" hand over the report's name and the zoom
// it opens at; the reports library installs the launcher that builds and
// shows the previews, and tests install one that records the calls.
namespace platform {

namespace reportname {
inline const QString kWitnesses = QStringLiteral("arWitnesses");
inline const QString kExhibits = QStringLiteral("arExhibits");
inline const QString kIssues = QStringLiteral("arIssues");
inline const QString kCaseAnalysis = QStringLiteral("arCaseAnalysis");
inline const QString kGrid = QStringLiteral("adHocGeneral");
} // namespace reportname

class ReportLauncher {
public:
    virtual ~ReportLauncher() = default;
    // Shows the named report's preview (modeless) at the given zoom percent.
    // Failures are raised as AppError for the caller to report.
    virtual void show(const QString& reportName, int zoomPercent) = 0;
};

// Without a launcher installed, showing a report tells the user it is not
// available rather than doing nothing.
ReportLauncher& reportLauncher();
void setReportLauncher(ReportLauncher* launcher);

} // namespace platform
