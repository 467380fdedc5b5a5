#include "platform/widgets/QtScreen.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {
namespace {

Qt::CursorShape shapeOf(int pointer)
{
    switch (pointer) {
    case 1:
        return Qt::ArrowCursor;
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

QtScreen::~QtScreen()
{
    if (m_overridden && QGuiApplication::instance())
        QGuiApplication::restoreOverrideCursor();
}

void QtScreen::setMousePointer(int pointer)
{
    m_pointer = pointer;
    if (!QGuiApplication::instance())
        return;
    if (pointer == 0) {
        if (m_overridden) {
            QGuiApplication::restoreOverrideCursor();
            m_overridden = false;
        }
        return;
    }
    const QCursor cursor(shapeOf(pointer));
    if (m_overridden) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        m_overridden = true;
    }
}

} // namespace platform
