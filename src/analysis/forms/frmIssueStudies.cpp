// The method and range studies of the analysis window, and its grid report.

#include "analysis/forms/frmIssue.h"

#include "analysis/AnalysisState.h"
#include "analysis/CReport.h"
#include "analysis/StudyQueries.h"
#include "analysis/forms/ListText.h"
#include "analysis/forms/WindowLine.h"
#include "platform/core/Prompt.h"
#include "platform/core/ReportLauncher.h"
#include "platform/grid/GridCore.h"
#include "store/AppState.h"
#include "store/CUtility.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

using analysisforms::line;
using analysisforms::setListText;

namespace {

const QString kNone = QStringLiteral("NONE");
constexpr int kMethodStudy = 3;
constexpr int kRangeStudy = 4;

} // namespace

void frmIssue::connectStudies()
{
    connect(m_cboMethod, &QComboBox::activated, this, &frmIssue::cboMethod_Click);
    // Enter on a typed text that is no item of the list: the list itself
    // says nothing, yet a method it does not offer ("SUM") runs, and any
    // other text runs none.
    connect(m_cboMethod->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (m_cboMethod->findText(m_cboMethod->currentText(),
                                  Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
            cboMethod_Click();
    });
    connect(m_cboRange, &QComboBox::activated, this, &frmIssue::cboRange_Click);
    // Typing and the spinner alike.
    connect(m_dialRange, &QLineEdit::textChanged, this, &frmIssue::dialRange_Change);
    connect(m_cmdAnalyze, &QPushButton::clicked, this, &frmIssue::cmdAnalyze_Click);
    connect(m_cmdReport, &QPushButton::clicked, this, &frmIssue::cmdReport_Click);
}

void frmIssue::cboMethod_Click()
{
    const char* p = "cboMethod_Click";
    if (m_cboMethod->currentText() == kNone) {
        line(p, 2, [&] {
            m_cmdReport->setEnabled(true);
            SetMethodCBOS(true);
        });
        line(p, 3, [&] { LoadData(); });
        return;
    }
    line(p, 4, [&] {
        m_cmdReport->setEnabled(true);
        oReport().setReportType(kMethodStudy);
    });
    line(p, 5, [&] { GetMethod(); });
    line(p, 6, [&] { SetMethodCBOS(true); });
}

void frmIssue::GetMethod()
{
    const char* p = "GetMethod";
    const QString method = m_cboMethod->currentText();
    if (const auto study = studies::methodStudy(method)) {
        line(p, 1, [&] { oUtility().setSSQL(study->query); });
        line(p, 2, [&] { oUtility().GetRecordset(); });
        line(p, 3, [&] {
            SortAndShow(study->subtotalFunction);
            // The advice speaks of these figures until another study
            // replaces them, whatever the list is turned to meanwhile.
            m_studyMethod = method;
        });
    }
    line(p, 4, [&] { SetMerge(); });
    line(p, 5, [&] {
        grid().setDisplayOptions(1, 3);
        grid().setMergeCells(grid::MergeCells);
    });
}

void frmIssue::cboRange_Click()
{
    const char* p = "cboRange_Click";
    if (m_cboRange->currentText() == kNone)
        return;
    line(p, 1, [&] { oReport().setReportType(kRangeStudy); });
    line(p, 2, [&] {
        m_dialRange->setEnabled(true);
        SetMethodCBOS(true);
    });
    line(p, 3, [&] { grid().clear(); });
    line(p, 4, [&] { m_cmdAnalyze->setEnabled(true); });
}

void frmIssue::dialRange_Change()
{
    line("dialRange_Change", 1, [&] {
        m_cboRange->setEnabled(true);
        setListText(m_cboMethod, kNone);
        setListText(m_cboLevel, kNone);
    });
}

void frmIssue::cmdAnalyze_Click()
{
    const char* p = "cmdAnalyze_Click";
    if (m_cboMethod->currentText() != kNone)
        return;
    line(p, 1, [&] { GetRange(); });
    line(p, 2, [&] { SetMerge(); });
    line(p, 3, [&] {
        m_cmdAnalyze->setEnabled(false);
        setListText(m_cboRange, kNone);
        m_dialRange->setText(QStringLiteral("0"));
    });
}

void frmIssue::GetRange()
{
    const char* p = "GetRange";
    const QString typed = m_dialRange->text();
    if (typed.isEmpty()) {
        line(p, 1, [&] {
            platform::msgBox(QStringLiteral("Enter a range to compare."), platform::MsgButtons::OK,
                             platform::MsgIcon::Critical, QStringLiteral("No Range Entered."));
        });
        return;
    }
    int16_t value = 0;
    // A text that is no number, or too large, is reported; a study with a
    // value the user never typed would mislead.
    if (!line(p, 2, [&] { value = studies::rangeValue(typed); }))
        return;
    line(p, 3, [&] { m_cmdAnalyze->setEnabled(true); });
    const QString op = m_cboRange->currentText();
    if (op == kNone)
        return;
    const std::optional<QString> sql = studies::rangeQuery(op, value);
    if (!sql) {
        // Anything else typed into the list would rerun the previous query.
        line(p, 4, [&] {
            platform::msgBox(QStringLiteral("Choose one of the operators <, >, =, <=, >= or <> "
                                            "to compare with."),
                             platform::MsgButtons::OK, platform::MsgIcon::Critical,
                             QStringLiteral("No Range Operator."));
        });
        return;
    }
    line(p, 5, [&] { oUtility().setSSQL(*sql); });
    line(p, 6, [&] { oUtility().GetRecordset(); });
    line(p, 7, [&] {
        SetMethodCBOS(true);
        m_cmdAnalyze->setEnabled(false);
    });
}

void frmIssue::cmdReport_Click()
{
    line("cmdReport_Click", 1,
         [&] { platform::reportLauncher().show(platform::reportname::kGrid, 85); });
}
