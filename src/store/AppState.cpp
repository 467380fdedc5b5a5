#include "store/AppState.h"

#include "store/CDataLayer.h"
#include "store/CError.h"
#include "store/CLog.h"
#include "store/CMain.h"
#include "store/CTypes.h"
#include "store/CUtility.h"
#include "store/IAnalysisHost.h"
#include "store/IShutdownHost.h"

#include <map>
#include <string>
#include <vector>

std::shared_ptr<dao::Database> gDB;
std::shared_ptr<ado::Connection> gConnection;
bool gNodeClicked = false;
bool gTreeChanged = false;
bool gBookmarksVisible = false;

namespace {

template <typename T> std::unique_ptr<T>& slot()
{
    static std::unique_ptr<T> instance;
    return instance;
}

template <typename T> T& instance()
{
    auto& p = slot<T>();
    if (!p)
        p = std::make_unique<T>();
    return *p;
}

template <typename T> void release()
{
    // Moved out first so that a destructor reaching the accessor meets an
    // empty slot rather than a half-destroyed object.
    std::unique_ptr<T> gone = std::move(slot<T>());
    gone.reset();
}

struct Registry {
    std::vector<std::string> order;
    std::map<std::string, std::function<void()>> releases;

    void add(const std::string& name, std::function<void()> fn)
    {
        if (!releases.count(name))
            order.push_back(name);
        releases[name] = std::move(fn);
    }
};

Registry& registry()
{
    static Registry r = [] {
        Registry built;
        built.add("oMain", &release<CMain>);
        built.add("oUtility", &release<CUtility>);
        built.add("oDataLayer", &release<CDataLayer>);
        built.add("oError", &release<CError>);
        built.add("oLog", &release<CLog>);
        built.add("oTypes", &release<CTypes>);
        return built;
    }();
    return r;
}

} // namespace

CMain& oMain()
{
    return instance<CMain>();
}
CUtility& oUtility()
{
    return instance<CUtility>();
}
CDataLayer& oDataLayer()
{
    return instance<CDataLayer>();
}
CError& oError()
{
    return instance<CError>();
}
CLog& oLog()
{
    return instance<CLog>();
}
CTypes& oTypes()
{
    return instance<CTypes>();
}

void registerSharedInstanceRelease(const char* name, std::function<void()> release)
{
    registry().add(name, std::move(release));
}

void releaseSharedInstance(const char* name)
{
    auto& r = registry();
    const auto it = r.releases.find(name);
    if (it != r.releases.end() && it->second)
        it->second();
}

void resetAppState()
{
    // Copied: a release may register further names.
    const std::vector<std::string> names = registry().order;
    for (const auto& name : names)
        releaseSharedInstance(name.c_str());
    gConnection.reset();
    gDB.reset();
    gNodeClicked = false;
    gTreeChanged = false;
    gBookmarksVisible = false;
    setShutdownHost(nullptr);
    setAnalysisHost(nullptr);
}
