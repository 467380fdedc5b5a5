#include "workspace/TreeLogic.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using namespace treelogic;

namespace {

IssueRow row(int parent, int id, const char* name, const char* type = "Issue")
{
    return {QString::number(parent), QString::number(id), QString::fromLatin1(name),
            QString::fromLatin1(type)};
}

QString parentOf(const TreeStructure& tree, const char* key)
{
    const TreeNode* node = tree.find(QLatin1String(key));
    return node ? tree.parentKey(*node) : QStringLiteral("<missing>");
}

std::vector<QString> keys(std::initializer_list<const char*> list)
{
    std::vector<QString> out;
    for (const char* k : list)
        out.push_back(QLatin1String(k));
    return out;
}

} // namespace

TEST(TreeLogic, KeyImageAndRecordIdFollowTheExactTypeWord)
{
    struct Case {
        const char* type;
        const char* key;
        const QString& image;
    };
    const Case cases[] = {
        {"Exhibit", "CX12", kImageExhibit},
        {"Witness", "CW12", kImageWitness},
        {"Question", "QS12", kImageQuestion},
        {"Issue", "C12", kImageIssue},
        // The type test is case-sensitive; any other word is an issue.
        {"exhibit", "C12", kImageIssue},
        {"", "C12", kImageIssue},
    };
    for (const Case& c : cases) {
        const QString key = keyForRow(QLatin1String(c.type), QStringLiteral("12"));
        EXPECT_EQ(key, QLatin1String(c.key)) << c.type;
        EXPECT_EQ(imageForKey(key), c.image) << c.type;
        EXPECT_EQ(nodeKeyToId(key), QStringLiteral("12")) << c.type;
        EXPECT_EQ(buildTree({row(0, 12, "x", c.type)}).nodes.at(1).image, c.image) << c.type;
    }
    EXPECT_EQ(nodeKeyToId(QStringLiteral("QS7")), QStringLiteral("7"));
    EXPECT_TRUE(nodeKeyToId(QStringLiteral("ROOT")).isEmpty());
    EXPECT_EQ(imageForKey(QStringLiteral("ROOT")), kImageRoot);
}

TEST(TreeLogic, ChildBeforeItsParentAndParentZeroLandWhereTheyBelong)
{
    const TreeStructure tree = buildTree({row(2, 1, "child"), row(0, 2, "parent")});
    EXPECT_EQ(tree.nodes.front().key, kRootKey);
    EXPECT_TRUE(tree.nodes.front().tag.isEmpty());
    EXPECT_EQ(parentOf(tree, "C1"), QStringLiteral("C2"));
    EXPECT_EQ(tree.find(QStringLiteral("C1"))->tag, QStringLiteral("C2"));
    EXPECT_EQ(parentOf(tree, "C2"), kRootKey);
    EXPECT_EQ(tree.find(QStringLiteral("C2"))->tag, QStringLiteral("C0"));
    EXPECT_EQ(tree.orphans, 0);
}

TEST(TreeLogic, RowsWithNoIssueToHoldThemGoUnderTheRootAndAreCounted)
{
    const TreeStructure tree =
        buildTree({row(0, 1, "issue"),
                   row(99, 2, "lost"),
                   row(0, 3, "exhibit", "Exhibit"),
                   row(3, 4, "under exhibit"),
                   row(1, 5, "fine"),
                   {QString(), QStringLiteral("8"), QStringLiteral("no parent id"),
                    QStringLiteral("Issue")}});
    for (const char* key : {"C2", "C4", "C8"})
        EXPECT_EQ(parentOf(tree, key), kRootKey) << key;
    EXPECT_EQ(parentOf(tree, "C5"), QStringLiteral("C1"));
    EXPECT_EQ(tree.orphans, 3);
    EXPECT_EQ(tree.cycleMembers, 0);
    EXPECT_EQ(tree.nodes.size(), 7u); // every row once, and the root
}

TEST(TreeLogic, AChainNestedPastTheDeepestLevelContinuesUnderTheRootWithNothingLost)
{
    // Two chains: one exactly as deep as a node may be shown, one longer.
    std::vector<IssueRow> rows;
    const int longest = 2 * kDeepestLevel + 5;
    for (int id = 1; id <= longest; ++id)
        rows.push_back(row(id - 1, id, "deep"));
    const int shallowStart = longest + 1;
    for (int i = 0; i < kDeepestLevel; ++i)
        rows.push_back(row(i == 0 ? 0 : shallowStart + i - 1, shallowStart + i, "fits"));
    const TreeStructure tree = buildTree(std::move(rows));

    EXPECT_EQ(tree.tooDeep, 2);
    EXPECT_EQ(tree.orphans + tree.cycleMembers, 0);
    EXPECT_EQ(tree.nodes.size(), std::size_t(longest + kDeepestLevel + 1));
    const auto key = [](int id) { return QStringLiteral("C%1").arg(id); };
    EXPECT_EQ(parentOf(tree, qPrintable(key(kDeepestLevel))), key(kDeepestLevel - 1));
    EXPECT_EQ(parentOf(tree, qPrintable(key(kDeepestLevel + 1))), kRootKey);
    EXPECT_EQ(parentOf(tree, qPrintable(key(kDeepestLevel + 2))), key(kDeepestLevel + 1));
    EXPECT_EQ(parentOf(tree, qPrintable(key(2 * kDeepestLevel + 1))), kRootKey);
    EXPECT_EQ(parentOf(tree, qPrintable(key(shallowStart + kDeepestLevel - 1))),
              key(shallowStart + kDeepestLevel - 2));
}

