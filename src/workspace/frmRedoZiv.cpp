#include "workspace/frmRedoZiv.h"

#include "workspace/BrowserPane.h"
#include "workspace/CaseNotices.h"
#include "workspace/CaseTables.h"
#include "workspace/CaseTreeItem.h"
#include "workspace/CodeModule.h"
#include "workspace/CommandTable.h"
#include "workspace/ExplanationPage.h"
#include "workspace/InstallSettings.h"
#include "workspace/RatingText.h"
#include "workspace/StartPage.h"
#include "workspace/TreeDragDrop.h"
#include "workspace/TreeEditing.h"
#include "workspace/TreeImages.h"
#include "workspace/TreeLogic.h"
#include "workspace/UpDown.h"
#include "workspace/ctlBookmarks.h"
#include "workspace/ctlFileDetails.h"

#include "analysis/forms/IssueWindow.h"
#include "analysis/forms/frmIssue.h"
#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "platform/core/ScreenText.h"
#include "platform/core/Shell.h"
#include "platform/core/Twips.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CIssue.h"
#include "store/CMain.h"
#include "store/COpen.h"
#include "store/CUtility.h"
#include "store/CWaitCursor.h"
#include "store/ErrorReport.h"
#include "store/Globals.h"

#include "platform/db/Ado.h"
#include "platform/db/Dao.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

const QString frmRedoZiv::kTreeSql = QStringLiteral("select * from Issue order by parentid and id");
const QString frmRedoZiv::kTreeClipboardFormat = QStringLiteral("VBRedoZivTree");

namespace {

const QString kForm = QStringLiteral("frmRedoZiv.");
const QString kSelectTitle = QStringLiteral("Select a Argovo Database");
// Both spellings: file names on this system are case-sensitive.
const QString kCaseFilter = QStringLiteral("Argovo Files|*.AGV;*.agv");
const QString kAllFilesFilter = QStringLiteral("All Files|*.*");

const char* const kTabKeys[] = {"EXPLANATION", "GRID", "FILES"};
const char* const kTabCaptions[] = {"Explanation", "Grid", "Files"};

// Explorer style, read-only box hidden; a save dialog adds the overwrite prompt.
constexpr int kOpenDialogFlags = 0x80004;
constexpr int kSaveDialogFlags = 0x80006;

// Layout values, in twips.
constexpr int kWindowLeft = 2055;
constexpr int kWindowTop = 2175;
constexpr int kWindowWidth = 15100;
constexpr int kFirstWindowHeight = 11755;
constexpr int kWindowHeight = 10755;
constexpr int kSetupWindowHeight = 9500;
constexpr int kTreePane = 3750;
constexpr int kTabsViewTreePane = 4285;
constexpr int kStartPageLeft = 3875;
constexpr int kDefaultTreeWidth = 4285;

// The window's standard handling: the failure is reported with the
// procedure and the line, and the caller goes on with its next statement.
template <typename F> bool attempt(const char* procedure, int line, F&& body)
{
    return report::guarded(kForm + QLatin1String(procedure), line, std::forward<F>(body));
}

// Change and focus handlers skip whatever fails.
template <typename F> void quietly(F&& body)
{
    try {
        body();
    } catch (...) {
    }
}

// Sets a flag for the lifetime of the object.
class FlagScope {
public:
    explicit FlagScope(bool& flag)
        : m_flag(flag)
        , m_previous(flag)
    {
        m_flag = true;
    }
    ~FlagScope() { m_flag = m_previous; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

// The normal pointer while the user chooses a file, whatever the caller showed.
class NormalPointer {
public:
    NormalPointer()
        : m_saved(platform::screen().mousePointer())
    {
        platform::screen().setMousePointer(0);
    }
    ~NormalPointer()
    {
        try {
            platform::screen().setMousePointer(m_saved);
        } catch (...) {
        }
    }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

private:
    int m_saved;
};

// Where the file dialogs start: the cases folder beside the program.
QString dialogStartFolder()
{
    const QString cases = QDir(appinfo::programFolder()).filePath(QStringLiteral("cases"));
    return QFileInfo(cases).isDir() ? cases : appinfo::programFolder();
}

} // namespace

frmRedoZiv::frmRedoZiv(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmRedoZiv"));
    setWindowTitle(QStringLiteral("Argovo"));
    buildWindow();
    buildMenus();
    buildCommands();
    connectControls();
    setShutdownHost(this);
    Form_Load();
}

frmRedoZiv::~frmRedoZiv()
{
    // A name still being typed in the tree is stored now, as every way out
    // stores it: the editor goes with the tree, after this window's members,
    // and would store it into a window already gone.
    try {
        finishLabelEdit();
    } catch (...) {
    }
    if (shutdownHost() == this)
        setShutdownHost(nullptr);
}

// ---------------------------------------------------------------------------
// Building the controls

void frmRedoZiv::buildWindow()
{
    m_tbTools = addToolBar(QStringLiteral("Tools"));
    m_tbTools->setObjectName(QStringLiteral("tbTools"));
    m_tbTools->setMovable(false);

    m_central = new QWidget(this);
    m_central->setObjectName(QStringLiteral("centralArea"));
    auto* centralLayout = new QVBoxLayout(m_central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(m_central);

    m_ssSplitter = new QSplitter(Qt::Horizontal, m_central);
    m_ssSplitter->setObjectName(QStringLiteral("ssSplitter"));
    m_ssSplitter->setChildrenCollapsible(false);
    centralLayout->addWidget(m_ssSplitter);

    m_tvIssueItems = new QTreeWidget(m_ssSplitter);
    m_tvIssueItems->setObjectName(QStringLiteral("tvIssueItems"));
    m_tvIssueItems->setHeaderHidden(true);
    m_tvIssueItems->setColumnCount(1);
    m_tvIssueItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tvIssueItems->setSortingEnabled(false);
    // Every row is one line with its picture: the view need not measure each
    // of a large case's rows to lay the tree out.
    m_tvIssueItems->setUniformRowHeights(true);

    m_detailPane = new QWidget(m_ssSplitter);
    m_detailPane->setObjectName(QStringLiteral("detailPane"));
    auto* detailLayout = new QVBoxLayout(m_detailPane);
    detailLayout->setContentsMargins(4, 4, 4, 0);
    m_lblMain = new QLabel(m_detailPane);
    m_lblMain->setObjectName(QStringLiteral("lblMain"));
    QFont captionFont = m_lblMain->font();
    captionFont.setBold(true);
    captionFont.setPointSize(captionFont.pointSize() + 2);
    m_lblMain->setFont(captionFont);
    detailLayout->addWidget(m_lblMain);

    m_tbsTabs = new QTabWidget(m_detailPane);
    m_tbsTabs->setObjectName(QStringLiteral("tbsTabs"));
    m_explanationPage = new ExplanationPage(m_tbsTabs);
    m_explanationPage->setObjectName(QStringLiteral("tabExplanation"));
    m_gridPage = new QWidget(m_tbsTabs);
    m_gridPage->setObjectName(QStringLiteral("tabGrid"));
    auto* gridLayout = new QVBoxLayout(m_gridPage);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    m_SSSplitter1 = new QSplitter(Qt::Vertical, m_gridPage);
    m_SSSplitter1->setObjectName(QStringLiteral("SSSplitter1"));
    // The analysis window is loaded into the splitter's first pane, which
    // scrolls when the detail area is narrower than the grid.
    auto* gridScroll = new QScrollArea(m_SSSplitter1);
    gridScroll->setObjectName(QStringLiteral("gridScroll"));
    gridScroll->setWidgetResizable(true);
    gridScroll->setFrameShape(QFrame::NoFrame);
    m_gridPane = new QWidget;
    m_gridPane->setObjectName(QStringLiteral("gridPane"));
    auto* paneLayout = new QVBoxLayout(m_gridPane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    gridScroll->setWidget(m_gridPane);
    m_SSSplitter1->addWidget(gridScroll);
    gridLayout->addWidget(m_SSSplitter1);
    auto* filesPage = new QWidget(m_tbsTabs);
    filesPage->setObjectName(QStringLiteral("tabFiles"));
    auto* filesLayout = new QVBoxLayout(filesPage);
    filesLayout->setContentsMargins(0, 0, 0, 0);
    m_ctlFileDetails1 = new ctlFileDetails(filesPage);
    m_ctlFileDetails1->setObjectName(QStringLiteral("ctlFileDetails1"));
    filesLayout->addWidget(m_ctlFileDetails1);
    m_tbsTabs->addTab(m_explanationPage, QString::fromLatin1(kTabCaptions[0]));
    m_tbsTabs->addTab(m_gridPage, QString::fromLatin1(kTabCaptions[1]));
    m_tbsTabs->addTab(filesPage, QString::fromLatin1(kTabCaptions[2]));
    detailLayout->addWidget(m_tbsTabs, 1);

    m_ctlBookmarkList = new ctlBookmarks(m_ssSplitter);
    m_ctlBookmarkList->setObjectName(QStringLiteral("ctlBookmarkList"));

    m_ssSplitter->addWidget(m_tvIssueItems);
    m_ssSplitter->addWidget(m_detailPane);
    m_ssSplitter->addWidget(m_ctlBookmarkList);
    m_ssSplitter->setStretchFactor(0, 0);
    m_ssSplitter->setStretchFactor(1, 1);
    m_ssSplitter->setStretchFactor(2, 0);

    // Laid over the splitter, placed by their lefts.
    m_pnlStart = new StartPage(installsettings::makerHome(), m_central);
    m_pnlStart->setObjectName(QStringLiteral("pnlStart"));
    m_webBrowser = new BrowserPane(m_central);
    m_webBrowser->setObjectName(QStringLiteral("webBrowser"));

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusPanel1 = new QLabel(m_statusBar);
    m_statusPanel1->setObjectName(QStringLiteral("StatusBar1Panel1"));
    m_statusBar->addWidget(m_statusPanel1, 1);
    m_statusProgress = new QProgressBar(m_statusBar);
    m_statusProgress->setObjectName(QStringLiteral("StatusBar1Panel2"));
    m_statusProgress->setRange(0, 100);
    m_statusProgress->setTextVisible(false);
    m_statusProgress->hide();
    m_statusBar->addPermanentWidget(m_statusProgress);
    setStatusBar(m_statusBar);

    layoutOverlays();
}

void frmRedoZiv::buildMenus()
{
    auto addMenu = [this](const char* name, const char* title) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(title));
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Action"));
        return menu;
    };
    auto addItem = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QLatin1String(name));
        return action;
    };

