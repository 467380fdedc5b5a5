#pragma once

class QWidget;
class frmIssue;

// Loading and unloading of the analysis grid window inside the main
// window's GRID tab. There is at most one loaded window.
namespace analysisforms {

// Creates the window as a child of pane, puts it into the pane's layout (a
// plain vertical one is made when the pane has none) and runs its load,
// which reads the case named by oMain().strFileName. A window that is still
// loaded is unloaded first. The pane owns the new window.
frmIssue* loadIssueWindow(QWidget* pane);

// Runs the loaded window's unload and removes it from its pane; the next
// loadIssueWindow reads the case afresh. Nothing happens when none is loaded.
void unloadIssueWindow();

// The loaded window, or null.
frmIssue* issueWindow();

// Unloads the grid window and closes the advisory text window, for the
// stop sequence's unloading of every window.
void unloadAnalysisWindows();

} // namespace analysisforms
