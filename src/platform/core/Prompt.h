#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

class QPrinter;

// Every message box, question, input box, file dialog and modal window of the
// program goes through this seam, so that tests can script the answers and
// read back exactly what the user would have been shown.
namespace platform {

// Values as the message-box calls of the windows pack them.
enum class MsgIcon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
// YesNoDefaultNo makes No the default button, for questions before a deletion.
enum class MsgButtons {
    OK = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    YesNoDefaultNo = 4 + 256
};
enum class MsgAnswer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct FileDialogRequest {
    bool save = false; // save dialog when true, open dialog otherwise
    QString title;
    QString fileName;      // proposed name
    QString filter;        // "Description|*.ext|Description|*.ext"
    QString initDir;       // start folder; empty = the program folder
    int flags = 0;         // the dialog flags the caller asked for
    QString defaultSuffix; // added to a typed name without an extension ("AGV")
};

// Flags of the file dialog requests, as the callers pass them.
namespace fileflags {
constexpr int ReadOnly = 0x1;
constexpr int OverwritePrompt = 0x2;
constexpr int HideReadOnly = 0x4;
constexpr int PathMustExist = 0x800;
constexpr int FileMustExist = 0x1000;
} // namespace fileflags

struct FileDialogResult {
    QString fileName;  // full path; empty when cancelled
    QString fileTitle; // name without folder
    bool cancelled() const { return fileName.isEmpty(); }
};

class Prompt {
public:
    virtual ~Prompt() = default;

    // An empty title means the application title.
    virtual MsgAnswer message(const QString& text, MsgButtons buttons, MsgIcon icon,
                              const QString& title) = 0;
    virtual FileDialogResult fileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> input(const QString& text, const QString& title,
                                         const QString& defaultText) = 0;
    // A named modal window (such as "frmError"), given the values it shows.
    // Returns the window's result code.
    virtual int showModal(const QString& windowName, const QVariantMap& values) = 0;
    // The print dialog: the user chooses the printer and its settings, which
    // are set on printer. False when the user cancelled.
    virtual bool choosePrinter(QPrinter& printer, const QString& title) = 0;
};

// The process-wide prompt. Without one installed, every call fails loudly:
// a core class must never block on a dialog nobody set up.
Prompt& prompt();
void setPrompt(Prompt* prompt);

// Shorthand for the common OK box with the default title.
MsgAnswer msgBox(const QString& text, MsgButtons buttons = MsgButtons::OK,
                 MsgIcon icon = MsgIcon::None, const QString& title = QString());

} // namespace platform
