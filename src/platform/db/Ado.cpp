#include "Ado.h"

#include "FieldValues.h"
#include "JetSql.h"
#include "SqliteConnection.h"
#include "StoredRows.h"

#include <utility>

namespace ado {

namespace {

const QString kConnectionSource = QStringLiteral("ADO.Connection");
const QString kRecordsetSource = QStringLiteral("ADO.Recordset");
const QString kCommandSource = QStringLiteral("ADO.Command");
constexpr int kObjectOpen = 3705;

AppError withSource(const AppError& error, const QString& source)
{
    return AppError(error.number(), source, error.description());
}

AppError noCurrentRecord()
{
    return AppError(
        jet::NoCurrentRecord, kRecordsetSource,
        QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                       "Requested operation requires a current record."));
}

AppError itemNotFound(const QString& what)
{
    return AppError(
        jet::ItemNotFound, kRecordsetSource,
        QStringLiteral("Item cannot be found in the collection corresponding to the requested name "
                       "or ordinal (%1).")
            .arg(what));
}

// The value of one "key=value" pair, quotes removed and a doubled quote
// read as one.
QString unquoted(const QString& value)
{
    const QString text = value.trimmed();
    for (const QChar quote : {QLatin1Char('"'), QLatin1Char('\'')}) {
        if (text.size() >= 2 && text.startsWith(quote) && text.endsWith(quote))
            return text.mid(1, text.size() - 2).replace(QString(2, quote), QString(quote));
    }
    return text;
}

} // namespace

QString dataSourceFromConnectionString(const QString& connectionString)
{
    // Pairs are separated by ";" outside quotes; keys compare without regard
    // to case and blanks around them do not count.
    QString dataSource;
    QString pair;
    QChar quote;
    const auto take = [&]() {
        const int equals = pair.indexOf(QLatin1Char('='));
        if (equals > 0) {
            const QString key = pair.left(equals).simplified();
            if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
                dataSource = unquoted(pair.mid(equals + 1));
        }
        pair.clear();
    };
    QChar closed; // the quote that ended just before, which a second one reopens
    for (const QChar c : connectionString) {
        if (!quote.isNull()) {
            if (c == quote)
                closed = std::exchange(quote, QChar());
            pair.append(c);
            continue;
        }
        if (!closed.isNull() && c == closed) {
            quote = std::exchange(closed, QChar());
            pair.append(c);
            continue;
        }
        closed = QChar();
        if (c == QLatin1Char(';')) {
            take();
        } else {
            if ((c == QLatin1Char('"') || c == QLatin1Char('\'')) &&
                pair.contains(QLatin1Char('=')) &&
                pair.mid(pair.indexOf(QLatin1Char('=')) + 1).trimmed().isEmpty())
                quote = c;
            pair.append(c);
        }
    }
    take();
    return dataSource;
}

QString dataSourceValue(const QString& path)
{
    const bool plain = !path.contains(QLatin1Char(';')) && !path.startsWith(QLatin1Char('"')) &&
                       !path.startsWith(QLatin1Char('\'')) && path.trimmed() == path;
    if (plain)
        return path;
    const QChar quote = path.contains(QLatin1Char('"')) && !path.contains(QLatin1Char('\''))
                            ? QLatin1Char('\'')
                            : QLatin1Char('"');
    return quote + QString(path).replace(quote, QString(2, quote)) + quote;
}

// ---------------------------------------------------------------- Connection

std::shared_ptr<Connection> Connection::create()
{
    return std::shared_ptr<Connection>(new Connection());
}

void Connection::Open(const QString& connectionString, const QString& /*user*/,
                      const QString& /*password*/, int /*options*/)
{
    if (State() == adStateOpen)
        throw AppError(kObjectOpen, kConnectionSource,
                       QStringLiteral("Operation is not allowed when the object is open."));
    const QString path = dataSourceFromConnectionString(connectionString);
    m_connection = db::SqliteConnection::open(path, kConnectionSource);
    m_connectionString = connectionString;
}

void Connection::Close()
{
    if (State() != adStateOpen)
        throw db::closedError(kConnectionSource);
    m_connection->close();
    m_connection.reset();
}

int Connection::State() const
{
    return m_connection && m_connection->isOpen() ? adStateOpen : adStateClosed;
}

QString Connection::ConnectionString() const
{
    return m_connectionString;
}

std::shared_ptr<Recordset> Connection::Execute(const QString& sql)
{
    if (State() != adStateOpen)
        throw db::closedError(kConnectionSource);
    auto recordset = Recordset::create();
    try {
        recordset->fillFrom(m_connection, sql);
    } catch (const AppError& error) {
        throw withSource(error, kConnectionSource);
    }
    return recordset;
}

std::shared_ptr<db::SqliteConnection> Connection::handle() const
{
    return m_connection;
}

