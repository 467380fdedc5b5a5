#pragma once

#include "store/ICaseWindow.h"
#include "store/IShutdownHost.h"
#include "workspace/CaseTables.h"
#include "workspace/TreeLogic.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

class BrowserPane;
class CIssue;
class CommandTable;
class ctlBookmarks;
class ctlFileDetails;
class ExplanationPage;
class QAction;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPlainTextEdit;
class QProgressBar;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class StartPage;
class TreeDragDrop;
class UpDown;

namespace dao {
class Database;
}

// The main window: the start page, the case tree, the detail tabs of the
// selected item, the bookmark pane and the document pane. It opens and
// closes the case and turns control events into calls on the records; every
// handler reports its own failures, none lets an error out.
class frmRedoZiv final : public QMainWindow, public ICaseWindow, public IShutdownHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmRedoZiv)

public:
    // Positions of the detail tabs.
    static constexpr int kTabExplanation = 1;
    static constexpr int kTabGrid = 2;
    static constexpr int kTabFiles = 3;

    // Item data roles of the tree's nodes.
    static constexpr int kKeyRole = Qt::UserRole;
    static constexpr int kTagRole = Qt::UserRole + 1;
    static constexpr int kImageRole = Qt::UserRole + 2;
    // The whole stored name of a node whose text is cut for the screen;
    // unset while the text is the whole name.
    static constexpr int kNameRole = Qt::UserRole + 3;

    // The query every fill of the tree runs.
    static const QString kTreeSql;
    // The private clipboard format that carries a dragged node's key.
    static const QString kTreeClipboardFormat;

    // Builds the window and loads it: the case is opened (or asked for) here.
    explicit frmRedoZiv(QWidget* parent = nullptr);
    ~frmRedoZiv() override;

    // Start-up and case opening.
    void Form_Load();
    void DoStartUp();
    bool SetupDBConnection() override;
    void SelectDataBase();
    QString GetFileName(bool dialogType, QString& sFilename, const QString& sDialogTitle,
                        QString& sFilter);
    void EnableControls(bool bEnable) override;
    void InitControls();
    void ctlFileDetails1_RequestFileName(const QString& title, QString& fileName, int mode);

    // The case tree.
    void FillTree(const QString& sSQL) override;
    void BoldTreeNode(QTreeWidgetItem* node);
    void ClearTreeView() override;
    // The node of a key, made with the branches above it when they were not
    // opened yet; null when the tree has no such node.
    QTreeWidgetItem* node(const QString& key);
    // Makes every node below one that is still to be made (before a walk
    // that must meet them all).
    void showBranch(QTreeWidgetItem* node);
    // Subtree walks through first-child and next-sibling links.
    void RecursiveCountNodes(QTreeWidgetItem* node, bool reset);
    int countedNodes() const { return m_countedNodes; }
    void RecursiveReadNodes(QTreeWidgetItem* node, bool flag);
    // The format registered at load, for the drag and drop of tree nodes.
    const QString& treeClipboardFormat() const { return m_treeClipboardFormat; }

    // Layout and views. Lefts and widths are in twips.
    void ResizeForm();
    void ShowBookmarks(bool show);
    void mnuViewOverlay_Click();
    void mnuViewTabs_Click();
    void ssSplitter_SplitterStartDrag();
    void Form_Setup();
    void ShowSettings();
    void mnuViewSettings_Click();
    // A progress indication in the status bar's second panel; fraction 0..1.
    void ShowProgressInStatusBar(bool show, double fraction);
    bool progressShown() const;
    int progressPercent() const;
    void CheckOnline();
    int pnlStartLeft() const override { return m_pnlStartLeft; }
    void setPnlStartLeft(int left) override;
    // 0 (as built) reaches the window's right edge.
    int pnlStartWidth() const { return m_pnlStartWidth; }
    void setPnlStartWidth(int width);
    int webBrowserLeft() const { return m_webBrowserLeft; }
    void setWebBrowserLeft(int left);
    int treePaneWidth() const;
    void setTreePaneWidth(int width);

    // Item selection and the detail tabs.
    void tvIssueItems_NodeClick(QTreeWidgetItem* node);
    // bookmarkName: the name the item's bookmarks go by, where its node does
    // not show it yet (a name typed in the tree, being stored).
    void SelectCodeItem(const QString& key, const QString& bookmarkName = QString());
    // False when what the boxes hold could not be written for the item shown:
    // that item then stays shown, with what was typed, and the tree on its node.
    bool Initialise(std::shared_ptr<dao::Database> oDB, std::shared_ptr<CIssue> item);
    void ctlBookMarkList_ViewBookMark(std::shared_ptr<CIssue> item);
    void selectTab(int position);
    int selectedTab() const;
    QString selectedTabKey() const;
    CIssue* currentIssue() const { return m_currentIssue.get(); }
    // Lets go of the current item without showing anything else.
    void releaseCurrentItem();

    // Write-back of the detail edits.
    void ExplanationOnChange();
    void OnQuestionsChange();
    void OnTxtSpinLostFocus(int iIndex);
    void updown_Change(int index);
    void txtExplanation_LostFocus();
    // Every way out of a case (close, exit, the close box, another case, New,
    // Save As) first writes back what the detail tabs hold.
    bool WritePendingEdits() override;
    // The open case could not be written when it was opened: it is shown,
    // but nothing is typed into it.
    bool caseReadOnly() const { return m_readOnly; }

    // Case close, commands.
    void DoCaseClose() override;
    void cmdOpenStart_Click(int index);
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileClose_Click();
    void mnuFileExit_Click();
    void mnuHelpContents_Click();

    // Toolbar, menus and the commands they reach (frmRedoZivCommands.cpp).
    void tbTools_ButtonClick(const QString& key);
    QToolBar* tbTools() const { return m_tbTools; }
    // Also the tree's right-click menu.
    QMenu* mnuInsert() const { return m_mnuInsert; }
    void mnuInsertNewIssue_Click();
    void mnuInsertNewExhibit_Click();
    void mnuInsertNewWitness_Click();
    void mnuInsertNewQuestion_Click();
    void mnuInsertDelete_Click();
    void mnuInsertRename_Click();
    void mnuInsertBookmark_Click();
    void mnuViewIssue_Click();
    void mnuViewBookmarks_Click();
    void mnuViewMaintenance_Click();
    void mnuReportsGrid_Click();
    void mnuReportIssue_Click();
    void mnuReportExhibit_Click();
    void mnuReportWitness_Click();
    void mnuReportAnalysis_Click();
    void mnuHelpEmail_Click();
    void mnuHelpUpdates_Click();
    void mnuAbout_Click();
    void WitnessListReport();
    void ExhibitListReport();
    void GridDisplayReport();
    void CaseAnalysisReport();
    void IssueListReport();

    // Tree editing: insert under the selected issue, rename, delete a subtree,
    // bookmark an issue.
    void LinkerChecker();
    void AddCode(const QString& itemType);
    void AddBookMark();
    void RenameItem();
    void DeleteCodeItem();
    // Deletes the records of the node and of every node below it, all or none.
    void RecursiveDeleteCode(QTreeWidgetItem* node);
    // The in-place label editor of a node opens (the root's never does) and closes.
    void tvIssueItems_BeforeLabelEdit(QTreeWidgetItem* node, QLineEdit* editor, bool& cancel);
    void tvIssueItems_AfterLabelEdit(QTreeWidgetItem* node, bool& cancel, const QString& newString);
    void tvIssueItems_KeyUp(int keyCode);

    // Moving items by drag and drop within the tree; hit is the node under
    // the mouse, y its vertical position in the tree's viewport.
    void tvIssueItems_MouseDown(QTreeWidgetItem* hit);
    // True when a drag starts: the platform's drag loop runs next.
    bool tvIssueItems_MouseMove(Qt::MouseButtons buttons);
    void tvIssueItems_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    // False when the data cannot be dropped there.
    bool tvIssueItems_OLEDragOver(const QMimeData* data, QTreeWidgetItem* hit, int y);
    void tvIssueItems_OLEDragDrop(const QMimeData* data);
    void tvIssueItems_OLECompleteDrag();
    void tvIssueItems_Collapse(QTreeWidgetItem* node);
    void tmrDragTimer_Timer();
    // The drag data of a node: its key in the tree's private format.
    QMimeData* treeDragData(const QString& key) const;
    const TreeDragDrop& dragState() const { return *m_drag; }
    QTimer* tmrDragTimer() const { return m_tmrDragTimer; }

    // What the case-file manager needs besides.
    void InitialiseBookmarks() override;
    void setCaseMenusEnabled(bool enable) override;
    void UnloadAnalysisWindow() override;

    // The stop sequence.
    void TerminatePanes() override;
    int GridReportState() const override { return 0; }
    void StopGridReport() override {}
    void UnloadAllWindows() override;

    // Controls, for the shared procedures and for tests.
    QTreeWidget* tvIssueItems() const { return m_tvIssueItems; }
    QSplitter* ssSplitter() const { return m_ssSplitter; }
    QTabWidget* tbsTabs() const { return m_tbsTabs; }
    QPlainTextEdit* txtExplanation() const;
    QPlainTextEdit* txtQuestions() const;
    QLineEdit* txtSpin(int index) const;
    UpDown* updown(int index) const;
    QLabel* lblMain() const { return m_lblMain; }
    QString statusPanelText() const;
    StartPage* pnlStart() const { return m_pnlStart; }
    BrowserPane* webBrowser() const { return m_webBrowser; }
    ctlBookmarks* ctlBookmarkList() const { return m_ctlBookmarkList; }
    ctlFileDetails* ctlFileDetails1() const { return m_ctlFileDetails1; }
    // The analysis grid window in the GRID tab, or null while it is not loaded.
    QWidget* analysisWindow() const;

