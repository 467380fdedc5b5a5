#include "workspace/CaseNotices.h"

#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "platform/core/ScreenText.h"

#include <QDir>

namespace casenotices {

void readOnly(const QString& path)
{
    platform::msgBox(QStringLiteral("The case file %1 cannot be written: the file, its folder or "
                                    "its disk is read-only. The case is open read-only; no "
                                    "changes can be made to it.")
                         .arg(QDir::toNativeSeparators(path)),
                     platform::MsgButtons::OK, platform::MsgIcon::Exclamation, appinfo::kAppTitle);
}

bool leaveUnsaved(const QString& itemName)
{
    return platform::msgBox(QStringLiteral("What was typed for \"%1\" could not be saved. Leave "
                                           "the case anyway and lose it?")
                                .arg(screentext::shown(itemName)),
                            platform::MsgButtons::YesNoDefaultNo, platform::MsgIcon::Exclamation,
                            appinfo::kAppTitle) == platform::MsgAnswer::Yes;
}

} // namespace casenotices
