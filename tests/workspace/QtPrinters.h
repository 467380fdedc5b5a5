#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Readable QString values in test failure messages; every test file of this
// folder includes it, so each sees the same printer.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* os)
{
    *os << '[' << texts.join(QStringLiteral(", ")).toStdString() << ']';
}
