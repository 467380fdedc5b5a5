#include "analysis/AnalysisState.h"

#include "analysis/CReport.h"
#include "analysis/CText.h"
#include "analysis/IAnalysisView.h"
#include "store/AppState.h"

#include <memory>

namespace {

std::unique_ptr<CReport> g_report;
std::unique_ptr<CText> g_text;
IAnalysisView* g_view = nullptr;
IAdvisoryWindow* g_advisory = nullptr;

} // namespace

CReport& oReport()
{
    if (!g_report) {
        g_report = std::make_unique<CReport>();
        registerSharedInstanceRelease("oReport", [] { g_report.reset(); });
    }
    return *g_report;
}

CText& oText()
{
    if (!g_text) {
        g_text = std::make_unique<CText>();
        registerSharedInstanceRelease("oText", [] { g_text.reset(); });
    }
    return *g_text;
}

IAnalysisView* analysisView()
{
    return g_view;
}

void setAnalysisView(IAnalysisView* view)
{
    g_view = view;
}

IAdvisoryWindow* advisoryWindow()
{
    return g_advisory;
}

void setAdvisoryWindow(IAdvisoryWindow* window)
{
    g_advisory = window;
}