// ---------------------------------------------------------------- Field

QString Field::Name() const
{
    if (!m_owner->m_open)
        throw db::closedError(kRecordsetSource);
    return m_owner->m_names.at(m_index);
}

QVariant Field::Value() const
{
    if (!m_owner->m_open)
        throw db::closedError(kRecordsetSource);
    if (m_owner->BOF() || m_owner->EOF())
        throw noCurrentRecord();
    return m_owner->m_rows->value(m_owner->m_position, m_index);
}

// ---------------------------------------------------------------- Recordset

std::shared_ptr<Recordset> Recordset::create()
{
    return std::shared_ptr<Recordset>(new Recordset());
}

Recordset::~Recordset() = default;

int Recordset::rowCount() const
{
    return m_rows ? m_rows->rowCount() : 0;
}

void Recordset::Open(const QString& source, const std::shared_ptr<Connection>& connection,
                     int /*cursorType*/, int /*lockType*/, int /*options*/)
{
    if (m_open)
        throw AppError(kObjectOpen, kRecordsetSource,
                       QStringLiteral("Operation is not allowed when the object is open."));
    if (!connection || connection->State() != adStateOpen)
        throw db::closedError(kRecordsetSource);
    fillFrom(connection->handle(), source);
}

void Recordset::fillFrom(const std::shared_ptr<db::SqliteConnection>& connection,
                         const QString& sql)
{
    if (!connection || !connection->isOpen())
        throw db::closedError(kRecordsetSource);
    QString text;
    if (const auto table = db::bareTableName(sql)) {
        const QString stored = connection->storedTableName(*table);
        if (stored.isEmpty())
            throw db::tableNotFoundError(*table, kRecordsetSource);
        text = QStringLiteral("SELECT * FROM %1").arg(db::quoteIdentifier(stored));
    } else {
        text = db::translateJetSql(db::withoutTrailingSemicolons(sql));
    }

    db::Statement statement = connection->prepare(text, kRecordsetSource);
    m_open = false;
    m_names.clear();
    m_rows.reset();
    m_position = 0;
    if (!statement)
        return;
    db::ResultColumns columns = db::resultColumns(statement.get());
    const bool returnsRows = !columns.types.empty();
    // Read to the end and finalize at once: no read lock outlives the open,
    // and the count is exact whatever cursor was asked for.
    auto rows = std::make_unique<db::StoredRows>(std::move(columns.types));
    while (db::stepStatement(statement.get(), kRecordsetSource, sql))
        rows->append(statement.get());
    statement.reset();
    if (!returnsRows)
        return; // an action query leaves the recordset closed
    m_names = std::move(columns.names);
    m_rows = std::move(rows);
    m_open = true;
}

void Recordset::Close()
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    m_open = false;
    m_names.clear();
    m_rows.reset();
    m_position = 0;
}

int Recordset::State() const
{
    return m_open ? adStateOpen : adStateClosed;
}

int Recordset::RecordCount() const
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    return rowCount();
}

bool Recordset::BOF() const
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    return rowCount() == 0 || m_position < 0;
}

bool Recordset::EOF() const
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    return m_position >= rowCount();
}

void Recordset::MoveFirst()
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    if (rowCount() == 0)
        throw noCurrentRecord();
    m_position = 0;
}

void Recordset::MoveNext()
{
    if (EOF())
        throw noCurrentRecord();
    ++m_position;
}

void Recordset::MovePrevious()
{
    if (BOF())
        throw noCurrentRecord();
    --m_position;
}

void Recordset::MoveLast()
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    if (rowCount() == 0)
        throw noCurrentRecord();
    m_position = rowCount() - 1;
}

int Recordset::FieldCount() const
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    return static_cast<int>(m_names.size());
}

Field Recordset::Fields(int index) const
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    if (index < 0 || index >= m_names.size())
        throw itemNotFound(QString::number(index));
    return Field(this, index);
}

Field Recordset::Fields(const QString& name) const
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return Field(this, i);
    }
    throw itemNotFound(name);
}

QStringList Recordset::fieldNames() const
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    return m_names;
}

QVariant Recordset::value(int row, int column) const
{
    if (!m_open)
        throw db::closedError(kRecordsetSource);
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_names.size())
        throw itemNotFound(QStringLiteral("row %1, column %2").arg(row).arg(column));
    return m_rows->value(row, column);
}

// ---------------------------------------------------------------- Command

std::shared_ptr<Recordset> Command::Execute()
{
    if (!ActiveConnection || ActiveConnection->State() != adStateOpen)
        throw db::closedError(kCommandSource);
    try {
        return ActiveConnection->Execute(CommandText);
    } catch (const AppError& error) {
        throw withSource(error, kCommandSource);
    }
}

} // namespace ado