TEST(TreeLogic, LoopOfParentsIsBrokenAndNoItemIsLost)
{
    // 1 -> 2 -> 3 -> 1 is a loop; 4 hangs off 3, 5 is its own parent.
    const TreeStructure tree = buildTree(
        {row(3, 1, "a"), row(1, 2, "b"), row(2, 3, "c"), row(3, 4, "d"), row(5, 5, "self")});
    EXPECT_EQ(tree.cycleMembers, 4);
    EXPECT_EQ(tree.orphans, 0);
    for (const char* key : {"C1", "C2", "C3", "C5"})
        EXPECT_EQ(parentOf(tree, key), kRootKey) << key;
    EXPECT_EQ(parentOf(tree, "C4"), QStringLiteral("C3"));
    EXPECT_EQ(tree.find(kRootKey)->childNodes.size(), 4u);
}

TEST(TreeLogic, BranchesAreSortedByTextWithoutRegardToCase)
{
    const TreeStructure tree =
        buildTree({row(0, 1, "Zeta"), row(0, 2, "alpha"), row(0, 3, "Beta"), row(3, 4, "delta"),
                   row(3, 5, "Charlie"), row(3, 6, "bravo")});
    EXPECT_EQ(tree.childKeys(*tree.find(kRootKey)), keys({"C2", "C3", "C1"}));
    EXPECT_EQ(tree.childKeys(*tree.find(QStringLiteral("C3"))), keys({"C6", "C5", "C4"}));

    // Names alike in their first eight or sixteen characters, or beyond,
    // and names the same but for case, which keep their order.
    const char* const alike[] = {"Witness statement of B",  "witness Statement of a",
                                 "Witness statements",      "Witness stat",
                                 "WITNESS STATEMENT OF A2", "Witness",
                                 "Witness statement of a",  "Witness statement of a",
                                 "Witness statement",       "Witness statemenT"};
    std::vector<IssueRow> rows;
    std::vector<int> expected;
    for (int i = 0; i < int(std::size(alike)); ++i) {
        rows.push_back(row(0, 10 + i, alike[i]));
        expected.push_back(10 + i);
    }
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        return QString::compare(QString::fromLatin1(alike[a - 10]),
                                QString::fromLatin1(alike[b - 10]), Qt::CaseInsensitive) < 0;
    });
    std::vector<QString> expectedKeys;
    for (int id : expected)
        expectedKeys.push_back(QStringLiteral("C%1").arg(id));
    const TreeStructure alikeTree = buildTree(std::move(rows));
    EXPECT_EQ(alikeTree.childKeys(*alikeTree.find(kRootKey)), expectedKeys);
}

TEST(TreeLogic, RowsReadAsNumbersBuildTheTreeRowsReadAsTextsBuild)
{
    // Names past ASCII sort as Qt compares them without case (after "z"), the
    // same whichever way the row came in; ids past the
    // range kept in place and below zero are looked up all the same.
    const std::vector<IssueRow> rows = {row(0, 1, "zulu"),
                                        row(0, 2, "Émile"),
                                        row(0, 3, "eve", "Exhibit"),
                                        row(0, 4, "Ärger"),
                                        row(0, 5, "alpha"),
                                        row(5, 2000000, "far", "Issue"),
                                        row(2000000, 6, "under far", "Witness"),
                                        row(0, -7, "negative"),
                                        row(-7, 8, "under negative", "Question"),
                                        row(99, 9, "orphan"),
                                        row(10, 10, "self"),
                                        {"1", "1234567890123456789", "nineteen digits", "Issue"},
                                        {"1234567890123456789", "11", "under it", "Witness"}};
    TreeBuilder numbers;
    for (const IssueRow& r : rows)
        numbers.add(r.parentId.toLongLong(), r.id.toLongLong(), r.name, r.itemType);
    const TreeStructure fromNumbers = numbers.finish();
    const TreeStructure fromTexts = buildTree(rows);
    ASSERT_EQ(fromNumbers.nodes.size(), fromTexts.nodes.size());
    for (const TreeNode& node : fromTexts.nodes) {
        const TreeNode* same = fromNumbers.find(node.key);
        ASSERT_NE(same, nullptr) << qPrintable(node.key);
        EXPECT_EQ(same->tag, node.tag) << qPrintable(node.key);
        EXPECT_EQ(same->image, node.image) << qPrintable(node.key);
        EXPECT_EQ(fromNumbers.parentKey(*same), fromTexts.parentKey(node)) << qPrintable(node.key);
        EXPECT_EQ(fromNumbers.childKeys(*same), fromTexts.childKeys(node)) << qPrintable(node.key);
    }
    EXPECT_EQ(fromNumbers.orphans, fromTexts.orphans);
    EXPECT_EQ(fromNumbers.cycleMembers, fromTexts.cycleMembers);
    EXPECT_EQ(fromTexts.childKeys(*fromTexts.find(kRootKey)),
              keys({"C5", "CX3", "C-7", "C9", "C10", "C1", "C4", "C2"}));
}
