#pragma once

#include "analysis/IAnalysisView.h"
#include "store/IAnalysisHost.h"

#include <QString>
#include <QWidget>

#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace ado {
class Connection;
class Recordset;
} // namespace ado

namespace grid {
class GridCore;
class GridView;
} // namespace grid

// The analysis grid window: every case item that has a parent, beside its
// parent, with its six ratings, and the inputs of the studies. It lives in
// the main window's GRID tab; see IssueWindow.h for loading and unloading.
// Nothing here writes to the case file.
//
// While loaded it is the analysis engine's view and CUtility's analysis host.
class frmIssue final : public QWidget, public IAnalysisView, public IAnalysisHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmIssue)

public:
    explicit frmIssue(QWidget* parent = nullptr);
    ~frmIssue() override;

    void Form_Load();
    void Form_Unload();
    bool isLoaded() const { return m_loaded; }

    void LoadData();
    void ShowOnLoad();
    void SortAndShow(int lFunction);
    void SetMerge() override;
    void SetMethodCBOS(bool bOn);
    void InitializeCBOLevel();
    void InitializeCBOMethod();
    void InitializeCBORange();
    void InitializeDialRange();
    void SetupForm();

    void cmdRefresh_Click();
    void cboLevel_Click();

    // Method and range studies, and the grid report (frmIssueStudies.cpp).
    void cboMethod_Click();
    void GetMethod();
    void cboRange_Click();
    void dialRange_Change();
    void cmdAnalyze_Click();
    void GetRange();
    void cmdReport_Click();

    // Grid events and the drill-down (frmIssueGridEvents.cpp).
    void fg_Click();
    void fg_DblClick();
    void fg_BeforeEdit(int row, int col, bool* cancel);
    void fg_AfterEdit(int row, int col);
    void fg_BeforeMoveColumn(int col, int* position);
    void fg_AfterMoveColumn(int col, int position);
    void optMerge_Click(int index);

    std::shared_ptr<ado::Recordset> rsFlexgrid() const { return m_rsFlexgrid; }
    void setRsFlexgrid(std::shared_ptr<ado::Recordset> recordset);

    grid::GridView* fg() const { return m_fg; }
    grid::GridCore& grid() const;
    QLabel* pnlInfo() const { return m_pnlInfo; }
    QComboBox* cboMethod() const { return m_cboMethod; }
    QComboBox* cboLevel() const { return m_cboLevel; }
    QComboBox* cboRange() const { return m_cboRange; }
    QLineEdit* dialRange() const { return m_dialRange; }
    QPushButton* cmdAnalyze() const { return m_cmdAnalyze; }
    QPushButton* cmdReport() const { return m_cmdReport; }
    QPushButton* cmdRefresh() const { return m_cmdRefresh; }
    QRadioButton* optMerge(int index) const;

    // IAnalysisView
    QString levelText() const override;
    QString studyMethod() const override;
    void setInfoCaption(const QString& caption) override;
    void resetGridBindingSetting() override;
    void clearGrid() override;
    void bindGrid(const std::shared_ptr<ado::Recordset>& recordset) override;
    void setGridMergeSetting(int setting) override;

    // IAnalysisHost
    void ResetGridBindingSetting() override;
    void BindGrid(std::shared_ptr<ado::Recordset> recordset) override;
    void GetCount() override;
    void FilterData(int found, int total) override;

private:
    void buildControls();
    void connectStudies();
    void connectGridEvents();
    void stepUpDown(int delta);

    grid::GridView* m_fg = nullptr;
    QLabel* m_pnlInfo = nullptr;
    QWidget* m_picButtons = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QComboBox* m_cboMethod = nullptr;
    QComboBox* m_cboLevel = nullptr;
    QLineEdit* m_dialRange = nullptr;
    QWidget* m_updown = nullptr;
    QComboBox* m_cboRange = nullptr;
    QPushButton* m_cmdAnalyze = nullptr;
    QPushButton* m_cmdReport = nullptr;
    QPushButton* m_cmdRefresh = nullptr;
    QRadioButton* m_optMerge[2] = {nullptr, nullptr};
    int m_updownValue = 0;
    // The subtotal function of the study the grid shows.
    int m_studyFunction = 4;
    // The method of the study the grid shows; "NONE" for any other content.
    QString m_studyMethod = QStringLiteral("NONE");

    // The recordset the grid was loaded from, and the connection that lives
    // as long as it.
    std::shared_ptr<ado::Connection> m_flexConnection;
    std::shared_ptr<ado::Recordset> m_rsFlexgrid;
    bool m_loaded = false;
};
