// The main window's toolbar and menus and the commands they reach: report
// launchers, previous and next item, the web page view, mail and update
// links and the About box. The window itself is built in frmRedoZiv.cpp.

#include "workspace/frmRedoZiv.h"

#include "workspace/BrowserPane.h"
#include "workspace/CodeModule.h"
#include "workspace/CommandTable.h"
#include "workspace/InstallSettings.h"
#include "workspace/ToolbarIcons.h"
#include "workspace/TreeNavigation.h"

#include "platform/core/AppError.h"
#include "platform/core/Prompt.h"
#include "platform/core/ReportLauncher.h"
#include "platform/core/Twips.h"
#include "store/AppState.h"
#include "store/CIssue.h"
#include "store/COpen.h"
#include "store/CShellExecute.h"
#include "store/CTypes.h"
#include "store/CUtility.h"
#include "store/ErrorReport.h"
#include "store/Globals.h"
#include "store/forms/frmMaintenance.h"

#include "platform/db/Dao.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QToolBar>
#include <QTreeWidget>

namespace {

const QString kRefreshSql = QStringLiteral("select * from issue order by parentid and id");
const QString kRefreshCaption = QStringLiteral("  Argovo Screen Refresh");

// Layout of the web page view, in twips.
constexpr int kWebTreePane = 3750;
constexpr int kWebStartPageLeft = 3875;

constexpr int kReportZoom = 85;
constexpr int kCaseAnalysisZoom = 100;
constexpr int kLaunchSuccess = -1;
constexpr int kLaunchShowMode = 10;

// Menu callbacks and commands report with the window's convention and stop.
template <typename F> void guarded(const char* procedure, F&& body)
{
    report::guarded(QStringLiteral("frmRedoZiv.") + QLatin1String(procedure), 10,
                    std::forward<F>(body));
}

// The toolbar and the About command report number, description, source and place.
void reportNumbered(const std::exception& e, const QString& place)
{
    try {
        const auto* app = dynamic_cast<const AppError*>(&e);
        report::numberedError(
            app ? *app : AppError(0, QStringLiteral("Argovo"), report::describe(e)), place);
    } catch (...) {
    }
}

// The item type the insert gives the new item, then the insert itself.
void insertNew(frmRedoZiv& window, const QString& itemType)
{
    oTypes().setItemType(itemType);
    window.LinkerChecker();
}

struct MenuItem {
    const char* name;
    const char* caption; // "-" is a separator
    void (frmRedoZiv::*click)();
};

const MenuItem kInsertItems[] = {
    {"mnuInsertNewIssue", "Add New Issue Here", &frmRedoZiv::mnuInsertNewIssue_Click},
    {"mnuInsertNewExhibit", "Add New Exhibit Here", &frmRedoZiv::mnuInsertNewExhibit_Click},
    {"mnuInsertNewWitness", "Add New Witness Here", &frmRedoZiv::mnuInsertNewWitness_Click},
    {"mnuInsertNewQuestion", "Add New Question Here", &frmRedoZiv::mnuInsertNewQuestion_Click},
    {"Insertsep1", "-", nullptr},
    {"mnuInsertDelete", "Delete Selected Item", &frmRedoZiv::mnuInsertDelete_Click},
    {"Insertsep2", "-", nullptr},
    {"mnuInsertRename", "Rename Item", &frmRedoZiv::mnuInsertRename_Click},
    {"Insertsep3", "-", nullptr},
    {"mnuInsertBookmark", "Bookmark Here", &frmRedoZiv::mnuInsertBookmark_Click},
};

const MenuItem kViewItems[] = {
    {"mnuViewIssue", "Issue", &frmRedoZiv::mnuViewIssue_Click},
    {"Viewsep1", "-", nullptr},
    {"mnuViewBookmarks", "Bookmarks", &frmRedoZiv::mnuViewBookmarks_Click},
    {"mnuViewOverlay", "Overlay", &frmRedoZiv::mnuViewOverlay_Click},
    {"mnuViewTabs", "Tabs", &frmRedoZiv::mnuViewTabs_Click},
    {"Viewsep2", "-", nullptr},
    {"mnuViewMaintenance", "Maintenance", &frmRedoZiv::mnuViewMaintenance_Click},
};

const MenuItem kReportItems[] = {
    {"mnuReportsGrid", "Grid View", &frmRedoZiv::mnuReportsGrid_Click},
    {"mnuReportIssue", "Issue Report", &frmRedoZiv::mnuReportIssue_Click},
    {"mnuReportExhibit", "Exhibit Report", &frmRedoZiv::mnuReportExhibit_Click},
    {"mnuReportWitness", "Witness Report", &frmRedoZiv::mnuReportWitness_Click},
    {"mnuReportAnalysis", "Case Analysis", &frmRedoZiv::mnuReportAnalysis_Click},
};

// Follow "Contents...", which the window builds with the File menu.
const MenuItem kHelpItems[] = {
    {"mnuHelpEmail", "E-Mail Argovo", &frmRedoZiv::mnuHelpEmail_Click},
    {"mnuHelpUpdates", "Check For Updates", &frmRedoZiv::mnuHelpUpdates_Click},
    {"Helpsep1", "-", nullptr},
    {"mnuHelpAbout", "About", &frmRedoZiv::mnuAbout_Click},
};

} // namespace

