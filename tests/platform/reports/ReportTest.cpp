#include "support/PdfText.h"
#include "support/ScriptedPrompt.h"
#include "support/TempCase.h"

#include "platform/core/AppError.h"
#include "platform/reports/Report.h"
#include "platform/reports/ReportFonts.h"
#include "platform/reports/ReportPreview.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

#include <sys/resource.h>

using rpt::ControlKind;

namespace {

void addLabel(rpt::Section& section, const char* name, int left, int top, int width,
              const char* text)
{
    rpt::Control& label = section.add(ControlKind::Label, QLatin1String(name));
    label.left = left;
    label.top = top;
    label.width = width;
    label.height = 300;
    label.text = QLatin1String(text);
}

// A design that records its events and prints one text box bound to "Value"
// per record it is fed.
class RecordingReport final : public rpt::Report {
public:
    QStringList events;
    QList<QVariant> values;

    RecordingReport()
    {
        setCaption(QStringLiteral("Recording"));
        pageHeader().setHeight(300);
        addLabel(pageHeader(), "lblTitle", 0, 0, 4000, "Header");
        detail().setHeight(300);
        rpt::Control& box = detail().add(ControlKind::TextBox, QStringLiteral("txtValue"));
        box.width = 4000;
        box.height = 300;
        box.dataField = QStringLiteral("value"); // any case
    }

protected:
    void dataInitialize() override
    {
        events << QStringLiteral("DataInitialize");
        fields().add(QStringLiteral("Value"));
    }
    void reportStart() override { events << QStringLiteral("ReportStart"); }
    void fetchData(bool& eof) override
    {
        events << QStringLiteral("FetchData");
        if (m_next >= values.size())
            return;
        fields().setValue(QStringLiteral("VALUE"), values[m_next++]);
        eof = false;
    }

private:
    int m_next = 0;
};

QStringList detailTexts(const rpt::Document& document)
{
    QStringList texts;
    for (int i = 0; i < document.pageCount(); ++i) {
        QStringList page = document.pageTexts(i);
        page.removeAll(QStringLiteral("Header"));
        texts << page;
    }
    return texts;
}

} // namespace

TEST(ReportTest, EventsRunInOrderAndFetchingStopsAtEndOfDataOrPrintsNoDetailUnbound)
{
    RecordingReport report;
    report.setFetching(true);
    report.values = {QStringLiteral("a"), QStringLiteral("b")};
    EXPECT_EQ(detailTexts(report.run()), (QStringList{"a", "b"}));
    EXPECT_EQ(report.events, (QStringList{"DataInitialize", "ReportStart", "FetchData", "FetchData",
                                          "FetchData"}));

    RecordingReport unbound;
    const rpt::Document document = unbound.run();
    EXPECT_EQ(unbound.events, (QStringList{"DataInitialize", "ReportStart"}));
    EXPECT_EQ(document.pageCount(), 1);
    EXPECT_EQ(document.pageTexts(0), QStringList{"Header"});
}

TEST(ReportTest, FieldValuesPrintNullEmptyAndNumbersInGeneralFormat)
{
    const std::vector<std::pair<QVariant, QString>> cases{
        {QVariant(), QString()},
        {QVariant(QMetaType(QMetaType::Double)), QString()},
        {7.0, "7"},
        {6.83, "6.83"},
        {1.0 / 3.0, "0.333333333333333"},
        {-0.0, "0"},
        {42, "42"},
        {QStringLiteral("Smith & Jones"), "Smith & Jones"},
    };
    for (const auto& [value, printed] : cases)
        EXPECT_EQ(rpt::printedText(value), printed) << value.toString().toStdString();

    rpt::Fields fields;
    fields.add(QStringLiteral("AVGWeight"));
    fields.setValue(QStringLiteral("avgweight"), 6.5);
    EXPECT_EQ(fields.text(QStringLiteral("AvgWeight")), QStringLiteral("6.5"));
    try {
        fields.setValue(QStringLiteral("Missing"), 1);
        ADD_FAILURE() << "an unknown field was set";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), jet::ItemNotFound);
    }
}

