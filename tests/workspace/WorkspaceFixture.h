#pragma once

#include "QtPrinters.h"
#include "support/CaseRows.h"
#include "support/ScriptedPrompt.h"
#include "support/ScriptedShell.h"
#include "support/TempCase.h"

#include "platform/core/AppInfo.h"
#include "store/AppState.h"
#include "workspace/frmRedoZiv.h"

#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

// Every workspace test starts from a clean process, with its own program
// folder (cases/ and help/ beneath it), its own settings store and a
// scripted prompt and shell, so no dialog ever blocks.
class WorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString programFolder() const { return m_program.path(); }
    // Writes a help page under the program folder.
    void writeHelpPage();
    // The blank case a new case is copied from.
    void writeBlankTemplate();
    void setTreeWidthSetting(const QVariant& value);

    // One column of the item with this id, read beside the window's own handle.
    static QVariant issueColumn(const QString& path, const char* name, int id);
    QVariant issueColumn(const char* name, int id) const { return issueColumn(m_path, name, id); }

    // Opens m_path in a new window, shown and active when asked; openSample
    // first makes m_path a fresh copy of the sample case.
    std::unique_ptr<frmRedoZiv> openWindow(bool show = true);
    std::unique_ptr<frmRedoZiv> openSample(bool show = true,
                                           const QString& name = QStringLiteral("Sample.AGV"));

    // A real mouse click on a node of the shown window's tree.
    static void clickNode(frmRedoZiv& window, const QString& key);
    // Shows the window and waits until it is on screen and active.
    static void showAndWait(frmRedoZiv& window);

    QTemporaryDir m_program;
    QTemporaryDir m_settings;
    TempCase m_cases;
    ScriptedPrompt m_prompt;
    ScriptedShell m_shell;
    QString m_path;
};
