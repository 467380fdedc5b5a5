#include "WorkspaceFixture.h"

#include "workspace/StartPage.h"
#include "workspace/ctlBookmarks.h"
#include "workspace/frmRedoZiv.h"

#include "platform/core/Twips.h"
#include "platform/db/CaseFileBuilder.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"
#include "store/CUtility.h"

#include "platform/db/Ado.h"
#include "platform/db/Dao.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool actionEnabled(frmRedoZiv& w, const char* name)
{
    auto* action = w.findChild<QAction*>(QLatin1String(name));
    return action && action->isEnabled();
}

bool menuEnabled(frmRedoZiv& w, const char* name)
{
    auto* menu = w.findChild<QMenu*>(QLatin1String(name));
    return menu && menu->menuAction()->isEnabled();
}

} // namespace

using StartUp = WorkspaceTest;

TEST_F(StartUp, NoCaseAtStartAsksForOneAndACancelLeavesTheControlsOff)
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
    for (const char* menu : {"mnuInsert", "mnuView", "mnuReports", "mnuHelp"})
        EXPECT_FALSE(menuEnabled(w, menu)) << menu;
    EXPECT_EQ(w.pnlStartLeft(), twips::kHiddenLeft);
    EXPECT_TRUE(w.pnlStart()->isHidden());
    EXPECT_EQ(w.webBrowserLeft(), twips::kHiddenLeft);
    EXPECT_EQ(gDB, nullptr);
}

TEST_F(StartUp, WithNoCaseOpenTheFileMenuStillOpensCreatesAndExits)
{
    frmRedoZiv w;

    EXPECT_TRUE(menuEnabled(w, "mnuFile"));
    EXPECT_TRUE(actionEnabled(w, "mnuFileOpen"));
    EXPECT_TRUE(actionEnabled(w, "mnuFileNew"));
    EXPECT_TRUE(actionEnabled(w, "mnuFileExit"));
    EXPECT_FALSE(actionEnabled(w, "mnuFileSave"));
    EXPECT_FALSE(actionEnabled(w, "mnuFileSaveAs"));
    EXPECT_FALSE(actionEnabled(w, "mnuFileClose"));

    // And File > Open then opens a case.
    const QString path = m_cases.createSample();
    m_prompt.chooseFile(path);
    w.findChild<QAction*>(QStringLiteral("mnuFileOpen"))->trigger();
    ASSERT_NE(gDB, nullptr);
    EXPECT_TRUE(w.tvIssueItems()->isEnabled());
    EXPECT_TRUE(menuEnabled(w, "mnuHelp"));
    EXPECT_TRUE(actionEnabled(w, "mnuFileClose"));
}

TEST_F(StartUp, ChosenCaseOpensThroughBothFacesAndFillsTheWindow)
{
    const QString path = m_cases.createSample(QStringLiteral("smith.AGV"));
    m_prompt.chooseFile(path);
    frmRedoZiv w;

    ASSERT_NE(gDB, nullptr);
    EXPECT_EQ(gDB->Name(), path);
    auto connection = oDataLayer().Connection();
    EXPECT_EQ(connection->State(), ado::adStateOpen);
    EXPECT_EQ(ado::dataSourceFromConnectionString(connection->ConnectionString()), path);
    EXPECT_EQ(oMain().strFileName(), path);
    EXPECT_EQ(oUtility().CaseName(), QStringLiteral("smith.AGV"));
    EXPECT_EQ(w.windowTitle(),
              QStringLiteral("Argovo (%1)").arg(m_cases.path(QStringLiteral("smith"))));
    EXPECT_EQ(w.node(QStringLiteral("ROOT"))->childCount(), 3);
    EXPECT_EQ(w.ctlBookmarkList()->lvBookMarks()->topLevelItemCount(), 1);
    EXPECT_EQ(w.selectedTab(), frmRedoZiv::kTabExplanation);
    EXPECT_TRUE(w.tvIssueItems()->isEnabled());
    EXPECT_EQ(w.pnlStartLeft(), twips::kHiddenLeft);
    EXPECT_TRUE(m_prompt.messages().isEmpty()) << qPrintable(m_prompt.messages().join(" | "));
}

TEST_F(StartUp, CaptionIsThePathWithoutItsExtension)
{
    const QString path = m_cases.create(QStringLiteral("smith.AGV"));
    oMain().setStrFileName(path);
    frmRedoZiv w;
    EXPECT_EQ(m_prompt.count(QStringLiteral("file")), 0);
    EXPECT_EQ(w.windowTitle(),
              QStringLiteral("Argovo (") + m_cases.folder() + QStringLiteral("/smith)"));
}