    m_mnuFile = addMenu("mnuFile", "&File");
    m_mnuFileNew = addItem(m_mnuFile, "mnuFileNew", "New Case");
    m_mnuFileOpen = addItem(m_mnuFile, "mnuFileOpen", "Open Existing Case");
    m_mnuFileSave = addItem(m_mnuFile, "mnuFileSave", "Save");
    m_mnuFileSaveAs = addItem(m_mnuFile, "mnuFileSaveAs", "Save As...");
    m_mnuFileClose = addItem(m_mnuFile, "mnuFileClose", "Close Case");
    m_mnuFile->addSeparator()->setObjectName(QStringLiteral("Filesep1"));
    m_mnuFileExit = addItem(m_mnuFile, "mnuFileExit", "Exit");

    m_mnuInsert = addMenu("mnuInsert", "&Insert");
    m_mnuView = addMenu("mnuView", "&View");
    m_mnuReports = addMenu("mnuReports", "&Reports");
    m_mnuHelp = addMenu("mnuHelp", "&Help");
    m_mnuHelpContents = addItem(m_mnuHelp, "mnuHelpContents", "Contents...");
}

void frmRedoZiv::connectControls()
{
    connect(m_tvIssueItems, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { onTreeItemClicked(item); });
    connect(m_tvIssueItems, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { onTreeCurrentItemChanged(current); });

    connect(m_tbsTabs, &QTabWidget::currentChanged, this, [this] { tbsTabs_Click(); });

    connect(txtExplanation(), &QPlainTextEdit::textChanged, this, [this] {
        if (m_displaying || !m_currentIssue)
            return;
        quietly([this] { ExplanationOnChange(); });
    });
    connect(txtQuestions(), &QPlainTextEdit::textChanged, this, [this] {
        if (m_displaying || !m_currentIssue)
            return;
        quietly([this] { OnQuestionsChange(); });
    });
    m_tvIssueItems->viewport()->installEventFilter(this);
    connectTreeEditing();
    txtExplanation()->installEventFilter(this);
    for (int i = 0; i < ExplanationPage::kRatings; ++i) {
        txtSpin(i)->installEventFilter(this);
        connect(updown(i), &UpDown::changed, this, [this, i] { updown_Change(i); });
    }

    connect(m_ssSplitter, &QSplitter::splitterMoved, this, [this] {
        ssSplitter_SplitterStartDrag();
        if (m_ctlBookmarkList->isVisible())
            m_bookmarkPaneWidth = twips::fromPixels(m_ssSplitter->sizes().value(2));
    });

    connect(m_pnlStart, &StartPage::commandClicked, this,
            [this](int index) { cmdOpenStart_Click(index); });

    connect(m_mnuFileNew, &QAction::triggered, this, [this] { mnuFileNew_Click(); });
    connect(m_mnuFileOpen, &QAction::triggered, this, [this] { mnuFileOpen_Click(); });
    connect(m_mnuFileSave, &QAction::triggered, this, [this] { mnuFileSave_Click(); });
    connect(m_mnuFileSaveAs, &QAction::triggered, this, [this] { mnuFileSaveAs_Click(); });
    connect(m_mnuFileClose, &QAction::triggered, this, [this] { mnuFileClose_Click(); });
    connect(m_mnuFileExit, &QAction::triggered, this, [this] { mnuFileExit_Click(); });
    connect(m_mnuHelpContents, &QAction::triggered, this, [this] { mnuHelpContents_Click(); });

    connect(m_ctlFileDetails1, &ctlFileDetails::RequestFileName, this,
            &frmRedoZiv::ctlFileDetails1_RequestFileName);
    connect(m_ctlBookmarkList, &ctlBookmarks::ViewBookMark, this,
            &frmRedoZiv::ctlBookMarkList_ViewBookMark);
    connect(m_ctlBookmarkList, &ctlBookmarks::listClicked, this,
            [this] { selectTab(kTabExplanation); });
}

// ---------------------------------------------------------------------------
// Start-up and case opening

void frmRedoZiv::Form_Load()
{
    int line = 10;
    try {
        CWaitCursor wait;
        wait.SetCursor(CWaitCursor::kHourglass);
        line = 20;
        oUtility().setFormIssueLoaded(false);
        line = 30;
        gNodeClicked = false;
        gTreeChanged = false;
        line = 40;
        // A MIME type stands for the registered clipboard format.
        m_treeClipboardFormat = QStringLiteral("application/x-") + kTreeClipboardFormat;
        line = 45;
        EnableControls(false);
        line = 50;
        DoStartUp();
        line = 60;
        InitControls();
    } catch (const std::exception& e) {
        report::windowError(e, kForm + QStringLiteral("Form_Load"), line);
    }
}

void frmRedoZiv::DoStartUp()
{
    int line = 10;
    try {
        move(twips::toPixels(kWindowLeft), twips::toPixels(kWindowTop));
        resize(twips::toPixels(kWindowWidth), twips::toPixels(kFirstWindowHeight));
        line = 20;
        setTreePaneWidth(kTabsViewTreePane);
        line = 30;
        setPnlStartLeft(kStartPageLeft);
        line = 40;
        resize(twips::toPixels(kWindowWidth), twips::toPixels(kWindowHeight));

        line = 50;
        // Read only: nothing in the program writes it. A value that is no
        // number counts as absent.
        QSettings settings(QStringLiteral("Argovo"), QStringLiteral("Settings"));
        bool ok = false;
        const float width = settings.value(QStringLiteral("TreeWidth"), kDefaultTreeWidth)
                                .toString()
                                .trimmed()
                                .toFloat(&ok);
        setTreePaneWidth(ok && width > 0 ? int(width) : kDefaultTreeWidth);

        line = 60;
        ShowBookmarks(true);

        line = 70;
        // With no case named, the case chosen in the dialog is opened and
        // shown there already; it is not filled a second time here.
        const bool chosenInDialog = oMain().strFileName().isEmpty();
        const bool opened = SetupDBConnection();
        line = 80;
        if (!opened) {
            EnableControls(false);
            return;
        }
        if (chosenInDialog)
            return;
        line = 90;
        connectDataLayer();
        line = 100;
        showOpenedCase();
    } catch (const std::exception& e) {
        report::windowError(e, kForm + QStringLiteral("DoStartUp"), line);
    }
}

