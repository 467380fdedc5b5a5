#include "reports/arCaseAnalysis.h"

#include "reports/ReportLine.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/LevelTexts.h"
#include "platform/core/AppError.h"
#include "reports/CaseAnalysisTexts.h"
#include "reports/CaseStatistics.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include <cstdio>
#undef EOF // the engine's recordsets have an EOF member
#include "platform/db/Ado.h"

#include <array>
#include <functional>
#include <limits>
#include <optional>

namespace {

using rpt::ControlKind;

const QString kNoLevelData = QStringLiteral("There is no level data on which to report.");
const char* const kRatings[6] = {"Weight",      "Success",    "Jury",
                                 "Substantive", "Procedural", "Significance"};

void line(const char* procedure, int number, const std::function<void()>& body)
{
    reports::line(QStringLiteral("arCaseAnalysis.") + QLatin1String(procedure), number, body);
}

bool hasRow(const std::shared_ptr<ado::Recordset>& rs)
{
    return rs && rs->State() == ado::adStateOpen && rs->RecordCount() > 0;
}

// A statistics query the engine refused (a foreign file's text in a rating
// column) leaves its recordset closed. An empty block would pass for a case
// without figures, so the block that reads it says so, once.
bool readable(const std::shared_ptr<ado::Recordset>& rs, const char* procedure)
{
    if (rs && rs->State() != ado::adStateOpen) {
        line(procedure, 1, [] {
            throw AppError(jet::ObjectClosed, QStringLiteral("ADODB.Recordset"),
                           QStringLiteral("Operation is not allowed when the object is closed."));
        });
        return false;
    }
    return hasRow(rs);
}

std::optional<double> statistic(const ado::Recordset& rs, int column)
{
    const QVariant value = rs.value(0, column);
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    return value.toDouble();
}

QVariant fieldValue(std::optional<double> value)
{
    return value ? QVariant(*value) : QVariant();
}

QString printed(std::optional<double> value)
{
    return value ? rpt::generalNumber(*value) : QString();
}

rpt::Control& place(rpt::Section& section, ControlKind kind, const QString& name, int left, int top,
                    int width, int height, const QString& text = QString())
{
    rpt::Control& c = section.add(kind, name);
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.text = text;
    return c;
}

// The six figures of one block, their grand value and its explanation.
struct Block {
    std::array<std::optional<double>, 6> values;
    std::optional<double> grand;
};

Block readBlock(const ado::Recordset& rs)
{
    Block b;
    for (int i = 0; i < 6; ++i)
        b.values[static_cast<size_t>(i)] = casestats::truncated(statistic(rs, i + 1));
    b.grand = casestats::grandValue(b.values);
    return b;
}

} // namespace

arCaseAnalysis::arCaseAnalysis()
{
    setCaption(QStringLiteral("Argovo Case Analysis"));
    buildLayout();
}

arCaseAnalysis::~arCaseAnalysis() = default;

