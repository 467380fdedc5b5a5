#pragma once

// Internal to the storage engine: the rows of a result read to its end,
// held as the engine gave them (numbers as numbers, texts and long binary
// data as their bytes in large shared blocks) and turned into a QVariant
// only when a value is asked for. Counting a large result, or binding only
// some of its columns, so costs no allocation per value and no conversion
// of texts nobody reads.

#include "FieldValues.h"

#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace db {

class StoredRows {
public:
    explicit StoredRows(std::vector<DeclaredType> types = {});

    // The current row of statement, every column.
    void append(sqlite3_stmt* statement);

    int rowCount() const { return m_rows; }
    int columnCount() const { return static_cast<int>(m_types.size()); }
    bool empty() const { return m_rows == 0; }

    // The same value readColumn gives for the row as it was read. Row and
    // column must be in range.
    QVariant value(int row, int column) const;

private:
    enum class Kind : std::uint8_t { Null, Integer, Real, Text, Blob };
    struct Cell {
        union {
            std::int64_t integer = 0;
            double real;
            const char* bytes;
        };
        std::uint32_t size = 0;
        Kind kind = Kind::Null;
    };

    const char* keep(const char* data, std::size_t size);

    std::vector<DeclaredType> m_types;
    std::vector<Cell> m_cells; // row after row
    int m_rows = 0;
    // Bytes never move once kept: a block is only ever added.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_blockFree = 0;
    char* m_blockAt = nullptr;
};

} // namespace db
