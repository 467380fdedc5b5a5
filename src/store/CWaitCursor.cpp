#include "store/CWaitCursor.h"

#include "platform/core/Shell.h"

CWaitCursor::CWaitCursor()
    : m_saved(static_cast<int16_t>(platform::screen().mousePointer()))
{
}

CWaitCursor::~CWaitCursor()
{
    try {
        Restore();
    } catch (...) {
        // Releasing a wait cursor must never fail its holder.
    }
}

void CWaitCursor::SetCursor(int pointer)
{
    platform::screen().setMousePointer(static_cast<int16_t>(pointer));
}

void CWaitCursor::Restore()
{
    platform::screen().setMousePointer(m_saved);
}
