#pragma once

#include "store/AppState.h"
#include "support/ScriptedPrompt.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Makes a fresh temporary folder the process's current folder for the life
// of the object, so that the log the reporter writes there stays out of the
// source tree and out of other tests.
class TempCurrentFolder {
public:
    TempCurrentFolder()
        : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
    }
    ~TempCurrentFolder() { QDir::setCurrent(m_previous); }
    TempCurrentFolder(const TempCurrentFolder&) = delete;
    TempCurrentFolder& operator=(const TempCurrentFolder&) = delete;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // The lines of the reporter's log ("Argovo 2003.LOG"), without their ends.
    QStringList logLines() const
    {
        QFile file(path(QStringLiteral("Argovo 2003.LOG")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The store's shared instances fresh before and after each test, which runs
// in a folder of its own with every question answered by the script.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override { resetAppState(); }

    TempCurrentFolder folder;
    ScriptedPrompt prompt;
};
