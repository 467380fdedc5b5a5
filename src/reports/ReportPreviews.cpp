#include "reports/ReportPreviews.h"

#include "analysis/forms/IssueWindow.h"
#include "analysis/forms/frmIssue.h"
#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "platform/reports/ReportPreview.h"
#include "reports/ListReport.h"
#include "reports/adHocGeneral.h"
#include "reports/arCaseAnalysis.h"
#include "store/AppState.h"
#include "store/CMain.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

const QString kSource = QStringLiteral("Argovo.ReportPreviews.show");

// Whether path names the open case's file under any name: another spelling,
// a hard or symbolic link, or the name the file was moved to while open.
bool isOpenCaseFile(const QString& path)
{
    if (gDB && gDB->isOpen() && gDB->isFile(path))
        return true;
    const QString open = oMain().strFileName();
    struct stat chosen {};
    struct stat held {};
    // A file that does not exist yet is not the case.
    return !open.isEmpty() && ::stat(QFile::encodeName(path).constData(), &chosen) == 0 &&
           ::stat(QFile::encodeName(open).constData(), &held) == 0 &&
           chosen.st_dev == held.st_dev && chosen.st_ino == held.st_ino;
}

// A report written over the open case would replace the case with it.
QString caseFileRefusal(const QString& path)
{
    if (!isOpenCaseFile(path))
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
