#include "platform/reports/ReportDocument.h"

#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"
#include "platform/core/DurableFile.h"
#include "platform/reports/ReportFonts.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace rpt {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kLineWidth = 10.0; // twips

AppError writeError(const QString& failed, const QString& path, const QString& why)
{
    return AppError(jet::DiskIo, QStringLiteral("rpt.Document.writePdf"),
                    failed.arg(path) + QStringLiteral(": ") + why);
}

// failed names what could not be done to the file at %1. The pages go to a
// file beside it and take its name only once all are on the disk: a failure
// part-way, a full disk included, leaves the file that was there.
void writePdfAs(const QString& path, const QString& title,
                const std::function<void(QPagedPaintDevice&)>& render, const QString& failed)
{
    const QString source = QStringLiteral("rpt.Document.writePdf");
    QString temp;
    try {
        // A link is written through, to the file it names.
        const QString target = durable::replacedFile(path, source);
        temp = durable::freeNameBeside(target, QStringLiteral("pdf"));
        QFile file(temp);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw writeError(failed, path, file.errorString());
        {
            QPdfWriter writer(&file);
            writer.setResolution(1200);
            writer.setTitle(title);
            writer.setCreator(appinfo::kProductLabel);
            render(writer);
        }
        errno = 0;
        if (!file.flush()) {
            // A write cut short by a full disk leaves its reason only in errno.
            throw writeError(failed, path, errno ? qt_error_string(errno) : file.errorString());
        }
        file.close();
        if (file.error() != QFileDevice::NoError)
            throw writeError(failed, path, file.errorString());
        durable::keepAccessOf(target, temp, source);
        durable::moveInto(temp, target, durable::Existing::Replace, source);
    } catch (const AppError& e) {
        if (!temp.isEmpty())
            QFile::remove(temp);
        if (e.description().startsWith(failed.arg(path)))
            throw;
        throw writeError(failed, path, e.description());
    } catch (...) {
        if (!temp.isEmpty())
            QFile::remove(temp);
        throw;
    }
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
    painter.finish();
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
    if (m_painter->isActive())
        m_painter->end();
}

void PagePainter::finish()
{
    if (!m_painter->end())
        throw AppError(jet::DiskIo, QStringLiteral("rpt.PagePainter"),
                       QStringLiteral("The report could not be printed."));
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
    writePdfAs(path, title, render, QStringLiteral("The report could not be saved to %1"));
}

void Document::print(QPrinter& printer) const
{
    // The printer's own PDF output writes straight into the file, over what
    // it held, and says nothing when the disk fills: a file is written as
    // Save as PDF writes one.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        writePdfAs(
            printer.outputFileName(), m_title,
            [this](QPagedPaintDevice& device) { render(device); },
            QStringLiteral("The report could not be printed to %1"));
        return;
    }
    printer.setFullPage(true);
    printer.setDocName(m_title);
    render(printer);
    // A printer that fails after the first page says so only in its state.
    if (printer.printerState() == QPrinter::Error)
        throw AppError(jet::DiskIo, QStringLiteral("rpt.Document"),
                       QStringLiteral("The report could not be printed."));
}

} // namespace rpt