TEST_F(StartUp, MissingCodeFilesIsCreatedWithItsSevenColumnsInOrder)
{
    const QString path =
        m_cases.create(QStringLiteral("Case.AGV"), QStringLiteral("DROP TABLE CodeFiles;"));
    oMain().setStrFileName(path);
    frmRedoZiv w;

    ASSERT_NE(gDB, nullptr);
    auto rs = gDB->OpenRecordset(QStringLiteral("codefiles"));
    const std::vector<std::pair<QString, int>> expected = {
        {QStringLiteral("ID"), dao::dbLong},           {QStringLiteral("CodeID"), dao::dbLong},
        {QStringLiteral("Description"), dao::dbText},  {QStringLiteral("File"), dao::dbLongBinary},
        {QStringLiteral("OrigDateTime"), dao::dbDate}, {QStringLiteral("DateAdded"), dao::dbDate},
        {QStringLiteral("Path"), dao::dbText}};
    ASSERT_EQ(rs->FieldCount(), int(expected.size()));
    for (int i = 0; i < rs->FieldCount(); ++i) {
        EXPECT_EQ(rs->Fields(i).Name(), expected[i].first) << i;
        EXPECT_EQ(rs->Fields(i).Type(), expected[i].second) << i;
    }
    EXPECT_EQ(rs->Fields(2).Size(), 50);
    // ID numbers itself.
    rs->AddNew();
    rs->Fields(QStringLiteral("CodeID")).setValue(3);
    rs->Update();
    rs->Close();
    EXPECT_EQ(valueIn(path, QStringLiteral("select ID from CodeFiles where CodeID = 3")).toInt(),
              1);
}

TEST_F(StartUp, ExistingCodeFilesIsLeftAloneOnTheNextOpen)
{
    const QString path =
        m_cases.create(QStringLiteral("Case.AGV"), QStringLiteral("DROP TABLE CodeFiles;"));
    oMain().setStrFileName(path);
    {
        frmRedoZiv first;
    }
    execIn(path,
           QStringLiteral("insert into CodeFiles (CodeID, Description) values (1, 'kept.doc')"));
    resetAppState();
    oMain().setStrFileName(path);
    frmRedoZiv second;
    EXPECT_EQ(countIn(path, QStringLiteral("CodeFiles")), 1);
    EXPECT_TRUE(m_prompt.messages().isEmpty()) << qPrintable(m_prompt.messages().join(" | "));
}

TEST_F(StartUp, MissingVersionTableIsCreatedWithTheProgramsVersion)
{
    const QString path =
        m_cases.create(QStringLiteral("old.AGV"), QStringLiteral("DROP TABLE CodeDBVersion;"));
    oMain().setStrFileName(path);
    frmRedoZiv w;
    EXPECT_EQ(countIn(path, QStringLiteral("CodeDBVersion")), 1);
    EXPECT_EQ(valueIn(path, QStringLiteral("select Version from CodeDBVersion")).toString(),
              QStringLiteral("1.0.0"));
    // The caption names this case all the same.
    EXPECT_EQ(w.windowTitle(),
              QStringLiteral("Argovo (%1)").arg(m_cases.path(QStringLiteral("old"))));
}

TEST_F(StartUp, EmptyVersionTableGetsOneRowAndAFilledOneKeepsItsValue)
{
    const QString empty =
        m_cases.create(QStringLiteral("empty.AGV"), QStringLiteral("DELETE FROM CodeDBVersion;"));
    const QString older = m_cases.create(
        QStringLiteral("older.AGV"), QStringLiteral("UPDATE CodeDBVersion SET Version = '0.9.7';"));
    oMain().setStrFileName(empty);
    {
        frmRedoZiv w;
    }
    EXPECT_EQ(countIn(empty, QStringLiteral("CodeDBVersion")), 1);
    EXPECT_EQ(valueIn(empty, QStringLiteral("select Version from CodeDBVersion")).toString(),
              QStringLiteral("1.0.0"));

    resetAppState();
    oMain().setStrFileName(older);
    frmRedoZiv w;
    EXPECT_EQ(countIn(older, QStringLiteral("CodeDBVersion")), 1);
    EXPECT_EQ(valueIn(older, QStringLiteral("select Version from CodeDBVersion")).toString(),
              QStringLiteral("0.9.7"));
}

