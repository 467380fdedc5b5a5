#pragma once

#include <QString>

// The open case: its file path is the key value of the whole program, every
// connection string is built from it.
class CMain final {
public:
    QString CaseName() const { return m_caseName; }
    void setCaseName(const QString& value) { m_caseName = value; }
    QString CaseAge() const { return m_caseAge; }
    void setCaseAge(const QString& value) { m_caseAge = value; }
    // Written as "Existing" once a case file was picked; read back only for checks.
    QString CaseType() const { return m_caseType; }
    void setCaseType(const QString& value) { m_caseType = value; }
    bool ScreenChange() const { return m_screenChange; }
    void setScreenChange(bool value) { m_screenChange = value; }
    // Full path of the open case file; empty until a case is selected.
    QString strFileName() const { return m_fileName; }
    void setStrFileName(const QString& value) { m_fileName = value; }
    // Whether path names the open case's file under any name: another
    // spelling, a hard or symbolic link, or the name the file was moved to
    // while open. A file that does not exist is not the case.
    bool isOpenCaseFile(const QString& path) const;

    // Asks whether pending edits may be dropped; true when the caller is to stop.
    bool CheckExit();

private:
    QString m_caseName;
    QString m_caseAge;
    QString m_caseType;
    bool m_screenChange = false;
    QString m_fileName;
};
