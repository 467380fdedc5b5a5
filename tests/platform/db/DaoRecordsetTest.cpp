#include "DbTestHelpers.h"

#include "support/TempCase.h"

#include <QDateTime>

namespace {

class DaoRecordsetTest : public ::testing::Test {
protected:
    void SetUp() override { db = dao::DBEngine::OpenDatabase(cases.createSample()); }

    std::shared_ptr<dao::Recordset> open(const QString& sql) { return db->OpenRecordset(sql); }

    // The insert sequence of the record classes: an empty recordset used only
    // to add, then the new row made current through LastModified.
    qint64 addIssue(const QString& name)
    {
        auto rs = open(QStringLiteral("select * from Issue where id = 0"));
        EXPECT_TRUE(rs->BOF() && rs->EOF());
        rs->AddNew();
        rs->Fields(QStringLiteral("name")).setValue(name);
        rs->Update();
        rs->setBookmark(rs->LastModified());
        EXPECT_EQ(rs->Fields(QStringLiteral("Name")).Value().toString(), name);
        return rs->Fields(QStringLiteral("id")).Value().toLongLong();
    }

    TempCase cases;
    std::shared_ptr<dao::Database> db;
};

TEST_F(DaoRecordsetTest, NewRowBecomesCurrentThroughLastModifiedAndIdsAreNeverReused)
{
    const qint64 first = addIssue(QStringLiteral("Causation"));
    EXPECT_EQ(first, 11);
    EXPECT_EQ(countRows(*db, QStringLiteral("select * from Issue where name = 'causation'")), 1);

    db->Execute(QStringLiteral("delete from Issue where id = 11"));
    EXPECT_EQ(db->RecordsAffected(), 1);
    EXPECT_EQ(addIssue(QStringLiteral("Second")), 12);
}

TEST_F(DaoRecordsetTest, AnUpdateFailingAfterItsRowWasInsertedLeavesNoRow)
{
    // The engine will not write the bytes of an indexed column: the insert
    // succeeds, then writing the document fails.
    db->Execute(QStringLiteral("CREATE INDEX DocumentBytes ON codefiles (File)"));
    auto rs = open(QStringLiteral("select * from codefiles where id = 0"));
    rs->AddNew();
    rs->Fields(QStringLiteral("description")).setValue(QStringLiteral("brief.docx"));
    rs->Fields(QStringLiteral("file")).AppendChunk(QByteArray(100, 'x'));
    EXPECT_NE(errorNumberOf([&] { rs->Update(); }), 0);
    EXPECT_EQ(countRows(*db, QStringLiteral("select * from codefiles")), 0);
}

TEST_F(DaoRecordsetTest, AnEditIsStoredAtUpdateAndDroppedByCancelUpdate)
{
    auto rs = open(QStringLiteral("select * from Issue where id = 3"));
    rs->Edit();
    rs->Fields(QStringLiteral("Weight")).setValue(1);
    rs->CancelUpdate();
    EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), jet::UpdateWithoutEdit);
    EXPECT_EQ(rs->Fields(QStringLiteral("Weight")).Value().toInt(), 8);

    rs->Edit();
    rs->Fields(QStringLiteral("Weight")).setValue(QStringLiteral("4"));
    rs->Fields(QStringLiteral("name")).setValue(QStringLiteral("Breach of duty"));
    EXPECT_EQ(rs->Fields(QStringLiteral("Weight")).Value().toString(), QStringLiteral("4"));
    rs->Update();
    EXPECT_EQ(rs->Fields(QStringLiteral("Weight")).Value(), QVariant(qint64(4)));
    EXPECT_EQ(rs->RecordCount(), 1);

    auto again =
        db->OpenRecordset(QStringLiteral("select * from Issue where id = 3"), dao::dbOpenSnapshot);
    EXPECT_EQ(again->Fields(QStringLiteral("weight")).Value().toInt(), 4);
    EXPECT_EQ(again->Fields(QStringLiteral("name")).Value().toString(),
              QStringLiteral("Breach of duty"));
    EXPECT_EQ(again->Fields(QStringLiteral("jury")).Value().toInt(), 8);
}

