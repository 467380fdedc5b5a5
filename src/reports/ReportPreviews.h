#pragma once

#include "platform/core/ReportLauncher.h"

#include <QList>
#include <QPointer>

namespace rpt {
class Report;
class ReportPreview;
} // namespace rpt

// The report launcher of the running program: builds the named report,
// runs it and opens its modeless preview. The grid report prints the loaded
// analysis window's grid. Previews still open are closed with the launcher.
class ReportPreviews final : public platform::ReportLauncher {
public:
    ReportPreviews() = default;
    ~ReportPreviews() override;
    ReportPreviews(const ReportPreviews&) = delete;
    ReportPreviews& operator=(const ReportPreviews&) = delete;

    // Raises AppError when the report cannot be made (no analysis grid for
    // the grid report, a case file that cannot be read, an unknown name).
    void show(const QString& reportName, int zoomPercent) override;

    // The previews this launcher opened that are still open.
    QList<rpt::ReportPreview*> previews() const;

private:
    void open(rpt::Report& report, int zoomPercent);

    QList<QPointer<rpt::ReportPreview>> m_previews;
};