void arCaseAnalysis::buildLayout()
{
    constexpr int kWidth = kPageWidth - 2 * kMargin;
    constexpr int kLabel = 1900; // width of the label column
    constexpr int kValue = 1000;
    constexpr int kRow = 280;

    rpt::Section& header = pageHeader();
    header.setHeight(900);
    rpt::Control& title = place(header, ControlKind::TextBox, QStringLiteral("txtRptTitle"), 0, 0,
                                kWidth, 420, QStringLiteral("Argovo Case Analysis"));
    title.font.pointSize = 16;
    title.font.bold = true;
    title.alignment = Qt::AlignHCenter;
    rpt::Control& subtitle =
        place(header, ControlKind::Label, QStringLiteral("Label32"), 0, 440, kWidth, 300,
              QStringLiteral("A Comprehensive Reporting Feature of Argovo 2003"));
    subtitle.font.italic = true;
    subtitle.alignment = Qt::AlignHCenter;

    rpt::Section& d = detail();
    // One statistics block: heading, count line, six ratings beside the
    // explanation, grand value, rule and advisory paragraph.
    auto block = [&](int top, const QString& heading, const QString& headingText,
                     const QString& countBox, const QString& prefix, int firstLabel,
                     const QString& summaryBox, const QString& grandLabel, const QString& grandText,
                     const QString& grandBox, int summaryLabel, const QString& adviceBox,
                     const QString& lineName) {
        place(d, ControlKind::Label, heading, 0, top, kWidth, kRow, headingText).font.bold = true;
        place(d, ControlKind::TextBox, countBox, 0, top + 360, kWidth, kRow);
        static const char* const kCaptions[6] = {
            "Weight:", "Success:", "Jury:", "Substantive:", "Procedural:", "Significance:"};
        for (int i = 0; i < 6; ++i) {
            const int y = top + 720 + i * kRow;
            place(d, ControlKind::Label, QStringLiteral("Label%1").arg(firstLabel + i), 0, y,
                  kLabel, kRow, QLatin1String(kCaptions[i]));
            rpt::Control& box = place(d, ControlKind::TextBox,
                                      QStringLiteral("txt") + prefix + QLatin1String(kRatings[i]),
                                      kLabel, y, kValue, kRow);
            box.dataField = prefix + QLatin1String(kRatings[i]);
        }
        place(d, ControlKind::TextBox, summaryBox, kLabel + kValue + 200, top + 720,
              kWidth - kLabel - kValue - 200, 6 * kRow);
        const int grandTop = top + 720 + 6 * kRow + 120;
        place(d, ControlKind::Label, grandLabel, 0, grandTop, kLabel, kRow, grandText).font.bold =
            true;
        place(d, ControlKind::TextBox, grandBox, kLabel, grandTop, kValue, kRow).font.bold = true;
        place(d, ControlKind::Line, lineName, 0, grandTop + kRow + 60, kWidth, 0);
        place(d, ControlKind::Label, QStringLiteral("Label%1").arg(summaryLabel), 0,
              grandTop + kRow + 160, kLabel, kRow, QStringLiteral("Summary:"))
            .font.bold = true;
        place(d, ControlKind::TextBox, adviceBox, kLabel, grandTop + kRow + 160, kWidth - kLabel,
              kRow);
        return grandTop + 2 * kRow + 300;
    };
    // Labels 5..10 and 16..21 are the rating captions of the two blocks.
    int y = block(0, QStringLiteral("Label1"), QStringLiteral("Analysis of case by AVG (average):"),
                  QStringLiteral("txtByAvg"), QStringLiteral("AVG"), 5,
                  QStringLiteral("txtAVGSummary"), QStringLiteral("Label14"),
                  QStringLiteral("Grand Average:"), QStringLiteral("txtGrandAVG"), 15,
                  QStringLiteral("txtSummaryAVG"), QStringLiteral("Line1"));
    place(d, ControlKind::PageBreak, QStringLiteral("PageBreak1"), 0, y, 0, 0);
    y = block(y + 60, QStringLiteral("Label2"),
              QStringLiteral("Analysis of case by STDEV (standard deviation):"),
              QStringLiteral("txtByStdev"), QStringLiteral("STDEV"), 16,
              QStringLiteral("txtSTDEVSummary"), QStringLiteral("Label22"),
              QStringLiteral("Grand Std Dev:"), QStringLiteral("txtGrandSTDEV"), 23,
              QStringLiteral("txtSummarySTDEV"), QStringLiteral("Line2"));
    place(d, ControlKind::PageBreak, QStringLiteral("PageBreak2"), 0, y, 0, 0);

    y += 60;
    place(d, ControlKind::Label, QStringLiteral("Label31"), 0, y, kWidth, kRow,
          QStringLiteral("Analysis of Case by Level:"))
        .font.bold = true;
    y += 360;
    place(d, ControlKind::Label, QStringLiteral("Label27"), 0, y, 1000, kRow,
          QStringLiteral("There are "));
    place(d, ControlKind::TextBox, QStringLiteral("txtIssueCount"), 1000, y, 800, kRow);
    place(d, ControlKind::Label, QStringLiteral("Label3"), 1800, y, kWidth - 1800, kRow,
          QStringLiteral("issues, exhibits, and witnesses, and questions in the case.   The level "
                         "report demonstrates the following about them:"));
    y += 2 * kRow + 200;
    place(d, ControlKind::Label, QStringLiteral("lblGroup"), 0, y, kWidth, kRow,
          QStringLiteral("Level Findings:"))
        .font.bold = true;
    y += 400;
    const std::array<std::pair<const char*, const char*>, 4> levelRows{{
        {"Label4", "Comment:"},
        {"Label28", "Problem:"},
        {"Label29", "Issue:"},
        {"Label30", "Description:"},
    }};
    const std::array<const char*, 4> levelBoxes{"txtLevelComment", "txtLevelProblem",
                                                "txtLevelIssue", "txtLevelDescription"};
    for (size_t i = 0; i < levelRows.size(); ++i) {
        place(d, ControlKind::Label, QLatin1String(levelRows[i].first), 0, y, kLabel, kRow,
              QLatin1String(levelRows[i].second))
            .font.bold = true;
        place(d, ControlKind::TextBox, QLatin1String(levelBoxes[i]), kLabel, y, kWidth - kLabel,
              kRow, kNoLevelData);
        y += kRow + 160;
    }
    d.setHeight(y);
}

