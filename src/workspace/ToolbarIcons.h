#pragma once

#include <QIcon>
#include <QString>

// The toolbar's pictures by image key: the desktop theme's icon where the
// theme has one, otherwise a picture the program paints itself, so that no
// button is ever blank.
namespace toolbaricons {

QIcon icon(const QString& imageKey);

// The freedesktop name asked of the theme; empty when none fits.
QString themeName(const QString& imageKey);

} // namespace toolbaricons
