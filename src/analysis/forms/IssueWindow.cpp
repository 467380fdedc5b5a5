#include "analysis/forms/IssueWindow.h"

#include "analysis/forms/frmIssue.h"
#include "analysis/forms/frmReport.h"

#include <QLayout>
#include <QPointer>
#include <QVBoxLayout>

namespace analysisforms {

namespace {
QPointer<frmIssue> g_window;
} // namespace

frmIssue* loadIssueWindow(QWidget* pane)
{
    unloadIssueWindow();
    auto* window = new frmIssue(pane);
    if (pane) {
        QLayout* layout = pane->layout();
        if (!layout) {
            layout = new QVBoxLayout(pane);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        layout->addWidget(window);
    }
    g_window = window;
    window->Form_Load();
    window->show();
    return window;
}

void unloadIssueWindow()
{
    frmIssue* window = g_window.data();
    g_window = nullptr;
    if (!window)
        return;
    window->Form_Unload();
    window->hide();
    if (QWidget* pane = window->parentWidget(); pane && pane->layout())
        pane->layout()->removeWidget(window);
    // Deferred: the unload may be asked for from inside one of the window's
    // own handlers.
    window->deleteLater();
}

frmIssue* issueWindow()
{
    return g_window.data();
}

void unloadAnalysisWindows()
{
    unloadIssueWindow();
    if (frmReport* report = frmReport::loaded())
        report->close();
}

} // namespace analysisforms
