#include "store/CIssue.h"
#include "store/CTypes.h"

#include "store/RecordsTestSupport.h"

#include <gtest/gtest.h>

using namespace recordstest;
using platform::MsgIcon;

namespace {

class CIssueTest : public RecordTest {
protected:
    void expectIssue(const char* id, std::initializer_list<Column> columns)
    {
        expectRow(path, QStringLiteral("Issue"), QLatin1String(id), columns);
    }
    int issues(const char* where = "") { return countIn(path, QStringLiteral("Issue ") + where); }
};

// --- lazy load and key ------------------------------------------------------

// The closed database shows when the first read reaches it, and no sooner.
TEST_F(CIssueTest, InitialiseKeyAndDeleteNeverQueryTheDatabase)
{
    db->Close();
    CIssue issue;
    issue.Initialise(db, QStringLiteral("3"));
    EXPECT_EQ(issue.Key(), QStringLiteral("3"));
    const AppError e = raised([&] { issue.Name(); });
    issue.Delete();
    EXPECT_EQ(issue.state(), stDeleting);
    EXPECT_EQ(e.number(), jet::ObjectClosed);
    EXPECT_EQ(e.source(), QStringLiteral("CIssue:GetAttributes"));
}

TEST_F(CIssueTest, TypeLetterKeyReadsAndDeletesTheBareId)
{
    db->Execute(QStringLiteral("insert into Issue (ID, ParentID, Name, Weight, ItemType) "
                               "values (12, 1, 'Exhibit twelve', 4, 'Exhibit')"));
    CIssue issue;
    issue.Initialise(db, QStringLiteral("X12"));
    EXPECT_EQ(issue.Key(), QStringLiteral("X12"));
    EXPECT_EQ(issue.Name(), QStringLiteral("Exhibit twelve"));
    EXPECT_EQ(issue.ItemType(), QStringLiteral("Exhibit"));
    EXPECT_EQ(issue.ParentKey(), QStringLiteral("1"));
    EXPECT_EQ(issue.Weight(), 4);
    EXPECT_EQ(issue.Key(), QStringLiteral("12"));

    CIssue witness;
    witness.Initialise(db, QStringLiteral("W4"));
    witness.Delete();
    witness.Commit();
    EXPECT_EQ(witness.Key(), QStringLiteral("4"));
    EXPECT_EQ(issues("where id = 4"), 0);
}

TEST_F(CIssueTest, NullColumnsAndMissingRowsReadAsResetValuesAndUnchangedCommitsWriteNothing)
{
    db->Execute(QStringLiteral("insert into Issue (ID, ParentID) values (20, 0)"));
    CIssue nulls;
    nulls.Initialise(db, QStringLiteral("20"));
    EXPECT_EQ(nulls.Name(), QString());
    EXPECT_EQ(nulls.Explanation(), QString());
    EXPECT_EQ(nulls.Weight(), 0);
    EXPECT_EQ(nulls.Significance(), 0);
    EXPECT_EQ(nulls.ItemType(), QString());
    EXPECT_EQ(nulls.state(), stUnchanged);

    CIssue missing;
    missing.Initialise(db, QStringLiteral("999"));
    EXPECT_EQ(missing.Name(), QString());
    EXPECT_EQ(missing.ParentKey(), QStringLiteral("0"));
    EXPECT_NO_THROW(missing.Commit());
    EXPECT_EQ(issues(), 11);

    // An unchanged commit writes nothing, whether the row was read or not.
    CIssue unread;
    unread.Initialise(db, QStringLiteral("2"));
    unread.Commit();
    CIssue read;
    read.Initialise(db, QStringLiteral("2"));
    EXPECT_EQ(read.Name(), QStringLiteral("Duty of care"));
    read.Commit();
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
    expectIssue(
        "2",
        {{"Name", QStringLiteral("Duty of care")},
         {"Weight", 10},
         {"Explanation",
          QStringLiteral("The defendant as a licensed driver owed a duty to other road users.")}});
}

// --- insert -----------------------------------------------------------------

TEST_F(CIssueTest, NewItemHasNoKeyUntilCommitAndTakesTheHeldType)
{
    CIssue issue;
    issue.Initialise(db, QString());
    EXPECT_EQ(issue.state(), stNew);
    issue.setName(QStringLiteral("Causation"));
    issue.setParentKey(QStringLiteral("1"));
    issue.setWeight(6);
    issue.setItemType(QStringLiteral("Issue"));
    EXPECT_EQ(issue.Key(), QString());

    oTypes().setItemType(QStringLiteral("Witness"));
    issue.Commit();

    EXPECT_GT(issue.Key().toInt(), 10);
    EXPECT_EQ(issue.state(), stUnchanged);
    expectRow(path, QStringLiteral("Issue"), issue.Key(),
              {{"Name", QStringLiteral("Causation")},
               {"ParentID", 1},
               {"Weight", 6},
               {"Jury", 0},
               {"ItemType", QStringLiteral("Witness")}});
    // The next read loads the inserted row.
    EXPECT_EQ(issue.ItemType(), QStringLiteral("Witness"));
}

// --- update -----------------------------------------------------------------

TEST_F(CIssueTest, ExactlyTheSetMembersAreWrittenZeroAndEmptyIncluded)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("S3")); // as a bookmark names it
    issue.setWeight(0);
    issue.setJury(0);
    issue.setExplanation(QString());
    issue.setSignificance(10);
    issue.setQuestion(QStringLiteral("Reached through a bookmark"));
    EXPECT_EQ(issue.state(), stChanged);
    issue.Commit();

    EXPECT_EQ(issue.state(), stUnchanged);
    // Members never set keep what the row held.
    expectIssue("3", {{"Weight", 0},
                      {"Jury", 0},
                      {"Explanation", QString()},
                      {"Significance", 10},
                      {"Question", QStringLiteral("Reached through a bookmark")},
                      {"Success", 7},
                      {"Name", QStringLiteral("Breach")}});

    // A never-rated item keeps its empty ratings.
    db->Execute(QStringLiteral("insert into Issue (ID, ParentID, Name, ItemType) "
                               "values (21, 0, 'Unrated', 'Issue')"));
    CIssue unrated;
    unrated.Initialise(db, QStringLiteral("21"));
    unrated.setName(QStringLiteral("Still unrated"));
    unrated.Commit();
    expectIssue("21", {{"Name", QStringLiteral("Still unrated")},
                       {"Weight", {}},
                       {"Success", {}},
                       {"Jury", {}},
                       {"Substantive", {}},
                       {"Procedural", {}},
                       {"Significance", {}}});
}

