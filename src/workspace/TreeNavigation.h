#pragma once

class QTreeWidgetItem;

// The toolbar's previous and next item, from a node of the case tree.
namespace treenavigation {

// The previous sibling, else the parent; null when there is neither.
QTreeWidgetItem* previousItem(QTreeWidgetItem* node);
// The next sibling, else the first child; null when there is neither.
QTreeWidgetItem* nextItem(QTreeWidgetItem* node);

} // namespace treenavigation
