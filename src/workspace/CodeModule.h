#pragma once

#include <QString>

class QTreeWidget;
class QWidget;
class frmRedoZiv;

// Procedures several windows share: closing the open case back to the start
// layout, opening the help, text replacement, list column sizing and fast
// clearing of the case tree. Each reports its own failures and goes on.
namespace codemodule {

// Writes pending detail edits back, closes the case and puts the main
// window into its start layout.
void DoCaseClose(frmRedoZiv& frm);

// Shows a help page in the help window; a missing page is reported.
void ShowHelpFile(const QString& path);

// The program's help page, under the program folder.
QString helpFilePath();

// Replaces every occurrence of find in text, in place, searching on after
// each replacement (so a replacement that holds find ends after one pass).
// With wholeWord an occurrence is replaced only when it starts the text or
// follows a blank, and ends the text or is followed by a blank.
void ReplaceAll(QString& text, const QString& find, const QString& replacement, bool wholeWord);

// Sizes every column to the larger of its contents and header; with
// sizeLast the last column then takes the rest of the list's width.
void AutoSizeListViewColumns(QTreeWidget* list, bool sizeLast);
// The last column takes the list's width less the other columns, a
// vertical scroll bar's width and 10 pixels. False where that leaves it no
// room, and its width is unchanged.
bool AutoSizeLastColumn(QTreeWidget* list);

// Switches a window's painting off and on, so a long update paints once.
void TreeRedraw(QWidget* window, bool redraw);

} // namespace codemodule
