#include "workspace/PaintedIcon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRectF>
#include <QString>

namespace paintedicon {

QIcon make(std::initializer_list<int> sides, const std::function<void(QPainter&, int)>& draw)
{
    QIcon icon;
    for (int side : sides) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter, side);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void label(QPainter& painter, const QRectF& box, const QString& text, int pixelSize)
{
    QFont font;
    font.setBold(true);
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace paintedicon
