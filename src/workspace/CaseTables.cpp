#include "workspace/CaseTables.h"

#include "platform/core/AppError.h"

#include "platform/db/Dao.h"

namespace casetables {
namespace {

QString fieldText(dao::Recordset& rs, const char* name)
{
    const QVariant v = rs.Fields(QString::fromLatin1(name)).Value();
    return v.isNull() ? QString() : v.toString();
}

std::function<bool(dao::Database&)>& writeCheck()
{
    static std::function<bool(dao::Database&)> check;
    return check;
}

// Jet numbers of the failures that mean the file cannot be written: read-only
// file or file system, a journal that cannot be created, disk errors.
bool meansReadOnly(int number)
{
    constexpr int kReadOnly = 3027;
    return number == kReadOnly || number == jet::FileNotFound || number == jet::DiskIo;
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

std::vector<treelogic::IssueRow> readIssueRows(dao::Database& db, const QString& sql)
{
    std::vector<treelogic::IssueRow> rows;
    auto rs = db.OpenRecordset(sql, dao::dbOpenSnapshot);
    while (!rs->EOF()) {
        rows.push_back({fieldText(*rs, "ParentID"), fieldText(*rs, "ID"), fieldText(*rs, "Name"),
                        fieldText(*rs, "ItemType")});
        rs->MoveNext();
    }
    rs->Close();
    return rows;
}

} // namespace casetables
