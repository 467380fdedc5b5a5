#pragma once

#include "platform/core/ReportLauncher.h"

#include <QStringList>

#include <functional>

// Records each report a command would have shown, as "name|zoom", and
// installs itself for its lifetime.
class RecordingReportLauncher final : public platform::ReportLauncher {
public:
    RecordingReportLauncher() { platform::setReportLauncher(this); }
    ~RecordingReportLauncher() override { platform::setReportLauncher(nullptr); }

    QStringList shown;
    // Called before recording, e.g. to check what the window shows then.
    std::function<void(const QString&)> onShow;

    void show(const QString& reportName, int zoomPercent) override
    {
        if (onShow)
            onShow(reportName);
        shown << QStringLiteral("%1|%2").arg(reportName).arg(zoomPercent);
    }
};