rpt::Control* arCaseAnalysis::control(const QString& name)
{
    for (rpt::Section* s :
         {&reportHeader(), &pageHeader(), &detail(), &pageFooter(), &reportFooter()}) {
        if (rpt::Control* c = s->control(name))
            return c;
    }
    return nullptr;
}

void arCaseAnalysis::setText(const QString& name, const QString& text)
{
    if (rpt::Control* c = control(name))
        c->text = text;
}

void arCaseAnalysis::dataInitialize()
{
    line("ActiveReport_DataInitialize", 1, [&] {
        m_rsAVG = ado::Recordset::create();
        m_rsSTDEV = ado::Recordset::create();
    });
    line("ActiveReport_DataInitialize", 2, [&] {
        for (const char* group : {"txtByAvg", "AVG", "txtByStdev", "STDEV"}) {
            const QString g = QLatin1String(group);
            if (g.startsWith(QLatin1String("txt"))) {
                fields().add(g);
                continue;
            }
            fields().add(g + QStringLiteral("Name"));
            fields().add(g + QStringLiteral("Explanation"));
            for (const char* rating : kRatings)
                fields().add(g + QLatin1String(rating));
        }
    });
    line("ActiveReport_DataInitialize", 3, [&] {
        oDataLayer().RunSQL(QStringLiteral("select count(issue.id), ") +
                                QStringLiteral("avg(issue.weight),avg(issue.success), ") +
                                QStringLiteral("avg(issue.jury), avg(issue.substantive), ") +
                                QStringLiteral("avg(issue.procedural), avg(issue.significance) ") +
                                QStringLiteral("from issue"),
                            m_rsAVG, QStringLiteral("arCaseAnalysis"));
    });
    line("ActiveReport_DataInitialize", 4, [&] {
        oDataLayer().RunSQL(
            QStringLiteral("select count(issue.id), ") +
                QStringLiteral("stdev(issue.weight),stdev(issue.success), ") +
                QStringLiteral("stdev(issue.jury), stdev(issue.substantive), ") +
                QStringLiteral("stdev(issue.procedural), stdev(issue.significance) ") +
                QStringLiteral("from issue"),
            m_rsSTDEV, QStringLiteral("arCaseAnalysis"));
    });
}

void arCaseAnalysis::reportStart()
{
    GetAVGData();
    GetSTDEVData();
    GetLevelsData();
}

void arCaseAnalysis::GetAVGData()
{
    if (!readable(m_rsAVG, "GetAVGData"))
        return;
    const ado::Recordset& rs = *m_rsAVG;
    line("GetAVGData", 1, [&] {
        m_itemCount = rs.value(0, 0).toInt();
        if (m_itemCount <= std::numeric_limits<int16_t>::max())
            oReport().setiRecordCount(m_itemCount);
    });
    line("GetAVGData", 2, [&] {
        setText(QStringLiteral("txtByAvg"), QStringLiteral("The case contains ") +
                                                QString::number(m_itemCount) +
                                                QStringLiteral(" items.  The grand averages are:"));
    });
    Block b;
    line("GetAVGData", 3, [&] { b = readBlock(rs); });
    line("GetAVGData", 4, [&] {
        for (size_t i = 0; i < 6; ++i)
            fields().setValue(QStringLiteral("AVG") + QLatin1String(kRatings[i]),
                              fieldValue(b.values[i]));
    });
    line("GetAVGData", 6, [&] { setText(QStringLiteral("txtGrandAVG"), printed(b.grand)); });
    // Without a grand value there is nothing to explain or advise on.
    line("GetAVGData", 7, [&] {
        setText(QStringLiteral("txtAVGSummary"),
                b.grand ? caseanalysis::averageExplanation(printed(b.grand)) : QString());
    });
    line("GetAVGData", 8, [&] {
        setText(QStringLiteral("txtSummaryAVG"),
                b.grand ? AnalyzeAVG(static_cast<int16_t>(casestats::averageLevel(*b.grand)))
                        : QString());
    });
}

