// Insert > Bookmark Here: bookmarks the selected issue through the
// add-bookmark window and shows the new bookmark in the pane.

#include "workspace/frmRedoZiv.h"

#include "workspace/TreeEditing.h"
#include "workspace/TreeLogic.h"
#include "workspace/ctlBookmarks.h"
#include "workspace/frmAddBookmark.h"

#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "store/AppState.h"
#include "store/ErrorReport.h"

#include <QDialog>
#include <QTreeWidget>

void frmRedoZiv::AddBookMark()
{
    try {
        QTreeWidgetItem* selected = m_tvIssueItems->currentItem();
        if (!selected)
            return;
        const QString key = selected->data(0, kKeyRole).toString();
        if (key.isEmpty() || key == treelogic::kRootKey)
            return;
        if (key.startsWith(QLatin1String("QS")) || key.startsWith(QLatin1String("CW")) ||
            key.startsWith(QLatin1String("CX"))) {
            platform::msgBox(QStringLiteral("Can only bookmark issues."), platform::MsgButtons::OK,
                             platform::MsgIcon::Information,
                             QStringLiteral("Bookmark Only Issues"));
            return;
        }
        // Told before a description is typed that could not be stored.
        const QString refusal = gDB ? treeediting::bookmarkRefusalInFile(
                                          *gDB, key.mid(1).toLongLong(), selected->text(0))
                                    : QString();
        if (!refusal.isEmpty()) {
            platform::msgBox(refusal, platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                             appinfo::kAppTitle);
            return;
        }
        const int result = platform::prompt().showModal(frmAddBookmark::kWindowName,
                                                        {{QStringLiteral("ID"), key.mid(1)}});
        if (result != QDialog::Accepted)
            return;
        m_ctlBookmarkList->Initialise(gDB);
        m_ctlBookmarkList->FindBookmark(selected->text(0));
    } catch (const std::exception& e) {
        const auto* app = dynamic_cast<const AppError*>(&e);
        report::numberedError(app ? *app
                                  : AppError(0, QStringLiteral("Argovo"), report::describe(e)),
                              QStringLiteral("frmRedoZiv::AddBookMark"));
    }
}