signals:
    // A display routine filled controls: 1 explanation and questions,
    // 2 rating boxes, 4 the document pane.
    void DisplayChanged(int what);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void buildMenus();
    void buildCommands();
    void addToolbarCommands();
    void showWebPage(const QString& address);
    void showMaintenance();
    void selectNeighbour(bool next);
    void launchReport(const char* procedure, const QString& reportName, int zoom);
    void connectControls();
    void layoutOverlays();
    void showBookmarkPane();
    void connectDataLayer();
    void adoptCase(const QString& path);
    void showOpenedCase();
    void CheckDBVersion();
    void showCaseCaption();
    bool leaveUnsaved();
    // Tells that the case just opened is read-only, once it is on screen.
    void tellReadOnly();
    void EnsureCodeFilesTable();

    void DisplayDefaults();
    void PopulateControl();
    void DisplayExplanation();
    void DisplayTxtSpins();
    void DisplayWeight();
    void DisplayFiles();
    void showAnalysisWindow();
    void tbsTabs_Click();
    void parkStartPage();

    void writeRating(int index, const QString& place, int line);
    bool takeRating(int index, const QString& place, int line);
    // Sets on the item whatever its boxes hold that differs from it.
    void takeBoxes(CIssue& item, const char* place);
    // The explanation and questions boxes' part of it.
    void takeTexts(CIssue& item);
    void commitBoxes(const char* place);
    bool writeBackItemLeft(const char* place);
    void stayOnItemShown();
    // False when the item to show cannot be read or is gone from the file:
    // told, and the item shown stays.
    bool readItemToShow(const std::shared_ptr<dao::Database>& db, CIssue& item);
    void backToItemShown();
    // File > Save and the toolbar's Save; a failure is the caller's to report.
    void saveCurrentItem(const char* place);
    // A keystroke's commit does not wait for a file found busy at the last one.
    void commitCurrent(const QString& place, int line, bool keystroke = false);
    void showUnsaved(bool unsaved);
    void showItemStatus();
    void applyReadOnly();
    CIssue& requireCurrentItem() const;
    void onTreeCurrentItemChanged(QTreeWidgetItem* current);
    void onTreeItemClicked(QTreeWidgetItem* item);
    void connectTreeEditing();
    bool treeEditable() const;
    void startLabelEdit(QTreeWidgetItem* node);
    // Stores a name still being typed in the tree; false when it could not
    // be stored (the failure told), the typed name then kept aside.
    bool finishLabelEdit();
    // After a failed store on a way out: true to leave the name typed,
    // false to stay, with it typed in the editor again.
    bool leaveUnsavedName();
    void showDropHighlight(const QString& key);
    void moveNode(QTreeWidgetItem* node, QTreeWidgetItem* target);
    // Tells a refusal the case file gives for an insert or a move; false
    // when there is none.
    bool refuseInFile(const QString& refusal);
    QTreeWidgetItem* makeNode(int at);
    void showChildren(QTreeWidgetItem* node);

    QTreeWidget* m_tvIssueItems = nullptr;
    QSplitter* m_ssSplitter = nullptr;
    QWidget* m_central = nullptr;
    QWidget* m_detailPane = nullptr;
    QLabel* m_lblMain = nullptr;
    QTabWidget* m_tbsTabs = nullptr;
    ExplanationPage* m_explanationPage = nullptr;
    QWidget* m_gridPage = nullptr;
    QSplitter* m_SSSplitter1 = nullptr;
    QWidget* m_gridPane = nullptr;
    ctlFileDetails* m_ctlFileDetails1 = nullptr;
    ctlBookmarks* m_ctlBookmarkList = nullptr;
    StartPage* m_pnlStart = nullptr;
    BrowserPane* m_webBrowser = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_statusPanel1 = nullptr;
    QProgressBar* m_statusProgress = nullptr;
    QToolBar* m_tbTools = nullptr;
    QMenu* m_mnuFile = nullptr;
    QMenu* m_mnuInsert = nullptr;
    QMenu* m_mnuView = nullptr;
    QMenu* m_mnuReports = nullptr;
    QMenu* m_mnuHelp = nullptr;
    QAction* m_mnuFileNew = nullptr;
    QAction* m_mnuFileOpen = nullptr;
    QAction* m_mnuFileSave = nullptr;
    QAction* m_mnuFileSaveAs = nullptr;
    QAction* m_mnuFileClose = nullptr;
    QAction* m_mnuFileExit = nullptr;
    QAction* m_mnuHelpContents = nullptr;
    std::unique_ptr<CommandTable> m_toolbarCommands;
    QPointer<QDialog> m_frmMaintenance;

    QHash<QString, QTreeWidgetItem*> m_nodes;
    // The case as last read into the tree. A branch gets its nodes when it is
    // first opened or reached, so a large case is not made item by item
    // before it is shown; these are the nodes whose children are still to
    // be made, with their place in the structure.
    treelogic::TreeStructure m_unshown;
    QHash<QTreeWidgetItem*, int> m_unshownChildren;
    // The tree of the case being opened, read meanwhile.
    std::unique_ptr<casetables::TreeReadAhead> m_treeAhead;
    std::unique_ptr<TreeDragDrop> m_drag;
    QTimer* m_tmrDragTimer = nullptr;
    // The node shown as the drop target, by key.
    QString m_dropHighlighted;
    int m_countedNodes = 0;
    QString m_treeClipboardFormat;
    // The item the details show: one record, used for its properties and
    // for Commit alike.
    std::shared_ptr<CIssue> m_currentIssue;

    int m_pnlStartLeft = 3875;
    int m_pnlStartWidth = 0;
    int m_webBrowserLeft = 29999;
    int m_treePaneWidth = 4285;
    int m_bookmarkPaneWidth = 3600;
    int m_bookmarkPaneHeight = 0;
    // Set while the display routines fill the boxes from the record, so the
    // change handlers do not write the same values straight back.
    bool m_displaying = false;
    // Set while code (not the user) changes the tree's current node.
    bool m_selectingInCode = false;
    // The node the last move of the current node selected; the click that
    // follows the same press is then not a second selection.
    const QTreeWidgetItem* m_selectedByMove = nullptr;
    bool m_writingBack = false;
    // A name typed in place that could not be stored: its node, and the text.
    std::optional<std::pair<QString, QString>> m_unstoredName;
    // Set from the first write-back that failed until the next one that
    // succeeds: the user hears of a failure once, not at every keystroke.
    bool m_unsavedRun = false;
    bool m_busyRun = false; // the run's last failure: the file busy elsewhere
    bool m_readOnly = false;
    bool m_readOnlyNoticeDue = false;
    bool m_shuttingDown = false;
};
