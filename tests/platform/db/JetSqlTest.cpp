#include "platform/db/JetSql.h"
#include "platform/db/Ado.h"

#include <gtest/gtest.h>

using db::translateJetSql;

TEST(JetSqlTranslation, DivisionBecomesRealDivision)
{
    EXPECT_EQ(translateJetSql(QStringLiteral("select a/b from t")),
              QStringLiteral("select a*1.0/b from t"));
    EXPECT_EQ(translateJetSql(QStringLiteral("(a + b)/6 BETWEEN 9 AND 10")),
              QStringLiteral("(a + b)*1.0/6 BETWEEN 9 AND 10"));
    EXPECT_EQ(translateJetSql(QStringLiteral("a/b/c")), QStringLiteral("a*1.0/b*1.0/c"));
}

TEST(JetSqlTranslation, LeavesSlashesInLiteralsNamesAndCommentsAlone)
{
    const QString untouched[] = {
        QStringLiteral("select * from t where p = 'C:/cases/a/b.doc'"),
        QStringLiteral("select * from t where p = 'it''s a/b'"),
        QStringLiteral("select [a/b] from t"),
        QStringLiteral("select \"a/b\" from t"),
        QStringLiteral("select x /* a/b */ from t"),
        QStringLiteral("select x -- a/b\nfrom t"),
    };
    for (const QString& sql : untouched)
        EXPECT_EQ(translateJetSql(sql), sql) << sql.toStdString();
    EXPECT_EQ(translateJetSql(QStringLiteral("select [a/b]/2, 'x/y' from t where n/2 > 1")),
              QStringLiteral("select [a/b]*1.0/2, 'x/y' from t where n*1.0/2 > 1"));
}

TEST(JetSqlTranslation, BareTableNamesAreRecognisedAndSqlIsNot)
{
    EXPECT_EQ(db::bareTableName(QStringLiteral("codefiles")), QStringLiteral("codefiles"));
    EXPECT_EQ(db::bareTableName(QStringLiteral(" [CodeDBVersion]; ")),
              QStringLiteral("CodeDBVersion"));
    EXPECT_FALSE(db::bareTableName(QStringLiteral("select * from codefiles")));
    EXPECT_FALSE(db::bareTableName(QStringLiteral("delete from x")));
}

TEST(JetSqlTranslation, OnlyPlainOneTableSelectsAreTakenAsSingleTable)
{
    const auto single =
        db::parseSingleTableSelect(QStringLiteral("select * from codefiles where id = 3;"));
    ASSERT_TRUE(single);
    EXPECT_EQ(single->table, QStringLiteral("codefiles"));
    EXPECT_EQ(single->rest, QStringLiteral("where id = 3"));
    EXPECT_TRUE(db::parseSingleTableSelect(
        QStringLiteral("select file from codefiles where description = 'union.doc'")));
    EXPECT_TRUE(db::parseSingleTableSelect(
        QStringLiteral("SELECT [Name] FROM [Issue] where itemtype='issue'")));
    EXPECT_FALSE(db::parseSingleTableSelect(QStringLiteral(
        "SELECT Issue.ID FROM Issue INNER JOIN Issue AS Issue_1 ON Issue.ID = Issue_1.ParentID")));
    EXPECT_FALSE(db::parseSingleTableSelect(QStringLiteral("select distinct name from issue")));
    EXPECT_FALSE(db::parseSingleTableSelect(QStringLiteral("select a.id from issue a")));
}

TEST(ConnectionStringParsing, DataSourceIsFoundWhateverTheKeyCaseAndClosingSemicolon)
{
    const QString path = QStringLiteral("/cases/My Case.AGV");
    const QString strings[] = {
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/cases/My Case.AGV;"),
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/cases/My Case.AGV"),
        QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;DATA SOURCE=/cases/My Case.AGV;"),
        QStringLiteral("provider=whatever;data source=/cases/My Case.AGV"),
        QStringLiteral("data source = /cases/My Case.AGV ; provider=Microsoft.Jet.OLEDB.4.0"),
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/cases/My Case.AGV\";"),
    };
    for (const QString& text : strings)
        EXPECT_EQ(ado::dataSourceFromConnectionString(text), path) << text.toStdString();
    EXPECT_EQ(
        ado::dataSourceFromConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;")),
        QString());
    EXPECT_EQ(ado::dataSourceFromConnectionString(QStringLiteral("Data Source=\"/a;b.AGV\"")),
              QStringLiteral("/a;b.AGV"));
}

TEST(ConnectionStringParsing, AnyCasePathSurvivesTheConnectionString)
{
    const QString paths[] = {
        QStringLiteral("/cases/Smith, J.; v. Doe.AGV"),
        QStringLiteral("/cases/O'Brien.AGV"),
        QStringLiteral("/c/\"quoted\"; case.AGV"),
        QStringLiteral("/c/both ' and \" ;.AGV"),
        QStringLiteral("\"/c/lead.AGV"),
        QStringLiteral(" /c/blank at both ends "),
    };
    for (const QString& path : paths) {
        const QString text = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                             ado::dataSourceValue(path) + QStringLiteral(";Mode=Share");
        EXPECT_EQ(ado::dataSourceFromConnectionString(text), path) << text.toStdString();
    }
    // A path that needs no quotes is written as it stands.
    EXPECT_EQ(ado::dataSourceValue(QStringLiteral("/cases/My Case.AGV")),
              QStringLiteral("/cases/My Case.AGV"));
}
