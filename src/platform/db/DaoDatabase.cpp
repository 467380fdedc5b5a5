#include "Dao.h"

#include "JetSql.h"
#include "RecordsetData.h"
#include "SqliteConnection.h"

namespace dao {

namespace {

const QString kSource = QStringLiteral("DAO.Database");
constexpr int kTableExists = 3010;
constexpr int kCannotExecuteSelect = 3065;
constexpr int kNoFieldDefined = 3264;
constexpr int kInvalidFieldType = 3259;
constexpr int kDuplicateField = 3191;

// The declared type a new column gets for a DAO field type; text columns
// compare without regard to case, as Jet does.
QString columnDeclaration(const FieldDef& field)
{
    switch (field.Type()) {
    case dbBoolean:
        return QStringLiteral("BOOLEAN");
    case dbByte:
        return QStringLiteral("TINYINT");
    case dbInteger:
        return QStringLiteral("SMALLINT");
    case dbLong:
        if (field.Attributes() & dbAutoIncrField)
            return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        return QStringLiteral("INTEGER");
    case dbCurrency:
        return QStringLiteral("DECIMAL");
    case dbSingle:
        return QStringLiteral("REAL");
    case dbDouble:
        return QStringLiteral("DOUBLE");
    case dbDate:
        return QStringLiteral("DATETIME");
    case dbText:
        return QStringLiteral("VARCHAR(%1) COLLATE NOCASE")
            .arg(field.Size() > 0 ? field.Size() : 255);
    case dbLongBinary:
        return QStringLiteral("BLOB");
    case dbMemo:
        return QStringLiteral("TEXT COLLATE NOCASE");
    default:
        throw AppError(kInvalidFieldType, kSource,
                       QStringLiteral("Invalid field data type %1 for field '%2'.")
                           .arg(field.Type())
                           .arg(field.Name()));
    }
}

} // namespace

FieldDef::FieldDef(QString name, int type, int size)
    : m_name(std::move(name))
    , m_type(type)
    , m_size(size)
{
}

std::shared_ptr<FieldDef> TableDef::CreateField(const QString& name, int type, int size)
{
    return std::make_shared<FieldDef>(name, type, size);
}

void TableDef::AppendField(std::shared_ptr<FieldDef> field)
{
    for (const auto& existing : m_fields) {
        if (existing->Name().compare(field->Name(), Qt::CaseInsensitive) == 0)
            throw AppError(
                kDuplicateField, QStringLiteral("DAO.TableDef"),
                QStringLiteral("Cannot define field '%1' more than once.").arg(field->Name()));
    }
    m_fields.push_back(std::move(field));
}

Database::Database(std::shared_ptr<db::SqliteConnection> connection)
    : m_connection(std::move(connection))
{
}

Database::~Database() = default;

namespace {

db::SqliteConnection& openConnection(const std::shared_ptr<db::SqliteConnection>& connection)
{
    if (!connection || !connection->isOpen())
        throw db::closedError(kSource);
    return *connection;
}

} // namespace

std::shared_ptr<Recordset> Database::OpenRecordset(const QString& source, int type)
{
    db::SqliteConnection& connection = openConnection(m_connection);
    QString sql;
    if (const auto table = db::bareTableName(source)) {
        const QString stored = connection.storedTableName(*table);
        if (stored.isEmpty())
            throw db::tableNotFoundError(*table, kSource);
        sql = QStringLiteral("SELECT * FROM %1").arg(db::quoteIdentifier(stored));
    } else {
        sql = db::translateJetSql(db::withoutTrailingSemicolons(source));
    }
    return std::shared_ptr<Recordset>(
        new Recordset(db::RecordsetData::load(m_connection, sql, type)));
}

void Database::ReadEach(const QString& sql, const QStringList& columns,
                        const std::function<void(const std::vector<QVariant>& values)>& row)
{
    db::SqliteConnection& connection = openConnection(m_connection);
    const QString text = db::translateJetSql(db::withoutTrailingSemicolons(sql));
    db::Statement statement = connection.prepare(text, kSource);
    const db::ResultColumns result = db::resultColumns(statement.get());
    if (result.types.empty())
        throw db::invalidStatementError(kSource);
    std::vector<int> at;
    for (const QString& name : columns) {
        at.push_back(result.indexOf(name));
        if (at.back() < 0)
            throw db::fieldNotFoundError(name, kSource);
    }
    std::vector<QVariant> values(at.size());
    while (db::stepStatement(statement.get(), kSource, sql)) {
        for (std::size_t i = 0; i < at.size(); ++i)
            values[i] = db::readColumn(statement.get(), at[i],
                                       result.types[static_cast<std::size_t>(at[i])]);
        row(values);
    }
}

void Database::Execute(const QString& sql)
{
    db::SqliteConnection& connection = openConnection(m_connection);
    const QString text = db::translateJetSql(db::withoutTrailingSemicolons(sql));
    db::Statement statement = connection.prepare(text, kSource);
    if (!statement)
        throw db::invalidStatementError(kSource);
    if (sqlite3_column_count(statement.get()) > 0 && sqlite3_stmt_readonly(statement.get()))
        throw AppError(kCannotExecuteSelect, kSource,
                       QStringLiteral("Cannot execute a select query. '%1'").arg(sql.simplified()));
    connection.setRecordsAffected(0);
    while (db::stepStatement(statement.get(), kSource, sql)) {
    }
    connection.setRecordsAffected(sqlite3_changes(connection.handle(kSource)));
}

int Database::RecordsAffected() const
{
    return openConnection(m_connection).recordsAffected();
}

std::shared_ptr<TableDef> Database::CreateTableDef(const QString& name)
{
    openConnection(m_connection);
    return std::make_shared<TableDef>(name);
}

void Database::AppendTableDef(const TableDef& table)
{
    db::SqliteConnection& connection = openConnection(m_connection);
    if (table.Name().trimmed().isEmpty())
        throw AppError(jet::InvalidArgument, kSource,
                       QStringLiteral("Invalid argument: a table needs a name."));
    if (connection.tableExists(table.Name()))
        throw AppError(kTableExists, kSource,
                       QStringLiteral("Table '%1' already exists.").arg(table.Name()));
    if (table.Fields().empty())
        throw AppError(
            kNoFieldDefined, kSource,
            QStringLiteral("No field defined--cannot append TableDef '%1'.").arg(table.Name()));
    QStringList columns;
    for (const auto& field : table.Fields())
        columns << db::quoteIdentifier(field->Name()) + QLatin1Char(' ') +
                       columnDeclaration(*field);
    connection.execute(
        QStringLiteral("CREATE TABLE %1 (%2)")
            .arg(db::quoteIdentifier(table.Name()), columns.join(QStringLiteral(", "))),
        kSource);
}

bool Database::tableExists(const QString& name) const
{
    return openConnection(m_connection).tableExists(name);
}

QString Database::Name() const
{
    return openConnection(m_connection).path();
}

void Database::Close()
{
    // Closing twice does no harm; every other call on a closed database raises 3704.
    if (m_connection)
        m_connection->close();
}

bool Database::isOpen() const
{
    return m_connection && m_connection->isOpen();
}

void Database::setWaitForBusyFile(bool wait)
{
    if (m_connection)
        m_connection->setWaitForBusyFile(wait);
}

bool Database::isFile(const QString& path) const
{
    return m_connection && m_connection->isFile(path);
}

Transaction::Transaction(Database& db)
    : m_savepoint(std::make_unique<db::Savepoint>(openConnection(db.m_connection), kSource))
{
}

Transaction::~Transaction() = default;

void Transaction::commit()
{
    m_savepoint->commit();
}

void Database::copyTo(const QString& targetPath) const
{
    openConnection(m_connection).vacuumInto(targetPath, kSource);
}

} // namespace dao
