#include "reports/adHocGeneral.h"

#include "reports/ReportLine.h"

#include "platform/grid/GridCore.h"

#include <functional>

namespace {

constexpr int kRowHeight = 200; // twips, one line of Verdana 7

void line(const char* procedure, int number, const std::function<void()>& body)
{
    reports::line(QStringLiteral("adHocGeneral.") + QLatin1String(procedure), number, body);
}

rpt::ReportFont gridFont()
{
    rpt::ReportFont font;
    font.family = QStringLiteral("Verdana");
    font.pointSize = 7;
    return font;
}

} // namespace

adHocGeneral::adHocGeneral()
{
    setCaption(QStringLiteral("Grid Report"));
    setFetching(true);
    rpt::Section& header = pageHeader();
    header.setHeight(700);
    rpt::Control& title = header.add(rpt::ControlKind::TextBox, QStringLiteral("txtParty_Title"));
    title.width = 6000;
    title.height = 340;
    title.text = QStringLiteral("Grid Display");
    title.font.pointSize = 12;
    title.font.bold = true;
    rpt::Control& purpose =
        header.add(rpt::ControlKind::TextBox, QStringLiteral("txtParty_Purpose"));
    purpose.top = 360;
    purpose.width = 6000;
    purpose.height = 280;
    purpose.text = QStringLiteral("Display Grid Values");
    detail().setHeight(kRowHeight);
}

void adHocGeneral::setGrid(grid::GridCore* grid)
{
    line("Grid", 1, [&] {
        m_grid = grid;
        // A fresh layout for this grid: fields of an earlier one would pile
        // up beside the new ones.
        detail().clear();
        fields().clear();
        m_row = 0;
        setPrintWidth(0);
    });
    if (!grid)
        return;
    line("Grid", 2, [&] {
        int x = 0;
        // Left to right as the grid shows its columns, dragged ones included.
        for (int position = 0; position < grid->cols(); ++position) {
            const int c = grid->colAtPosition(position);
            rpt::Control& field = detail().add(rpt::ControlKind::Field);
            field.left = x;
            field.top = 0;
            field.width = grid->colWidth(c) + kFieldPadding;
            field.height = kRowHeight;
            field.tag = c;
            field.font = gridFont();
            field.canGrow = false;
            fields().add(field.name);
            field.dataField = field.name;
            x += field.width + kFieldGap;
            setPrintWidth(x);
        }
    });
    line("Grid", 3, [&] {
        grid->setFontName(QStringLiteral("Verdana"));
        grid->setFontSize(7);
    });
}

void adHocGeneral::dataInitialize()
{
    // Every run prints the grid from its title row.
    m_row = 0;
}

void adHocGeneral::reportStart()
{
    line("ActiveReport_ReportStart", 1, [&] { setZoom(85); });
}

void adHocGeneral::fetchData(bool& eof)
{
    line("ActiveReport_FetchData", 1, [&] {
        if (!m_grid || m_row >= m_grid->rows())
            return;
        // Read by cell: the grid's current cell, the user's, stays put.
        // Each cell prints as the grid shows it, in its column's format: a
        // subtotal worked out before its column had one holds all its digits,
        // which the field would cut at the point. A hidden column (the level
        // study's question) keeps its narrow place but prints none of its
        // text, as the grid shows none.
        for (const auto& control : detail().controls())
            fields().setValue(control->name, m_grid->colWidth(control->tag) > 0
                                                 ? m_grid->displayText(m_row, control->tag)
                                                 : QString());
        ++m_row;
        eof = false;
    });
}

adHocGeneral& gridReport()
{
    static adHocGeneral instance;
    return instance;
}