TEST_F(DaoRecordsetTest, TooLongTextIsRefusedWith3163AndNeitherRowNorBytesAreStored)
{
    auto rs = open(QStringLiteral("select * from codefiles where id = 0"));
    rs->AddNew();
    rs->Fields(QStringLiteral("codeid")).setValue(1);
    rs->Fields(QStringLiteral("description")).setValue(QString(51, QLatin1Char('d')));
    rs->Fields(QStringLiteral("file")).AppendChunk(QByteArray(16384, 'b'));
    const AppError error = raised([&] { rs->Update(); });
    EXPECT_EQ(error.number(), jet::FieldTooSmall);
    EXPECT_EQ(error.source(), QStringLiteral("DAO.Recordset"));
    EXPECT_EQ(countRows(*db, QStringLiteral("codefiles")), 0);

    // The value that fits goes in on the next try, with the bytes held.
    rs->Fields(QStringLiteral("description")).setValue(QString(50, QLatin1Char('d')));
    rs->Update();
    rs->setBookmark(rs->LastModified());
    EXPECT_EQ(rs->Fields(QStringLiteral("file")).Value().toByteArray(), QByteArray(16384, 'b'));
}

TEST_F(DaoRecordsetTest, ValuesAreCoercedToTheDeclaredTypeAtUpdate)
{
    auto rs = open(QStringLiteral("select * from Issue where id = 0"));
    rs->AddNew();
    constexpr int kNumericOverflow = 3349;
    const std::pair<QVariant, int> refused[] = {{QStringLiteral("abc"), jet::ConversionError},
                                                {40000, kNumericOverflow},
                                                {-32769, kNumericOverflow}};
    for (const auto& [value, number] : refused) {
        rs->Fields(QStringLiteral("Weight")).setValue(value);
        EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), number) << value.toString().toStdString();
    }
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

    auto check =
        openAdo(db->Name())
            ->Execute(QStringLiteral("select typeof(Weight), typeof(Name) from Issue where id = ") +
                      rs->Fields(QStringLiteral("id")).Value().toString());
    EXPECT_EQ(check->value(0, 0).toString(), QStringLiteral("integer"));
    EXPECT_EQ(check->value(0, 1).toString(), QStringLiteral("text"));
}

TEST_F(DaoRecordsetTest, DatesAreStoredAsSortableTextAndReadAsDates)
{
    const QDateTime when(QDate(2003, 4, 5), QTime(6, 7, 8));
    for (const QVariant& input : {QVariant(when), QVariant(QStringLiteral("2003-04-05T06:07:08")),
                                  QVariant(QStringLiteral("2003-04-05 06:07:08"))}) {
        auto rs = open(QStringLiteral("select * from codefiles where id = 0"));
        rs->AddNew();
        rs->Fields(QStringLiteral("DateAdded")).setValue(input);
        rs->Fields(QStringLiteral("OrigDateTime")).setValue(QDate(2001, 2, 3));
        rs->Update();
        rs->setBookmark(rs->LastModified());
        EXPECT_EQ(rs->Fields(QStringLiteral("DateAdded")).Value().toDateTime(), when);
        EXPECT_EQ(rs->Fields(QStringLiteral("OrigDateTime")).Value().toDateTime(),
                  QDateTime(QDate(2001, 2, 3), QTime(0, 0)));
    }
    auto stored = openAdo(db->Name())
                      ->Execute(QStringLiteral(
                          "select DateAdded, typeof(DateAdded) || DateAdded from codefiles"));
    EXPECT_EQ(stored->value(0, 0).toDateTime(), when);
    EXPECT_EQ(stored->value(0, 1).toString(), QStringLiteral("text2003-04-05T06:07:08"));

    auto rs = open(QStringLiteral("select * from codefiles where id = 0"));
    rs->AddNew();
    rs->Fields(QStringLiteral("DateAdded")).setValue(QStringLiteral("next Tuesday"));
    EXPECT_EQ(errorNumberOf([&] { rs->Update(); }), jet::ConversionError);
}

