#include "WorkspaceFixture.h"

#include "workspace/ctlFileDetails.h"

#include "platform/db/Dao.h"
#include "store/CIssue.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include <csignal>
#include <deque>
#include <sys/resource.h>

namespace {

class DocumentPane : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
        m_path = m_cases.create(QStringLiteral("Case.AGV"),
                                QStringLiteral("INSERT INTO Issue (ID, ParentID, Name, ItemType) "
                                               "VALUES (1, 0, 'Liability', 'Issue');"));
        m_db = dao::DBEngine::OpenDatabase(m_path);
        auto item = std::make_shared<CIssue>();
        item->Initialise(m_db, QStringLiteral("1"));
        QObject::connect(&m_pane, &ctlFileDetails::RequestFileName,
                         [this](const QString& title, QString& fileName, int mode) {
                             m_requests
                                 << QStringLiteral("%1|%2|%3").arg(title, fileName).arg(mode);
                             fileName = m_answers.empty() ? QString() : m_answers.front();
                             if (!m_answers.empty())
                                 m_answers.pop_front();
                         });
        m_pane.Initialise(m_db, item);
    }

    void TearDown() override
    {
        m_pane.Terminate();
        m_db->Close();
        qputenv("TMPDIR", m_oldTmp);
        QLocale::setDefault(QLocale::c());
        WorkspaceTest::TearDown();
    }

    QString source(const QString& name, const QByteArray& bytes)
    {
        const QString file = m_sources.filePath(name);
        QDir().mkpath(QFileInfo(file).absolutePath());
        writeFile(file, bytes);
        return file;
    }

    // Add File from the menu, the owner answering with path.
    void addByMenu(const QString& path)
    {
        m_answers.push_back(path);
        m_pane.mnuAddFile()->trigger();
    }

    QTreeWidget* list() const { return m_pane.lvFiles(); }
    void select(int row) { list()->setCurrentItem(list()->topLevelItem(row)); }
    void selectId(int id)
    {
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            if (list()->topLevelItem(i)->data(0, ctlFileDetails::kKeyRole) ==
                QStringLiteral("ID=%1").arg(id))
                select(i);
        }
    }
    int stored() const { return countIn(m_path, QStringLiteral("codefiles")); }

    void drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        // As the desktop delivers a drop: an enter picks the target, then the drop.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list()->viewport(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list()->viewport(), &event);
    }

    // The file the desktop was last asked to open.
    QString launched() const
    {
        return m_shell.executed.isEmpty()
                   ? QString()
                   : m_shell.executed.constLast().section(QLatin1Char('|'), 1, 1);
    }

    QTemporaryDir m_tmp;
    QTemporaryDir m_sourceDir;
    QDir m_sources{m_sourceDir.path()};
    QByteArray m_oldTmp;
    QString m_path;
    std::shared_ptr<dao::Database> m_db;
    ctlFileDetails m_pane;
    std::deque<QString> m_answers;
    QStringList m_requests;
};

TEST(DocumentIconKey, FollowsTheLastThreeLettersWhateverTheirCase)
{
    const struct {
        const char* name;
        const char* key;
    } cases[] = {{"brief.doc", "WORD"},   {"Brief.Doc", "WORD"},   {"costs.xls", "EXCEL"},
                 {"page.htm", "IE"},      {"page.HTML", "IE"},     {"deck.ppt", "POWERPOINT"},
                 {"notes.TXT", "TEXT"},   {"old.mdb", "ACCESS"},   {"scene.jpg", "JPEG"},
                 {"scene.gif", "JPEG"},   {"app.ico", "JPEG"},     {"scan.bmp", "JPEG"},
                 {"ledger.csv", "OTHER"}, {"brief.docx", "OTHER"}, {"ml", "OTHER"}};
    for (const auto& c : cases)
        EXPECT_EQ(ctlFileDetails::iconKey(QString::fromLatin1(c.name)), QLatin1String(c.key))
            << c.name;
}

