#include "platform/reports/Report.h"

#include "platform/reports/ReportFonts.h"
#include <cstdio>
#undef EOF // the engine's recordsets have an EOF member
#include "platform/db/Ado.h"

#include <QFontMetricsF>
#include <QHash>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace rpt {

namespace {

// One thing to print, positioned from the top of its band.
struct Item {
    double y = 0;
    double height = 0;
    bool pageBreak = false;
    std::optional<PageText> text;
    std::optional<QLineF> line;
};

struct Band {
    std::vector<Item> items; // by y, a break before what starts with it
    double height = 0;
    bool hasBreak = false;
};

struct Metrics {
    QFont font;
    QFontMetricsF metrics;
};

// Qt sums a line's advances in 26.6 fixed point, which overflows past 2^25
// pixels, a few hundred thousand characters at the report fonts' size, and
// may come out negative, as if the line fitted. A paragraph that could reach
// half of that, even in glyphs four times as wide as the font is high, is
// wrapped without being measured whole first.
bool measurable(const QString& text, const QFont& font)
{
    constexpr double kSafeAdvance = 1 << 24; // pixels
    return static_cast<double>(text.size()) * 4.0 * font.pixelSize() < kSafeAdvance;
}

// Breaks a paragraph into lines no wider than width, trailing spaces
// dropped. Qt's search for where to break a line without a space runs on to
// the end of the text, so a long paragraph is laid out a piece at a time:
// each piece's lines but its last end where they would in the whole text,
// and the next piece starts with that last line.
void wrapParagraph(const QString& paragraph, const QFont& font, double width, QStringList& lines)
{
    constexpr qsizetype kPiece = 4096; // characters: many lines of any report
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qsizetype start = 0;
    qsizetype piece = kPiece;
    while (start < paragraph.size()) {
        const bool toEnd = paragraph.size() - start <= piece;
        const QString text = paragraph.mid(start, toEnd ? -1 : piece);
        QTextLayout layout(text, font);
        layout.setTextOption(option);
        std::vector<std::pair<int, int>> spans; // start, length
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            spans.emplace_back(line.textStart(), line.textLength());
        }
        layout.endLayout();
        qsizetype next = start + text.size();
        if (!toEnd) {
            // One line longer than the piece (characters of no width): a
            // longer piece.
            if (spans.size() < 2) {
                piece *= 2;
                continue;
            }
            next = start + spans.back().first;
            spans.pop_back();
        }
        for (const auto& [at, length] : spans) {
            QString line = text.mid(at, length);
            while (!line.isEmpty() && line.back().isSpace())
                line.chop(1);
            lines << line;
        }
        start = next;
        piece = kPiece;
    }
}

// Lays bands out onto pages: the report header on the first page, the page
// header on top of every page, the page footer at its bottom, and a band
// that does not fit moved to the next page whole, or line by line when it is
// taller than a page or holds a page break.
class Composer {
public:
    // Each finished page goes to done; the composer keeps only the current one.
    Composer(Report& report, double pageHeight, std::function<void(Page&&)> done)
        : m_report(report)
        , m_done(std::move(done))
    {
        m_bottom = pageHeight - Report::kMargin - report.pageFooter().height();
    }

    void begin() { startPage(true); }
    void detail() { place(band(m_report.detail())); }
    void end()
    {
        place(band(m_report.reportFooter()));
        m_done(std::move(m_page));
    }

private:
    void startPage(bool first = false)
    {
        if (!first)
            m_done(std::move(m_page));
        m_page = Page();
        m_cursor = m_bottom;
        placeFixed(band(m_report.pageFooter()));
        m_cursor = Report::kMargin;
        if (first)
            placeFixed(band(m_report.reportHeader()));
        placeFixed(band(m_report.pageHeader()));
        m_bodyTop = m_cursor;
    }

    void put(const Item& item, double offset)
    {
        if (item.text) {
            PageText text = *item.text;
            text.rect.translate(Report::kMargin, offset);
            m_page.texts.push_back(std::move(text));
        } else if (item.line) {
            m_page.lines.push_back(item.line->translated(Report::kMargin, offset));
        }
    }

    void placeFixed(const Band& b)
    {
        for (const Item& item : b.items)
            put(item, m_cursor);
        m_cursor += b.height;
    }

