#include "workspace/WorkspaceWindows.h"

#include "workspace/frmAbout.h"
#include "workspace/frmAddBookmark.h"

#include "platform/widgets/QtSeams.h"
#include "store/AppState.h"
#include "store/CIssue.h"

#include <QApplication>

void registerWorkspaceWindows()
{
    platform::registerModalWindow(QStringLiteral("frmAbout"), [](const QVariantMap&) {
        frmAbout window(QApplication::activeWindow());
        return window.exec();
    });
    // The values carry the id as "ID"; the window works on the open case.
    platform::registerModalWindow(frmAddBookmark::kWindowName, [](const QVariantMap& values) {
        auto item = std::make_shared<CIssue>();
        item->Initialise(gDB, values.value(QStringLiteral("ID")).toString());
        frmAddBookmark window(QApplication::activeWindow());
        window.Initialise(gDB, item);
        window.exec();
        return window.Cancelled() ? int(QDialog::Rejected) : int(QDialog::Accepted);
    });
}
