#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/CExhibit.h"

#include "store/RecordsTestSupport.h"

#include <gtest/gtest.h>

using namespace recordstest;

namespace {

using CExhibitTest = RecordTest;

TEST_F(CExhibitTest, InsertWritesTheResetValuesWithoutRatings)
{
    CExhibit exhibit;
    exhibit.Initialise(db, QString());
    EXPECT_EQ(exhibit.state(), stNew);
    EXPECT_EQ(exhibit.Key(), QString());
    exhibit.Commit();

    const QString key = exhibit.Key();
    ASSERT_FALSE(key.isEmpty());
    EXPECT_EQ(exhibit.state(), stUnchanged);
    const QString where = QStringLiteral(" from Issue where id = ") + key;
    EXPECT_EQ(cell(path, QStringLiteral("select parentid") + where)->toInt(), 0);
    EXPECT_EQ(cell(path, QStringLiteral("select name") + where)->toString(), QString());
    EXPECT_EQ(cell(path, QStringLiteral("select ItemType") + where)->toString(), QString());
    EXPECT_TRUE(cell(path, QStringLiteral("select Weight") + where)->isNull());
}

TEST_F(CExhibitTest, UpdateWritesWeightAndSuccessOfOneAndTheOtherRatingsZero)
{
    CExhibit exhibit;
    exhibit.Initialise(db, QStringLiteral("5"));
    exhibit.Commit();
    const QString where = QStringLiteral(" from Issue where id = 5");
    EXPECT_EQ(cell(path, QStringLiteral("select Weight") + where)->toInt(), 1);
    EXPECT_EQ(cell(path, QStringLiteral("select Success") + where)->toInt(), 1);
    EXPECT_EQ(cell(path, QStringLiteral("select Jury") + where)->toInt(), 0);
    // The item type is never written by the update.
    EXPECT_EQ(cell(path, QStringLiteral("select ItemType") + where)->toString(),
              QStringLiteral("Exhibit"));
}

TEST_F(CExhibitTest, DeleteRemovesTheItemItsBookmarksAndDocuments)
{
    db->Execute(QStringLiteral("insert into codefiles (CodeID, Description) values (3, 'a.doc')"));
    CExhibit exhibit;
    exhibit.Initialise(db, QStringLiteral("3"));
    exhibit.Delete();
    exhibit.Commit();
    EXPECT_EQ(exhibit.state(), stDeleted);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Issue where id = 3")), 0);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Bookmarks where codeid = 3")), 0);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from codefiles where codeid = 3")), 0);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Issue where parentid = 3")), 2);
}

TEST_F(CExhibitTest, CommitFailuresRaiseTheClassFailure)
{
    CExhibit gone;
    gone.Initialise(db, QStringLiteral("999"));
    AppError e = raised([&] { gone.Commit(); });
    EXPECT_EQ(e.number(), kClassFailure);
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.CExhibit.IDataObject_Commit"));
    EXPECT_EQ(e.description(), QStringLiteral("CExhibit component failure"));

    db->Close();
    CExhibit deleting;
    EXPECT_NO_THROW(deleting.Initialise(db, QStringLiteral("4")));
    deleting.Delete();
    e = raised([&] { deleting.Commit(); });
    EXPECT_EQ(e.number(), kClassFailure);
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.CExhibit.IDataObject_Commit"));
    EXPECT_EQ(deleting.state(), stDeleting);
}

} // namespace