TEST_F(DaoRecordsetTest, NavigationFollowsBofAndEof)
{
    auto rs = open(QStringLiteral("select * from Issue where parentid = 1 order by id"));
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

// The numbers callers test, each from the operation that raises it.
TEST_F(DaoRecordsetTest, FailuresCarryTheJetNumbersCallersTest)
{
    auto none = open(QStringLiteral("select * from Issue where id = 999"));
    auto one = open(QStringLiteral("select * from Issue where id = 1"));
    auto closed = open(QStringLiteral("select * from Issue"));
    closed->Close();
    // The database is closed last, under recordsets still open on it.
    const std::pair<int, std::function<void()>> cases[] = {
        {jet::NoCurrentRecord, [&] { none->Fields(QStringLiteral("name")).Value(); }},
        {jet::NoCurrentRecord, [&] { none->Edit(); }},
        {jet::NoCurrentRecord, [&] { none->MoveFirst(); }},
        {jet::UpdateWithoutEdit, [&] { one->Fields(QStringLiteral("name")).setValue(1); }},
        {jet::UpdateWithoutEdit, [&] { one->Update(); }},
        {jet::ItemNotFound, [&] { one->Fields(QStringLiteral("Colour")); }},
        {jet::ItemNotFound, [&] { one->Fields(12); }},
        {jet::TableNotFound, [&] { open(QStringLiteral("Witnesses")); }},
        {jet::TableNotFound, [&] { db->Execute(QStringLiteral("delete from Witnesses")); }},
        {jet::SyntaxError, [&] { open(QStringLiteral("select * form Issue")); }},
        {jet::TooFewParameters, [&] { open(QStringLiteral("select Colour from Issue")); }},
        {jet::ObjectClosed, [&] { closed->EOF(); }},
        {jet::ObjectClosed, [&] { closed->MoveNext(); }},
        {jet::ObjectClosed,
         [&] {
             db->Close();
             open(QStringLiteral("Issue"));
         }},
        {jet::ObjectClosed, [&] { db->Execute(QStringLiteral("delete from Issue")); }},
        {jet::ObjectClosed, [&] { one->Fields(QStringLiteral("name")).Value(); }},
    };
    const AppError fromSql = raised([&] { open(QStringLiteral("select * from Witnesses")); });
    EXPECT_EQ(fromSql.source(), QStringLiteral("DAO.Database"));
    EXPECT_EQ(fromSql.description(),
              QStringLiteral("The database engine cannot find the input table or query "
                             "'Witnesses'. Make sure it exists and that its name is spelled "
                             "correctly."));
    EXPECT_EQ(raised([&] { none->Fields(QStringLiteral("name")).Value(); }).description(),
              QStringLiteral("No current record."));
    int index = 0;
    for (const auto& [number, operation] : cases)
        EXPECT_EQ(errorNumberOf(operation), number) << "case " << index++;
    EXPECT_EQ(raised([&] { open(QStringLiteral("Issue")); }).source(),
              QStringLiteral("DAO.Database"));
}

// The same numbers written out: a slip in a named constant changes what
// every caller compares against, and only literal values notice.
TEST_F(DaoRecordsetTest, TheNumbersCallersRelyOnHaveTheirJetValues)
{
    auto none = open(QStringLiteral("select * from Issue where id = 999"));
    auto closed = open(QStringLiteral("select * from Issue"));
    closed->Close();
    auto adding = open(QStringLiteral("select * from codefiles where id = 0"));
    adding->AddNew();
    const std::pair<int, std::function<void()>> cases[] = {
        {3078, [&] { open(QStringLiteral("Witnesses")); }},
        {3704, [&] { closed->MoveNext(); }},
        {3021, [&] { none->Edit(); }},
        {3163,
         [&] {
             adding->Fields(QStringLiteral("description")).setValue(QString(51, QLatin1Char('d')));
             adding->Update();
         }},
        {3421,
         [&] {
             adding->Fields(QStringLiteral("description")).setValue(QStringLiteral("fits"));
             adding->Fields(QStringLiteral("codeid")).setValue(QStringLiteral("abc"));
             adding->Update();
         }},
    };
    for (const auto& [number, operation] : cases)
        EXPECT_EQ(errorNumberOf(operation), number);
}

TEST_F(DaoRecordsetTest, SnapshotsAndJoinsAreReadOnly)
{
    auto snapshot = db->OpenRecordset(QStringLiteral("select * from Issue"), dao::dbOpenSnapshot);
    EXPECT_NE(errorNumberOf([&] { snapshot->Edit(); }), 0);
    auto join = open(
        QStringLiteral("SELECT Bookmarks.ID, Bookmarks.CodeID, Issue.Name, Bookmarks.Description "
                       "FROM Bookmarks INNER JOIN Issue ON Bookmarks.codeID = Issue.ID"));
    EXPECT_EQ(join->Fields(QStringLiteral("name")).Value().toString(), QStringLiteral("Breach"));
    EXPECT_NE(errorNumberOf([&] { join->AddNew(); }), 0);
}

} // namespace