void frmRedoZiv::buildCommands()
{
    auto fill = [this](QMenu* menu, const auto& items) {
        for (const MenuItem& item : items) {
            if (QLatin1String(item.caption) == QLatin1String("-")) {
                menu->addSeparator()->setObjectName(QLatin1String(item.name));
                continue;
            }
            QAction* action = menu->addAction(QString::fromLatin1(item.caption));
            action->setObjectName(QLatin1String(item.name));
            const auto click = item.click;
            connect(action, &QAction::triggered, this, [this, click] { (this->*click)(); });
        }
    };
    fill(m_mnuInsert, kInsertItems);
    fill(m_mnuView, kViewItems);
    fill(m_mnuReports, kReportItems);
    fill(m_mnuHelp, kHelpItems);

    addToolbarCommands();
    m_tbTools->setIconSize(QSize(24, 24));
    m_tbTools->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const toolbar::Button& button : toolbar::buttons()) {
        QAction* action = m_tbTools->addAction(toolbaricons::icon(button.imageKey),
                                               button.tooltip.isEmpty() ? QStringLiteral("Delete")
                                                                        : button.tooltip);
        action->setObjectName(QStringLiteral("tbTools_") + button.key);
        action->setData(button.key);
        const QString key = button.key;
        connect(action, &QAction::triggered, this, [this, key] { tbTools_ButtonClick(key); });
        // No program settings are offered yet: the button is shown greyed
        // rather than answering a click with nothing.
        if (key == QLatin1String("settings"))
            action->setEnabled(false);
    }
}

void frmRedoZiv::addToolbarCommands()
{
    m_toolbarCommands = std::make_unique<CommandTable>();
    CommandTable& t = *m_toolbarCommands;
    t.add(QStringLiteral("new"), [this] { oOpen().NewCase(*this); });
    t.add(QStringLiteral("open"), [this] { SelectDataBase(); });
    t.add(QStringLiteral("save"), [this] {
        if (!oUtility().CaseName().isEmpty() && gDB && !gDB->Name().isEmpty())
            saveCurrentItem("tbTools_ButtonClick");
    });
    t.add(QStringLiteral("delete"), [this] { DeleteCodeItem(); });
    t.add(QStringLiteral("close"), [this] {
        DoCaseClose();
        gNodeClicked = false;
        gTreeChanged = false;
    });
    t.add(QStringLiteral("larrow"), [this] { selectNeighbour(false); });
    t.add(QStringLiteral("rarrow"), [this] { selectNeighbour(true); });
    t.add(QStringLiteral("refresh"), [this] {
        FillTree(kRefreshSql);
        m_lblMain->setText(kRefreshCaption);
    });
    t.add(QStringLiteral("home"), [this] { showWebPage(installsettings::makerHome()); });
    // The toolbar's overlay keeps the start page to the detail pane, so the
    // bookmark pane stays in sight.
    t.add(QStringLiteral("overlay"), [this] {
        mnuViewOverlay_Click();
        setPnlStartWidth(twips::fromPixels(m_ssSplitter->sizes().value(1)));
    });
    t.add(QStringLiteral("tabs"), [this] { mnuViewTabs_Click(); });
    t.add(QStringLiteral("internet"),
          [this] { showWebPage(installsettings::makerPage(QStringLiteral("/download.htm"))); });
    t.add(QStringLiteral("settings"), [this] { ShowSettings(); });
    t.add(QStringLiteral("maintenance"), [this] { showMaintenance(); });
    t.add(QStringLiteral("bookmarks"), [this] { ShowBookmarks(!gBookmarksVisible); });
    t.add(QStringLiteral("grid"), [this] { GridDisplayReport(); });
    t.add(QStringLiteral("issue"), [this] { IssueListReport(); });
    t.add(QStringLiteral("exhibit"), [this] { ExhibitListReport(); });
    t.add(QStringLiteral("witness"), [this] { WitnessListReport(); });
    t.add(QStringLiteral("caseanalysis"), [this] { CaseAnalysisReport(); });
    t.add(QStringLiteral("expand"), [this] {
        showBranch(m_tvIssueItems->topLevelItem(0));
        m_tvIssueItems->expandAll();
    });
    t.add(QStringLiteral("shut"), [this] { m_tvIssueItems->collapseAll(); });
    t.add(QStringLiteral("help"), [] { codemodule::ShowHelpFile(codemodule::helpFilePath()); });
}

