#include "store/Globals.h"

#include "platform/core/AppError.h"
#include "platform/core/Shell.h"
#include "platform/db/Ado.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/CDataLayer.h"
#include "store/CError.h"
#include "store/ErrorReport.h"
#include "store/IShutdownHost.h"

#include <QRegularExpression>

namespace {

const QString kShutdownPlace = QStringLiteral("Globals.Shutdown");

// Runs one step of the stop sequence; a failure is reported with the step's
// line and the sequence goes on.
template <typename F> void step(int line, F&& body)
{
    report::guarded(kShutdownPlace, line, std::forward<F>(body));
}

} // namespace

bool Shutdown()
{
    IShutdownHost* host = shutdownHost();

    // What the user typed last reaches the file while it is still open.
    bool leave = true;
    step(5, [&] {
        if (host)
            leave = host->WritePendingEdits();
    });
    if (!leave)
        return false;
    step(10, [&] {
        if (host)
            host->TerminatePanes();
    });
    step(20, [] { gConnection.reset(); });
    step(30, [] {
        if (gDB) {
            // Released even when the close fails.
            auto db = std::move(gDB);
            gDB.reset();
            db->Close();
        }
    });
    step(40, [] {
        if (oDataLayer().Connection()->State() != ado::adStateClosed)
            oDataLayer().CloseConnection();
    });

    // The engine's texts and report, and the case-file manager, belong to
    // other layers and are released through what they registered.
    const char* const order[] = {"oUtility", "oReport", "oText", "oTypes", "oDataLayer",
                                 "oOpen",    "oError",  "oLog",  "oMain"};
    int line = 50;
    for (const char* name : order)
        step(line++, [name] { releaseSharedInstance(name); });

    step(60, [&] {
        if (host && host->GridReportState() == 1)
            host->StopGridReport();
    });
    step(70, [] { CompactAndBackup(); });
    step(80, [&] {
        if (host)
            host->UnloadAllWindows();
    });
    step(90, [] { platform::lifetime().quit(0); });
    return true;
}

QString SQLStringCheck(const QString& s)
{
    QString result;
    result.reserve(s.size() + 8);
    for (const QChar c : s) {
        result.append(c);
        if (c == QLatin1Char('\''))
            result.append(c);
    }
    return result;
}

QString FormatSQLValue(const QString& value, int type)
{
    if (value.isEmpty())
        return QStringLiteral("NULL");
    switch (type) {
    case 3: {
        static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
        if (!integer.match(value).hasMatch())
            throw AppError(jet::ConversionError, QStringLiteral("Globals.FormatSQLValue"),
                           QStringLiteral("Data type conversion error."));
        return value;
    }
    case 200:
        return QLatin1Char('\'') + SQLStringCheck(value) + QLatin1Char('\'');
    default:
        return QString();
    }
}

void CompactAndBackup() {}
