#include "DbTestHelpers.h"

#include "support/TempCase.h"

#include <QDateTime>

namespace {

class DaoRecordsetTest : public ::testing::Test {
protected:
    void SetUp() override { db = dao::DBEngine::OpenDatabase(cases.createSample()); }

    // The insert sequence of the record classes: an empty recordset used only
    // to add, then the new row made current through LastModified.
    qint64 addIssue(const QString& name)
    {
        auto rs = db->OpenRecordset(QStringLiteral("select * from Issue where id = 0"));
        rs->AddNew();
        rs->Fields(QStringLiteral("parentid")).setValue(0);
        rs->Fields(QStringLiteral("name")).setValue(name);
        rs->Fields(QStringLiteral("ItemType")).setValue(QStringLiteral("Issue"));
        rs->Update();
        rs->setBookmark(rs->LastModified());
        const qint64 id = rs->Fields(QStringLiteral("id")).Value().toLongLong();
        rs->Close();
        return id;
    }

    TempCase cases;
    std::shared_ptr<dao::Database> db;
};

TEST_F(DaoRecordsetTest, NewRowBecomesCurrentThroughLastModifiedAndShowsItsId)
{
    auto rs = db->OpenRecordset(QStringLiteral("select * from Issue where id = 0"));
    EXPECT_TRUE(rs->BOF() && rs->EOF());
    rs->AddNew();
    rs->Fields(QStringLiteral("name")).setValue(QStringLiteral("Causation"));
    rs->Update();
    rs->setBookmark(rs->LastModified());
    EXPECT_EQ(rs->Fields(QStringLiteral("id")).Value().toString(), QStringLiteral("11"));
    EXPECT_EQ(rs->Fields(QStringLiteral("Name")).Value().toString(), QStringLiteral("Causation"));
    EXPECT_EQ(countRows(*db, QStringLiteral("select * from Issue where name = 'causation'")), 1);
}

TEST_F(DaoRecordsetTest, IdsAreNeverReusedAfterADelete)
{
    const qint64 first = addIssue(QStringLiteral("First"));
    db->Execute(QStringLiteral("delete from Issue where id = ") + QString::number(first));
    EXPECT_EQ(db->RecordsAffected(), 1);
    const qint64 second = addIssue(QStringLiteral("Second"));
    EXPECT_GT(second, first);
}

TEST_F(DaoRecordsetTest, EditedRowShowsItsNewValuesAndIsStored)
{
    auto rs = db->OpenRecordset(QStringLiteral("select * from Issue where id = 3"));
    rs->Edit();
    rs->Fields(QStringLiteral("Weight")).setValue(QStringLiteral("4"));
    rs->Fields(QStringLiteral("name")).setValue(QStringLiteral("Breach of duty"));
    EXPECT_EQ(rs->Fields(QStringLiteral("Weight")).Value().toString(), QStringLiteral("4"));
    rs->Update();
    EXPECT_EQ(rs->Fields(QStringLiteral("Weight")).Value(), QVariant(qint64(4)));
    EXPECT_EQ(rs->Fields(QStringLiteral("Name")).Value().toString(),
              QStringLiteral("Breach of duty"));
    EXPECT_EQ(rs->RecordCount(), 1);

    auto again =
        db->OpenRecordset(QStringLiteral("select * from Issue where id = 3"), dao::dbOpenSnapshot);
    EXPECT_EQ(again->Fields(QStringLiteral("weight")).Value().toInt(), 4);
    EXPECT_EQ(again->Fields(QStringLiteral("jury")).Value().toInt(), 8);
}

TEST_F(DaoRecordsetTest, CancelUpdateAndMovingDiscardThePendingEdit)
{
    auto rs = db->OpenRecordset(QStringLiteral("select * from Issue where id = 3"));
    rs->Edit();
    rs->Fields(QStringLiteral("Weight")).setValue(1);
    rs->CancelUpdate();
    EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), jet::UpdateWithoutEdit);
    EXPECT_EQ(rs->Fields(QStringLiteral("Weight")).Value().toInt(), 8);
    EXPECT_EQ(countRows(*db, QStringLiteral("select * from Issue where id = 3 and weight = 8")), 1);
}

