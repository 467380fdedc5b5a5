#include "platform/reports/ReportSection.h"

#include <utility>

namespace rpt {

namespace {

QString kindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
        return QStringLiteral("Label");
    case ControlKind::TextBox:
        return QStringLiteral("TextBox");
    case ControlKind::Field:
        return QStringLiteral("Field");
    case ControlKind::Line:
        return QStringLiteral("Line");
    case ControlKind::PageBreak:
        return QStringLiteral("PageBreak");
    }
    return QStringLiteral("Control");
}

} // namespace

Section::Section(QString name)
    : m_name(std::move(name))
{
}

Control& Section::add(ControlKind kind, const QString& name)
{
    auto control = std::make_unique<Control>();
    control->kind = kind;
    control->name = name;
    while (control->name.isEmpty() || (name.isEmpty() && this->control(control->name)))
        control->name = kindName(kind) + QString::number(++m_serial);
    m_controls.push_back(std::move(control));
    return *m_controls.back();
}

Control* Section::control(const QString& name) const
{
    for (const auto& control : m_controls) {
        if (control->name.compare(name, Qt::CaseInsensitive) == 0)
            return control.get();
    }
    return nullptr;
}

void Section::clear()
{
    m_controls.clear();
    m_serial = 0;
}

} // namespace rpt
