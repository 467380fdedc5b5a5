#include "workspace/TreeNavigation.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace treenavigation {
namespace {

// The node offset places away among its siblings (top-level nodes included).
QTreeWidgetItem* sibling(QTreeWidgetItem* node, int offset)
{
    if (QTreeWidgetItem* parent = node->parent()) {
        const int index = parent->indexOfChild(node) + offset;
        return index >= 0 && index < parent->childCount() ? parent->child(index) : nullptr;
    }
    QTreeWidget* tree = node->treeWidget();
    if (!tree)
        return nullptr;
    const int index = tree->indexOfTopLevelItem(node) + offset;
    return index >= 0 && index < tree->topLevelItemCount() ? tree->topLevelItem(index) : nullptr;
}

} // namespace

QTreeWidgetItem* previousItem(QTreeWidgetItem* node)
{
    if (!node)
        return nullptr;
    if (QTreeWidgetItem* before = sibling(node, -1))
        return before;
    return node->parent();
}

QTreeWidgetItem* nextItem(QTreeWidgetItem* node)
{
    if (!node)
        return nullptr;
    if (QTreeWidgetItem* after = sibling(node, 1))
        return after;
    return node->childCount() > 0 ? node->child(0) : nullptr;
}

} // namespace treenavigation
