#include "support/PdfText.h"
#include "support/ScriptedPrompt.h"

#include "platform/grid/GridCore.h"
#include "reports/adHocGeneral.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A grid of a title row and rows of (group, name, rating).
void fill(grid::GridCore& g, const std::vector<std::array<const char*, 3>>& rows)
{
    g.setCols(4);
    g.setRows(static_cast<int>(rows.size()));
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < 3; ++c)
            g.setTextAt(r, c + 1,
                        QLatin1String(rows[static_cast<size_t>(r)][static_cast<size_t>(c)]));
}

QStringList detailLines(const rpt::Document& document)
{
    QStringList lines;
    for (int p = 0; p < document.pageCount(); ++p) {
        QStringList page = document.pageTexts(p);
        page.removeAll(QStringLiteral("Grid Display"));
        page.removeAll(QStringLiteral("Display Grid Values"));
        lines << page;
    }
    return lines;
}

} // namespace

TEST(adHocGeneralTest, FieldsSitBesideEachOtherByColumnWidth)
{
    ScriptedPrompt prompt;
    grid::GridCore g;
    g.setCols(3);
    g.setColWidth(0, 1000);
    g.setColWidth(1, 2000);
    g.setColWidth(2, 500);
    adHocGeneral report;
    report.setGrid(&g);
    const auto& fields = report.detail().controls();
    ASSERT_EQ(fields.size(), 3u);
    const int lefts[] = {0, 1294, 3588};
    const int widths[] = {1150, 2150, 650};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(fields[i]->left, lefts[i]);
        EXPECT_EQ(fields[i]->width, widths[i]);
        EXPECT_EQ(fields[i]->tag, static_cast<int>(i));
        EXPECT_EQ(fields[i]->dataField, fields[i]->name);
    }
    EXPECT_EQ(report.printWidth(), 4382);
    EXPECT_EQ(report.fields().count(), 3);
    EXPECT_EQ(g.fontName(), QStringLiteral("Verdana"));
    EXPECT_EQ(g.fontSize(), 7);
}

TEST(adHocGeneralTest, ShownTwiceItPrintsTheWholeGridEachTimeWithoutPiledUpFields)
{
    ScriptedPrompt prompt;
    grid::GridCore g;
    fill(g, {{"Key Group", "Name", "Weight"}, {"Liability", "Breach", "8"}});
    adHocGeneral report;
    for (int run = 0; run < 2; ++run) {
        report.setGrid(&g);
        EXPECT_EQ(report.fields().count(), 4);
        EXPECT_EQ(report.detail().controls().size(), 4u);
        const rpt::Document document = report.run();
        EXPECT_EQ(detailLines(document),
                  (QStringList{"Key Group", "Name", "Weight", "Liability", "Breach", "8"}))
            << run;
        EXPECT_EQ(report.zoom(), 85);
    }
    // A run without a new grid starts from the title row again.
    EXPECT_EQ(detailLines(report.run()).size(), 6);
    EXPECT_EQ(prompt.count(QStringLiteral("message")), 0);
}

TEST(adHocGeneralTest, DraggedColumnsPrintInTheOrderTheGridShowsThem)
{
    ScriptedPrompt prompt;
    grid::GridCore g;
    fill(g, {{"Key Group", "Name", "Weight"}, {"Liability", "Breach", "8"}});
    g.setColWidth(1, 1000);
    g.setColWidth(3, 500);
    g.moveColumn(3, 1);
    adHocGeneral report;
    report.setGrid(&g);
    EXPECT_EQ(detailLines(report.run()),
              (QStringList{"Weight", "Key Group", "Name", "8", "Liability", "Breach"}));
    // The dragged column sits where it shows, with its own width.
    const auto& fields = report.detail().controls();
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[1]->tag, 3);
    EXPECT_EQ(fields[1]->width, 650);
    EXPECT_EQ(fields[2]->left, fields[1]->left + 650 + 144);
}

TEST(adHocGeneralTest, HiddenColumnKeepsItsPlaceButPrintsNothing)
{
    ScriptedPrompt prompt;
    grid::GridCore g;
    fill(g, {{"Key Group", "Question", "Weight"}, {"Liability", "Is the duty disputed?", "9"}});
    g.setColWidth(2, 0);
    adHocGeneral report;
    report.setGrid(&g);
    EXPECT_EQ(report.detail().controls().at(2)->width, 150);
    EXPECT_EQ(detailLines(report.run()), (QStringList{"Key Group", "Weight", "Liability", "9"}));
}

TEST(adHocGeneralTest, SubtotalRowsAndAmpersandsPrintAsTheGridShowsThem)
{
    ScriptedPrompt prompt;
    grid::GridCore g;
    fill(g, {{"Key Group", "Name", "Weight"},
             {"Smith & Jones", "Contract", "8"},
             {"Smith & Jones", "Tort", "6"},
             {"Smith & Jones", "Lien", "6"},
             {"Damages", "Wages", "5"}});
    g.subtotal(grid::SubtotalAverage, 1, 3);
    // The column's format comes after the subtotal was worked out, as when a
    // method study follows a level study: 6.666... shows as 6.6.
    g.setColFormat(3, QStringLiteral("'.0"));
    ASSERT_GT(g.rows(), 5);
    QStringList subtotalTexts;
    for (int r = 0; r < g.rows(); ++r)
        if (g.isSubtotal(r))
            subtotalTexts << g.displayText(r, 3);
    ASSERT_EQ(subtotalTexts, (QStringList{"6.6", "5"}));

    adHocGeneral report;
    report.setGrid(&g);
    const rpt::Document document = report.run();
    for (const QString& value : subtotalTexts)
        EXPECT_TRUE(detailLines(document).contains(value)) << value.toStdString();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("grid.pdf"));
    document.writePdf(pdf);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Grid Display")));
    EXPECT_GE(text.count(QStringLiteral("Smith & Jones")), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("6.6")));
}
