#include "reports/ReportPreviews.h"

#include "analysis/forms/IssueWindow.h"
#include "analysis/forms/frmIssue.h"
#include "platform/core/AppError.h"
#include "platform/reports/ReportPreview.h"
#include "reports/ListReport.h"
#include "reports/adHocGeneral.h"
#include "reports/arCaseAnalysis.h"
#include "store/AppState.h"
#include "store/CMain.h"

#include <QDir>

namespace {

const QString kSource = QStringLiteral("Argovo.ReportPreviews.show");

// A report written over the open case would replace the case with it.
QString caseFileRefusal(const QString& path)
{
    if (!oMain().isOpenCaseFile(path))
        return QString();
    return QStringLiteral("%1 is the open case file. A report cannot be written over it; "
                          "choose another name. Nothing was written.")
        .arg(QDir::toNativeSeparators(path));
}

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
    preview->setTargetCheck(caseFileRefusal);
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
