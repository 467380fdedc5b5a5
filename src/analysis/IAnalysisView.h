#pragma once

// What the analysis engine needs of the windows it drives: the grid window
// (its level list, status panel, grid and layout) and the advisory text
// window. The windows implement these; the engine itself knows no widget,
// so it runs and is tested without them.

#include <QString>

#include <memory>

namespace ado {
class Recordset;
}

class IAnalysisView {
public:
    virtual ~IAnalysisView() = default;

    // The text of the level list (cboLevel).
    virtual QString levelText() const = 0;
    // The method of the study whose figures the grid shows, as the method
    // list (cboMethod) read when it ran; "NONE" while the grid shows no
    // method study. The advice speaks of the figures on show, so a text put
    // into the list since that ran nothing does not count.
    virtual QString studyMethod() const { return QString(); }
    // The caption of the status panel (pnlInfo).
    virtual void setInfoCaption(const QString& caption) = 0;

    // The grid's further numeric setting, zeroed before each binding.
    virtual void resetGridBindingSetting() = 0;
    virtual void clearGrid() = 0;
    // The grid shows a copy of the recordset's rows.
    virtual void bindGrid(const std::shared_ptr<ado::Recordset>& recordset) = 0;
    // 0 no merging, 2 merge.
    virtual void setGridMergeSetting(int setting) = 0;
    // The window's column layout (level or standard).
    virtual void SetMerge() = 0;
};

// The advisory text window: the four texts are written in the order given
// by the writer, then the window is shown modeless.
class IAdvisoryWindow {
public:
    virtual ~IAdvisoryWindow() = default;

    virtual void setProblem(const QString& text) = 0;
    virtual void setIssue(const QString& text) = 0;
    virtual void setComment(const QString& text) = 0;
    virtual void setDescription(const QString& text) = 0;
    virtual void showWindow() = 0;
};

// The grid window installs itself while it is loaded; null otherwise, and
// the engine then skips every window step (the case analysis report runs
// the level study without the grid window).
IAnalysisView* analysisView();
void setAnalysisView(IAnalysisView* view);

// The advisory window's writer; null when no window layer is present.
IAdvisoryWindow* advisoryWindow();
void setAdvisoryWindow(IAdvisoryWindow* window);
