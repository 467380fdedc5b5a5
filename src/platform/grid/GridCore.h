#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace ado {
class Recordset;
}

namespace grid {

// What a cell can be asked for by number, as the windows address it.
enum CellSetting {
    CellText = 0,
    CellValue = 18,
};

enum MergeSetting {
    MergeNone = 0,
    MergeCells = 2,
};

enum RedrawSetting {
    RedrawOff = 0,
    RedrawOn = -1,
};

enum SortSetting {
    SortGenericAscending = 1,
};

// One table of function codes for the whole program.
enum SubtotalFunction {
    SubtotalClear = 1,
    SubtotalSum = 2,
    SubtotalPercent = 3,
    SubtotalCount = 4,
    SubtotalAverage = 5,
    SubtotalMax = 6,
    SubtotalMin = 7,
    SubtotalStdDev = 8,
    SubtotalVariance = 9,
};

// Colours are RGB packed with red in the low byte.
constexpr int kRed = 255;
constexpr int kBlue = 16711680;

constexpr int kDefaultColumnWidth = 960; // twips
constexpr int kFixedColumnWidth = 240;   // twips, the narrow column 0

// A vertical block of merged cells: rowCount rows from (row, col) down.
struct MergeSpan {
    int row = 0;
    int col = 0;
    int rowCount = 1;
    friend bool operator==(const MergeSpan&, const MergeSpan&) = default;
};

// The analysis grid without any widget: cells (row 0 the header row, column 0
// the fixed column), a copy of a bound recordset, sorting, subtotal rows,
// merge blocks and the visual column order. A view follows it through the
// signals below.
class GridCore : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridCore)

public:
    explicit GridCore(QObject* parent = nullptr);
    ~GridCore() override;

    // --- Shape -------------------------------------------------------------
    int rows() const { return static_cast<int>(m_order.size()); }
    int cols() const { return m_cols; }
    // Rows below the header and columns right of the fixed one are added
    // empty or dropped; there is always the header row and the fixed column.
    void setRows(int rows);
    void setCols(int cols);

    // Copies the records: field names into row 0, one row per record, data
    // columns 1..n in field order. The recordset is not kept.
    void setDataSource(const ado::Recordset& recordset);
    // Empties every cell and drops all rows below the header.
    void clear();

    // --- Cells ---------------------------------------------------------------
    QString textAt(int row, int col) const;
    // The numeric value of a cell, 0 when its text is not a number.
    double valueAt(int row, int col) const;
    bool isNumeric(int row, int col) const;
    void setTextAt(int row, int col, const QString& text);
    // What the view shows: the text, with the column's display format applied
    // to numbers.
    QString displayText(int row, int col) const;
    // Setting-addressed access: CellText (read/write) and CellValue (read).
    QVariant cell(int setting, int row, int col) const;
    void setCell(int setting, int row, int col, const QVariant& value);
    // Per-cell colours (-1 for the default) and bold, as subtotals set them.
    int foreColorAt(int row, int col) const;
    int backColorAt(int row, int col) const;
    bool boldAt(int row, int col) const;

    // --- Current cell and selection -----------------------------------------
    int row() const { return m_row; }
    int col() const { return m_col; }
    // Setting the current row or column collapses the selection onto it.
    void setRow(int row);
    void setCol(int col);
    int rowSel() const { return m_rowSel; }
    int colSel() const { return m_colSel; }
    void setRowSel(int row);
    void setColSel(int col);
    QString text() const { return textAt(m_row, m_col); }
    void setText(const QString& text) { setTextAt(m_row, m_col, text); }
    double value() const { return valueAt(m_row, m_col); }

    // --- Columns -------------------------------------------------------------
    int colWidth(int col) const; // twips
    void setColWidth(int col, int twips);
    bool mergeCol(int col) const;
    void setMergeCol(int col, bool merge);
    QString colFormat(int col) const;
    void setColFormat(int col, const QString& format);

    // Visual order only: cells, sorting and subtotals stay on logical columns.
    int colPosition(int col) const;
    int colAtPosition(int position) const;
    void moveColumn(int col, int position);
    QList<int> visualOrder() const;

    // --- Merging -------------------------------------------------------------
    int mergeCells() const { return m_mergeCells; }
    void setMergeCells(int setting);
    // Equal non-empty texts stacked in a merge column, never across the header
    // or a subtotal row; none while merging is off.
    QList<MergeSpan> mergeSpans() const;

    // --- Redraw --------------------------------------------------------------
    int redraw() const { return m_redraw; }
    // While off, changes are gathered and the view is told once when it is
    // switched on again.
    void setRedraw(int setting);

    // --- Sort and subtotals ---------------------------------------------------
    // Stable ascending sort of all data rows, keyed on the selected columns
    // from left to right. Subtotal rows no longer describe the new order and
    // are dropped.
    void sort(int setting);
    // Code 1 drops every subtotal row. Codes 2..9 put one subtotal row below
    // each run of equal texts in groupCol and write the statistic of totalCol
    // into it; rows already made for the same group column are reused.
    void subtotal(int function, int groupCol = -1, int totalCol = -1,
                  const QString& format = QString(), std::optional<int> backColor = std::nullopt,
                  std::optional<int> foreColor = std::nullopt, bool bold = false);
    bool isSubtotal(int row) const;

    // --- Font (the grid report sets it; the view shows it) ------------------
    QString fontName() const { return m_fontName; }
    void setFontName(const QString& name);
    double fontSize() const { return m_fontSize; }
    void setFontSize(double points);

    // --- Display settings the windows set but nothing here depends on -------
    int displayOptionA() const { return m_displayOptionA; }
    int displayOptionB() const { return m_displayOptionB; }
    void setDisplayOptions(int first, int second);
    bool displayFlag() const { return m_displayFlag; }
    void setDisplayFlag(bool on) { m_displayFlag = on; }
    int bindingSetting() const { return m_bindingSetting; }
    void setBindingSetting(int value) { m_bindingSetting = value; }

    // Renders a number the way a display format asks; integers stay as they
    // are, other numbers keep the format's decimals, cut rather than rounded.
    static QString formatNumber(double value, const QString& format);

