#include "workspace/TreeLogic.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <optional>

namespace treelogic {
namespace {

const QString kIssuePrefix = QStringLiteral("C");

// The kinds of item, each with its ItemType text, the prefix of its node
// keys and its image; an issue is any other type. Their positions are the
// prefix numbers the node index keeps keys under.
struct ItemKind {
    QLatin1String type;
    QString prefix;
    const QString& image;
};
const ItemKind kKinds[] = {{QLatin1String("Issue"), kIssuePrefix, kImageIssue},
                           {QLatin1String("Exhibit"), QStringLiteral("CX"), kImageExhibit},
                           {QLatin1String("Witness"), QStringLiteral("CW"), kImageWitness},
                           {QLatin1String("Question"), QStringLiteral("QS"), kImageQuestion}};
constexpr int kKindCount = int(std::size(kKinds));

int kindOfType(const QString& itemType)
{
    for (int k = 1; k < kKindCount; ++k)
        if (itemType == kKinds[k].type)
            return k;
    return 0;
}

// The kind a key's two-letter prefix names; 0 for any other key.
int kindOfKey(const QString& key)
{
    for (int k = 1; k < kKindCount; ++k)
        if (key.startsWith(kKinds[k].prefix))
            return k;
    return 0;
}

} // namespace

QString nodeKeyToId(const QString& key)
{
    if (key == kRootKey)
        return QString();
    return key.mid(kindOfKey(key) != 0 ? 2 : 1);
}

QString keyForRow(const QString& itemType, const QString& id)
{
    return kKinds[kindOfType(itemType)].prefix + id;
}

QString imageForKey(const QString& key)
{
    if (key == kRootKey)
        return kImageRoot;
    return kKinds[kindOfKey(key)].image;
}

QString TreeStructure::parentKey(const TreeNode& node) const
{
    return node.parent >= 0 ? nodes[std::size_t(node.parent)].key : QString();
}

std::vector<QString> TreeStructure::childKeys(const TreeNode& node) const
{
    std::vector<QString> keys;
    keys.reserve(node.childNodes.size());
    for (const int child : node.childNodes)
        keys.push_back(nodes[std::size_t(child)].key);
    return keys;
}

namespace {

// The number a text is the plain form of ("12", "-3", not "012" nor "+3"
// nor " 3"), as ids read from their integer column always are.
std::optional<qint64> plainInteger(QStringView text)
{
    const qsizetype size = text.size();
    const qsizetype start = size > 0 && text.front() == u'-' ? 1 : 0;
    // Every id an integer column holds, up to 19 digits: the key of a row
    // read as numbers is looked up the same way.
    if (size == start || size - start > 19)
        return std::nullopt;
    if (text[start] == u'0' && (size - start > 1 || start == 1))
        return std::nullopt;
    quint64 value = 0;
    for (qsizetype i = start; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    const quint64 limit = (quint64(1) << 63) - (start ? 0 : 1);
    if (value > limit)
        return std::nullopt;
    return start ? qint64(0 - value) : qint64(value);
}

// prefix followed by number's digits, made in one piece.
QString prefixed(const QString& prefix, qint64 number)
{
    char16_t digits[24];
    int n = 0;
    quint64 rest = number < 0 ? 0 - quint64(number) : quint64(number);
    do {
        digits[n++] = char16_t(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (number < 0)
        digits[n++] = u'-';
    QString text(prefix.size() + n, Qt::Uninitialized);
    QChar* out = std::copy(prefix.cbegin(), prefix.cend(), text.data());
    while (n > 0)
        *out++ = QChar(digits[--n]);
    return text;
}

// An ASCII text's first sixteen characters, folded, one to a byte from the
// highest down, eight to a number, zeros after a shorter text: the numbers
// order as the texts do whenever they differ. Names often share their first
// word, and a comparison that reaches the texts reads them from all over
// memory.
struct SortKey {
    quint64 head = 0;
    quint64 next = 0;
    bool ascii = false;
};

SortKey sortKey(const QString& text)
{
    SortKey key;
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return key;
    key.ascii = true;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < 16; ++i) {
        char16_t c = i < n ? text[i].unicode() : 0;
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + 32);
        quint64& part = i < 8 ? key.head : key.next;
        part = (part << 8) | c;
    }
    return key;
}

// What QString::compare without case says of two ASCII texts, without the
// Unicode tables it looks each character up in: in ASCII only A to Z fold.
bool asciiLessIgnoringCase(const QString& left, const QString& right)
{
    const auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    const qsizetype n = std::min(left.size(), right.size());
    const char16_t* a = reinterpret_cast<const char16_t*>(left.constData());
    const char16_t* b = reinterpret_cast<const char16_t*>(right.constData());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = fold(a[i]);
        const char16_t y = fold(b[i]);
        if (x != y)
            return x < y;
    }
    return left.size() < right.size();
}

} // namespace

// Node positions by key. A key made of a prefix and a plain number is held
// as the two, in tables of numbers that a case of a hundred thousand items
// reads far faster than one of texts; any other key as its text. Numbers
// as low as record ids go straight to their place in a vector.
class NodeIndex {
public:
    explicit NodeIndex(qsizetype size) { m_numbers[0].reserve(size); }