TEST_F(DaoRecordsetTest, TooLongTextIsRefusedWith3163AndNothingIsStored)
{
    auto rs = db->OpenRecordset(QStringLiteral("select * from codefiles where id = 0"));
    rs->AddNew();
    rs->Fields(QStringLiteral("codeid")).setValue(1);
    rs->Fields(QStringLiteral("description")).setValue(QString(51, QLatin1Char('d')));
    const AppError error = errorOf([&] { rs->Update(); });
    EXPECT_EQ(error.number(), jet::FieldTooSmall);
    EXPECT_EQ(error.source(), QStringLiteral("DAO.Recordset"));
    EXPECT_EQ(countRows(*db, QStringLiteral("codefiles")), 0);

    // The value that fits goes in on the next try.
    rs->Fields(QStringLiteral("description")).setValue(QString(50, QLatin1Char('d')));
    rs->Update();
    EXPECT_EQ(countRows(*db, QStringLiteral("codefiles")), 1);
}

TEST_F(DaoRecordsetTest, ValuesAreCoercedToTheDeclaredTypeAtUpdate)
{
    auto rs = db->OpenRecordset(QStringLiteral("select * from Issue where id = 0"));
    rs->AddNew();
    rs->Fields(QStringLiteral("Weight")).setValue(QStringLiteral("abc"));
    EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), jet::ConversionError);
    rs->Fields(QStringLiteral("Weight")).setValue(40000);
    EXPECT_NE(errorNumberOf([&] { rs->Update(); }), 0);
    rs->Fields(QStringLiteral("Weight")).setValue(-32769);
    EXPECT_NE(errorNumberOf([&] { rs->Update(); }), 0);
    EXPECT_EQ(countRows(*db, QStringLiteral("Issue")), 10);

    rs->Fields(QStringLiteral("Weight")).setValue(QStringLiteral("12"));
    rs->Fields(QStringLiteral("Success")).setValue(32767);
    rs->Fields(QStringLiteral("Name")).setValue(42);
    rs->Fields(QStringLiteral("Explanation")).setValue(QVariant());
    rs->Update();
    rs->setBookmark(rs->LastModified());
    EXPECT_EQ(rs->Fields(QStringLiteral("Weight")).Value(), QVariant(qint64(12)));
    EXPECT_EQ(rs->Fields(QStringLiteral("Success")).Value(), QVariant(qint64(32767)));
    EXPECT_EQ(rs->Fields(QStringLiteral("Name")).Value(), QVariant(QStringLiteral("42")));
    EXPECT_TRUE(rs->Fields(QStringLiteral("Explanation")).Value().isNull());

    auto connection = openAdo(db->Name());
    auto check = connection->Execute(
        QStringLiteral("select typeof(Weight), typeof(Name) from Issue where id = ") +
        rs->Fields(QStringLiteral("id")).Value().toString());
    EXPECT_EQ(check->value(0, 0).toString(), QStringLiteral("integer"));
    EXPECT_EQ(check->value(0, 1).toString(), QStringLiteral("text"));
}

