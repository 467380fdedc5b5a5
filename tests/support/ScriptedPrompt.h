#pragma once

#include "platform/core/Prompt.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <deque>
#include <functional>
#include <utility>

// A prompt that answers from a script and records everything it was asked.
// Installed by the constructor and removed by the destructor, so a test
// only needs a local instance.
class ScriptedPrompt final : public platform::Prompt {
public:
    struct Shown {
        QString kind;  // "message", "file", "input", "modal", "print"
        QString text;  // message text, dialog title, input text or window name
        QString title; // title as the caller passed it (empty = default)
        platform::MsgIcon icon = platform::MsgIcon::None;
        platform::MsgButtons buttons = platform::MsgButtons::OK;
        platform::FileDialogRequest file;
        QVariantMap values; // for modal windows
    };

    ScriptedPrompt();
    ~ScriptedPrompt() override;

    // Answers are used in order; when none is queued a message gets OK (or
    // No for Yes/No questions), a file dialog is cancelled, an input is cancelled.
    void answer(platform::MsgAnswer a) { m_answers.push_back(a); }
    void chooseFile(const QString& path) { m_files.push_back(path); }
    void cancelFile() { m_files.push_back(QString()); }
    void typeInput(const QString& text) { m_inputs.push_back(text); }
    void modalResult(int code) { m_modal.push_back(code); }
    // The print dialog sends the print to a PDF file at path and is
    // accepted, or cancelled after that choice. Unscripted, it is cancelled
    // with nothing chosen.
    // Runs while each message box is up, to look at what stands behind it.
    void whileMessageShown(std::function<void(const QString& text)> look)
    {
        m_whileMessage = std::move(look);
    }
    void printTo(const QString& path, bool accept = true) { m_prints.push_back({path, accept}); }

    const QList<Shown>& shown() const { return m_shown; }
    QStringList messages() const; // texts of every message box so far
    int count(const QString& kind) const;
    void clear() { m_shown.clear(); }

    platform::MsgAnswer message(const QString& text, platform::MsgButtons buttons,
                                platform::MsgIcon icon, const QString& title) override;
    platform::FileDialogResult fileDialog(const platform::FileDialogRequest& request) override;
    std::optional<QString> input(const QString& text, const QString& title,
                                 const QString& defaultText) override;
    int showModal(const QString& windowName, const QVariantMap& values) override;
    bool choosePrinter(QPrinter& printer, const QString& title) override;

private:
    platform::Prompt* m_previous = nullptr;
    QList<Shown> m_shown;
    std::deque<platform::MsgAnswer> m_answers;
    std::deque<QString> m_files;
    std::deque<QString> m_inputs;
    std::deque<int> m_modal;
    std::deque<std::pair<QString, bool>> m_prints;
    std::function<void(const QString&)> m_whileMessage;
};
