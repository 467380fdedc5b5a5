#pragma once

// Reading and changing a case file behind the program's back, through a
// connection of the test's own, so that tests see what was really stored.

#include "platform/db/Dao.h"

#include <QString>
#include <QVariant>

#include <optional>

// The first column of the first row of sql; nothing when there is no row.
inline std::optional<QVariant> cell(const QString& path, const QString& sql)
{
    auto db = dao::DBEngine::OpenDatabase(path);
    auto rs = db->OpenRecordset(sql, dao::dbOpenSnapshot);
    std::optional<QVariant> value;
    if (!rs->EOF())
        value = rs->Fields(0).Value();
    rs->Close();
    db->Close();
    return value;
}

// The same, an invalid value when there is no row.
inline QVariant valueIn(const QString& path, const QString& sql)
{
    return cell(path, sql).value_or(QVariant());
}

inline void execIn(const QString& path, const QString& sql)
{
    auto db = dao::DBEngine::OpenDatabase(path);
    db->Execute(sql);
    db->Close();
}

// How many rows "<table> [where ...]" holds.
inline int countIn(const QString& path, const QString& tableAndWhere)
{
    return valueIn(path, QStringLiteral("select count(*) from ") + tableAndWhere).toInt();
}