TEST(ReportTest, BoundReportPrintsOneDetailPerRowOfItsQuery)
{
    TempCase cases;
    const QString path = cases.createSample();
    RecordingReport report;
    report.dataControl().connectionString =
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path;
    report.dataControl().source =
        QStringLiteral("select Name as Value from Issue where ParentID = 6 order by ID");
    const rpt::Document document = report.run();
    EXPECT_EQ(detailTexts(document), (QStringList{"Medical costs", "Lost wages"}));
}

TEST(ReportTest, LongReportsPageWithTheHeaderOnEveryPageAndNothingBelowTheMargin)
{
    RecordingReport report;
    report.setFetching(true);
    for (int i = 0; i < 200; ++i)
        report.values << i;
    const rpt::Document document = report.run();
    ASSERT_GT(document.pageCount(), 3);
    int printed = 0;
    for (int p = 0; p < document.pageCount(); ++p) {
        EXPECT_EQ(document.pageTexts(p).first(), QStringLiteral("Header")) << p;
        for (const rpt::PageText& text : document.page(p).texts) {
            EXPECT_LE(text.rect.bottom(), rpt::Report::kPageHeight - rpt::Report::kMargin);
            ++printed;
        }
    }
    EXPECT_EQ(printed, 200 + document.pageCount());

    // Painted page by page as it is laid out, the PDF has the same pages.
    RecordingReport again;
    again.setFetching(true);
    again.values = report.values;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    again.writePdf(pdf);
    const QString text = pdfText(pdf);
    EXPECT_EQ(text.count(QLatin1Char('\f')), document.pageCount());
    EXPECT_TRUE(text.contains(QStringLiteral("199")));
}

TEST(ReportTest, AReportWiderThanLandscapePaperIsShrunkOntoItNotCutAtItsEdge)
{
    RecordingReport report;
    report.setFetching(true);
    for (int i = 0; i < 120; ++i)
        report.values << i;
    // Twice the landscape page's room, with the values at the far right.
    const int width = 2 * (rpt::Report::kPageHeight - 2 * rpt::Report::kMargin);
    report.setPrintWidth(width);
    report.detail().controls().front()->left = width - 4000;
    const rpt::Document document = report.run();
    EXPECT_EQ(detailTexts(document).size(), 120);
    const QRectF paper(0, 0, rpt::Report::kPageHeight, rpt::Report::kPageWidth);
    const QRectF printable = paper.adjusted(rpt::Report::kMargin, rpt::Report::kMargin,
                                            -rpt::Report::kMargin, -rpt::Report::kMargin);
    for (int p = 0; p < document.pageCount(); ++p) {
        const rpt::Page& page = document.page(p);
        for (const rpt::PageText& text : page.texts) {
            const QRectF onPaper = page.toPaper.mapRect(text.rect);
            EXPECT_TRUE(printable.adjusted(-1, -1, 1, 1).contains(onPaper))
                << p << " " << text.text.toStdString();
        }
    }
}

TEST(ReportTest, GrowingTextPushesLaterControlsDownAndPageBreaksStartNewPages)
{
    RecordingReport report;
    rpt::Control& box = *report.detail().control(QStringLiteral("txtValue"));
    box.width = 1500;
    addLabel(report.detail(), "lblBelow", 0, 400, 3000, "Below");
    // Beside the growing box: stays where it is.
    addLabel(report.detail(), "lblFixed", 5000, 100, 2000, "Beside");
    report.detail().add(ControlKind::PageBreak).top = 800;
    addLabel(report.detail(), "lblAfter", 0, 900, 3000, "After the break");
    report.setFetching(true);
    report.values = {QStringLiteral("many words that wrap over several lines in a narrow box")};

    const rpt::Document document = report.run();
    ASSERT_EQ(document.pageCount(), 2);
    double boxBottom = 0;
    double belowTop = 0;
    double fixedTop = 0;
    for (const rpt::PageText& t : document.page(0).texts) {
        if (t.text == QLatin1String("Below"))
            belowTop = t.rect.top();
        else if (t.text == QLatin1String("Beside"))
            fixedTop = t.rect.top();
        else if (t.rect.left() == rpt::Report::kMargin && t.text != QLatin1String("Header"))
            boxBottom = std::max(boxBottom, t.rect.bottom());
    }
    EXPECT_GE(belowTop, boxBottom);
    EXPECT_LT(fixedTop, belowTop);
    EXPECT_EQ(document.pageTexts(1), (QStringList{"Header", "After the break"}));
}

