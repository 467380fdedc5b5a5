#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary folder with case files made from the blank-case schema
// (and, when asked, the shared sample fixture), removed with the object.
class TempCase {
public:
    TempCase();

    // Creates <folder>/<name> from the schema, then the extra SQL, if any.
    QString create(const QString& name = QStringLiteral("Case.AGV"),
                   const QString& extraSql = QString());
    // The same with the sample case's rows.
    QString createSample(const QString& name = QStringLiteral("Sample.AGV"));

    QString folder() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    static QString schemaSql();
    static QString sampleSql();

private:
    QTemporaryDir m_dir;
};
