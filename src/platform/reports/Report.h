#pragma once

#include "platform/reports/ReportDocument.h"
#include "platform/reports/ReportFields.h"
#include "platform/reports/ReportSection.h"

#include <QString>

#include <functional>

namespace rpt {

// Where a bound report's rows come from: a connection string naming the case
// file and the SQL run through our storage layer.
struct DataControl {
    QString connectionString;
    QString source;
};

// A report design: five sections, a fields collection and a data mode.
// run() raises the events in order (dataInitialize, reportStart, then the
// records) and lays out the pages:
// - unbound: the detail prints once;
// - fetching (setFetching(true)): fetchData is called before each detail
//   until it leaves its end-of-data flag true;
// - bound (dataControl() with a source): the query runs after reportStart
//   and the detail prints once per row, the row's columns as fields.
class Report {
public:
    Report();
    virtual ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    Section& reportHeader() { return m_reportHeader; }
    Section& pageHeader() { return m_pageHeader; }
    Section& detail() { return m_detail; }
    Section& pageFooter() { return m_pageFooter; }
    Section& reportFooter() { return m_reportFooter; }
    Fields& fields() { return m_fields; }
    DataControl& dataControl() { return m_dataControl; }

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }
    int zoom() const { return m_zoom; }
    void setZoom(int percent) { m_zoom = percent; }
    // Width of the printed area in twips; wider than a portrait page's print
    // area turns the page to landscape.
    int printWidth() const { return m_printWidth; }
    void setPrintWidth(int twips) { m_printWidth = twips; }
    bool fetching() const { return m_fetching; }
    void setFetching(bool on) { m_fetching = on; }

    // Raises AppError when the bound query fails.
    Document run();
    // The same run, painting each page as it is laid out and keeping none,
    // so a long report needs no more memory than its longest page.
    void render(QPagedPaintDevice& device);
    void writePdf(const QString& path);
    // Landscape when the print width does not fit a portrait page.
    QPageLayout::Orientation orientation() const;
    // Below 1 when the print width is wider than even landscape paper.
    double fitScale() const;

    static constexpr int kMargin = 1080;     // twips, every side
    static constexpr int kPageWidth = 12240; // letter, portrait
    static constexpr int kPageHeight = 15840;

protected:
    virtual void dataInitialize() {}
    virtual void reportStart() {}
    // Leave eof true to end the report.
    virtual void fetchData(bool& eof) { (void)eof; }

private:
    void compose(const std::function<void(Page&&)>& done);

    Section m_reportHeader{QStringLiteral("ReportHeader")};
    Section m_pageHeader{QStringLiteral("PageHeader")};
    Section m_detail{QStringLiteral("Detail")};
    Section m_pageFooter{QStringLiteral("PageFooter")};
    Section m_reportFooter{QStringLiteral("ReportFooter")};
    Fields m_fields;
    DataControl m_dataControl;
    QString m_caption;
    int m_zoom = 100;
    int m_printWidth = 0;
    bool m_fetching = false;
};

} // namespace rpt
