#include "store/CDataLayer.h"

#include "platform/core/AppError.h"
#include "platform/core/Prompt.h"
#include "platform/db/Ado.h"
#include "store/AppState.h"
#include "store/CError.h"
#include "store/ErrorReport.h"

namespace {

const QString kProvider = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;");
const QString kDataSourceKey = QStringLiteral("Data Source=");

QString wrapped(const QString& path)
{
    return kDataSourceKey + ado::dataSourceValue(path) + QLatin1Char(';');
}

// Accepts "Data Source=<path>;" as well as a bare path, so that a value read
// back from DataSource and stored again is not wrapped twice.
QString unwrapped(const QString& value)
{
    if (value.startsWith(kDataSourceKey, Qt::CaseInsensitive) && value.endsWith(QLatin1Char(';')))
        return ado::dataSourceFromConnectionString(value);
    return value;
}

struct Failure {
    int number = 0;
    QString description;
};

Failure failureOf(const std::exception& e)
{
    if (const auto* app = dynamic_cast<const AppError*>(&e))
        return {app->number(), app->description()};
    return {0, report::describe(e)};
}

} // namespace

CDataLayer::CDataLayer() = default;
CDataLayer::~CDataLayer() = default;

std::shared_ptr<ado::Connection> CDataLayer::Connection()
{
    if (!m_connection)
        m_connection = ado::Connection::create();
    return m_connection;
}

QString CDataLayer::DataSource() const
{
    return m_showWrapped ? wrapped(m_path) : m_path;
}

void CDataLayer::setDataSource(const QString& value)
{
    m_path = unwrapped(value);
    m_showWrapped = false;
}

bool CDataLayer::connectionOpen() const
{
    return m_connection && m_connection->State() == ado::adStateOpen;
}

int16_t CDataLayer::GetConnected()
{
    if (!connectionOpen()) {
        // The path is kept bare and the connection string built afresh at
        // each open, so a reconnect after a close opens the same file.
        m_showWrapped = true;
        m_provider = kProvider;

        if (m_path.isEmpty() || !m_path.toUpper().endsWith(QStringLiteral(".AGV"))) {
            try {
                platform::msgBox(QStringLiteral("Select a case if you want to proceed."),
                                 platform::MsgButtons::OK, platform::MsgIcon::Information,
                                 QStringLiteral("No Case Selected"));
            } catch (...) {
            }
            return 1;
        }

        try {
            Connection()->Open(m_provider + wrapped(m_path), QString(), QString(),
                               ado::adOptionUnspecified);
        } catch (const std::exception& e) {
            // A connection that did not open is a failure, reported now rather
            // than at its first use.
            m_connected = false;
            const Failure f = failureOf(e);
            // A file refused for what it holds is told as it is, not as a
            // technical error: the user can do something about it.
            const bool refusedFile =
                f.number == jet::UnrecognizedFormat || f.number == jet::Damaged;
            oError().HandleError(QStringLiteral("oDataLayer.GetConnected"),
                                 QStringLiteral("The case file could not be opened. ") +
                                     f.description,
                                 refusedFile ? 0 : f.number, true);
            return 1;
        }
    }
    m_connected = true;
    return 0;
}

int16_t CDataLayer::CloseConnection()
{
    m_connected = false;
    try {
        if (m_connection && m_connection->State() != ado::adStateClosed) {
            m_connection->Close();
            m_connection.reset();
        }
    } catch (...) {
        m_connected = false;
        oError().HandleError(QStringLiteral("oDataLayer.CloseConnection"),
                             QStringLiteral("The connection to the database could not be closed."),
                             0, true);
        return 1;
    }
    return 0;
}

int16_t CDataLayer::RunSQL(const QString& sSQL, std::shared_ptr<ado::Recordset>& rs,
                           const QVariant&)
{
    ado::Command command;
    try {
        // One attempt: a second one would only repeat the refusal or the
        // failure report of the first.
        if (!connectionOpen())
            GetConnected();
        command.ActiveConnection = Connection();
        command.CommandText = sSQL;
    } catch (const std::exception& e) {
        const Failure f = failureOf(e);
        if (f.number == jet::ObjectClosed)
            return 0;
        oError().HandleError(QStringLiteral("CDataLayer.RunSQL"),
                             QStringLiteral("A call to SQL failed. The statement was ") + sSQL +
                                 QLatin1Char(' '),
                             f.number, true);
        return 1;
    }

    try {
        rs = command.Execute();
    } catch (...) {
        // A statement the engine rejected (or a case that would not open) is a
        // failure; the caller's recordset stays as it passed it.
        return 1;
    }
    return 0;
}
