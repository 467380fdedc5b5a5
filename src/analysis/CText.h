#pragma once

#include <QString>

// The advisory texts of the issue analysis. For now it carries the
// found/total message of the last study, which the analysis engine writes
// and shows.
class CText final {
public:
    CText() = default;

    // Stored as written and read back unchanged; never composed.
    QString RecordsReturned() const;
    void setRecordsReturned(const QString& value);

private:
    QString m_recordsReturned;
};
