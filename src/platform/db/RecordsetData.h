#pragma once

// Internal to the storage engine: what a DAO recordset holds. Rows are read
// fully at open and the statement finalized, so no read lock outlives the
// open; long binary columns of a one-table select hold only their length,
// and their bytes are read by rowid when asked for.

#include "FieldValues.h"
#include "SqliteConnection.h"

#include <QTemporaryFile>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace db {

struct ColumnInfo {
    QString name;   // as the statement names it
    QString origin; // the table column it comes from; empty for expressions
    DeclaredType type;
    bool lazyBlob = false;   // the row holds the length; bytes read on demand
    bool primaryKey = false; // the table's integer key (AutoNumber)
};

struct RowData {
    qint64 rowid = 0;
    std::vector<QVariant> values;
};

// A value set between AddNew/Edit and Update.
struct PendingValue {
    QVariant value;
    // Bytes appended with AppendChunk wait here, never whole in memory: a
    // temporary file, or the caller's own file when the value is one file's
    // bytes (borrowed, never written).
    std::unique_ptr<QFile> spool;
    qint64 spoolSize = 0;
    bool borrowed = false;

    // Starts an empty spool; 3043 when no temporary file can be made.
    void startSpool(const QString& source);
    // Appends bytes to the spool; 3043 when they cannot be written.
    void appendToSpool(const QByteArray& bytes, const QString& source);
    // The value becomes the bytes the file at path holds now, read from
    // there at Update; 53 when it cannot be read.
    void borrowFile(const QString& path, const QString& source);
};

enum class EditMode { None, AddNew, Edit };

struct RecordsetData {
    static constexpr int kBof = -1;
    static constexpr int kEof = -2;

    static std::unique_ptr<RecordsetData> load(std::shared_ptr<SqliteConnection> connection,
                                               const QString& sql, int type);

    void ensureOpen() const;
    bool atBof() const { return rows.empty() || position == kBof; }
    bool atEof() const { return rows.empty() || position == kEof; }
    const RowData& currentRow() const; // 3021 without one
    int columnIndex(const QString& name) const;
    void checkColumn(int index) const;
    void cancelEdit();
    // Ends the blob handle kept open between chunk reads.
    void releaseBlob() const;

    qint64 storedBlobSize(const RowData& row, int column) const;
    QByteArray readStoredBlob(const RowData& row, int column, qint64 offset, qint64 length) const;
    RowData readRow(qint64 rowid) const;
    // Copies the stored bytes of a long binary column into pending's spool,
    // piece by piece.
    void spoolStoredBlob(const RowData& row, int column, PendingValue& pending) const;

    std::shared_ptr<SqliteConnection> connection;
    int type = 0;
    bool open = true;
    QString table;      // stored name of the one table, when the select has one
    bool keyed = false; // rows carry their rowid
    bool updatable = false;
    QString columnList; // the select list that reads one row by rowid
    std::vector<ColumnInfo> columns;
    std::vector<RowData> rows;
    int position = kEof;
    EditMode mode = EditMode::None;
    std::map<int, PendingValue> pending;
    std::optional<int> lastModified;

    // One handle serves the chunk reads of one field in turn, so reading a
    // long value walks its pages once instead of once per chunk.
    mutable BlobHandle readBlob;
    mutable qint64 readBlobRow = 0;
    mutable int readBlobColumn = -1;
};

} // namespace db
