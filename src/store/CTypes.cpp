#include "store/CTypes.h"

QString CTypes::ItemType() const
{
    return m_itemType;
}

void CTypes::setItemType(const QString& value)
{
    m_itemType = value;
}
