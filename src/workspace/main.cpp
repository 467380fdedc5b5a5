#include "workspace/WorkspaceWindows.h"
#include "workspace/frmRedoZiv.h"

#include "platform/core/AppInfo.h"
#include "platform/widgets/QtSeams.h"
#include "reports/ReportPreviews.h"
#include "store/ErrorReport.h"
#include "store/forms/StoreWindows.h"

#include <QApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Argovo"));
    QCoreApplication::setApplicationName(QStringLiteral("Argovo"));
    QCoreApplication::setApplicationVersion(appinfo::versionText());
    try {
        platform::installQtSeams();
        registerStoreWindows();
        registerWorkspaceWindows();
        ReportPreviews previews;
        platform::setReportLauncher(&previews);
        frmRedoZiv window;
        window.show();
        const int result = app.exec();
        platform::setReportLauncher(nullptr);
        return result;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Argovo stopped: %s\n", qPrintable(report::describe(e)));
        return 1;
    }
}
