#include "store/CMain.h"

#include "platform/core/AppError.h"
#include "platform/core/Prompt.h"
#include "store/AppState.h"
#include "store/CError.h"
#include "store/ErrorReport.h"

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
