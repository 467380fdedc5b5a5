#include "reports/ReportPreviews.h"

#include "analysis/forms/IssueWindow.h"
#include "analysis/forms/frmIssue.h"
#include "platform/core/AppError.h"
#include "platform/reports/ReportPreview.h"
#include "reports/ListReport.h"
#include "reports/adHocGeneral.h"
#include "reports/arCaseAnalysis.h"

namespace {

const QString kSource = QStringLiteral("Argovo.ReportPreviews.show");

} // namespace

ReportPreviews::~ReportPreviews()
{
    for (const QPointer<rpt::ReportPreview>& preview : m_previews)
        delete preview.data();
}

void ReportPreviews::show(const QString& name, int zoomPercent)
{
    namespace rn = platform::reportname;
    if (name == rn::kCaseAnalysis) {
        arCaseAnalysis report;
        open(report, zoomPercent);
    } else if (name == rn::kIssues || name == rn::kWitnesses || name == rn::kExhibits) {
        std::unique_ptr<ListReport> report = name == rn::kIssues      ? ListReport::arIssues()
                                             : name == rn::kWitnesses ? ListReport::arWitnesses()
                                                                      : ListReport::arExhibits();
        open(*report, zoomPercent);
    } else if (name == rn::kGrid) {
        frmIssue* window = analysisforms::issueWindow();
        if (!window)
            throw AppError(kClassFailure, kSource,
                           QStringLiteral("The analysis grid is not loaded."));
        adHocGeneral& report = gridReport();
        report.setGrid(&window->grid());
        open(report, zoomPercent);
    } else {
        throw AppError(kClassFailure, kSource,
                       QStringLiteral("The report ") + name + QStringLiteral(" is not available."));
    }
}

void ReportPreviews::open(rpt::Report& report, int zoomPercent)
{
    report.setZoom(zoomPercent);
    rpt::Document document = report.run();
    auto* preview = new rpt::ReportPreview(std::move(document), report.zoom());
    // A preview left open must not keep the program running after the main
    // window has gone.
    preview->setAttribute(Qt::WA_QuitOnClose, false);
    m_previews.removeAll(nullptr);
    m_previews << preview;
    preview->show();
}

QList<rpt::ReportPreview*> ReportPreviews::previews() const
{
    QList<rpt::ReportPreview*> open;
    for (const QPointer<rpt::ReportPreview>& preview : m_previews) {
        if (preview)
            open << preview.data();
    }
    return open;
}
