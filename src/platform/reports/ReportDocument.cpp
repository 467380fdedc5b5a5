#include "platform/reports/ReportDocument.h"

#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"
#include "platform/reports/ReportFonts.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>
#include <utility>

namespace rpt {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kLineWidth = 10.0; // twips

AppError writeError(const QString& path, const QString& why)
{
    return AppError(jet::DiskIo, QStringLiteral("rpt.Document.writePdf"),
                    QStringLiteral("The report could not be saved to ") + path +
                        QStringLiteral(": ") + why);
}

} // namespace

Document::Document(QPageLayout::Orientation orientation, QString title)
    : m_orientation(orientation)
    , m_title(std::move(title))
{
}

Page& Document::addPage()
{
    m_pages.emplace_back();
    return m_pages.back();
}

QSizeF Document::pageSizeTwips() const
{
    const QSizeF portrait(8.5 * kTwipsPerInch, 11.0 * kTwipsPerInch);
    return m_orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

QPageLayout Document::pageLayout() const
{
    return letterLayout(m_orientation);
}

QPageLayout letterLayout(QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(QPageSize::Letter), orientation, QMarginsF(0, 0, 0, 0));
}

QStringList Document::pageTexts(int index) const
{
    std::vector<const PageText*> sorted;
    for (const PageText& text : page(index).texts)
        sorted.push_back(&text);
    std::stable_sort(sorted.begin(), sorted.end(), [](const PageText* a, const PageText* b) {
        if (a->rect.top() != b->rect.top())
            return a->rect.top() < b->rect.top();
        return a->rect.left() < b->rect.left();
    });
    QStringList texts;
    for (const PageText* text : sorted)
        texts << text->text;
    return texts;
}

void Document::paintPage(QPainter& painter, int index) const
{
    paintPage(painter, page(index));
}

void Document::paintPage(QPainter& painter, const Page& p)
{
    painter.save();
    painter.setTransform(p.toPaper, true);
    painter.setPen(QPen(Qt::black, kLineWidth));
    for (const QLineF& line : p.lines)
        painter.drawLine(line);
    for (const PageText& text : p.texts) {
        painter.setFont(fontFor(text.font));
        // No mnemonic flag: an "&" prints as itself.
        painter.drawText(text.rect,
                         static_cast<int>(text.alignment) | Qt::AlignTop | Qt::TextSingleLine |
                             Qt::TextDontClip,
                         text.text);
    }
    painter.restore();
}

void Document::render(QPagedPaintDevice& device) const
{
    PagePainter painter(device, m_orientation);
    for (const Page& page : m_pages)
        painter.paint(page);
}

void Document::writePdf(const QString& path) const
{
    writePdfFile(path, m_title, [this](QPagedPaintDevice& device) { render(device); });
}

PagePainter::PagePainter(QPagedPaintDevice& device, QPageLayout::Orientation orientation)
    : m_device(device)
    , m_painter(std::make_unique<QPainter>())
{
    device.setPageLayout(letterLayout(orientation));
    if (!m_painter->begin(&device))
        throw AppError(jet::DiskIo, QStringLiteral("rpt.PagePainter"),
                       QStringLiteral("The report could not be printed."));
}

PagePainter::~PagePainter()
{
    m_painter->end();
}

void PagePainter::paint(const Page& page)
{
    if (!m_first)
        m_device.newPage();
    m_first = false;
    m_painter->save();
    m_painter->scale(m_device.logicalDpiX() / kTwipsPerInch,
                     m_device.logicalDpiY() / kTwipsPerInch);
    Document::paintPage(*m_painter, page);
    m_painter->restore();
}

void writePdfFile(const QString& path, const QString& title,
                  const std::function<void(QPagedPaintDevice&)>& render)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw writeError(path, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(1200);
        writer.setTitle(title);
        writer.setCreator(appinfo::kProductLabel);
        render(writer);
    }
    if (!file.commit())
        throw writeError(path, file.errorString());
}

void Document::print(QPrinter& printer) const
{
    printer.setFullPage(true);
    printer.setDocName(m_title);
    render(printer);
    // A printer that fails after the first page says so only in its state.
    if (printer.printerState() == QPrinter::Error)
        throw AppError(jet::DiskIo, QStringLiteral("rpt.Document"),
                       QStringLiteral("The report could not be printed."));
}

} // namespace rpt