bool frmRedoZiv::SetupDBConnection()
{
    bool result = false;
    int line = 10;
    try {
        if (gDB) {
            // The case being left keeps what was typed into it, and no edit
            // afterwards can reach it through an item of its own.
            WritePendingEdits();
            m_currentIssue.reset();
            auto db = std::move(gDB);
            gDB.reset();
            db->Close();
        }
        m_readOnly = false;
        m_readOnlyNoticeDue = false;
        line = 20;
        if (oMain().strFileName().isEmpty()) {
            // The choice opens the case completely, this routine included;
            // what it opened is the result.
            SelectDataBase();
            result = gDB && gDB->isOpen();
        } else {
            line = 30;
            const QString path = oMain().strFileName();
            auto db = dao::DBEngine::OpenDatabase(path);
            line = 40;
            if (!casetables::isCaseFile(*db)) {
                db->Close();
                throw AppError(jet::UnrecognizedFormat, QStringLiteral("frmRedoZiv"),
                               QStringLiteral("%1 is not an Argovo case file: it holds no table "
                                              "Issue. The file was left as it is.")
                                   .arg(QDir::toNativeSeparators(path)));
            }
            line = 45;
            try {
                m_readOnly = !casetables::canWrite(*db);
            } catch (const AppError& e) {
                // Damage the quick check at open cannot see shows at the
                // first write: the case is not taken.
                db->Close();
                throw AppError(e.number(), e.source(),
                               QStringLiteral("The case file %1 cannot be opened: %2")
                                   .arg(QDir::toNativeSeparators(path), e.description()));
            }
            gDB = db;
            if (m_readOnly) {
                // Nothing is attempted that could only fail: the tables an
                // older case lacks are not made, and no edit is taken.
                showCaseCaption();
                m_readOnlyNoticeDue = true;
            } else {
                line = 50;
                CheckDBVersion();
                line = 60;
                EnsureCodeFilesTable();
            }
            result = true;
        }
    } catch (const std::exception& e) {
        report::windowError(e, kForm + QStringLiteral("SetupDBConnection"), line);
        result = false;
    }
    // Whatever happened, the start page makes way for the case.
    parkStartPage();
    return result;
}

void frmRedoZiv::SelectDataBase()
{
    int line = 10;
    try {
        gConnection = ado::Connection::create();
        line = 20;
        QString filter = kCaseFilter;
        QString fileName;
        line = 30;
        const QString name = GetFileName(false, fileName, kSelectTitle, filter);
        line = 40;
        if (name.isEmpty())
            return;
        line = 45;
        // The case being left keeps what was typed into it, or the user
        // chose to leave what could not be written.
        if (!WritePendingEdits())
            return;
        line = 50;
        // The tree is read while the file is opened and checked; whatever
        // way this ends, a read still going is stopped.
        m_treeAhead = std::make_unique<casetables::TreeReadAhead>(name, kTreeSql);
        const auto dropAhead = qScopeGuard([this] { m_treeAhead.reset(); });
        oMain().setStrFileName(name);
        const bool opened = SetupDBConnection();
        line = 60;
        if (!opened) {
            EnableControls(false);
            return;
        }
        line = 70;
        adoptCase(name);
        line = 80;
        connectDataLayer();
        line = 90;
        showOpenedCase();
    } catch (const std::exception& e) {
        report::windowError(e, kForm + QStringLiteral("SelectDataBase"), line);
    }
}

// The names the rest of the program knows the open case by.
void frmRedoZiv::adoptCase(const QString& path)
{
    const QString title = QFileInfo(path).fileName();
    oDataLayer().setCaseTitle(title);
    oUtility().setCaseName(title);
    oUtility().setConnectionString(path);
}

// The data layer follows the case: a connection to an earlier file is
// closed before the one to this case is made.
void frmRedoZiv::connectDataLayer()
{
    CDataLayer& layer = oDataLayer();
    const QString path = oMain().strFileName();
    auto connection = layer.Connection();
    if (connection->State() != ado::adStateClosed &&
        ado::dataSourceFromConnectionString(connection->ConnectionString()) != path) {
        layer.CloseConnection();
    }
    layer.setDataSource(path);
    layer.GetConnected();
    oUtility().setConnectionString(path);
}

void frmRedoZiv::showOpenedCase()
{
    ClearTreeView();
    // The bookmarks first: the tree may still be being read meanwhile.
    InitialiseBookmarks();
    FillTree(kTreeSql);
    EnableControls(true);
    selectTab(kTabExplanation);
    if (oUtility().FormIssueLoaded() || analysisforms::issueWindow())
        UnloadAnalysisWindow();
}

QString frmRedoZiv::GetFileName(bool dialogType, QString& sFilename, const QString& sDialogTitle,
                                QString& sFilter)
{
    try {
        if (sFilter.isEmpty())
            sFilter = kAllFilesFilter;
        platform::FileDialogRequest request;
        request.save = dialogType;
        request.title = sDialogTitle;
        request.fileName = sFilename;
        request.filter = sFilter;
        request.initDir = dialogStartFolder();
        request.flags = dialogType ? kSaveDialogFlags : kOpenDialogFlags;
        NormalPointer pointer;
        const platform::FileDialogResult chosen = platform::prompt().fileDialog(request);
        // A cancel gives no name, whatever was proposed.
        sFilename = chosen.fileName;
        return sFilename;
    } catch (const std::exception& e) {
        int number = 0;
        QString source = QStringLiteral("Argovo");
        if (const auto* app = dynamic_cast<const AppError*>(&e)) {
            number = app->number();
            source = app->source();
        }
        try {
            platform::msgBox(
                QStringLiteral("%1 %2 %3").arg(number).arg(source, report::describe(e)),
                platform::MsgButtons::OK, platform::MsgIcon::Critical, appinfo::kAppTitle);
        } catch (...) {
        }
        return QString();
    }
}

void frmRedoZiv::CheckDBVersion()
{
    // The caption names this case, however its version table came about.
    if (casetables::ensureVersionTable(*gDB, appinfo::versionText()))
        showCaseCaption();
}

// "Argovo (" and the case file's path without its extension ")".
void frmRedoZiv::showCaseCaption()
{
    const QString path = oMain().strFileName();
    QString caption =
        QStringLiteral("Argovo (%1)").arg(path.left(std::max(0, int(path.size()) - 4)));
    if (m_readOnly)
        caption += QStringLiteral(" - read-only");
    setWindowTitle(caption);
}

void frmRedoZiv::tellReadOnly()
{
    if (!m_readOnlyNoticeDue || !gDB)
        return;
    // Before the window is first shown, the notice waits for it.
    if (!isVisible())
        return;
    m_readOnlyNoticeDue = false;
    casenotices::readOnly(oMain().strFileName());
}

void frmRedoZiv::EnsureCodeFilesTable()
{
    casetables::ensureCodeFilesTable(*gDB);
}

void frmRedoZiv::EnableControls(bool bEnable)
{
    int line = 10;
    try {
        m_tvIssueItems->setEnabled(bEnable);
        // With no case open, as after an open that failed, the pane holds no
        // bookmark of the case closed: none would show or remove.
        if (!bEnable)
            m_ctlBookmarkList->Terminate();
        m_ctlBookmarkList->setEnabled(bEnable);
        setCaseMenusEnabled(bEnable);
        m_tbsTabs->setEnabled(bEnable);
        line = 20;
        showBookmarkPane();
        line = 30;
        Initialise(bEnable ? gDB : nullptr, nullptr);
        line = 40;
        applyReadOnly();
        // The case is in the window now, not the one before it.
        if (bEnable)
            tellReadOnly();
    } catch (const std::exception& e) {
        report::windowError(e, kForm + QStringLiteral("EnableControls"), line);
    }
}

void frmRedoZiv::setCaseMenusEnabled(bool enable)
{
    m_tbTools->setEnabled(enable);
    // With no case the File menu still opens, creates a case and exits.
    m_mnuFile->setEnabled(true);
    m_mnuFile->menuAction()->setEnabled(true);
    m_mnuFileNew->setEnabled(true);
    m_mnuFileOpen->setEnabled(true);
    m_mnuFileExit->setEnabled(true);
    m_mnuFileSave->setEnabled(enable);
    m_mnuFileSaveAs->setEnabled(enable);
    m_mnuFileClose->setEnabled(enable);
    for (QMenu* menu : {m_mnuInsert, m_mnuView, m_mnuReports, m_mnuHelp}) {
        menu->setEnabled(enable);
        menu->menuAction()->setEnabled(enable);
    }
}

