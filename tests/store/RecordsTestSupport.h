#pragma once

// Stored rows read back column by column, and the fixture the record tests
// share.

#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/TempCurrentFolder.h"
#include "support/CaseRows.h"
#include "support/TempCase.h"
#include "support/TestFiles.h"

#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace recordstest {

// One column of the row of table with the given id; "<no row>" when there is none.
inline QVariant stored(const QString& path, const QString& table, const QString& column,
                       const QString& id)
{
    return cell(path, QStringLiteral("select %1 from %2 where id = %3").arg(column, table, id))
        .value_or(QVariant(QStringLiteral("<no row>")));
}

// Checks stored columns of one row by their text; an invalid QVariant expects a Null.
struct Column {
    const char* name;
    QVariant value;
};
inline void expectRow(const QString& path, const QString& table, const QString& id,
                      std::initializer_list<Column> columns)
{
    for (const auto& c : columns) {
        const QVariant v = stored(path, table, QLatin1String(c.name), id);
        EXPECT_EQ(v.isNull(), !c.value.isValid()) << c.name << " of " << id.toStdString();
        if (c.value.isValid()) {
            EXPECT_EQ(v.toString(), c.value.toString()) << c.name << " of " << id.toStdString();
        }
    }
}

// A fresh copy of the sample case, open.
class RecordTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        path = cases.createSample();
        db = dao::DBEngine::OpenDatabase(path);
    }
    void TearDown() override
    {
        db.reset();
        StoreTest::TearDown();
    }

    TempCase cases;
    QString path;
    std::shared_ptr<dao::Database> db;
};

} // namespace recordstest
