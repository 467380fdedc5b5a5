#pragma once

#include <QString>

// What the case-file manager (COpen) needs of the main window. The main
// window implements it; tests fake it.
class ICaseWindow {
public:
    virtual ~ICaseWindow() = default;
    // Writes back what the window holds of the current item before the case
    // is copied or left; a failure is reported to the user. False when the
    // write failed and the user chose to stay: the case is not left.
    virtual bool WritePendingEdits() { return true; }
    // Opens gDB on oMain().strFileName; true when the case database was opened.
    virtual bool SetupDBConnection() = 0;
    virtual void ClearTreeView() = 0;
    virtual void FillTree(const QString& sql) = 0;
    // ctlBookmarkList.Initialise with gDB.
    virtual void InitialiseBookmarks() = 0;
    virtual void EnableControls(bool enable) = 0;
    // Enabled of tbTools, mnuFile, mnuInsert, mnuView, mnuReports, mnuHelp.
    virtual void setCaseMenusEnabled(bool enable) = 0;
    // Left of pnlStart, in twips.
    virtual int pnlStartLeft() const = 0;
    virtual void setPnlStartLeft(int left) = 0;
    // Unloads the analysis window of an earlier case, if loaded.
    virtual void UnloadAnalysisWindow() = 0;
    // The case close of the main window (DoCaseClose).
    virtual void DoCaseClose() = 0;
};