    // The slot of a key; 0 (the root's position) when the key is new.
    int& slot(const QString& key)
    {
        const auto [prefix, number] = split(key);
        if (number)
            return slot(prefix, *number);
        return m_texts[key];
    }
    int& slot(int prefix, qint64 number)
    {
        if (number >= 0 && number < kDenseLimit) {
            std::vector<int>& dense = m_dense[prefix];
            if (std::size_t(number) >= dense.size())
                dense.resize(std::max(std::size_t(number) + 1, dense.size() * 2));
            return dense[std::size_t(number)];
        }
        return m_numbers[prefix][number];
    }
    // The position of the node with this key; -1 when there is none.
    int find(const QString& key) const
    {
        const auto [prefix, number] = split(key);
        if (number)
            return find(prefix, *number);
        return m_texts.value(key, -1);
    }
    int find(int prefix, qint64 number) const
    {
        if (number >= 0 && number < kDenseLimit) {
            const std::vector<int>& dense = m_dense[prefix];
            const int at = std::size_t(number) < dense.size() ? dense[std::size_t(number)] : 0;
            return at > 0 ? at : -1;
        }
        return m_numbers[prefix].value(number, -1);
    }

private:
    // The prefix, as 0 for "C" and 1 to 3 for the two-letter ones, and the
    // number after it when it is a plain one.
    static std::pair<int, std::optional<qint64>> split(const QString& key)
    {
        const int prefix = kindOfKey(key);
        if (prefix == 0 && !key.startsWith(kIssuePrefix))
            return {0, std::nullopt};
        return {prefix, plainInteger(QStringView(key).mid(prefix == 0 ? 1 : 2))};
    }

