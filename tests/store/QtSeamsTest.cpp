#include "platform/widgets/QtSeams.h"
#include "platform/core/AppError.h"
#include "platform/widgets/QtPrompt.h"
#include "platform/widgets/QtShell.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using platform::QtPrompt;

namespace {

TEST(QtPromptTest, DialogFiltersBecomeQtFilters)
{
    EXPECT_EQ(QtPrompt::qtFilter(QStringLiteral("Argovo Case (*.AGV)|*.AGV|All Files|*.*")),
              QStringLiteral("Argovo Case (*.AGV);;All Files (*.*)"));
    EXPECT_EQ(QtPrompt::qtFilter(QStringLiteral("(*.AGV)|*.AGV;*.agv")),
              QStringLiteral("(*.AGV *.agv)"));
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

TEST(QtPromptTest, TheFileDialogTellsFileTypesByNameWithoutReadingTheFiles)
{
    // In a folder like /proc a read may block; a file without an extension
    // holding a PDF shows whether its bytes were looked at.
    QTemporaryDir dir;
    const QString pdfInside = dir.filePath(QStringLiteral("exhibit"));
    const QString empty = dir.filePath(QStringLiteral("notes"));
    for (const auto& [path, bytes] : {std::pair{pdfInside, QByteArray("%PDF-1.4\n%\xe2\xe3\n")},
                                      std::pair{empty, QByteArray()}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    ASSERT_NE(QFileIconProvider().type(QFileInfo(pdfInside)),
              QFileIconProvider().type(QFileInfo(empty)));

    QtPrompt prompt;
    QString pdfType, emptyType;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        pdfType = dialog->iconProvider()->type(QFileInfo(pdfInside));
        emptyType = dialog->iconProvider()->type(QFileInfo(empty));
        dialog->reject();
    });
    platform::FileDialogRequest request;
    request.initDir = dir.path();
    EXPECT_TRUE(prompt.fileDialog(request).cancelled());
    EXPECT_FALSE(pdfType.isEmpty());
    EXPECT_EQ(pdfType.toStdString(), emptyType.toStdString());
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