TEST_F(StartUp, AFileThatIsNoCaseIsRefusedAndLeftUnchanged)
{
    const QString path = m_cases.path(QStringLiteral("notes.AGV"));
    db::createDatabaseFromScript(path, QStringLiteral("CREATE TABLE Notes (Line TEXT);"
                                                      "INSERT INTO Notes VALUES ('keep me');"));
    const QByteArray before = bytesOf(path);
    m_prompt.chooseFile(path);
    frmRedoZiv w;

    ASSERT_EQ(m_prompt.messages().size(), 1) << qPrintable(m_prompt.messages().join(" | "));
    EXPECT_TRUE(m_prompt.messages().first().contains(QStringLiteral("is not an Argovo case file")));
    EXPECT_TRUE(
        m_prompt.messages().first().contains(QStringLiteral("frmRedoZiv.SetupDBConnection")));
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(gDB, nullptr);
    EXPECT_FALSE(w.tvIssueItems()->isEnabled());
    EXPECT_NE(oDataLayer().Connection()->State(), ado::adStateOpen);
}

TEST_F(StartUp, OpeningASecondCaseReconnectsTheDataLayerToIt)
{
    const QString first = m_cases.createSample(QStringLiteral("first.AGV"));
    const QString second = m_cases.create(QStringLiteral("second.AGV"));
    m_prompt.chooseFile(first);
    frmRedoZiv w;
    ASSERT_EQ(ado::dataSourceFromConnectionString(oDataLayer().Connection()->ConnectionString()),
              first);

    m_prompt.chooseFile(second);
    w.mnuFileOpen_Click();
    auto connection = oDataLayer().Connection();
    EXPECT_EQ(connection->State(), ado::adStateOpen);
    EXPECT_EQ(ado::dataSourceFromConnectionString(connection->ConnectionString()), second);
    EXPECT_EQ(gDB->Name(), second);
    EXPECT_EQ(oUtility().CaseName(), QStringLiteral("second.AGV"));
    // The tree and the bookmarks are the second case's.
    EXPECT_EQ(w.node(QStringLiteral("ROOT"))->childCount(), 0);
    EXPECT_EQ(w.ctlBookmarkList()->lvBookMarks()->topLevelItemCount(), 0);
    EXPECT_EQ(w.currentIssue(), nullptr);
}

TEST_F(StartUp, ACancelledOpenLeavesTheOpenCaseAsItWas)
{
    const QString path = m_cases.createSample();
    m_prompt.chooseFile(path);
    frmRedoZiv w;
    m_prompt.cancelFile();
    w.mnuFileOpen_Click();
    ASSERT_NE(gDB, nullptr);
    EXPECT_EQ(gDB->Name(), path);
    EXPECT_TRUE(w.tvIssueItems()->isEnabled());
    EXPECT_EQ(w.node(QStringLiteral("ROOT"))->childCount(), 3);
}

TEST_F(StartUp, OnlyOpeningACaseAdoptsACaseFileChosenInADialog)
{
    const QString path = m_cases.createSample();
    const QString other = m_cases.create(QStringLiteral("other.AGV"));
    m_prompt.chooseFile(path);
    frmRedoZiv w;

    // The document pane asks for a file to add and gets a case file.
    m_prompt.chooseFile(other);
    QString fileName;
    w.ctlFileDetails1_RequestFileName(QStringLiteral("Select A File To Add"), fileName, 0);
    EXPECT_EQ(fileName, other);
    EXPECT_EQ(oMain().strFileName(), path);
    EXPECT_EQ(ado::dataSourceFromConnectionString(oDataLayer().Connection()->ConnectionString()),
              path);
    EXPECT_EQ(gDB->Name(), path);
}

TEST_F(StartUp, FileDialogsAskWithTheRightFlagsAndACancelGivesNoName)
{
    frmRedoZiv w;
    m_prompt.clear();
    m_prompt.cancelFile();
    QString fileName = QStringLiteral("proposed.doc");
    w.ctlFileDetails1_RequestFileName(QStringLiteral("Save File As : "), fileName, 1);
    EXPECT_TRUE(fileName.isEmpty());
    ASSERT_EQ(m_prompt.count(QStringLiteral("file")), 1);
    const auto& request = m_prompt.shown().first().file;
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.flags, 0x80006);
    EXPECT_EQ(request.fileName, QStringLiteral("proposed.doc"));
    EXPECT_EQ(request.filter, QStringLiteral("All Files|*.*"));
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
