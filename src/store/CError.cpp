#include "store/CError.h"

#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "store/AppState.h"
#include "store/CLog.h"

#include <QVariantMap>

namespace {
const QString kTechnicalQuestion = QStringLiteral(
    "A technical Error has occurred in running Argovo 2003 2.1.  Please try again, or if this "
    "problem continues to persist, call technical support.  Would you like to see the "
    "technical Error?");
} // namespace

int16_t CError::HandleError(const QString& caller, const QString& description, int number,
                            bool bLog)
{
    // Every step is tried on its own: a reporter that fails must not stop the
    // report from reaching the log.
    if (number != 0) {
        platform::MsgAnswer answer = platform::MsgAnswer::No;
        try {
            answer = platform::msgBox(kTechnicalQuestion, platform::MsgButtons::YesNo,
                                      platform::MsgIcon::None, appinfo::kAppTitle);
        } catch (...) {
        }
        if (answer == platform::MsgAnswer::Yes) {
            try {
                platform::prompt().showModal(
                    QStringLiteral("frmError"),
                    QVariantMap{
                        {QStringLiteral("lblErrorNumberValue"), QString::number(number).trimmed()},
                        {QStringLiteral("lblErrorDescriptionValue"), description},
                        {QStringLiteral("lblErrorCallerValue"), caller},
                    });
            } catch (...) {
            }
            return 0;
        }
    } else {
        try {
            platform::msgBox(description, platform::MsgButtons::OK, platform::MsgIcon::Information,
                             appinfo::kProductLabel + QLatin1Char(' ') + appinfo::kVersionLabel +
                                 QStringLiteral(" Information..."));
        } catch (...) {
        }
    }

    if (bLog) {
        try {
            oLog().setFileName(appinfo::kProductLabel);
            oLog().setMaxEntry(50000);
            oLog().LogItem(caller, description);
        } catch (...) {
        }
    }
    return 0;
}
