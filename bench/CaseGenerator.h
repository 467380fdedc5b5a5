#pragma once

#include <QString>

// Case files of a chosen size with the shape real cases have: about a fifth
// of the items at the root, the rest under issues down to six levels, a few
// ratings left empty, names, explanations and questions of everyday length.
// The same seed always gives the same case.
namespace bench {

// Writes a new case file at path from the blank-case script, with items rows
// in table Issue. Throws std::runtime_error on any failure.
void generateCase(const QString& path, const QString& schemaSql, int items);

// A file of bytes pseudo-random bytes (so no layer can shrink it), written in
// pieces and synced.
void generateDocument(const QString& path, qint64 bytes);

} // namespace bench
