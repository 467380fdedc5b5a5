#pragma once

#include <QString>

#include <exception>
#include <string>

// The one error type of the program: the number callers test (Jet/VB style),
// the source that names where it arose, and a description for the user.
class AppError : public std::exception {
public:
    AppError(int number, QString source, QString description);

    int number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }

    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int m_number = 0;
    QString m_source;
    QString m_description;
    std::string m_what;
};

// Object-defined error numbers start at this base (0x80040000 as a signed value).
constexpr int vbObjectError = -2147221504;
constexpr int kClassFailure = vbObjectError + 100;

// Jet and ADO numbers that callers test.
namespace jet {
constexpr int NoCurrentRecord = 3021;   // "No current record."
constexpr int UpdateWithoutEdit = 3020; // Update without AddNew or Edit
constexpr int FileNotFound = 3024;      // "Could not find file"
constexpr int InvalidArgument = 3001;
constexpr int DatabaseExists = 3204;     // compaction target exists
constexpr int TableNotFound = 3078;      // input table or query not found
constexpr int FieldTooSmall = 3163;      // value longer than the declared size
constexpr int ItemNotFound = 3265;       // unknown field name or index
constexpr int UnrecognizedFormat = 3343; // not a database of ours
constexpr int ConversionError = 3421;    // value of the wrong type for the field
constexpr int NullKey = 3058;            // a new row's key left Null
constexpr int SyntaxError = 3075;        // SQL the engine cannot parse
constexpr int TooFewParameters = 3061;   // unknown column name in SQL
constexpr int RecordLocked = 3218;       // file busy or locked
constexpr int ObjectClosed = 3704;       // operation on a closed object
constexpr int NotInTransaction = 3034;   // commit or rollback without BeginTrans
constexpr int DiskIo = 3043;             // disk or network error
constexpr int InvalidStatement = 3129;   // no statement where one was expected
constexpr int ReadOnly = 3027;           // the file may not be written
constexpr int Damaged = 3049;            // the file is damaged
} // namespace jet
