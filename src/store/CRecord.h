#pragma once

#include "store/IDataObject.h"

#include <QString>

#include <memory>

namespace dao {
class Recordset;
}

// The life cycle every record object shares: it holds the database, the key,
// the state and the loaded flag, and turns Initialise, Key, Delete and Commit
// into calls on the class's own reset and writes.
class CRecord : public IDataObject {
public:
    ~CRecord() override;

    // IDataObject
    QString Key() const override;
    // Resets the common members and the class's own (InitialiseProperties),
    // keeps db; an empty key makes the record new. Reads nothing.
    void Initialise(std::shared_ptr<dao::Database> db, const QString& key) override;
    void Delete() override;
    // New inserts, changed updates, deleting deletes; any other state goes to
    // CommitOtherState.
    void Commit() override;

    int state() const { return m_state; }

protected:
    // className names the record in its error sources ("CIssue").
    explicit CRecord(QString className);

    // Resets the members the class adds; the common ones are reset already.
    virtual void InitialiseProperties() = 0;
    virtual void InsertObject() = 0;
    virtual void UpdateObject() = 0;
    virtual void DeleteObject() = 0;
    // Commit in a state other than new, changed or deleting: an unchanged
    // record is written back from its members, a deleted one fails against
    // its missing row.
    virtual void CommitOtherState();
    // Runs inside the catch block of a failed Commit. The error passes on
    // unchanged unless the class turns it into its own failure.
    [[noreturn]] virtual void CommitFailed();

    // The state step of a property write; the state errors carry the source
    // "<class>::SetStateForLet".
    virtual void SetStateForLet();
    // The lazy load reads only an existing row that was not read yet.
    bool needsLoad() const;
    // The end of an insert: writes the added row, takes its new id as the
    // key and closes rs. A row its table gives no id is not kept: 3058.
    void saveNewRow(dao::Recordset& rs);
    // The class failure, vbObjectError + 100: source "Argovo.<class>.<procedure>",
    // description "<class> component failure".
    [[noreturn]] void classFailure(const char* procedure) const;

    std::shared_ptr<dao::Database> m_db;
    QString m_key;
    int m_state = stUnchanged;
    bool m_loaded = false;

private:
    QString m_className;
};
