#pragma once

#include <QString>

#include <memory>
#include <vector>

// The case tree's key scheme and the building of its structure from the rows
// of table Issue, free of any widget so that it can be checked on its own.
namespace treelogic {

inline const QString kRootKey = QStringLiteral("ROOT");
inline const QString kRootText = QStringLiteral("Legal Issues");

// Image keys of the tree's image list.
inline const QString kImageIssue = QStringLiteral("ISSUE");
inline const QString kImageExhibit = QStringLiteral("EXHIBIT");
inline const QString kImageWitness = QStringLiteral("WITNESS");
inline const QString kImageQuestion = QStringLiteral("QUESTION");
inline const QString kImageRoot = QStringLiteral("VIEWBOOKMARKS");

// The record id behind a node key: "CX12" -> "12", "C12" -> "12", "QS7" -> "7".
// The root has no record: empty.
QString nodeKeyToId(const QString& key);

// "CX", "CW" or "QS" followed by the id for an exhibit, witness or question
// (the type words compared exactly), "C" followed by the id for anything else.
QString keyForRow(const QString& itemType, const QString& id);

// The image a node shows, by its key's prefix.
QString imageForKey(const QString& key);

// The four columns the tree reads of each row, as text.
struct IssueRow {
    QString parentId;
    QString id;
    QString name;
    QString itemType;
};

struct TreeNode {
    QString key;
    QString text;
    QString image;
    // "C" followed by the row's ParentID: the key its parent has when the
    // parent is an issue. Empty for the root.
    QString tag;
    // Where the node is placed, as a position in TreeStructure::nodes: the
    // root's (0), or another node's; -1 for the root itself.
    int parent = -1;
    // The children as positions in TreeStructure::nodes, sorted by their text.
    std::vector<int> childNodes;
};

class NodeIndex;

// The deepest level a node is shown at. The tree view lays out an open
// branch by recursion, a level per call: a chain nested far deeper than any
// case holds (only another tool writes one) would overflow the stack when
// opened.
inline constexpr int kDeepestLevel = 10000;

struct TreeStructure {
    // The root first, then one node per row in row order.
    std::vector<TreeNode> nodes;
    // Rows that could not go under their parent (no such node, or the parent
    // is not an issue) and were put under the root.
    int orphans = 0;
    // Rows whose parents form a loop; each member was put under the root.
    int cycleMembers = 0;
    // Rows nested deeper than kDeepestLevel, put under the root with what
    // hangs below them.
    int tooDeep = 0;

    // The keys' positions, when the structure came from a builder.
    std::shared_ptr<const NodeIndex> index;

    const TreeNode* find(const QString& key) const;
    // The key of the node a node is placed under; empty for the root.
    QString parentKey(const TreeNode& node) const;
    // The keys of a node's children, in their sorted order.
    std::vector<QString> childKeys(const TreeNode& node) const;
};

// Takes the rows one by one, as they are read, and places them once all are
// in; buildTree below for rows already at hand.
class TreeBuilder {
public:
    explicit TreeBuilder(std::size_t expected = 0);
    ~TreeBuilder();
    TreeBuilder(const TreeBuilder&) = delete;
    TreeBuilder& operator=(const TreeBuilder&) = delete;

    void add(const QString& parentId, const QString& id, QString name, const QString& itemType);
    // The same for a row whose ids are the integers their columns hold: the
    // keys are made from the numbers, not parsed back out of texts.
    void add(qint64 parentId, qint64 id, QString name, const QString& itemType);
    // The structure of every row added; the builder is spent.
    TreeStructure finish();

private:
    // The node's place, once its key is known: false when the key was seen.
    bool place(int& slot);

    TreeStructure m_tree;
    std::unique_ptr<NodeIndex> m_index;
    // ParentID by node position for the rows added as numbers; the others'
    // parents are found by their tag.
    std::vector<qint64> m_parentNumbers;
    std::vector<bool> m_numbered;
};

// Places every row under its parent, whatever order the rows come in.
// A row whose parent cannot hold it, or that sits on a loop of parents,
// goes directly under the root, so that every row is shown exactly once.
// The rows' texts are taken over by the nodes.
TreeStructure buildTree(std::vector<IssueRow> rows);

} // namespace treelogic
