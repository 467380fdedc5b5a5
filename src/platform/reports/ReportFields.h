#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace rpt {

// A number as the general format writes it: up to 15 significant digits,
// no trailing zeros.
QString generalNumber(double value);
// What a value prints as: NULL (or an invalid value) prints empty, numbers
// in the general format, anything else as its text.
QString printedText(const QVariant& value);

// The report's fields by name, names found without regard to case. Unknown
// names raise AppError 3265.
class Fields final {
public:
    void add(const QString& name);
    bool contains(const QString& name) const;
    void setValue(const QString& name, const QVariant& value);
    QVariant value(const QString& name) const;
    QString text(const QString& name) const { return printedText(value(name)); }
    int count() const { return static_cast<int>(m_items.size()); }
    QStringList names() const;
    void clear() { m_items.clear(); }

private:
    struct Item {
        QString name;
        QVariant value;
    };
    int indexOf(const QString& name) const;
    std::vector<Item> m_items;
};

} // namespace rpt
