#include "GridCore.h"

#include "platform/core/AppError.h"
#include "platform/core/Statistics.h"
// The recordset has a member named like the C library's end-of-file macro.
#pragma push_macro("EOF")
#undef EOF
#include "platform/db/Ado.h"
#pragma pop_macro("EOF")

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <utility>

namespace grid {

namespace {

constexpr int kSubscriptOutOfRange = 381;
const QString kSource = QStringLiteral("GridCore");

std::optional<double> parseNumber(const QString& text)
{
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // Words are no numbers: a number starts with a digit, a sign or a point.
    const char16_t first = trimmed.front().unicode();
    const bool digitFirst = first >= u'0' && first <= u'9';
    if (!digitFirst && first != u'-' && first != u'+' && first != u'.')
        return std::nullopt;
    // Whole numbers, most of a grid, without the locale's conversion; up to
    // fifteen digits a double holds exactly.
    const qsizetype start = first == u'-' ? 1 : 0;
    if (trimmed.size() > start && trimmed.size() <= 15) {
        long long whole = 0;
        qsizetype i = start;
        for (; i < trimmed.size(); ++i) {
            const char16_t c = trimmed.at(i).unicode();
            if (c < u'0' || c > u'9')
                break;
            whole = whole * 10 + (c - u'0');
        }
        if (i == trimmed.size())
            return start ? -double(whole) : double(whole);
    }
    static const QLocale c = QLocale::c();
    bool ok = false;
    const double number = c.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

bool isIntegral(double value)
{
    return std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15;
}

// Plain text of a number: integers without decimals, others with the digits
// a double holds.
QString plainNumber(double value)
{
    if (isIntegral(value))
        return QString::number(static_cast<long long>(value));
    return QString::number(value, 'g', 15);
}

QString variantText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return plainNumber(value.toDouble());
    case QMetaType::Bool:
        // Yes/No fields read back as the numbers they are stored as.
        return value.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    default:
        return value.toString();
    }
}

// Decimals a display format asks for: the digit places after its point.
std::optional<int> formatDecimals(const QString& format)
{
    const int point = format.indexOf(QLatin1Char('.'));
    if (point < 0)
        return std::nullopt;
    int decimals = 0;
    for (int i = point + 1; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('0') && c != QLatin1Char('#'))
            break;
        ++decimals;
    }
    return decimals;
}

// A cell as a sort sees it, kept small as a large grid holds a million:
// no text when it is empty, else its number, or NaN for a word (numbers are
// finite).
struct SortKey {
    const QString* text = nullptr;
    double number = 0.0;

    int kind() const { return !text ? 0 : (std::isnan(number) ? 2 : 1); }
};

// Cells are private to the grid; any type with its text, number and numeric
// flag makes a key.
template <typename CellType> SortKey keyOf(const CellType& cell)
{
    SortKey key;
    if (!cell.text.isEmpty()) {
        key.text = &cell.text;
        key.number = cell.numeric ? cell.number : std::numeric_limits<double>::quiet_NaN();
    }
    return key;
}

// Texts that share their storage are equal without a look at their letters.
bool sameText(const QString& a, const QString& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// Empty first, then numbers by value, then other text without regard to case:
// one consistent order even for columns that mix numbers and words.
int compareKeys(const SortKey& a, const SortKey& b)
{
    const int kindA = a.kind();
    const int kindB = b.kind();
    if (kindA != kindB)
        return kindA < kindB ? -1 : 1;
    if (kindA == 0)
        return 0;
    if (kindA == 1)
        return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    // Rows of one group share their group texts: equal texts are told apart
    // from the rest without folding their case letter by letter.
    if (sameText(*a.text, *b.text))
        return 0;
    return QString::compare(*a.text, *b.text, Qt::CaseInsensitive);
}

} // namespace

