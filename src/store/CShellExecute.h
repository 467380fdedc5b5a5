#pragma once

#include <QString>

#include <cstdint>

// Hands a document, a web address or a mail address to the desktop, which
// opens it with the program registered for it. Each launch returns -1 on
// success, otherwise the shell's code (2 file not found, 31 no program).
class CShellExecute final {
public:
    // %NAME% in the file and the folder is replaced by the environment's value.
    int32_t LaunchDocument(quintptr owner, const QString& file, const QString& folder,
                           int showCommand);
    // As LaunchDocument, for a file the program made itself: its path is
    // handed over as it is, so a document named "%HOME%.txt" opens as itself.
    int32_t LaunchOwnFile(quintptr owner, const QString& file, const QString& folder,
                          int showCommand);
    int32_t LaunchURL(quintptr owner, const QString& address, int showCommand);
    int32_t LaunchEmail(quintptr owner, const QString& address, int showCommand);

    // The shell's result and the started process of the last launch.
    int32_t instanceResult() const { return m_instance; }
    int32_t processHandle() const { return m_process; }

private:
    int32_t launch(const char* operation, const QString& verb, const QString& target,
                   const QString& folder, int showCommand);
    int32_t launchDocument(const QString& path, const QString& workingFolder, int showCommand);

    int32_t m_instance = 0;
    int32_t m_process = 0;
};
