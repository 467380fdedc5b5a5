#include "StoredRows.h"

#include <sqlite3.h>

#include <QByteArray>

#include <cstring>

namespace db {
namespace {

// Large enough that a result of short texts takes few blocks; a value of
// more than a quarter of it gets a block of its own, so no block is left
// mostly empty.
constexpr std::size_t kBlockBytes = std::size_t(256) << 10;

} // namespace

StoredRows::StoredRows(std::vector<DeclaredType> types)
    : m_types(std::move(types))
{
}

const char* StoredRows::keep(const char* data, std::size_t size)
{
    // An empty text stays an empty text, and empty long binary data, which
    // the engine hands over without bytes, stays without them.
    if (size == 0)
        return data ? "" : nullptr;
    if (size > kBlockBytes / 4) {
        m_blocks.push_back(std::make_unique<char[]>(size));
        std::memcpy(m_blocks.back().get(), data, size);
        return m_blocks.back().get();
    }
    if (size > m_blockFree) {
        m_blocks.push_back(std::make_unique<char[]>(kBlockBytes));
        m_blockAt = m_blocks.back().get();
        m_blockFree = kBlockBytes;
    }
    char* at = m_blockAt;
    std::memcpy(at, data, size);
    m_blockAt += size;
    m_blockFree -= size;
    return at;
}

void StoredRows::append(sqlite3_stmt* statement)
{
    const int columns = columnCount();
    for (int c = 0; c < columns; ++c) {
        Cell cell;
        switch (sqlite3_column_type(statement, c)) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER:
            cell.kind = Kind::Integer;
            cell.integer = sqlite3_column_int64(statement, c);
            break;
        case SQLITE_FLOAT:
            cell.kind = Kind::Real;
            cell.real = sqlite3_column_double(statement, c);
            break;
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, c));
            cell.kind = Kind::Blob;
            cell.size = static_cast<std::uint32_t>(sqlite3_column_bytes(statement, c));
            cell.bytes = keep(data, cell.size);
            break;
        }
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
            cell.kind = Kind::Text;
            cell.size = static_cast<std::uint32_t>(sqlite3_column_bytes(statement, c));
            cell.bytes = keep(text, cell.size);
            break;
        }
        }
        m_cells.push_back(cell);
    }
    ++m_rows;
}

QVariant StoredRows::value(int row, int column) const
{
    const Cell& cell =
        m_cells[static_cast<std::size_t>(row) * m_types.size() + static_cast<std::size_t>(column)];
    const DeclaredType& type = m_types[static_cast<std::size_t>(column)];
    switch (cell.kind) {
    case Kind::Null:
        return QVariant();
    case Kind::Integer:
        return integerValue(cell.integer, type);
    case Kind::Real:
        return QVariant(cell.real);
    case Kind::Blob:
        return QVariant(QByteArray(cell.bytes, static_cast<qsizetype>(cell.size)));
    case Kind::Text:
        break;
    }
    return textValue(cell.bytes, static_cast<int>(cell.size), type);
}

} // namespace db
