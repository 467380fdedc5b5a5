// The shared instances of the record side: the case-file manager, released
// by Shutdown, and the default stored-document record, kept for the life of
// the process.

#include "store/AppState.h"
#include "store/CFileObject.h"
#include "store/COpen.h"

#include <memory>

namespace {
std::unique_ptr<COpen>& openSlot()
{
    static std::unique_ptr<COpen> instance;
    return instance;
}
} // namespace

COpen& oOpen()
{
    static const bool registered = [] {
        registerSharedInstanceRelease("oOpen", [] {
            std::unique_ptr<COpen> gone = std::move(openSlot());
        });
        return true;
    }();
    (void)registered;
    auto& slot = openSlot();
    if (!slot)
        slot = std::make_unique<COpen>();
    return *slot;
}

CFileObject& oFileObject()
{
    static CFileObject instance;
    return instance;
}