void frmRedoZiv::InitControls()
{
    attempt("InitControls", 10, [this] {
        // The node under the mouse is highlighted.
        m_tvIssueItems->setMouseTracking(true);
        m_tvIssueItems->viewport()->setAttribute(Qt::WA_Hover);
    });
}

void frmRedoZiv::ctlFileDetails1_RequestFileName(const QString& title, QString& fileName, int mode)
{
    attempt("ctlFileDetails1_RequestFileName", 10, [&] {
        QString filter;
        fileName = GetFileName(mode != 0, fileName, title, filter);
    });
}

void frmRedoZiv::InitialiseBookmarks()
{
    m_ctlBookmarkList->Initialise(gDB);
}

void frmRedoZiv::UnloadAnalysisWindow()
{
    analysisforms::unloadIssueWindow();
}

QWidget* frmRedoZiv::analysisWindow() const
{
    return analysisforms::issueWindow();
}

// ---------------------------------------------------------------------------
// The case tree

void frmRedoZiv::FillTree(const QString& sSQL)
{
    FlagScope inCode(m_selectingInCode);
    try {
        if (!gDB)
            throw AppError(91, QStringLiteral("frmRedoZiv"),
                           QStringLiteral("Object variable or With block variable not set"));
        // A name still being typed is stored first, so the fill reads it back.
        finishLabelEdit();
        std::optional<treelogic::TreeStructure> ahead;
        if (m_treeAhead)
            ahead = m_treeAhead->take(gDB->Name(), sSQL);
        m_treeAhead.reset();
        treelogic::TreeStructure tree =
            ahead ? std::move(*ahead) : casetables::readIssueTree(*gDB, sSQL);

        codemodule::TreeRedraw(m_tvIssueItems, false);
        m_tvIssueItems->clear();
        m_nodes.clear();
        m_unshownChildren.clear();
        m_selectedByMove = nullptr;

        const bool anyRows = tree.nodes.size() > 1;
        m_unshown = std::move(tree);
        m_nodes.reserve(qsizetype(m_unshown.nodes.size()));
        // The root is open: its children are made now, deeper branches when
        // they are first opened or reached.
        QTreeWidgetItem* root = makeNode(0);
        showChildren(root);
        m_tvIssueItems->addTopLevelItem(root);
        BoldTreeNode(root);
        if (anyRows)
            root->setExpanded(true);
        codemodule::TreeRedraw(m_tvIssueItems, true);

        const int misplaced = m_unshown.orphans + m_unshown.cycleMembers + m_unshown.tooDeep;
        if (misplaced > 0) {
            platform::msgBox(
                QStringLiteral("%1 case item(s) could not be shown under their parent: the "
                               "parent is missing, is not an issue, or the parents form a loop "
                               "or a chain deeper than %3 levels. They are shown directly under "
                               "\"%2\".")
                    .arg(misplaced)
                    .arg(treelogic::kRootText)
                    .arg(treelogic::kDeepestLevel),
                platform::MsgButtons::OK, platform::MsgIcon::Exclamation, appinfo::kAppTitle);
        }
    } catch (const std::exception& e) {
        codemodule::TreeRedraw(m_tvIssueItems, true);
        const auto* app = dynamic_cast<const AppError*>(&e);
        report::numberedError(app ? *app
                                  : AppError(0, QStringLiteral("Argovo"), report::describe(e)),
                              QStringLiteral("frmRedoZiv::FillTree"));
    }
}

QTreeWidgetItem* frmRedoZiv::makeNode(int at)
{
    treelogic::TreeNode& n = m_unshown.nodes[std::size_t(at)];
    auto* item =
        new CaseTreeItem(screentext::shown(n.text), n.key, std::move(n.tag), std::move(n.image));
    if (n.text.size() > screentext::kMaxShown)
        item->setData(0, kNameRole, std::move(n.text));
    n.text.clear();
    m_nodes.insert(n.key, item);
    if (!n.childNodes.empty()) {
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        m_unshownChildren.insert(item, at);
    }
    return item;
}

void frmRedoZiv::showChildren(QTreeWidgetItem* node)
{
    const auto pending = m_unshownChildren.constFind(node);
    if (pending == m_unshownChildren.cend())
        return;
    const int at = *pending;
    m_unshownChildren.erase(pending);
    const std::vector<int>& childNodes = m_unshown.nodes[std::size_t(at)].childNodes;
    QList<QTreeWidgetItem*> children;
    children.reserve(qsizetype(childNodes.size()));
    for (const int child : childNodes)
        children.append(makeNode(child));
    node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    node->addChildren(children);
}

void frmRedoZiv::showBranch(QTreeWidgetItem* node)
{
    if (!node || m_unshownChildren.isEmpty())
        return;
    std::vector<QTreeWidgetItem*> pending{node};
    while (!pending.empty()) {
        QTreeWidgetItem* at = pending.back();
        pending.pop_back();
        showChildren(at);
        for (int i = 0; i < at->childCount(); ++i)
            pending.push_back(at->child(i));
    }
}

QTreeWidgetItem* frmRedoZiv::node(const QString& key)
{
    if (QTreeWidgetItem* shown = m_nodes.value(key))
        return shown;
    const treelogic::TreeNode* wanted = m_unshown.find(key);
    if (!wanted)
        return nullptr;
    // Up to the nearest node that is made, then down again making each
    // branch on the way.
    std::vector<int> above;
    QTreeWidgetItem* item = nullptr;
    for (int at = int(wanted - m_unshown.nodes.data()); at >= 0 && !item;) {
        item = m_nodes.value(m_unshown.nodes[std::size_t(at)].key);
        if (!item) {
            above.push_back(at);
            at = m_unshown.nodes[std::size_t(at)].parent;
        }
    }
    for (auto at = above.rbegin(); item && at != above.rend(); ++at) {
        showChildren(item);
        item = m_nodes.value(m_unshown.nodes[std::size_t(*at)].key);
    }
    return item;
}

void frmRedoZiv::BoldTreeNode(QTreeWidgetItem* node)
{
    FlagScope inCode(m_selectingInCode);
    try {
        m_tvIssueItems->setCurrentItem(node);
        QFont font = node->font(0);
        font.setBold(true);
        node->setFont(0, font);
    } catch (const std::exception& e) {
        const auto* app = dynamic_cast<const AppError*>(&e);
        report::numberedError(app ? *app
                                  : AppError(0, QStringLiteral("Argovo"), report::describe(e)),
                              QStringLiteral("frmRedoZiv::BoldTreeNode"));
    }
}

void frmRedoZiv::RecursiveCountNodes(QTreeWidgetItem* node, bool reset)
{
    attempt("RecursiveCountNodes", 10, [&] {
        if (reset)
            m_countedNodes = 0;
        if (!node)
            return;
        showChildren(node);
        for (int i = 0; i < node->childCount(); ++i) {
            ++m_countedNodes;
            RecursiveCountNodes(node->child(i), false);
        }
    });
}

void frmRedoZiv::RecursiveReadNodes(QTreeWidgetItem* node, bool flag)
{
    attempt("RecursiveReadNodes", 10, [&] {
        if (!node)
            return;
        showChildren(node);
        for (int i = 0; i < node->childCount(); ++i) {
            QTreeWidgetItem* child = node->child(i);
            const QString key = child->data(0, kKeyRole).toString();
            if (key != treelogic::kRootKey) {
                CIssue record;
                record.Initialise(gDB, treelogic::nodeKeyToId(key));
                // Each read loads the row; the values themselves are not kept.
                (void)record.Key();
                (void)record.ParentKey();
                (void)record.Name();
                (void)record.Weight();
            }
            RecursiveReadNodes(child, flag);
        }
    });
}

void frmRedoZiv::ClearTreeView()
{
    FlagScope inCode(m_selectingInCode);
    try {
        codemodule::TreeRedraw(m_tvIssueItems, false);
        m_tvIssueItems->clear();
        m_nodes.clear();
        m_unshownChildren.clear();
        m_unshown = {};
        m_selectedByMove = nullptr;
        codemodule::TreeRedraw(m_tvIssueItems, true);
    } catch (const std::exception& e) {
        report::windowError(e, QStringLiteral("CodeModule.ClearTreeView"), 10);
    }
}

// ---------------------------------------------------------------------------
// Layout and views

void frmRedoZiv::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    quietly([this] { ResizeForm(); });
}

