#include "workspace/ToolbarIcons.h"

#include "workspace/PaintedIcon.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace toolbaricons {
namespace {

const QColor kInk(0x33, 0x3a, 0x44);
const QColor kPaper(0xfb, 0xfb, 0xf7);
const QColor kBlue(0x2a, 0x5d, 0xb0);
const QColor kGreen(0x2e, 0x8b, 0x57);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kGold(0xd9, 0xa4, 0x1e);
const QColor kOrange(0xd9, 0x7a, 0x1e);
const QColor kPurple(0x7b, 0x3f, 0xa0);

void page(QPainter& p, const QColor& fill = kPaper)
{
    QPainterPath sheet;
    sheet.moveTo(5, 2);
    sheet.lineTo(15, 2);
    sheet.lineTo(20, 7);
    sheet.lineTo(20, 22);
    sheet.lineTo(5, 22);
    sheet.closeSubpath();
    p.setBrush(fill);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(15, 2), QPointF(15, 7), QPointF(20, 7)}));
}

void lines(QPainter& p, double left, double right, std::initializer_list<double> ys)
{
    for (double y : ys)
        p.drawLine(QPointF(left, y), QPointF(right, y));
}

void folder(QPainter& p, const QColor& fill)
{
    QPainterPath path;
    path.moveTo(2, 6);
    path.lineTo(9, 6);
    path.lineTo(11, 8);
    path.lineTo(22, 8);
    path.lineTo(22, 20);
    path.lineTo(2, 20);
    path.closeSubpath();
    p.setBrush(fill);
    p.drawPath(path);
}

void arrow(QPainter& p, bool left, const QColor& fill)
{
    QPolygonF shape({QPointF(3, 12), QPointF(11, 4), QPointF(11, 9), QPointF(21, 9),
                     QPointF(21, 15), QPointF(11, 15), QPointF(11, 20)});
    if (!left) {
        for (QPointF& point : shape)
            point.setX(24 - point.x());
    }
    p.setBrush(fill);
    p.drawPolygon(shape);
}

void badge(QPainter& p, const QColor& fill, const QString& sign)
{
    p.setBrush(fill);
    p.drawEllipse(QRectF(12, 12, 11, 11));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(14.5, 17.5), QPointF(20.5, 17.5));
    if (sign == QLatin1String("+"))
        p.drawLine(QPointF(17.5, 14.5), QPointF(17.5, 20.5));
}

void person(QPainter& p, const QColor& fill, double x)
{
    p.setBrush(fill);
    p.drawEllipse(QRectF(x - 3.5, 3, 7, 7));
    QPainterPath body;
    body.moveTo(x - 7, 21);
    body.cubicTo(x - 7, 12, x + 7, 12, x + 7, 21);
    body.closeSubpath();
    p.drawPath(body);
}

