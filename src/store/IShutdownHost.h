#pragma once

// The window side of the stop sequence, implemented by the main window.
class IShutdownHost {
public:
    virtual ~IShutdownHost() = default;
    // Writes back what the window holds of the current item, before anything
    // is closed; a failure is reported to the user. False when the write
    // failed and the user chose to stay with what was typed.
    virtual bool WritePendingEdits() { return true; }
    // Terminate on the bookmark pane and the document pane.
    virtual void TerminatePanes() = 0;
    // The grid report's state; when it is 1 Shutdown calls StopGridReport.
    virtual int GridReportState() const = 0;
    virtual void StopGridReport() = 0;
    // Unloads every loaded window of the program.
    virtual void UnloadAllWindows() = 0;
};

IShutdownHost* shutdownHost();
void setShutdownHost(IShutdownHost* host);