void frmRedoZiv::ResizeForm()
{
    // The splitter fills the client area through the window's layout, also
    // after a restore; every resize gives the tree its standard width.
    setTreePaneWidth(kTreePane);
    layoutOverlays();
}

int frmRedoZiv::treePaneWidth() const
{
    return twips::fromPixels(m_ssSplitter->sizes().value(0));
}

void frmRedoZiv::setTreePaneWidth(int width)
{
    m_treePaneWidth = width;
    const int handles =
        m_ssSplitter->handleWidth() * (m_ctlBookmarkList->isVisibleTo(m_ssSplitter) ? 2 : 1);
    const int available = std::max(0, m_ssSplitter->width() - handles);
    const int tree = twips::toPixels(width);
    const int bookmarks =
        m_ctlBookmarkList->isVisibleTo(m_ssSplitter) ? twips::toPixels(m_bookmarkPaneWidth) : 0;
    m_ssSplitter->setSizes({tree, std::max(1, available - tree - bookmarks), bookmarks});
}

void frmRedoZiv::setPnlStartLeft(int left)
{
    m_pnlStartLeft = left;
    layoutOverlays();
}

void frmRedoZiv::setWebBrowserLeft(int left)
{
    m_webBrowserLeft = left;
    layoutOverlays();
}

// The start page and the browser lie over the splitter from their left edge
// to the right; at the hidden left they are out of the way entirely.
void frmRedoZiv::setPnlStartWidth(int width)
{
    m_pnlStartWidth = std::max(0, width);
    layoutOverlays();
}

void frmRedoZiv::layoutOverlays()
{
    auto place = [this](QWidget* overlay, int left, int width = 0) {
        if (left >= twips::kHiddenLeft) {
            overlay->hide();
            return;
        }
        const int x = std::max(0, twips::toPixels(left));
        const int toEdge = std::max(0, m_central->width() - x);
        overlay->setGeometry(x, 0, width > 0 ? std::min(toEdge, twips::toPixels(width)) : toEdge,
                             m_central->height());
        overlay->show();
        overlay->raise();
    };
    place(m_pnlStart, m_pnlStartLeft, m_pnlStartWidth);
    place(m_webBrowser, m_webBrowserLeft);
}

void frmRedoZiv::parkStartPage()
{
    if (m_pnlStartLeft < twips::kHiddenLeft)
        setPnlStartLeft(twips::kHiddenLeft);
    if (m_webBrowserLeft < twips::kHiddenLeft)
        setWebBrowserLeft(twips::kHiddenLeft);
}

void frmRedoZiv::ShowBookmarks(bool show)
{
    int line = 10;
    try {
        gBookmarksVisible = show;
        line = 20;
        m_ctlBookmarkList->setVisible(show);
        line = 30;
        ResizeForm();
    } catch (const std::exception& e) {
        report::windowError(e, kForm + QStringLiteral("ShowBookmarks"), line);
    }
}

// Shown, with the flag saying so.
void frmRedoZiv::showBookmarkPane()
{
    gBookmarksVisible = true;
    m_ctlBookmarkList->setVisible(true);
}

void frmRedoZiv::mnuViewOverlay_Click()
{
    attempt("mnuViewOverlay_Click", 10, [this] {
        setTreePaneWidth(kTreePane);
        setPnlStartLeft(kStartPageLeft);
        setWebBrowserLeft(twips::kHiddenLeft);
    });
}

void frmRedoZiv::mnuViewTabs_Click()
{
    attempt("mnuViewTabs_Click", 10, [this] {
        setPnlStartLeft(twips::kHiddenLeft);
        setWebBrowserLeft(twips::kHiddenLeft);
        setTreePaneWidth(kTabsViewTreePane);
    });
}

void frmRedoZiv::ssSplitter_SplitterStartDrag()
{
    attempt("ssSplitter_SplitterStartDrag", 10, [this] {
        setPnlStartLeft(twips::kHiddenLeft);
        setWebBrowserLeft(twips::kHiddenLeft);
    });
}

void frmRedoZiv::Form_Setup()
{
    attempt("Form_Setup", 10, [this] {
        resize(twips::toPixels(kWindowWidth), twips::toPixels(kSetupWindowHeight));
        m_bookmarkPaneHeight = twips::fromPixels(m_central->height()) * 2 / 8;
        selectTab(kTabExplanation);
    });
}

void frmRedoZiv::ShowSettings()
{
    // Which program settings belong here is not settled; nothing yet.
}

void frmRedoZiv::mnuViewSettings_Click()
{
    ShowSettings();
}

void frmRedoZiv::ShowProgressInStatusBar(bool show, double fraction)
{
    attempt("ShowProgressInStatusBar", 10, [&] {
        m_statusProgress->setValue(qBound(0, qRound(fraction * 100.0), 100));
        m_statusProgress->setVisible(show);
    });
}

bool frmRedoZiv::progressShown() const
{
    return !m_statusProgress->isHidden();
}

int frmRedoZiv::progressPercent() const
{
    return m_statusProgress->value();
}

// ---------------------------------------------------------------------------
// Item selection and the detail tabs

