#include "platform/reports/ReportPreview.h"

#include "platform/core/AppError.h"
#include "platform/core/Prompt.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <exception>

namespace rpt {

// Paints the current page of the preview at its zoom, white on grey.
class PageView final : public QWidget {
public:
    explicit PageView(const ReportPreview& preview, QWidget* parent)
        : QWidget(parent)
        , m_preview(preview)
    {
        setObjectName(QStringLiteral("pageView"));
    }

    double scale() const { return m_preview.zoom() / 100.0 * logicalDpiX() / 1440.0; }

    void fit() { resize((m_preview.document().pageSizeTwips() * scale()).toSize()); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (m_preview.document().pageCount() == 0)
            return;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale(), scale());
        m_preview.document().paintPage(painter, m_preview.currentPage());
    }

private:
    const ReportPreview& m_preview;
};

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// No exception may leave a slot: it is told to the user instead.
template <typename Body> void guarded(Body&& body)
{
    try {
        body();
    } catch (const AppError& e) {
        platform::msgBox(e.description(), platform::MsgButtons::OK, platform::MsgIcon::Critical);
    } catch (const std::exception& e) {
        platform::msgBox(QString::fromLocal8Bit(e.what()), platform::MsgButtons::OK,
                         platform::MsgIcon::Critical);
    }
}

const int kZooms[] = {25, 50, 75, 85, 100, 125, 150, 200, 300, 400};

} // namespace

ReportPreview::ReportPreview(Document document, int zoomPercent, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_document(std::move(document))
    , m_zoom(zoomPercent > 0 ? zoomPercent : 100)
{
    setObjectName(QStringLiteral("reportPreview"));
    setWindowTitle(m_document.title());
    setAttribute(Qt::WA_DeleteOnClose);

    auto* bar = new QHBoxLayout;
    m_first = button(QStringLiteral("|<"), "firstPageButton", this);
    m_previous = button(QStringLiteral("<"), "previousPageButton", this);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_next = button(QStringLiteral(">"), "nextPageButton", this);
    m_last = button(QStringLiteral(">|"), "lastPageButton", this);
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("zoomComboBox"));
    for (int zoom : kZooms)
        m_zoomBox->addItem(QString::number(zoom) + QLatin1Char('%'), zoom);
    if (m_zoomBox->findData(m_zoom) < 0)
        m_zoomBox->addItem(QString::number(m_zoom) + QLatin1Char('%'), m_zoom);
    m_zoomBox->setCurrentIndex(m_zoomBox->findData(m_zoom));
    auto* printButton = button(QStringLiteral("Print..."), "printButton", this);
    auto* pdfButton = button(QStringLiteral("Save as PDF..."), "savePdfButton", this);
    for (QWidget* w : {static_cast<QWidget*>(m_first), static_cast<QWidget*>(m_previous),
                       static_cast<QWidget*>(m_pageLabel), static_cast<QWidget*>(m_next),
                       static_cast<QWidget*>(m_last), static_cast<QWidget*>(m_zoomBox)})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(printButton);
    bar->addWidget(pdfButton);

    m_scroll = new QScrollArea(this);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_view = new PageView(*this, m_scroll);
    m_scroll->setWidget(m_view);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll);

    connect(m_first, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(m_previous, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(m_last, &QPushButton::clicked, this, [this] { showPage(m_document.pageCount() - 1); });
    connect(m_zoomBox, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { setZoom(m_zoomBox->itemData(index).toInt()); });
    connect(printButton, &QPushButton::clicked, this, [this] { guarded([this] { print(); }); });
    connect(pdfButton, &QPushButton::clicked, this, [this] { guarded([this] { saveAsPdf(); }); });

    m_view->fit();
    updateControls();
    // Wide enough for the page, within the screen.
    QSize size(m_view->width() + 60, 900);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::showPage(int index)
{
    if (index < 0 || index >= m_document.pageCount())
        return;
    m_page = index;
    updateControls();
    m_view->update();
}

void ReportPreview::setZoom(int percent)
{
    if (percent <= 0)
        return;
    m_zoom = percent;
    const int index = m_zoomBox->findData(percent);
    if (index >= 0)
        m_zoomBox->setCurrentIndex(index);
    m_view->fit();
    m_view->update();
}

void ReportPreview::saveAsPdf()
{
    platform::FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Save as PDF");
    request.fileName = m_document.title() + QStringLiteral(".pdf");
    request.filter = QStringLiteral("PDF Files (*.pdf)|*.pdf");
    request.flags = platform::fileflags::OverwritePrompt;
    request.defaultSuffix = QStringLiteral("pdf");
    const platform::FileDialogResult chosen = platform::prompt().fileDialog(request);
    if (chosen.cancelled() || refused(chosen.fileName))
        return;
    m_document.writePdf(chosen.fileName);
}

void ReportPreview::print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!platform::prompt().choosePrinter(printer, QStringLiteral("Print ") + m_document.title()))
        return;
    if (!printer.outputFileName().isEmpty() && refused(printer.outputFileName()))
        return;
    m_document.print(printer);
}

bool ReportPreview::refused(const QString& path) const
{
    const QString why = m_targetCheck ? m_targetCheck(path) : QString();
    if (why.isEmpty())
        return false;
    platform::msgBox(why, platform::MsgButtons::OK, platform::MsgIcon::Exclamation);
    return true;
}

void ReportPreview::updateControls()
{
    const int count = m_document.pageCount();
    m_pageLabel->setText(QStringLiteral("Page %1 of %2").arg(count ? m_page + 1 : 0).arg(count));
    m_first->setEnabled(m_page > 0);
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < count);
    m_last->setEnabled(m_page + 1 < count);
}

} // namespace rpt
