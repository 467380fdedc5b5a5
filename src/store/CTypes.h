#pragma once

#include <QString>

// The item type ("Issue", "Exhibit", "Question", "Witness") that the next new
// case item receives; empty until an insert command sets it.
class CTypes final {
public:
    QString ItemType() const;
    void setItemType(const QString& value);

private:
    QString m_itemType;
};
