#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// The text log: "<FileName>.LOG" in the current folder, rolled over to
// "<FileName>.OLD" once it grows past MaxEntry bytes. Never raises: an entry
// that cannot be written is lost.
class CLog final {
public:
    using Clock = std::function<QDateTime()>;

    int MaxEntry() const { return m_maxEntry; }
    void setMaxEntry(int value) { m_maxEntry = value; }
    QString FileName() const { return m_fileName; }
    void setFileName(const QString& value) { m_fileName = value; }

    void LogItem(const QString& caller, const QString& comment);

    // The time source of the entries; the system clock unless a test sets one.
    void setClock(Clock clock);

    // The time as an entry shows it: the system's short date and long time.
    static QString formatTime(const QDateTime& time);

private:
    void CheckLogSize();

    int m_maxEntry = 0;
    QString m_fileName;
    Clock m_clock;
};
