#include "WorkspaceFixture.h"

#include "workspace/StartPage.h"
#include "workspace/ctlBookmarks.h"
#include "workspace/frmRedoZiv.h"

#include "platform/core/Twips.h"
#include "platform/db/CaseFileBuilder.h"
#include "platform/db/CaseFileGuard.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"
#include "store/CUtility.h"

#include "platform/db/Ado.h"
#include "platform/db/Dao.h"
#include "support/ForeignCase.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

namespace {

bool enabled(frmRedoZiv& w, const char* name)
{
    if (auto* menu = w.findChild<QMenu*>(QLatin1String(name)))
        return menu->menuAction()->isEnabled();
    auto* action = w.findChild<QAction*>(QLatin1String(name));
    return action && action->isEnabled();
}

QString dataLayerSource()
{
    return ado::dataSourceFromConnectionString(oDataLayer().Connection()->ConnectionString());
}

} // namespace

using StartUp = WorkspaceTest;

TEST_F(StartUp, NoCaseAtStartAsksForOneAndACancelLeavesOnlyTheFileMenu)
{
    frmRedoZiv w;

    ASSERT_EQ(m_prompt.count(QStringLiteral("file")), 1);
    const auto& dialog = m_prompt.shown().first().file;
    EXPECT_EQ(dialog.title, QStringLiteral("Select a Argovo Database"));
    EXPECT_FALSE(dialog.save);
    EXPECT_EQ(dialog.flags, 0x80004);
    // A case saved with a lower-case extension must be offered as well.
    EXPECT_EQ(dialog.filter, QStringLiteral("Argovo Files|*.AGV;*.agv"));
    EXPECT_EQ(dialog.initDir, QDir(programFolder()).filePath(QStringLiteral("cases")));
    EXPECT_TRUE(m_prompt.messages().isEmpty());

    EXPECT_FALSE(w.tvIssueItems()->isEnabled());
    EXPECT_FALSE(w.tbsTabs()->isEnabled());
    EXPECT_FALSE(w.findChild<QToolBar*>(QStringLiteral("tbTools"))->isEnabled());
    EXPECT_EQ(w.pnlStartLeft(), twips::kHiddenLeft);
    EXPECT_TRUE(w.pnlStart()->isHidden());
    EXPECT_EQ(w.webBrowserLeft(), twips::kHiddenLeft);
    EXPECT_EQ(gDB, nullptr);
    // With no case the File menu still opens, creates a case and exits.
    for (const char* on : {"mnuFile", "mnuFileOpen", "mnuFileNew", "mnuFileExit"})
        EXPECT_TRUE(enabled(w, on)) << on;
    for (const char* off : {"mnuFileSave", "mnuFileSaveAs", "mnuFileClose", "mnuInsert", "mnuView",
                            "mnuReports", "mnuHelp"})
        EXPECT_FALSE(enabled(w, off)) << off;

    m_prompt.chooseFile(m_cases.createSample());
    w.findChild<QAction*>(QStringLiteral("mnuFileOpen"))->trigger();
    ASSERT_NE(gDB, nullptr);
    EXPECT_TRUE(w.tvIssueItems()->isEnabled());
    EXPECT_TRUE(enabled(w, "mnuHelp"));
    EXPECT_TRUE(enabled(w, "mnuFileClose"));
}

