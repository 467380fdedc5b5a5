#pragma once

#include "platform/core/Shell.h"

namespace platform {

// The mouse pointer as the application's override cursor: 0 is no override,
// 11 the hourglass; at most one override of ours is on Qt's stack.
class QtScreen final : public Screen {
public:
    ~QtScreen() override;

    int mousePointer() const override { return m_pointer; }
    void setMousePointer(int pointer) override;

private:
    int m_pointer = 0;
    bool m_overridden = false;
};

} // namespace platform
