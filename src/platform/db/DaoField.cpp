#include "Dao.h"

#include "RecordsetData.h"

namespace dao {

using db::EditMode;

namespace {

const QString kSource = QStringLiteral("DAO.Field");
constexpr int kInvalidFieldType = 3259;

AppError spoolError()
{
    return AppError(
        jet::DiskIo, kSource,
        QStringLiteral("Disk or network error. The temporary file for appended chunks cannot be "
                       "written."));
}

// The type a column without a declared one shows: that of its first value.
int inferredType(const db::RecordsetData& data, int column)
{
    for (const db::RowData& row : data.rows) {
        const QVariant& value = row.values[static_cast<size_t>(column)];
        if (value.isNull())
            continue;
        switch (value.typeId()) {
        case QMetaType::LongLong:
            return dbLong;
        case QMetaType::Double:
            return dbDouble;
        case QMetaType::QByteArray:
            return dbLongBinary;
        case QMetaType::QDateTime:
            return dbDate;
        case QMetaType::Bool:
            return dbBoolean;
        default:
            return dbText;
        }
    }
    return dbText;
}

} // namespace

QString Field::Name() const
{
    m_owner->d->ensureOpen();
    return m_owner->d->columns[static_cast<size_t>(m_index)].name;
}

int Field::Type() const
{
    const db::RecordsetData& data = *m_owner->d;
    data.ensureOpen();
    const int declared = data.columns[static_cast<size_t>(m_index)].type.fieldType;
    return declared != 0 ? declared : inferredType(data, m_index);
}

int Field::Size() const
{
    const db::RecordsetData& data = *m_owner->d;
    data.ensureOpen();
    const db::DeclaredType& type = data.columns[static_cast<size_t>(m_index)].type;
    return type.fieldType == dbText ? type.size : 0;
}

QVariant Field::Value() const
{
    const db::RecordsetData& data = *m_owner->d;
    data.ensureOpen();
    if (data.mode != EditMode::None) {
        const auto it = data.pending.find(m_index);
        if (it != data.pending.end()) {
            if (!it->second.spool)
                return it->second.value;
            QFile& spool = *it->second.spool;
            if (!spool.seek(0))
                throw spoolError();
            return QVariant(spool.read(it->second.spoolSize));
        }
        if (data.mode == EditMode::AddNew)
            return QVariant();
    }
    const db::RowData& row = data.currentRow();
    const db::ColumnInfo& column = data.columns[static_cast<size_t>(m_index)];
    const QVariant& value = row.values[static_cast<size_t>(m_index)];
    if (!column.lazyBlob || value.isNull())
        return value;
    return QVariant(data.readStoredBlob(row, m_index, 0, data.storedBlobSize(row, m_index)));
}

void Field::setValue(const QVariant& value)
{
    db::RecordsetData& data = *m_owner->d;
    data.ensureOpen();
    if (data.mode == EditMode::None)
        throw AppError(jet::UpdateWithoutEdit, kSource,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    db::PendingValue& pending = data.pending[m_index];
    pending.spool.reset();
    pending.spoolSize = 0;
    pending.borrowed = false;
    pending.value = value;
}

namespace {

// The recordset of a long binary field that is being edited; 3020 outside
// AddNew/Edit, 3259 for a field of another type.
db::RecordsetData& editedLongBinary(db::RecordsetData& data, int index)
{
    data.ensureOpen();
    if (data.mode == EditMode::None)
        throw AppError(jet::UpdateWithoutEdit, kSource,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const db::ColumnInfo& column = data.columns[static_cast<size_t>(index)];
    if (!column.type.isBlob())
        throw AppError(kInvalidFieldType, kSource,
                       QStringLiteral("Invalid field data type. '%1' is not a long binary field.")
                           .arg(column.name));
    return data;
}

} // namespace

void Field::AppendChunk(const QByteArray& bytes)
{
    db::RecordsetData& data = editedLongBinary(*m_owner->d, m_index);
    const bool wasPending = data.pending.count(m_index) != 0;
    db::PendingValue& pending = data.pending[m_index];
    if (!pending.spool) {
        if (wasPending) {
            // A value set before the first chunk is where the chunks continue.
            const QByteArray start = pending.value.toByteArray();
            pending.startSpool(kSource);
            pending.appendToSpool(start, kSource);
        } else if (data.mode == EditMode::Edit) {
            // Chunks appended to an existing row continue its stored bytes
            // unless the field was first set to an empty value.
            data.spoolStoredBlob(data.currentRow(), m_index, pending);
        } else {
            pending.startSpool(kSource);
        }
    }
    pending.appendToSpool(bytes, kSource);
}

void Field::AppendFile(const QString& path)
{
    editedLongBinary(*m_owner->d, m_index).pending[m_index].borrowFile(path, kSource);
}

QByteArray Field::GetChunk(qint64 offset, qint64 bytes) const
{
    const db::RecordsetData& data = *m_owner->d;
    data.ensureOpen();
    if (offset < 0 || bytes < 0)
        throw AppError(jet::InvalidArgument, kSource, QStringLiteral("Invalid argument."));
    if (data.mode != EditMode::None) {
        const auto it = data.pending.find(m_index);
        if (it != data.pending.end()) {
            if (it->second.spool) {
                if (offset >= it->second.spoolSize)
                    return QByteArray();
                QFile& spool = *it->second.spool;
                if (!spool.seek(offset))
                    throw spoolError();
                return spool.read(qMin(bytes, it->second.spoolSize - offset));
            }
            const QVariant& value = it->second.value;
            const QByteArray all = value.typeId() == QMetaType::QByteArray
                                       ? value.toByteArray()
                                       : value.toString().toUtf8();
            return all.mid(offset, bytes);
        }
        if (data.mode == EditMode::AddNew)
            return QByteArray();
    }
    return data.readStoredBlob(data.currentRow(), m_index, offset, bytes);
}

qint64 Field::FieldSize() const
{
    const db::RecordsetData& data = *m_owner->d;
    data.ensureOpen();
    if (data.mode != EditMode::None) {
        const auto it = data.pending.find(m_index);
        if (it != data.pending.end()) {
            if (it->second.spool)
                return it->second.spoolSize;
            const QVariant& value = it->second.value;
            if (value.isNull())
                return 0;
            return value.typeId() == QMetaType::QByteArray ? value.toByteArray().size()
                                                           : value.toString().size();
        }
        if (data.mode == EditMode::AddNew)
            return 0;
    }
    return data.storedBlobSize(data.currentRow(), m_index);
}

} // namespace dao