    static constexpr qint64 kDenseLimit = qint64(1) << 20;
    std::array<std::vector<int>, 4> m_dense;
    std::array<QHash<qint64, int>, 4> m_numbers;
    QHash<QString, int> m_texts;
};

const TreeNode* TreeStructure::find(const QString& key) const
{
    if (index) {
        const int at = index->find(key);
        return at >= 0 && std::size_t(at) < nodes.size() ? &nodes[std::size_t(at)] : nullptr;
    }
    for (const TreeNode& node : nodes)
        if (node.key == key)
            return &node;
    return nullptr;
}

TreeBuilder::TreeBuilder(std::size_t expected)
    : m_index(std::make_unique<NodeIndex>(qsizetype(expected)))
{
    m_tree.nodes.reserve(expected + 1);
    m_tree.nodes.push_back(TreeNode{kRootKey, kRootText, kImageRoot, QString(), -1, {}});
    m_index->slot(kRootKey) = 0;
}

TreeBuilder::~TreeBuilder() = default;

bool TreeBuilder::place(int& slot)
{
    // One look-up: a new key reads 0, which only the root holds.
    if (slot != 0)
        return false; // ids are unique in a sound file; a repeat adds nothing
    slot = int(m_tree.nodes.size());
    return true;
}

void TreeBuilder::add(const QString& parentId, const QString& id, QString name,
                      const QString& itemType)
{
    QString key = keyForRow(itemType, id);
    if (!place(m_index->slot(key)))
        return;
    QString image = imageForKey(key);
    m_tree.nodes.push_back(TreeNode{
        std::move(key), std::move(name), std::move(image), kIssuePrefix + parentId, -1, {}});
    m_parentNumbers.push_back(0);
    m_numbered.push_back(false);
}

void TreeBuilder::add(qint64 parentId, qint64 id, QString name, const QString& itemType)
{
    const int kind = kindOfType(itemType);
    if (!place(m_index->slot(kind, id)))
        return;
    m_tree.nodes.push_back(TreeNode{prefixed(kKinds[kind].prefix, id),
                                    std::move(name),
                                    kKinds[kind].image,
                                    prefixed(kIssuePrefix, parentId),
                                    -1,
                                    {}});
    m_parentNumbers.push_back(parentId);
    m_numbered.push_back(true);
}

TreeStructure buildTree(std::vector<IssueRow> rows)
{
    TreeBuilder builder(rows.size());
    for (IssueRow& row : rows)
        builder.add(row.parentId, row.id, std::move(row.name), row.itemType);
    rows.clear();
    return builder.finish();
}

TreeStructure TreeBuilder::finish()
{
    TreeStructure tree = std::move(m_tree);
    const NodeIndex& index = *m_index;

    // A parent is the node whose key equals the tag; only issues can match,
    // as the tag always carries the issue prefix.
    const int count = int(tree.nodes.size());
    std::vector<int> parent(count, -1);
    for (int i = 1; i < count; ++i) {
        const TreeNode& node = tree.nodes[i];
        const bool numbered = m_numbered[std::size_t(i - 1)];
        const qint64 parentNumber = m_parentNumbers[std::size_t(i - 1)];
        if (numbered ? parentNumber == 0 : node.tag == QLatin1String("C0")) {
            parent[i] = 0;
            continue;
        }
        const int found = numbered ? index.find(0, parentNumber) : index.find(node.tag);
        if (found < 0) {
            parent[i] = 0;
            ++tree.orphans;
        } else {
            // A row naming itself is a loop of one; counted with the loops.
            parent[i] = found;
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

    // Each chain is walked up to the first node whose level is known, then
    // down again; a node past the deepest level starts again under the root.
    std::vector<int> level(count, -1);
    level[0] = 0;
    for (int start = 1; start < count; ++start) {
        path.clear();
        for (int at = start; level[at] < 0; at = parent[at])
            path.push_back(at);
        int at = path.empty() ? 0 : level[parent[path.back()]];
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            if (++at > kDeepestLevel) {
                parent[*it] = 0;
                at = 1;
                ++tree.tooDeep;
            }
            level[*it] = at;
        }
    }

    for (int i = 1; i < count; ++i) {
        tree.nodes[i].parent = parent[i];
        tree.nodes[parent[i]].childNodes.push_back(i);
    }

    // Sorted by position, so a large case costs no key look-ups. Each text's
    // first characters, folded, are packed into numbers kept side by side
    // with the others: most comparisons never reach the texts themselves.
    std::vector<SortKey> keys(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        keys[std::size_t(i)] = sortKey(tree.nodes[i].text);
    for (TreeNode& node : tree.nodes) {
        if (node.childNodes.size() < 2)
            continue;
        std::stable_sort(node.childNodes.begin(), node.childNodes.end(), [&](int a, int b) {
            const SortKey& left = keys[std::size_t(a)];
            const SortKey& right = keys[std::size_t(b)];
            if (left.ascii && right.ascii) {
                if (left.head != right.head)
                    return left.head < right.head;
                if (left.next != right.next)
                    return left.next < right.next;
                return asciiLessIgnoringCase(tree.nodes[a].text, tree.nodes[b].text);
            }
            return QString::compare(tree.nodes[a].text, tree.nodes[b].text, Qt::CaseInsensitive) <
                   0;
        });
    }
    tree.index = std::move(m_index);
    return tree;
}

} // namespace treelogic