void GridCore::Cell::setText(const QString& newText)
{
    text = newText;
    const std::optional<double> parsed = parseNumber(text);
    number = parsed.value_or(0.0);
    numeric = parsed.has_value();
    computed = false;
}

void GridCore::Cell::setComputed(std::optional<double> value, const QString& shown)
{
    text = shown;
    number = value.value_or(0.0);
    numeric = value.has_value();
    computed = value.has_value();
}

bool GridCore::Cell::sameTextAs(const Cell& other) const
{
    // A typed or read text stands for one number: different numbers mean
    // different texts, told without reading the letters of either.
    if (numeric && other.numeric && !computed && !other.computed && number != other.number)
        return false;
    return sameText(text, other.text);
}

GridCore::GridCore(QObject* parent)
    : QObject(parent)
{
    m_columns.resize(1);
    m_columns[0].width = kFixedColumnWidth;
    m_columns[0].cells.resize(1);
    m_visual = {0};
    m_subtotalGroup = {-1};
}

GridCore::~GridCore() = default;

// ---------------------------------------------------------------------------
// Notification

void GridCore::beginStructureChange()
{
    if (m_redraw != RedrawOff) {
        emit aboutToReset();
        return;
    }
    if (!m_resetPending) {
        m_resetPending = true;
        emit aboutToReset();
    }
}

void GridCore::endStructureChange()
{
    m_row = std::clamp(m_row, 0, rows() - 1);
    m_col = std::clamp(m_col, 0, m_cols - 1);
    m_rowSel = std::clamp(m_rowSel, 0, rows() - 1);
    m_colSel = std::clamp(m_colSel, 0, m_cols - 1);
    if (m_redraw != RedrawOff) {
        emit reset();
        emit displayChanged();
    } else {
        m_displayPending = true;
    }
}

void GridCore::notifyCells(int top, int left, int bottom, int right)
{
    if (m_redraw == RedrawOff) {
        // The view stays frozen until redraw is back on; it then reads all.
        if (!m_resetPending) {
            m_resetPending = true;
            emit aboutToReset();
        }
        m_displayPending = true;
        return;
    }
    emit cellsChanged(top, left, bottom, right);
    bool mergeAffected = false;
    if (m_mergeCells != MergeNone && bottom > 0) {
        for (int c = left; c <= right && !mergeAffected; ++c)
            mergeAffected = m_columns[c].merge;
    }
    if (mergeAffected)
        emit displayChanged();
}

void GridCore::notifyDisplay()
{
    if (m_redraw == RedrawOff)
        m_displayPending = true;
    else
        emit displayChanged();
}

void GridCore::setRedraw(int setting)
{
    const int wanted = setting == RedrawOff ? RedrawOff : RedrawOn;
    if (wanted == m_redraw)
        return;
    m_redraw = wanted;
    if (m_redraw == RedrawOff)
        return;
    const bool resetPending = std::exchange(m_resetPending, false);
    const bool displayPending = std::exchange(m_displayPending, false);
    if (resetPending)
        emit reset();
    if (resetPending || displayPending)
        emit displayChanged();
}

// ---------------------------------------------------------------------------
// Shape

GridCore::Cell& GridCore::cellRef(int row, int col)
{
    return m_columns[static_cast<std::size_t>(col)].cells[static_cast<std::size_t>(row)];
}

const GridCore::Cell& GridCore::cellRef(int row, int col) const
{
    return m_columns[static_cast<std::size_t>(col)].cells[static_cast<std::size_t>(row)];
}

void GridCore::checkCell(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= m_cols)
        throw AppError(kSubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
}

