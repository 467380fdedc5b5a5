#include "workspace/DocumentIcons.h"

#include "workspace/PaintedIcon.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace documenticons {
namespace {

struct Look {
    const char* themeName;
    QColor colour;
    const char* letter;
};

Look lookOf(const QString& key)
{
    if (key == QLatin1String("WORD"))
        return {"x-office-document", QColor(0x2b, 0x57, 0x9a), "W"};
    if (key == QLatin1String("EXCEL"))
        return {"x-office-spreadsheet", QColor(0x21, 0x73, 0x46), "X"};
    if (key == QLatin1String("IE"))
        return {"text-html", QColor(0xe3, 0x6c, 0x09), "<>"};
    if (key == QLatin1String("POWERPOINT"))
        return {"x-office-presentation", QColor(0xc4, 0x3e, 0x1c), "P"};
    if (key == QLatin1String("TEXT"))
        return {"text-x-generic", QColor(0x55, 0x5b, 0x63), "T"};
    if (key == QLatin1String("ACCESS"))
        return {"application-vnd.ms-access", QColor(0xa4, 0x37, 0x3a), "A"};
    if (key == QLatin1String("JPEG"))
        return {"image-x-generic", QColor(0x7b, 0x3f, 0xa0), "J"};
    return {"application-octet-stream", QColor(0x80, 0x80, 0x80), ""};
}

// A page with a folded corner and a coloured band carrying the type's letter.
QIcon paint(const Look& look)
{
    return paintedicon::make({16, 24, 32}, [&](QPainter& painter, int size) {
        const qreal left = size * 0.15, right = size * 0.85, fold = size * 0.28;
        QPainterPath page;
        page.moveTo(left, 0.5);
        page.lineTo(right - fold, 0.5);
        page.lineTo(right, fold);
        page.lineTo(right, size - 0.5);
        page.lineTo(left, size - 0.5);
        page.closeSubpath();
        painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
        painter.setBrush(Qt::white);
        painter.drawPath(page);
        const QRectF band(0.5, size * 0.45, size * 0.72, size * 0.45);
        painter.setPen(Qt::NoPen);
        painter.setBrush(look.colour);
        painter.drawRoundedRect(band, size / 10.0, size / 10.0);
        paintedicon::label(painter, band, QString::fromLatin1(look.letter),
                           std::max(7, size * 7 / 16));
    });
}

} // namespace

QIcon icon(const QString& key)
{
    static QHash<QString, QIcon> icons;
    auto found = icons.constFind(key);
    if (found != icons.constEnd())
        return found.value();
    const Look look = lookOf(key);
    const QIcon result = QIcon::fromTheme(QString::fromLatin1(look.themeName), paint(look));
    icons.insert(key, result);
    return result;
}

} // namespace documenticons