void frmRedoZiv::tbTools_ButtonClick(const QString& key)
{
    try {
        m_toolbarCommands->run(key);
    } catch (const std::exception& e) {
        reportNumbered(e, QStringLiteral("frmRedoZiv::tbTools_ButtonClick"));
    } catch (...) {
        reportNumbered(std::runtime_error("Unknown error"),
                       QStringLiteral("frmRedoZiv::tbTools_ButtonClick"));
    }
}

// ---------------------------------------------------------------------------
// Insert menu

void frmRedoZiv::mnuInsertNewIssue_Click()
{
    guarded("mnuInsertNewIssue_Click", [this] { insertNew(*this, QStringLiteral("Issue")); });
}

void frmRedoZiv::mnuInsertNewExhibit_Click()
{
    guarded("mnuInsertNewExhibit_Click", [this] { insertNew(*this, QStringLiteral("Exhibit")); });
}

void frmRedoZiv::mnuInsertNewWitness_Click()
{
    guarded("mnuInsertNewWitness_Click", [this] { insertNew(*this, QStringLiteral("Witness")); });
}

void frmRedoZiv::mnuInsertNewQuestion_Click()
{
    guarded("mnuInsertNewQuestion_Click", [this] { insertNew(*this, QStringLiteral("Question")); });
}

void frmRedoZiv::mnuInsertDelete_Click()
{
    guarded("mnuInsertDelete_Click", [this] { DeleteCodeItem(); });
}

void frmRedoZiv::mnuInsertRename_Click()
{
    guarded("mnuInsertRename_Click", [this] { RenameItem(); });
}

void frmRedoZiv::mnuInsertBookmark_Click()
{
    guarded("mnuInsertBookmark_Click", [this] { AddBookMark(); });
}

// ---------------------------------------------------------------------------
// View menu

void frmRedoZiv::mnuViewIssue_Click()
{
    guarded("mnuViewIssue_Click", [this] { FillTree(kTreeSql); });
}

void frmRedoZiv::mnuViewBookmarks_Click()
{
    guarded("mnuViewBookmarks_Click", [this] { ShowBookmarks(!gBookmarksVisible); });
}

void frmRedoZiv::mnuViewMaintenance_Click()
{
    guarded("mnuViewMaintenance_Click", [this] { showMaintenance(); });
}

// Modeless, and one at a time: a second request brings the open one forward.
void frmRedoZiv::showMaintenance()
{
    if (!m_frmMaintenance)
        m_frmMaintenance = new frmMaintenance(this);
    m_frmMaintenance->show();
    m_frmMaintenance->raise();
    m_frmMaintenance->activateWindow();
}

// ---------------------------------------------------------------------------
// Reports

void frmRedoZiv::mnuReportsGrid_Click()
{
    GridDisplayReport();
}
void frmRedoZiv::mnuReportIssue_Click()
{
    IssueListReport();
}
void frmRedoZiv::mnuReportExhibit_Click()
{
    ExhibitListReport();
}
void frmRedoZiv::mnuReportWitness_Click()
{
    WitnessListReport();
}
void frmRedoZiv::mnuReportAnalysis_Click()
{
    CaseAnalysisReport();
}