bool frmRedoZiv::eventFilter(QObject* watched, QEvent* event)
{
    // A new press on the tree starts afresh: a node reached earlier by the
    // keyboard is not the one this press may move to.
    if (event->type() == QEvent::MouseButtonPress && watched == m_tvIssueItems->viewport())
        m_selectedByMove = nullptr;
    if (event->type() == QEvent::FocusOut) {
        // Focus that goes to a menu or another window is not leaving the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            !m_writingBack) {
            if (watched == txtExplanation()) {
                txtExplanation_LostFocus();
            } else {
                for (int i = 0; i < ExplanationPage::kRatings; ++i) {
                    if (watched == txtSpin(i)) {
                        if (m_currentIssue) {
                            FlagScope busy(m_writingBack);
                            quietly([this, i] { OnTxtSpinLostFocus(i); });
                        }
                        break;
                    }
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// The user moved to another node, by mouse or keyboard: the node is clicked.
void frmRedoZiv::onTreeCurrentItemChanged(QTreeWidgetItem* current)
{
    if (!current || m_selectingInCode)
        return;
    m_selectedByMove = current;
    tvIssueItems_NodeClick(current);
}

// A click on the node that is already current shows it afresh; the click
// that ends the press which just moved to a node has been handled.
void frmRedoZiv::onTreeItemClicked(QTreeWidgetItem* item)
{
    if (item == m_selectedByMove) {
        m_selectedByMove = nullptr;
        return;
    }
    tvIssueItems_NodeClick(item);
}

void frmRedoZiv::tvIssueItems_NodeClick(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const QString key = node->data(0, kKeyRole).toString();
    attempt("tvIssueItems_NodeClick", 10, [] { gNodeClicked = true; });
    attempt("tvIssueItems_NodeClick", 20, [this] { selectTab(kTabExplanation); });
    attempt("tvIssueItems_NodeClick", 30,
            [this, node] { m_lblMain->setText(QStringLiteral("  ") + node->text(0)); });
    attempt("tvIssueItems_NodeClick", 40, [&key] { oUtility().setSelectedNode(key); });
    attempt("tvIssueItems_NodeClick", 50, [this, &key] { SelectCodeItem(key); });
    attempt("tvIssueItems_NodeClick", 60, [this] { parkStartPage(); });
}

void frmRedoZiv::SelectCodeItem(const QString& key, const QString& bookmarkName)
{
    // No node, or the root: the details keep showing the item they showed. An
    // empty key would make a new record, which the next commit adds as a row.
    if (key.isEmpty() || key == treelogic::kRootKey)
        return;
    auto record = std::make_shared<CIssue>();
    attempt("SelectCodeItem", 10, [&] { record->Initialise(gDB, treelogic::nodeKeyToId(key)); });
    if (!readItemToShow(gDB, *record))
        return;
    attempt("SelectCodeItem", 20,
            [&] { m_statusPanel1->setText(screentext::shown(record->Name())); });
    bool shown = true;
    attempt("SelectCodeItem", 30, [&] { shown = Initialise(gDB, record); });
    if (!shown)
        return;
    attempt("SelectCodeItem", 40, [this, &bookmarkName] {
        if (QTreeWidgetItem* selected = m_tvIssueItems->currentItem())
            m_ctlBookmarkList->FindBookmark(bookmarkName.isEmpty() ? selected->text(0)
                                                                   : bookmarkName);
    });
}

bool frmRedoZiv::Initialise(std::shared_ptr<dao::Database> oDB, std::shared_ptr<CIssue> item)
{
    // Every command that shows another item comes through here, so here
    // what was typed for the item left is written, and kept on screen when
    // it cannot be.
    if (oDB && item && !writeBackItemLeft("Initialise")) {
        stayOnItemShown();
        return false;
    }
    // The item to show may be the one shown, read before what was typed for
    // it was written just now (the toolbar's arrows with the tree on the
    // root): it is read again, or the boxes would show, and the next write
    // store, what the user had replaced.
    if (oDB && item && m_currentIssue && item != m_currentIssue && !item->Key().isEmpty() &&
        item->Key() == m_currentIssue->Key()) {
        const QString key = item->Key();
        attempt("Initialise", 15, [&] { item->Initialise(oDB, key); });
    }
    if (oDB && item && !readItemToShow(oDB, *item))
        return false;
    gDB = oDB;
    if (oDB && item) {
        m_currentIssue = std::move(item);
        // A failure told for the item left is not one of the item shown now.
        showUnsaved(false);
        attempt("Initialise", 20, [this] { PopulateControl(); });
        attempt("Initialise", 30, [this] { m_ctlFileDetails1->Initialise(gDB, m_currentIssue); });
        attempt("Initialise", 40, [this] {
            m_tbsTabs->setVisible(true);
            m_tbsTabs->setEnabled(true);
            txtExplanation()->setEnabled(true);
            txtQuestions()->setEnabled(true);
        });
    } else {
        // Edits typed into the emptied boxes must not reach an earlier item.
        m_currentIssue.reset();
        attempt("Initialise", 50, [this] { DisplayDefaults(); });
    }
    return true;
}

// The item shown could not be written as it was left, so it stays shown with
// what was typed.
void frmRedoZiv::stayOnItemShown()
{
    backToItemShown();
    m_unsavedRun = true;
    showItemStatus();
}

// Reads the item about to be shown. One that cannot be read is not shown:
// the boxes would keep the values of the item shown while bound to it, and
// the next write would store them in it. The failure is told and the window
// stays on the item shown.
bool frmRedoZiv::readItemToShow(const std::shared_ptr<dao::Database>& db, CIssue& item)
{
    QString notice;
    try {
        item.Name(); // the first property read loads the row
        // A row deleted elsewhere reads as an item with nothing in it, and
        // the first keystroke for it would fail.
        if (!db || item.Key().isEmpty() || treeediting::storedParent(*db, item.Key().toLongLong()))
            return true;
        notice = QStringLiteral(" is no longer in the case: it was deleted in another copy of the "
                                "program, where the case is open too. It is not shown; refresh "
                                "the tree to see the case as it is now.");
    } catch (const std::exception& e) {
        const auto* error = dynamic_cast<const AppError*>(&e);
        // The engine calls a busy file a failed update, read or write.
        notice = QStringLiteral(" could not be read, so it is not shown.\n\n") +
                 (error && error->number() == jet::RecordLocked
                      ? QStringLiteral("The case file is busy: another program is writing to "
                                       "it. Try again in a moment.")
                      : report::describe(e));
    }
    // The node moved to names the item, when the tree is on it.
    QString name = QStringLiteral("The item");
    quietly([&] {
        if (QTreeWidgetItem* at = m_tvIssueItems->currentItem();
            at && treelogic::nodeKeyToId(at->data(0, kKeyRole).toString()) == item.Key())
            name = QLatin1Char('"') + at->text(0) + QLatin1Char('"');
    });
    quietly([&] {
        platform::msgBox(name + notice, platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         appinfo::kAppTitle);
    });
    backToItemShown();
    showItemStatus();
    return false;
}

// The tree's current node, the heading and the node the insert commands
// work on go back to the item shown, without its being shown afresh; with no
// item shown, to no node.
void frmRedoZiv::backToItemShown()
{
    QTreeWidgetItem* shown = nullptr;
    QString name;
    quietly([&] {
        if (!m_currentIssue)
            return;
        name = screentext::shown(m_currentIssue->Name());
        shown = node(treelogic::keyForRow(m_currentIssue->ItemType(), m_currentIssue->Key()));
    });
    {
        FlagScope inCode(m_selectingInCode);
        m_tvIssueItems->setCurrentItem(shown);
        if (shown)
            m_tvIssueItems->scrollToItem(shown);
    }
    // A press on another node selects that node after the move to it was
    // refused; once the press is over the selection follows the current node.
    QTimer::singleShot(0, this, [this] {
        QTreeWidgetItem* current = m_tvIssueItems->currentItem();
        if (current ? current->isSelected() : m_tvIssueItems->selectedItems().isEmpty())
            return;
        FlagScope inCode(m_selectingInCode);
        if (current)
            m_tvIssueItems->setCurrentItem(current);
        else
            m_tvIssueItems->clearSelection();
    });
    if (m_currentIssue)
        m_lblMain->setText(QStringLiteral("  ") + (shown ? shown->text(0) : name));
    else
        m_lblMain->clear();
    quietly([shown] {
        oUtility().setSelectedNode(shown ? shown->data(0, kKeyRole).toString() : QString());
    });
}

void frmRedoZiv::DisplayDefaults()
{
    {
        FlagScope filling(m_displaying);
        txtExplanation()->setPlainText(QString());
        txtQuestions()->setPlainText(QString());
        for (int i = 0; i < ExplanationPage::kRatings; ++i)
            txtSpin(i)->clear();
    }
    // No item: no item's name either.
    m_lblMain->clear();
    m_statusPanel1->clear();
    m_tbsTabs->setVisible(true);
    m_tbsTabs->setEnabled(false);
    txtExplanation()->setEnabled(true);
    txtQuestions()->setEnabled(true);
    m_ctlFileDetails1->setVisible(true);
    showBookmarkPane();
    parkStartPage();
}

// A new current item fills every detail control, whichever tab shows, so
// that no box is left holding the previous item's values.
void frmRedoZiv::PopulateControl()
{
    DisplayExplanation();
    DisplayTxtSpins();
    const QString key = selectedTabKey();
    if (key == QLatin1String("GRID"))
        showAnalysisWindow();
    else if (key == QLatin1String("FILES"))
        DisplayFiles();
}

void frmRedoZiv::DisplayExplanation()
{
    CIssue& item = requireCurrentItem();
    const QString explanation = item.Explanation();
    const QString questions = item.Question();
    {
        FlagScope filling(m_displaying);
        txtExplanation()->setPlainText(explanation);
        txtQuestions()->setPlainText(questions);
    }
    emit DisplayChanged(1);
}

void frmRedoZiv::DisplayTxtSpins()
{
    CIssue& item = requireCurrentItem();
    for (int i = 0; i < ExplanationPage::kRatings; ++i) {
        const int16_t rating = ratingtext::ratingOf(item, i);
        FlagScope filling(m_displaying);
        txtSpin(i)->setText(ratingtext::fromRating(rating));
        updown(i)->setValue(rating);
    }
    emit DisplayChanged(2);
}

void frmRedoZiv::DisplayWeight()
{
    CIssue& item = requireCurrentItem();
    const int16_t weight = item.Weight();
    {
        FlagScope filling(m_displaying);
        txtSpin(0)->setText(ratingtext::fromRating(weight));
        updown(0)->setValue(weight);
    }
    emit DisplayChanged(2);
}

void frmRedoZiv::DisplayFiles()
{
    m_ctlFileDetails1->Initialise(gDB, m_currentIssue);
    m_ctlFileDetails1->setVisible(true);
    m_ctlFileDetails1->raise();
    emit DisplayChanged(4);
}

// Loaded the first time the GRID tab needs it, for the case open now.
void frmRedoZiv::showAnalysisWindow()
{
    frmIssue* window = analysisforms::issueWindow();
    if (!window)
        window = analysisforms::loadIssueWindow(m_gridPane);
    if (window)
        window->setVisible(true);
}

void frmRedoZiv::selectTab(int position)
{
    m_tbsTabs->setCurrentIndex(position - 1);
}

int frmRedoZiv::selectedTab() const
{
    return m_tbsTabs->currentIndex() + 1;
}

QString frmRedoZiv::selectedTabKey() const
{
    const int index = m_tbsTabs->currentIndex();
    if (index < 0 || index >= int(std::size(kTabKeys)))
        return QString();
    return QString::fromLatin1(kTabKeys[index]).toUpper();
}

void frmRedoZiv::tbsTabs_Click()
{
    const QString key = selectedTabKey();
    if (!m_currentIssue) {
        // With no item there is nothing to write back: only the view changes.
        if (key == QLatin1String("GRID"))
            attempt("tbsTabs_Click", 10, [this] { showAnalysisWindow(); });
        return;
    }
    // A case open read-only holds nothing to write back.
    attempt("tbsTabs_Click", 10, [&] {
        if (key == QLatin1String("EXPLANATION") && !m_readOnly) {
            takeTexts(*m_currentIssue);
        } else if (key == QLatin1String("GRID")) {
            showAnalysisWindow();
        } else if (key == QLatin1String("FILES")) {
            DisplayFiles();
        }
    });
    if (!m_readOnly)
        attempt("tbsTabs_Click", 20, [this] { m_currentIssue->Commit(); });
    attempt("tbsTabs_Click", 30, [this] {
        txtExplanation()->setEnabled(false);
        txtQuestions()->setEnabled(false);
        m_ctlFileDetails1->setVisible(false);
    });
    attempt("tbsTabs_Click", 40, [&] {
        if (key == QLatin1String("EXPLANATION"))
            DisplayExplanation();
        else if (key == QLatin1String("GRID"))
            DisplayWeight();
        else if (key == QLatin1String("FILES"))
            DisplayFiles();
    });
    attempt("tbsTabs_Click", 50, [this] {
        txtExplanation()->setEnabled(true);
        txtQuestions()->setEnabled(true);
    });
}

void frmRedoZiv::ctlBookMarkList_ViewBookMark(std::shared_ptr<CIssue> item)
{
    // An exhibit, a witness or a question has a key of its own in the tree.
    QTreeWidgetItem* found = nullptr;
    quietly([&] { found = node(treelogic::keyForRow(item->ItemType(), item->Key())); });
    if (!found) {
        // Shown without a node, the item would be under the heading and the
        // node of the item shown before, and what the user typed next would
        // go into it unseen. One deleted or unreadable is told as such.
        if (!readItemToShow(gDB, *item))
            return;
        QString name;
        quietly([&] { name = screentext::shown(item->Name()); });
        quietly([&] {
            platform::msgBox(
                QStringLiteral("\"%1\" is not in the tree yet: it was added in another copy of the "
                               "program, where the case is open too. It is not shown; refresh "
                               "the tree to see the case as it is now.")
                    .arg(name),
                platform::MsgButtons::OK, platform::MsgIcon::Exclamation, appinfo::kAppTitle);
        });
        return;
    }
    quietly([&] {
        FlagScope inCode(m_selectingInCode);
        m_tvIssueItems->scrollToItem(found);
        m_tvIssueItems->setCurrentItem(found);
    });
    bool shown = false;
    quietly([&] { shown = Initialise(gDB, item); });
    quietly([&] {
        if (!shown)
            return;
        m_statusPanel1->setText(found->text(0));
        // The heading and the insert commands follow the item now shown.
        m_lblMain->setText(QStringLiteral("  ") + found->text(0));
        oUtility().setSelectedNode(found->data(0, kKeyRole).toString());
    });
}

CIssue& frmRedoZiv::requireCurrentItem() const
{
    if (!m_currentIssue)
        throw AppError(91, QStringLiteral("frmRedoZiv"),
                       QStringLiteral("Object variable or With block variable not set"));
    return *m_currentIssue;
}

// ---------------------------------------------------------------------------
// Write-back of the detail edits

void frmRedoZiv::ExplanationOnChange()
{
    const QString text = txtExplanation()->toPlainText();
    if (text.isEmpty())
        return;
    if (selectedTabKey() == QLatin1String("EXPLANATION"))
        requireCurrentItem().setExplanation(text);
    commitCurrent(QStringLiteral("ExplanationOnChange"), 20, true);
}

void frmRedoZiv::OnQuestionsChange()
{
    const QString text = txtQuestions()->toPlainText();
    if (text.isEmpty())
        return;
    if (selectedTabKey() == QLatin1String("EXPLANATION"))
        requireCurrentItem().setQuestion(text);
    commitCurrent(QStringLiteral("OnQuestionsChange"), 20, true);
}

void frmRedoZiv::OnTxtSpinLostFocus(int iIndex)
{
    writeRating(iIndex, QStringLiteral("OnTxtSpinLostFocus"), 10);
}

void frmRedoZiv::updown_Change(int index)
{
    writeRating(index, QStringLiteral("updown_Change"), 10);
}

// A refused text leaves the rating as it was, shows it again, and the item is
// committed all the same.
void frmRedoZiv::writeRating(int index, const QString& procedure, int line)
{
    takeRating(index, procedure, line);
    commitCurrent(procedure, line + 10);
}

// Sets the item's rating from its box when the box says something else than
// the item holds, so a rating never given (shown as 0) stays ungiven. A text
// that is no rating is reported and the box shows the item's value again.
// A text read as a rating ("1e1", "2.5") is shown as the rating taken, so
// the box never shows one value while the item holds another.
bool frmRedoZiv::takeRating(int index, const QString& procedure, int line)
{
    if (index < 0 || index >= ExplanationPage::kRatings)
        return false;
    try {
        CIssue& item = requireCurrentItem();
        const int16_t stored = ratingtext::ratingOf(item, index);
        const int16_t value = ratingtext::toRating(txtSpin(index)->text(), stored);
        if (value != stored)
            ratingtext::setRatingOf(item, index, value);
        const QString shown = ratingtext::fromRating(value);
        if (txtSpin(index)->text() != shown) {
            FlagScope filling(m_displaying);
            txtSpin(index)->setText(shown);
        }
        updown(index)->setValue(value);
        return true;
    } catch (const std::exception& e) {
        report::windowError(e, kForm + procedure, line);
        quietly([this, index] {
            const int16_t kept = ratingtext::ratingOf(requireCurrentItem(), index);
            FlagScope filling(m_displaying);
            txtSpin(index)->setText(ratingtext::fromRating(kept));
            updown(index)->setValue(kept);
        });
        return false;
    }
}

// Writes the current item. A failure is told once per run of failures; what
// was typed stays in the boxes and in the item, so the next write that
// succeeds saves it and ends the run.
void frmRedoZiv::commitCurrent(const QString& procedure, int line, bool keystroke)
{
    if (m_readOnly)
        return;
    // While another program holds the file (storing a large document), a
    // write at every keystroke would wait its full time each and freeze the
    // window. After one refusal for a busy file, keystrokes wait only
    // briefly; leaving the box, the item or the case waits again.
    const bool wait = !(keystroke && m_unsavedRun && m_busyRun);
    if (!wait && gDB)
        gDB->setWaitForBusyFile(false);
    const auto waitAgain = qScopeGuard([&] {
        if (!wait && gDB)
            gDB->setWaitForBusyFile(true);
    });
    try {
        requireCurrentItem().Commit();
    } catch (const std::exception& e) {
        if (!m_unsavedRun)
            report::windowError(e, kForm + procedure, line);
        showUnsaved(true);
        const auto* error = dynamic_cast<const AppError*>(&e);
        m_busyRun = error && error->number() == jet::RecordLocked;
        return;
    }
    showUnsaved(false);
}

void frmRedoZiv::showUnsaved(bool unsaved)
{
    if (!unsaved)
        m_busyRun = false;
    if (unsaved == m_unsavedRun)
        return;
    m_unsavedRun = unsaved;
    showItemStatus();
}

void frmRedoZiv::showItemStatus()
{
    if (m_unsavedRun)
        m_statusPanel1->setText(QStringLiteral("%1: not saved").arg(m_lblMain->text().trimmed()));
    else
        m_statusPanel1->setText(m_currentIssue ? screentext::shown(m_currentIssue->Name())
                                               : QString());
}

void frmRedoZiv::txtExplanation_LostFocus()
{
    if (!m_currentIssue || m_readOnly)
        return;
    FlagScope busy(m_writingBack);
    CIssue& item = *m_currentIssue;
    if (selectedTabKey() == QLatin1String("EXPLANATION")) {
        quietly([&] { takeTexts(item); });
        for (int i = 0; i < ExplanationPage::kRatings; ++i)
            takeRating(i, QStringLiteral("txtExplanation_LostFocus"), 10);
        quietly([&] { item.setItemType(item.ItemType()); });
    }
    commitCurrent(QStringLiteral("txtExplanation_LostFocus"), 20);
}

bool frmRedoZiv::WritePendingEdits()
{
    if (!gDB || m_readOnly)
        return true;
    // A name being typed in the tree goes first: storing it shows its item afresh.
    if (!finishLabelEdit() && !leaveUnsavedName())
        return false;
    if (!m_currentIssue)
        return true;
    // Leaving the case is the last chance: a failure is told even when the
    // user heard of the run already.
    if (!attempt("WritePendingEdits", 30, [&] { commitBoxes("WritePendingEdits"); }))
        return leaveUnsaved();
    showUnsaved(false);
    return true;
}

// Another item is about to be shown. Toolbar buttons take no focus and a
// menu's focus-out is not a leaving of the box, so what was typed for the
// item shown (an emptied explanation or questions box too, which the change
// handlers pass over) is written here, whichever command changes the item.
// False when the write fails: the item must not be left then, or what was
// typed goes with it.
bool frmRedoZiv::writeBackItemLeft(const char* place)
{
    if (!gDB || m_readOnly || !m_currentIssue)
        return true;
    // A failure is told even when the user heard of the run already: the
    // item is not left, and the user must know why.
    bool gone = false;
    const bool written = attempt(place, 10, [&] {
        try {
            commitBoxes(place);
        } catch (const AppError& e) {
            gone = e.number() == jet::NoCurrentRecord;
            throw;
        }
    });
    // An item deleted since it was shown (another window on the case) has
    // nowhere to keep what was typed: the failure was told, and staying would
    // hold the user on it for good.
    return written || gone;
}

// Save never leaves a box, so it takes what the boxes hold itself.
void frmRedoZiv::saveCurrentItem(const char* place)
{
    if (!m_currentIssue || m_readOnly)
        return;
    // A name still being typed in the tree is saved too, as on every way out.
    finishLabelEdit();
    try {
        commitBoxes(place);
    } catch (...) {
        showUnsaved(true);
        throw;
    }
    showUnsaved(false);
}

// The one write of what the boxes hold for the item shown, for saves, item
// changes and ways out alike; raises when the item cannot be written.
void frmRedoZiv::commitBoxes(const char* place)
{
    FlagScope busy(m_writingBack);
    CIssue& item = *m_currentIssue;
    takeBoxes(item, place);
    item.Commit();
}

void frmRedoZiv::takeBoxes(CIssue& item, const char* place)
{
    attempt(place, 10, [&] { takeTexts(item); });
    for (int i = 0; i < ExplanationPage::kRatings; ++i)
        takeRating(i, QLatin1String(place), 20);
}

// A text is set only when the user changed it here: one left as it was read
// is not written, so a change another copy of the program made to it since
// is kept.
void frmRedoZiv::takeTexts(CIssue& item)
{
    const QString explanation = txtExplanation()->toPlainText();
    if (explanation != item.Explanation())
        item.setExplanation(explanation);
    const QString questions = txtQuestions()->toPlainText();
    if (questions != item.Question())
        item.setQuestion(questions);
}

// The way out of the case stops, with what was typed still in the boxes,
// unless the user chooses to leave it unsaved.
bool frmRedoZiv::leaveUnsaved()
{
    bool leave = false;
    attempt("WritePendingEdits", 40,
            [this, &leave] { leave = casenotices::leaveUnsaved(m_currentIssue->Name()); });
    // Nothing more of it is written on the way out.
    if (leave)
        m_currentIssue.reset();
    return leave;
}

bool frmRedoZiv::leaveUnsavedName()
{
    const auto [key, typed] = *m_unstoredName;
    m_unstoredName.reset();
    QTreeWidgetItem* named = node(key);
    bool leave = false;
    attempt("WritePendingEdits", 40,
            [&] { leave = casenotices::leaveUnsaved(named ? named->text(0) : typed); });
    if (leave || !named)
        return true;
    // The failure message closed the editor: it opens again with the name typed.
    {
        FlagScope inCode(m_selectingInCode);
        m_tvIssueItems->setCurrentItem(named);
    }
    m_tvIssueItems->editItem(named);
    if (auto* editor = qobject_cast<QLineEdit*>(m_tvIssueItems->itemWidget(named, 0)))
        editor->setText(typed);
    return false;
}

void frmRedoZiv::applyReadOnly()
{
    m_explanationPage->setReadOnly(m_readOnly);
    m_ctlFileDetails1->setReadOnly(m_readOnly);
    m_ctlBookmarkList->setReadOnly(m_readOnly);
    // The toolbar is switched as a whole with the case; its delete button
    // alone follows the case's write access.
    if (auto* remove = m_tbTools->findChild<QAction*>(QStringLiteral("tbTools_delete")))
        remove->setEnabled(!m_readOnly);
    if (!m_readOnly)
        return; // the case menus follow the case being open
    // Commands that change the case are off; reading, reports and views stay.
    m_mnuInsert->setEnabled(false);
    m_mnuInsert->menuAction()->setEnabled(false);
}

// ---------------------------------------------------------------------------
// Case close and commands

void frmRedoZiv::DoCaseClose()
{
    codemodule::DoCaseClose(*this);
}

void frmRedoZiv::releaseCurrentItem()
{
    m_currentIssue.reset();
}

void frmRedoZiv::cmdOpenStart_Click(int index)
{
    attempt("cmdOpenStart_Click", 10, [this, index] {
        switch (index) {
        case StartPage::OpenCase:
            SelectDataBase();
            break;
        case StartPage::NewCase:
            oOpen().NewCase(*this);
            break;
        case StartPage::ShutDown:
            Shutdown();
            break;
        case StartPage::ReportInfo:
        case StartPage::Help:
        case StartPage::QuickStart:
            codemodule::ShowHelpFile(codemodule::helpFilePath());
            break;
        case StartPage::NewTemplates:
            CheckOnline();
            break;
        default:
            break;
        }
    });
}

void frmRedoZiv::mnuFileNew_Click()
{
    attempt("mnuFileNew_Click", 10, [this] { oOpen().NewCase(*this); });
}

void frmRedoZiv::mnuFileOpen_Click()
{
    attempt("mnuFileOpen_Click", 10, [this] { SelectDataBase(); });
}

void frmRedoZiv::mnuFileSave_Click()
{
    attempt("mnuFileSave_Click", 10, [this] { saveCurrentItem("mnuFileSave_Click"); });
}

void frmRedoZiv::mnuFileSaveAs_Click()
{
    attempt("mnuFileSaveAs_Click", 10, [this] { oOpen().SaveAsCase(*this); });
}

void frmRedoZiv::mnuFileClose_Click()
{
    attempt("mnuFileClose_Click", 10, [this] { DoCaseClose(); });
}

void frmRedoZiv::mnuFileExit_Click()
{
    attempt("mnuFileExit_Click", 10, [] { Shutdown(); });
}

void frmRedoZiv::mnuHelpContents_Click()
{
    attempt("mnuHelpContents_Click", 10,
            [] { codemodule::ShowHelpFile(codemodule::helpFilePath()); });
}

// ---------------------------------------------------------------------------
// The stop sequence

void frmRedoZiv::TerminatePanes()
{
    m_ctlBookmarkList->Terminate();
    m_ctlFileDetails1->Terminate();
}

void frmRedoZiv::UnloadAllWindows()
{
    m_shuttingDown = true;
    analysisforms::unloadAnalysisWindows();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    hide();
}

void frmRedoZiv::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Once the window is painted with the case.
    if (m_readOnlyNoticeDue)
        QTimer::singleShot(0, this,
                           [this] { attempt("tellReadOnly", 10, [this] { tellReadOnly(); }); });
}

void frmRedoZiv::closeEvent(QCloseEvent* event)
{
    // The title-bar button stops the program the same way File > Exit does.
    if (!m_shuttingDown) {
        m_shuttingDown = true;
        bool stopped = true;
        attempt("Form_Unload", 10, [&stopped] { stopped = Shutdown(); });
        if (!stopped) {
            // The user stays with what could not be written.
            m_shuttingDown = false;
            event->ignore();
            return;
        }
    }
    event->accept();
}

// ---------------------------------------------------------------------------
// Controls

QPlainTextEdit* frmRedoZiv::txtExplanation() const
{
    return m_explanationPage->txtExplanation();
}
QPlainTextEdit* frmRedoZiv::txtQuestions() const
{
    return m_explanationPage->txtQuestions();
}
QLineEdit* frmRedoZiv::txtSpin(int index) const
{
    return m_explanationPage->txtSpin(index);
}
UpDown* frmRedoZiv::updown(int index) const
{
    return m_explanationPage->updown(index);
}
QString frmRedoZiv::statusPanelText() const
{
    return m_statusPanel1->text();
}
