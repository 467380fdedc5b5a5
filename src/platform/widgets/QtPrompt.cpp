#include "platform/widgets/QtPrompt.h"

#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"
#include "platform/widgets/NameOnlyIconProvider.h"
#include "platform/widgets/QtSeams.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace platform {
namespace {

QString titleOrDefault(const QString& title)
{
    return title.isEmpty() ? appinfo::kAppTitle : title;
}

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::OK:
        break;
    }
    return QMessageBox::Ok;
}

MsgAnswer answerOf(int button, MsgButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return MsgAnswer::OK;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Abort:
        return MsgAnswer::Abort;
    case QMessageBox::Retry:
        return MsgAnswer::Retry;
    case QMessageBox::Ignore:
        return MsgAnswer::Ignore;
    default:
        break;
    }
    // Closed with Escape or the title bar's close button.
    switch (buttons) {
    case MsgButtons::OK:
        return MsgAnswer::OK;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Cancel;
    }
}

// A start folder that does not exist would have the dialog show its last part
// as the proposed file name; the nearest folder above it that exists is shown.
QString existingFolder(QString folder)
{
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

} // namespace

MsgAnswer QtPrompt::message(const QString& text, MsgButtons buttons, MsgIcon icon,
                            const QString& title)
{
    QMessageBox box(qtIcon(icon), titleOrDefault(title), text, qtButtons(buttons),
                    QApplication::activeWindow());
    if (buttons == MsgButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    return answerOf(box.exec(), buttons);
}

QString QtPrompt::qtFilter(const QString& dialogFilter)
{
    const QStringList parts = dialogFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1).trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A description that already shows its patterns in brackets would
        // show them twice: the real patterns take the place of the shown ones.
        QString description = parts.at(i).trimmed();
        if (description.endsWith(QLatin1Char(')'))) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            if (open >= 0)
                description = description.left(open).trimmed();
        }
        filters << (description.isEmpty() ? QStringLiteral("(%1)").arg(patterns.simplified())
                                          : QStringLiteral("%1 (%2)").arg(description,
                                                                          patterns.simplified()));
    }
    if (parts.size() % 2 == 1 && !parts.last().trimmed().isEmpty())
        filters << parts.last().trimmed();
    return filters.join(QStringLiteral(";;"));
}

FileDialogResult QtPrompt::fileDialog(const FileDialogRequest& request)
{
    const QString folder =
        existingFolder(request.initDir.isEmpty() ? appinfo::programFolder() : request.initDir);

    // Outlives the dialog, whose file model still asks it while closing.
    NameOnlyIconProvider icons;
    QFileDialog dialog(QApplication::activeWindow(), titleOrDefault(request.title), folder,
                       qtFilter(request.filter));
    dialog.setIconProvider(&icons);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!(request.flags & fileflags::OverwritePrompt))
            dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((request.flags & fileflags::FileMustExist) ? QFileDialog::ExistingFile
                                                                      : QFileDialog::AnyFile);
    }
    if (request.flags & fileflags::ReadOnly)
        dialog.setOption(QFileDialog::ReadOnly, true);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(QFileInfo(request.fileName).isAbsolute()
                              ? request.fileName
                              : QDir(folder).filePath(request.fileName));

    FileDialogResult result;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        result.fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
        result.fileTitle = QFileInfo(dialog.selectedFiles().constFirst()).fileName();
    }
    return result;
}

std::optional<QString> QtPrompt::input(const QString& text, const QString& title,
                                       const QString& defaultText)
{
    bool ok = false;
    const QString value = QInputDialog::getText(QApplication::activeWindow(), titleOrDefault(title),
                                                text, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

int QtPrompt::showModal(const QString& windowName, const QVariantMap& values)
{
    const ModalWindowFactory window = modalWindow(windowName);
    if (!window)
        throw AppError(kClassFailure, QStringLiteral("platform.QtPrompt"),
                       QStringLiteral("No window registered as ") + windowName);
    return window(values);
}

bool QtPrompt::choosePrinter(QPrinter& printer, const QString& title)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(titleOrDefault(title));
    return dialog.exec() == QDialog::Accepted;
}

} // namespace platform