void draw(QPainter& p, const QString& key)
{
    p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (key == QLatin1String("new")) {
        page(p);
        badge(p, kGreen, QStringLiteral("+"));
    } else if (key == QLatin1String("open")) {
        folder(p, kGold);
        p.setBrush(QColor(0xf2, 0xc9, 0x4c));
        p.drawPolygon(
            QPolygonF({QPointF(5, 11), QPointF(23, 11), QPointF(20, 20), QPointF(2, 20)}));
    } else if (key == QLatin1String("save")) {
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(7, 3, 10, 6));
        p.drawRect(QRectF(6, 13, 12, 8));
    } else if (key == QLatin1String("delete")) {
        p.setPen(QPen(kRed, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(19, 19));
        p.drawLine(QPointF(19, 5), QPointF(5, 19));
    } else if (key == QLatin1String("close")) {
        folder(p, kGold);
        badge(p, kRed, QStringLiteral("-"));
    } else if (key == QLatin1String("larrow") || key == QLatin1String("rarrow")) {
        arrow(p, key == QLatin1String("larrow"), kBlue);
    } else if (key == QLatin1String("refresh")) {
        p.setPen(QPen(kGreen, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 16, 16), 100 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({QPointF(10, 1), QPointF(16, 4.5), QPointF(10, 8.5)}));
    } else if (key == QLatin1String("home")) {
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF({QPointF(2, 12), QPointF(12, 3), QPointF(22, 12)}));
        p.setBrush(kPaper);
        p.drawRect(QRectF(5, 12, 14, 9));
        p.setBrush(kOrange);
        p.drawRect(QRectF(10, 15, 4, 6));
    } else if (key == QLatin1String("overlay")) {
        p.setBrush(kPaper);
        p.drawRect(QRectF(2, 3, 13, 12));
        p.setBrush(QColor(0x9e, 0xbf, 0xe8));
        p.drawRect(QRectF(8, 9, 14, 12));
    } else if (key == QLatin1String("tabs")) {
        p.setBrush(QColor(0x9e, 0xbf, 0xe8));
        p.drawRect(QRectF(2, 4, 7, 5));
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 4, 7, 5));
        p.drawRect(QRectF(2, 9, 20, 12));
    } else if (key == QLatin1String("internet")) {
        p.setBrush(QColor(0x6f, 0xa8, 0xdc));
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(8, 3, 8, 18));
        lines(p, 3, 21, {12});
        lines(p, 5, 19, {7.5, 16.5});
    } else if (key == QLatin1String("settings")) {
        p.setBrush(QColor(0x8a, 0x93, 0x9f));
        QPainterPath gear;
        for (int i = 0; i < 16; ++i) {
            const double angle = i * M_PI / 8;
            const double radius = (i % 2 == 0) ? 10 : 7.5;
            const QPointF point(12 + radius * std::cos(angle), 12 + radius * std::sin(angle));
            if (i == 0)
                gear.moveTo(point);
            else
                gear.lineTo(point);
        }
        gear.closeSubpath();
        p.drawPath(gear);
        p.setBrush(kPaper);
        p.drawEllipse(QRectF(9, 9, 6, 6));
    } else if (key == QLatin1String("maintenance")) {
        p.setPen(QPen(QColor(0x6b, 0x74, 0x80), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 19), QPointF(14, 10));
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(QColor(0x8a, 0x93, 0x9f));
        QPainterPath head;
        head.addEllipse(QRectF(11, 3, 10, 10));
        QPainterPath jaw;
        jaw.addRect(QRectF(15, 1, 4, 7));
        p.drawPath(head.subtracted(jaw));
    } else if (key == QLatin1String("bookmark")) {
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF(
            {QPointF(6, 2), QPointF(18, 2), QPointF(18, 22), QPointF(12, 16), QPointF(6, 22)}));
    } else if (key == QLatin1String("grid")) {
        p.setBrush(kPaper);
        p.drawRect(QRectF(2, 3, 20, 18));
        p.fillRect(QRectF(2.7, 3.7, 18.6, 4.3), QColor(0x9e, 0xbf, 0xe8));
        lines(p, 2, 22, {8, 12.5, 17});
        p.drawLine(QPointF(9, 3), QPointF(9, 21));
        p.drawLine(QPointF(15, 3), QPointF(15, 21));
    } else if (key == QLatin1String("issue")) {
        page(p);
        p.setPen(QPen(kBlue, 1.6));
        lines(p, 8, 17, {10, 13, 16, 19});
    } else if (key == QLatin1String("exhibit")) {
        page(p);
        p.setBrush(kOrange);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(8, 9, 5, 5));
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF(
            {QPointF(7, 20), QPointF(12, 14), QPointF(15, 17), QPointF(17, 15), QPointF(19, 20)}));
    } else if (key == QLatin1String("witness")) {
        person(p, kGreen, 12);
    } else if (key == QLatin1String("caseanalysis")) {
        p.setBrush(kPaper);
        p.drawRect(QRectF(2, 2, 20, 20));
        p.setBrush(kBlue);
        p.drawRect(QRectF(5, 13, 3, 6));
        p.setBrush(kGreen);
        p.drawRect(QRectF(10.5, 8, 3, 11));
        p.setBrush(kPurple);
        p.drawRect(QRectF(16, 5, 3, 14));
    } else if (key == QLatin1String("expand") || key == QLatin1String("shut")) {
        p.setBrush(kPaper);
        p.drawRect(QRectF(3, 3, 18, 18));
        p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 12), QPointF(17, 12));
        if (key == QLatin1String("expand"))
            p.drawLine(QPointF(12, 7), QPointF(12, 17));
    } else if (key == QLatin1String("help")) {
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(2, 2, 20, 20));
        QFont font;
        font.setBold(true);
        font.setPixelSize(15);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
    } else {
        p.setBrush(QColor(0x8a, 0x93, 0x9f));
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 4, 4);
    }
}

QIcon paint(const QString& key)
{
    // Drawn on a 24-pixel grid and scaled to each size.
    return paintedicon::make({16, 24, 32, 48}, [&](QPainter& painter, int size) {
        painter.scale(size / 24.0, size / 24.0);
        draw(painter, key);
    });
}

} // namespace

QString themeName(const QString& imageKey)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("new"), QStringLiteral("document-new")},
        {QStringLiteral("open"), QStringLiteral("document-open")},
        {QStringLiteral("save"), QStringLiteral("document-save")},
        {QStringLiteral("delete"), QStringLiteral("edit-delete")},
        {QStringLiteral("close"), QStringLiteral("window-close")},
        {QStringLiteral("larrow"), QStringLiteral("go-previous")},
        {QStringLiteral("rarrow"), QStringLiteral("go-next")},
        {QStringLiteral("refresh"), QStringLiteral("view-refresh")},
        {QStringLiteral("home"), QStringLiteral("go-home")},
        {QStringLiteral("internet"), QStringLiteral("system-software-update")},
        {QStringLiteral("settings"), QStringLiteral("preferences-system")},
        {QStringLiteral("maintenance"), QStringLiteral("applications-system")},
        {QStringLiteral("bookmark"), QStringLiteral("bookmark-new")},
        {QStringLiteral("grid"), QStringLiteral("x-office-spreadsheet")},
        {QStringLiteral("issue"), QStringLiteral("x-office-document")},
        {QStringLiteral("exhibit"), QStringLiteral("image-x-generic")},
        {QStringLiteral("expand"), QStringLiteral("list-add")},
        {QStringLiteral("shut"), QStringLiteral("list-remove")},
        {QStringLiteral("help"), QStringLiteral("help-contents")},
    };
    return names.value(imageKey);
}

QIcon icon(const QString& imageKey)
{
    static QHash<QString, QIcon> painted;
    auto found = painted.constFind(imageKey);
    if (found == painted.constEnd())
        found = painted.insert(imageKey, paint(imageKey));
    const QString name = themeName(imageKey);
    return name.isEmpty() ? found.value() : QIcon::fromTheme(name, found.value());
}

} // namespace toolbaricons
