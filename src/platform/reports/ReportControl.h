#pragma once

#include <QString>
#include <Qt>

// One control of a report section. Positions and sizes are twips from the
// section's top left; a line runs from (left, top) to (left + width,
// top + height).
namespace rpt {

enum class ControlKind {
    Label,   // fixed caption
    TextBox, // fixed text, or the value of the field named in dataField
    Field,   // a text box added at run time
    Line,
    PageBreak, // the rest of the section starts on a new page
};

struct ReportFont {
    QString family = QStringLiteral("Arial");
    double pointSize = 10.0;
    bool bold = false;
    bool italic = false;
};

struct Control {
    ControlKind kind = ControlKind::Label;
    QString name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString text;      // caption of a label, text of a text box
    QString dataField; // field name, found without regard to case
    int tag = 0;
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    // Wrapped text that needs more room pushes the controls below it down;
    // otherwise the text is cut to the lines that fit (at least one).
    bool canGrow = true;

    bool isText() const
    {
        return kind == ControlKind::Label || kind == ControlKind::TextBox ||
               kind == ControlKind::Field;
    }
};

} // namespace rpt
