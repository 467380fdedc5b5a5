#pragma once

#include <QString>

// Fixed product texts and the program's own folder.
namespace appinfo {
inline const QString kProductLabel = QStringLiteral("Argovo 2003");
inline const QString kVersionLabel = QStringLiteral("2.1");
inline const QString kAppTitle = QStringLiteral("Tovrena 2003");

// "major.minor.revision" of the running program.
QString versionText();

// The folder the program runs from; tests may point it elsewhere.
QString programFolder();
void setProgramFolder(const QString& folder);
} // namespace appinfo
