#include "Dao.h"

#include "JetSql.h"
#include "RecordsetData.h"

#include <QDir>

namespace db {

namespace {

const QString kSource = QStringLiteral("DAO.Recordset");
constexpr int kInvalidOperation = 3219;
constexpr int kRecordDeleted = 3167;

AppError noCurrentRecord()
{
    return AppError(jet::NoCurrentRecord, kSource, QStringLiteral("No current record."));
}

QString textOf(sqlite3_stmt* statement, const char* (*get)(sqlite3_stmt*, int), int column)
{
    const char* text = get(statement, column);
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

std::unique_ptr<RecordsetData> RecordsetData::load(std::shared_ptr<SqliteConnection> connection,
                                                   const QString& sql, int type)
{
    const QString source = QStringLiteral("DAO.Database");
    auto data = std::make_unique<RecordsetData>();
    data->connection = connection;
    data->type = type;

    // The column list is read before the first step: a kept statement
    // compiled against an older schema must not answer it.
    connection->dropStaleStatements(source);
    Statement statement = connection->prepareCached(sql, source);
    if (!statement)
        throw invalidStatementError(source);
    const int count = sqlite3_column_count(statement.get());
    if (count == 0)
        throw AppError(
            kInvalidOperation, source,
            QStringLiteral("Invalid operation. '%1' returns no rows; run it with Execute.")
                .arg(sql.simplified()));

    QString tableOfAll;
    bool oneTable = true;
    for (int i = 0; i < count; ++i) {
        ColumnInfo column;
        column.name = textOf(statement.get(), &sqlite3_column_name, i);
        column.type = parseDeclaredType(textOf(statement.get(), &sqlite3_column_decltype, i));
        column.origin = textOf(statement.get(), &sqlite3_column_origin_name, i);
        const QString table = textOf(statement.get(), &sqlite3_column_table_name, i);
        if (column.origin.isEmpty() || table.isEmpty() ||
            (!tableOfAll.isEmpty() && tableOfAll.compare(table, Qt::CaseInsensitive) != 0))
            oneTable = false;
        if (tableOfAll.isEmpty())
            tableOfAll = table;
        data->columns.push_back(column);
    }

    // A plain select of one table's columns: rows carry their rowid (so they
    // can be written back) and long binary columns are read as lengths only.
    const auto single = oneTable ? parseSingleTableSelect(sql) : std::nullopt;
    int offset = 0;
    if (single &&
        connection->keptTableName(single->table).compare(tableOfAll, Qt::CaseInsensitive) == 0) {
        sqlite3* h = connection->handle(source);
        QStringList list{QStringLiteral("_rowid_")};
        for (ColumnInfo& column : data->columns) {
            int primaryKey = 0;
            const char* declared = nullptr;
            if (sqlite3_table_column_metadata(
                    h, "main", tableOfAll.toUtf8().constData(), column.origin.toUtf8().constData(),
                    &declared, nullptr, nullptr, &primaryKey, nullptr) == SQLITE_OK) {
                column.primaryKey = primaryKey != 0 && column.type.fieldType == dao::dbLong;
            }
            column.lazyBlob = column.type.isBlob();
            const QString origin = quoteIdentifier(column.origin);
            list << (column.lazyBlob ? QStringLiteral("length(%1)").arg(origin) : origin) +
                        QStringLiteral(" AS ") + quoteIdentifier(column.name);
        }
        const QString columnList = list.join(QStringLiteral(", "));
        const QString keyedSql = QStringLiteral("SELECT %1 FROM %2 %3")
                                     .arg(columnList, quoteIdentifier(tableOfAll), single->rest);
        statement = connection->prepareCached(keyedSql, source);
        data->keyed = true;
        data->table = tableOfAll;
        data->columnList = columnList;
        offset = 1;
    } else {
        for (ColumnInfo& column : data->columns)
            column.origin.clear();
    }

    while (stepStatement(statement.get(), source, sql)) {
        RowData row;
        if (data->keyed)
            row.rowid = sqlite3_column_int64(statement.get(), 0);
        row.values.reserve(data->columns.size());
        for (int i = 0; i < count; ++i)
            row.values.push_back(readColumn(statement.get(), i + offset, data->columns[i].type));
        data->rows.push_back(std::move(row));
    }
    statement.reset();

    data->updatable = data->keyed && type != dao::dbOpenSnapshot && type != dao::dbOpenForwardOnly;
    data->position = data->rows.empty() ? kEof : 0;
    return data;
}

void RecordsetData::ensureOpen() const
{
    if (!open || !connection || !connection->isOpen())
        throw closedError(kSource);
}

const RowData& RecordsetData::currentRow() const
{
    if (atBof() || atEof())
        throw noCurrentRecord();
    return rows.at(static_cast<size_t>(position));
}

int RecordsetData::columnIndex(const QString& name) const
{
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    throw fieldNotFoundError(name, kSource);
}

void RecordsetData::checkColumn(int index) const
{
    if (index < 0 || index >= static_cast<int>(columns.size()))
        throw AppError(
            jet::ItemNotFound, kSource,
            QStringLiteral("Item not found in this collection. There is no field %1.").arg(index));
}

void RecordsetData::cancelEdit()
{
    releaseBlob();
    mode = EditMode::None;
    pending.clear();
}

qint64 RecordsetData::storedBlobSize(const RowData& row, int column) const
{
    const QVariant& value = row.values.at(static_cast<size_t>(column));
    if (value.isNull())
        return 0;
    if (columns[static_cast<size_t>(column)].lazyBlob)
        return value.toLongLong();
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().size();
    return value.toString().size();
}

QByteArray RecordsetData::readStoredBlob(const RowData& row, int column, qint64 offset,
                                         qint64 length) const
{
    const qint64 size = storedBlobSize(row, column);
    if (offset < 0 || length <= 0 || offset >= size)
        return QByteArray();
    length = qMin(length, size - offset);
    const ColumnInfo& info = columns[static_cast<size_t>(column)];
    if (!info.lazyBlob) {
        const QVariant& value = row.values.at(static_cast<size_t>(column));
        const QByteArray bytes = value.typeId() == QMetaType::QByteArray
                                     ? value.toByteArray()
                                     : value.toString().toUtf8();
        return bytes.mid(offset, length);
    }
    sqlite3* h = connection->handle(kSource);
    const auto openBlob = [&] {
        releaseBlob();
        sqlite3_blob* raw = nullptr;
        const int rc = sqlite3_blob_open(h, "main", table.toUtf8().constData(),
                                         info.origin.toUtf8().constData(), row.rowid, 0, &raw);
        BlobHandle blob(raw);
        if (rc != SQLITE_OK) {
            // The row went away since the recordset was read.
            if (QString::fromUtf8(sqlite3_errmsg(h)).startsWith(QLatin1String("no such rowid")))
                throw AppError(kRecordDeleted, kSource, QStringLiteral("Record is deleted."));
            throw errorFromSqlite(h, rc, kSource);
        }
        readBlob = std::move(blob);
        readBlobRow = row.rowid;
        readBlobColumn = column;
    };
    if (!readBlob || readBlobRow != row.rowid || readBlobColumn != column)
        openBlob();
    const auto readFrom = [&](QByteArray& bytes) {
        const qint64 available = sqlite3_blob_bytes(readBlob.get());
        if (offset >= available) {
            bytes.clear();
            return SQLITE_OK;
        }
        bytes.resize(qMin(length, available - offset));
        return sqlite3_blob_read(readBlob.get(), bytes.data(), static_cast<int>(bytes.size()),
                                 static_cast<int>(offset));
    };
    QByteArray bytes;
    int readRc = readFrom(bytes);
    if (readRc == SQLITE_ABORT) {
        // The row was written since the handle opened: read it afresh.
        openBlob();
        readRc = readFrom(bytes);
    }
    if (readRc != SQLITE_OK) {
        releaseBlob();
        throw errorFromSqlite(h, readRc, kSource);
    }
    // The last piece ends the read: no handle outlives it.
    if (offset + bytes.size() >= sqlite3_blob_bytes(readBlob.get()))
        releaseBlob();
    return bytes;
}

void RecordsetData::releaseBlob() const
{
    readBlob.reset();
    readBlobColumn = -1;
}

void RecordsetData::spoolStoredBlob(const RowData& row, int column, PendingValue& pending) const
{
    constexpr qint64 kPiece = 64 * 1024;
    pending.startSpool(kSource);
    const qint64 stored = storedBlobSize(row, column);
    for (qint64 offset = 0; offset < stored; offset += kPiece)
        pending.appendToSpool(readStoredBlob(row, column, offset, kPiece), kSource);
}

void PendingValue::startSpool(const QString& source)
{
    auto file =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/argovo_chunk_XXXXXX"));
    if (!file->open())
        throw AppError(jet::DiskIo, source,
                       QStringLiteral("Disk or network error. The temporary file for appended "
                                      "chunks cannot be written."));
    spool = std::move(file);
    spoolSize = 0;
    borrowed = false;
    value = QVariant();
}

void PendingValue::borrowFile(const QString& path, const QString& source)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw AppError(53, source,
                       QStringLiteral("File not found. '%1' cannot be read: %2")
                           .arg(path, file->errorString()));
    spoolSize = file->size();
    spool = std::move(file);
    borrowed = true;
    value = QVariant();
}

void PendingValue::appendToSpool(const QByteArray& bytes, const QString& source)
{
    if (borrowed) {
        // More bytes after a file's: they continue in a spool of our own.
        std::unique_ptr<QFile> file = std::move(spool);
        const qint64 size = spoolSize;
        startSpool(source);
        if (!file->seek(0))
            throw AppError(jet::DiskIo, source,
                           QStringLiteral("Disk or network error. '%1' cannot be read.")
                               .arg(file->fileName()));
        for (qint64 copied = 0; copied < size;) {
            const QByteArray piece = file->read(qMin<qint64>(1 << 20, size - copied));
            if (piece.isEmpty())
                throw AppError(62, source, QStringLiteral("Input past end of file"));
            appendToSpool(piece, source);
            copied += piece.size();
        }
    }
    if (!spool->seek(spoolSize) || spool->write(bytes) != bytes.size())
        throw AppError(jet::DiskIo, source,
                       QStringLiteral("Disk or network error. The temporary file for appended "
                                      "chunks cannot be written."));
    spoolSize += bytes.size();
}

RowData RecordsetData::readRow(qint64 rowid) const
{
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE _rowid_ = ?1")
                            .arg(columnList, quoteIdentifier(table));
    Statement statement = connection->prepareCached(sql, kSource);
    sqlite3_bind_int64(statement.get(), 1, rowid);
    if (!stepStatement(statement.get(), kSource, sql))
        throw AppError(kRecordDeleted, kSource, QStringLiteral("Record is deleted."));
    RowData row;
    row.rowid = sqlite3_column_int64(statement.get(), 0);
    for (size_t i = 0; i < columns.size(); ++i)
        row.values.push_back(readColumn(statement.get(), static_cast<int>(i) + 1, columns[i].type));
    return row;
}

} // namespace db

namespace dao {

using db::EditMode;
using db::RecordsetData;

namespace {

const QString kSource = QStringLiteral("DAO.Recordset");
constexpr qint64 kPiece = 64 * 1024;
// Larger pieces for the copy into the database: fewer calls, flat memory still.
constexpr qint64 kCopyPiece = 1024 * 1024;

AppError noCurrentRecord()
{
    return AppError(jet::NoCurrentRecord, kSource, QStringLiteral("No current record."));
}

AppError notEditing()
{
    return AppError(jet::UpdateWithoutEdit, kSource,
                    QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
}

AppError readOnly()
{
    return AppError(jet::ReadOnly, kSource,
                    QStringLiteral("Cannot update. Database or object is read-only."));
}

// Whether a coerced value is what the column already holds (dates are read
// as date-times and written as their stored text).
bool sameStoredValue(const QVariant& value, const QVariant& stored, const db::DeclaredType& type)
{
    if (value.isNull() || stored.isNull())
        return value.isNull() && stored.isNull();
    if (type.isDate() && stored.typeId() == QMetaType::QDateTime)
        return value.typeId() == QMetaType::QString &&
               value.toString() == db::storedDateText(stored.toDateTime());
    return value.typeId() == stored.typeId() && value == stored;
}

// A long value beyond what the engine holds in one value is refused before
// anything is written, with both sizes named.
AppError tooLarge(const QString& field, qint64 size, qint64 limit)
{
    return AppError(jet::FieldTooSmall, kSource,
                    QStringLiteral("The field '%1' is too small to accept the amount of data you "
                                   "attempted to add: %2 bytes, of at most %3.")
                        .arg(field)
                        .arg(size)
                        .arg(limit));
}

QByteArray bookmarkOf(int index)
{
    return QByteArray("row:") + QByteArray::number(index);
}

} // namespace

// ---------------------------------------------------------------- Recordset

Recordset::Recordset(std::unique_ptr<db::RecordsetData> data)
    : d(std::move(data))
{
}

Recordset::~Recordset() = default;

bool Recordset::BOF() const
{
    d->ensureOpen();
    return d->atBof();
}

bool Recordset::EOF() const
{
    d->ensureOpen();
    return d->atEof();
}

int Recordset::RecordCount() const
{
    d->ensureOpen();
    return static_cast<int>(d->rows.size());
}

void Recordset::MoveFirst()
{
    d->ensureOpen();
    d->cancelEdit();
    if (d->rows.empty())
        throw noCurrentRecord();
    d->position = 0;
}

void Recordset::MoveLast()
{
    d->ensureOpen();
    d->cancelEdit();
    if (d->rows.empty())
        throw noCurrentRecord();
    d->position = static_cast<int>(d->rows.size()) - 1;
}

void Recordset::MoveNext()
{
    d->ensureOpen();
    d->cancelEdit();
    if (d->atEof())
        throw noCurrentRecord();
    if (d->position == RecordsetData::kBof)
        d->position = 0;
    else if (d->position + 1 >= static_cast<int>(d->rows.size()))
        d->position = RecordsetData::kEof;
    else
        ++d->position;
}

void Recordset::MovePrevious()
{
    d->ensureOpen();
    d->cancelEdit();
    if (d->atBof())
        throw noCurrentRecord();
    if (d->position == RecordsetData::kEof)
        d->position = static_cast<int>(d->rows.size()) - 1;
    else if (d->position == 0)
        d->position = RecordsetData::kBof;
    else
        --d->position;
}

Field Recordset::Fields(const QString& name)
{
    d->ensureOpen();
    return Field(this, d->columnIndex(name));
}

Field Recordset::Fields(int index)
{
    d->ensureOpen();
    d->checkColumn(index);
    return Field(this, index);
}

int Recordset::FieldCount() const
{
    d->ensureOpen();
    return static_cast<int>(d->columns.size());
}

void Recordset::AddNew()
{
    d->ensureOpen();
    if (!d->updatable)
        throw readOnly();
    d->cancelEdit();
    d->mode = EditMode::AddNew;
}

void Recordset::Edit()
{
    d->ensureOpen();
    if (!d->updatable)
        throw readOnly();
    d->currentRow();
    d->cancelEdit();
    d->mode = EditMode::Edit;
}

void Recordset::CancelUpdate()
{
    d->ensureOpen();
    if (d->mode == EditMode::None)
        throw notEditing();
    d->cancelEdit();
}

void Recordset::Update()
{
    d->ensureOpen();
    if (d->mode == EditMode::None)
        throw notEditing();
    const bool adding = d->mode == EditMode::AddNew;
    const db::RowData* current = adding ? nullptr : &d->currentRow();

    // Every value is checked and coerced before anything is written, so a
    // refused value leaves the file as it was.
    struct Write {
        int column;
        QVariant value;
        const db::PendingValue* spool;
    };
    std::vector<Write> writes;
    for (const auto& [column, pending] : d->pending) {
        const db::ColumnInfo& info = d->columns[static_cast<size_t>(column)];
        if (pending.spool) {
            writes.push_back({column, QVariant(), &pending});
            continue;
        }
        QVariant value = db::coerceForColumn(pending.value, info.type, info.name, kSource);
        if (info.primaryKey) {
            if (value.isNull()) {
                if (adding)
                    continue; // the engine numbers the new row
                throw AppError(
                    3314, kSource,
                    QStringLiteral("The field '%1' cannot contain a Null value.").arg(info.name));
            }
            if (!adding &&
                value.toLongLong() != current->values[static_cast<size_t>(column)].toLongLong())
                throw AppError(3164, kSource,
                               QStringLiteral("Field '%1' cannot be updated.").arg(info.name));
        }
        // A value equal to the stored one is not written: a commit of an
        // unchanged row leaves the file untouched.
        if (!adding && !info.lazyBlob &&
            sameStoredValue(value, current->values[static_cast<size_t>(column)], info.type))
            continue;
        writes.push_back({column, value, nullptr});
    }
    // Rewriting a row makes the engine read every column it keeps into
    // memory; a long value kept as it is goes out to a spool and back in
    // pieces instead.
    if (!adding && !writes.empty()) {
        for (size_t column = 0; column < d->columns.size(); ++column) {
            const int index = static_cast<int>(column);
            if (!d->columns[column].lazyBlob || d->pending.count(index) != 0 ||
                d->storedBlobSize(*current, index) < kPiece)
                continue;
            db::PendingValue& kept = d->pending[index];
            d->spoolStoredBlob(*current, index, kept);
            writes.push_back({index, QVariant(), &kept});
        }
    }

    db::SqliteConnection& connection = *d->connection;
    sqlite3* h = connection.handle(kSource);
    const QString table = db::quoteIdentifier(d->table);
    QString sql;
    if (adding) {
        QStringList names;
        QStringList placeholders;
        for (size_t i = 0; i < writes.size(); ++i) {
            names << db::quoteIdentifier(d->columns[static_cast<size_t>(writes[i].column)].origin);
            placeholders << QStringLiteral("?%1").arg(i + 1);
        }
        sql = writes.empty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                             : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table, names.join(QStringLiteral(", ")),
                                        placeholders.join(QStringLiteral(", ")));
    } else if (!writes.empty()) {
        QStringList sets;
        for (size_t i = 0; i < writes.size(); ++i)
            sets << QStringLiteral("%1 = ?%2")
                        .arg(db::quoteIdentifier(
                            d->columns[static_cast<size_t>(writes[i].column)].origin))
                        .arg(i + 1);
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_ = ?%3")
                  .arg(table, sets.join(QStringLiteral(", ")))
                  .arg(writes.size() + 1);
    }

