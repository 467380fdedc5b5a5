#include "workspace/TreeImages.h"

#include "workspace/PaintedIcon.h"
#include "workspace/TreeLogic.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace treeimages {
namespace {

struct Look {
    QColor colour;
    QChar letter;
};

Look lookOf(const QString& key)
{
    if (key == treelogic::kImageExhibit)
        return {QColor(0xd9, 0x7a, 0x1e), QLatin1Char('X')};
    if (key == treelogic::kImageWitness)
        return {QColor(0x2e, 0x8b, 0x57), QLatin1Char('W')};
    if (key == treelogic::kImageQuestion)
        return {QColor(0x7b, 0x3f, 0xa0), QLatin1Char('?')};
    if (key == treelogic::kImageRoot)
        return {QColor(0x30, 0x30, 0x30), QLatin1Char('L')};
    return {QColor(0x2a, 0x5d, 0xb0), QLatin1Char('I')};
}

QIcon paint(const Look& look)
{
    return paintedicon::make({16, 24, 32}, [&](QPainter& painter, int size) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look.colour);
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), size / 5.0, size / 5.0);
        paintedicon::label(painter, QRectF(0, 0, size, size), QString(look.letter), size * 11 / 16);
    });
}

} // namespace

QIcon image(const QString& key)
{
    static QHash<QString, QIcon> painted;
    auto found = painted.constFind(key);
    if (found != painted.constEnd())
        return found.value();
    const QIcon icon = paint(lookOf(key));
    painted.insert(key, icon);
    return icon;
}

} // namespace treeimages
