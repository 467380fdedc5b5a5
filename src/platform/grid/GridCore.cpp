#include "GridCore.h"

#include "platform/core/AppError.h"
#include "platform/core/Statistics.h"
// The recordset has a member named like the C library's end-of-file macro.
#pragma push_macro("EOF")
#undef EOF
#include "platform/db/Ado.h"
#pragma pop_macro("EOF")

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <utility>

namespace grid {

namespace {

constexpr int kSubscriptOutOfRange = 381;
const QString kSource = QStringLiteral("GridCore");
constexpr double kNoNumber = std::numeric_limits<double>::quiet_NaN();

std::uint64_t bitsOf(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

// A word stands for no number: its NaN carries a hash of its length and
// first letters, so that different bits always mean different texts. Only
// the first letters: an explanation of pages is not read through for it.
// The empty text has the plain NaN every new cell holds, which no other
// text has.
double wordNumber(const QString& text)
{
    if (text.isEmpty())
        return kNoNumber;
    constexpr std::uint64_t kPayload = 0x0007'FFFF'FFFF'FFFFull;
    const std::uint64_t hash =
        (static_cast<std::uint64_t>(qHash(QStringView(text).left(64), size_t(text.size()))) &
         kPayload) |
        1u;
    return std::bit_cast<double>(bitsOf(kNoNumber) | hash);
}

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

// A whole number as the grid writes one: no sign but a minus, no zeros
// before the digits, no blanks, and no more digits than a double holds.
bool writtenPlainly(const QString& text)
{
    const qsizetype size = text.size();
    qsizetype i = size > 0 && text.front() == QLatin1Char('-') ? 1 : 0;
    if (i == size || size > 15)
        return false;
    if (text.at(i) == QLatin1Char('0'))
        return size == 1;
    for (; i < size; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
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

// The place of a value in one of the short tables cells refer to by index,
// added when new. Formats and colours come from a handful of callers; past
// what an index tells apart, a new one is refused rather than mixed up.
template <typename T> std::uint16_t indexIn(std::vector<T>& table, const T& value)
{
    const auto known = std::find(table.begin(), table.end(), value);
    if (known != table.end())
        return static_cast<std::uint16_t>(known - table.begin());
    if (table.size() > std::numeric_limits<std::uint16_t>::max())
        throw AppError(kSubscriptOutOfRange, kSource,
                       QStringLiteral("Too many formats or colours"));
    table.push_back(value);
    return static_cast<std::uint16_t>(table.size() - 1);
}

// Counts and many other statistics are small whole numbers, the same few
// thousands of times over: their texts are made once and shared. A format
// leaves whole numbers as they are.
const QString* smallWholeText(double value)
{
    constexpr int kShared = 1024;
    static const std::vector<QString> texts = [] {
        std::vector<QString> made(kShared);
        for (int i = 0; i < kShared; ++i)
            made[static_cast<std::size_t>(i)] = QString::number(i);
        return made;
    }();
    if (!(value >= 0.0 && value < kShared) || value != std::floor(value))
        return nullptr;
    return &texts[static_cast<std::size_t>(value)];
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

// Columns are private to the grid; any type with cells and numbers makes a
// key.
template <typename ColumnType> SortKey keyOf(const ColumnType& column, std::size_t stored)
{
    SortKey key;
    const QString& text = column.cells[stored].text;
    if (!text.isEmpty()) {
        key.text = &text;
        key.number = column.numbers[stored];
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

void GridCore::Column::resize(std::size_t size)
{
    cells.resize(size);
    numbers.resize(size, kNoNumber);
}

void GridCore::Column::moveRow(std::size_t to, std::size_t from)
{
    cells[to] = std::move(cells[from]);
    numbers[to] = numbers[from];
}

void GridCore::Column::setText(std::size_t stored, const QString& text)
{
    Cell& cell = cells[stored];
    cell.text = text;
    cell.computed = false;
    const std::optional<double> parsed = parseNumber(text);
    numbers[stored] = parsed ? *parsed : wordNumber(text);
    if (parsed && !writtenPlainly(text))
        plainNumbers = false;
}

void GridCore::Column::setComputed(std::size_t stored, std::optional<double> value,
                                   std::uint16_t textFormat)
{
    Cell& cell = cells[stored];
    cell.text = QString();
    cell.computed = value.has_value();
    cell.textFormat = textFormat;
    numbers[stored] = value.value_or(kNoNumber);
}

bool GridCore::Column::numeric(std::size_t stored) const
{
    // A statistic of numbers too large to total comes out as NaN and is
    // still a computed number; only then are the cells read.
    const double number = numbers[stored];
    return !std::isnan(number) || cells[stored].computed;
}

bool GridCore::Column::sameText(std::size_t a, std::size_t b) const
{
    // Asked of data rows only, whose texts are typed or read, never computed:
    // their stored numbers follow from the texts alone, so different bits
    // mean different texts, told without reading the letters (or the cells)
    // of either.
    if (bitsOf(numbers[a]) != bitsOf(numbers[b]))
        return false;
    if (plainNumbers && !std::isnan(numbers[a]))
        return true;
    return grid::sameText(cells[a].text, cells[b].text);
}

GridCore::GridCore(QObject* parent)
    : QObject(parent)
{
    m_columns.resize(1);
    m_columns[0].width = kFixedColumnWidth;
    static_assert(sizeof(Cell) <= 32, "a large grid holds millions of cells");
    m_columns[0].resize(1);
    m_visual = {0};
    m_storedGroup = {-1};
    m_order = {0};
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
    return m_columns[static_cast<std::size_t>(col)].cells[storedAt(row)];
}

const GridCore::Cell& GridCore::cellRef(int row, int col) const
{
    return m_columns[static_cast<std::size_t>(col)].cells[storedAt(row)];
}

void GridCore::appendStoredRows(std::size_t count, int group)
{
    const std::size_t size = m_storedGroup.size() + count;
    for (Column& column : m_columns)
        column.resize(size);
    m_storedGroup.resize(size, group);
}

void GridCore::dropUnlistedRows()
{
    // Where each listed stored row goes, -1 for the dropped ones.
    std::vector<int>& moved = m_storedScratch;
    moved.assign(m_storedGroup.size(), -1);
    for (const int stored : m_order)
        moved[static_cast<std::size_t>(stored)] = 0;
    m_parkedGroup = -1;
    const auto first = std::find(moved.begin(), moved.end(), -1);
    if (first == moved.end())
        return;
    // Rows before the first dropped one keep their place, which is all of
    // the data rows when only subtotal rows, kept at the end, go.
    const std::size_t from = static_cast<std::size_t>(first - moved.begin());
    std::size_t kept = from;
    for (std::size_t s = from; s < moved.size(); ++s) {
        if (moved[s] == 0)
            moved[s] = static_cast<int>(kept++);
    }
    for (Column& column : m_columns) {
        for (std::size_t s = from; s < moved.size(); ++s) {
            const int to = moved[s];
            if (to >= 0 && static_cast<std::size_t>(to) != s)
                column.moveRow(static_cast<std::size_t>(to), s);
        }
        column.resize(kept);
    }
    for (std::size_t s = from; s < moved.size(); ++s) {
        const int to = moved[s];
        if (to >= 0)
            m_storedGroup[static_cast<std::size_t>(to)] = m_storedGroup[s];
    }
    m_storedGroup.resize(kept);
    for (int& stored : m_order) {
        if (static_cast<std::size_t>(stored) >= from)
            stored = moved[static_cast<std::size_t>(stored)];
    }
}

void GridCore::noteChange()
{
    m_orderedOn = {-1, -1};
    m_subtotalsFit = false;
}

void GridCore::forgetSubtotalRows()
{
    noteChange();
    m_parkedGroup = -1;
    for (Column& column : m_columns)
        column.subtotalsWritten = false;
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
    noteChange();
    m_cols = cols;
    m_columns.resize(static_cast<std::size_t>(cols));
    for (Column& column : m_columns)
        column.resize(m_storedGroup.size());
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
    const std::size_t wanted = static_cast<std::size_t>(count);
    noteChange();
    if (wanted < m_order.size()) {
        m_order.resize(wanted);
        dropUnlistedRows();
    } else {
        const std::size_t added = wanted - m_order.size();
        const int first = static_cast<int>(m_storedGroup.size());
        appendStoredRows(added, -1);
        for (std::size_t i = 0; i < added; ++i)
            m_order.push_back(first + static_cast<int>(i));
    }
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
    std::vector<Column> copied(static_cast<std::size_t>(fields) + 1);
    copied[0].resize(rowCount);
    for (int f = 0; f < fields; ++f) {
        Column& column = copied[static_cast<std::size_t>(f) + 1];
        column.resize(rowCount);
        column.setText(0, names.at(f));
    }
    // Row by row, as the recordset holds its values: each column is filled
    // in step, and no value is looked for far from the last.
    for (int r = 0; r < records; ++r)
        for (int f = 0; f < fields; ++f)
            copied[static_cast<std::size_t>(f) + 1].setText(static_cast<std::size_t>(r) + 1,
                                                            variantText(recordset.value(r, f)));

    beginStructureChange();
    forgetSubtotalRows();
    m_storedGroup.assign(rowCount, -1);
    m_order.resize(rowCount);
    std::iota(m_order.begin(), m_order.end(), 0);
    resizeColumns(fields + 1);
    for (std::size_t c = 0; c < copied.size(); ++c) {
        m_columns[c].cells = std::move(copied[c].cells);
        m_columns[c].numbers = std::move(copied[c].numbers);
        m_columns[c].plainNumbers = copied[c].plainNumbers;
    }
    m_row = m_rowSel = rows() > 1 ? 1 : 0;
    m_col = m_colSel = m_cols > 1 ? 1 : 0;
    endStructureChange();
}

void GridCore::clear()
{
    beginStructureChange();
    forgetSubtotalRows();
    for (Column& column : m_columns) {
        column.cells.assign(1, Cell());
        column.numbers.assign(1, kNoNumber);
        column.plainNumbers = true;
    }
    m_storedGroup.assign(1, -1);
    m_order.assign(1, 0);
    m_row = m_rowSel = 0;
    endStructureChange();
}

// ---------------------------------------------------------------------------
// Cells

QString GridCore::textAt(int row, int col) const
{
    checkCell(row, col);
    const Cell& cell = cellRef(row, col);
    if (!cell.computed)
        return cell.text;
    const double value = m_columns[static_cast<std::size_t>(col)].numbers[storedAt(row)];
    if (const QString* shared = smallWholeText(value))
        return *shared;
    const QString& format = m_textFormats[cell.textFormat];
    return format.isEmpty() ? plainNumber(value) : formatNumber(value, format);
}

bool GridCore::isNumeric(int row, int col) const
{
    checkCell(row, col);
    return m_columns[static_cast<std::size_t>(col)].numeric(storedAt(row));
}

double GridCore::valueAt(int row, int col) const
{
    checkCell(row, col);
    const Column& column = m_columns[static_cast<std::size_t>(col)];
    const std::size_t stored = storedAt(row);
    return column.numeric(stored) ? column.numbers[stored] : 0.0;
}

void GridCore::setTextAt(int row, int col, const QString& text)
{
    checkCell(row, col);
    const Cell& cell = cellRef(row, col);
    if (cell.text == text && !cell.computed)
        return;
    m_columns[static_cast<std::size_t>(col)].setText(storedAt(row), text);
    noteChange();
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
    return m_colors[cellRef(row, col).foreColor];
}

int GridCore::backColorAt(int row, int col) const
{
    checkCell(row, col);
    return m_colors[cellRef(row, col).backColor];
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
    const std::size_t count = m_order.size();
    for (int c = 0; c < m_cols; ++c) {
        const Column& column = m_columns[static_cast<std::size_t>(c)];
        if (!column.merge)
            continue;
        std::size_t r = 1;
        while (r < count) {
            const std::size_t first = storedAt(r);
            if (groupAt(r) >= 0 || bitsOf(column.numbers[first]) == bitsOf(kNoNumber)) {
                ++r;
                continue;
            }
            std::size_t end = r + 1;
            while (end < count && groupAt(end) < 0 && column.sameText(storedAt(end), first))
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
    const std::size_t count = m_order.size();
    const std::pair<int, int> keyColumns{static_cast<int>(firstKey), static_cast<int>(lastKey)};
    // Every study sorts the grid again on the same keys: rows already in
    // order cost one look along them, each pair compared up to its first
    // differing column, not a sort.
    bool inOrder = true;
    for (std::size_t r = 2; r < count && inOrder && m_orderedOn != keyColumns; ++r) {
        for (std::size_t c = firstKey; c <= lastKey; ++c) {
            const Column& column = m_columns[c];
            const int compared =
                compareKeys(keyOf(column, storedAt(r - 1)), keyOf(column, storedAt(r)));
            if (compared != 0) {
                inOrder = compared < 0;
                break;
            }
        }
    }
    if (inOrder) {
        m_orderedOn = keyColumns;
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
        const Column& column = m_columns[c];
        for (std::size_t r = 1; r < count; ++r)
            keys[r] = keyOf(column, storedAt(r));
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
    Column sorted;
    sorted.cells.reserve(count);
    sorted.numbers.reserve(count);
    for (Column& column : m_columns) {
        sorted.cells.clear();
        sorted.numbers.clear();
        sorted.plainNumbers = column.plainNumbers;
        const auto take = [&](std::size_t from) {
            sorted.cells.push_back(std::move(column.cells[from]));
            sorted.numbers.push_back(column.numbers[from]);
        };
        take(storedAt(0));
        for (const std::uint32_t r : order) {
            take(storedAt(r));
            const std::size_t at = sorted.cells.size() - 1;
            if (at > 1 && sorted.sameText(at - 1, at))
                sorted.cells[at].text = sorted.cells[at - 1].text;
        }
        column.cells.swap(sorted.cells);
        column.numbers.swap(sorted.numbers);
    }
    // Only data rows are left, each stored where it is shown.
    m_parkedGroup = -1;
    m_storedGroup.assign(count, -1);
    std::iota(m_order.begin(), m_order.end(), 0);
    m_orderedOn = keyColumns;
    endStructureChange();
}

bool GridCore::isSubtotal(int row) const
{
    if (row < 0 || row >= rows())
        return false;
    return groupAt(static_cast<std::size_t>(row)) >= 0;
}

void GridCore::removeSubtotalRows()
{
    const auto subtotalRow = [this](int stored) {
        return m_storedGroup[static_cast<std::size_t>(stored)] >= 0;
    };
    const auto first = std::find_if(m_order.begin() + 1, m_order.end(), subtotalRow);
    if (first == m_order.end())
        return;
    const int group = m_storedGroup[static_cast<std::size_t>(*first)];
    const bool keep = m_subtotalsFit && m_parkedGroup < 0 &&
                      std::all_of(first, m_order.end(), [this, group](int stored) {
                          const int rowGroup = m_storedGroup[static_cast<std::size_t>(stored)];
                          return rowGroup < 0 || rowGroup == group;
                      });
    if (keep)
        m_parkedOrder = m_order;
    m_order.erase(std::remove_if(first, m_order.end(), subtotalRow), m_order.end());
    // Kept only while the data rows are stored first, every one in the
    // place it is listed, as after a sort: listing the subtotal rows again
    // then gives just what making them anew would.
    const std::size_t dataRows = m_order.size();
    if (keep && std::all_of(m_storedGroup.begin() + static_cast<std::ptrdiff_t>(dataRows),
                            m_storedGroup.end(), [](int rowGroup) { return rowGroup >= 0; })) {
        bool inPlace = true;
        for (std::size_t r = 0; r < dataRows && inPlace; ++r)
            inPlace = storedAt(r) == r;
        if (inPlace) {
            m_parkedGroup = group;
            return;
        }
    }
    dropUnlistedRows();
}

const std::vector<int>& GridCore::ensureSubtotalRows(int groupCol)
{
    std::vector<int>& made = m_subtotalRows;
    const auto listMade = [&] {
        made.clear();
        for (std::size_t r = 1; r < m_order.size(); ++r) {
            if (groupAt(r) == groupCol)
                made.push_back(static_cast<int>(r));
        }
    };
    listMade();
    if (!made.empty())
        return made;

    if (m_parkedGroup >= 0) {
        Column& group = m_columns[static_cast<std::size_t>(groupCol)];
        if (m_parkedGroup == groupCol && m_subtotalsFit && !group.subtotalsWritten) {
            // The kept rows follow the data rows; studies since wrote only
            // into other columns, which a new row would hold empty.
            const std::size_t firstKept = m_order.size();
            m_order.swap(m_parkedOrder);
            m_parkedGroup = -1;
            for (Column& column : m_columns) {
                if (!column.subtotalsWritten)
                    continue;
                for (std::size_t s = firstKept; s < column.cells.size(); ++s) {
                    column.cells[s] = Cell();
                    column.numbers[s] = kNoNumber;
                }
                column.subtotalsWritten = false;
            }
            listMade();
            return made;
        }
        dropUnlistedRows();
    }

    // A subtotal row follows the last data row of each run of equal group
    // texts; a subtotal row of another grouping also ends a run. The runs are
    // found in one pass over the group column, before any row is added.
    const std::size_t count = m_order.size();
    std::vector<int>& runEnds = m_storedScratch;
    runEnds.clear();
    bool otherSubtotals = false;
    {
        const Column& group = m_columns[static_cast<std::size_t>(groupCol)];
        for (std::size_t r = 1; r < count; ++r) {
            if (groupAt(r) >= 0) {
                otherSubtotals = true;
                continue;
            }
            if (r + 1 >= count || groupAt(r + 1) >= 0 ||
                !group.sameText(storedAt(r + 1), storedAt(r)))
                runEnds.push_back(static_cast<int>(r));
        }
    }
    // Rows of one grouping alone, made for the data rows as they are, may
    // be kept when they are taken out again.
    m_subtotalsFit = !otherSubtotals;
    if (!otherSubtotals) {
        for (Column& column : m_columns)
            column.subtotalsWritten = false;
    }
    const std::size_t runs = runEnds.size();
    // The new rows are stored after all others and only listed in place,
    // so no stored row moves.
    const std::size_t firstNew = m_storedGroup.size();
    appendStoredRows(runs, groupCol);
    Column& group = m_columns[static_cast<std::size_t>(groupCol)];
    std::vector<int>& order = m_orderScratch;
    order.clear();
    order.reserve(count + runs);
    std::size_t next = firstNew;
    std::size_t listed = 0;
    for (const int end : runEnds) {
        const std::size_t r = static_cast<std::size_t>(end);
        order.insert(order.end(), m_order.begin() + static_cast<std::ptrdiff_t>(listed),
                     m_order.begin() + static_cast<std::ptrdiff_t>(r) + 1);
        listed = r + 1;
        // The subtotal row repeats the group's text, and so its number.
        const std::size_t last = storedAt(r);
        group.cells[next].text = group.cells[last].text;
        group.numbers[next] = group.numbers[last];
        made.push_back(static_cast<int>(order.size()));
        order.push_back(static_cast<int>(next++));
    }
    order.insert(order.end(), m_order.begin() + static_cast<std::ptrdiff_t>(listed), m_order.end());
    m_order.swap(order);
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

    const std::uint16_t textFormat =
        indexIn(m_textFormats,
                format.isEmpty() ? m_columns[static_cast<std::size_t>(totalCol)].format : format);
    const std::uint16_t foreIndex = indexIn(m_colors, foreColor.value_or(-1));
    const std::uint16_t backIndex = indexIn(m_colors, backColor.value_or(-1));
    beginStructureChange();
    const std::vector<int>& subtotalRows = ensureSubtotalRows(groupCol);

    // Empty and non-numeric cells are no values at all.
    Column& totals = m_columns[static_cast<std::size_t>(totalCol)];
    totals.subtotalsWritten = true;
    const auto numberAt = [&](std::size_t r) {
        const std::size_t stored = storedAt(r);
        return m_storedGroup[stored] >= 0 ? kNoNumber : totals.numbers[stored];
    };
    double columnSum = 0.0;
    if (function == SubtotalPercent) {
        for (std::size_t r = 1; r < m_order.size(); ++r) {
            if (const double number = numberAt(r); !std::isnan(number))
                columnSum += number;
        }
    }

    // A subtotal row totals the data rows since the previous subtotal row of
    // the same grouping.
    std::size_t groupStart = 1;
    for (const int subtotalRow : subtotalRows) {
        stats::Accumulator acc;
        for (std::size_t r = groupStart; r < static_cast<std::size_t>(subtotalRow); ++r) {
            if (const double number = numberAt(r); !std::isnan(number))
                acc.add(number);
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
        const std::size_t stored = storedAt(subtotalRow);
        totals.setComputed(stored, result, textFormat);
        Cell& cell = totals.cells[stored];
        cell.foreColor = foreIndex;
        cell.backColor = backIndex;
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
