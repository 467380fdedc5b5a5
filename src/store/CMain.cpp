#include "store/CMain.h"

#include "platform/core/AppError.h"
#include "platform/core/Prompt.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/CError.h"
#include "store/ErrorReport.h"

#include <QFile>

#include <sys/stat.h>

bool CMain::CheckExit()
{
    try {
        const auto answer = platform::msgBox(
            QStringLiteral("The changes you have made have not been saved.  Press OK to continue "
                           "and lose the changes, or press Cancel to stop and then Save."),
            platform::MsgButtons::OKCancel, platform::MsgIcon::Question,
            QStringLiteral("Edits pending."));
        return answer != platform::MsgAnswer::OK;
    } catch (const AppError& e) {
        oError().HandleError(QStringLiteral("oMain.CheckExit"), e.description(), e.number(), true);
    } catch (const std::exception& e) {
        oError().HandleError(QStringLiteral("oMain.CheckExit"), report::describe(e), 0, true);
    }
    return false;
}

bool CMain::isOpenCaseFile(const QString& path) const
{
    if (gDB && gDB->isOpen() && gDB->isFile(path))
        return true;
    // The same file, not only the same name: a link to it counts.
    struct stat chosen {};
    struct stat held {};
    return !m_fileName.isEmpty() && ::stat(QFile::encodeName(path).constData(), &chosen) == 0 &&
           ::stat(QFile::encodeName(m_fileName).constData(), &held) == 0 &&
           chosen.st_dev == held.st_dev && chosen.st_ino == held.st_ino;
}
