#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/CIssue.h"
#include "store/CTypes.h"

#include "store/RecordsTestSupport.h"

#include <gtest/gtest.h>

using namespace recordstest;
using platform::MsgIcon;

namespace {

class CIssueTest : public RecordTest {
protected:
    QVariant stored(const QString& column, int id)
    {
        const auto v = cell(path, QStringLiteral("select %1 from Issue where id = %2")
                                      .arg(column)
                                      .arg(id));
        return v ? *v : QVariant(QStringLiteral("<no row>"));
    }
};

// --- lazy load and key ------------------------------------------------------

TEST_F(CIssueTest, InitialiseKeyAndDeleteNeverQueryTheDatabase)
{
    db->Close();
    CIssue issue;
    EXPECT_NO_THROW(issue.Initialise(db, QStringLiteral("3")));
    EXPECT_EQ(issue.Key(), QStringLiteral("3"));
    EXPECT_NO_THROW(issue.Delete());
    EXPECT_EQ(issue.state(), stDeleting);

    CIssue reader;
    reader.Initialise(db, QStringLiteral("3"));
    const AppError e = raised([&] { reader.Name(); });
    EXPECT_EQ(e.number(), jet::ObjectClosed);
    EXPECT_EQ(e.source(), QStringLiteral("CIssue:GetAttributes"));
}

TEST_F(CIssueTest, TypeLetterKeyLoadsThatRowAndKeyBecomesBareAfterTheFirstRead)
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
}

TEST_F(CIssueTest, NullColumnsLoadAsZeroAndEmptyText)
{
    db->Execute(QStringLiteral("insert into Issue (ID, ParentID) values (20, 0)"));
    CIssue issue;
    issue.Initialise(db, QStringLiteral("20"));
    EXPECT_EQ(issue.Name(), QString());
    EXPECT_EQ(issue.Explanation(), QString());
    EXPECT_EQ(issue.Weight(), 0);
    EXPECT_EQ(issue.Significance(), 0);
    EXPECT_EQ(issue.ItemType(), QString());
    EXPECT_EQ(issue.state(), stUnchanged);
}

TEST_F(CIssueTest, KeyThatNamesNoRowReadsResetValues)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("999"));
    EXPECT_EQ(issue.Name(), QString());
    EXPECT_EQ(issue.ParentKey(), QStringLiteral("0"));
    EXPECT_NO_THROW(issue.Commit());
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Issue")), 10);
}

// --- insert -----------------------------------------------------------------

TEST_F(CIssueTest, NewItemHasNoKeyUntilCommitAndTakesTheHeldType)
{
    CIssue issue;
    issue.Initialise(db, QString());
    EXPECT_EQ(issue.state(), stNew);
    issue.setName(QStringLiteral("Causation"));
    issue.setParentKey(QStringLiteral("1"));
    issue.setExplanation(QStringLiteral("Did the breach cause the harm?"));
    issue.setWeight(6);
    issue.setItemType(QStringLiteral("Issue"));
    EXPECT_EQ(issue.Key(), QString());

    oTypes().setItemType(QStringLiteral("Witness"));
    issue.Commit();

    const QString key = issue.Key();
    ASSERT_FALSE(key.isEmpty());
    EXPECT_GT(key.toInt(), 10);
    EXPECT_EQ(issue.state(), stUnchanged);
    const int id = key.toInt();
    EXPECT_EQ(stored(QStringLiteral("Name"), id).toString(), QStringLiteral("Causation"));
    EXPECT_EQ(stored(QStringLiteral("ParentID"), id).toInt(), 1);
    EXPECT_EQ(stored(QStringLiteral("Weight"), id).toInt(), 6);
    EXPECT_EQ(stored(QStringLiteral("Jury"), id).toInt(), 0);
    EXPECT_EQ(stored(QStringLiteral("ItemType"), id).toString(), QStringLiteral("Witness"));
    // The next read loads the inserted row.
    EXPECT_EQ(issue.ItemType(), QStringLiteral("Witness"));
}

