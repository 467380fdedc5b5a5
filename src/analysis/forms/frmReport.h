#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;

// The advisory text window: the four texts of a study under the headings
// Problem, Issue, Comment and Description. Modeless and single: writers
// reach it through instance(), which loads it again after it was closed.
class frmReport final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmReport)

public:
    // The loaded window, loaded first when there is none.
    static frmReport& instance();
    // The loaded window, or null.
    static frmReport* loaded();

    QTextEdit* txtProblem() const { return m_txtProblem; }
    QTextEdit* txtIssue() const { return m_txtIssue; }
    QTextEdit* txtComment() const { return m_txtComment; }
    QTextEdit* txtDescription() const { return m_txtDescription; }

    void cmdClose_Click();
    void cmdHelp_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit frmReport(QWidget* parent = nullptr);

    QTextEdit* makeTextBox(const QString& name);

    QLabel* m_lblNote = nullptr;
    QTextEdit* m_txtProblem = nullptr;
    QTextEdit* m_txtIssue = nullptr;
    QTextEdit* m_txtComment = nullptr;
    QTextEdit* m_txtDescription = nullptr;
    QPushButton* m_cmdHelp = nullptr;
    QPushButton* m_cmdClose = nullptr;
    bool m_unloaded = false;
};

// Writes the engine's advisory texts into the single frmReport.
class IAdvisoryWindow;
IAdvisoryWindow& frmReportWriter();
