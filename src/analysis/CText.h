#pragma once

#include <QString>

#include <cstdint>

// The advisory texts of the issue analysis. After a method study a click on
// a rating cell sets the column and value; DisplayReport then writes the
// four method texts into the advisory window. It also carries the
// found/total message of the last study, and the level texts keyed by
// column and value.
//
// Reading a text composes it afresh for the current keys (the method of the
// study on show, compared exactly as the list read when it ran; the column;
// the value); keys that select no text yield an empty text. Writing a text
// only stores it until the next read. Every member raises
// AppError(kClassFailure, "Argovo.CText.<member>", "CText component failure")
// when it fails.
class CText final {
public:
    CText() = default;

    // The clicked rating value; texts exist for 0 to 10.
    int16_t MyColumnVal() const;
    void setMyColumnVal(int16_t value);
    // The clicked column's field name, "Weight" .. "Significance".
    QString MyColumnText() const;
    void setMyColumnText(const QString& value);

    // During a method study: refuses the methods that have no advisory texts
    // with a message, otherwise fills the advisory window and shows it.
    void DisplayReport();

    QString MethodDescription();
    void setMethodDescription(const QString& value);
    QString MethodProblemStatement();
    void setMethodProblemStatement(const QString& value);
    QString MethodIssueStatement();
    void setMethodIssueStatement(const QString& value);
    QString MethodComment();
    void setMethodComment(const QString& value);

    // Stored as written and read back unchanged; never composed.
    QString RecordsReturned() const;
    void setRecordsReturned(const QString& value);

    QString LevelDescription();
    void setLevelDescription(const QString& value);
    QString LevelComment();
    void setLevelComment(const QString& value);
    // Ends with the found/total message of the last study.
    QString LevelIssueStatement();
    void setLevelIssueStatement(const QString& value);
    QString LevelProblemStatement();
    void setLevelProblemStatement(const QString& value);

private:
    QString currentMethod() const;

    int16_t m_myColumnVal = 0;
    QString m_myColumnText;
    QString m_methodDescription;
    QString m_methodProblemStatement;
    QString m_methodIssueStatement;
    QString m_methodComment;
    QString m_recordsReturned;
    QString m_levelDescription;
    QString m_levelComment;
    QString m_levelIssueStatement;
    QString m_levelProblemStatement;
};