TEST_F(CIssueTest, FailedInsertAddsNoRowAndStaysNew)
{
    CIssue issue;
    issue.Initialise(db, QString());
    issue.setName(QString(300, QLatin1Char('n')));
    const AppError e = raised([&] { issue.Commit(); });
    EXPECT_EQ(e.number(), jet::FieldTooSmall);
    EXPECT_EQ(e.source(), QStringLiteral("CIssue::InsertObject"));
    EXPECT_EQ(issue.state(), stNew);
    EXPECT_EQ(issue.Key(), QString());
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Issue")), 10);
}

// --- update -----------------------------------------------------------------

TEST_F(CIssueTest, ZeroRatingAndEmptiedExplanationAreWritten)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("3"));
    issue.setWeight(0);
    issue.setJury(0);
    issue.setExplanation(QString());
    EXPECT_EQ(issue.state(), stChanged);
    issue.Commit();

    EXPECT_EQ(issue.state(), stUnchanged);
    EXPECT_EQ(stored(QStringLiteral("Weight"), 3).toInt(), 0);
    EXPECT_FALSE(stored(QStringLiteral("Weight"), 3).isNull());
    EXPECT_EQ(stored(QStringLiteral("Jury"), 3).toInt(), 0);
    EXPECT_FALSE(stored(QStringLiteral("Jury"), 3).isNull());
    EXPECT_EQ(stored(QStringLiteral("Explanation"), 3).toString(), QString());
    // Members never set keep what the row held.
    EXPECT_EQ(stored(QStringLiteral("Success"), 3).toInt(), 7);
    EXPECT_EQ(stored(QStringLiteral("Name"), 3).toString(), QStringLiteral("Breach"));
    EXPECT_EQ(stored(QStringLiteral("Question"), 3).toString(),
              QStringLiteral("What did the skid marks show?"));
}

TEST_F(CIssueTest, NeverSetRatingsStayNullInTheFile)
{
    db->Execute(QStringLiteral("insert into Issue (ID, ParentID, Name, ItemType) "
                               "values (21, 0, 'Unrated', 'Issue')"));
    CIssue issue;
    issue.Initialise(db, QStringLiteral("21"));
    issue.setName(QStringLiteral("Still unrated"));
    issue.Commit();

    EXPECT_EQ(stored(QStringLiteral("Name"), 21).toString(), QStringLiteral("Still unrated"));
    for (const char* column :
         {"Weight", "Success", "Jury", "Substantive", "Procedural", "Significance"})
        EXPECT_TRUE(stored(QString::fromLatin1(column), 21).isNull()) << column;
}

TEST_F(CIssueTest, ChangedItemIsWrittenWithBothTreeFlagsCleared)
{
    gNodeClicked = false;
    gTreeChanged = false;
    CIssue issue;
    issue.Initialise(db, QStringLiteral("S9"));
    issue.setSignificance(10);
    issue.setQuestion(QStringLiteral("Reached through a bookmark"));
    issue.Commit();

    EXPECT_EQ(issue.state(), stUnchanged);
    EXPECT_EQ(stored(QStringLiteral("Significance"), 9).toInt(), 10);
    EXPECT_EQ(stored(QStringLiteral("Question"), 9).toString(),
              QStringLiteral("Reached through a bookmark"));
}

TEST_F(CIssueTest, UnchangedCommitWritesNothing)
{
    CIssue unread;
    unread.Initialise(db, QStringLiteral("2"));
    unread.Commit();

    CIssue read;
    read.Initialise(db, QStringLiteral("2"));
    EXPECT_EQ(read.Name(), QStringLiteral("Duty of care"));
    read.Commit();

    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
    EXPECT_EQ(stored(QStringLiteral("Name"), 2).toString(), QStringLiteral("Duty of care"));
    EXPECT_EQ(stored(QStringLiteral("Weight"), 2).toInt(), 10);
    EXPECT_EQ(stored(QStringLiteral("Explanation"), 2).toString(),
              QStringLiteral("The defendant as a licensed driver owed a duty to other road users."));
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
    EXPECT_EQ(stored(QStringLiteral("Name"), 6).toString(), QStringLiteral("Damages"));
    EXPECT_EQ(stored(QStringLiteral("Weight"), 6).toInt(), 7);
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

TEST_F(CIssueTest, ParentKeyOfAnExhibitWitnessOrQuestionIsRefused)
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
}

