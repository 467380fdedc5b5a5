#include "TempCase.h"

#include "platform/db/CaseFileBuilder.h"

#include <QFile>

namespace {
QString readText(const char* path)
{
    QFile f(QString::fromUtf8(path));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", path);
    return QString::fromUtf8(f.readAll());
}
} // namespace

TempCase::TempCase() = default;

QString TempCase::schemaSql() { return readText(ARGOVO_SCHEMA_SQL); }
QString TempCase::sampleSql() { return readText(ARGOVO_SAMPLE_SQL); }

QString TempCase::create(const QString& name, const QString& extraSql)
{
    const QString target = path(name);
    QString script = schemaSql();
    if (!extraSql.isEmpty())
        script += QLatin1Char('\n') + extraSql;
    db::createDatabaseFromScript(target, script);
    return target;
}

QString TempCase::createSample(const QString& name)
{
    return create(name, sampleSql());
}
