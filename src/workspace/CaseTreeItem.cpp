#include "workspace/CaseTreeItem.h"

#include "workspace/frmRedoZiv.h"

CaseTreeItem::CaseTreeItem(const QString& text, const QString& key, const QString& tag,
                           const QString& image)
    : QTreeWidgetItem(QStringList{text})
    , m_key(key)
    , m_image(image)
{
    // An item without a tag answers as one never given it.
    if (!tag.isEmpty())
        m_tag = tag;
}

QVariant* CaseTreeItem::held(int column, int role)
{
    if (column != 0)
        return nullptr;
    switch (role) {
    case frmRedoZiv::kKeyRole:
        return &m_key;
    case frmRedoZiv::kTagRole:
        return &m_tag;
    case frmRedoZiv::kImageRole:
        return &m_image;
    default:
        return nullptr;
    }
}

QVariant CaseTreeItem::data(int column, int role) const
{
    if (const QVariant* value = const_cast<CaseTreeItem*>(this)->held(column, role))
        return *value;
    return QTreeWidgetItem::data(column, role);
}

void CaseTreeItem::setData(int column, int role, const QVariant& value)
{
    QVariant* slot = held(column, role);
    if (!slot) {
        QTreeWidgetItem::setData(column, role, value);
        return;
    }
    if (*slot == value && slot->isValid() == value.isValid())
        return;
    *slot = value;
    emitDataChanged();
}

QTreeWidgetItem* CaseTreeItem::clone() const
{
    // The held roles travel with the copy; children are copied as the
    // general item copies them.
    auto* copy = new CaseTreeItem(*this);
    for (int i = 0; i < childCount(); ++i)
        copy->addChild(child(i)->clone());
    return copy;
}
