#pragma once

#include "platform/reports/ReportControl.h"

#include <QString>

#include <memory>
#include <vector>

namespace rpt {

// A band of the report: the report header and footer print once, the page
// header and footer on every page, the detail once per record.
class Section final {
public:
    explicit Section(QString name);

    const QString& name() const { return m_name; }
    int height() const { return m_height; } // twips
    void setHeight(int twips) { m_height = twips; }

    // Adds a control; without a name it is named after its kind and a number
    // ("Field1", "Field2"...), unique within the section.
    Control& add(ControlKind kind, const QString& name = QString());
    // Found without regard to case; null when there is none.
    Control* control(const QString& name) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }
    void clear();

private:
    QString m_name;
    int m_height = 0;
    std::vector<std::unique_ptr<Control>> m_controls;
    int m_serial = 0;
};

} // namespace rpt
