#pragma once

#include "AnalysisFakes.h"
#include "support/ScriptedPrompt.h"
#include "support/TempCase.h"

#include "analysis/forms/IssueWindow.h"
#include "analysis/forms/frmIssue.h"
#include "analysis/forms/frmReport.h"
#include "platform/grid/GridCore.h"
#include "store/AppState.h"
#include "store/CMain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTest>

#include <array>
#include <gtest/gtest.h>

// Three groups of children with their ratings (-1 an empty rating): one
// group of three, one with a single child, and one whose Jury ratings are
// all empty; the last group's name holds an apostrophe.
struct RatedChild {
    int id;
    int parent;
    const char* name;
    std::array<int, 6> ratings;
};

inline const std::array<RatedChild, 6> kRatedChildren{{
    {10, 1, "A1", {2, 7, -1, 10, 4, 3}},
    {11, 1, "A2", {5, 8, 6, 0, 4, 9}},
    {12, 1, "A3", {9, -1, 7, 3, -1, 1}},
    {20, 2, "B1", {6, -1, 1, 8, 2, 5}},
    {30, 3, "C1", {3, 3, -1, 2, 2, 2}},
    {31, 3, "C2", {8, 1, -1, 9, 6, 7}},
}};

// The analysis window in a pane of its own, over the case file named in
// oMain; every question answered by the script.
class AnalysisWindowTest : public ::testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override
    {
        analysisforms::unloadIssueWindow();
        if (frmReport* report = frmReport::loaded())
            report->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetAppState();
    }

    frmIssue& load()
    {
        m_window = analysisforms::loadIssueWindow(&m_pane);
        EXPECT_NE(m_window, nullptr);
        return *m_window;
    }
    frmIssue& window() { return *m_window; }
    grid::GridCore& grid() { return m_window->grid(); }

    // The user's choice of an item, or Enter on a typed text.
    static void choose(QComboBox* combo, const QString& text)
    {
        const int index = combo->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (index >= 0) {
            combo->setCurrentIndex(index);
            emit combo->activated(index);
            return;
        }
        // Typed for real: the list itself reports no choice for it.
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), text);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    }

    // The subtotal row of the group with this id, or -1.
    int subtotalRowOf(const QString& group)
    {
        for (int r = 1; r < grid().rows(); ++r)
            if (grid().isSubtotal(r) && grid().textAt(r, 1) == group)
                return r;
        return -1;
    }

    // One column of the data rows, in grid order.
    QStringList dataColumn(int col)
    {
        QStringList values;
        for (int r = 1; r < grid().rows(); ++r)
            if (!grid().isSubtotal(r))
                values << grid().textAt(r, col);
        return values;
    }

    ScriptedPrompt m_prompt;
    TempCase m_case;
    QWidget m_pane;
    frmIssue* m_window = nullptr;
};

class IssueWindowFixture : public AnalysisWindowTest {
protected:
    void SetUp() override
    {
        AnalysisWindowTest::SetUp();
        QString sql = issueRow(1, 0, QStringLiteral("Alpha"), {5, 5, 5, 5, 5, 5}) +
                      issueRow(2, 0, QStringLiteral("Beta"), {5, 5, 5, 5, 5, 5}) +
                      issueRow(3, 0, QStringLiteral("O'Brien"), {5, 5, 5, 5, 5, 5});
        for (const RatedChild& child : kRatedChildren) {
            const auto& r = child.ratings;
            sql += issueRow(child.id, child.parent, QString::fromLatin1(child.name),
                            {r[0], r[1], r[2], r[3], r[4], r[5]});
        }
        oMain().setStrFileName(m_case.create(QStringLiteral("Rated.AGV"), sql));
        load();
        ASSERT_NE(m_window, nullptr);
    }
};
