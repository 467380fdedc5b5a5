#pragma once

#include <QIcon>
#include <QString>

// The pictures of the case tree, by image key ("ISSUE", "EXHIBIT", "WITNESS",
// "QUESTION", "VIEWBOOKMARKS"); an unknown key gives the issue picture.
namespace treeimages {
QIcon image(const QString& key);
} // namespace treeimages
