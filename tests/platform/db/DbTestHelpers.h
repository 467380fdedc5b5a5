#pragma once

// Small helpers shared by the storage engine's tests.

#include "platform/core/AppError.h"
#include "platform/db/Ado.h"
#include "platform/db/Dao.h"

#include "support/TestFiles.h"

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

// Every row of a table, column by column, as one text per row.
inline QStringList dumpTable(const QString& path, const QString& table)
{
    auto rs = openAdo(path)->Execute(QStringLiteral("select * from ") + table +
                                     QStringLiteral(" order by 1"));
    QStringList rows;
    for (int row = 0; row < rs->RecordCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < rs->FieldCount(); ++column)
            cells << rs->value(row, column).toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// The rows of the case's own tables, each prefixed with its table.
inline QStringList dumpCase(const QString& path)
{
    QStringList rows;
    for (const char* table : {"Issue", "Bookmarks", "CodeDBVersion", "CodeFiles"}) {
        for (const QString& row : dumpTable(path, QLatin1String(table)))
            rows << QLatin1String(table) + QLatin1Char(':') + row;
    }
    return rows;
}