    void place(const Band& b)
    {
        if (b.items.empty() && b.height <= 0)
            return;
        if (!b.hasBreak) {
            if (m_cursor + b.height > m_bottom && m_cursor > m_bodyTop &&
                b.height <= m_bottom - m_bodyTop)
                startPage();
            if (m_cursor + b.height <= m_bottom) {
                placeFixed(b);
                return;
            }
        }
        double offset = m_cursor;
        double end = m_cursor;
        for (const Item& item : b.items) {
            if (item.pageBreak) {
                startPage();
                offset = m_cursor - item.y;
                end = m_cursor;
                continue;
            }
            if (offset + item.y + item.height > m_bottom && offset + item.y > m_bodyTop) {
                startPage();
                offset = m_cursor - item.y;
            }
            put(item, offset);
            end = std::max(end, offset + item.y + item.height);
        }
        m_cursor = std::max(end, offset + b.height);
    }

    const Metrics& metricsFor(const ReportFont& font)
    {
        const QString key = font.family + QLatin1Char('|') + QString::number(font.pointSize) +
                            (font.bold ? QLatin1Char('b') : QLatin1Char('-')) +
                            (font.italic ? QLatin1Char('i') : QLatin1Char('-'));
        auto it = m_metrics.find(key);
        if (it == m_metrics.end()) {
            QFont qfont = fontFor(font);
            it = m_metrics.insert(key, Metrics{qfont, QFontMetricsF(qfont)});
        }
        return *it;
    }

    QStringList wrap(const QString& text, const ReportFont& font, double width)
    {
        QStringList lines;
        if (text.isEmpty())
            return lines;
        const Metrics& m = metricsFor(font);
        QString plain = text;
        plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        for (const QString& paragraph : plain.split(QLatin1Char('\n'))) {
            if (measurable(paragraph, m.font) && m.metrics.horizontalAdvance(paragraph) <= width) {
                lines << paragraph;
                continue;
            }
            wrapParagraph(paragraph, m.font, width, lines);
        }
        return lines;
    }

    QString textOf(const Control& control) const
    {
        if ((control.kind == ControlKind::TextBox || control.kind == ControlKind::Field) &&
            !control.dataField.isEmpty()) {
            return m_report.fields().contains(control.dataField)
                       ? m_report.fields().text(control.dataField)
                       : QString();
        }
        return control.text;
    }

    Band band(Section& section)
    {
        struct Laid {
            const Control* control;
            QStringList lines;
            double lineHeight = 0;
            double height = 0; // as printed
            double shift = 0;  // pushed down by growing controls above
        };
        std::vector<Laid> laid;
        for (const auto& control : section.controls()) {
            Laid l{control.get(), {}, 0, static_cast<double>(control->height), 0};
            if (control->isText()) {
                l.lineHeight = metricsFor(control->font).metrics.lineSpacing();
                l.lines = wrap(textOf(*control), control->font, control->width);
                const double needed = l.lines.size() * l.lineHeight;
                if (control->canGrow) {
                    l.height = std::max(l.height, needed);
                } else if (needed > l.height && !l.lines.isEmpty()) {
                    const int fit = std::max(1, static_cast<int>(l.height / l.lineHeight));
                    l.lines = l.lines.mid(0, fit);
                }
            }
            laid.push_back(std::move(l));
        }
        std::stable_sort(laid.begin(), laid.end(), [](const Laid& a, const Laid& b) {
            return a.control->top < b.control->top;
        });
        // A control that grew pushes down everything that starts below its
        // design bottom, by as much as it grew.
        for (size_t i = 0; i < laid.size(); ++i) {
            const Control& c = *laid[i].control;
            for (size_t j = 0; j < i; ++j) {
                const Control& above = *laid[j].control;
                if (above.top + above.height <= c.top) {
                    const double growth = laid[j].height - above.height;
                    laid[i].shift = std::max(laid[i].shift, laid[j].shift + growth);
                }
            }
        }
        Band b;
        b.height = section.height();
        for (const Laid& l : laid) {
            const Control& c = *l.control;
            const double y = c.top + l.shift;
            if (c.kind == ControlKind::PageBreak) {
                b.items.push_back(Item{y, 0, true, std::nullopt, std::nullopt});
                b.hasBreak = true;
                continue;
            }
            if (c.kind == ControlKind::Line) {
                const QLineF line(c.left, y, c.left + c.width, y + c.height);
                b.items.push_back(Item{std::min(line.y1(), line.y2()),
                                       std::abs(static_cast<double>(c.height)), false, std::nullopt,
                                       line});
            } else {
                for (int i = 0; i < l.lines.size(); ++i) {
                    const double lineTop = y + i * l.lineHeight;
                    PageText text{QRectF(c.left, lineTop, c.width, l.lineHeight), l.lines[i],
                                  c.font, c.alignment & Qt::AlignHorizontal_Mask};
                    b.items.push_back(Item{lineTop, l.lineHeight, false, text, std::nullopt});
                }
            }
            b.height = std::max(b.height, y + l.height);
        }
        std::stable_sort(b.items.begin(), b.items.end(), [](const Item& a, const Item& c) {
            if (a.y != c.y)
                return a.y < c.y;
            return a.pageBreak && !c.pageBreak;
        });
        return b;
    }

