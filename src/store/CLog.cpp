#include "store/CLog.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cstdio>

void CLog::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

namespace {

// The locale's long time format without its time zone: the general date of
// the log is short date and long time only ("3/5/03 4:05:06 PM").
QString longTimeFormatWithoutZone(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        kept.append(c);
    }
    return kept.simplified();
}

} // namespace

QString CLog::formatTime(const QDateTime& time)
{
    // The default locale is the system's unless the program sets another.
    const QLocale locale;
    return locale.toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(time.time(), longTimeFormatWithoutZone(locale));
}

void CLog::LogItem(const QString& caller, const QString& comment)
{
    try {
        const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
        const QString line = QStringLiteral("TIME: ") + formatTime(now) +
                             QStringLiteral("    CALLING PROCEDURE: ") + caller +
                             QStringLiteral("    LOG COMMENT: ") + comment + QStringLiteral("\r\n");
        // No folder: the log sits in the process's current folder.
        QFile file(m_fileName + QStringLiteral(".LOG"));
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(line.toUtf8());
    } catch (...) {
    }
    CheckLogSize();
}

void CLog::CheckLogSize()
{
    try {
        const QString log = m_fileName + QStringLiteral(".LOG");
        const QString old = m_fileName + QStringLiteral(".OLD");
        const QFileInfo info(log);
        if (!info.exists() || info.size() <= m_maxEntry)
            return;
        // One rename replaces the older generation; when it cannot, the log
        // stays as it is and grows on rather than being lost.
        std::rename(QFile::encodeName(log).constData(), QFile::encodeName(old).constData());
    } catch (...) {
    }
}
