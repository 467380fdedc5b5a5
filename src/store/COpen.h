#pragma once

#include <QString>

#include <cstdint>

class ICaseWindow;

// Creates a case from the blank template, saves the open case under a new
// name and (re)connects the data layer. A case file is only ever copied,
// never built table by table. One shared instance: oOpen().
class COpen final {
public:
    // Results of NewCase, SaveAsCase and OpenCase.
    static constexpr int16_t kDone = 0;
    static constexpr int16_t kFailed = 1;

    void setCaseTemplate(const QString& value) { m_caseTemplate = value; }

    // Asks for a new case file, copies the blank template there and opens it
    // in frm. 0 done, 1 refused or abandoned. Shared state changes only once
    // the new file exists. Other failures raise the class failure.
    int16_t NewCase(ICaseWindow& frm);
    // Copies the open case to a new file and opens the copy in frm. A copy
    // that cannot be made is told, and the open case stays open (1).
    int16_t SaveAsCase(ICaseWindow& frm);
    // Connects the data layer; 0 when connected.
    int16_t OpenCase();
    // Asks for an existing case file and records it as the case to open.
    int16_t GetDBName(ICaseWindow& frm);

    // The folders and the template, under the program folder.
    static QString templatePath();
    static QString newCaseFolder();
    static QString saveAsFolder();
    static QString openFolder();
    // "(*.AGV)|*.AGV;*.agv": the extension in either case.
    static QString caseFilter();
    // Whether an error numbered so, raised opening a fresh copy of the
    // template, means the copy is no case file: the template's fault.
    static bool isNoCaseFile(int errorNumber);

private:
    QString m_caseTemplate;
};