TEST_F(DocumentPane, ANameLongerThanTheCaseKeepsIsRefusedAndRowsShowNameIconAndSizeInKilobytes)
{
    const QString fiftyOne = QString(47, QLatin1Char('n')) + QStringLiteral(".txt");
    addByMenu(source(fiftyOne, "too long"));
    EXPECT_EQ(stored(), 0);
    EXPECT_EQ(m_prompt.messages(),
              QStringList{QStringLiteral("\"") + fiftyOne +
                          QStringLiteral("\" was not added: its name has 51 characters, and a "
                                         "document's name can have at most 50. Rename the file "
                                         "and add it again.")});
    EXPECT_FALSE(m_pane.emptyHint()->isHidden());

    // Sizes in whole kilobytes rounded up; a name of fifty characters fits.
    const struct {
        const char* name;
        qint64 bytes;
        const char* cell;
    } cases[] = {{"nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn.txt", 0, ""},
                 {"one.doc", 1, "1"},
                 {"big.html", 1200000, "1,172"}};
    for (const auto& c : cases)
        addByMenu(source(QLatin1String(c.name), patternBytes(c.bytes)));
    ASSERT_EQ(list()->topLevelItemCount(), 3);
    EXPECT_TRUE(m_pane.emptyHint()->isHidden());
    for (const auto& c : cases) {
        const auto found = list()->findItems(QLatin1String(c.name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << c.name;
        EXPECT_EQ(found[0]->text(3), QLatin1String(c.cell)) << c.name;
        EXPECT_EQ(found[0]->data(0, ctlFileDetails::kIconKeyRole).toString(),
                  ctlFileDetails::iconKey(QLatin1String(c.name)));
        EXPECT_FALSE(found[0]->icon(0).isNull()) << c.name;
    }
    EXPECT_EQ(m_requests.value(0), QStringLiteral("Select A File To Add||0"));
}

class DocumentRoundTrip : public DocumentPane, public ::testing::WithParamInterface<int> {};

TEST_P(DocumentRoundTrip, BytesComeBackExactlyThroughAddAndExport)
{
    const QByteArray bytes = patternBytes(GetParam());
    addByMenu(source(QStringLiteral("exhibit.bin"), bytes));
    ASSERT_EQ(list()->topLevelItemCount(), 1);

    const QString target = m_sources.filePath(QStringLiteral("exported.bin"));
    m_answers.push_back(target);
    select(0);
    m_pane.ExportFile();

    EXPECT_EQ(fileBytes(target), bytes);
    EXPECT_EQ(m_requests.value(1), QStringLiteral("Save File As : |exhibit.bin|1"));
    ASSERT_EQ(m_prompt.shown().size(), 1);
    EXPECT_EQ(m_prompt.shown()[0].text, QStringLiteral("File Exported to ") + target);
    EXPECT_EQ(m_prompt.shown()[0].title, QStringLiteral("Argovo "));
}

INSTANTIATE_TEST_SUITE_P(Sizes, DocumentRoundTrip,
                         ::testing::Values(0, 16383, 16384, 16385, 3 * 16384));

TEST_F(DocumentPane, ACancelledOrFailedExportLeavesTheTargetAsItWas)
{
    addByMenu(source(QStringLiteral("exhibit.bin"), patternBytes(3 * 16384)));
    const QString target = source(QStringLiteral("kept.bin"), QByteArray("the old content"));
    select(0);

    m_pane.ExportFile(); // the owner's dialog was cancelled
    EXPECT_EQ(fileBytes(target), QByteArray("the old content"));
    EXPECT_TRUE(m_prompt.shown().isEmpty());

    // A disk that fills up part-way: writes past 20,000 bytes fail.
    m_answers.push_back(target);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 20000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    m_pane.ExportFile();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(fileBytes(target), QByteArray("the old content"));
    ASSERT_EQ(m_prompt.messages().size(), 1);
    EXPECT_TRUE(m_prompt.messages()[0].endsWith(QStringLiteral("::ctlFileDetails_ExportFile")))
        << qPrintable(m_prompt.messages()[0]);

    // The case's own file, picked by mistake: refused, and the case stays whole.
    const QByteArray caseBytes = fileBytes(m_path);
    m_prompt.clear();
    m_answers.push_back(m_path);
    m_pane.ExportFile();
    EXPECT_EQ(fileBytes(m_path), caseBytes);
    EXPECT_EQ(m_prompt.messages(),
              QStringList{QStringLiteral("75 Path/File access error. '%1' is the open case file; "
                                         "a document is never written over it. Choose another "
                                         "file name. Argovo::CFileObject_SaveToFile::"
                                         "ctlFileDetails_ExportFile")
                              .arg(m_path)});
    EXPECT_EQ(stored(), 1);
}

TEST_F(DocumentPane, DroppedFilesAreStoredInDropOrderAndFoldersAndWebAddressesSkipped)
{
    const QString c = source(QStringLiteral("c.txt"), "c");
    const QString a = source(QStringLiteral("a.txt"), "a");
    const QString b = source(QStringLiteral("b.txt"), "b");
    m_sources.mkpath(QStringLiteral("folder"));
    drop({QUrl::fromLocalFile(c), QUrl::fromLocalFile(m_sources.filePath(QStringLiteral("folder"))),
          QUrl::fromLocalFile(a), QUrl(QStringLiteral("https://example.org/d.txt")),
          QUrl::fromLocalFile(b)});

    EXPECT_EQ(list()->topLevelItemCount(), 3);
    QStringList order;
    for (int id = 1; id <= 3; ++id)
        order << valueIn(m_path,
                         QStringLiteral("select description from codefiles where id = %1").arg(id))
                     .toString();
    EXPECT_EQ(order, (QStringList{"c.txt", "a.txt", "b.txt"}));
    EXPECT_EQ(m_prompt.messages(),
              QStringList{QStringLiteral("Only files on this computer can be added; folders and "
                                         "web addresses are left out. Not added:\n") +
                          m_sources.filePath(QStringLiteral("folder")) +
                          QStringLiteral("\nhttps://example.org/d.txt")});
}

TEST_F(DocumentPane, DeleteAsksFirstAndNoChangesNothing)
{
    addByMenu(source(QStringLiteral("brief.doc"), "brief"));
    select(0);
    QTest::keyClick(list(), Qt::Key_Delete);
    ASSERT_EQ(m_prompt.shown().size(), 1);
    EXPECT_EQ(m_prompt.shown()[0].text,
              QStringLiteral("Do you really want to delete this file from the database ?"));
    EXPECT_EQ(m_prompt.shown()[0].title, QStringLiteral("Delete File from Database"));
    EXPECT_EQ(m_prompt.shown()[0].buttons, platform::MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(list()->topLevelItemCount(), 1);

    m_prompt.answer(platform::MsgAnswer::Yes);
    QTest::keyClick(list(), Qt::Key_Backspace);
    EXPECT_EQ(stored(), 0);
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_FALSE(m_pane.emptyHint()->isHidden());
    m_pane.showPopup(QPoint(5, 5)); // over no row
    EXPECT_FALSE(m_pane.mnuDeleteFile()->isEnabled());
    EXPECT_EQ(m_pane.mnuPopup()->defaultAction(), m_pane.mnuOpenFile());
    m_pane.mnuPopup()->hide();
}

// Whether anyone but the owner may look into or change path.
bool openToOthers(const QString& path)
{
    return QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
}

TEST_F(DocumentPane, EachDocumentOpensWithItsOwnBytesAndAMissingOneIsReported)
{
    const struct {
        const char* path;
        QByteArray bytes;
    } docs[] = {{"O'Brien.doc", "statement"},
                {"a/report.txt", "first"},
                {"b/report.txt", "second"},
                // The copy is named as the document, not as the environment says.
                {"%HOME%.txt", "named with percent signs"}};
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("HOME"));
    for (const auto& d : docs)
        addByMenu(source(QLatin1String(d.path), d.bytes));
    ASSERT_EQ(list()->topLevelItemCount(), 4);
    // With the files gone from where they were added, the stored copies open.
    for (const auto& d : docs)
        QFile::remove(m_sources.filePath(QLatin1String(d.path)));

    for (int id = 1; id <= 4; ++id) {
        selectId(id);
        m_pane.OpenFile();
        EXPECT_EQ(QFileInfo(launched()).fileName(), QFileInfo(docs[id - 1].path).fileName());
        EXPECT_TRUE(launched().startsWith(m_tmp.path())) << qPrintable(launched());
        EXPECT_EQ(fileBytes(launched()), docs[id - 1].bytes) << docs[id - 1].path;
    }
    EXPECT_TRUE(m_prompt.shown().isEmpty());

    // A file still where it was added opens from there.
    const QString again = source(QStringLiteral("b/report.txt"), "second, edited");
    selectId(3);
    m_pane.OpenFile();
    EXPECT_EQ(launched(), again);

    // A row deleted meanwhile neither opens nor exports.
    execIn(m_path, QStringLiteral("delete from codefiles where id = 1"));
    m_shell.executed.clear();
    selectId(1);
    m_pane.OpenFile();
    m_answers.push_back(m_sources.filePath(QStringLiteral("out.doc")));
    m_pane.ExportFile();
    EXPECT_TRUE(m_shell.executed.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(m_sources.filePath(QStringLiteral("out.doc"))));
    EXPECT_EQ(m_prompt.messages(), QStringList(2, QStringLiteral("File cannot be located.")));
}

TEST_F(DocumentPane, AnUnchangedStoredCopyOpensAgainAndAnEditedOneIsNeverWrittenOver)
{
    addByMenu(source(QStringLiteral("brief.doc"), "privileged"));
    QFile::remove(m_sources.filePath(QStringLiteral("brief.doc")));
    select(0);
    // Earlier openings of another case's document with the same id: one of
    // the same name and size but other bytes, and one reached through a link.
    const QString id = list()->topLevelItem(0)->data(0, ctlFileDetails::kKeyRole).toString().mid(3);
    const QDir base(
        QDir(m_tmp.path()).filePath(QStringLiteral("Argovo-") + QDir::home().dirName()));
    const QString other = base.filePath(id + QStringLiteral("-other0/brief.doc"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(other).absolutePath()));
    writeFile(other, "privilegeD");
    QTemporaryDir elsewhere;
    writeFile(QDir(elsewhere.path()).filePath(QStringLiteral("brief.doc")), "privileged");
    ASSERT_TRUE(QFile::link(elsewhere.path(), base.filePath(id + QStringLiteral("-linked"))));
    const QStringList planted = base.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    m_pane.OpenFile();
    const QString first = launched();
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("brief.doc"));
    EXPECT_EQ(fileBytes(first), QByteArray("privileged"));
    EXPECT_FALSE(planted.contains(QFileInfo(first).absoluteDir().dirName())) << qPrintable(first);
    EXPECT_EQ(fileBytes(other), QByteArray("privilegeD"));
    const QString folder = QFileInfo(first).absolutePath();
    EXPECT_FALSE(openToOthers(folder)) << qPrintable(folder);
    EXPECT_FALSE(openToOthers(base.path())) << qPrintable(folder);

    // Opened again unchanged: the same file, no second copy.
    m_pane.OpenFile();
    EXPECT_EQ(launched(), first);
    EXPECT_EQ(base.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 3);

    // Edited and saved in its application, then opened again from the case.
    writeFile(first, "privileged, annotated");
    m_pane.OpenFile();
    EXPECT_NE(launched(), first);
    EXPECT_EQ(QFileInfo(launched()).fileName(), QStringLiteral("brief.doc"));
    EXPECT_EQ(fileBytes(launched()), QByteArray("privileged"));
    EXPECT_EQ(fileBytes(first), QByteArray("privileged, annotated"));
    EXPECT_TRUE(m_prompt.shown().isEmpty());
}

// The temporary path is empty then: the copy went to the current folder.
TEST_F(DocumentPane, WithTMPDIRNamingNoFolderAStoredCopyOpensFromTheSystemsTemporaryFolder)
{
    addByMenu(source(QStringLiteral("brief.doc"), "privileged"));
    QFile::remove(m_sources.filePath(QStringLiteral("brief.doc")));
    select(0);
    qputenv("TMPDIR", QFile::encodeName(m_tmp.filePath(QStringLiteral("gone"))));
    m_pane.OpenFile();
    const QString copy = launched();
    const auto removeCopy =
        qScopeGuard([&] { QDir(QFileInfo(copy).absolutePath()).removeRecursively(); });
    EXPECT_TRUE(copy.startsWith(QStringLiteral("/tmp/Argovo"))) << qPrintable(copy);
    EXPECT_EQ(fileBytes(copy), QByteArray("privileged"));
    EXPECT_TRUE(m_prompt.shown().isEmpty());
}

TEST_F(DocumentPane, AStoredCopyIsNeverWrittenThroughALinkPlantedForTheUsersFolder)
{
    addByMenu(source(QStringLiteral("brief.doc"), "privileged"));
    QFile::remove(m_sources.filePath(QStringLiteral("brief.doc")));
    select(0);
    m_pane.OpenFile();
    const QString base = QFileInfo(QFileInfo(launched()).absolutePath()).absolutePath();
    ASSERT_TRUE(QDir(base).removeRecursively());

    QTemporaryDir planted;
    ASSERT_TRUE(QFile::link(planted.path(), base));
    m_shell.executed.clear();
    m_pane.OpenFile();
    EXPECT_TRUE(m_shell.executed.isEmpty());
    EXPECT_TRUE(QDir(planted.path()).isEmpty());
    ASSERT_EQ(m_prompt.messages().size(), 1);
    EXPECT_TRUE(m_prompt.messages().constFirst().contains(QStringLiteral("cannot be kept private")))
        << qPrintable(m_prompt.messages().constFirst());
    EXPECT_TRUE(
        m_prompt.messages().constFirst().endsWith(QStringLiteral("::ctlFileDetails_ExportFile")));

    // The user's own folder, left open to others by an earlier version, is
    // closed before a copy goes in.
    ASSERT_TRUE(QFile::remove(base));
    ASSERT_TRUE(QDir().mkdir(base));
    ASSERT_TRUE(QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadGroup | QFile::ExeGroup |
                                                QFile::ReadOther | QFile::ExeOther));
    m_pane.OpenFile();
    EXPECT_TRUE(launched().startsWith(base + QLatin1Char('/'))) << qPrintable(launched());
    EXPECT_EQ(fileBytes(launched()), QByteArray("privileged"));
    EXPECT_FALSE(openToOthers(base));
}

} // namespace
