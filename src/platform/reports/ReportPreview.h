#pragma once

#include "platform/reports/ReportDocument.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace rpt {

class PageView;

// The modeless preview of a laid-out report: one page at a time at the
// chosen zoom, page navigation, Print and Save as PDF (their dialogs through
// the prompt seam). It paints the
// shown page straight from the page model and keeps no page images.
class ReportPreview final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReportPreview)

public:
    explicit ReportPreview(Document document, int zoomPercent, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const Document& document() const { return m_document; }
    int currentPage() const { return m_page; } // 0-based
    int zoom() const { return m_zoom; }

    void showPage(int index);
    void setZoom(int percent);
    // Says why a report may not be written to a file (empty: it may). Asked
    // at each save and each print to a file, as what must not be written
    // over can change while the preview is open.
    using TargetCheck = std::function<QString(const QString& path)>;
    void setTargetCheck(TargetCheck check) { m_targetCheck = std::move(check); }

    // Asks for a file name and writes the PDF; failures reach the user.
    void saveAsPdf();
    // Asks for the printer and prints every page; failures reach the user.
    void print();

private:
    void updateControls();
    bool refused(const QString& path) const;

    Document m_document;
    TargetCheck m_targetCheck;
    int m_page = 0;
    int m_zoom = 100;
    PageView* m_view = nullptr;
    QScrollArea* m_scroll = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QLabel* m_pageLabel = nullptr;
    QPushButton* m_first = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_last = nullptr;
};

} // namespace rpt
