#include "WorkspaceFixture.h"

#include "platform/db/CaseFileBuilder.h"
#include "store/CMain.h"

#include <QFile>
#include <QTest>
#include <QTreeWidget>

void WorkspaceTest::SetUp()
{
    resetAppState();
    ASSERT_TRUE(m_program.isValid());
    ASSERT_TRUE(m_settings.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    appinfo::setProgramFolder(m_program.path());
    QDir(m_program.path()).mkpath(QStringLiteral("cases"));
}

void WorkspaceTest::TearDown()
{
    resetAppState();
    appinfo::setProgramFolder(QString());
}

void WorkspaceTest::writeHelpPage()
{
    QDir(m_program.path()).mkpath(QStringLiteral("help"));
    QFile page(QDir(m_program.path()).filePath(QStringLiteral("help/index.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1>Help</h1></body></html>");
}

void WorkspaceTest::writeBlankTemplate()
{
    QDir(m_program.path()).mkpath(QStringLiteral("cases/templates"));
    db::createDatabaseFromScript(
        QDir(m_program.path()).filePath(QStringLiteral("cases/templates/BLANK.AGV")),
        TempCase::schemaSql());
}

void WorkspaceTest::setTreeWidthSetting(const QVariant& value)
{
    QSettings settings(QStringLiteral("Argovo"), QStringLiteral("Settings"));
    settings.setValue(QStringLiteral("TreeWidth"), value);
    settings.sync();
}

QVariant WorkspaceTest::issueColumn(const QString& path, const char* name, int id)
{
    return valueIn(
        path,
        QStringLiteral("select %1 from Issue where ID = %2").arg(QLatin1String(name)).arg(id));
}

std::unique_ptr<frmRedoZiv> WorkspaceTest::openWindow(bool show)
{
    oMain().setStrFileName(m_path);
    auto w = std::make_unique<frmRedoZiv>();
    if (show)
        showAndWait(*w);
    return w;
}

std::unique_ptr<frmRedoZiv> WorkspaceTest::openSample(bool show, const QString& name)
{
    m_path = m_cases.createSample(name);
    return openWindow(show);
}

void WorkspaceTest::clickNode(frmRedoZiv& window, const QString& key)
{
    QTreeWidgetItem* item = window.node(key);
    ASSERT_NE(item, nullptr) << qPrintable(key);
    for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        up->setExpanded(true);
    QTreeWidget* tree = window.tvIssueItems();
    tree->scrollToItem(item);
    const QRect rect = tree->visualItemRect(item);
    ASSERT_TRUE(rect.isValid()) << qPrintable(key);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void WorkspaceTest::showAndWait(frmRedoZiv& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}
