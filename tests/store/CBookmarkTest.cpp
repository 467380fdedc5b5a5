#include "store/CBookmark.h"
#include "store/CIssue.h"

#include "store/RecordsTestSupport.h"

#include <gtest/gtest.h>

using namespace recordstest;

namespace {

class CBookmarkTest : public RecordTest {
protected:
    // The add-bookmark dialog's sequence.
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
    void expectBookmark(const QString& key, const QVariant& itemKey, const QString& text)
    {
        expectRow(path, QStringLiteral("Bookmarks"), key,
                  {{"codeid", itemKey}, {"description", text}});
    }
    int bookmarks(const char* where = "")
    {
        return countIn(path, QStringLiteral("Bookmarks ") + where);
    }

    // The class failure every procedure turns its errors into.
    static void expectClassFailure(const AppError& e, const char* procedure)
    {
        ::expectClassFailure(e, QStringLiteral("CBookmark"), QLatin1String(procedure));
    }
};

TEST_F(CBookmarkTest, NewBookmarkStoresItemKeyAndDescriptionWithLineBreaks)
{
    const QString text = QStringLiteral("First line\r\nSecond line\nthird\ttabbed 'quoted'");
    const QString key = addBookmark(QStringLiteral("6"), text);
    ASSERT_FALSE(key.isEmpty());
    expectBookmark(key, 6, text);
    EXPECT_EQ(bookmarks(), 2);
}

// Another tool declared the bookmarks' ID a plain column, which numbers no
// new row: nothing is kept of a bookmark no one could reach again.
TEST_F(CBookmarkTest, ANewBookmarkInATableThatNumbersNoRowsLeavesNoRow)
{
    for (const char* sql : {"CREATE TABLE Plain (ID INTEGER, CodeID INTEGER, Description TEXT)",
                            "INSERT INTO Plain SELECT * FROM Bookmarks", "DROP TABLE Bookmarks",
                            "ALTER TABLE Plain RENAME TO Bookmarks"})
        db->Execute(QLatin1String(sql));
    expectClassFailure(raised([&] { addBookmark(QStringLiteral("6"), QStringLiteral("Lost")); }),
                       "IDataObject_Commit");
    EXPECT_EQ(bookmarks(), 1);
}

TEST_F(CBookmarkTest, ChangedDescriptionIsWrittenAndTheItemKept)
{
    CBookmark bookmark;
    bookmark.Initialise(db, QStringLiteral("1"));
    bookmark.setDescription(QStringLiteral("Ask about the measurements\r\nand the camera"));
    EXPECT_EQ(bookmark.state(), stChanged);
    bookmark.Commit();
    EXPECT_EQ(bookmark.state(), stUnchanged);
    expectBookmark(QStringLiteral("1"), 3,
                   QStringLiteral("Ask about the measurements\r\nand the camera"));
}

TEST_F(CBookmarkTest, RemovingABookmarkLeavesItsItemAndLaterCommitsWriteNothing)
{
    CBookmark unchanged;
    unchanged.Initialise(db, QStringLiteral("1"));
    EXPECT_NO_THROW(unchanged.Commit());
    EXPECT_EQ(unchanged.state(), stUnchanged);

    // A removed bookmark is gone at its commit, and its item stays.
    CBookmark deleted;
    deleted.Initialise(db, QStringLiteral("1"));
    deleted.Delete();
    EXPECT_EQ(bookmarks(), 1);
    deleted.Commit();
    EXPECT_EQ(bookmarks(), 0);
    EXPECT_EQ(countIn(path, QStringLiteral("Issue where id = 3")), 1);
    db->Execute(QStringLiteral("insert into Bookmarks (ID, CodeID, Description) "
                               "values (1, 3, 'put back')"));
    EXPECT_NO_THROW(deleted.Commit());
    expectBookmark(QStringLiteral("1"), 3, QStringLiteral("put back"));
}

TEST_F(CBookmarkTest, StateErrorsAndANullItemBecomeTheClassFailureOfTheProperty)
{
    CBookmark bookmark;
    bookmark.Initialise(db, QString());
    expectClassFailure(raised([&] { bookmark.setCodeItem(nullptr); }), "CodeItem");

    CBookmark doomed;
    doomed.Initialise(db, QStringLiteral("1"));
    doomed.Delete();
    expectClassFailure(raised([&] { doomed.setDescription(QStringLiteral("late")); }),
                       "description");
    doomed.Commit();
    EXPECT_EQ(doomed.state(), stDeleted);
    expectClassFailure(raised([&] { doomed.setDescription(QStringLiteral("later")); }),
                       "description");
    CIssue item;
    item.Initialise(db, QStringLiteral("1"));
    expectClassFailure(raised([&] { doomed.setCodeItem(&item); }), "CodeItem");
}

TEST_F(CBookmarkTest, LoadAndWriteFailuresBecomeTheClassFailure)
{
    // A Null column fails the load.
    db->Execute(QStringLiteral("insert into Bookmarks (ID, CodeID, Description) "
                               "values (5, 3, NULL)"));
    CBookmark nullRow;
    nullRow.Initialise(db, QStringLiteral("5"));
    expectClassFailure(raised([&] { nullRow.setDescription(QStringLiteral("text")); }),
                       "description");

    // Nothing is read before the first write.
    db->Close();
    CBookmark bookmark;
    EXPECT_NO_THROW(bookmark.Initialise(db, QStringLiteral("1")));
    EXPECT_EQ(bookmark.Key(), QStringLiteral("1"));
    expectClassFailure(raised([&] { bookmark.setDescription(QStringLiteral("x")); }),
                       "description");

    CBookmark fresh;
    fresh.Initialise(db, QString());
    fresh.setDescription(QStringLiteral("never stored"));
    expectClassFailure(raised([&] { fresh.Commit(); }), "IDataObject_Commit");
    EXPECT_EQ(fresh.state(), stNew);
}

} // namespace