TEST(ReportTest, AParagraphOfAnyLengthWrapsOverAsManyPagesAsItNeeds)
{
    const QString sentence = QStringLiteral("The witness stated that the vehicle was travelling at "
                                            "speed when it entered the junction. ");
    QString prose;
    while (prose.size() < 400000)
        prose += sentence;
    prose.truncate(400000);
    // Long enough to overflow a measure of the whole line.
    for (const QString& paragraph : {prose, QString(250000, QLatin1Char('W'))}) {
        RecordingReport report;
        report.setFetching(true);
        report.values = {paragraph};
        const rpt::Document document = report.run();
        QString printed;
        for (int p = 0; p < document.pageCount(); ++p) {
            for (const rpt::PageText& text : document.page(p).texts) {
                if (text.text == QLatin1String("Header"))
                    continue;
                // Short enough for the measure not to overflow, and within the box.
                EXPECT_TRUE(text.text.size() < 1000 &&
                            QFontMetricsF(rpt::fontFor(text.font)).horizontalAdvance(text.text) <=
                                text.rect.width())
                    << p << " " << text.text.size();
                printed += text.text;
            }
        }
        EXPECT_GT(document.pageCount(), 100);
        EXPECT_EQ(printed.remove(QLatin1Char(' ')), QString(paragraph).remove(QLatin1Char(' ')));
    }
}

TEST(ReportTest, PdfHoldsTextLiterallyAndFallsBackFromMissingFonts)
{
    RecordingReport report;
    report.detail().control(QStringLiteral("txtValue"))->font.family =
        QStringLiteral("No Such Font Family");
    report.setFetching(true);
    report.values = {QStringLiteral("Smith & Jones"), QStringLiteral("&Exhibit")};
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    report.run().writePdf(pdf);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Smith & Jones"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("&Exhibit"))) << text.toStdString();
}

TEST(ReportTest, FailedPdfWriteRaisesAndLeavesNoFile)
{
    RecordingReport report;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("missing/folder/out.pdf"));
    EXPECT_THROW(report.run().writePdf(pdf), AppError);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(ReportPreviewTest, OpensAtItsZoomPagesAndSavesThroughTheFileDialog)
{
    ScriptedPrompt prompt;
    RecordingReport report;
    report.setFetching(true);
    for (int i = 0; i < 120; ++i)
        report.values << i;
    rpt::ReportPreview preview(report.run(), 85);
    const int pages = preview.document().pageCount();
    ASSERT_GT(pages, 1);
    auto* zoom = preview.findChild<QComboBox*>(QStringLiteral("zoomComboBox"));
    auto* label = preview.findChild<QLabel*>(QStringLiteral("pageLabel"));
    EXPECT_EQ(zoom->currentText(), QStringLiteral("85%"));
    EXPECT_EQ(label->text(), QStringLiteral("Page 1 of %1").arg(pages));

    preview.findChild<QPushButton*>(QStringLiteral("lastPageButton"))->click();
    EXPECT_EQ(preview.currentPage(), pages - 1);
    EXPECT_FALSE(preview.findChild<QPushButton*>(QStringLiteral("nextPageButton"))->isEnabled());
    preview.findChild<QPushButton*>(QStringLiteral("previousPageButton"))->click();
    EXPECT_EQ(label->text(), QStringLiteral("Page %1 of %2").arg(pages - 1).arg(pages));
    EXPECT_FALSE(preview.grab().isNull());

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("saved.pdf"));
    prompt.chooseFile(pdf);
    preview.findChild<QPushButton*>(QStringLiteral("savePdfButton"))->click();
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown().first().text, QStringLiteral("Save as PDF"));
    // An existing file is replaced only when the user agrees; a bare name gets ".pdf".
    EXPECT_TRUE(prompt.shown().first().file.flags & platform::fileflags::OverwritePrompt);
    EXPECT_EQ(prompt.shown().first().file.defaultSuffix, QStringLiteral("pdf"));
    EXPECT_TRUE(pdfText(pdf).contains(QStringLiteral("119")));
}

