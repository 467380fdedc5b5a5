#pragma once

// The ADO-style face of our storage engine: connections opened from a
// connection string, recordsets read fully at open, and commands.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdio>
#include <memory>

// Recordsets have an EOF() member, as callers know it; the C library's EOF
// macro would rewrite every call to it. Code that needs the end-of-file
// constant uses std::char_traits<char>::eof().
#ifdef EOF
#undef EOF
#endif
#include <vector>

namespace db {
class SqliteConnection;
class StoredRows;
} // namespace db

namespace ado {

enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1 };
enum CursorLocationEnum { adUseServer = 2, adUseClient = 3 };
enum CursorTypeEnum {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3,
};
enum LockTypeEnum {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4,
};
constexpr int adOptionUnspecified = -1;

// "Provider=...;Data Source=...;" with keys in any case and the closing ";"
// optional. Returns the data source path, empty when there is none.
QString dataSourceFromConnectionString(const QString& connectionString);
// The path as it stands after "Data Source=": quoted when a ";", a leading
// quote or blanks at either end would otherwise cut it or change it (a case
// file may be named "Smith; Jones.AGV"), plain otherwise. The enclosing
// quote is doubled inside.
QString dataSourceValue(const QString& path);

class Recordset;

class Connection : public std::enable_shared_from_this<Connection> {
public:
    static std::shared_ptr<Connection> create();

    // Opens the file named by the connection string's Data Source, never
    // creating it (3024 missing, 3343 not a database). The provider is
    // accepted and ignored.
    void Open(const QString& connectionString, const QString& user = QString(),
              const QString& password = QString(), int options = adOptionUnspecified);
    void Close();      // 3704 when already closed
    int State() const; // adStateOpen or adStateClosed
    QString ConnectionString() const;

    int CursorLocation() const { return m_cursorLocation; }
    void setCursorLocation(int location) { m_cursorLocation = location; }

    // Runs any statement; a row-returning one gives an open recordset.
    std::shared_ptr<Recordset> Execute(const QString& sql);

    // For the engine's own classes.
    std::shared_ptr<db::SqliteConnection> handle() const;

private:
    Connection() = default;
    std::shared_ptr<db::SqliteConnection> m_connection;
    QString m_connectionString;
    int m_cursorLocation = adUseServer;
};

class Field {
public:
    QString Name() const;
    QVariant Value() const; // 3021 without a current record
private:
    friend class Recordset;
    Field(const Recordset* owner, int index)
        : m_owner(owner)
        , m_index(index)
    {
    }
    const Recordset* m_owner;
    int m_index;
};

// Read fully at Open: RecordCount is exact for every cursor type and no
// read lock is held afterwards. Rows stay available for binding to a grid.
class Recordset {
public:
    static std::shared_ptr<Recordset> create();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void Open(const QString& source, const std::shared_ptr<Connection>& connection,
              int cursorType = adOpenUnspecified, int lockType = adLockUnspecified,
              int options = adOptionUnspecified);
    void Close();
    int State() const;

    int CursorLocation() const { return m_cursorLocation; }
    void setCursorLocation(int location) { m_cursorLocation = location; }

    int RecordCount() const; // 3704 when closed
    bool BOF() const;
    bool EOF() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();

    int FieldCount() const;
    Field Fields(int index) const;           // 3265 when out of range
    Field Fields(const QString& name) const; // found without regard to case

    // Whole-result access for binding a copy into a grid.
    QStringList fieldNames() const;
    QVariant value(int row, int column) const;

    // Used by Connection::Execute and Command::Execute.
    void fillFrom(const std::shared_ptr<db::SqliteConnection>& connection, const QString& sql);

private:
    friend class Field;
    Recordset() = default;
    bool m_open = false;
    int m_cursorLocation = adUseServer;
    int m_position = 0;
    QStringList m_names;
    std::unique_ptr<db::StoredRows> m_rows; // none while closed
    int rowCount() const;
};

class Command {
public:
    std::shared_ptr<Connection> ActiveConnection;
    QString CommandText;
    // 3704 without an open connection.
    std::shared_ptr<Recordset> Execute();
};

} // namespace ado