TEST_F(CIssueTest, EmptyNameIsRefusedWithTheBoxAndNothingIsWritten)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("6"));
    issue.setName(QString());
    issue.setWeight(1);
    EXPECT_NO_THROW(issue.Commit());

    ASSERT_EQ(prompt.count(QStringLiteral("message")), 1);
    const auto& box = prompt.shown().front();
    EXPECT_EQ(box.text, QStringLiteral("'Name' cannot be empty."));
    EXPECT_EQ(box.title, QStringLiteral("Must Supply Name"));
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_EQ(issue.state(), stChanged);
    expectIssue("6", {{"Name", QStringLiteral("Damages")}, {"Weight", 7}});
}

TEST_F(CIssueTest, CommitOfAChangedItemWhoseRowIsGoneFails)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("10"));
    issue.setWeight(2);
    db->Execute(QStringLiteral("delete from Issue where id = 10"));
    const AppError e = raised([&] { issue.Commit(); });
    EXPECT_EQ(e.number(), jet::NoCurrentRecord);
    EXPECT_EQ(e.source(), QStringLiteral("CIssue::UpdateObject"));
    EXPECT_EQ(issue.state(), stChanged);
}

// --- parent -----------------------------------------------------------------

TEST_F(CIssueTest, ParentKeyMovesTheItemAndRefusesTypeLettersAndBadKeys)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("8"));
    for (const char* key : {"W4", "X5", "S9"}) {
        prompt.clear();
        issue.setParentKey(QString::fromLatin1(key));
        ASSERT_EQ(prompt.count(QStringLiteral("message")), 1) << key;
        EXPECT_EQ(prompt.shown().front().text, QStringLiteral("Can only link to issues."));
        EXPECT_EQ(prompt.shown().front().title, QStringLiteral("Not Supported"));
        EXPECT_EQ(prompt.shown().front().icon, MsgIcon::Critical);
    }
    EXPECT_EQ(issue.state(), stUnchanged);
    EXPECT_EQ(issue.ParentKey(), QStringLiteral("6"));

    issue.setParentKey(QStringLiteral("0"));
    issue.Commit();
    expectIssue("8", {{"ParentID", 0}});

    for (const char* bad : {"abc", "", "5000000000"}) {
        SCOPED_TRACE(bad);
        expectClassFailure(raised([&] { issue.setParentKey(QString::fromLatin1(bad)); }),
                           QStringLiteral("CIssue"), QStringLiteral("ParentKey"));
    }
    EXPECT_EQ(issue.ParentKey(), QStringLiteral("0"));
}

TEST_F(CIssueTest, ItemWithAnIdPastThirtyTwoThousandHoldsChildren)
{
    db->Execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
        "INSERT INTO Issue (ParentID, Name, ItemType) SELECT 0, 'Item ' || i, 'Issue' FROM n"));
    CIssue child;
    child.Initialise(db, QString());
    child.setName(QStringLiteral("Late child"));
    child.setParentKey(QStringLiteral("40000"));
    child.Commit();
    expectIssue(qPrintable(child.Key()), {{"ParentID", 40000}});

    CIssue reread;
    reread.Initialise(db, child.Key());
    EXPECT_EQ(reread.ParentKey(), QStringLiteral("40000"));
}

// --- delete and the state errors --------------------------------------------

