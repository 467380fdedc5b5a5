#include "platform/reports/ReportFonts.h"

#include <QHash>
#include <QStringList>

#include <cmath>

namespace rpt {

namespace {

// Designs name the fonts of another desktop; these stand in with the same
// metrics where the machine has them.
QStringList substitutesFor(const QString& family)
{
    static const QHash<QString, QStringList> table{
        {QStringLiteral("arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")}},
        {QStringLiteral("helvetica"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")}},
        {QStringLiteral("times new roman"),
         {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
          QStringLiteral("DejaVu Serif")}},
        {QStringLiteral("courier new"),
         {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
          QStringLiteral("DejaVu Sans Mono")}},
        {QStringLiteral("verdana"), {QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("tahoma"), {QStringLiteral("DejaVu Sans")}},
    };
    return table.value(family.toLower());
}

} // namespace

QFont fontFor(const ReportFont& font)
{
    QFont qfont;
    QStringList families{font.family};
    families << substitutesFor(font.family) << QStringLiteral("DejaVu Sans");
    qfont.setFamilies(families);
    qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pointSize * 20.0))));
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    // Unhinted outlines scale linearly, so a line measured here breaks the
    // same way on the screen, the printer and in PDF.
    qfont.setHintingPreference(QFont::PreferNoHinting);
    return qfont;
}

} // namespace rpt
