#include "workspace/CaseTreeItem.h"

#include "workspace/TreeImages.h"
#include "workspace/frmRedoZiv.h"

#include <QSignalSpy>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

TEST(CaseTreeItem, HeldRolesReadAndChangeLikeAnyRoleAndAnnounceTheChange)
{
    QTreeWidget tree;
    auto* item = new CaseTreeItem(QStringLiteral("Breach"), QStringLiteral("C7"), QString(),
                                  QStringLiteral("ISSUE"));
    tree.addTopLevelItem(item);
    QSignalSpy changed(&tree, &QTreeWidget::itemChanged);

    EXPECT_EQ(item->text(0), QStringLiteral("Breach"));
    EXPECT_EQ(item->data(0, frmRedoZiv::kKeyRole).toString(), QStringLiteral("C7"));
    EXPECT_EQ(item->data(0, frmRedoZiv::kImageRole).toString(), QStringLiteral("ISSUE"));
    // No tag given: none there, as for an item never given one.
    EXPECT_FALSE(item->data(0, frmRedoZiv::kTagRole).isValid());

    item->setData(0, frmRedoZiv::kTagRole, QStringLiteral("C3"));
    item->setData(0, frmRedoZiv::kTagRole, QStringLiteral("C3"));
    EXPECT_EQ(item->data(0, frmRedoZiv::kTagRole).toString(), QStringLiteral("C3"));
    EXPECT_EQ(changed.count(), 1);
    // The icon is the image named, until one is set.
    EXPECT_EQ(item->icon(0).cacheKey(), treeimages::image(QStringLiteral("ISSUE")).cacheKey());
    const QIcon exhibit = treeimages::image(QStringLiteral("EXHIBIT"));
    item->setIcon(0, exhibit);
    EXPECT_EQ(item->icon(0).cacheKey(), exhibit.cacheKey());

    std::unique_ptr<QTreeWidgetItem> copy(item->clone());
    EXPECT_EQ(copy->data(0, frmRedoZiv::kKeyRole).toString(), QStringLiteral("C7"));
    EXPECT_EQ(copy->data(0, frmRedoZiv::kTagRole).toString(), QStringLiteral("C3"));
    EXPECT_EQ(copy->text(0), QStringLiteral("Breach"));
}

} // namespace
