#include "workspace/ctlFileDetails.h"

#include "workspace/CodeModule.h"

#include "store/CIssue.h"

#include "platform/db/Dao.h"

#include <QDateTime>
#include <QGroupBox>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString dateText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    const QDateTime when = value.toDateTime();
    return when.isValid() ? QLocale().toString(when, QLocale::ShortFormat) : value.toString();
}

} // namespace

ctlFileDetails::ctlFileDetails(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_frame = new QGroupBox(this);
    m_frame->setObjectName(QStringLiteral("fraFile"));
    auto* inner = new QVBoxLayout(m_frame);
    m_list = new QTreeWidget(m_frame);
    m_list->setObjectName(QStringLiteral("lvFiles"));
    m_list->setColumnCount(4);
    m_list->setHeaderLabels({QStringLiteral("Original File Name              "),
                             QStringLiteral("File Date/Time"), QStringLiteral("Date Added"),
                             QStringLiteral("Size (KB)")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    inner->addWidget(m_list);
    layout->addWidget(m_frame);
}

void ctlFileDetails::Initialise(std::shared_ptr<dao::Database> db, std::shared_ptr<CIssue> item)
{
    m_list->clear();
    m_db = std::move(db);
    m_item = std::move(item);
    PopulateListView();
    codemodule::AutoSizeListViewColumns(m_list, false);
}

void ctlFileDetails::Terminate()
{
    m_list->clear();
    m_db.reset();
    m_item.reset();
}

// Every document of the case, oldest source-file date first; a failing
// read leaves the list as far as it got.
void ctlFileDetails::PopulateListView()
{
    m_list->clear();
    if (!m_db)
        return;
    try {
        auto rs = m_db->OpenRecordset(
            QStringLiteral("select id, description, origdatetime, dateadded from codefiles "
                           "order by origdatetime"),
            dao::dbOpenSnapshot);
        while (!rs->EOF()) {
            auto* row = new QTreeWidgetItem(m_list);
            row->setData(0, Qt::UserRole,
                         QStringLiteral("ID=") +
                             rs->Fields(QStringLiteral("id")).Value().toString());
            row->setText(0, rs->Fields(QStringLiteral("description")).Value().toString());
            row->setText(1, dateText(rs->Fields(QStringLiteral("origdatetime")).Value()));
            row->setText(2, dateText(rs->Fields(QStringLiteral("dateadded")).Value()));
            row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
            rs->MoveNext();
        }
        rs->Close();
    } catch (const std::exception&) {
        // The list shows what could be read.
    }
}