void GridCore::checkCol(int col) const
{
    if (col < 0 || col >= m_cols)
        throw AppError(kSubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
}

void GridCore::resizeColumns(int cols)
{
    cols = std::max(cols, 1);
    if (cols == m_cols)
        return;
    m_cols = cols;
    m_columns.resize(static_cast<std::size_t>(cols));
    for (Column& column : m_columns)
        column.cells.resize(m_subtotalGroup.size());
    // A different set of columns starts again from the natural order.
    m_visual.resize(static_cast<std::size_t>(cols));
    for (int c = 0; c < cols; ++c)
        m_visual[static_cast<std::size_t>(c)] = c;
}

void GridCore::setRows(int count)
{
    count = std::max(count, 1);
    if (count == rows())
        return;
    beginStructureChange();
    m_subtotalGroup.resize(static_cast<std::size_t>(count), -1);
    for (Column& column : m_columns)
        column.cells.resize(static_cast<std::size_t>(count));
    endStructureChange();
}

void GridCore::setCols(int count)
{
    count = std::max(count, 1);
    if (count == m_cols)
        return;
    beginStructureChange();
    resizeColumns(count);
    endStructureChange();
}

void GridCore::setDataSource(const ado::Recordset& recordset)
{
    // Read everything first: a closed recordset fails before the grid changes.
    const QStringList names = recordset.fieldNames();
    const int records = recordset.RecordCount();
    const int fields = names.size();

    const std::size_t rowCount = static_cast<std::size_t>(records) + 1;
    std::vector<std::vector<Cell>> copied(static_cast<std::size_t>(fields) + 1);
    copied[0].resize(rowCount);
    for (int f = 0; f < fields; ++f) {
        std::vector<Cell>& cells = copied[static_cast<std::size_t>(f) + 1];
        cells.resize(rowCount);
        cells[0].setText(names.at(f));
        for (int r = 0; r < records; ++r)
            cells[static_cast<std::size_t>(r) + 1].setText(variantText(recordset.value(r, f)));
    }

    beginStructureChange();
    m_subtotalGroup.assign(rowCount, -1);
    resizeColumns(fields + 1);
    for (std::size_t c = 0; c < copied.size(); ++c)
        m_columns[c].cells = std::move(copied[c]);
    m_row = m_rowSel = rows() > 1 ? 1 : 0;
    m_col = m_colSel = m_cols > 1 ? 1 : 0;
    endStructureChange();
}

void GridCore::clear()
{
    beginStructureChange();
    for (Column& column : m_columns)
        column.cells.assign(1, Cell());
    m_subtotalGroup.assign(1, -1);
    m_row = m_rowSel = 0;
    endStructureChange();
}

// ---------------------------------------------------------------------------
// Cells

QString GridCore::textAt(int row, int col) const
{
    checkCell(row, col);
    return cellRef(row, col).text;
}

bool GridCore::isNumeric(int row, int col) const
{
    checkCell(row, col);
    return cellRef(row, col).numeric;
}

double GridCore::valueAt(int row, int col) const
{
    checkCell(row, col);
    const Cell& cell = cellRef(row, col);
    return cell.numeric ? cell.number : 0.0;
}

void GridCore::setTextAt(int row, int col, const QString& text)
{
    checkCell(row, col);
    Cell& cell = cellRef(row, col);
    if (cell.text == text && !cell.computed)
        return;
    cell.setText(text);
    notifyCells(row, col, row, col);
}

QString GridCore::displayText(int row, int col) const
{
    checkCell(row, col);
    const QString& format = m_columns[static_cast<std::size_t>(col)].format;
    if (row == 0 || format.isEmpty() || !isNumeric(row, col))
        return textAt(row, col);
    return formatNumber(valueAt(row, col), format);
}

QVariant GridCore::cell(int setting, int row, int col) const
{
    switch (setting) {
    case CellText:
        return textAt(row, col);
    case CellValue:
        return valueAt(row, col);
    default:
        throw AppError(kSubscriptOutOfRange, kSource, QStringLiteral("Invalid cell setting"));
    }
}

void GridCore::setCell(int setting, int row, int col, const QVariant& value)
{
    if (setting != CellText)
        throw AppError(kSubscriptOutOfRange, kSource, QStringLiteral("Invalid cell setting"));
    setTextAt(row, col, variantText(value));
}

int GridCore::foreColorAt(int row, int col) const
{
    checkCell(row, col);
    return cellRef(row, col).foreColor;
}

int GridCore::backColorAt(int row, int col) const
{
    checkCell(row, col);
    return cellRef(row, col).backColor;
}

bool GridCore::boldAt(int row, int col) const
{
    checkCell(row, col);
    return cellRef(row, col).bold;
}

QString GridCore::formatNumber(double value, const QString& format)
{
    const auto decimals = formatDecimals(format);
    if (!decimals || isIntegral(value))
        return plainNumber(value);
    // Cut the decimal text, as the program shows its statistics everywhere;
    // twelve places first so that 7.3 stored as 7.29999... still reads 7.3.
    QString text = QString::number(value, 'f', 12);
    const int point = text.indexOf(QLatin1Char('.'));
    text.truncate(*decimals == 0 ? point : point + 1 + *decimals);
    if (text.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (int i = 1; i < text.size(); ++i) {
            if (text.at(i) != QLatin1Char('0') && text.at(i) != QLatin1Char('.'))
                allZero = false;
        }
        if (allZero)
            text.remove(0, 1);
    }
    return text;
}

// ---------------------------------------------------------------------------
// Current cell and selection

void GridCore::setRow(int row)
{
    m_row = m_rowSel = std::clamp(row, 0, rows() - 1);
}

void GridCore::setCol(int col)
{
    m_col = m_colSel = std::clamp(col, 0, m_cols - 1);
}

void GridCore::setRowSel(int row)
{
    m_rowSel = std::clamp(row, 0, rows() - 1);
}

void GridCore::setColSel(int col)
{
    m_colSel = std::clamp(col, 0, m_cols - 1);
}

// ---------------------------------------------------------------------------
// Columns

int GridCore::colWidth(int col) const
{
    checkCol(col);
    return m_columns[static_cast<std::size_t>(col)].width;
}

void GridCore::setColWidth(int col, int twips)
{
    checkCol(col);
    twips = std::max(twips, 0);
    if (m_columns[static_cast<std::size_t>(col)].width == twips)
        return;
    m_columns[static_cast<std::size_t>(col)].width = twips;
    notifyDisplay();
}

bool GridCore::mergeCol(int col) const
{
    checkCol(col);
    return m_columns[static_cast<std::size_t>(col)].merge;
}

void GridCore::setMergeCol(int col, bool merge)
{
    checkCol(col);
    if (m_columns[static_cast<std::size_t>(col)].merge == merge)
        return;
    m_columns[static_cast<std::size_t>(col)].merge = merge;
    notifyDisplay();
}

QString GridCore::colFormat(int col) const
{
    checkCol(col);
    return m_columns[static_cast<std::size_t>(col)].format;
}

void GridCore::setColFormat(int col, const QString& format)
{
    checkCol(col);
    if (m_columns[static_cast<std::size_t>(col)].format == format)
        return;
    m_columns[static_cast<std::size_t>(col)].format = format;
    if (rows() > 1)
        notifyCells(1, col, rows() - 1, col);
    notifyDisplay();
}

int GridCore::colPosition(int col) const
{
    checkCol(col);
    const auto it = std::find(m_visual.begin(), m_visual.end(), col);
    return static_cast<int>(it - m_visual.begin());
}

int GridCore::colAtPosition(int position) const
{
    checkCol(position);
    return m_visual[static_cast<std::size_t>(position)];
}

void GridCore::moveColumn(int col, int position)
{
    checkCol(col);
    position = std::clamp(position, 0, m_cols - 1);
    const int from = colPosition(col);
    if (from == position)
        return;
    m_visual.erase(m_visual.begin() + from);
    m_visual.insert(m_visual.begin() + position, col);
    notifyDisplay();
}

QList<int> GridCore::visualOrder() const
{
    return QList<int>(m_visual.begin(), m_visual.end());
}

// ---------------------------------------------------------------------------
// Merging

void GridCore::setMergeCells(int setting)
{
    if (m_mergeCells == setting)
        return;
    m_mergeCells = setting;
    notifyDisplay();
}

QList<MergeSpan> GridCore::mergeSpans() const
{
    QList<MergeSpan> spans;
    if (m_mergeCells == MergeNone)
        return spans;
    const std::size_t count = m_subtotalGroup.size();
    for (int c = 0; c < m_cols; ++c) {
        const Column& column = m_columns[static_cast<std::size_t>(c)];
        if (!column.merge)
            continue;
        std::size_t r = 1;
        while (r < count) {
            const Cell& cell = column.cells[r];
            if (m_subtotalGroup[r] >= 0 || cell.text.isEmpty()) {
                ++r;
                continue;
            }
            std::size_t end = r + 1;
            while (end < count && m_subtotalGroup[end] < 0 && column.cells[end].sameTextAs(cell))
                ++end;
            if (end - r > 1)
                spans.append(MergeSpan{static_cast<int>(r), c, static_cast<int>(end - r)});
            r = end;
        }
    }
    return spans;
}

// ---------------------------------------------------------------------------
// Sort and subtotals

void GridCore::sort(int setting)
{
    if (setting != SortGenericAscending)
        return;
    beginStructureChange();
    removeSubtotalRows();
    const std::size_t firstKey = static_cast<std::size_t>(std::min(m_col, m_colSel));
    const std::size_t lastKey = static_cast<std::size_t>(std::max(m_col, m_colSel));
    const std::size_t count = m_subtotalGroup.size();
    // Every study sorts the grid again on the same keys: rows already in
    // order cost one look along them, each pair compared up to its first
    // differing column, not a sort.
    bool inOrder = true;
    for (std::size_t r = 2; r < count && inOrder; ++r) {
        for (std::size_t c = firstKey; c <= lastKey; ++c) {
            const std::vector<Cell>& cells = m_columns[c].cells;
            const int compared = compareKeys(keyOf(cells[r - 1]), keyOf(cells[r]));
            if (compared != 0) {
                inOrder = compared < 0;
                break;
            }
        }
    }
    if (inOrder) {
        endStructureChange();
        return;
    }

    // Sorted on the first key column, then each run of rows equal so far on
    // the next one: a comparison reads one key from a flat array, and a key
    // is looked at only where the ones before it tie. Stable at each step,
    // so rows equal on every key keep their order.
    std::vector<std::uint32_t> order(count - 1);
    std::iota(order.begin(), order.end(), std::uint32_t{1});
    std::vector<SortKey> keys(count);
    std::vector<std::pair<std::size_t, std::size_t>> runs{{0, order.size()}};
    std::vector<std::pair<std::size_t, std::size_t>> tied;
    const auto before = [&keys](std::uint32_t a, std::uint32_t b) {
        return compareKeys(keys[a], keys[b]) < 0;
    };
    for (std::size_t c = firstKey; c <= lastKey && !runs.empty(); ++c) {
        const std::vector<Cell>& cells = m_columns[c].cells;
        for (std::size_t r = 1; r < count; ++r)
            keys[r] = keyOf(cells[r]);
        tied.clear();
        for (const auto& [begin, end] : runs) {
            std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(begin),
                             order.begin() + static_cast<std::ptrdiff_t>(end), before);
            std::size_t start = begin;
            for (std::size_t i = begin + 1; i <= end; ++i) {
                if (i < end && compareKeys(keys[order[start]], keys[order[i]]) == 0)
                    continue;
                if (i - start > 1)
                    tied.emplace_back(start, i);
                start = i;
            }
        }
        runs.swap(tied);
    }
    // Each column is laid out again in the new order, and a text equal to
    // the one above it shares its storage: the passes that follow (subtotals,
    // merge blocks, the next sort) compare neighbours.
    std::vector<Cell> sorted;
    for (Column& column : m_columns) {
        sorted.clear();
        sorted.reserve(count);
        sorted.push_back(std::move(column.cells.front()));
        for (const std::uint32_t r : order) {
            Cell& cell = sorted.emplace_back(std::move(column.cells[r]));
            const Cell& above = sorted[sorted.size() - 2];
            if (sorted.size() > 2 && above.sameTextAs(cell))
                cell.text = above.text;
        }
        column.cells.swap(sorted);
    }
    endStructureChange();
}

