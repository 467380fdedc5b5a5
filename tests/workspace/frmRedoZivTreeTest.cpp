#include "WorkspaceFixture.h"

#include "workspace/frmRedoZiv.h"

#include "store/CMain.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTreeWidget>

namespace {

QString rows(std::initializer_list<const char*> values)
{
    QString sql;
    for (const char* v : values)
        sql += QStringLiteral("INSERT INTO Issue (ID, ParentID, Name, ItemType) VALUES %1;\n")
                   .arg(QLatin1String(v));
    return sql;
}

QStringList childTexts(QTreeWidgetItem* node)
{
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

QString parentKey(frmRedoZiv& w, const char* key)
{
    QTreeWidgetItem* item = w.node(QLatin1String(key));
    if (!item)
        return QStringLiteral("<no node>");
    return item->parent() ? item->parent()->data(0, frmRedoZiv::kKeyRole).toString()
                          : QStringLiteral("<top>");
}

QString role(frmRedoZiv& w, const char* key, int role)
{
    return w.node(QLatin1String(key))->data(0, role).toString();
}

} // namespace

class CaseTree : public WorkspaceTest {
protected:
    void open(const QString& extraSql)
    {
        oMain().setStrFileName(m_cases.create(QStringLiteral("Tree.AGV"), extraSql));
    }
};

TEST_F(CaseTree, AnEmptyCaseShowsOnlyTheBoldRoot)
{
    open(QString());
    frmRedoZiv w;
    QTreeWidget* tree = w.tvIssueItems();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("Legal Issues"));
    EXPECT_EQ(role(w, "ROOT", frmRedoZiv::kImageRole), QStringLiteral("VIEWBOOKMARKS"));
    EXPECT_TRUE(root->font(0).bold());
    EXPECT_EQ(root->childCount(), 0);
    EXPECT_EQ(tree->currentItem(), root);
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

TEST_F(CaseTree, EveryItemSitsUnderItsParentWhateverTheRowOrderInSortedBranches)
{
    // The child rows come before their parent's row.
    open(rows({"(1, 7, 'Child first', 'Witness')", "(7, 0, 'Parent later', 'Issue')",
               "(2, 0, 'top exhibit', 'Exhibit')", "(3, 7, 'A question', 'Question')"}));
    frmRedoZiv w;
    EXPECT_EQ(parentKey(w, "CW1"), QStringLiteral("C7"));
    EXPECT_EQ(parentKey(w, "QS3"), QStringLiteral("C7"));
    EXPECT_EQ(parentKey(w, "C7"), QStringLiteral("ROOT"));
    EXPECT_EQ(parentKey(w, "CX2"), QStringLiteral("ROOT"));
    EXPECT_EQ(childTexts(w.node(QStringLiteral("ROOT"))),
              (QStringList{QStringLiteral("Parent later"), QStringLiteral("top exhibit")}));
    EXPECT_EQ(childTexts(w.node(QStringLiteral("C7"))),
              (QStringList{QStringLiteral("A question"), QStringLiteral("Child first")}));
    EXPECT_EQ(role(w, "CW1", frmRedoZiv::kTagRole), QStringLiteral("C7"));
    EXPECT_EQ(role(w, "CX2", frmRedoZiv::kImageRole), QStringLiteral("EXHIBIT"));
    EXPECT_EQ(role(w, "C7", frmRedoZiv::kImageRole), QStringLiteral("ISSUE"));
    EXPECT_TRUE(w.node(QStringLiteral("ROOT"))->isExpanded());
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

TEST_F(CaseTree, OrphansAndALoopOfParentsGoUnderTheRootWithOneWarningAndTheFillFinishes)
{
    // Chosen at start in the dialog: the case is filled, and warned about, once.
    m_prompt.chooseFile(m_cases.create(
        QStringLiteral("Tree.AGV"),
        rows({"(1, 0, 'Issue one', 'Issue')", "(2, 99, 'Lost parent', 'Issue')",
              "(3, 0, 'Photo', 'Exhibit')", "(4, 3, 'Under a photo', 'Issue')",
              "(5, 1, 'After the orphans', 'Witness')", "(11, 13, 'Loop a', 'Issue')",
              "(12, 11, 'Loop b', 'Issue')", "(13, 12, 'Loop c', 'Issue')",
              "(14, 13, 'Hangs off the loop', 'Issue')"})));
    QElapsedTimer timer;
    timer.start();
    frmRedoZiv w;
    EXPECT_LT(timer.elapsed(), 10000);
    for (const char* key : {"C2", "C4", "C11", "C12", "C13"})
        EXPECT_EQ(parentKey(w, key), QStringLiteral("ROOT")) << key;
    EXPECT_EQ(parentKey(w, "CW5"), QStringLiteral("C1"));
    EXPECT_EQ(parentKey(w, "C14"), QStringLiteral("C13"));
    ASSERT_EQ(m_prompt.messages().size(), 1) << qPrintable(m_prompt.messages().join(" | "));
    EXPECT_TRUE(m_prompt.messages().first().startsWith(QStringLiteral("5 case item(s) ")));
    EXPECT_EQ(m_prompt.shown().last().title, QStringLiteral("Tovrena 2003"));
    EXPECT_TRUE(w.tvIssueItems()->updatesEnabled());
}

TEST_F(CaseTree, ItemsWithIdsPastThirtyTwoThousandHoldTheirChildren)
{
    open(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                        "WHERE i < 40000) INSERT INTO Issue (ID, ParentID, Name, ItemType) "
                        "SELECT i, 0, 'Item ' || i, 'Issue' FROM n;") +
         rows({"(40001, 40000, 'Late witness', 'Witness')", "(40002, 40000, 'Late issue', 'Issue')",
               "(40003, 40002, 'Deep question', 'Question')"}));
    frmRedoZiv w;
    EXPECT_EQ(parentKey(w, "CW40001"), QStringLiteral("C40000"));
    EXPECT_EQ(parentKey(w, "C40002"), QStringLiteral("C40000"));
    EXPECT_EQ(parentKey(w, "QS40003"), QStringLiteral("C40002"));
    EXPECT_EQ(w.node(QStringLiteral("ROOT"))->childCount(), 40000);
    EXPECT_TRUE(m_prompt.messages().isEmpty());
}

TEST_F(CaseTree, KeysThatMoveTheCurrentItemKeepItInSight)
{
    open(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                        "WHERE i < 300) INSERT INTO Issue (ID, ParentID, Name, ItemType) "
                        "SELECT i, 0, 'Item ' || substr('00' || i, -3), 'Issue' FROM n;"));
    frmRedoZiv w;
    showAndWait(w);
    QTreeWidget* tree = w.tvIssueItems();
    // A click first: it makes the clicked item the one a drag would take.
    clickNode(w, QStringLiteral("C1"));
    const struct {
        Qt::Key key;
        const char* current;
    } steps[] = {{Qt::Key_End, "Item 300"},   {Qt::Key_Home, "Legal Issues"},
                 {Qt::Key_PageDown, nullptr}, {Qt::Key_PageDown, nullptr},
                 {Qt::Key_End, "Item 300"},   {Qt::Key_Up, "Item 299"}};
    for (const auto& step : steps) {
        QTest::keyClick(tree, step.key);
        QTreeWidgetItem* current = tree->currentItem();
        ASSERT_NE(current, nullptr);
        if (step.current) {
            EXPECT_EQ(current->text(0), QLatin1String(step.current));
        }
        EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualItemRect(current)))
            << qPrintable(current->text(0));
    }
}

