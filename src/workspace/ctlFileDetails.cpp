#include "workspace/ctlFileDetails.h"

#include "workspace/CodeModule.h"
#include "workspace/DocumentIcons.h"

#include "platform/core/AppError.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Prompt.h"
#include "platform/core/ScreenText.h"
#include "platform/db/Dao.h"
#include "store/CFileObject.h"
#include "store/CIssue.h"
#include "store/CShellExecute.h"
#include "store/ErrorReport.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kListSql =
    QStringLiteral("select id, description, origdatetime, dateadded, length(file) as bytes "
                   "from codefiles order by origdatetime");
constexpr int kShowDefault = 10;
constexpr int32_t kLaunched = -1;

QString dateText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    const QDateTime when = value.toDateTime();
    return when.isValid() ? QLocale().toString(when, QLocale::ShortFormat) : value.toString();
}

// The pane's report: number, description and source, then the place.
void reportFailure(const std::exception& error, const char* place)
{
    const auto* app = dynamic_cast<const AppError*>(&error);
    const QString text =
        app ? QStringLiteral("%1 %2 %3").arg(app->number()).arg(app->description(), app->source())
            : QStringLiteral("0 %1 Argovo").arg(report::describe(error));
    try {
        platform::msgBox(text + QLatin1String(place), platform::MsgButtons::OK,
                         platform::MsgIcon::None, appinfo::kAppTitle);
    } catch (...) {
    }
}

template <typename F> bool handled(const char* place, F&& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        reportFailure(e, place);
    } catch (...) {
        reportFailure(AppError(0, QStringLiteral("Argovo"), QStringLiteral("Unknown error")),
                      place);
    }
    return false;
}

// The stored name and the path a document was added from, read from its row
// by id without its bytes; nothing when the row is gone.
struct StoredDocument {
    QString description;
    QString path;
};
std::optional<StoredDocument> findDocument(dao::Database& db, const QString& id)
{
    bool numeric = false;
    id.toLongLong(&numeric);
    if (!numeric)
        return std::nullopt;
    auto rs =
        db.OpenRecordset(QStringLiteral("select description, path from codefiles where id = ") + id,
                         dao::dbOpenSnapshot);
    std::optional<StoredDocument> found;
    if (!rs->EOF())
        found = StoredDocument{rs->Fields(QStringLiteral("description")).Value().toString(),
                               rs->Fields(QStringLiteral("path")).Value().toString()};
    rs->Close();
    return found;
}

void cannotLocate()
{
    platform::msgBox(QStringLiteral("File cannot be located."),
                     platform::MsgButtons::AbortRetryIgnore, platform::MsgIcon::None,
                     QStringLiteral("Cannot Locate File"));
}

