#pragma once

// Small helpers shared by the storage engine's tests.

#include "platform/core/AppError.h"
#include "platform/db/Ado.h"
#include "platform/db/Dao.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

// The Jet number an operation raises, or 0 when it raises nothing.
inline int errorNumberOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const AppError& error) {
        return error.number();
    }
    return 0;
}

inline AppError errorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const AppError& error) {
        return error;
    }
    return AppError(0, QString(), QStringLiteral("nothing raised"));
}

// One column of every row of a DAO recordset, as text.
inline QStringList columnTexts(dao::Recordset& rs, const QString& field)
{
    QStringList texts;
    while (!rs.EOF()) {
        texts << rs.Fields(field).Value().toString();
        rs.MoveNext();
    }
    return texts;
}

inline int countRows(dao::Database& db, const QString& sql)
{
    auto rs = db.OpenRecordset(sql, dao::dbOpenSnapshot);
    return rs->RecordCount();
}

inline std::shared_ptr<ado::Connection> openAdo(const QString& path)
{
    auto connection = ado::Connection::create();
    connection->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
                     QLatin1Char(';'));
    return connection;
}
