#include "workspace/CaseTables.h"

#include <gtest/gtest.h>

namespace {

TEST(CaseTables, TheTreeReadsOnlyItsFourColumnsOfASelectOfEveryColumn)
{
    const QString four = QStringLiteral("select ParentID, ID, Name, ItemType from ");
    const struct {
        const char* sql;
        QString narrowed;
    } cases[] = {
        {"select * from Issue order by parentid and id",
         four + QStringLiteral("Issue order by parentid and id")},
        {"  SELECT  *  FROM Issue", four + QStringLiteral("Issue")},
        {"select * from NoSuchTable", four + QStringLiteral("NoSuchTable")},
        // Anything else is read as it was written.
        {"select ID, Name, ParentID, ItemType from Issue",
         QStringLiteral("select ID, Name, ParentID, ItemType from Issue")},
        {"select *, 1 from Issue", QStringLiteral("select *, 1 from Issue")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(casetables::narrowToTreeColumns(QLatin1String(c.sql)), c.narrowed) << c.sql;
}

} // namespace
