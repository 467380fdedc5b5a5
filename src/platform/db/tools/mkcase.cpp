// Builds a new case file from SQL scripts:
//   argovo_mkcase <out.AGV> <script.sql> [more.sql...]
// The scripts run in order as one text. The output must not exist.

#include "platform/core/AppError.h"
#include "platform/db/CaseFileBuilder.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: argovo_mkcase <out.AGV> <script.sql> [more.sql...]\n");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    QString script;
    for (int i = 2; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "argovo_mkcase: cannot read %s: %s\n", argv[i],
                         qPrintable(file.errorString()));
            return 1;
        }
        script += QString::fromUtf8(file.readAll());
        script += QLatin1Char('\n');
    }
    try {
        db::createDatabaseFromScript(target, script);
    } catch (const AppError& error) {
        std::fprintf(stderr, "argovo_mkcase: %s (error %d, %s)\n", qPrintable(error.description()),
                     error.number(), qPrintable(error.source()));
        return 1;
    }
    return 0;
}
