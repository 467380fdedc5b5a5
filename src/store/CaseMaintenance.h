#pragma once

#include <QString>

// What the maintenance window does, without the window: choose a closed case
// file, explain, and compact it with a backup beside it, then end the
// program. frmMaintenance only passes its text box and buttons through.
class CaseMaintenance final {
public:
    static const QString kCaption;
    static const QString kPlaceholder;
    static const QString kWarning;

    // cmdOpen: asks for a case file; returns the text for txtFile. A
    // cancelled dialog returns what it returned before (empty the first time).
    QString chooseFile();
    // The chosen file's title (name without folder); empty until chosen.
    QString fileTitle() const { return m_fileTitle; }

    // cmdMore: what maintenance does.
    void explain();

    // cmdGo with the text of txtFile: compacts the case and, when that
    // succeeded, tells the user and runs Shutdown. True when it ran.
    // Refusals and failures are reported through HandleError.
    bool run(const QString& fileText);

    // Compacts the case file at path, or the file a link at path leads to:
    // the compacted copy is written beside it and replaces the case only once
    // complete, with the case's permission bits; "<file>.OLD" keeps the
    // original bytes. A write under way elsewhere is waited for before the
    // copy starts, and no one can begin one until the case is replaced. On
    // failure the case is as it was. A case the user may not write to is
    // refused. Raises AppError.
    static void compactWithBackup(const QString& path);

private:
    bool isOpenCase(const QString& path) const;

    QString m_dialogFile;
    QString m_fileTitle;
};
