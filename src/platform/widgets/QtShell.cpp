#include "platform/widgets/QtShell.h"

#include "platform/core/AppInfo.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace platform {
namespace {

bool isAddress(const QString& target)
{
    return target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive) ||
           target.contains(QStringLiteral("://"));
}

} // namespace

int QtShell::execute(const QString&, const QString& target, const QString& workingFolder, int)
{
    QUrl url;
    if (isAddress(target)) {
        url = QUrl(target);
    } else {
        QString path = QDir::fromNativeSeparators(target);
        if (QFileInfo(path).isRelative() && !workingFolder.isEmpty())
            path = QDir(QDir::fromNativeSeparators(workingFolder)).filePath(path);
        if (!QFileInfo::exists(path))
            return shellresult::FileNotFound;
        url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    }
    return QDesktopServices::openUrl(url) ? shellresult::Success : shellresult::NoAssociation;
}

void QtShell::showHelp(const QString& path)
{
    const QString file = QDir::fromNativeSeparators(path);
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("html") && suffix != QLatin1String("htm")) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
        return;
    }
    if (!m_helpWindow) {
        // Owned by the main window (a separate top-level window beside it),
        // or by itself through delete-on-close.
        m_helpWindow = new QTextBrowser(QApplication::activeWindow());
        m_helpWindow->setWindowFlag(Qt::Window);
        m_helpWindow->setObjectName(QStringLiteral("helpBrowser"));
        m_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_helpWindow->setOpenExternalLinks(true);
        m_helpWindow->setWindowTitle(appinfo::kProductLabel + QStringLiteral(" Help"));
        m_helpWindow->resize(720, 560);
    }
    m_helpWindow->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

} // namespace platform
