#include "WorkspaceFixture.h"

#include "workspace/frmRedoZiv.h"

#include "platform/db/Dao.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"
#include "store/COpen.h"
#include "support/TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>

#include <functional>
#include <random>

#include <sys/stat.h>

namespace {

struct Damage {
    QString label;
    std::function<void(const QString& path)> apply;
};

// Bytes flipped in the header, in pages and cut off the end, and rows no
// case of the program's own holds. A fixed seed: a failure reproduces.
std::vector<Damage> damages(qint64 fileSize)
{
    std::vector<Damage> list;
    std::mt19937 random(20261209);
    const auto flips = [&](qint64 from, qint64 to, int count) {
        std::vector<std::pair<qint64, char>> chosen;
        for (int i = 0; i < count; ++i)
            chosen.push_back({std::uniform_int_distribution<qint64>(from, to - 1)(random),
                              char(std::uniform_int_distribution<int>(1, 255)(random))});
        return [chosen](const QString& path) {
            for (const auto& [offset, mask] : chosen) {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::ReadWrite));
                file.seek(offset);
                char byte = 0;
                file.getChar(&byte);
                file.seek(offset);
                file.putChar(char(byte ^ mask));
            }
        };
    };
    for (int i = 0; i < 16; ++i)
        list.push_back({QStringLiteral("header flip %1").arg(i), flips(16, 100, 1 + i % 3)});
    for (int i = 0; i < 24; ++i)
        list.push_back({QStringLiteral("page flip %1").arg(i), flips(100, fileSize, 1 + i % 8)});
    for (const qint64 size : {qint64(100), qint64(1024), fileSize / 3, fileSize / 2 + 17,
                              fileSize - 4096, fileSize - 1})
        list.push_back({QStringLiteral("cut to %1 bytes").arg(size),
                        [size](const QString& path) { ASSERT_TRUE(QFile::resize(path, size)); }});
    list.push_back({QStringLiteral("zeroed second page"), [](const QString& path) {
                        QFile file(path);
                        ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(4096));
                        file.write(QByteArray(4096, '\0'));
                    }});
    const auto sql = [](const char* statements) {
        return [statements](const QString& path) {
            auto db = dao::DBEngine::OpenDatabase(path);
            for (const QString& statement : QString::fromLatin1(statements).split(QLatin1Char(';')))
                db->Execute(statement);
            db->Close();
        };
    };
    list.push_back({QStringLiteral("no item table"), sql("drop table Issue")});
    list.push_back({QStringLiteral("text in ratings"),
                    sql("update Issue set Weight = 'heavy', Success = '', Jury = 'x1';"
                        "update Issue set Significance = 'n/a' where ID = 2")});
    list.push_back(
        {QStringLiteral("parent loops"), sql("update Issue set ParentID = 3 where ID = 2;"
                                             "update Issue set ParentID = 2 where ID = 3;"
                                             "update Issue set ParentID = ID where ID = 4")});
    list.push_back({QStringLiteral("parent out of range"),
                    sql("update Issue set ParentID = 'abc' where ID = 5;"
                        "update Issue set ParentID = 99999999999 where ID = 6")});
    return list;
}

using DamagedCase = WorkspaceTest;

TEST_F(DamagedCase, EveryDamagedFileIsOpenedOrRefusedWithAMessageAndARefusedOneIsLeftAsItWas)
{
    const QString pristine = m_cases.createSample(QStringLiteral("Pristine.AGV"));
    const QByteArray original = fileBytes(pristine);
    int refused = 0;
    int opened = 0;
    int index = 0;
    for (const Damage& damage : damages(original.size())) {
        SCOPED_TRACE(damage.label.toStdString());
        const QString path = m_cases.path(QStringLiteral("Damaged%1.AGV").arg(index++));
        ASSERT_TRUE(QFile::copy(pristine, path));
        damage.apply(path);
        const QByteArray before = fileBytes(path);

        QElapsedTimer timer;
        timer.start();
        resetAppState();
        m_prompt.clear();
        m_prompt.chooseFile(path);
        {
            frmRedoZiv w;
            if (gDB) {
                ++opened;
                // A case that opens despite its damage can be browsed: every
                // node and every tab, without the case being dropped.
                int nodes = 0;
                std::function<void(QTreeWidgetItem*)> visit = [&](QTreeWidgetItem* node) {
                    w.showBranch(node);
                    w.tvIssueItems_NodeClick(node);
                    ++nodes;
                    for (int i = 0; i < node->childCount(); ++i)
                        visit(node->child(i));
                };
                for (const int tab :
                     {frmRedoZiv::kTabExplanation, frmRedoZiv::kTabGrid, frmRedoZiv::kTabFiles}) {
                    w.selectTab(tab);
                    visit(w.tvIssueItems()->topLevelItem(0));
                }
                EXPECT_GT(nodes, 3);
                EXPECT_NE(gDB, nullptr);
            } else {
                ++refused;
                ASSERT_EQ(m_prompt.messages().size(), 1);
                const QString shown = m_prompt.messages().first();
                EXPECT_TRUE(shown.contains(path) || shown.contains(QLatin1String("damaged")))
                    << qPrintable(shown);
                EXPECT_EQ(fileBytes(path), before);
            }
        }
        // The data layer's own open, on its own.
        resetAppState();
        m_prompt.clear();
        oDataLayer().setDataSource(path);
        if (oOpen().OpenCase() != COpen::kDone) {
            EXPECT_FALSE(m_prompt.shown().isEmpty());
        }
        resetAppState();
        EXPECT_LT(timer.elapsed(), 2000);
    }
    // The damage is real: both outcomes occur.
    EXPECT_GT(refused, 10);
    EXPECT_GT(opened, 3);
}

// Chosen at start-up, as the start-up case or by File > Open, directly or
// through a link: a read of a pipe waits for ever for a writer.
TEST_F(DamagedCase, APipeChosenAsTheCaseIsRefusedAsNoCaseWithoutWaiting)
{
    const QString pipe = m_cases.path(QStringLiteral("Pipe.AGV"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString linked = m_cases.path(QStringLiteral("Linked.AGV"));
    ASSERT_TRUE(QFile::link(pipe, linked));
    m_path = m_cases.createSample(QStringLiteral("Sample.AGV"));
    const QStringList ways{QStringLiteral("chosen at start-up"), QStringLiteral("start-up case"),
                           QStringLiteral("File > Open")};
    for (const QString& path : {pipe, linked}) {
        for (const QString& way : ways) {
            SCOPED_TRACE((path + QLatin1Char(' ') + way).toStdString());
            resetAppState();
            std::unique_ptr<frmRedoZiv> w;
            if (way == ways[2]) {
                w = openWindow();
                ASSERT_TRUE(gDB);
                m_prompt.clear();
                m_prompt.chooseFile(path);
                w->mnuFileOpen_Click();
            } else {
                m_prompt.clear();
                if (way == ways[0])
                    m_prompt.chooseFile(path);
                else
                    oMain().setStrFileName(path);
                w = std::make_unique<frmRedoZiv>();
            }
            EXPECT_FALSE(gDB && gDB->isOpen());
            ASSERT_EQ(m_prompt.messages().size(), 1);
            EXPECT_TRUE(m_prompt.messages().first().contains(
                QStringLiteral("Unrecognized database format '%1'.").arg(path)))
                << qPrintable(m_prompt.messages().first());
        }
    }
    EXPECT_TRUE(QFileInfo(linked).isSymLink());
}

} // namespace