TEST_F(CIssueTest, ParentKeyMovesTheItemAndBadKeysRaiseTheClassFailure)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("8"));
    issue.setParentKey(QStringLiteral("0"));
    issue.Commit();
    EXPECT_EQ(stored(QStringLiteral("ParentID"), 8).toInt(), 0);

    for (const char* bad : {"abc", "", "70000"}) {
        const AppError e = raised([&] { issue.setParentKey(QString::fromLatin1(bad)); });
        EXPECT_EQ(e.number(), kClassFailure) << bad;
        EXPECT_EQ(e.source(), QStringLiteral("Argovo.CIssue.ParentKey"));
        EXPECT_EQ(e.description(), QStringLiteral("CIssue component failure"));
    }
    EXPECT_EQ(issue.ParentKey(), QStringLiteral("0"));
}

// --- delete and the state errors --------------------------------------------

TEST_F(CIssueTest, DeleteRemovesBookmarksAndDocumentsAndLeavesChildren)
{
    db->Execute(QStringLiteral("insert into codefiles (CodeID, Description, Path) "
                               "values (3, 'skid.jpg', '/tmp/skid.jpg')"));
    db->Execute(QStringLiteral("insert into codefiles (CodeID, Description, Path) "
                               "values (1, 'other.doc', '/tmp/other.doc')"));
    CIssue issue;
    issue.Initialise(db, QStringLiteral("3"));
    issue.Delete();
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Issue where id = 3")), 1);
    issue.Commit();

    EXPECT_EQ(issue.state(), stDeleted);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Issue where id = 3")), 0);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Bookmarks where codeid = 3")), 0);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from codefiles where codeid = 3")), 0);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from codefiles")), 1);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Issue where parentid = 3")), 2);
}

TEST_F(CIssueTest, DeleteOfATypeLetterKeyDeletesTheBareId)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("W4"));
    issue.Delete();
    issue.Commit();
    EXPECT_EQ(issue.Key(), QStringLiteral("4"));
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Issue where id = 4")), 0);
}

TEST_F(CIssueTest, WriteAfterDeleteRaises513AndKeepsTheValueInMemory)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("7"));
    issue.Delete();
    const AppError e = raised([&] { issue.setName(QStringLiteral("Renamed")); });
    EXPECT_EQ(e.number(), vbObjectError + 513);
    EXPECT_EQ(e.description(), QStringLiteral("This Record is About to be deleted"));
    EXPECT_EQ(e.source(), QStringLiteral("CIssue::SetStateForLet"));
    EXPECT_EQ(issue.Name(), QStringLiteral("Renamed"));
    EXPECT_EQ(issue.state(), stDeleting);
    // Nothing reached the file.
    EXPECT_EQ(stored(QStringLiteral("Name"), 7).toString(), QStringLiteral("Medical costs"));
}

TEST_F(CIssueTest, WriteAfterDeleteAndCommitRaises514)
{
    CIssue issue;
    issue.Initialise(db, QStringLiteral("7"));
    issue.Delete();
    issue.Commit();
    const AppError e = raised([&] { issue.setWeight(3); });
    EXPECT_EQ(e.number(), vbObjectError + 514);
    EXPECT_EQ(e.description(), QStringLiteral("This record has been deleted"));
    EXPECT_EQ(e.source(), QStringLiteral("CIssue::SetStateForLet"));
    // Committing the deleted record runs the update against the missing row.
    const AppError again = raised([&] { issue.Commit(); });
    EXPECT_EQ(again.source(), QStringLiteral("CIssue::UpdateObject"));
}

} // namespace
