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
    bool choosePrinter(QPrinter& printer, const QString& title) override;

    // "Cases (*.AGV)|*.AGV|All Files|*.*" as Qt's "Cases (*.AGV);;All Files (*.*)".
    static QString qtFilter(const QString& dialogFilter);
};

} // namespace platform