TEST_F(CIssueTest, DeleteRemovesAllItsBookmarksAndDocumentsAndLeavesChildren)
{
    db->Execute(QStringLiteral("insert into Bookmarks (CodeID, Description) "
                               "values (3, 'second on breach'), (1, 'on liability')"));
    db->Execute(QStringLiteral("insert into codefiles (CodeID, Description, Path) values "
                               "(3, 'skid.jpg', '/tmp/skid.jpg'), (1, 'b.doc', '/tmp/b.doc')"));
    CIssue issue;
    issue.Initialise(db, QStringLiteral("3"));
    issue.Delete();
    EXPECT_EQ(issues("where id = 3"), 1);
    issue.Commit();

    EXPECT_EQ(issue.state(), stDeleted);
    EXPECT_EQ(issues("where id = 3"), 0);
    for (const char* table : {"Bookmarks", "codefiles"}) {
        EXPECT_EQ(countIn(path, QLatin1String(table) + QStringLiteral(" where codeid = 3")), 0);
        EXPECT_EQ(countIn(path, QLatin1String(table) + QStringLiteral(" where codeid = 1")), 1);
    }
    EXPECT_EQ(issues("where parentid = 3"), 2);
}

TEST_F(CIssueTest, WritesAfterDeleteRaise513AndAfterItsCommit514)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("7"));
    issue.Delete();
    AppError e = raised([&] { issue.setName(QStringLiteral("Renamed")); });
    EXPECT_EQ(e.number(), vbObjectError + 513);
    EXPECT_EQ(e.description(), QStringLiteral("This Record is About to be deleted"));
    EXPECT_EQ(e.source(), QStringLiteral("CIssue::SetStateForLet"));
    // The value stays in memory; nothing reached the file.
    EXPECT_EQ(issue.Name(), QStringLiteral("Renamed"));
    EXPECT_EQ(issue.state(), stDeleting);
    expectIssue("7", {{"Name", QStringLiteral("Medical costs")}});

    issue.Commit();
    e = raised([&] { issue.setWeight(3); });
    EXPECT_EQ(e.number(), vbObjectError + 514);
    EXPECT_EQ(e.description(), QStringLiteral("This record has been deleted"));
    EXPECT_EQ(e.source(), QStringLiteral("CIssue::SetStateForLet"));
    // Committing the deleted record runs the update against the missing row.
    e = raised([&] { issue.Commit(); });
    EXPECT_EQ(e.source(), QStringLiteral("CIssue::UpdateObject"));
}

// --- one delete, all or nothing ---------------------------------------------

class CIssueDeleteTest : public CIssueTest {
protected:
    void SetUp() override
    {
        CIssueTest::SetUp();
        db->Execute(QStringLiteral("insert into codefiles (CodeID, Description) values (3, 'a')"));
    }
    // Item 3, its bookmarks and its documents, read through the test's own
    // connection (the refusing trigger keeps other opens out).
    std::vector<int> counts()
    {
        std::vector<int> found;
        for (const char* where :
             {"Issue where id = 3", "Bookmarks where codeid = 3", "codefiles where codeid = 3"}) {
            auto rs =
                db->OpenRecordset(QStringLiteral("select count(*) from ") + QLatin1String(where),
                                  dao::dbOpenSnapshot);
            found.push_back(rs->Fields(0).Value().toInt());
        }
        return found;
    }
    void deleteItem3()
    {
        CIssue issue;
        issue.Initialise(db, QStringLiteral("3"));
        issue.Delete();
        issue.Commit();
    }
};

TEST_F(CIssueDeleteTest, ADeleteFailingOnItsLastStatementLeavesAllThreeTables)
{
    db->Execute(QStringLiteral("create trigger refuse before delete on codefiles "
                               "begin select raise(abort, 'refused'); end"));
    EXPECT_THROW(deleteItem3(), AppError);
    EXPECT_EQ(counts(), (std::vector<int>{1, 1, 1}));
}

TEST_F(CIssueDeleteTest, ADeleteInsideAnOuterTransactionFollowsIt)
{
    dao::DBEngine::BeginTrans();
    deleteItem3();
    dao::DBEngine::Rollback();
    EXPECT_EQ(counts(), (std::vector<int>{1, 1, 1}));

    dao::DBEngine::BeginTrans();
    deleteItem3();
    dao::DBEngine::CommitTrans();
    EXPECT_EQ(counts(), (std::vector<int>{0, 0, 0}));
}

TEST_F(CIssueTest, AKeyThatIsNoIdIsRefusedBeforeAnySqlRuns)
{
    for (const char* key : {"0 or 1=1", "3;", "X", "3 ", "1e3", "W-"}) {
        CIssue issue;
        const AppError e = raised([&] { issue.Initialise(db, QLatin1String(key)); });
        EXPECT_EQ(e.number(), jet::ConversionError) << key;
    }
    EXPECT_EQ(issues(), 10);
}

} // namespace
