#pragma once

#include <QIcon>

#include <functional>
#include <initializer_list>

class QPainter;
class QRectF;
class QString;

// Icons the program draws itself, where the desktop's theme has none.
namespace paintedicon {

// One pixmap a side, each painted by draw (antialiased, on transparent).
QIcon make(std::initializer_list<int> sides, const std::function<void(QPainter&, int)>& draw);

// A bold white label centred in box.
void label(QPainter& painter, const QRectF& box, const QString& text, int pixelSize);

} // namespace paintedicon
