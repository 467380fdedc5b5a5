#pragma once

#include "analysis/IAnalysisView.h"

#include <cstdio>
#undef EOF // the engine's recordsets have an EOF member
#include "platform/db/Ado.h"

#include <QString>
#include <QStringList>

#include <memory>

// Records what the engine asks of the grid window.
class FakeAnalysisView final : public IAnalysisView {
public:
    FakeAnalysisView() { setAnalysisView(this); }
    ~FakeAnalysisView() override
    {
        if (analysisView() == this)
            setAnalysisView(nullptr);
    }

    QString level;
    QString method;
    QStringList captions;
    int resets = 0;
    int clears = 0;
    int binds = 0;
    QStringList boundNames;   // first column of the last binding
    int mergeSetting = -1;
    int setMergeCalls = 0;

    QString caption() const { return captions.isEmpty() ? QString() : captions.last(); }

    QString levelText() const override { return level; }
    QString studyMethod() const override { return method; }
    void setInfoCaption(const QString& text) override { captions << text; }
    void resetGridBindingSetting() override { ++resets; }
    void clearGrid() override
    {
        ++clears;
        boundNames.clear();
    }
    void bindGrid(const std::shared_ptr<ado::Recordset>& rs) override
    {
        ++binds;
        boundNames.clear();
        for (int r = 0; r < rs->RecordCount(); ++r)
            boundNames << rs->value(r, 0).toString();
        boundNames.sort();
    }
    void setGridMergeSetting(int setting) override { mergeSetting = setting; }
    void SetMerge() override { ++setMergeCalls; }
};

// Records what the engine writes into the advisory text window.
class FakeAdvisoryWindow final : public IAdvisoryWindow {
public:
    FakeAdvisoryWindow() { setAdvisoryWindow(this); }
    ~FakeAdvisoryWindow() override
    {
        if (advisoryWindow() == this)
            setAdvisoryWindow(nullptr);
    }

    QStringList writes;   // "Box:text" in the order written
    QString problem, issue, comment, description;
    int shows = 0;

    void setProblem(const QString& t) override { problem = t; writes << "Problem:" + t; }
    void setIssue(const QString& t) override { issue = t; writes << "Issue:" + t; }
    void setComment(const QString& t) override { comment = t; writes << "Comment:" + t; }
    void setDescription(const QString& t) override
    {
        description = t;
        writes << "Description:" + t;
    }
    void showWindow() override { ++shows; }
};

// One Issue row for a test case file; a rating of -1 is stored as NULL.
inline QString issueRow(int id, int parent, const QString& name, std::initializer_list<int> r)
{
    QStringList values;
    for (int v : r)
        values << (v < 0 ? QStringLiteral("NULL") : QString::number(v));
    return QStringLiteral("INSERT INTO Issue (ID, ParentID, Name, Explanation, Question, Weight, "
                          "Success, Jury, Substantive, Procedural, Significance, ItemType) "
                          "VALUES (%1, %2, '%3', 'About %3', 'Ask %3', %4, 'Issue');\n")
        .arg(id)
        .arg(parent)
        .arg(QString(name).replace(QLatin1Char('\''), QStringLiteral("''")),
             values.join(QStringLiteral(", ")));
}
