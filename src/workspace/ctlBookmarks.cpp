#include "workspace/ctlBookmarks.h"

#include "workspace/CodeModule.h"

#include "platform/db/Dao.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kQuery = QStringLiteral("SELECT Bookmarks.ID, Bookmarks.CodeID, Issue.Name, ") +
                       QStringLiteral("Bookmarks.Description FROM Bookmarks INNER JOIN ") +
                       QStringLiteral("Issue ON Bookmarks.codeID = Issue.ID");

constexpr int kKeyRole = Qt::UserRole;
constexpr int kTagRole = Qt::UserRole + 1;

QString text(dao::Recordset& rs, const char* field)
{
    const QVariant v = rs.Fields(QString::fromLatin1(field)).Value();
    return v.isNull() ? QString() : v.toString();
}

} // namespace

ctlBookmarks::ctlBookmarks(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(1);
    m_label = new QLabel(QStringLiteral("  Bookmarks :"), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(m_label);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lvBookMarks"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Case Item"), QStringLiteral("Bookmark Description")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAllColumnsShowFocus(true);
    layout->addWidget(m_list, 1);
}

void ctlBookmarks::Initialise(std::shared_ptr<dao::Database> db)
{
    codemodule::TreeRedraw(m_list, false);
    m_list->clear();
    m_db = std::move(db);
    struct RedrawOn {
        QTreeWidget* list;
        ~RedrawOn() { codemodule::TreeRedraw(list, true); }
    } redrawOn{m_list};
    if (!m_db)
        return;

    auto rs = m_db->OpenRecordset(kQuery, dao::dbOpenSnapshot);
    if (!(rs->BOF() && rs->EOF())) {
        rs->MoveFirst();
        while (!rs->EOF()) {
            QString description = text(*rs, "Description");
            codemodule::ReplaceAll(description, QStringLiteral("\r\n"), QStringLiteral(" "), false);
            auto* row = new QTreeWidgetItem(m_list);
            row->setText(0, text(*rs, "Name"));
            row->setText(1, description);
            row->setData(0, kKeyRole, QStringLiteral("B") + text(*rs, "ID"));
            row->setData(0, kTagRole, QStringLiteral("C") + text(*rs, "CodeID"));
            rs->MoveNext();
        }
    }
    rs->Close();
    codemodule::AutoSizeListViewColumns(m_list, true);
}

void ctlBookmarks::Terminate()
{
    m_list->clear();
    m_db.reset();
}

void ctlBookmarks::FindBookmark(const QString& text)
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = m_list->topLevelItem(i);
        if (QString::compare(row->text(0), text, Qt::CaseInsensitive) == 0) {
            m_list->scrollToItem(row);
            m_list->setCurrentItem(row);
            return;
        }
    }
}
