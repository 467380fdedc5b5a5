#pragma once

// Reading a case file back behind the record objects' backs, through a
// connection of its own, so that tests assert what was really stored; and the
// fixture the record tests share.

#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "support/ScriptedPrompt.h"
#include "support/TempCase.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace recordstest {

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

inline int count(const QString& path, const QString& sql)
{
    const auto v = cell(path, sql);
    return v ? v->toInt() : -1;
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw AppError(75, QStringLiteral("test"), QStringLiteral("cannot write ") + path);
    f.write(bytes);
}

// Bytes that differ from position to position, so that a chunk out of place
// or a missing tail shows.
inline QByteArray patternBytes(qint64 size, unsigned seed = 7)
{
    QByteArray bytes;
    bytes.resize(size);
    unsigned x = seed;
    for (qint64 i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = static_cast<char>((x >> 16) & 0xff);
    }
    return bytes;
}

// Runs body and returns the AppError it raised; fails the test when none.
template <typename F>
AppError raised(F&& body)
{
    try {
        body();
    } catch (const AppError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return AppError(0, QString(), QString());
}

// A fresh copy of the sample case, open, with the shared state reset before
// and after and every question answered by the script.
class RecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppState();
        path = cases.createSample();
        db = dao::DBEngine::OpenDatabase(path);
    }
    void TearDown() override
    {
        db.reset();
        resetAppState();
    }

    ScriptedPrompt prompt;
    TempCase cases;
    QString path;
    std::shared_ptr<dao::Database> db;
};

} // namespace recordstest
