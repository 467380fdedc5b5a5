#include "support/ScriptedPrompt.h"
#include "support/TempCase.h"

#include "analysis/forms/IssueWindow.h"
#include "platform/core/AppError.h"
#include "platform/reports/ReportPreview.h"
#include "reports/ReportPreviews.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class ReportPreviewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppState();
        m_path = m_cases.createSample();
        oMain().setStrFileName(m_path);
        oDataLayer().setDataSource(m_path);
    }
    void TearDown() override
    {
        analysisforms::unloadIssueWindow();
        resetAppState();
    }

    ScriptedPrompt m_prompt;
    TempCase m_cases;
    QString m_path;
    ReportPreviews m_previews;
};

} // namespace

TEST_F(ReportPreviewsTest, EachReportOpensItsPreviewAtTheZoomAsked)
{
    namespace rn = platform::reportname;
    QWidget pane;
    analysisforms::loadIssueWindow(&pane);
    const std::vector<std::tuple<QString, int, QString>> cases{
        {rn::kCaseAnalysis, 100, "Argovo Case Analysis"},
        {rn::kIssues, 85, "Argovo Issue Report"},
        {rn::kWitnesses, 85, "Argovo Witness Report"},
        {rn::kExhibits, 85, "Argovo Exhibit Report"},
        {rn::kGrid, 85, "Grid Report"},
    };
    for (const auto& [name, zoom, caption] : cases) {
        m_previews.show(name, zoom);
        rpt::ReportPreview* preview = m_previews.previews().last();
        EXPECT_EQ(preview->windowTitle(), caption);
        EXPECT_EQ(preview->zoom(), zoom);
        EXPECT_TRUE(preview->isVisible());
        EXPECT_GE(preview->document().pageCount(), 1);
    }
    EXPECT_EQ(m_previews.previews().size(), 5);
    EXPECT_EQ(m_prompt.count(QStringLiteral("message")), 0)
        << m_prompt.messages().join('|').toStdString();
}

TEST_F(ReportPreviewsTest, GridReportWithoutTheAnalysisWindowIsRefused)
{
    try {
        m_previews.show(platform::reportname::kGrid, 85);
        ADD_FAILURE() << "the grid report opened without a grid";
    } catch (const AppError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("The analysis grid is not loaded."));
    }
    EXPECT_TRUE(m_previews.previews().isEmpty());
}

namespace {

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

} // namespace

TEST_F(ReportPreviewsTest, AReportIsNeverWrittenOverTheOpenCaseUnderAnyName)
{
    const QByteArray before = digestOf(m_path);
    ASSERT_FALSE(before.isEmpty());
    const QString symbolic = m_cases.path(QStringLiteral("Symbolic.pdf"));
    const QString hard = m_cases.path(QStringLiteral("Hard.pdf"));
    ASSERT_TRUE(QFile::link(m_path, symbolic));
    ASSERT_EQ(::link(QFile::encodeName(m_path).constData(), QFile::encodeName(hard).constData()),
              0);
    QDir().mkpath(m_cases.path(QStringLiteral("sub")));
    const QStringList names{m_path, m_cases.folder() + QStringLiteral("/sub/../Sample.AGV"),
                            symbolic, hard};

    m_previews.show(platform::reportname::kIssues, 85);
    rpt::ReportPreview* preview = m_previews.previews().last();
    for (const char* button : {"savePdfButton", "printButton"}) {
        for (const QString& name : names) {
            m_prompt.clear();
            if (QLatin1String(button) == QLatin1String("printButton"))
                m_prompt.printTo(name);
            else
                m_prompt.chooseFile(name);
            preview->findChild<QPushButton*>(QLatin1String(button))->click();
            EXPECT_EQ(m_prompt.messages(),
                      QStringList{QDir::toNativeSeparators(name) +
                                  QStringLiteral(" is the open case file. A report cannot be "
                                                 "written over it; choose another name. Nothing "
                                                 "was written.")})
                << button << " " << name.toStdString();
            EXPECT_EQ(digestOf(m_path), before) << button << " " << name.toStdString();
            EXPECT_TRUE(QFileInfo(symbolic).isSymLink());
        }
    }
    EXPECT_EQ(QDir(m_cases.folder()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Hard.pdf", "Sample.AGV", "Symbolic.pdf"}));

    // Any other file is written as asked.
    const QString other = m_cases.path(QStringLiteral("Issues.pdf"));
    m_prompt.clear();
    m_prompt.printTo(other);
    preview->findChild<QPushButton*>(QStringLiteral("printButton"))->click();
    EXPECT_TRUE(m_prompt.messages().isEmpty()) << m_prompt.messages().join('|').toStdString();
    QFile written(other);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5).startsWith("%PDF")) << other.toStdString();
}