TEST_F(StartUp, ChosenCaseOpensThroughBothFacesAndFillsTheWindow)
{
    const QString path = m_cases.createSample(QStringLiteral("smith.AGV"));
    m_prompt.chooseFile(path);
    const int checks = db::quickChecksRun();
    frmRedoZiv w;

    ASSERT_NE(gDB, nullptr);
    EXPECT_EQ(db::quickChecksRun(), checks + 1); // the file is checked once
    EXPECT_EQ(gDB->Name(), path);
    EXPECT_EQ(oDataLayer().Connection()->State(), ado::adStateOpen);
    EXPECT_EQ(dataLayerSource(), path);
    EXPECT_EQ(oMain().strFileName(), path);
    EXPECT_EQ(oUtility().CaseName(), QStringLiteral("smith.AGV"));
    // The caption is the path without its extension.
    EXPECT_EQ(w.windowTitle(),
              QStringLiteral("Argovo (%1)").arg(m_cases.path(QStringLiteral("smith"))));
    EXPECT_EQ(w.node(QStringLiteral("ROOT"))->childCount(), 3);
    EXPECT_EQ(w.ctlBookmarkList()->lvBookMarks()->topLevelItemCount(), 1);
    EXPECT_EQ(w.selectedTab(), frmRedoZiv::kTabExplanation);
    EXPECT_TRUE(w.tvIssueItems()->isEnabled());
    EXPECT_EQ(w.pnlStartLeft(), twips::kHiddenLeft);
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(StartUp, MissingCodeFilesIsCreatedWithItsSevenColumnsAndLeftAloneOnTheNextOpen)
{
    const QString path =
        m_cases.create(QStringLiteral("Case.AGV"), QStringLiteral("DROP TABLE CodeFiles;"));
    oMain().setStrFileName(path);
    {
        frmRedoZiv first;
        EXPECT_EQ(m_prompt.count(QStringLiteral("file")), 0); // a named case needs no dialog
        ASSERT_NE(gDB, nullptr);
        auto rs = gDB->OpenRecordset(QStringLiteral("codefiles"));
        const std::vector<std::pair<QString, int>> expected = {
            {QStringLiteral("ID"), dao::dbLong},
            {QStringLiteral("CodeID"), dao::dbLong},
            {QStringLiteral("Description"), dao::dbText},
            {QStringLiteral("OrigDateTime"), dao::dbDate},
            {QStringLiteral("DateAdded"), dao::dbDate},
            {QStringLiteral("Path"), dao::dbText},
            {QStringLiteral("File"), dao::dbLongBinary}};
        ASSERT_EQ(rs->FieldCount(), int(expected.size()));
        for (int i = 0; i < rs->FieldCount(); ++i) {
            EXPECT_EQ(rs->Fields(i).Name(), expected[i].first) << i;
            EXPECT_EQ(rs->Fields(i).Type(), expected[i].second) << i;
        }
        EXPECT_EQ(rs->Fields(2).Size(), 50);
        rs->Close();
    }
    // ID numbers itself.
    execIn(path, QStringLiteral("insert into CodeFiles (CodeID, Description) values (1, 'kept')"));
    EXPECT_EQ(valueIn(path, QStringLiteral("select ID from CodeFiles where CodeID = 1")).toInt(),
              1);

    resetAppState();
    oMain().setStrFileName(path);
    frmRedoZiv second;
    EXPECT_EQ(countIn(path, QStringLiteral("CodeFiles")), 1);
    EXPECT_EQ(m_prompt.messages(), QStringList());
}

TEST_F(StartUp, VersionTableEndsWithOneRowAndAFilledOneKeepsItsValue)
{
    const std::pair<const char*, const char*> cases[] = {
        {"DROP TABLE CodeDBVersion;", "1.0.0"},
        {"DELETE FROM CodeDBVersion;", "1.0.0"},
        {"UPDATE CodeDBVersion SET Version = '0.9.7';", "0.9.7"},
    };
    int n = 0;
    for (const auto& [sql, version] : cases) {
        resetAppState();
        const QString name = QStringLiteral("case%1").arg(++n);
        const QString path = m_cases.create(name + QStringLiteral(".AGV"), QLatin1String(sql));
        oMain().setStrFileName(path);
        frmRedoZiv w;
        EXPECT_EQ(countIn(path, QStringLiteral("CodeDBVersion")), 1) << sql;
        EXPECT_EQ(valueIn(path, QStringLiteral("select Version from CodeDBVersion")).toString(),
                  QLatin1String(version))
            << sql;
        // The caption names this case, also when its version table was new.
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Argovo (%1)").arg(m_cases.path(name))) << sql;
    }
}

TEST_F(StartUp, AFileThatIsNoCaseOrCouldActOnItsOwnIsRefusedWithWhatWasFoundAndLeftUnchanged)
{
    // Each file, what its message starts with, and what else it names.
    std::vector<std::tuple<QString, QString, QString>> refusals;
    const QString notes = m_cases.path(QStringLiteral("notes.AGV"));
    db::createDatabaseFromScript(notes, QStringLiteral("CREATE TABLE Notes (Line TEXT);"
                                                       "INSERT INTO Notes VALUES ('keep me');"));
    refusals.push_back({notes, notes + QStringLiteral(" is not an Argovo case file"),
                        QStringLiteral("frmRedoZiv.SetupDBConnection")});
    for (const auto& refused : foreigncase::refusedCases()) {
        const QString path = refused.make(m_cases);
        refusals.push_back(
            {path, QLatin1String(refused.before) + path, QLatin1String(refused.found)});
    }
    for (const auto& [path, start, found] : refusals) {
        SCOPED_TRACE(path.toStdString());
        resetAppState();
        m_prompt.clear();
        const QByteArray before = fileBytes(path);
        m_prompt.chooseFile(path);
        frmRedoZiv w;

        ASSERT_EQ(m_prompt.messages().size(), 1) << qPrintable(m_prompt.messages().join(" | "));
        const QString shown = m_prompt.messages().first();
        EXPECT_TRUE(shown.startsWith(start)) << qPrintable(shown);
        EXPECT_TRUE(shown.contains(found)) << qPrintable(shown);
        EXPECT_EQ(fileBytes(path), before);
        EXPECT_EQ(gDB, nullptr);
        EXPECT_FALSE(w.tvIssueItems()->isEnabled());
        EXPECT_NE(oDataLayer().Connection()->State(), ado::adStateOpen);
    }
}

TEST_F(StartUp, ForeignTableAndWriteAheadCasesOpenInTheWindowAndStayOneFile)
{
    for (const QString& path :
         {foreigncase::withExtraTable(m_cases), foreigncase::writeAhead(m_cases)}) {
        resetAppState();
        m_prompt.chooseFile(path);
        {
            frmRedoZiv w;
            ASSERT_NE(gDB, nullptr);
            EXPECT_EQ(w.node(QStringLiteral("ROOT"))->childCount(), 3);
            EXPECT_EQ(m_prompt.messages(), QStringList());
        }
        resetAppState();
        EXPECT_FALSE(QFileInfo::exists(path + "-wal"));
        EXPECT_FALSE(QFileInfo::exists(path + "-shm"));
        EXPECT_EQ(fileBytes(path).at(18), 1); // the rollback journal's mark
    }
    EXPECT_EQ(valueIn(m_cases.path(QStringLiteral("Extra.AGV")),
                      QStringLiteral("select Peer from SyncState"))
                  .toString(),
              QStringLiteral("laptop"));
}

TEST_F(StartUp, OpeningASecondCaseReconnectsTheDataLayerAndACancelKeepsIt)
{
    const QString first = m_cases.createSample(QStringLiteral("first.AGV"));
    const QString second = m_cases.create(QStringLiteral("second.AGV"));
    m_prompt.chooseFile(first);
    frmRedoZiv w;
    ASSERT_EQ(dataLayerSource(), first);

    m_prompt.chooseFile(second);
    w.mnuFileOpen_Click();
    EXPECT_EQ(oDataLayer().Connection()->State(), ado::adStateOpen);
    EXPECT_EQ(dataLayerSource(), second);
    EXPECT_EQ(gDB->Name(), second);
    EXPECT_EQ(oUtility().CaseName(), QStringLiteral("second.AGV"));
    // The tree and the bookmarks are the second case's.
    EXPECT_EQ(w.node(QStringLiteral("ROOT"))->childCount(), 0);
    EXPECT_EQ(w.ctlBookmarkList()->lvBookMarks()->topLevelItemCount(), 0);
    EXPECT_EQ(w.currentIssue(), nullptr);

    m_prompt.cancelFile();
    w.mnuFileOpen_Click();
    ASSERT_NE(gDB, nullptr);
    EXPECT_EQ(gDB->Name(), second);
    EXPECT_EQ(dataLayerSource(), second);
    EXPECT_TRUE(w.tvIssueItems()->isEnabled());
}

// The open of a file that is no case closes the case open before: its
// bookmarks go with it, until the next case is open.
TEST_F(StartUp, AFailedOpenEmptiesAndGreysTheBookmarkPaneWithTheTree)
{
    const QString first = m_cases.createSample(QStringLiteral("first.AGV"));
    const QString junk = m_cases.path(QStringLiteral("junk.AGV"));
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    m_prompt.chooseFile(first);
    frmRedoZiv w;
    ctlBookmarks* pane = w.ctlBookmarkList();
    ASSERT_EQ(pane->lvBookMarks()->topLevelItemCount(), 1);

    m_prompt.clear();
    m_prompt.chooseFile(junk);
    w.mnuFileOpen_Click();
    EXPECT_EQ(m_prompt.messages().size(), 1);
    EXPECT_EQ(gDB, nullptr);
    EXPECT_FALSE(w.tvIssueItems()->isEnabled());
    EXPECT_EQ(pane->lvBookMarks()->topLevelItemCount(), 0);
    EXPECT_FALSE(pane->isEnabled());

    m_prompt.chooseFile(first);
    w.mnuFileOpen_Click();
    EXPECT_TRUE(pane->isEnabled());
    EXPECT_EQ(pane->lvBookMarks()->topLevelItemCount(), 1);
}

TEST_F(StartUp, TheDocumentPanesDialogsAdoptNoCaseAndACancelGivesNoName)
{
    const QString path = m_cases.createSample();
    const QString other = m_cases.create(QStringLiteral("other.AGV"));
    m_prompt.chooseFile(path);
    frmRedoZiv w;
    m_prompt.clear();

    // A file to add that happens to be a case file.
    m_prompt.chooseFile(other);
    QString fileName;
    w.ctlFileDetails1_RequestFileName(QStringLiteral("Select A File To Add"), fileName, 0);
    EXPECT_EQ(fileName, other);
    EXPECT_EQ(oMain().strFileName(), path);
    EXPECT_EQ(dataLayerSource(), path);
    EXPECT_EQ(gDB->Name(), path);

    // A cancelled save-as does not hand back the proposed name.
    m_prompt.cancelFile();
    fileName = QStringLiteral("proposed.doc");
    w.ctlFileDetails1_RequestFileName(QStringLiteral("Save File As : "), fileName, 1);
    EXPECT_TRUE(fileName.isEmpty());
    ASSERT_EQ(m_prompt.count(QStringLiteral("file")), 2);
    const auto& save = m_prompt.shown().last().file;
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.flags, 0x80006);
    EXPECT_EQ(save.fileName, QStringLiteral("proposed.doc"));
    EXPECT_EQ(save.filter, QStringLiteral("All Files|*.*"));
}

TEST_F(StartUp, TreePaneEndsAtItsStandardWidthWhateverTheSettingHolds)
{
    for (const QVariant& setting : {QVariant(), QVariant(9000), QVariant(QStringLiteral("wide"))}) {
        resetAppState();
        if (setting.isValid())
            setTreeWidthSetting(setting);
        m_prompt.chooseFile(
            m_cases.createSample(QStringLiteral("case%1.AGV").arg(setting.toString())));
        frmRedoZiv w;
        showAndWait(w);
        EXPECT_EQ(w.treePaneWidth(), 3750) << qPrintable(setting.toString());
        EXPECT_TRUE(w.ctlBookmarkList()->isVisible());
        EXPECT_TRUE(gBookmarksVisible);
    }
}