void frmRedoZiv::WitnessListReport()
{
    launchReport("WitnessListReport", platform::reportname::kWitnesses, kReportZoom);
}

void frmRedoZiv::ExhibitListReport()
{
    launchReport("ExhibitListReport", platform::reportname::kExhibits, kReportZoom);
}

void frmRedoZiv::GridDisplayReport()
{
    launchReport("GridDisplayReport", platform::reportname::kGrid, kReportZoom);
}

void frmRedoZiv::CaseAnalysisReport()
{
    launchReport("CaseAnalysisReport", platform::reportname::kCaseAnalysis, kCaseAnalysisZoom);
}

void frmRedoZiv::IssueListReport()
{
    launchReport("IssueListReport", platform::reportname::kIssues, kReportZoom);
}

// The detail area shows the grid (loading the analysis window, which the
// grid report prints) before the preview opens. A report reads the case
// file: what the tree's editor and the boxes hold for the item shown is
// written first (an emptied box is written only when it is left), and a
// report of what the user no longer sees is not printed when it cannot be.
// An item deleted elsewhere since it was shown keeps no report from opening:
// the failure is told and the rest of the case prints.
void frmRedoZiv::launchReport(const char* procedure, const QString& reportName, int zoom)
{
    guarded(procedure, [&] {
        if (!m_readOnly && (!finishLabelEdit() || !writeBackItemLeft(procedure)))
            return;
        selectTab(kTabGrid);
        if (reportName == platform::reportname::kGrid)
            showAnalysisWindow();
        platform::reportLauncher().show(reportName, zoom);
    });
}

// ---------------------------------------------------------------------------
// Moving through the tree

void frmRedoZiv::selectNeighbour(bool next)
{
    QTreeWidgetItem* from = m_tvIssueItems->currentItem();
    // A branch never opened has its first child made before it is looked for.
    if (from)
        showChildren(from);
    QTreeWidgetItem* to =
        next ? treenavigation::nextItem(from) : treenavigation::previousItem(from);
    if (!to)
        return;
    {
        QScopedValueRollback<bool> inCode(m_selectingInCode, true);
        // The tree selects only a node the user can see.
        for (QTreeWidgetItem* up = to->parent(); up; up = up->parent())
            up->setExpanded(true);
        m_tvIssueItems->setCurrentItem(to);
        m_tvIssueItems->scrollToItem(to);
    }
    // The caption over the details names the item moved to, as after a click.
    m_lblMain->setText(QStringLiteral("  ") + to->text(0));
    SelectCodeItem(to->data(0, kKeyRole).toString());
}

// ---------------------------------------------------------------------------
// Web page, mail and update links

void frmRedoZiv::showWebPage(const QString& address)
{
    setTreePaneWidth(kWebTreePane);
    setPnlStartLeft(kWebStartPageLeft);
    setWebBrowserLeft(0);
    m_webBrowser->Navigate(address);
}

void frmRedoZiv::CheckOnline()
{
    guarded("CheckOnline",
            [this] { showWebPage(installsettings::makerPage(QStringLiteral("/download.htm"))); });
}

void frmRedoZiv::mnuHelpEmail_Click()
{
    guarded("mnuHelpEmail_Click", [this] {
        CShellExecute launcher;
        const int32_t result = launcher.LaunchEmail(
            quintptr(internalWinId()), installsettings::supportMail(), kLaunchShowMode);
        if (result != kLaunchSuccess)
            platform::msgBox(QStringLiteral("Error on LaunchEmail: %1").arg(result));
    });
}

void frmRedoZiv::mnuHelpUpdates_Click()
{
    guarded("mnuHelpUpdates_Click", [this] {
        CShellExecute launcher;
        const int32_t result = launcher.LaunchURL(
            quintptr(internalWinId()), installsettings::makerPage(QStringLiteral("/updates.htm")),
            kLaunchShowMode);
        if (result != kLaunchSuccess)
            platform::msgBox(QStringLiteral("Error on Launch Browser: %1").arg(result));
    });
}

void frmRedoZiv::mnuAbout_Click()
{
    try {
        platform::prompt().showModal(QStringLiteral("frmAbout"), QVariantMap());
    } catch (const std::exception& e) {
        reportNumbered(e, QStringLiteral("frmRedoZiv::mnuAbout_Click"));
    }
}