    Report& m_report;
    std::function<void(Page&&)> m_done;
    Page m_page;
    double m_bottom = 0;
    double m_cursor = 0;
    double m_bodyTop = 0;
    QHash<QString, Metrics> m_metrics;
};

} // namespace

Report::Report() = default;
Report::~Report() = default;

QPageLayout::Orientation Report::orientation() const
{
    return m_printWidth > kPageWidth - 2 * kMargin ? QPageLayout::Landscape : QPageLayout::Portrait;
}

double Report::fitScale() const
{
    const double room = kPageHeight - 2.0 * kMargin; // landscape paper's width
    return m_printWidth > room ? room / m_printWidth : 1.0;
}

Document Report::run()
{
    Document document(orientation(), m_caption);
    compose([&document](Page&& page) { document.addPage() = std::move(page); });
    return document;
}

void Report::render(QPagedPaintDevice& device)
{
    // The events run before the device is taken, as they do for run().
    std::unique_ptr<PagePainter> painter;
    compose([&](Page&& page) {
        if (!painter)
            painter = std::make_unique<PagePainter>(device, orientation());
        painter->paint(page);
    });
    if (painter)
        painter->finish();
}

void Report::writePdf(const QString& path)
{
    writePdfFile(path, m_caption, [this](QPagedPaintDevice& device) { render(device); });
}

void Report::compose(const std::function<void(Page&&)>& done)
{
    dataInitialize();
    reportStart();

    const double paperHeight = orientation() == QPageLayout::Landscape ? kPageWidth : kPageHeight;
    // A page shrunk to fit the paper's width holds more lines, down to the
    // same bottom margin, and shrinks about its top left margin corner.
    const double fit = fitScale();
    const double pageHeight = (paperHeight - 2.0 * kMargin) / fit + 2.0 * kMargin;
    QTransform toPaper;
    if (fit < 1.0)
        toPaper.translate(kMargin, kMargin).scale(fit, fit).translate(-kMargin, -kMargin);
    Composer composer(*this, pageHeight, [&done, &toPaper](Page&& page) {
        page.toPaper = toPaper;
        done(std::move(page));
    });

    if (!m_dataControl.source.isEmpty()) {
        auto connection = ado::Connection::create();
        connection->Open(m_dataControl.connectionString);
        auto rs = ado::Recordset::create();
        rs->Open(m_dataControl.source, connection, ado::adOpenForwardOnly, ado::adLockReadOnly);
        const QStringList names = rs->fieldNames();
        for (const QString& name : names)
            m_fields.add(name);
        composer.begin();
        for (int row = 0; row < rs->RecordCount(); ++row) {
            for (int col = 0; col < names.size(); ++col)
                m_fields.setValue(names[col], rs->value(row, col));
            composer.detail();
        }
        rs->Close();
        connection->Close();
    } else if (m_fetching) {
        composer.begin();
        for (;;) {
            bool eof = true;
            fetchData(eof);
            if (eof)
                break;
            composer.detail();
        }
    } else {
        composer.begin();
        composer.detail();
    }
    composer.end();
}

} // namespace rpt
