#pragma once

#include "platform/reports/ReportControl.h"

#include <QLineF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace rpt {

// One line of text where it prints, in twips from the page's top left.
struct PageText {
    QRectF rect;
    QString text;
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct Page {
    std::vector<PageText> texts;
    std::vector<QLineF> lines; // twips
    // Onto the paper: a report wider than the paper is shrunk to fit it
    // rather than lose what lies past the edge.
    QTransform toPaper;
};

// The laid-out report: pages of positioned texts and lines. It holds no
// pixels; every device paints a page afresh from it, so one layout serves
// the screen, the printer and PDF.
class Document final {
public:
    Document() = default;
    Document(QPageLayout::Orientation orientation, QString title);

    QString title() const { return m_title; }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    const Page& page(int index) const { return m_pages.at(static_cast<size_t>(index)); }
    Page& addPage();
    // Letter paper in twips, turned for landscape.
    QSizeF pageSizeTwips() const;
    QPageLayout pageLayout() const;

    // Every text of the page in reading order (top to bottom, left to right).
    QStringList pageTexts(int index) const;

    // Paints one page; the painter's coordinates must be twips.
    void paintPage(QPainter& painter, int index) const;
    static void paintPage(QPainter& painter, const Page& page);
    // Paints every page onto a printer or PDF writer, whole page, no margins
    // of the device's own.
    void render(QPagedPaintDevice& device) const;
    // Writes the PDF through a temporary file renamed into place, so a failed
    // write never leaves a half file. Raises AppError on failure.
    void writePdf(const QString& path) const;
    // Printing to a PDF file takes the same way as writePdf. Raises AppError
    // on failure.
    void print(QPrinter& printer) const;

private:
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QString m_title;
    std::vector<Page> m_pages;
};

// Paints pages one after another onto a printer or PDF writer, whole page,
// no margins of the device's own; pages need not all exist at once.
class PagePainter final {
public:
    // Raises AppError when the device cannot be painted on.
    PagePainter(QPagedPaintDevice& device, QPageLayout::Orientation orientation);
    // Ends the job if finish() was not reached; a failure then goes unsaid.
    ~PagePainter();
    PagePainter(const PagePainter&) = delete;
    PagePainter& operator=(const PagePainter&) = delete;

    void paint(const Page& page);
    // Ends the job; raises AppError when the device says it failed.
    void finish();

private:
    QPagedPaintDevice& m_device;
    std::unique_ptr<QPainter> m_painter;
    bool m_first = true;
};

// Letter paper, turned for landscape.
QPageLayout letterLayout(QPageLayout::Orientation orientation);

// Writes a PDF through a temporary file renamed into place, so a failed
// write never leaves a half file; render paints the pages onto the writer.
// Raises AppError on failure.
void writePdfFile(const QString& path, const QString& title,
                  const std::function<void(QPagedPaintDevice&)>& render);

} // namespace rpt
