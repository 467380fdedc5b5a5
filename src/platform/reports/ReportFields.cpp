#include "platform/reports/ReportFields.h"

#include "platform/core/AppError.h"

namespace rpt {

QString generalNumber(double value)
{
    if (value == 0.0)
        return QStringLiteral("0"); // never "-0"
    return QString::number(value, 'g', 15);
}

QString printedText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return generalNumber(value.toDouble());
    default:
        return value.toString();
    }
}

int Fields::indexOf(const QString& name) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void Fields::add(const QString& name)
{
    if (indexOf(name) < 0)
        m_items.push_back(Item{name, QVariant()});
}

bool Fields::contains(const QString& name) const
{
    return indexOf(name) >= 0;
}

void Fields::setValue(const QString& name, const QVariant& value)
{
    const int index = indexOf(name);
    if (index < 0)
        throw AppError(jet::ItemNotFound, QStringLiteral("rpt.Fields"),
                       QStringLiteral("Item not found in this collection: ") + name);
    m_items[static_cast<size_t>(index)].value = value;
}

QVariant Fields::value(const QString& name) const
{
    const int index = indexOf(name);
    if (index < 0)
        throw AppError(jet::ItemNotFound, QStringLiteral("rpt.Fields"),
                       QStringLiteral("Item not found in this collection: ") + name);
    return m_items[static_cast<size_t>(index)].value;
}

QStringList Fields::names() const
{
    QStringList list;
    for (const Item& item : m_items)
        list << item.name;
    return list;
}

} // namespace rpt
