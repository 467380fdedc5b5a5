#include "store/RecordSupport.h"

#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/IDataObject.h"

#include <exception>

namespace records {

dao::Database& database(const std::shared_ptr<dao::Database>& db)
{
    if (!db)
        throw AppError(91, QStringLiteral("Argovo"),
                       QStringLiteral("Object variable or With block variable not set"));
    return *db;
}

void stateStep(int& state, const QString& source)
{
    switch (state) {
    case stUnchanged:
        state = stChanged;
        return;
    case stNew:
    case stChanged:
        return;
    case stDeleting:
        throw AppError(vbObjectError + 513, source,
                       QStringLiteral("This Record is About to be deleted"));
    case stDeleted:
        throw AppError(vbObjectError + 514, source, QStringLiteral("This record has been deleted"));
    default:
        throw AppError(vbObjectError + 515, source,
                       QStringLiteral("This record has not been created yet"));
    }
}

void reraise(const QString& source)
{
    try {
        throw;
    } catch (const AppError& e) {
        throw AppError(e.number(), source, e.description());
    } catch (const std::exception& e) {
        throw AppError(kClassFailure, source, QString::fromLocal8Bit(e.what()));
    }
}

void closeAndReraise(const std::shared_ptr<dao::Recordset>& rs, const QString& source)
{
    if (rs) {
        try {
            rs->Close();
        } catch (...) {
        }
    }
    reraise(source);
}

void reraiseExtended(const QString& suffix)
{
    try {
        throw;
    } catch (const AppError& e) {
        throw AppError(e.number(), e.source() + suffix, e.description());
    } catch (const std::exception& e) {
        throw AppError(kClassFailure, suffix, QString::fromLocal8Bit(e.what()));
    }
}

void classFailure(const QString& source, const QString& description)
{
    throw AppError(kClassFailure, source, description);
}

void deleteItemRows(dao::Database& db, const QString& key)
{
    deleteItemRows(db, QStringList{key});
}

void deleteItemRows(dao::Database& db, const QStringList& keys)
{
    if (keys.isEmpty())
        return;
    // One statement per table whatever the number of items: CodeID has no
    // index, so each statement reads the whole table once, and a statement
    // per item made deleting a large branch take minutes.
    const QString ids = QStringLiteral(" in (") + keys.join(QLatin1Char(',')) + QLatin1Char(')');
    // All three or none: a crash between them would leave bookmarks and
    // document bytes that belong to no item.
    dao::Transaction transaction(db);
    db.Execute(QStringLiteral("delete from Issue where id") + ids);
    db.Execute(QStringLiteral("delete from bookmarks where codeid") + ids);
    db.Execute(QStringLiteral("delete from codefiles where codeid") + ids);
    transaction.commit();
}

QString textOrFail(const QVariant& value)
{
    if (value.isNull())
        throw AppError(94, QStringLiteral("Argovo"), QStringLiteral("Invalid use of Null"));
    return value.toString();
}

} // namespace records
