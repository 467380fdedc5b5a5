#include "reports/ReportBench.h"

#include "reports/adHocGeneral.h"
#include "reports/arCaseAnalysis.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"

namespace reports {

void renderCaseAnalysisPdf(const QString& casePath, const QString& pdfPath)
{
    oMain().setStrFileName(casePath);
    oDataLayer().CloseConnection();
    oDataLayer().setDataSource(casePath);
    oDataLayer().GetConnected();
    arCaseAnalysis report;
    report.writePdf(pdfPath);
}

void renderGridReportPdf(grid::GridCore& grid, const QString& pdfPath)
{
    adHocGeneral& report = gridReport();
    report.setGrid(&grid);
    report.writePdf(pdfPath);
}

} // namespace reports