bool GridCore::isSubtotal(int row) const
{
    if (row < 0 || row >= rows())
        return false;
    return m_subtotalGroup[static_cast<std::size_t>(row)] >= 0;
}

void GridCore::removeSubtotalRows()
{
    const auto isSubtotalRow = [](int group) { return group >= 0; };
    const auto first =
        std::find_if(m_subtotalGroup.begin() + 1, m_subtotalGroup.end(), isSubtotalRow);
    if (first == m_subtotalGroup.end())
        return;
    const std::size_t from = static_cast<std::size_t>(first - m_subtotalGroup.begin());
    for (Column& column : m_columns) {
        std::size_t kept = from;
        for (std::size_t r = from; r < m_subtotalGroup.size(); ++r) {
            if (m_subtotalGroup[r] < 0)
                column.cells[kept++] = std::move(column.cells[r]);
        }
        column.cells.resize(kept);
    }
    m_subtotalGroup.erase(std::remove_if(first, m_subtotalGroup.end(), isSubtotalRow),
                          m_subtotalGroup.end());
}

std::vector<int> GridCore::ensureSubtotalRows(int groupCol)
{
    std::vector<int> existing;
    for (std::size_t r = 1; r < m_subtotalGroup.size(); ++r) {
        if (m_subtotalGroup[r] == groupCol)
            existing.push_back(static_cast<int>(r));
    }
    if (!existing.empty())
        return existing;

    // The last data row of each run of equal group texts; a subtotal row of
    // another grouping also ends a run.
    const std::vector<Cell>& group = m_columns[static_cast<std::size_t>(groupCol)].cells;
    const std::size_t oldSize = m_subtotalGroup.size();
    std::vector<std::size_t> runEnds;
    for (std::size_t r = 1; r < oldSize; ++r) {
        if (m_subtotalGroup[r] >= 0)
            continue;
        if (r + 1 >= oldSize || m_subtotalGroup[r + 1] >= 0 || !group[r + 1].sameTextAs(group[r]))
            runEnds.push_back(r);
    }
    std::vector<int> made(runEnds.size());
    for (std::size_t k = 0; k < runEnds.size(); ++k)
        made[k] = static_cast<int>(runEnds[k] + k + 1);
    // One pass from the end per column that moves every cell once, not one
    // insertion per run, inside the room the column already holds: the last
    // subtotal rows, dropped by the sort, left it.
    const std::size_t newSize = oldSize + runEnds.size();
    const auto spread = [&](auto& values, const auto& subtotalValue) {
        values.resize(newSize);
        std::size_t to = newSize;
        std::size_t pending = runEnds.size();
        for (std::size_t from = oldSize; from-- > 0 && pending > 0;) {
            if (runEnds[pending - 1] == from) {
                values[--to] = subtotalValue(values[from]);
                --pending;
            }
            if (--to != from)
                values[to] = std::move(values[from]);
        }
    };
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        if (c == static_cast<std::size_t>(groupCol)) {
            // The subtotal row repeats the group's text, and so its number.
            spread(m_columns[c].cells, [](const Cell& last) {
                Cell cell;
                cell.text = last.text;
                cell.number = last.number;
                cell.numeric = last.numeric;
                return cell;
            });
        } else {
            spread(m_columns[c].cells, [](const Cell&) { return Cell(); });
        }
    }
    spread(m_subtotalGroup, [groupCol](int) { return groupCol; });
    return made;
}

