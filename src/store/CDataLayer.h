#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>

namespace ado {
class Connection;
class Recordset;
} // namespace ado

// The ADO connection to the open case file. GetConnected, CloseConnection
// and RunSQL return 0 for success and 1 for failure.
class CDataLayer final {
public:
    CDataLayer();
    ~CDataLayer();
    CDataLayer(const CDataLayer&) = delete;
    CDataLayer& operator=(const CDataLayer&) = delete;

    // Created on first use: an unopened connection until GetConnected opens it.
    std::shared_ptr<ado::Connection> Connection();

    void setCaseTitle(const QString& value) { m_caseTitle = value; }
    bool Connected() const { return m_connected; }
    void setConnected(bool value) { m_connected = value; }
    void setPassword(const QString& value) { m_password = value; }
    // The case file. Set it to the bare path (a wrapped "Data Source=<path>;"
    // is unwrapped). After GetConnected it reads "Data Source=<path>;", the
    // form the analysis engine prefixes its provider to.
    QString DataSource() const;
    void setDataSource(const QString& value);
    QString Provider() const { return m_provider; }
    void setProvider(const QString& value) { m_provider = value; }

    // 0 connected (or already open), 1 refused or failed.
    int16_t GetConnected();
    // 0 closed (or nothing to close), 1 when the close failed.
    int16_t CloseConnection();
    // Runs one statement; rs receives its recordset. 0 done, 1 failed, in
    // which case rs keeps what the caller passed. The third argument is unused.
    int16_t RunSQL(const QString& sSQL, std::shared_ptr<ado::Recordset>& rs,
                   const QVariant& unused = QVariant());

private:
    bool connectionOpen() const;

    std::shared_ptr<ado::Connection> m_connection;
    QString m_caseTitle;
    bool m_connected = false;
    QString m_password;
    QString m_path;
    bool m_showWrapped = false;
    QString m_provider;
};
