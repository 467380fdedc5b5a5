#include "platform/core/AppError.h"
#include "platform/core/Prompt.h"
#include "platform/core/ReportLauncher.h"
#include "platform/core/Shell.h"

namespace platform {
namespace {

// Defaults used before main() or a test installs the real ones.
class MissingPrompt final : public Prompt {
public:
    [[noreturn]] static void fail(const QString& what)
    {
        throw AppError(kClassFailure, QStringLiteral("platform.Prompt"),
                       QStringLiteral("No prompt installed for: ") + what);
    }
    MsgAnswer message(const QString& text, MsgButtons, MsgIcon, const QString&) override
    {
        fail(text);
    }
    FileDialogResult fileDialog(const FileDialogRequest& r) override { fail(r.title); }
    std::optional<QString> input(const QString& text, const QString&, const QString&) override
    {
        fail(text);
    }
    int showModal(const QString& name, const QVariantMap&) override { fail(name); }
    bool choosePrinter(QPrinter&, const QString& title) override { fail(title); }
};

class NoShell final : public Shell {
public:
    int execute(const QString&, const QString&, const QString&, int) override
    {
        return shellresult::NoAssociation;
    }
    void showHelp(const QString&) override {}
};

class NoLifetime final : public AppLifetime {
public:
    void quit(int) override {}
};

// Keeps the last pointer set; the widget layer replaces it with the real cursor.
class PlainScreen final : public Screen {
public:
    int mousePointer() const override { return m_pointer; }
    void setMousePointer(int pointer) override { m_pointer = pointer; }

private:
    int m_pointer = 0;
};

class NoReports final : public ReportLauncher {
public:
    void show(const QString& reportName, int) override
    {
        msgBox(QStringLiteral("The report ") + reportName + QStringLiteral(" is not available."),
               MsgButtons::OK, MsgIcon::Information);
    }
};

MissingPrompt g_missingPrompt;
NoShell g_noShell;
NoLifetime g_noLifetime;
PlainScreen g_plainScreen;

Prompt* g_prompt = nullptr;
Shell* g_shell = nullptr;
AppLifetime* g_lifetime = nullptr;
Screen* g_screen = nullptr;
NoReports g_noReports;
ReportLauncher* g_reportLauncher = nullptr;

} // namespace

Prompt& prompt()
{
    return g_prompt ? *g_prompt : g_missingPrompt;
}
void setPrompt(Prompt* p)
{
    g_prompt = p;
}

MsgAnswer msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    return prompt().message(text, buttons, icon, title);
}

Shell& shell()
{
    return g_shell ? *g_shell : g_noShell;
}
void setShell(Shell* s)
{
    g_shell = s;
}

AppLifetime& lifetime()
{
    return g_lifetime ? *g_lifetime : g_noLifetime;
}
void setLifetime(AppLifetime* l)
{
    g_lifetime = l;
}

Screen& screen()
{
    return g_screen ? *g_screen : g_plainScreen;
}
void setScreen(Screen* s)
{
    g_screen = s;
}

ReportLauncher& reportLauncher()
{
    return g_reportLauncher ? *g_reportLauncher : g_noReports;
}
void setReportLauncher(ReportLauncher* l)
{
    g_reportLauncher = l;
}

} // namespace platform
