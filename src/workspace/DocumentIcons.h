#pragma once

#include <QIcon>
#include <QString>

// The small pictures of the document list, one per type key ("WORD",
// "EXCEL", "IE", "POWERPOINT", "TEXT", "ACCESS", "JPEG", "OTHER"): the
// desktop theme's icon for the type, or the program's own picture when the
// theme has none.
namespace documenticons {

QIcon icon(const QString& key);

} // namespace documenticons
