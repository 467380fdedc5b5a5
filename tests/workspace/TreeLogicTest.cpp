#include "workspace/TreeLogic.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace treelogic;

namespace {

IssueRow row(int parent, int id, const char* name, const char* type = "Issue")
{
    return {QString::number(parent), QString::number(id), QString::fromLatin1(name),
            QString::fromLatin1(type)};
}

QString parentOf(const TreeStructure& tree, const QString& key)
{
    const TreeNode* node = tree.find(key);
    return node ? node->parentKey : QStringLiteral("<missing>");
}

std::vector<QString> childrenOf(const TreeStructure& tree, const QString& key)
{
    const TreeNode* node = tree.find(key);
    return node ? node->children : std::vector<QString>{};
}

} // namespace

TEST(TreeLogic, NodeKeyGivesTheRecordIdWithoutItsTypePrefix)
{
    EXPECT_EQ(nodeKeyToId(QStringLiteral("CX12")), QStringLiteral("12"));
    EXPECT_EQ(nodeKeyToId(QStringLiteral("C12")), QStringLiteral("12"));
    EXPECT_EQ(nodeKeyToId(QStringLiteral("QS7")), QStringLiteral("7"));
    EXPECT_EQ(nodeKeyToId(QStringLiteral("CW305")), QStringLiteral("305"));
    EXPECT_TRUE(nodeKeyToId(QStringLiteral("ROOT")).isEmpty());
}

TEST(TreeLogic, KeyFollowsTheExactTypeWordAndAnyOtherWordIsAnIssue)
{
    EXPECT_EQ(keyForRow(QStringLiteral("Exhibit"), QStringLiteral("5")), QStringLiteral("CX5"));
    EXPECT_EQ(keyForRow(QStringLiteral("Witness"), QStringLiteral("5")), QStringLiteral("CW5"));
    EXPECT_EQ(keyForRow(QStringLiteral("Question"), QStringLiteral("5")), QStringLiteral("QS5"));
    EXPECT_EQ(keyForRow(QStringLiteral("Issue"), QStringLiteral("5")), QStringLiteral("C5"));
    // The type test is case-sensitive.
    EXPECT_EQ(keyForRow(QStringLiteral("exhibit"), QStringLiteral("5")), QStringLiteral("C5"));
    EXPECT_EQ(keyForRow(QString(), QStringLiteral("5")), QStringLiteral("C5"));
}

TEST(TreeLogic, ImagesFollowTheKeyPrefix)
{
    EXPECT_EQ(imageForKey(QStringLiteral("CX1")), kImageExhibit);
    EXPECT_EQ(imageForKey(QStringLiteral("CW1")), kImageWitness);
    EXPECT_EQ(imageForKey(QStringLiteral("QS1")), kImageQuestion);
    EXPECT_EQ(imageForKey(QStringLiteral("C1")), kImageIssue);
    EXPECT_EQ(imageForKey(QStringLiteral("ROOT")), kImageRoot);
}

TEST(TreeLogic, NoRowsGiveOnlyTheRoot)
{
    const TreeStructure tree = buildTree({});
    ASSERT_EQ(tree.nodes.size(), 1u);
    EXPECT_EQ(tree.nodes[0].key, kRootKey);
    EXPECT_EQ(tree.nodes[0].text, QStringLiteral("Legal Issues"));
    EXPECT_TRUE(tree.nodes[0].tag.isEmpty());
}

TEST(TreeLogic, ChildBeforeItsParentStillLandsUnderIt)
{
    const TreeStructure tree = buildTree({row(2, 1, "child"), row(0, 2, "parent")});
    EXPECT_EQ(parentOf(tree, QStringLiteral("C1")), QStringLiteral("C2"));
    EXPECT_EQ(parentOf(tree, QStringLiteral("C2")), kRootKey);
    EXPECT_EQ(tree.find(QStringLiteral("C1"))->tag, QStringLiteral("C2"));
    EXPECT_EQ(tree.orphans, 0);
}