TEST_F(DaoRecordsetTest, DatesAreStoredAsSortableTextAndReadAsDates)
{
    const QDateTime when(QDate(2003, 4, 5), QTime(6, 7, 8));
    const QVariant inputs[] = {QVariant(when), QVariant(QStringLiteral("2003-04-05T06:07:08")),
                               QVariant(QStringLiteral("2003-04-05 06:07:08"))};
    for (const QVariant& input : inputs) {
        auto rs = db->OpenRecordset(QStringLiteral("select * from codefiles where id = 0"));
        rs->AddNew();
        rs->Fields(QStringLiteral("DateAdded")).setValue(input);
        rs->Fields(QStringLiteral("OrigDateTime")).setValue(QDate(2001, 2, 3));
        rs->Update();
        rs->setBookmark(rs->LastModified());
        EXPECT_EQ(rs->Fields(QStringLiteral("DateAdded")).Value().toDateTime(), when);
        EXPECT_EQ(rs->Fields(QStringLiteral("OrigDateTime")).Value().toDateTime(),
                  QDateTime(QDate(2001, 2, 3), QTime(0, 0)));
        EXPECT_EQ(rs->Fields(QStringLiteral("DateAdded")).Type(), dao::dbDate);
    }
    auto connection = openAdo(db->Name());
    EXPECT_EQ(connection->Execute(QStringLiteral("select DateAdded from codefiles"))
                  ->value(0, 0)
                  .toDateTime(),
              when);
    EXPECT_EQ(
        connection->Execute(QStringLiteral("select typeof(DateAdded) || DateAdded from codefiles"))
            ->value(0, 0)
            .toString(),
        QStringLiteral("text2003-04-05T06:07:08"));

    auto rs = db->OpenRecordset(QStringLiteral("select * from codefiles where id = 0"));
    rs->AddNew();
    rs->Fields(QStringLiteral("DateAdded")).setValue(QStringLiteral("next Tuesday"));
    EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), jet::ConversionError);
}

TEST_F(DaoRecordsetTest, FieldsReportTheirDeclaredTypesAndSizes)
{
    auto rs = db->OpenRecordset(QStringLiteral("codefiles"));
    EXPECT_EQ(rs->Fields(QStringLiteral("id")).Type(), dao::dbLong);
    EXPECT_EQ(rs->Fields(QStringLiteral("description")).Type(), dao::dbText);
    EXPECT_EQ(rs->Fields(QStringLiteral("description")).Size(), 50);
    EXPECT_EQ(rs->Fields(QStringLiteral("file")).Type(), dao::dbLongBinary);
    auto issues = db->OpenRecordset(QStringLiteral("Issue"));
    EXPECT_EQ(issues->Fields(QStringLiteral("weight")).Type(), dao::dbInteger);
    EXPECT_EQ(issues->Fields(QStringLiteral("explanation")).Type(), dao::dbMemo);
}

TEST_F(DaoRecordsetTest, NavigationFollowsBofAndEof)
{
    auto rs =
        db->OpenRecordset(QStringLiteral("select * from Issue where parentid = 1 order by id"));
    EXPECT_FALSE(rs->BOF());
    EXPECT_EQ(columnTexts(*rs, QStringLiteral("id")), (QStringList{"2", "3"}));
    EXPECT_TRUE(rs->EOF());
    EXPECT_EQ(errorNumberOf([&] { rs->MoveNext(); }), jet::NoCurrentRecord);
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields(QStringLiteral("id")).Value().toInt(), 3);
    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_TRUE(rs->BOF());
    rs->MoveLast();
    EXPECT_EQ(rs->Fields(QStringLiteral("id")).Value().toInt(), 3);
    EXPECT_EQ(rs->RecordCount(), 2);
}

TEST_F(DaoRecordsetTest, NoCurrentRecordRaises3021)
{
    auto rs = db->OpenRecordset(QStringLiteral("select * from Issue where id = 999"));
    const AppError error = errorOf([&] { rs->Fields(QStringLiteral("name")).Value(); });
    EXPECT_EQ(error.number(), jet::NoCurrentRecord);
    EXPECT_EQ(error.description(), QStringLiteral("No current record."));
    EXPECT_EQ(errorNumberOf([&] { rs->Edit(); }), jet::NoCurrentRecord);
    EXPECT_EQ(errorNumberOf([&] { rs->MoveFirst(); }), jet::NoCurrentRecord);
}

TEST_F(DaoRecordsetTest, WritesOutsideAddNewOrEditRaise3020)
{
    auto rs = db->OpenRecordset(QStringLiteral("select * from Issue where id = 1"));
    EXPECT_EQ(
        errorNumberOf([&] { rs->Fields(QStringLiteral("name")).setValue(QStringLiteral("x")); }),
        jet::UpdateWithoutEdit);
    EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), jet::UpdateWithoutEdit);
}

