#pragma once

#include <QString>

#include <memory>

namespace dao {
class Database;
}

// The common interface of the record objects: one object wraps one row.
class IDataObject {
public:
    virtual ~IDataObject() = default;
    // The row id as text; empty until the row is inserted. Never loads the row.
    virtual QString Key() const = 0;
    // Binds the object to the open case; an empty key means a new row.
    virtual void Initialise(std::shared_ptr<dao::Database> db, const QString& key) = 0;
    // Marks the row for deletion; nothing is written until Commit.
    virtual void Delete() = 0;
    // Writes the pending insert, update or delete.
    virtual void Commit() = 0;
};

// Record states shared by every record class.
enum RecordState {
    stUnchanged = 0,
    stNew = 1,
    stChanged = 2,
    stDeleting = 3,
    stDeleted = 4,
};
