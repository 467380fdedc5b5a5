#include "store/CShellExecute.h"

#include "platform/core/AppError.h"
#include "platform/core/Prompt.h"
#include "platform/core/Shell.h"
#include "store/ErrorReport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr int32_t kSuccess = -1;

// %NAME% references are replaced by the environment's values, as the
// document launch asks the shell to do.
QString expandEnvironment(const QString& text)
{
    static const QRegularExpression reference(QStringLiteral("%([^%]+)%"));
    QString result;
    qsizetype from = 0;
    auto it = reference.globalMatch(text);
    while (it.hasNext()) {
        const auto match = it.next();
        const QString name = match.captured(1);
        result += text.mid(from, match.capturedStart() - from);
        if (qEnvironmentVariableIsSet(name.toLocal8Bit().constData()))
            result += qEnvironmentVariable(name.toLocal8Bit().constData());
        else
            result += match.captured(0);
        from = match.capturedEnd();
    }
    result += text.mid(from);
    return result;
}

void reportError(const char* operation, int number, const QString& text)
{
    try {
        platform::msgBox(QStringLiteral("Error: %1. %2").arg(number).arg(text),
                         platform::MsgButtons::OK, platform::MsgIcon::None,
                         QString::fromLatin1(operation));
    } catch (...) {
    }
}

} // namespace

int32_t CShellExecute::launch(const char* operation, const QString& verb, const QString& target,
                              const QString& folder, int showCommand)
{
    try {
        m_instance = platform::shell().execute(verb, target, folder, showCommand);
        return m_instance > 32 ? kSuccess : m_instance;
    } catch (const AppError& e) {
        reportError(operation, e.number(), e.description());
    } catch (const std::exception& e) {
        reportError(operation, 0, report::describe(e));
    } catch (...) {
        reportError(operation, 0, QStringLiteral("Unknown error"));
    }
    return m_instance > 32 ? kSuccess : m_instance;
}

int32_t CShellExecute::LaunchDocument(quintptr, const QString& file, const QString& folder,
                                      int showCommand)
{
    return launchDocument(expandEnvironment(file), expandEnvironment(folder), showCommand);
}

int32_t CShellExecute::LaunchOwnFile(quintptr, const QString& file, const QString& folder,
                                     int showCommand)
{
    return launchDocument(file, folder, showCommand);
}

int32_t CShellExecute::launchDocument(const QString& path, const QString& workingFolder,
                                      int showCommand)
{
    m_instance = 0;
    m_process = 0;
    // A missing document is reported as the shell reports it, without asking
    // it; a relative path names a file in the working folder, as for the shell.
    const QString located = QFileInfo(path).isRelative() && !workingFolder.isEmpty()
                                ? QDir(workingFolder).filePath(path)
                                : path;
    if (!QFileInfo::exists(located)) {
        m_instance = platform::shellresult::FileNotFound;
        return m_instance;
    }
    return launch("LaunchDocument", QStringLiteral("open"), path, workingFolder, showCommand);
}

int32_t CShellExecute::LaunchURL(quintptr, const QString& address, int showCommand)
{
    m_instance = 0;
    m_process = 0;
    return launch("LaunchURL", QString(), address, QString(), showCommand);
}

int32_t CShellExecute::LaunchEmail(quintptr, const QString& address, int showCommand)
{
    m_instance = 0;
    m_process = 0;
    return launch("LaunchEmail", QString(), QStringLiteral("mailto:") + address, QString(),
                  showCommand);
}