TEST(TreeLogic, ParentZeroPlacesTheItemUnderTheRoot)
{
    const TreeStructure tree = buildTree({row(0, 4, "top", "Witness")});
    EXPECT_EQ(parentOf(tree, QStringLiteral("CW4")), kRootKey);
    EXPECT_EQ(tree.find(QStringLiteral("CW4"))->tag, QStringLiteral("C0"));
    EXPECT_EQ(tree.orphans, 0);
}

TEST(TreeLogic, MissingParentOrNonIssueParentPutsTheRowUnderTheRoot)
{
    const TreeStructure tree =
        buildTree({row(0, 1, "issue"), row(99, 2, "lost"), row(0, 3, "exhibit", "Exhibit"),
                   row(3, 4, "under exhibit"), row(1, 5, "fine")});
    EXPECT_EQ(parentOf(tree, QStringLiteral("C2")), kRootKey);
    EXPECT_EQ(parentOf(tree, QStringLiteral("C4")), kRootKey);
    EXPECT_EQ(parentOf(tree, QStringLiteral("C5")), QStringLiteral("C1"));
    EXPECT_EQ(tree.orphans, 2);
    EXPECT_EQ(tree.cycleMembers, 0);
    // Every row is shown once.
    EXPECT_EQ(tree.nodes.size(), 6u);
}

TEST(TreeLogic, EmptyParentIdCountsAsAnOrphan)
{
    const TreeStructure tree =
        buildTree({{QString(), QStringLiteral("8"), QStringLiteral("x"), QStringLiteral("Issue")}});
    EXPECT_EQ(parentOf(tree, QStringLiteral("C8")), kRootKey);
    EXPECT_EQ(tree.orphans, 1);
}

TEST(TreeLogic, LoopOfParentsIsBrokenAndNoItemIsLost)
{
    // 1 -> 2 -> 3 -> 1 is a loop; 4 hangs off 3, 5 is its own parent.
    const TreeStructure tree = buildTree(
        {row(3, 1, "a"), row(1, 2, "b"), row(2, 3, "c"), row(3, 4, "d"), row(5, 5, "self")});
    EXPECT_EQ(tree.cycleMembers, 4);
    EXPECT_EQ(tree.orphans, 0);
    for (const char* key : {"C1", "C2", "C3", "C5"})
        EXPECT_EQ(parentOf(tree, QLatin1String(key)), kRootKey) << key;
    EXPECT_EQ(parentOf(tree, QStringLiteral("C4")), QStringLiteral("C3"));
    EXPECT_EQ(childrenOf(tree, kRootKey).size(), 4u);
}

TEST(TreeLogic, BranchesAreSortedByTextWithoutRegardToCase)
{
    const TreeStructure tree =
        buildTree({row(0, 1, "Zeta"), row(0, 2, "alpha"), row(0, 3, "Beta"), row(3, 4, "delta"),
                   row(3, 5, "Charlie"), row(3, 6, "bravo")});
    EXPECT_EQ(
        childrenOf(tree, kRootKey),
        (std::vector<QString>{QStringLiteral("C2"), QStringLiteral("C3"), QStringLiteral("C1")}));
    EXPECT_EQ(
        childrenOf(tree, QStringLiteral("C3")),
        (std::vector<QString>{QStringLiteral("C6"), QStringLiteral("C5"), QStringLiteral("C4")}));
}

TEST(TreeLogic, ItemsKeepTheImageOfTheirType)
{
    const TreeStructure tree =
        buildTree({row(0, 1, "i"), row(1, 2, "x", "Exhibit"), row(1, 3, "q", "Question")});
    EXPECT_EQ(tree.find(QStringLiteral("C1"))->image, kImageIssue);
    EXPECT_EQ(tree.find(QStringLiteral("CX2"))->image, kImageExhibit);
    EXPECT_EQ(tree.find(QStringLiteral("QS3"))->image, kImageQuestion);
}
