#include "workspace/CaseTreeItem.h"

#include "workspace/TreeImages.h"
#include "workspace/frmRedoZiv.h"

#include <QIcon>

CaseTreeItem::CaseTreeItem(const QString& text, QString key, QString tag, QString image)
    : QTreeWidgetItem(QStringList{text})
    , m_key(std::move(key))
    , m_image(std::move(image))
{
    // An item without a tag answers as one never given it.
    if (!tag.isEmpty())
        m_tag = std::move(tag);
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
    QVariant value = QTreeWidgetItem::data(column, role);
    // Only drawn items need their icon: a large case does not hold one per node.
    if (column == 0 && role == Qt::DecorationRole && !value.isValid() && m_image.isValid())
        return treeimages::image(m_image.toString());
    return value;
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