    qint64 rowid = adding ? 0 : current->rowid;
    d->releaseBlob();
    if (!adding && writes.empty()) {
        // Nothing to write; the row must still be there, as after a write.
        d->rows[static_cast<size_t>(d->position)] = d->readRow(rowid);
        d->lastModified = d->position;
        d->cancelEdit();
        return;
    }
    {
        db::Savepoint savepoint(connection, kSource);
        if (!sql.isEmpty()) {
            db::Statement statement = connection.prepareCached(sql, kSource);
            for (size_t i = 0; i < writes.size(); ++i) {
                const int slot = static_cast<int>(i) + 1;
                if (writes[i].spool) {
                    const qint64 size = writes[i].spool->spoolSize;
                    if (sqlite3_bind_zeroblob64(statement.get(), slot,
                                                static_cast<sqlite3_uint64>(size)) != SQLITE_OK)
                        throw tooLarge(d->columns[static_cast<size_t>(writes[i].column)].name, size,
                                       sqlite3_limit(h, SQLITE_LIMIT_LENGTH, -1));
                } else
                    db::bindValue(statement.get(), slot, writes[i].value);
            }
            if (!adding)
                sqlite3_bind_int64(statement.get(), static_cast<int>(writes.size()) + 1, rowid);
            db::stepStatement(statement.get(), kSource, sql);
            if (adding)
                rowid = sqlite3_last_insert_rowid(h);
            else if (sqlite3_changes(h) == 0)
                throw AppError(3167, kSource, QStringLiteral("Record is deleted."));
        }
        // Appended chunks go from the spool into the reserved space piece by
        // piece; the document is never whole in memory.
        for (const Write& write : writes) {
            if (!write.spool || write.spool->spoolSize == 0)
                continue;
            const db::ColumnInfo& info = d->columns[static_cast<size_t>(write.column)];
            sqlite3_blob* raw = nullptr;
            const int rc = sqlite3_blob_open(h, "main", d->table.toUtf8().constData(),
                                             info.origin.toUtf8().constData(), rowid, 1, &raw);
            db::BlobHandle blob(raw);
            if (rc != SQLITE_OK)
                throw db::errorFromSqlite(h, rc, kSource);
            QFile& spool = *write.spool->spool;
            if (!spool.seek(0))
                throw AppError(
                    jet::DiskIo, kSource,
                    QStringLiteral("Disk or network error. The chunk spool cannot be read."));
            qint64 written = 0;
            while (written < write.spool->spoolSize) {
                const QByteArray piece =
                    spool.read(qMin(kCopyPiece, write.spool->spoolSize - written));
                // A borrowed file that shrank since it was named ends early.
                if (piece.isEmpty())
                    throw AppError(62, kSource,
                                   QStringLiteral("Input past end of file. '%1' ended early.")
                                       .arg(spool.fileName()));
                const int wrc =
                    sqlite3_blob_write(blob.get(), piece.constData(),
                                       static_cast<int>(piece.size()), static_cast<int>(written));
                if (wrc != SQLITE_OK)
                    throw db::errorFromSqlite(h, wrc, kSource);
                written += piece.size();
            }
        }
        savepoint.commit();
    }

