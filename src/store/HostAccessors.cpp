#include "store/IAnalysisHost.h"
#include "store/IShutdownHost.h"

namespace {
IShutdownHost* g_shutdownHost = nullptr;
IAnalysisHost* g_analysisHost = nullptr;
} // namespace

IShutdownHost* shutdownHost()
{
    return g_shutdownHost;
}
void setShutdownHost(IShutdownHost* host)
{
    g_shutdownHost = host;
}

IAnalysisHost* analysisHost()
{
    return g_analysisHost;
}
void setAnalysisHost(IAnalysisHost* host)
{
    g_analysisHost = host;
}
