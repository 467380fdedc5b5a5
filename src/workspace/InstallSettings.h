#pragma once

#include <QString>

// Settings of the installation, read from "argovo.ini" beside the program:
// where the maker's web pages are and where support mail goes. A missing
// file or key gives the defaults.
namespace installsettings {

inline const QString kFileName = QStringLiteral("argovo.ini");

// The maker's web home page, without a trailing slash.
QString makerHome();
// A page under the maker's home: path starts with "/".
QString makerPage(const QString& path);
// The support mail address, without "mailto:".
QString supportMail();

} // namespace installsettings