namespace {

TEST_F(DaoRecordsetTest, ReadEachHandsTheNamedColumnsAsFieldsReadThemAndRefusesBadQueries)
{
    const QString sql =
        QStringLiteral("select ID, Name, Weight from Issue where ID <= 2 order by ID");
    QList<QVariantList> seen;
    // Names are found without regard to case and handed in the order asked.
    db->ReadEach(sql, {QStringLiteral("weight"), QStringLiteral("ID")},
                 [&](const std::vector<QVariant>& values) {
                     seen.append(QVariantList(values.begin(), values.end()));
                 });
    auto rs = open(sql);
    ASSERT_EQ(seen.size(), 2);
    for (const QVariantList& row : seen) {
        EXPECT_EQ(row[0], rs->Fields(2).Value());
        EXPECT_EQ(row[1], rs->Fields(0).Value());
        rs->MoveNext();
    }
    const auto none = [](const std::vector<QVariant>&) {};
    EXPECT_EQ(errorNumberOf([&] { db->ReadEach(QStringLiteral("delete from Issue"), {}, none); }),
              3129);
    EXPECT_EQ(errorNumberOf([&] { db->ReadEach(sql, {QStringLiteral("Explanation")}, none); }),
              3265);
    EXPECT_EQ(countRows(*db, QStringLiteral("select * from Issue")), 10);
}

} // namespace

// Compiled statements are kept between opens; each schema change, here or
// through another connection, and a rolled-back one, must still be seen by
// the next open and the next write.
TEST_F(DaoRecordsetTest, AnOpenAfterTheTableChangedReadsAndWritesItsCurrentColumns)
{
    const QString sql = QStringLiteral("select * from Notes where id = 1");
    const auto fieldsOf = [&] {
        auto rs = open(sql);
        QStringList names;
        for (int i = 0; i < rs->FieldCount(); ++i)
            names << rs->Fields(i).Name();
        return names.join(QLatin1Char(','));
    };
    const auto write = [&](const QString& field, const QVariant& value) {
        auto rs = open(sql);
        rs->Edit();
        rs->Fields(field).setValue(value);
        rs->Update();
        return open(sql)->Fields(field).Value();
    };
    db->Execute(QStringLiteral("CREATE TABLE Notes (ID INTEGER PRIMARY KEY, Body TEXT)"));
    db->Execute(QStringLiteral("INSERT INTO Notes VALUES (1, 'first')"));
    EXPECT_EQ(fieldsOf(), QStringLiteral("ID,Body"));
    EXPECT_EQ(write(QStringLiteral("Body"), QStringLiteral("kept")),
              QVariant(QStringLiteral("kept")));

    db->Execute(QStringLiteral("ALTER TABLE Notes ADD COLUMN Pages INTEGER"));
    EXPECT_EQ(fieldsOf(), QStringLiteral("ID,Body,Pages"));
    EXPECT_EQ(write(QStringLiteral("Pages"), 7).toInt(), 7);

    auto other = dao::DBEngine::OpenDatabase(db->Name());
    other->Execute(QStringLiteral("ALTER TABLE Notes ADD COLUMN Filed TEXT"));
    EXPECT_EQ(fieldsOf(), QStringLiteral("ID,Body,Pages,Filed"));
    other->Execute(QStringLiteral("DROP TABLE Notes"));
    other->Execute(QStringLiteral("CREATE TABLE Notes (ID INTEGER PRIMARY KEY, Title TEXT)"));
    other->Execute(QStringLiteral("INSERT INTO Notes VALUES (1, 'second')"));
    other->Close();
    EXPECT_EQ(fieldsOf(), QStringLiteral("ID,Title"));
    EXPECT_EQ(write(QStringLiteral("Title"), QStringLiteral("third")),
              QVariant(QStringLiteral("third")));

    dao::DBEngine::BeginTrans();
    db->Execute(QStringLiteral("ALTER TABLE Notes ADD COLUMN Gone TEXT"));
    EXPECT_EQ(fieldsOf(), QStringLiteral("ID,Title,Gone"));
    dao::DBEngine::Rollback();
    EXPECT_EQ(fieldsOf(), QStringLiteral("ID,Title"));
    EXPECT_EQ(write(QStringLiteral("Title"), QStringLiteral("fourth")),
              QVariant(QStringLiteral("fourth")));

    // Closing with statements kept leaves the file free to reopen and change.
    const QString path = db->Name();
    db->Close();
    db = dao::DBEngine::OpenDatabase(path);
    db->Execute(QStringLiteral("DROP TABLE Notes"));
    EXPECT_EQ(errorNumberOf([&] { fieldsOf(); }), jet::TableNotFound);
}
