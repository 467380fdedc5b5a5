#pragma once

#include <QString>

#include <cstdint>

// Loose values shared by the windows, and the analysis grid's query.
// Every member raises kClassFailure ("CUtility component failure", source
// "Argovo.CUtility.<member>") when it fails.
class CUtility final {
public:
    bool FormIssueLoaded() const;
    void setFormIssueLoaded(bool value);
    QString CaseName() const;
    void setCaseName(const QString& value);
    QString ImportedFileName() const;
    void setImportedFileName(const QString& value);
    QString DBCompactName() const;
    void setDBCompactName(const QString& value);
    QString SelectedNode() const;
    void setSelectedNode(const QString& value);
    // Counts of case items, which run past 32,767 in a large case.
    int32_t TotalCount() const;
    void setTotalCount(int32_t value);
    QString ClickText() const;
    void setClickText(const QString& value);
    QString CaseType() const;
    void setCaseType(const QString& value);
    int16_t iretCode() const;
    void setIretCode(int16_t value);
    QString ConnectionString() const;
    void setConnectionString(const QString& value);
    QString sSQL() const;
    void setSSQL(const QString& value);
    QString CaseDSN() const;
    void setCaseDSN(const QString& value);
    int32_t RecordCount() const;
    void setRecordCount(int32_t value);

    // Runs sSQL on a fresh gConnection to the open case and hands the result
    // to the analysis grid and engine (see IAnalysisHost).
    void GetRecordset();

private:
    bool m_formIssueLoaded = false;
    QString m_caseName;
    QString m_importedFileName;
    QString m_dbCompactName;
    QString m_selectedNode;
    int32_t m_totalCount = 0;
    QString m_clickText;
    QString m_caseType;
    int16_t m_iretCode = 0;
    QString m_connectionString;
    QString m_sql;
    QString m_caseDSN;
    int32_t m_recordCount = 0;
};
