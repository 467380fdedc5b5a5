#pragma once

// Registers the main window's modal windows with the prompt, so that
// prompt().showModal("frmAbout", ...) opens them; main() calls it once after
// installing the Qt seams.
void registerWorkspaceWindows();
