#include "workspace/TreeLogic.h"

#include <QHash>

#include <algorithm>

namespace treelogic {
namespace {

const QString kExhibitPrefix = QStringLiteral("CX");
const QString kWitnessPrefix = QStringLiteral("CW");
const QString kQuestionPrefix = QStringLiteral("QS");
const QString kIssuePrefix = QStringLiteral("C");

bool hasTwoLetterPrefix(const QString& key)
{
    return key.startsWith(kExhibitPrefix) || key.startsWith(kWitnessPrefix) ||
           key.startsWith(kQuestionPrefix);
}

} // namespace

QString nodeKeyToId(const QString& key)
{
    if (key == kRootKey)
        return QString();
    return key.mid(hasTwoLetterPrefix(key) ? 2 : 1);
}

QString keyForRow(const QString& itemType, const QString& id)
{
    if (itemType == QLatin1String("Exhibit"))
        return kExhibitPrefix + id;
    if (itemType == QLatin1String("Witness"))
        return kWitnessPrefix + id;
    if (itemType == QLatin1String("Question"))
        return kQuestionPrefix + id;
    return kIssuePrefix + id;
}

QString imageForKey(const QString& key)
{
    if (key == kRootKey)
        return kImageRoot;
    if (key.startsWith(kExhibitPrefix))
        return kImageExhibit;
    if (key.startsWith(kWitnessPrefix))
        return kImageWitness;
    if (key.startsWith(kQuestionPrefix))
        return kImageQuestion;
    return kImageIssue;
}

const TreeNode* TreeStructure::find(const QString& key) const
{
    for (const TreeNode& node : nodes)
        if (node.key == key)
            return &node;
    return nullptr;
}

TreeStructure buildTree(const std::vector<IssueRow>& rows)
{
    TreeStructure tree;
    tree.nodes.reserve(rows.size() + 1);
    tree.nodes.push_back(TreeNode{kRootKey, kRootText, kImageRoot, QString(), QString(), {}, {}});

    QHash<QString, int> indexOf;
    indexOf.reserve(qsizetype(rows.size()) + 1);
    indexOf.insert(kRootKey, 0);
    for (const IssueRow& row : rows) {
        const QString key = keyForRow(row.itemType, row.id);
        // One look-up: a new key reads 0, which only the root holds.
        int& slot = indexOf[key];
        if (slot != 0)
            continue; // ids are unique in a sound file; a repeat adds nothing
        slot = int(tree.nodes.size());
        tree.nodes.push_back(TreeNode{key, row.name, imageForKey(key), kIssuePrefix + row.parentId,
                                      QString(), {}, {}});
    }

    // A parent is the node whose key equals the tag; only issues can match,
    // as the tag always carries the issue prefix.
    const int count = int(tree.nodes.size());
    std::vector<int> parent(count, -1);
    for (int i = 1; i < count; ++i) {
        TreeNode& node = tree.nodes[i];
        if (node.tag == QLatin1String("C0")) {
            parent[i] = 0;
            continue;
        }
        const auto found = indexOf.constFind(node.tag);
        if (found == indexOf.constEnd() || found.value() == i) {
            // A row naming itself is a loop of one; counted with the loops.
            if (found != indexOf.constEnd())
                parent[i] = i;
            else {
                parent[i] = 0;
                ++tree.orphans;
            }
        } else {
            parent[i] = found.value();
        }
    }

    // Walk each chain of parents once; a chain that comes back to a node of
    // the same walk is a loop, whose members go under the root.
    enum Mark { Unvisited, OnPath, Done };
    std::vector<Mark> mark(count, Unvisited);
    mark[0] = Done;
    std::vector<int> path;
    for (int start = 1; start < count; ++start) {
        path.clear();
        int at = start;
        while (mark[at] == Unvisited) {
            mark[at] = OnPath;
            path.push_back(at);
            at = parent[at];
        }
        if (mark[at] == OnPath) {
            const auto loopStart = std::find(path.begin(), path.end(), at);
            for (auto it = loopStart; it != path.end(); ++it) {
                parent[*it] = 0;
                ++tree.cycleMembers;
            }
        }
        for (int member : path)
            mark[member] = Done;
    }

    for (int i = 1; i < count; ++i) {
        tree.nodes[i].parentKey = tree.nodes[parent[i]].key;
        tree.nodes[parent[i]].childNodes.push_back(i);
    }

    // Sorted by position, so a large case costs no key look-ups.
    for (TreeNode& node : tree.nodes) {
        std::stable_sort(node.childNodes.begin(), node.childNodes.end(), [&](int a, int b) {
            return QString::compare(tree.nodes[a].text, tree.nodes[b].text, Qt::CaseInsensitive) <
                   0;
        });
        node.children.reserve(node.childNodes.size());
        for (int child : node.childNodes)
            node.children.push_back(tree.nodes[child].key);
    }
    return tree;
}

} // namespace treelogic
