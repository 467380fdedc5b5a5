#include "platform/widgets/QtSeams.h"
#include "platform/core/AppError.h"
#include "platform/widgets/QtPrompt.h"
#include "platform/widgets/QtShell.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using platform::QtPrompt;

namespace {

TEST(QtPromptTest, DialogFiltersBecomeQtFilters)
{
    EXPECT_EQ(QtPrompt::qtFilter(QStringLiteral("Argovo Case (*.AGV)|*.AGV|All Files|*.*")),
              QStringLiteral("Argovo Case (*.AGV) (*.AGV);;All Files (*.*)"));
    EXPECT_EQ(QtPrompt::qtFilter(QStringLiteral("Documents|*.doc;*.txt")),
              QStringLiteral("Documents (*.doc *.txt)"));
    EXPECT_EQ(QtPrompt::qtFilter(QString()), QString());
}

TEST(QtPromptTest, AStartFolderThatIsMissingOpensItsParentWithNoNameProposed)
{
    QTemporaryDir dir;
    QtPrompt prompt;
    QString shownFolder;
    QString proposedName = QStringLiteral("<no dialog>");
    // The dialog is looked at and closed as soon as it runs.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shownFolder = dialog->directory().absolutePath();
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            proposedName = name->text();
        dialog->reject();
    });
    platform::FileDialogRequest request;
    request.save = true;
    request.initDir = dir.filePath(QStringLiteral("My Cases/2003"));

    EXPECT_TRUE(prompt.fileDialog(request).cancelled());
    EXPECT_EQ(shownFolder, QDir(dir.path()).absolutePath());
    EXPECT_EQ(proposedName, QString());
}

TEST(QtPromptTest, ModalWindowsOpenByTheirRegisteredName)
{
    QVariantMap seen;
    platform::registerModalWindow(QStringLiteral("frmProbe"), [&seen](const QVariantMap& v) {
        seen = v;
        return 5;
    });
    QtPrompt prompt;

    EXPECT_EQ(prompt.showModal(QStringLiteral("frmProbe"), {{QStringLiteral("a"), 1}}), 5);
    EXPECT_EQ(seen.value(QStringLiteral("a")).toInt(), 1);
    EXPECT_THROW(prompt.showModal(QStringLiteral("frmNobody"), {}), AppError);
    platform::registerModalWindow(QStringLiteral("frmProbe"), {});
}

TEST(QtShellTest, MissingDocumentIsReportedAsFileNotFound)
{
    QTemporaryDir dir;
    platform::QtShell shell;
    EXPECT_EQ(shell.execute(QStringLiteral("open"), dir.filePath(QStringLiteral("gone.doc")),
                            QString(), 1),
              platform::shellresult::FileNotFound);
    EXPECT_EQ(shell.execute(QStringLiteral("open"), QStringLiteral("gone.doc"), dir.path(), 1),
              platform::shellresult::FileNotFound);
}

} // namespace
