#pragma once

#include "platform/reports/Report.h"

#include <QString>

#include <memory>

// The issue, witness and exhibit lists: name, explanation and question of
// every case item of one type, one line per item, bound to a query stored
// with the design and run against the case that is open when the report
// starts.
class ListReport final : public rpt::Report {
public:
    static std::unique_ptr<ListReport> arIssues();
    static std::unique_ptr<ListReport> arWitnesses();
    static std::unique_ptr<ListReport> arExhibits();

    QString designName() const { return m_designName; }

protected:
    void reportStart() override;

private:
    struct Column {
        const char* label;
        const char* box;
        int left;
        int width;
        int height;
    };
    struct Design {
        const char* name;
        const char* caption;
        const char* title;
        const char* query;
        int decorativeLines;
        Column columns[3]; // name, explanation, question
    };
    explicit ListReport(const Design& design);

    QString m_designName;
};