void arCaseAnalysis::GetSTDEVData()
{
    if (!readable(m_rsSTDEV, "GetSTDEVData"))
        return;
    const ado::Recordset& rs = *m_rsSTDEV;
    line("GetSTDEVData", 1, [&] {
        setText(QStringLiteral("txtByStdev"),
                QStringLiteral("The case contains ") + rs.value(0, 0).toString() +
                    QStringLiteral(" items.  The grand standard deviations for each group are:"));
    });
    Block b;
    line("GetSTDEVData", 2, [&] {
        b = readBlock(rs);
        for (size_t i = 0; i < 6; ++i)
            fields().setValue(QStringLiteral("STDEV") + QLatin1String(kRatings[i]),
                              fieldValue(b.values[i]));
    });
    line("GetSTDEVData", 3, [&] { setText(QStringLiteral("txtGrandSTDEV"), printed(b.grand)); });
    line("GetSTDEVData", 4, [&] {
        setText(QStringLiteral("txtSTDEVSummary"),
                b.grand ? caseanalysis::deviationExplanation(printed(b.grand)) : QString());
    });
    line("GetSTDEVData", 5, [&] {
        setText(QStringLiteral("txtSummarySTDEV"), b.grand ? AnalyzeSTDEV(*b.grand) : QString());
    });
}

void arCaseAnalysis::GetLevelsData()
{
    line("GetLevelsData", 1,
         [&] { setText(QStringLiteral("txtIssueCount"), QString::number(m_itemCount)); });
    line("GetLevelsData", 2, [&] { LevelSetting(); });
}

void arCaseAnalysis::LevelSetting()
{
    QString level;
    line("LevelSetting", 1, [&] { level = oReport().Level(); });
    const levels::Band* band = nullptr;
    for (const levels::Band& b : levels::bands()) {
        if (b.label == level)
            band = &b;
    }
    const std::array<const char*, 4> boxes{"txtLevelComment", "txtLevelProblem", "txtLevelIssue",
                                           "txtLevelDescription"};
    auto fill = [&](const std::array<QString, 4>& texts) {
        for (size_t i = 0; i < boxes.size(); ++i)
            setText(QLatin1String(boxes[i]), texts[i]);
    };
    if (!band) {
        fill({kNoLevelData, kNoLevelData, kNoLevelData, kNoLevelData});
        return;
    }
    // The band's own count, asked afresh: the grid window is neither
    // refilled nor re-laid out, and the engine's study stays as it was.
    int found = 0;
    line("LevelSetting", 3, [&] {
        auto rs = ado::Recordset::create();
        if (oDataLayer().RunSQL(QStringLiteral("SELECT count(Issue.ID) FROM Issue ") +
                                    band->condition,
                                rs, QStringLiteral("arCaseAnalysis")) == 0 &&
            hasRow(rs))
            found = rs->value(0, 0).toInt();
    });
    line("LevelSetting", 4, [&] { setText(QStringLiteral("lblGroup"), level + QLatin1Char(':')); });
    line("LevelSetting", 5, [&] {
        const std::optional<levels::Texts> texts =
            found > 0 ? levels::textsFor(level, CReport::foundTotalMessage(found, m_itemCount))
                      : std::nullopt;
        if (!texts) {
            fill({kNoLevelData, kNoLevelData, kNoLevelData, kNoLevelData});
            return;
        }
        fill({texts->comment, texts->problem, texts->issue, texts->description});
    });
}

QString arCaseAnalysis::AnalyzeAVG(int16_t level)
{
    return caseanalysis::averageParagraph(level);
}

QString arCaseAnalysis::AnalyzeSTDEV(double value)
{
    return caseanalysis::deviationParagraph(value);
}
