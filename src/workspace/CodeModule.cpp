#include "workspace/CodeModule.h"

#include "workspace/ctlBookmarks.h"
#include "workspace/ctlFileDetails.h"
#include "workspace/frmRedoZiv.h"

#include "platform/core/AppInfo.h"
#include "platform/core/Shell.h"
#include "platform/core/Twips.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CUtility.h"
#include "store/ErrorReport.h"

#include "platform/db/Ado.h"
#include "platform/db/Dao.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QTreeWidget>

namespace codemodule {
namespace {

// Each step that fails is reported with its line; the procedure goes on.
template <typename F> void step(const char* procedure, int line, F&& body)
{
    report::guarded(QStringLiteral("CodeModule.") + QLatin1String(procedure), line,
                    std::forward<F>(body));
}

constexpr int kStartPageLeft = 3875;
constexpr int kTreePane = 3750;

} // namespace

void DoCaseClose(frmRedoZiv& frm)
{
    // Pending edits of the item shown go to the file before it closes.
    bool leave = true;
    step("DoCaseClose", 10, [&] { leave = frm.WritePendingEdits(); });
    if (!leave)
        return;
    // The analysis window holds its own connection to the case and the rows
    // it read: it goes with the case, as when another case is opened, so no
    // handle on the closed file is left and the next case loads it afresh.
    step("DoCaseClose", 30, [&] { frm.UnloadAnalysisWindow(); });
    // Nothing more is written to the closing case.
    step("DoCaseClose", 40, [&] { frm.releaseCurrentItem(); });
    step("DoCaseClose", 50, [] {
        if (gDB) {
            auto db = std::move(gDB);
            gDB.reset();
            db->Close();
        }
    });
    step("DoCaseClose", 60, [] {
        auto connection = oDataLayer().Connection();
        if (connection->State() != ado::adStateClosed)
            connection->Close();
    });
    step("DoCaseClose", 70, [&] { frm.ClearTreeView(); });
    step("DoCaseClose", 80, [] {
        oUtility().setCaseDSN(QString());
        oUtility().setCaseName(QString());
        oUtility().setCaseType(QString());
    });
    step("DoCaseClose", 90, [] { gConnection.reset(); });
    step("DoCaseClose", 100, [&] {
        // The closed case's bookmarks go with it.
        frm.ctlBookmarkList()->Terminate();
        frm.ctlBookmarkList()->setVisible(false);
        frm.selectTab(frmRedoZiv::kTabExplanation);
        frm.EnableControls(false);
    });
    step("DoCaseClose", 110, [&] {
        frm.setTreePaneWidth(kTreePane);
        frm.setPnlStartLeft(kStartPageLeft);
        frm.setWebBrowserLeft(twips::kHiddenLeft);
    });
    step("DoCaseClose", 120, [&] { frm.ctlFileDetails1()->Terminate(); });
    // No case is open: the caption names none.
    step("DoCaseClose", 130, [&] { frm.setWindowTitle(QStringLiteral("Argovo")); });
}

QString helpFilePath()
{
    return QDir(appinfo::programFolder()).filePath(QStringLiteral("help/index.html"));
}

void ShowHelpFile(const QString& path)
{
    step("ShowHelpFile", 10, [&] {
        if (!QFileInfo(path).isFile()) {
            report::windowError(QStringLiteral("The help file %1 could not be found.")
                                    .arg(QDir::toNativeSeparators(path)),
                                QStringLiteral("CodeModule.ShowHelpFile"), 10);
            return;
        }
        platform::shell().showHelp(path);
    });
}

void ReplaceAll(QString& text, const QString& find, const QString& replacement, bool wholeWord)
{
    if (find.isEmpty())
        return;
    const QChar blank = QLatin1Char(' ');
    qsizetype position = 0;
    while (position <= text.size()) {
        const qsizetype at = text.indexOf(find, position);
        if (at < 0)
            break;
        const qsizetype end = at + find.size();
        const bool replace = !wholeWord || ((at == 0 || text.at(at - 1) == blank) &&
                                            (end == text.size() || text.at(end) == blank));
        if (replace) {
            text.replace(at, find.size(), replacement);
            position = at + replacement.size();
        } else {
            position = end;
        }
    }
}

void AutoSizeListViewColumns(QTreeWidget* list, bool sizeLast)
{
    if (!list)
        return;
    TreeRedraw(list, false);
    for (int column = 0; column < list->columnCount(); ++column)
        list->resizeColumnToContents(column);
    TreeRedraw(list, true);
    if (sizeLast)
        AutoSizeLastColumn(list);
}

bool AutoSizeLastColumn(QTreeWidget* list)
{
    if (!list || list->columnCount() == 0)
        return false;
    const int last = list->columnCount() - 1;
    int others = 0;
    for (int column = 0; column < last; ++column)
        others += list->columnWidth(column);
    // Room is kept for a vertical scroll bar and a small margin, so a
    // scroll bar that comes later does not push the column out of sight.
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int width = list->width() - others - scrollBar - 10;
    if (width <= 0)
        return false;
    list->setColumnWidth(last, width);
    return true;
}

void TreeRedraw(QWidget* window, bool redraw)
{
    if (window)
        window->setUpdatesEnabled(redraw);
}

} // namespace codemodule
