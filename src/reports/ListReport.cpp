#include "reports/ListReport.h"

#include "platform/db/Ado.h"

#include "reports/ReportLine.h"

#include "store/AppState.h"
#include "store/CMain.h"

#include <algorithm>

namespace {

const char* const kFieldNames[3] = {"Name", "Explanation", "Question"};

} // namespace

std::unique_ptr<ListReport> ListReport::arIssues()
{
    static const Design design{
        "arIssues",
        "Argovo Issue Report",
        "Issue Report",
        "SELECT [Name], [Explanation], [Question] FROM [Issue] where itemtype='issue'",
        6,
        {{"Label1", "txtIssue_Name", 0, 2430, 360},
         {"lblIssue_Explanation", "txtIssue_Explanation", 2610, 3060, 360},
         {"Label2", "txtIssue_Question", 6030, 3510, 270}},
    };
    return std::unique_ptr<ListReport>(new ListReport(design));
}

std::unique_ptr<ListReport> ListReport::arWitnesses()
{
    static const Design design{
        "arWitnesses",
        "Argovo Witness Report",
        "Witness Report",
        "SELECT [Name], [Explanation], [Question] FROM [Issue] where itemtype='witness'",
        4,
        {{"lblIssue_Name", "txtIssue_Name", 0, 2430, 360},
         {"lblIssue_Explanation", "txtIssue_Explanation", 2790, 3060, 360},
         {"lblIssue_Question", "txtIssue_Question", 6030, 3510, 360}},
    };
    return std::unique_ptr<ListReport>(new ListReport(design));
}

std::unique_ptr<ListReport> ListReport::arExhibits()
{
    static const Design design{
        "arExhibits",
        "Argovo Exhibit Report",
        "Exhibit Report",
        "select * from issue where itemtype='exhibit'",
        6,
        {{"lblExhibit_Name", "txtName", 0, 2430, 360},
         {"lblExhibit_Explanation", "txtExplanation", 2610, 4050, 360},
         {"lblQuestion", "txtQuestion", 7200, 3960, 360}},
    };
    return std::unique_ptr<ListReport>(new ListReport(design));
}

ListReport::ListReport(const Design& design)
    : m_designName(QLatin1String(design.name))
{
    setCaption(QLatin1String(design.caption));
    dataControl().source = QLatin1String(design.query);

    int width = 0;
    for (const Column& column : design.columns)
        width = std::max(width, column.left + column.width);
    setPrintWidth(width);

    // Title between pairs of rules.
    rpt::Section& header = reportHeader();
    header.setHeight(900);
    for (int i = 0; i < design.decorativeLines; ++i) {
        rpt::Control& rule =
            header.add(rpt::ControlKind::Line, QStringLiteral("Line%1").arg(i + 1));
        const bool above = i % 2 == 0;
        rule.top = (above ? 40 : 700) + (i / 2) * 40;
        rule.width = width;
    }
    rpt::Control& title = header.add(rpt::ControlKind::Label, QStringLiteral("lblReportTitle"));
    title.top = 250;
    title.width = width;
    title.height = 400;
    title.text = QLatin1String(design.title);
    title.font.pointSize = 16;
    title.font.bold = true;
    title.alignment = Qt::AlignHCenter;

    pageHeader().setHeight(360);
    detail().setHeight(360);
    for (int i = 0; i < 3; ++i) {
        const Column& column = design.columns[i];
        rpt::Control& label =
            pageHeader().add(rpt::ControlKind::Label, QLatin1String(column.label));
        label.left = column.left;
        label.top = 40;
        label.width = column.width;
        label.height = 280;
        label.text = QLatin1String(kFieldNames[i]);
        label.font.bold = true;
        rpt::Control& box = detail().add(rpt::ControlKind::TextBox, QLatin1String(column.box));
        box.left = column.left;
        box.width = column.width;
        box.height = column.height;
        box.dataField = QLatin1String(kFieldNames[i]);
    }
}

void ListReport::reportStart()
{
    reports::line(m_designName + QStringLiteral(".ActiveReport_ReportStart"), 1, [&] {
        dataControl().connectionString =
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
            ado::dataSourceValue(oMain().strFileName());
    });
}
