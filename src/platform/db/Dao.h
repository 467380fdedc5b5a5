#pragma once

// The DAO-style face of our storage engine over SQLite: one engine, databases,
// recordsets with edit/add/update, fields with long-binary chunks, table
// definitions, transactions and compaction. Every failure is an AppError with
// the Jet number callers test (see platform/core/AppError.h).

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdio>
#include <functional>
#include <memory>

// Recordsets have an EOF() member, as callers know it; the C library's EOF
// macro would rewrite every call to it. Code that needs the end-of-file
// constant uses std::char_traits<char>::eof().
#ifdef EOF
#undef EOF
#endif
#include <vector>

class QFile;

namespace db {
class SqliteConnection;
class Savepoint;
struct RecordsetData;
} // namespace db

namespace dao {

enum RecordsetTypeEnum {
    dbOpenTable = 1,
    dbOpenDynaset = 2,
    dbOpenSnapshot = 4,
    dbOpenForwardOnly = 8,
};

enum FieldTypeEnum {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3, // 16-bit
    dbLong = 4,    // 32-bit
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbText = 10, // sized text, 255 when no size is given
    dbLongBinary = 11,
    dbMemo = 12,
};

constexpr int dbAutoIncrField = 16;
constexpr int dbRefreshCache = 8;

class Database;
class Recordset;

// One column of the current row of a recordset. Values are QVariant: a null
// QVariant is a Null column; dates are QDateTime; texts QString; numbers
// qint64 or double; long binary QByteArray.
class Field {
public:
    QString Name() const;
    int Type() const; // FieldTypeEnum
    int Size() const; // declared size of a text field, 0 otherwise

    // Throws 3021 when the recordset has no current record. A long binary
    // field reads whole here; use GetChunk to read it in pieces.
    QVariant Value() const;
    // Only between AddNew/Edit and Update (3020 otherwise). The value is
    // checked and coerced to the declared type at Update.
    void setValue(const QVariant& value);

    // Long binary fields: bytes appended in order during AddNew/Edit are
    // stored at Update without ever holding the whole value in memory.
    void AppendChunk(const QByteArray& bytes);
    // The field's new value is the whole of the file at path, as if appended
    // chunk by chunk to an emptied field, read straight from the file at
    // Update. 53 when the file cannot be read.
    void AppendFile(const QString& path);
    QByteArray GetChunk(qint64 offset, qint64 bytes) const;
    qint64 FieldSize() const;

private:
    friend class Recordset;
    Field(Recordset* owner, int index)
        : m_owner(owner)
        , m_index(index)
    {
    }
    Recordset* m_owner;
    int m_index;
};

class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool BOF() const;
    bool EOF() const;
    int RecordCount() const;

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    // Field by name (found without regard to case) or by index; 3265 when unknown.
    Field Fields(const QString& name);
    Field Fields(int index);
    int FieldCount() const;

    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();

    // Bookmarks name a row; after AddNew + Update, Bookmark = LastModified
    // makes the new row current.
    QByteArray Bookmark() const;
    void setBookmark(const QByteArray& bookmark);
    QByteArray LastModified() const;

    void Close();
    bool isOpen() const;

private:
    friend class Database;
    friend class Field;
    explicit Recordset(std::unique_ptr<db::RecordsetData> data);
    std::unique_ptr<db::RecordsetData> d;
};

// A field definition used when creating a table.
class FieldDef {
public:
    FieldDef(QString name, int type, int size);
    const QString& Name() const { return m_name; }
    int Type() const { return m_type; }
    int Size() const { return m_size; }
    int Attributes() const { return m_attributes; }
    void setAttributes(int attributes) { m_attributes = attributes; }

private:
    QString m_name;
    int m_type;
    int m_size;
    int m_attributes = 0;
};

class TableDef {
public:
    explicit TableDef(QString name)
        : m_name(std::move(name))
    {
    }
    const QString& Name() const { return m_name; }
    std::shared_ptr<FieldDef> CreateField(const QString& name, int type, int size = 0);
    void AppendField(std::shared_ptr<FieldDef> field);
    const std::vector<std::shared_ptr<FieldDef>>& Fields() const { return m_fields; }

private:
    QString m_name;
    std::vector<std::shared_ptr<FieldDef>> m_fields;
};

class Database : public std::enable_shared_from_this<Database> {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // A SQL text or a bare table name (meaning the whole table). Jet SQL is
    // accepted as the program writes it. 3078 when a table is missing.
    std::shared_ptr<Recordset> OpenRecordset(const QString& source, int type = dbOpenDynaset);
    // Reads a select's rows one after another and hands each to row with the
    // values of the named columns (found as Fields finds them, 3265 for a
    // name the select lacks), in the order named, as Fields give them,
    // without holding the result: for a read of a whole large table that
    // keeps little of it. row must not write to the database.
    void ReadEach(const QString& sql, const QStringList& columns,
                  const std::function<void(const std::vector<QVariant>& values)>& row);
    // Runs an action query (delete, update, insert, create).
    void Execute(const QString& sql);
    int RecordsAffected() const;

    std::shared_ptr<TableDef> CreateTableDef(const QString& name);
    // Creates the table in the file (TableDefs.Append).
    void AppendTableDef(const TableDef& table);
    bool tableExists(const QString& name) const;

    QString Name() const; // the file path
    // Whether path names this database's file as the file system sees it:
    // its path spelt another way, a link to it, or where it was moved to.
    bool isFile(const QString& path) const;
    void Close(); // later calls raise 3704
    bool isOpen() const;
    // Whether a write waits the usual time for a file another program is
    // writing, or only briefly before it is refused with 3218.
    void setWaitForBusyFile(bool wait);

    // Copies the open file, consistent, to a new file that must not exist.
    void copyTo(const QString& targetPath) const;

private:
    friend class DBEngine;
    friend class Recordset;
    friend class Transaction;
    explicit Database(std::shared_ptr<db::SqliteConnection> connection);
    std::shared_ptr<db::SqliteConnection> m_connection;
};

// Several writes to one database as one change: rolled back when the guard
// goes without commit(). Inside an open transaction (BeginTrans or another
// guard) it joins it, so the outer rollback undoes it too.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    std::unique_ptr<db::Savepoint> m_savepoint;
};

// The process-wide engine (DBEngine / Workspaces(0)).
class DBEngine {
public:
    // Opens an existing case file read-write, never creating one:
    // 3024 when the file is missing, 3343 when it is not a database.
    static std::shared_ptr<Database> OpenDatabase(const QString& path);

    // Engine idle: SQLite has no shared cache to refresh, so writes are
    // visible to every other connection as soon as they commit; kept as a
    // no-op so callers keep their calling sequence.
    static void Idle(int action = dbRefreshCache);

    // Workspace transactions span every database the engine holds open.
    static void BeginTrans();
    static void CommitTrans();
    static void Rollback();

    // Writes a compacted copy of src to dst, with src's permission bits.
    // 3204 when dst exists, 3024 when src is missing, 3343 when src is not a
    // database. A write a crash cut off (its journal beside src) is undone
    // first, where src may be written; where not, 3027 says so.
    // With whileHeld, src is held for writing from before the copy starts
    // until whileHeld returns: a write under way elsewhere is waited for
    // first (3218 when it does not end in time), and no connection, here or
    // in another program, can begin one meanwhile; a writer is told by its
    // own busy error. whileHeld gets src open for reading and must not open
    // src otherwise: this program letting go of any other handle on the
    // file would let go of the hold with it.
    static void CompactDatabase(const QString& src, const QString& dst,
                                const std::function<void(QFile& held)>& whileHeld = {});
};

} // namespace dao
