#include "workspace/CaseTables.h"

#include "platform/core/AppError.h"

#include "platform/db/Dao.h"
#include "platform/db/ReadAhead.h"

#include <QRegularExpression>

namespace casetables {
namespace {

std::function<bool(dao::Database&)>& writeCheck()
{
    static std::function<bool(dao::Database&)> check;
    return check;
}

// Jet numbers of the failures that mean the file cannot be written: read-only
// file or file system, a journal that cannot be created, disk errors.
bool meansReadOnly(int number)
{
    return number == jet::ReadOnly || number == jet::FileNotFound || number == jet::DiskIo;
}

} // namespace

bool canWrite(dao::Database& db)
{
    if (writeCheck())
        return writeCheck()(db);
    dao::DBEngine::BeginTrans();
    try {
        // A new table writes the schema page, which needs the journal too.
        db.Execute(QStringLiteral("create table ArgovoWriteCheck (x int)"));
    } catch (const AppError& e) {
        dao::DBEngine::Rollback();
        if (meansReadOnly(e.number()))
            return false;
        throw;
    }
    dao::DBEngine::Rollback();
    return true;
}

void setWriteCheck(std::function<bool(dao::Database&)> check)
{
    writeCheck() = std::move(check);
}

bool isCaseFile(const dao::Database& db)
{
    return db.tableExists(QStringLiteral("Issue"));
}

bool ensureVersionTable(dao::Database& db, const QString& version)
{
    try {
        std::shared_ptr<dao::Recordset> rs;
        try {
            rs = db.OpenRecordset(QStringLiteral("select version from CodeDBVersion"));
        } catch (const AppError& e) {
            if (e.number() != jet::TableNotFound)
                return false;
            auto table = db.CreateTableDef(QStringLiteral("CodeDBVersion"));
            table->AppendField(table->CreateField(QStringLiteral("Version"), dao::dbText));
            db.AppendTableDef(*table);
            auto added = db.OpenRecordset(QStringLiteral("CodeDBVersion"));
            added->AddNew();
            added->Fields(QStringLiteral("Version")).setValue(version);
            added->Update();
            added->Close();
            return true;
        }
        if (rs->BOF() && rs->EOF()) {
            rs->AddNew();
            rs->Fields(QStringLiteral("version")).setValue(version);
            rs->Update();
            rs->setBookmark(rs->LastModified());
        }
        // Read back; the version that first opened the file is not compared.
        (void)rs->Fields(QStringLiteral("version")).Value();
        rs->Close();
        return true;
    } catch (...) {
        // An older file that cannot take the table still opens.
        return false;
    }
}

void ensureCodeFilesTable(dao::Database& db)
{
    try {
        db.OpenRecordset(QStringLiteral("codefiles"))->Close();
    } catch (const AppError& e) {
        if (e.number() != jet::TableNotFound)
            return;
        try {
            auto table = db.CreateTableDef(QStringLiteral("CodeFiles"));
            auto id = table->CreateField(QStringLiteral("ID"), dao::dbLong);
            table->AppendField(id);
            id->setAttributes(dao::dbAutoIncrField);
            table->AppendField(table->CreateField(QStringLiteral("CodeID"), dao::dbLong));
            table->AppendField(table->CreateField(QStringLiteral("Description"), dao::dbText, 50));
            table->AppendField(table->CreateField(QStringLiteral("OrigDateTime"), dao::dbDate));
            table->AppendField(table->CreateField(QStringLiteral("DateAdded"), dao::dbDate));
            // Long enough for any full path of a document's source file.
            table->AppendField(table->CreateField(QStringLiteral("Path"), dao::dbText, 4096));
            // Last, so that a new document's bytes are stored in place.
            table->AppendField(table->CreateField(QStringLiteral("File"), dao::dbLongBinary));
            db.AppendTableDef(*table);
        } catch (...) {
        }
    } catch (...) {
    }
}

QString narrowToTreeColumns(const QString& sql)
{
    static const QRegularExpression selectAll(QStringLiteral("^\\s*select\\s+\\*\\s+from\\s"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = selectAll.match(sql);
    if (!match.hasMatch())
        return sql;
    return QStringLiteral("select ParentID, ID, Name, ItemType from ") +
           sql.mid(match.capturedEnd());
}

namespace {

const QStringList kTreeColumns{QStringLiteral("ParentID"), QStringLiteral("ID"),
                               QStringLiteral("Name"), QStringLiteral("ItemType")};

void addTreeRow(treelogic::TreeBuilder& builder, const std::vector<QVariant>& values)
{
    const auto text = [&](std::size_t i) {
        return values[i].isNull() ? QString() : values[i].toString();
    };
    const auto integer = [&](std::size_t i) {
        const int type = values[i].typeId();
        return type == QMetaType::LongLong || type == QMetaType::Int;
    };
    if (integer(0) && integer(1))
        builder.add(values[0].toLongLong(), values[1].toLongLong(), text(2), text(3));
    else
        builder.add(text(0), text(1), text(2), text(3));
}

} // namespace

treelogic::TreeStructure readIssueTree(dao::Database& db, const QString& sql)
{
    treelogic::TreeBuilder builder;
    // The long texts of every item are not read only to be dropped, and the
    // rows are not held twice: each is taken as it is read.
    db.ReadEach(narrowToTreeColumns(sql), kTreeColumns,
                [&](const std::vector<QVariant>& values) { addTreeRow(builder, values); });
    return builder.finish();
}

TreeReadAhead::TreeReadAhead(const QString& path, const QString& sql)
    : m_path(path)
    , m_sql(sql)
    , m_read(std::make_unique<dao::ReadAhead>(
          path, QStringLiteral("Issue"), narrowToTreeColumns(sql), kTreeColumns,
          [this](const std::vector<QVariant>& values) { addTreeRow(m_builder, values); },
          // The branches are placed and sorted on the reading thread too.
          [this] { m_tree = m_builder.finish(); }))
{
}

TreeReadAhead::~TreeReadAhead() = default;

std::optional<treelogic::TreeStructure> TreeReadAhead::take(const QString& path, const QString& sql)
{
    if (!m_read || !m_read->wait() || path != m_path || sql != m_sql)
        return std::nullopt;
    m_read.reset();
    return std::move(m_tree);
}

} // namespace casetables
