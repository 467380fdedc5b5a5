#pragma once

// Files and raised errors as the tests read them back.

#include "platform/core/AppError.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// A file's bytes; "<missing>" when it cannot be read.
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
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw AppError(75, QStringLiteral("test"), QStringLiteral("cannot write ") + path);
}

// Bytes that differ from position to position, so that a chunk out of place
// or a missing tail shows.
inline QByteArray patternBytes(qint64 size, unsigned seed = 7)
{
    QByteArray bytes(size, Qt::Uninitialized);
    unsigned x = seed;
    for (qint64 i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = static_cast<char>((x >> 16) & 0xff);
    }
    return bytes;
}

// The failure a class raises for any error inside one of its procedures.
inline void expectClassFailure(const AppError& e, const QString& cls, const QString& procedure)
{
    EXPECT_EQ(e.number(), kClassFailure) << qPrintable(procedure);
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.%1.%2").arg(cls, procedure));
    EXPECT_EQ(e.description(), cls + QStringLiteral(" component failure"));
}

// Runs body and returns the AppError it raised; fails the test when none.
template <typename F> AppError raised(F&& body)
{
    try {
        body();
    } catch (const AppError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return AppError(0, QString(), QStringLiteral("nothing raised"));
}
