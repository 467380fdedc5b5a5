#pragma once

#include <QString>

// For timing: runs the case analysis report of the case file at casePath and
// writes it as PDF to pdfPath, as the preview's Save as PDF would. Points
// the data layer and the open-case state at that case. Raises AppError when
// the PDF cannot be written.
namespace reports {
void renderCaseAnalysisPdf(const QString& casePath, const QString& pdfPath);
}
