#include "store/CExhibit.h"

#include "store/RecordsTestSupport.h"

#include <gtest/gtest.h>

using namespace recordstest;

namespace {

using CExhibitTest = RecordTest;

TEST_F(CExhibitTest, InsertCarriesTheResetValuesAndUpdateKeepsTheRow)
{
    CExhibit exhibit;
    exhibit.Initialise(db, QString());
    EXPECT_EQ(exhibit.state(), stNew);
    EXPECT_EQ(exhibit.Key(), QString());
    exhibit.Commit();
    ASSERT_FALSE(exhibit.Key().isEmpty());
    EXPECT_EQ(exhibit.state(), stUnchanged);
    // The insert writes no ratings.
    expectRow(path, QStringLiteral("Issue"), exhibit.Key(),
              {{"parentid", 0}, {"name", QString()}, {"ItemType", QString()}, {"Weight", {}}});

    // The update writes the row back as it was read, never blanks over it.
    db->Execute(QStringLiteral("update Issue set Explanation = 'kept', Weight = 7, Jury = NULL "
                               "where id = 5"));
    const QVariant name = stored(path, QStringLiteral("Issue"), QStringLiteral("Name"), "5");
    CExhibit existing;
    existing.Initialise(db, QStringLiteral("5"));
    existing.Commit();
    expectRow(path, QStringLiteral("Issue"), QStringLiteral("5"),
              {{"Name", name},
               {"Explanation", QStringLiteral("kept")},
               {"Weight", 7},
               {"Jury", {}},
               {"ItemType", QStringLiteral("Exhibit")}});
}

// The item deletes all it owns as the issue record does.
TEST_F(CExhibitTest, DeleteRemovesTheItemAndWhatItOwns)
{
    CExhibit exhibit;
    exhibit.Initialise(db, QStringLiteral("3"));
    exhibit.Delete();
    exhibit.Commit();
    EXPECT_EQ(exhibit.state(), stDeleted);
    EXPECT_EQ(countIn(path, QStringLiteral("Issue where id = 3")), 0);
    EXPECT_EQ(countIn(path, QStringLiteral("Bookmarks where codeid = 3")), 0);
}

TEST_F(CExhibitTest, CommitFailuresRaiseTheClassFailure)
{
    CExhibit gone;
    gone.Initialise(db, QStringLiteral("999"));
    const QString commit = QStringLiteral("IDataObject_Commit");
    expectClassFailure(raised([&] { gone.Commit(); }), QStringLiteral("CExhibit"), commit);

    db->Close();
    CExhibit deleting;
    EXPECT_NO_THROW(deleting.Initialise(db, QStringLiteral("4")));
    deleting.Delete();
    expectClassFailure(raised([&] { deleting.Commit(); }), QStringLiteral("CExhibit"), commit);
    EXPECT_EQ(deleting.state(), stDeleting);
}

} // namespace
