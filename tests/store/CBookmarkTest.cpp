#include "platform/core/AppError.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/CBookmark.h"
#include "store/CIssue.h"

#include "store/RecordsTestSupport.h"

#include <gtest/gtest.h>

using namespace recordstest;

namespace {

const QString kFailure = QStringLiteral("CBookmark component failure");

class CBookmarkTest : public RecordTest {
protected:
    QString addBookmark(const QString& itemKey, const QString& text)
    {
        CIssue item;
        item.Initialise(db, itemKey);
        CBookmark bookmark;
        bookmark.Initialise(db, QString());
        bookmark.setCodeItem(&item);
        bookmark.setDescription(text);
        bookmark.Commit();
        return bookmark.Key();
    }
};

TEST_F(CBookmarkTest, NewBookmarkStoresItemAndDescriptionWithLineBreaks)
{
    const QString text = QStringLiteral("First line\r\nSecond line\nthird\ttabbed 'quoted'");
    const QString key = addBookmark(QStringLiteral("6"), text);
    ASSERT_FALSE(key.isEmpty());

    const QString where = QStringLiteral(" from Bookmarks where id = ") + key;
    EXPECT_EQ(cell(path, QStringLiteral("select description") + where)->toString(), text);
    EXPECT_EQ(cell(path, QStringLiteral("select codeid") + where)->toInt(), 6);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Bookmarks")), 2);
}

TEST_F(CBookmarkTest, ItemKeyIsTheKeyOfTheItemRecord)
{
    CIssue item;
    item.Initialise(db, QStringLiteral("1"));
    item.Name();
    CBookmark bookmark;
    bookmark.Initialise(db, QString());
    bookmark.setCodeItem(&item);
    bookmark.setDescription(QStringLiteral("Liability"));
    bookmark.Commit();
    EXPECT_EQ(cell(path, QStringLiteral("select codeid from Bookmarks where id = ") + bookmark.Key())
                  ->toInt(),
              1);
}

TEST_F(CBookmarkTest, CodeItemOfNoObjectRaisesTheClassFailure)
{
    CBookmark bookmark;
    bookmark.Initialise(db, QString());
    const AppError e = raised([&] { bookmark.setCodeItem(nullptr); });
    EXPECT_EQ(e.number(), kClassFailure);
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.CBookmark.CodeItem"));
    EXPECT_EQ(e.description(), kFailure);
}

TEST_F(CBookmarkTest, DescriptionOnABookmarkMarkedForDeletionRaisesTheClassFailure)
{
    CBookmark bookmark;
    bookmark.Initialise(db, QStringLiteral("1"));
    bookmark.Delete();
    AppError e = raised([&] { bookmark.setDescription(QStringLiteral("late")); });
    EXPECT_EQ(e.number(), kClassFailure);
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.CBookmark.description"));

    bookmark.Commit();
    EXPECT_EQ(bookmark.state(), stDeleted);
    e = raised([&] { bookmark.setDescription(QStringLiteral("later")); });
    EXPECT_EQ(e.number(), kClassFailure);
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.CBookmark.description"));
    CIssue item;
    item.Initialise(db, QStringLiteral("1"));
    e = raised([&] { bookmark.setCodeItem(&item); });
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.CBookmark.CodeItem"));
}

TEST_F(CBookmarkTest, RemovingABookmarkLeavesItsItem)
{
    CBookmark bookmark;
    bookmark.Initialise(db, QStringLiteral("1"));
    bookmark.Delete();
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Bookmarks")), 1);
    bookmark.Commit();
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Bookmarks")), 0);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Issue where id = 3")), 1);
}

TEST_F(CBookmarkTest, UnchangedOrDeletedBookmarkCommitWritesNothing)
{
    CBookmark unchanged;
    unchanged.Initialise(db, QStringLiteral("1"));
    EXPECT_NO_THROW(unchanged.Commit());
    EXPECT_EQ(unchanged.state(), stUnchanged);

    CBookmark deleted;
    deleted.Initialise(db, QStringLiteral("1"));
    deleted.Delete();
    deleted.Commit();
    db->Execute(QStringLiteral("insert into Bookmarks (ID, CodeID, Description) "
                               "values (1, 3, 'put back')"));
    EXPECT_NO_THROW(deleted.Commit());
    EXPECT_EQ(cell(path, QStringLiteral("select description from Bookmarks where id = 1"))
                  ->toString(),
              QStringLiteral("put back"));
}

TEST_F(CBookmarkTest, ChangedDescriptionIsWrittenToTheRow)
{
    CBookmark bookmark;
    bookmark.Initialise(db, QStringLiteral("1"));
    bookmark.setDescription(QStringLiteral("Ask about the measurements\r\nand the camera"));
    EXPECT_EQ(bookmark.state(), stChanged);
    bookmark.Commit();
    EXPECT_EQ(bookmark.state(), stUnchanged);
    EXPECT_EQ(cell(path, QStringLiteral("select description from Bookmarks where id = 1"))
                  ->toString(),
              QStringLiteral("Ask about the measurements\r\nand the camera"));
    // The item it points at was loaded and kept.
    EXPECT_EQ(cell(path, QStringLiteral("select codeid from Bookmarks where id = 1"))->toInt(), 3);
}

TEST_F(CBookmarkTest, NothingIsReadBeforeAWriteAndFailuresBecomeTheClassFailure)
{
    db->Close();
    CBookmark bookmark;
    EXPECT_NO_THROW(bookmark.Initialise(db, QStringLiteral("1")));
    EXPECT_EQ(bookmark.Key(), QStringLiteral("1"));
    AppError e = raised([&] { bookmark.setDescription(QStringLiteral("x")); });
    EXPECT_EQ(e.number(), kClassFailure);
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.CBookmark.description"));

    CBookmark fresh;
    fresh.Initialise(db, QString());
    fresh.setDescription(QStringLiteral("never stored"));
    e = raised([&] { fresh.Commit(); });
    EXPECT_EQ(e.number(), kClassFailure);
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.CBookmark.IDataObject_Commit"));
    EXPECT_EQ(fresh.state(), stNew);
}

TEST_F(CBookmarkTest, ANullColumnFailsTheLoad)
{
    db->Execute(QStringLiteral("insert into Bookmarks (ID, CodeID, Description) "
                               "values (5, 3, NULL)"));
    CBookmark bookmark;
    bookmark.Initialise(db, QStringLiteral("5"));
    const AppError e = raised([&] { bookmark.setDescription(QStringLiteral("text")); });
    EXPECT_EQ(e.source(), QStringLiteral("Argovo.CBookmark.description"));
}

TEST_F(CBookmarkTest, DeletingTheItemRemovesAllItsBookmarks)
{
    addBookmark(QStringLiteral("3"), QStringLiteral("second on breach"));
    addBookmark(QStringLiteral("1"), QStringLiteral("on liability"));
    CIssue item;
    item.Initialise(db, QStringLiteral("3"));
    item.Delete();
    item.Commit();
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Bookmarks where codeid = 3")), 0);
    EXPECT_EQ(count(path, QStringLiteral("select count(*) from Bookmarks where codeid = 1")), 1);
}

} // namespace