void GridCore::subtotal(int function, int groupCol, int totalCol, const QString& format,
                        std::optional<int> backColor, std::optional<int> foreColor, bool bold)
{
    if (function == SubtotalClear) {
        bool any = false;
        for (int r = 1; r < rows() && !any; ++r)
            any = isSubtotal(r);
        if (!any)
            return;
        beginStructureChange();
        removeSubtotalRows();
        endStructureChange();
        return;
    }
    if (function < SubtotalSum || function > SubtotalVariance)
        throw AppError(kSubscriptOutOfRange, kSource, QStringLiteral("Invalid subtotal function"));
    checkCol(groupCol);
    checkCol(totalCol);

    bool anyData = false;
    for (int r = 1; r < rows() && !anyData; ++r)
        anyData = !isSubtotal(r);
    if (!anyData)
        return;

    beginStructureChange();
    const QString textFormat =
        format.isEmpty() ? m_columns[static_cast<std::size_t>(totalCol)].format : format;
    const std::vector<int> subtotalRows = ensureSubtotalRows(groupCol);

    // Empty and non-numeric cells are no values at all.
    std::vector<Cell>& totals = m_columns[static_cast<std::size_t>(totalCol)].cells;
    const auto numberAt = [&](std::size_t r) -> const Cell* {
        if (m_subtotalGroup[r] >= 0)
            return nullptr;
        const Cell& cell = totals[r];
        return cell.numeric ? &cell : nullptr;
    };
    double columnSum = 0.0;
    if (function == SubtotalPercent) {
        for (std::size_t r = 1; r < totals.size(); ++r) {
            if (const Cell* cell = numberAt(r))
                columnSum += cell->number;
        }
    }

    // A subtotal row totals the data rows since the previous subtotal row of
    // the same grouping.
    std::size_t groupStart = 1;
    for (const int subtotalRow : subtotalRows) {
        stats::Accumulator acc;
        for (std::size_t r = groupStart; r < static_cast<std::size_t>(subtotalRow); ++r) {
            if (const Cell* cell = numberAt(r))
                acc.add(cell->number);
        }
        groupStart = static_cast<std::size_t>(subtotalRow) + 1;
        std::optional<double> result;
        switch (function) {
        case SubtotalSum:
            result = acc.sum();
            break;
        case SubtotalPercent:
            if (columnSum != 0.0)
                result = 100.0 * acc.sum() / columnSum;
            break;
        case SubtotalCount:
            result = static_cast<double>(acc.count());
            break;
        case SubtotalAverage:
            result = acc.mean();
            break;
        case SubtotalMax:
            result = acc.max();
            break;
        case SubtotalMin:
            result = acc.min();
            break;
        case SubtotalStdDev:
            result = acc.sampleStdev();
            break;
        case SubtotalVariance:
            result = acc.sampleVariance();
            break;
        default:
            break;
        }
        Cell& cell = totals[static_cast<std::size_t>(subtotalRow)];
        cell.setComputed(result, result ? (textFormat.isEmpty() ? plainNumber(*result)
                                                                : formatNumber(*result, textFormat))
                                        : QString());
        cell.foreColor = foreColor.value_or(-1);
        cell.backColor = backColor.value_or(-1);
        cell.bold = bold;
    }
    endStructureChange();
}

// ---------------------------------------------------------------------------
// Font and further settings

void GridCore::setFontName(const QString& name)
{
    if (m_fontName == name)
        return;
    m_fontName = name;
    notifyDisplay();
}

void GridCore::setFontSize(double points)
{
    if (m_fontSize == points)
        return;
    m_fontSize = points;
    notifyDisplay();
}

void GridCore::setDisplayOptions(int first, int second)
{
    m_displayOptionA = first;
    m_displayOptionB = second;
}

} // namespace grid
