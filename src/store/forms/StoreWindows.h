#pragma once

// Registers the storage subsystem's modal windows with the prompt, so that
// prompt().showModal("frmError", ...) opens them; main() calls it once after
// installing the Qt seams.
void registerStoreWindows();
