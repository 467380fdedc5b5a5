#include "support/PdfText.h"
#include "support/ScriptedPrompt.h"
#include "support/TempCase.h"

#include "platform/core/AppError.h"
#include "reports/ListReport.h"
#include "store/AppState.h"
#include "store/CMain.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString item(int id, const QString& name, const QString& type, const QString& question = "Q")
{
    return QStringLiteral("INSERT INTO Issue (ID, ParentID, Name, Explanation, Question, ItemType) "
                          "VALUES (%1, 0, '%2', 'About %2', '%3', '%4');\n")
        .arg(id)
        .arg(name, question, type);
}

class ListReportTest : public ::testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override { resetAppState(); }

    QStringList texts(ListReport& report)
    {
        const rpt::Document document = report.run();
        QStringList all;
        for (int p = 0; p < document.pageCount(); ++p)
            all << document.pageTexts(p);
        return all;
    }

    ScriptedPrompt m_prompt;
    TempCase m_cases;
};

} // namespace

TEST_F(ListReportTest, ItemTypesMatchWithoutRegardToCase)
{
    // A ";" in the case's name is part of the name, not the end of the path.
    oMain().setStrFileName(
        m_cases.create(QStringLiteral("Smith, J.; v. Doe.AGV"),
                       item(1, "Upper", "ISSUE") + item(2, "Lower", "issue") +
                           item(3, "Mixed", "Issue") + item(4, "Ask", "Question") +
                           item(5, "Officer", "wItNeSs") + item(6, "Photo", "EXHIBIT", "")));
    struct Case {
        std::unique_ptr<ListReport> report;
        QStringList names;
    };
    Case cases[] = {
        {ListReport::arIssues(), {"Upper", "Lower", "Mixed"}},
        {ListReport::arWitnesses(), {"Officer"}},
        {ListReport::arExhibits(), {"Photo"}},
    };
    for (Case& c : cases) {
        const QStringList printed = texts(*c.report);
        for (const QString& name : c.names) {
            EXPECT_TRUE(printed.contains(name)) << c.report->designName().toStdString();
            EXPECT_TRUE(printed.contains(QStringLiteral("About ") + name));
        }
        EXPECT_FALSE(printed.contains(QStringLiteral("Ask")));
    }
    EXPECT_EQ(m_prompt.count(QStringLiteral("message")), 0);
}

TEST_F(ListReportTest, CaseWithoutWitnessesPrintsTheHeadersOnly)
{
    oMain().setStrFileName(m_cases.create(QStringLiteral("Case.AGV"), item(1, "Only", "Issue")));
    auto report = ListReport::arWitnesses();
    EXPECT_EQ(texts(*report), (QStringList{"Witness Report", "Name", "Explanation", "Question"}));
    EXPECT_EQ(report->caption(), QStringLiteral("Argovo Witness Report"));
}

TEST_F(ListReportTest, MissingCaseFileIsReportedAndNotCreated)
{
    const QString missing = m_cases.path(QStringLiteral("Gone.AGV"));
    oMain().setStrFileName(missing);
    auto report = ListReport::arIssues();
    try {
        report->run();
        ADD_FAILURE() << "a missing case printed";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), jet::FileNotFound);
    }
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(ListReportTest, ExhibitListRendersToPdf)
{
    oMain().setStrFileName(m_cases.createSample());
    auto report = ListReport::arExhibits();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("exhibits.pdf"));
    report->run().writePdf(pdf);
    const QString text = pdfText(pdf).simplified();
    for (const char* expected : {"Exhibit Report", "Name", "Explanation", "Question",
                                 "Skid-mark photographs", "Who took them and when?"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    EXPECT_FALSE(text.contains(QStringLiteral("Officer Reyes")));
}
