#include "ListText.h"

#include <QFont>
#include <QWidget>

namespace platform {

void drawRowsUnshaped(QWidget* list)
{
    // Only the strategy is set: family and size still follow the window's.
    QFont font;
    font.setStyleStrategy(QFont::PreferNoShaping);
    list->setFont(font);
}

} // namespace platform
