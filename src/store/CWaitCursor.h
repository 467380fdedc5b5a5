#pragma once

#include <cstdint>

// Shows the hourglass for as long as the object lives; the pointer that was
// current at creation comes back on Restore or release.
class CWaitCursor final {
public:
    static constexpr int kHourglass = 11;

    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void SetCursor(int pointer);
    void Restore();

private:
    int16_t m_saved = 0;
};