    db::RowData stored = d->readRow(rowid);
    if (adding) {
        d->rows.push_back(std::move(stored));
        d->lastModified = static_cast<int>(d->rows.size()) - 1;
    } else {
        d->rows[static_cast<size_t>(d->position)] = std::move(stored);
        d->lastModified = d->position;
    }
    d->cancelEdit();
}

QByteArray Recordset::Bookmark() const
{
    d->ensureOpen();
    d->currentRow();
    return bookmarkOf(d->position);
}

void Recordset::setBookmark(const QByteArray& bookmark)
{
    d->ensureOpen();
    bool ok = false;
    const int index = bookmark.startsWith("row:") ? bookmark.mid(4).toInt(&ok) : -1;
    if (!ok || index < 0 || index >= static_cast<int>(d->rows.size()))
        throw AppError(3159, kSource, QStringLiteral("Not a valid bookmark."));
    d->cancelEdit();
    d->position = index;
}

QByteArray Recordset::LastModified() const
{
    d->ensureOpen();
    if (!d->lastModified)
        throw noCurrentRecord();
    return bookmarkOf(*d->lastModified);
}

void Recordset::Close()
{
    // Closing twice does no harm; every other call on a closed recordset raises 3704.
    d->cancelEdit();
    d->open = false;
    d->rows.clear();
}

bool Recordset::isOpen() const
{
    return d->open && d->connection && d->connection->isOpen();
}

} // namespace dao
