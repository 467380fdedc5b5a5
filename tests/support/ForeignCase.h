#pragma once

#include "support/TempCase.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Case files as another tool, or a damaged disk, may hand them over: each
// made from the sample case in a TempCase folder.
namespace foreigncase {

struct Refused {
    const char* label;
    QString (*make)(TempCase& cases);
    // What the refusal names, found in the message the user sees.
    const char* found;
    // What the message says before the file's path.
    const char* before = "The case file ";
};

// A trigger deleting every item on update, Issue as a view over another
// table, a damaged item table, an item table without row ids and one
// without the column of the items' kind.
const std::vector<Refused>& refusedCases();

QString withTrigger(TempCase& cases);
QString withIssueView(TempCase& cases);
QString damaged(TempCase& cases);
QString withoutRowids(TempCase& cases);
QString withoutItemType(TempCase& cases);
// Another tool's table beside the case's own, holding one row.
QString withExtraTable(TempCase& cases);
// Left by its last writer in write-ahead mode.
QString writeAhead(TempCase& cases);

QByteArray fileBytes(const QString& path);
// The byte offset of the first page of table's tree, and the page size.
std::pair<qint64, int> rootPageOf(const QString& path, const QString& table);

} // namespace foreigncase
