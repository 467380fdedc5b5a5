#include "ScriptedPrompt.h"

#include <QFileInfo>
#include <QPrinter>

using namespace platform;

ScriptedPrompt::ScriptedPrompt()
    : m_previous(&prompt())
{
    setPrompt(this);
}

ScriptedPrompt::~ScriptedPrompt()
{
    setPrompt(nullptr);
}

QStringList ScriptedPrompt::messages() const
{
    QStringList texts;
    for (const auto& s : m_shown)
        if (s.kind == QLatin1String("message"))
            texts << s.text;
    return texts;
}

int ScriptedPrompt::count(const QString& kind) const
{
    int n = 0;
    for (const auto& s : m_shown)
        n += s.kind == kind ? 1 : 0;
    return n;
}

MsgAnswer ScriptedPrompt::message(const QString& text, MsgButtons buttons, MsgIcon icon,
                                  const QString& title)
{
    Shown s;
    s.kind = QStringLiteral("message");
    s.text = text;
    s.title = title;
    s.icon = icon;
    s.buttons = buttons;
    m_shown.push_back(s);
    if (m_whileMessage)
        m_whileMessage(text);
    if (!m_answers.empty()) {
        const MsgAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoDefaultNo ||
                   buttons == MsgButtons::YesNoCancel
               ? MsgAnswer::No
               : MsgAnswer::OK;
}

FileDialogResult ScriptedPrompt::fileDialog(const FileDialogRequest& request)
{
    Shown s;
    s.kind = QStringLiteral("file");
    s.text = request.title;
    s.file = request;
    m_shown.push_back(s);
    FileDialogResult result;
    if (!m_files.empty()) {
        result.fileName = m_files.front();
        m_files.pop_front();
        if (!result.fileName.isEmpty())
            result.fileTitle = QFileInfo(result.fileName).fileName();
    }
    return result;
}

std::optional<QString> ScriptedPrompt::input(const QString& text, const QString& title,
                                             const QString&)
{
    Shown s;
    s.kind = QStringLiteral("input");
    s.text = text;
    s.title = title;
    m_shown.push_back(s);
    if (m_inputs.empty())
        return std::nullopt;
    QString v = m_inputs.front();
    m_inputs.pop_front();
    return v;
}

int ScriptedPrompt::showModal(const QString& windowName, const QVariantMap& values)
{
    Shown s;
    s.kind = QStringLiteral("modal");
    s.text = windowName;
    s.values = values;
    m_shown.push_back(s);
    if (m_modal.empty())
        return 0;
    const int code = m_modal.front();
    m_modal.pop_front();
    return code;
}

bool ScriptedPrompt::choosePrinter(QPrinter& printer, const QString& title)
{
    Shown s;
    s.kind = QStringLiteral("print");
    s.text = title;
    m_shown.push_back(s);
    if (m_prints.empty())
        return false;
    const auto [path, accept] = m_prints.front();
    m_prints.pop_front();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return accept;
}