// Closes a file descriptor however the function holding it is left.
class Descriptor final {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The user's folder for opened documents, in the shared temporary folder.
// Case documents are confidential and others on the machine can make names
// there first: only a real folder of this user (never a link) is used, and
// it is closed to everyone else, a folder left open by an earlier version
// included. Anything else fails the opening.
QString privateOpenFolder()
{
    const QString user = QDir::home().dirName();
    // $TMPDIR naming no folder leaves no temporary path, which would put
    // the copies in the current folder.
    QString temp = QDir::tempPath();
    if (temp.isEmpty() || !QFileInfo(temp).isDir())
        temp = QStringLiteral("/tmp");
    const QString base = QDir(temp).filePath(
        QStringLiteral("Argovo") + (user.isEmpty() ? QString() : QLatin1Char('-') + user));
    const QByteArray native = QFile::encodeName(base);
    const auto refuse = [&](const QString& reason) {
        throw AppError(75, QStringLiteral("Argovo"),
                       QStringLiteral("Path/File access error. The folder for opened documents, "
                                      "'%1', cannot be kept private to you (%2); the document was "
                                      "not opened. It can still be exported.")
                           .arg(QDir::toNativeSeparators(base), reason));
    };
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        refuse(QString::fromLocal8Bit(std::strerror(errno)));
    // Checked and closed through one handle, so a name swapped in between
    // is never the one changed.
    const Descriptor fd(
        ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0)
        refuse(errno == ELOOP || errno == ENOTDIR ? QStringLiteral("it is not a folder")
                                                  : QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        refuse(QString::fromLocal8Bit(std::strerror(errno)));
    if (st.st_uid != ::geteuid())
        refuse(QStringLiteral("another user owns it"));
    if ((st.st_mode & 077) != 0 && ::fchmod(fd.get(), 0700) != 0)
        refuse(QString::fromLocal8Bit(std::strerror(errno)));
    return base;
}

// The bare file name a stored copy opens under: the stored name picks the
// application, but it must never reach outside the opening's folder,
// whatever the case file holds.
QString copyName(const QString& description)
{
    const QString name = CFileObject::fileNameFromPath(description);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("document");
    return name;
}

bool digitsOnly(const QString& id)
{
    return !id.isEmpty() && std::all_of(id.begin(), id.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

// Whether the next size bytes read from fd are exactly the stored bytes of
// file. Both are read a piece at a time: a document can be near a gigabyte.
bool sameBytes(int fd, const dao::Field& file, qint64 size)
{
    constexpr qint64 kPiece = qint64(1) << 20;
    QByteArray onDisk;
    for (qint64 offset = 0; offset < size; offset += kPiece) {
        const qint64 bytes = std::min(kPiece, size - offset);
        const QByteArray stored = file.GetChunk(offset, bytes);
        if (stored.size() != bytes)
            return false;
        onDisk.resize(bytes);
        for (qint64 got = 0; got < bytes;) {
            const ssize_t n = ::read(fd, onDisk.data() + got, static_cast<size_t>(bytes - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            got += n;
        }
        if (onDisk != stored)
            return false;
    }
    return true;
}

// An earlier opening's copy of the document that still holds exactly its
// stored bytes, so opening it again needs no new copy in the temporary
// folder; empty when there is none or each was changed since. A changed
// copy may hold the user's edits and is never chosen. Only real folders of
// the user's own, holding a plain file of the user's, count: a link planted
// in the folder is never followed.
QString unchangedCopy(dao::Database& db, const QString& id, const QString& name)
{
    if (!digitsOnly(id))
        return QString();
    const QString base = privateOpenFolder();
    const Descriptor baseFd(::open(QFile::encodeName(base).constData(),
                                   O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (baseFd.get() < 0)
        return QString();
    auto rs = db.OpenRecordset(QStringLiteral("select file from codefiles where id = ") + id,
                               dao::dbOpenSnapshot);
    QString found;
    if (!rs->EOF()) {
        const dao::Field file = rs->Fields(QStringLiteral("file"));
        const qint64 size = file.FieldSize();
        const QByteArray nativeName = QFile::encodeName(name);
        const QStringList folders =
            QDir(base).entryList({id + QStringLiteral("-??????")},
                                 QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& folder : folders) {
            const Descriptor folderFd(::openat(baseFd.get(), QFile::encodeName(folder).constData(),
                                               O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            struct stat st {};
            if (folderFd.get() < 0 || ::fstat(folderFd.get(), &st) != 0 || st.st_uid != ::geteuid())
                continue;
            // Non-blocking, so a pipe left under the name is not waited on.
            const Descriptor copyFd(::openat(folderFd.get(), nativeName.constData(),
                                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            if (copyFd.get() < 0 || ::fstat(copyFd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
                st.st_uid != ::geteuid() || st.st_size != size)
                continue;
            if (sameBytes(copyFd.get(), file, size)) {
                found = QDir(QDir(base).filePath(folder)).filePath(name);
                break;
            }
        }
    }
    rs->Close();
    return found;
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
    for (int column = 1; column <= 3; ++column)
        m_list->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAllColumnsShowFocus(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setAcceptDrops(true);
    m_list->viewport()->setAcceptDrops(true);
    m_list->viewport()->installEventFilter(this);
    m_list->installEventFilter(this);
    inner->addWidget(m_list);
    layout->addWidget(m_frame);

    m_hint = new QLabel(m_list->viewport());
    m_hint->setObjectName(QStringLiteral("emptyHint"));
    m_hint->setEnabled(false);
    m_hint->setWordWrap(true);
    m_hint->move(8, 8);

    m_popup = new QMenu(QStringLiteral("popup"), this);
    m_popup->setObjectName(QStringLiteral("mnuPopup"));
    m_open = m_popup->addAction(QStringLiteral("Open File"));
    m_open->setObjectName(QStringLiteral("mnuOpenFile"));
    m_add = m_popup->addAction(QStringLiteral("Add File"));
    m_add->setObjectName(QStringLiteral("mnuAddFile"));
    m_delete = m_popup->addAction(QStringLiteral("Delete File"));
    m_delete->setObjectName(QStringLiteral("mnuDeleteFile"));
    m_popup->setDefaultAction(m_open);

    connect(m_open, &QAction::triggered, this, [this] { OpenFile(); });
    connect(m_add, &QAction::triggered, this, [this] { AddFile(); });
    connect(m_delete, &QAction::triggered, this, [this] { DeleteFile(); });
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { showPopup(pos); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) {
        if (row && row->isSelected())
            ExportFile();
    });
    setReadOnly(false);
    updateHint();
}

void ctlFileDetails::Initialise(std::shared_ptr<dao::Database> db, std::shared_ptr<CIssue> item)
{
    m_list->clear();
    m_db = std::move(db);
    m_item = std::move(item);
    PopulateListView();
}

void ctlFileDetails::Terminate()
{
    m_list->clear();
    m_db.reset();
    m_item.reset();
    updateHint();
}

void ctlFileDetails::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    m_hint->setText(readOnly ? QStringLiteral("No documents in this case.")
                             : QStringLiteral("No documents yet: add them from the right-click "
                                              "menu or drop files here."));
    m_hint->adjustSize();
}

QString ctlFileDetails::iconKey(const QString& description)
{
    const QString last = description.right(3).toUpper();
    if (last == QLatin1String("DOC"))
        return QStringLiteral("WORD");
    if (last == QLatin1String("XLS"))
        return QStringLiteral("EXCEL");
    if (last == QLatin1String("HTM") || description.right(4).toUpper() == QLatin1String("HTML"))
        return QStringLiteral("IE");
    if (last == QLatin1String("PPT"))
        return QStringLiteral("POWERPOINT");
    if (last == QLatin1String("TXT"))
        return QStringLiteral("TEXT");
    if (last == QLatin1String("MDB"))
        return QStringLiteral("ACCESS");
    if (last == QLatin1String("JPG") || last == QLatin1String("GIF") ||
        last == QLatin1String("ICO") || last == QLatin1String("BMP"))
        return QStringLiteral("JPEG");
    return QStringLiteral("OTHER");
}

QString ctlFileDetails::sizeText(qint64 bytes)
{
    if (bytes <= 0)
        return QString();
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString((bytes + 1023) / 1024);
}

QString ctlFileDetails::openCopyPath(const QString& id, const QString& description)
{
    // A folder of its own for every new copy: a copy opened before may hold
    // the user's edits, and another case may have a document of the same id.
    QTemporaryDir folder(privateOpenFolder() + QLatin1Char('/') +
                         (digitsOnly(id) ? id + QLatin1Char('-') : QString()) +
                         QStringLiteral("XXXXXX"));
    if (!folder.isValid())
        throw AppError(75, QStringLiteral("Argovo"),
                       QStringLiteral("Path/File access error. No folder could be made for the "
                                      "opened document: %1")
                           .arg(folder.errorString()));
    folder.setAutoRemove(false);
    return QDir(folder.path()).filePath(copyName(description));
}

// Every document of the case, oldest source-file date first. The bytes stay
// in the case file: only their length is read.
void ctlFileDetails::PopulateListView()
{
    m_list->clear();
    if (m_db) {
        try {
            auto rs = m_db->OpenRecordset(kListSql, dao::dbOpenSnapshot);
            while (!rs->EOF()) {
                const QString description =
                    rs->Fields(QStringLiteral("description")).Value().toString();
                const QString key = iconKey(description);
                auto* row = new QTreeWidgetItem(m_list);
                row->setData(0, kKeyRole,
                             QStringLiteral("ID=") +
                                 rs->Fields(QStringLiteral("id")).Value().toString());
                row->setData(0, kIconKeyRole, key);
                row->setText(0, screentext::shown(description));
                row->setIcon(0, documenticons::icon(key));
                row->setText(1, dateText(rs->Fields(QStringLiteral("origdatetime")).Value()));
                row->setText(2, dateText(rs->Fields(QStringLiteral("dateadded")).Value()));
                row->setText(3, sizeText(rs->Fields(QStringLiteral("bytes")).Value().toLongLong()));
                for (int column = 1; column <= 3; ++column)
                    row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
                rs->MoveNext();
            }
            rs->Close();
        } catch (const std::exception&) {
            // The list shows what could be read.
        }
    }
    // Dates and names stay readable whatever was added since the last fill.
    codemodule::AutoSizeListViewColumns(m_list, false);
    updateHint();
}

dao::Database& ctlFileDetails::database() const
{
    if (!m_db)
        throw AppError(91, QStringLiteral("Argovo"),
                       QStringLiteral("Object variable or With block variable not set"));
    return *m_db;
}

QTreeWidgetItem* ctlFileDetails::selectedRow() const
{
    const QList<QTreeWidgetItem*> rows = m_list->selectedItems();
    return rows.isEmpty() ? nullptr : rows.constFirst();
}

void ctlFileDetails::AddFile()
{
    if (m_readOnly)
        return;
    handled("::ctlFileDetails_AddFile", [this] {
        QString fileName;
        emit RequestFileName(QStringLiteral("Select A File To Add"), fileName, kChooseFileToAdd);
        if (fileName.isEmpty())
            return;
        AddCodeFile(fileName);
        PopulateListView();
    });
}

void ctlFileDetails::AddCodeFile(const QString& path)
{
    handled("::ctlFileDetails_AddCodeFile", [&] {
        const QString name = CFileObject::fileNameFromPath(path);
        if (name.size() > kMaxNameLength) {
            platform::msgBox(QStringLiteral("\"%1\" was not added: its name has %2 characters, "
                                            "and a document's name can have at most %3. Rename "
                                            "the file and add it again.")
                                 .arg(name)
                                 .arg(name.size())
                                 .arg(kMaxNameLength),
                             platform::MsgButtons::OK, platform::MsgIcon::Exclamation);
            return;
        }
        if (!m_item)
            throw AppError(91, QStringLiteral("Argovo"),
                           QStringLiteral("Object variable or With block variable not set"));
        CFileObject document;
        document.Initialise(m_db, QString());
        document.setCodeID(m_item->Key());
        document.setStoredFile(path);
        document.Commit();
    });
}

void ctlFileDetails::DropFiles(const QMimeData& data)
{
    if (m_readOnly)
        return;
    handled("::lvFiles_OLEDragDrop", [&] {
        QStringList skipped;
        for (const QUrl& url : data.urls()) {
            const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
            if (path.isEmpty() || !QFileInfo(path).isFile()) {
                skipped << (url.isLocalFile() ? QDir::toNativeSeparators(path)
                                              : url.toDisplayString());
                continue;
            }
            AddCodeFile(path);
        }
        PopulateListView();
        if (!skipped.isEmpty())
            platform::msgBox(QStringLiteral("Only files on this computer can be added; folders "
                                            "and web addresses are left out. Not added:\n") +
                                 skipped.join(QLatin1Char('\n')),
                             platform::MsgButtons::OK, platform::MsgIcon::Information);
    });
}

void ctlFileDetails::OpenFile()
{
    QString target;
    bool ownCopy = false;
    const bool found = handled("::ctlFileDetails_ExportFile", [&] {
        if (m_list->topLevelItemCount() == 0) {
            platform::msgBox(QStringLiteral("No files to open."), platform::MsgButtons::OK,
                             platform::MsgIcon::Information, QStringLiteral("No Files To Open"));
            return;
        }
        QTreeWidgetItem* row = selectedRow();
        if (!row || row->text(0).isEmpty()) {
            platform::msgBox(QStringLiteral("Select file to open."), platform::MsgButtons::OK,
                             platform::MsgIcon::Critical, QStringLiteral("No File Selected"));
            return;
        }
        const QString id = row->data(0, kKeyRole).toString().mid(3);
        const auto stored = findDocument(database(), id);
        if (!stored) {
            cannotLocate();
            return;
        }
        // The file it was added from opens while it is still there; otherwise
        // the stored copy does, an unchanged one from an earlier opening
        // before a new one: every new copy stays in the temporary folder.
        target = stored->path;
        if (!target.isEmpty() && QFileInfo(target).isFile())
            return;
        ownCopy = true;
        target = unchangedCopy(database(), id, copyName(stored->description));
        if (target.isEmpty()) {
            target = openCopyPath(id, stored->description);
            try {
                CFileObject document;
                document.Initialise(m_db, id);
                document.SaveToFile(target);
            } catch (...) {
                // Only the opening's own folder goes, and only when empty.
                QDir().rmdir(QFileInfo(target).absolutePath());
                target.clear();
                throw;
            }
        }
    });
    if (!found || target.isEmpty())
        return;
    try {
        CShellExecute launcher;
        // The copy's path is the document's own name in a folder of ours: a
        // "%HOME%" in that name is part of the name, not the user's home.
        const int32_t result =
            ownCopy ? launcher.LaunchOwnFile(0, target, QDir::currentPath(), kShowDefault)
                    : launcher.LaunchDocument(0, target, QDir::currentPath(), kShowDefault);
        if (result != kLaunched)
            platform::msgBox(QStringLiteral("Error on Open Document: ") + QString::number(result));
    } catch (...) {
        // The launcher reports its own failures.
    }
}

void ctlFileDetails::ExportFile()
{
    QTreeWidgetItem* row = selectedRow();
    if (!row)
        return;
    QString fileName;
    const bool written = handled("::ctlFileDetails_ExportFile", [&] {
        const QString id = row->data(0, kKeyRole).toString().mid(3);
        fileName = row->text(0);
        emit RequestFileName(QStringLiteral("Save File As : "), fileName, kChooseSaveTarget);
        if (fileName.isEmpty())
            return;
        if (!findDocument(database(), id)) {
            cannotLocate();
            fileName.clear();
            return;
        }
        CFileObject document;
        document.Initialise(m_db, id);
        document.SaveToFile(fileName);
    });
    // Success is reported only once the last byte is in place.
    if (!written || fileName.isEmpty())
        return;
    try {
        platform::msgBox(QStringLiteral("File Exported to ") + fileName, platform::MsgButtons::OK,
                         platform::MsgIcon::Information, QStringLiteral("Argovo "));
    } catch (...) {
    }
}

void ctlFileDetails::DeleteFile()
{
    QTreeWidgetItem* row = selectedRow();
    if (!row || m_readOnly)
        return;
    handled("::ctlFileDetails_DeleteFile", [&] {
        const QString id = row->data(0, kKeyRole).toString().mid(3);
        if (platform::msgBox(
                QStringLiteral("Do you really want to delete this file from the database ?"),
                platform::MsgButtons::YesNoDefaultNo, platform::MsgIcon::Question,
                QStringLiteral("Delete File from Database")) != platform::MsgAnswer::Yes)
            return;
        CFileObject document;
        document.Initialise(m_db, id);
        document.Delete();
        document.Commit();
        delete row;
        updateHint();
    });
}

void ctlFileDetails::showPopup(const QPoint& pos)
{
    const bool onRow = m_list->itemAt(pos) != nullptr;
    m_add->setEnabled(!m_readOnly);
    m_delete->setEnabled(onRow && !m_readOnly);
    m_popup->popup(m_list->viewport()->mapToGlobal(pos));
}

bool ctlFileDetails::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport()) {
        switch (event->type()) {
        case QEvent::Resize:
            m_hint->setFixedWidth(std::max(40, m_list->viewport()->width() - 16));
            m_hint->adjustSize();
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData()->hasUrls() && !m_readOnly)
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            DropFiles(*drop->mimeData());
            return true;
        }
        default:
            break;
        }
    } else if (watched == m_list && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete)
            DeleteFile();
    }
    return QWidget::eventFilter(watched, event);
}

void ctlFileDetails::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    try {
        codemodule::AutoSizeLastColumn(m_list);
    } catch (...) {
        // A pane too small for its columns keeps the widths it had.
    }
}

void ctlFileDetails::updateHint()
{
    m_hint->setVisible(m_list->topLevelItemCount() == 0);
}
