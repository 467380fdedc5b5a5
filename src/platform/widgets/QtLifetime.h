#pragma once

#include "platform/core/Shell.h"

namespace platform {

// Leaves the event loop once the current event has been handled.
class QtLifetime final : public AppLifetime {
public:
    void quit(int exitCode) override;
};

} // namespace platform