signals:
    // Rows, columns or many cells change: a view must re-read everything.
    void aboutToReset();
    void reset();
    // A rectangle of cells changed text.
    void cellsChanged(int top, int left, int bottom, int right);
    // Widths, merging, formats, the column order or the font changed.
    void displayChanged();

private:
    struct Cell {
        QString text;
        // Colours and formats are indices into the grid's short tables, 0 for
        // none: a cell stays 32 bytes, and a large grid has millions.
        std::uint16_t foreColor = 0;
        std::uint16_t backColor = 0;
        // A computed text is written only when read, with this format: a
        // study makes tens of thousands and the view shows a few.
        std::uint16_t textFormat = 0;
        bool computed = false; // the number is the exact value behind a computed text
        bool bold = false;
    };
    // Cells are held column by column, in stored rows that the grid rows
    // list: a sort, a subtotal or a merge pass reads one or a few columns
    // from top to bottom, and subtotal rows come and go at the end of the
    // columns while the data rows stay where they are. A large grid no
    // longer fits the processor's caches; moving whole rows at every study
    // made its cost grow faster than the rows.
    struct Column {
        int width = kDefaultColumnWidth;
        bool merge = false;
        QString format;
        std::vector<Cell> cells; // one per stored row, the header row first
        // The number each stored text stands for, worked out once when the
        // text is set: sorting, totalling and merging read it many times,
        // and read apart from the texts it is 8 bytes a row. A word or an
        // empty text holds a NaN (a word's tells its letters apart).
        std::vector<double> numbers;
        // While every number's text is the number written plainly, equal
        // numbers are equal texts and the cells need not be read to tell.
        bool plainNumbers = true;
        // A study wrote into this column's subtotal rows since they were made.
        bool subtotalsWritten = false;

        void resize(std::size_t size);
        void moveRow(std::size_t to, std::size_t from);
        void setText(std::size_t stored, const QString& text);
        void setComputed(std::size_t stored, std::optional<double> value, std::uint16_t textFormat);
        bool numeric(std::size_t stored) const;
        bool sameText(std::size_t a, std::size_t b) const;
    };

    void checkCell(int row, int col) const;
    void checkCol(int col) const;
    // The stored row shown at a grid row.
    std::size_t storedAt(std::size_t row) const { return static_cast<std::size_t>(m_order[row]); }
    // The group column a grid row subtotals; -1 for a data row.
    int groupAt(std::size_t row) const { return m_storedGroup[storedAt(row)]; }
    Cell& cellRef(int row, int col);
    const Cell& cellRef(int row, int col) const;
    void resizeColumns(int cols);
    void appendStoredRows(std::size_t count, int group);
    void dropUnlistedRows();
    void removeSubtotalRows();
    // A cell or the rows changed: the order found and the subtotal rows made
    // no longer hold.
    void noteChange();
    // Every row is replaced: nothing made for the old ones is kept.
    void forgetSubtotalRows();
    const std::vector<int>& ensureSubtotalRows(int groupCol);

    // Change notification that honours the redraw setting.
    void beginStructureChange();
    void endStructureChange();
    void notifyCells(int top, int left, int bottom, int right);
    void notifyDisplay();

    std::vector<Column> m_columns;
    std::vector<int> m_storedGroup; // per stored row: group column of a subtotal row, else -1
    std::vector<int> m_order;       // the stored row shown at each grid row
    // Room reused by every study: a large block asked for again and again
    // makes the allocator sweep up all the small blocks freed since.
    std::vector<int> m_orderScratch;
    std::vector<int> m_storedScratch;
    std::vector<int> m_subtotalRows;
    std::vector<QString> m_textFormats{QString()}; // of computed texts, first none
    std::vector<int> m_colors{-1};                 // of cells, first the default
    // The key columns the data rows were last found or put in order on;
    // any change of a cell or of the rows forgets it. Every study sorts
    // again on the same keys, and a large grid's texts lie all over memory.
    std::pair<int, int> m_orderedOn{-1, -1};
    // Every study takes the subtotal rows out and makes them again for the
    // same groups, copying every group's text, and a large grid's texts lie
    // all over memory. The rows of one grouping, stored after the data rows,
    // are kept unlisted with the order they were listed in, and listed again
    // for the next subtotal on that grouping while nothing has changed.
    int m_parkedGroup = -1; // -1 while none are kept
    std::vector<int> m_parkedOrder;
    // The listed subtotal rows were made for the data rows as they are.
    bool m_subtotalsFit = false;
    std::vector<int> m_visual; // logical column at each position
    int m_cols = 1;
    int m_row = 0;
    int m_col = 0;
    int m_rowSel = 0;
    int m_colSel = 0;
    int m_mergeCells = MergeNone;
    int m_redraw = RedrawOn;
    bool m_resetPending = false; // aboutToReset sent while redraw was off
    bool m_displayPending = false;
    QString m_fontName;
    double m_fontSize = 0.0;
    int m_displayOptionA = 0;
    int m_displayOptionB = 0;
    bool m_displayFlag = true;
    int m_bindingSetting = 0;
};

// Packed RGB parts.
constexpr int redOf(int rgb)
{
    return rgb & 0xff;
}
constexpr int greenOf(int rgb)
{
    return (rgb >> 8) & 0xff;
}
constexpr int blueOf(int rgb)
{
    return (rgb >> 16) & 0xff;
}

} // namespace grid
