#pragma once

#include "platform/reports/Report.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace ado {
class Recordset;
}

// The case analysis printout: the item count, the averages and standard
// deviations of the six ratings with their grand values and advisory
// paragraphs, and the findings of the last level study. Unbound: it fetches
// its figures through the data layer when it initialises and places them
// when it starts. It reads the analysis engine's level but runs its own
// query for the band, so the analysis grid and the study stay as they are.
class arCaseAnalysis final : public rpt::Report {
public:
    arCaseAnalysis();
    ~arCaseAnalysis() override;

    static QString AnalyzeAVG(int16_t level);
    static QString AnalyzeSTDEV(double value);

    // The control of that name in any section; null when there is none.
    rpt::Control* control(const QString& name);

protected:
    void dataInitialize() override;
    void reportStart() override;

private:
    void buildLayout();
    void GetAVGData();
    void GetSTDEVData();
    void GetLevelsData();
    void LevelSetting();
    void setText(const QString& name, const QString& text);

    std::shared_ptr<ado::Recordset> m_rsAVG;
    std::shared_ptr<ado::Recordset> m_rsSTDEV;
    int m_itemCount = 0;
};
