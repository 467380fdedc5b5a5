#pragma once

#include <memory>

namespace ado {
class Recordset;
}

// What CUtility::GetRecordset needs of the analysis side: the grid to bind
// the result to and the engine's counting. Set while the analysis window is
// loaded; GetRecordset fails with the class failure when none is set.
class IAnalysisHost {
public:
    virtual ~IAnalysisHost() = default;
    // The grid's further numeric setting zeroed before each binding.
    virtual void ResetGridBindingSetting() = 0;
    virtual void BindGrid(std::shared_ptr<ado::Recordset> recordset) = 0;
    virtual void GetCount() = 0;
    virtual void FilterData(int found, int total) = 0;
};

IAnalysisHost* analysisHost();
void setAnalysisHost(IAnalysisHost* host);