TEST_F(DaoRecordsetTest, UnknownFieldRaises3265)
{
    auto rs = db->OpenRecordset(QStringLiteral("select * from Issue"));
    EXPECT_EQ(errorNumberOf([&] { rs->Fields(QStringLiteral("Colour")); }), jet::ItemNotFound);
    EXPECT_EQ(errorNumberOf([&] { rs->Fields(12); }), jet::ItemNotFound);
}

TEST_F(DaoRecordsetTest, MissingTableRaises3078FromSqlAndFromATableName)
{
    const AppError fromSql =
        errorOf([&] { db->OpenRecordset(QStringLiteral("select * from Witnesses")); });
    EXPECT_EQ(fromSql.number(), jet::TableNotFound);
    EXPECT_EQ(fromSql.source(), QStringLiteral("DAO.Database"));
    EXPECT_EQ(
        fromSql.description(),
        QStringLiteral(
            "The database engine cannot find the input table or query 'Witnesses'. Make sure it "
            "exists and that its name is spelled correctly."));
    EXPECT_EQ(errorNumberOf([&] { db->OpenRecordset(QStringLiteral("Witnesses")); }),
              jet::TableNotFound);
    EXPECT_EQ(errorNumberOf([&] { db->Execute(QStringLiteral("delete from Witnesses")); }),
              jet::TableNotFound);
}

TEST_F(DaoRecordsetTest, BadSqlRaisesSyntaxAndUnknownColumnErrors)
{
    EXPECT_EQ(errorNumberOf([&] { db->OpenRecordset(QStringLiteral("select * form Issue")); }),
              jet::SyntaxError);
    EXPECT_EQ(errorNumberOf([&] { db->OpenRecordset(QStringLiteral("select Colour from Issue")); }),
              jet::TooFewParameters);
}

TEST_F(DaoRecordsetTest, ClosedObjectsRaise3704)
{
    auto rs = db->OpenRecordset(QStringLiteral("select * from Issue"));
    rs->Close();
    EXPECT_FALSE(rs->isOpen());
    EXPECT_EQ(errorNumberOf([&] { rs->EOF(); }), jet::ObjectClosed);
    EXPECT_EQ(errorNumberOf([&] { rs->MoveNext(); }), jet::ObjectClosed);

    auto open = db->OpenRecordset(QStringLiteral("select * from Issue"));
    db->Close();
    EXPECT_FALSE(db->isOpen());
    const AppError error = errorOf([&] { db->OpenRecordset(QStringLiteral("Issue")); });
    EXPECT_EQ(error.number(), jet::ObjectClosed);
    EXPECT_EQ(error.source(), QStringLiteral("DAO.Database"));
    EXPECT_EQ(errorNumberOf([&] { db->Execute(QStringLiteral("delete from Issue")); }),
              jet::ObjectClosed);
    EXPECT_EQ(errorNumberOf([&] { open->Fields(QStringLiteral("name")).Value(); }),
              jet::ObjectClosed);
}

TEST_F(DaoRecordsetTest, SnapshotsAndJoinsAreReadOnly)
{
    auto snapshot = db->OpenRecordset(QStringLiteral("select * from Issue"), dao::dbOpenSnapshot);
    EXPECT_NE(errorNumberOf([&] { snapshot->Edit(); }), 0);
    auto join = db->OpenRecordset(
        QStringLiteral("SELECT Bookmarks.ID, Bookmarks.CodeID, Issue.Name, Bookmarks.Description "
                       "FROM Bookmarks INNER JOIN Issue ON Bookmarks.codeID = Issue.ID"));
    EXPECT_EQ(join->Fields(QStringLiteral("name")).Value().toString(), QStringLiteral("Breach"));
    EXPECT_NE(errorNumberOf([&] { join->AddNew(); }), 0);
}

} // namespace
