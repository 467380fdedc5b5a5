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
#include <limits>
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
    m_visual = {0};
    m_rows.push_back(makeRow());
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

GridCore::Row GridCore::makeRow() const
{
    Row row;
    row.cells.resize(static_cast<std::size_t>(m_cols));
    return row;
}

void GridCore::checkCell(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= m_cols)
        throw AppError(kSubscriptOutOfRange, kSource,
                       QStringLiteral("Subscript out of range"));
}

void GridCore::checkCol(int col) const
{
    if (col < 0 || col >= m_cols)
        throw AppError(kSubscriptOutOfRange, kSource,
                       QStringLiteral("Subscript out of range"));
}

void GridCore::resizeColumns(int cols)
{
    cols = std::max(cols, 1);
    if (cols == m_cols)
        return;
    m_cols = cols;
    m_columns.resize(static_cast<std::size_t>(cols));
    for (Row& row : m_rows)
        row.cells.resize(static_cast<std::size_t>(cols));
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
    m_rows.resize(static_cast<std::size_t>(count), makeRow());
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

    std::vector<Row> copied;
    copied.reserve(static_cast<std::size_t>(records) + 1);
    Row header;
    header.cells.resize(static_cast<std::size_t>(fields) + 1);
    for (int f = 0; f < fields; ++f)
        header.cells[static_cast<std::size_t>(f) + 1].setText(names.at(f));
    copied.push_back(std::move(header));
    for (int r = 0; r < records; ++r) {
        Row row;
        row.cells.resize(static_cast<std::size_t>(fields) + 1);
        for (int f = 0; f < fields; ++f) {
            row.cells[static_cast<std::size_t>(f) + 1].setText(variantText(recordset.value(r, f)));
        }
        copied.push_back(std::move(row));
    }

    beginStructureChange();
    resizeColumns(fields + 1);
    m_rows = std::move(copied);
    m_row = m_rowSel = rows() > 1 ? 1 : 0;
    m_col = m_colSel = m_cols > 1 ? 1 : 0;
    endStructureChange();
}

void GridCore::clear()
{
    beginStructureChange();
    m_rows.clear();
    m_rows.push_back(makeRow());
    m_row = m_rowSel = 0;
    endStructureChange();
}

// ---------------------------------------------------------------------------
// Cells

QString GridCore::textAt(int row, int col) const
{
    checkCell(row, col);
    return m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)].text;
}

bool GridCore::isNumeric(int row, int col) const
{
    checkCell(row, col);
    return m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)].numeric;
}

double GridCore::valueAt(int row, int col) const
{
    checkCell(row, col);
    const Cell& cell = m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)];
    return cell.numeric ? cell.number : 0.0;
}

void GridCore::setTextAt(int row, int col, const QString& text)
{
    checkCell(row, col);
    Cell& cell = m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)];
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
    return m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)].foreColor;
}

int GridCore::backColorAt(int row, int col) const
{
    checkCell(row, col);
    return m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)].backColor;
}

bool GridCore::boldAt(int row, int col) const
{
    checkCell(row, col);
    return m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)].bold;
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
    for (int c = 0; c < m_cols; ++c) {
        if (!m_columns[static_cast<std::size_t>(c)].merge)
            continue;
        int r = 1;
        while (r < rows()) {
            const Row& first = m_rows[static_cast<std::size_t>(r)];
            const Cell& cell = first.cells[static_cast<std::size_t>(c)];
            if (first.subtotalGroupCol >= 0 || cell.text.isEmpty()) {
                ++r;
                continue;
            }
            int end = r + 1;
            while (end < rows()) {
                const Row& next = m_rows[static_cast<std::size_t>(end)];
                if (next.subtotalGroupCol >= 0 ||
                    !next.cells[static_cast<std::size_t>(c)].sameTextAs(cell))
                    break;
                ++end;
            }
            if (end - r > 1)
                spans.append(MergeSpan{r, c, end - r});
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
    const int firstKey = std::min(m_col, m_colSel);
    const int lastKey = std::max(m_col, m_colSel);
    const std::size_t keys = static_cast<std::size_t>(lastKey - firstKey + 1);
    const std::size_t count = m_rows.size() - 1;
    const auto keyOf = [](const Cell& cell) {
        SortKey key;
        if (!cell.text.isEmpty()) {
            key.text = &cell.text;
            key.number = cell.numeric ? cell.number : std::numeric_limits<double>::quiet_NaN();
        }
        return key;
    };
    // Every study sorts the grid again on the same keys: rows already in
    // order cost one look along them, each pair compared up to its first
    // differing column, not a sort.
    bool inOrder = true;
    for (std::size_t i = 2; i <= count && inOrder; ++i) {
        const std::vector<Cell>& above = m_rows[i - 1].cells;
        const std::vector<Cell>& below = m_rows[i].cells;
        for (int c = firstKey; c <= lastKey; ++c) {
            const int compared = compareKeys(keyOf(above[static_cast<std::size_t>(c)]),
                                             keyOf(below[static_cast<std::size_t>(c)]));
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
    // Each key taken once, side by side, not fetched from rows spread over
    // memory at every comparison; the rows then move once.
    std::vector<SortKey> sortKeys(count * keys);
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t k = 0; k < keys; ++k)
            sortKeys[i * keys + k] =
                keyOf(m_rows[i + 1].cells[static_cast<std::size_t>(firstKey) + k]);
    }
    const auto before = [&](std::size_t a, std::size_t b) {
        const SortKey* keyA = &sortKeys[a * keys];
        const SortKey* keyB = &sortKeys[b * keys];
        for (std::size_t k = 0; k < keys; ++k) {
            const int compared = compareKeys(keyA[k], keyB[k]);
            if (compared != 0)
                return compared < 0;
        }
        return false;
    };
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), before);
    // The rows are laid out again in their new order, side by side in memory,
    // and a text equal to the one above it shares its storage: the passes
    // that follow (subtotals, merge blocks, the next sort) read the grid
    // from top to bottom and compare neighbours.
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    sorted.push_back(std::move(m_rows.front()));
    for (const std::size_t i : order) {
        Row& from = m_rows[i + 1];
        Row row;
        row.subtotalGroupCol = from.subtotalGroupCol;
        row.cells.reserve(from.cells.size());
        const Row* above = sorted.size() > 1 ? &sorted.back() : nullptr;
        for (std::size_t c = 0; c < from.cells.size(); ++c) {
            row.cells.push_back(std::move(from.cells[c]));
            if (above && above->cells[c].sameTextAs(row.cells.back()))
                row.cells.back().text = above->cells[c].text;
        }
        sorted.push_back(std::move(row));
    }
    m_rows = std::move(sorted);
    endStructureChange();
}

