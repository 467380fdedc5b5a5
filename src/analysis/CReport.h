#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace ado {
class Recordset;
}

// The analysis engine: the study state shared by the grid window, the
// drill-down, the advisory texts and the case analysis report; the level
// study (items whose average rating lies in a band); the found/total
// message of every study; and the level advisory texts.
//
// Every member raises AppError(kClassFailure, "Argovo.CReport.<member>",
// "CReport component failure") when anything inside it fails.
class CReport final {
public:
    CReport() = default;

    // A level study with rows opens the advisory window. Starts false, so
    // the first level study after start opens none.
    bool ShowFormReport() const;
    void setShowFormReport(bool value);

    // The chosen level label, blanks trimmed.
    QString Level() const;
    void setLevel(const QString& value);

    // The level layout is due on the grid.
    bool LevelInPlay() const;
    void setLevelInPlay(bool value);

    // Runs the level study for ReportLevel (set by GetLevelSetting first).
    void RunAnalysis();
    // Turns the level list's text into ReportLevel and ShortReport; any
    // text that names no band changes nothing.
    void GetLevelSetting();

    // The level label GetLevelSetting recognised; selects the level texts.
    QString ShortReport() const;
    void setShortReport(const QString& value);

    // Composes the found/total message, shows it, and after a level study
    // with rows sets the level texts and may open the advisory window.
    void FilterData(int found, int total);
    // Shows the found/total message in the grid window's panel.
    void UpdatePnlInfo();

    QString LevelIssue() const;
    void setLevelIssue(const QString& value);

    // 1 level study, 3 method study, 4 range study.
    int16_t ReportType() const;
    void setReportType(int value);

    // Number of case items, as counted by the case analysis report.
    int32_t iRecordCount() const;
    void setiRecordCount(int value);

    QString LevelDescription() const;
    void setLevelDescription(const QString& value);
    QString LevelComment() const;
    void setLevelComment(const QString& value);

    // Placed between the column list and FROM of the review query.
    QString sWhat() const;
    void setsWhat(const QString& value);

    // WHERE clause of the level review query.
    QString ReportLevel() const;
    void setReportLevel(const QString& value);

    // Opens sqlReview over the shared connection into a new recordset in
    // rs and counts; sSQL is accepted and not read.
    void GetReviewData(const QString& sSQL, std::shared_ptr<ado::Recordset>& rs);
    // Counts all case items into CUtility's TotalCount.
    void GetCount();

    QString LevelProblem() const;
    void setLevelProblem(const QString& value);

    // The level review query; empty between runs.
    QString sqlReview() const;
    void setsqlReview(const QString& value);

    // The found/total message, exactly as FilterData composes it.
    static QString foundTotalMessage(int found, int total);
    // The whole part of 100 * found / total, cut and not rounded.
    static int percentFound(int found, int total);

private:
    void ensureCaseConnection();
    void setLevelTexts(const QString& recordsReturned);

    bool m_showFormReport = false;
    QString m_level;
    bool m_levelInPlay = false;
    QString m_shortReport;
    QString m_levelIssue;
    int16_t m_reportType = 0;
    int32_t m_iRecordCount = 0;
    QString m_levelDescription;
    QString m_levelComment;
    QString m_sWhat;
    QString m_reportLevel;
    QString m_levelProblem;
    QString m_sqlReview;
};
