#pragma once

#include <QString>

// For timing: runs the case analysis report of the case file at casePath and
// writes it as PDF to pdfPath, as the preview's Save as PDF would. Points
// the data layer and the open-case state at that case. Raises AppError when
// the PDF cannot be written.
namespace grid {
class GridCore;
}

namespace reports {
void renderCaseAnalysisPdf(const QString& casePath, const QString& pdfPath);
// The grid report of this grid, painted page by page as it is laid out.
void renderGridReportPdf(grid::GridCore& grid, const QString& pdfPath);
} // namespace reports
