#pragma once

#include <QString>

// The text of a PDF file as pdftotext reads it (reading order, no layout);
// fails the calling test when the tool cannot run.
QString pdfText(const QString& pdfPath);