TEST_F(CaseTree, EachFillStartsAfreshAndARejectedQueryLeavesTheTreeRedrawing)
{
    open(rows({"(1, 0, 'Only', 'Issue')"}));
    frmRedoZiv w;
    w.FillTree(QStringLiteral("select * from NoSuchTable"));
    ASSERT_EQ(m_prompt.messages().size(), 1);
    EXPECT_TRUE(m_prompt.messages().first().startsWith(QStringLiteral("3078 ")));
    EXPECT_TRUE(m_prompt.messages().first().endsWith(QStringLiteral(" frmRedoZiv::FillTree")));
    EXPECT_TRUE(w.tvIssueItems()->updatesEnabled());
    EXPECT_NE(w.node(QStringLiteral("C1")), nullptr);

    execIn(oMain().strFileName(), QStringLiteral("DELETE FROM Issue"));
    w.FillTree(frmRedoZiv::kTreeSql);
    EXPECT_EQ(w.tvIssueItems()->topLevelItemCount(), 1);
    EXPECT_EQ(w.node(QStringLiteral("C1")), nullptr);
    EXPECT_EQ(w.node(QStringLiteral("ROOT"))->childCount(), 0);
}

TEST_F(CaseTree, CountingNodesCountsEveryNodeBelowTheGivenOne)
{
    open(rows({"(1, 0, 'A', 'Issue')", "(2, 1, 'B', 'Issue')", "(3, 2, 'C', 'Witness')",
               "(4, 0, 'D', 'Exhibit')"}));
    frmRedoZiv w;
    w.RecursiveCountNodes(w.node(QStringLiteral("ROOT")), true);
    EXPECT_EQ(w.countedNodes(), 4);
    w.RecursiveCountNodes(w.node(QStringLiteral("C1")), true);
    EXPECT_EQ(w.countedNodes(), 2);
    // Without the reset the count goes on from where it was.
    w.RecursiveCountNodes(w.node(QStringLiteral("C2")), false);
    EXPECT_EQ(w.countedNodes(), 3);
}