bool GridCore::isSubtotal(int row) const
{
    if (row < 0 || row >= rows())
        return false;
    return m_rows[static_cast<std::size_t>(row)].subtotalGroupCol >= 0;
}

void GridCore::removeSubtotalRows()
{
    m_rows.erase(std::remove_if(m_rows.begin() + 1, m_rows.end(),
                                [](const Row& row) { return row.subtotalGroupCol >= 0; }),
                 m_rows.end());
}

std::vector<int> GridCore::ensureSubtotalRows(int groupCol)
{
    std::vector<int> existing;
    for (int r = 1; r < rows(); ++r) {
        if (m_rows[static_cast<std::size_t>(r)].subtotalGroupCol == groupCol)
            existing.push_back(r);
    }
    if (!existing.empty())
        return existing;

    // The last data row of each run of equal group texts; a subtotal row of
    // another grouping also ends a run.
    std::vector<int> runEnds;
    // Grown step by step, the list would ask for memory again and again
    // right after the last subtotal rows were freed, which is slow.
    runEnds.reserve(m_rows.size());
    for (int r = 1; r < rows(); ++r) {
        const Row& row = m_rows[static_cast<std::size_t>(r)];
        if (row.subtotalGroupCol >= 0)
            continue;
        const bool last = r + 1 >= rows()
            || m_rows[static_cast<std::size_t>(r) + 1].subtotalGroupCol >= 0
            || !m_rows[static_cast<std::size_t>(r) + 1]
                    .cells[static_cast<std::size_t>(groupCol)]
                    .sameTextAs(row.cells[static_cast<std::size_t>(groupCol)]);
        if (last)
            runEnds.push_back(r);
    }
    // One pass from the end that moves every row once, not one insertion per
    // run, inside the room the rows already hold: the rows of the last
    // subtotals, dropped by the sort, left it.
    const std::size_t oldSize = m_rows.size();
    m_rows.resize(oldSize + runEnds.size());
    std::vector<int> made(runEnds.size());
    std::size_t to = m_rows.size();
    std::size_t pending = runEnds.size();
    for (std::size_t from = oldSize; from-- > 0 && pending > 0;) {
        if (static_cast<std::size_t>(runEnds[pending - 1]) == from) {
            Row subtotal = makeRow();
            subtotal.subtotalGroupCol = groupCol;
            subtotal.cells[static_cast<std::size_t>(groupCol)].setText(
                m_rows[from].cells[static_cast<std::size_t>(groupCol)].text);
            m_rows[--to] = std::move(subtotal);
            made[--pending] = static_cast<int>(to);
        }
        if (--to != from)
            m_rows[to] = std::move(m_rows[from]);
    }
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
    const QString textFormat = format.isEmpty()
        ? m_columns[static_cast<std::size_t>(totalCol)].format : format;
    const std::vector<int> subtotalRows = ensureSubtotalRows(groupCol);

    // Empty and non-numeric cells are no values at all.
    const auto numberAt = [&](std::size_t r) -> const Cell* {
        const Row& row = m_rows[r];
        if (row.subtotalGroupCol >= 0)
            return nullptr;
        const Cell& cell = row.cells[static_cast<std::size_t>(totalCol)];
        return cell.numeric ? &cell : nullptr;
    };
    double columnSum = 0.0;
    if (function == SubtotalPercent) {
        for (std::size_t r = 1; r < m_rows.size(); ++r) {
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
        Cell& cell = m_rows[static_cast<std::size_t>(subtotalRow)].cells[static_cast<std::size_t>(totalCol)];
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
