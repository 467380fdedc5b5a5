#include "workspace/InstallSettings.h"

#include "platform/core/AppInfo.h"

#include <QDir>
#include <QSettings>

namespace installsettings {
namespace {

const QString kDefaultHome = QStringLiteral("https://www.argovo.example");
const QString kDefaultMail = QStringLiteral("support@argovo.example");

// Read afresh each time: the file is tiny and a test or an administrator
// may change it while the program runs.
QString read(const QString& key, const QString& fallback)
{
    const QSettings settings(QDir(appinfo::programFolder()).filePath(kFileName),
                             QSettings::IniFormat);
    const QString value = settings.value(key).toString().trimmed();
    return value.isEmpty() ? fallback : value;
}

} // namespace

QString makerHome()
{
    QString home = read(QStringLiteral("Maker/WebHome"), kDefaultHome);
    while (home.endsWith(QLatin1Char('/')))
        home.chop(1);
    return home;
}

QString makerPage(const QString& path)
{
    return makerHome() + path;
}

QString supportMail()
{
    return read(QStringLiteral("Maker/SupportMail"), kDefaultMail);
}

} // namespace installsettings
