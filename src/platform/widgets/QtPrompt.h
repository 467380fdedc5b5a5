#pragma once

#include "platform/core/Prompt.h"

namespace platform {

// Message boxes, file dialogs, input boxes and named modal windows as Qt
// dialogs, parented to the active window.
class QtPrompt final : public Prompt {
public:
    MsgAnswer message(const QString& text, MsgButtons buttons, MsgIcon icon,
                      const QString& title) override;
    FileDialogResult fileDialog(const FileDialogRequest& request) override;
    std::optional<QString> input(const QString& text, const QString& title,
                                 const QString& defaultText) override;
    int showModal(const QString& windowName, const QVariantMap& values) override;

    // "Cases (*.AGV)|*.AGV|All Files|*.*" as Qt's "Cases (*.AGV) (*.AGV);;All Files (*.*)".
    static QString qtFilter(const QString& dialogFilter);
};

// Flags of the file dialog requests, as the callers pass them.
namespace fileflags {
constexpr int ReadOnly = 0x1;
constexpr int OverwritePrompt = 0x2;
constexpr int HideReadOnly = 0x4;
constexpr int PathMustExist = 0x800;
constexpr int FileMustExist = 0x1000;
} // namespace fileflags

} // namespace platform
