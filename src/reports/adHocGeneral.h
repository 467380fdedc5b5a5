#pragma once

#include "platform/reports/Report.h"

#include <QPointer>

namespace grid {
class GridCore;
}

// The printout of whatever the analysis grid shows: one printed line per grid
// row (the title row first, subtotal rows included) and one field per grid
// column, fed from the grid one row per fetch.
class adHocGeneral final : public rpt::Report {
public:
    adHocGeneral();

    // Hands over the grid and lays out its fields afresh, dropping those of
    // any earlier grid. Sets the grid's font to Verdana 7.
    void setGrid(grid::GridCore* grid);
    int nextRow() const { return m_row; }

    static constexpr int kFieldPadding = 150; // twips added to a column's width
    static constexpr int kFieldGap = 144;     // twips between fields

protected:
    void dataInitialize() override;
    void reportStart() override;
    void fetchData(bool& eof) override;

private:
    QPointer<grid::GridCore> m_grid;
    int m_row = 0;
};

// The process-wide instance the launchers use.
adHocGeneral& gridReport();