TEST(ReportPreviewTest, PrintingAsksThroughThePromptPrintsOnlyWhenAcceptedAndTellsAFailure)
{
    ScriptedPrompt prompt;
    RecordingReport report;
    report.setFetching(true);
    report.values << 4711;
    rpt::ReportPreview preview(report.run(), 100);
    auto* print = preview.findChild<QPushButton*>(QStringLiteral("printButton"));
    QTemporaryDir dir;

    // The user picks a printer, then cancels.
    const QString cancelled = dir.filePath(QStringLiteral("cancelled.pdf"));
    prompt.printTo(cancelled, false);
    print->click();
    ASSERT_EQ(prompt.count(QStringLiteral("print")), 1);
    EXPECT_EQ(prompt.shown().first().text, QStringLiteral("Print Recording"));
    EXPECT_FALSE(QFile::exists(cancelled));

    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    prompt.printTo(printed);
    print->click();
    EXPECT_TRUE(pdfText(printed).contains(QStringLiteral("4711")));

    // A printer that cannot take the job.
    const QString missing = dir.filePath(QStringLiteral("missing/folder/out.pdf"));
    prompt.printTo(missing);
    print->click();
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages().first().startsWith(
        QStringLiteral("The report could not be printed to ") + missing + QStringLiteral(": ")))
        << prompt.messages().first().toStdString();
}

namespace {

// Every write past limit bytes into any file fails while it lives, as on a
// disk that fills up during the write.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_signal)(int) = nullptr;
};

} // namespace

TEST(ReportPreviewTest, AFileWriteThatFailsPartwayIsToldAndKeepsTheFileItWasToReplace)
{
    ScriptedPrompt prompt;
    RecordingReport report;
    report.setFetching(true);
    for (int i = 0; i < 300; ++i)
        report.values << i;
    rpt::ReportPreview preview(report.run(), 100);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("report.pdf"));
    const QByteArray old("the report printed last week");
    const std::pair<const char*, const char*> cases[]{
        {"savePdfButton", "The report could not be saved to "},
        {"printButton", "The report could not be printed to "},
    };
    for (const auto& [button, told] : cases) {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
        file.close();
        prompt.clear();
        if (QLatin1String(button) == QLatin1String("printButton"))
            prompt.printTo(target);
        else
            prompt.chooseFile(target);
        {
            FileSizeLimit limit(8192);
            preview.findChild<QPushButton*>(QLatin1String(button))->click();
        }
        EXPECT_EQ(prompt.messages(), QStringList{QLatin1String(told) + target +
                                                 QStringLiteral(": ") + qt_error_string(EFBIG)});
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), old) << button;
        file.close();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"})
            << button;
    }
    // The same writes go through without the limit: it is the limit that failed them.
    prompt.printTo(target);
    preview.findChild<QPushButton*>(QStringLiteral("printButton"))->click();
    EXPECT_TRUE(pdfText(target).contains(QStringLiteral("299")));
    EXPECT_GT(QFileInfo(target).size(), 8192);
}

// A link chosen as the file is written through, to the file it names, which
// keeps its permission bits: the link stays a link.
TEST(ReportPreviewTest, ASaveOrPrintToALinkWritesTheFileItNamesWhichKeepsItsPermissions)
{
    ScriptedPrompt prompt;
    RecordingReport report;
    report.setFetching(true);
    report.values = {QStringLiteral("Exhibit 12")};
    rpt::ReportPreview preview(report.run(), 100);
    QTemporaryDir shared;
    QTemporaryDir desk;
    const QString real = shared.filePath(QStringLiteral("report.pdf"));
    const QString link = desk.filePath(QStringLiteral("report.pdf"));
    ASSERT_TRUE(QFile::link(real, link));
    const QFileDevice::Permissions access = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    for (const char* button : {"savePdfButton", "printButton"}) {
        SCOPED_TRACE(button);
        QFile file(real);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("the report printed last week");
        file.close();
        ASSERT_TRUE(file.setPermissions(access));
        prompt.clear();
        if (QLatin1String(button) == QLatin1String("printButton"))
            prompt.printTo(link);
        else
            prompt.chooseFile(link);
        preview.findChild<QPushButton*>(QLatin1String(button))->click();
        EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.messages().join('\n').toStdString();
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_TRUE(pdfText(real).contains(QStringLiteral("Exhibit 12")));
        EXPECT_EQ(QFile::permissions(real) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                  access);
        EXPECT_EQ(QDir(shared.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"report.pdf"});
    }
}
