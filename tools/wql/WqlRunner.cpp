#include "wql/WqlRunner.h"

#include "wmi/MachineInfo.h"
#include "wmi/ScopedVariant.h"
#include "wmi/WMIConnection.h"
#include "wql/HresultName.h"
#include "wql/VariantJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Closes the connection however the scope is left, so COM is left as found
// even when a text conversion throws or the connect fails after entering
// the apartment (the plug-in's connect leaves that to close()).
struct ClosingConnection
{
    WMIConnection connection;
    WmiFailure failure;
    bool connect()
    {
        return connection.connect(QStringLiteral("."), QString(), QString(), kLocalNamespace,
                                  &failure);
    }
    ~ClosingConnection()
    {
        if (connection.isConnected())
            connection.close();
        else if (failure.apartmentEntered)
            CoUninitialize();
    }
};

QString compactJson(const QJsonValue &value)
{
    // QJsonDocument holds only arrays and objects: wrap and strip.
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

} // namespace

WqlRunner::WqlRunner(QTextStream &out, QTextStream &err, bool json)
    : out(out)
    , err(err)
    , json(json)
{ }

int WqlRunner::runQueries(const QStringList &queries)
{
    try {
        ClosingConnection wmi;
        if (!wmi.connect()) {
            reportFailure(QStringLiteral("cannot connect to \\\\.%1").arg(kLocalNamespace),
                          wmi.failure);
            return Failure;
        }
        int status = Success;
        for (const QString &query : queries) {
            if (!json && queries.size() > 1)
                out << "== " << query << '\n';
            WmiFailure failure;
            const QVector<WMIObject> rows = wmi.connection.query(query, &failure);
            if (!failure.call.isEmpty()) {
                reportFailure(QStringLiteral("query failed: %1").arg(query), failure);
                status = Failure;
            } else if (rows.isEmpty() && !json) {
                out << "(no rows)\n";
            }
            for (int i = 0; i < rows.size(); ++i)
                printRow(rows.at(i), i + 1);
        }
        out.flush();
        return status;
    } catch (const _com_error &error) {
        out.flush();
        err << "wql: " << hresultText(error.Error()) << '\n';
        return Failure;
    }
}

void WqlRunner::printRow(const WMIObject &row, int number)
{
    const QStringList names = row.propertyNames(0);
    QStringList fields;
    if (!json)
        out << '[' << number << "]\n";
    for (const QString &name : names) {
        ScopedVariant value;
        row.get(name, value.put());
        if (json)
            fields.append(compactJson(name) + QLatin1Char(':') +
                          compactJson(typedVariantJson(*value.get())));
        else
            out << "  " << name << " = " << variantText(*value.get()) << '\n';
    }
    // Built by hand: QJsonObject would sort the names, and the row's own
    // order is what GetNames gave.
    if (json)
        out << '{' << fields.join(QLatin1Char(',')) << "}\n";
}

int WqlRunner::printMachine()
{
    try {
        QMap<QString, QString> addresses;
        QList<QPair<QString, QString>> identity;
        {
            const MachineInfo info;
            addresses = info.localIpAddresses();
            identity = {
                    {QStringLiteral("biosSerialNumber"), info.biosSerialNumber()},
                    {QStringLiteral("baseBoardSerialNumber"), info.baseBoardSerialNumber()},
                    {QStringLiteral("processorId"), info.processorId()},
                    {QStringLiteral("processorName"), info.processorName()},
                    {QStringLiteral("systemLocaleName"), info.systemLocaleName()},
                    {QStringLiteral("computerName"), info.computerName()},
                    {QStringLiteral("timeZoneCaption"), info.timeZoneCaption()},
            };
        }
        if (json) {
            QJsonObject machine;
            QJsonObject addressObject;
            for (auto it = addresses.cbegin(); it != addresses.cend(); ++it)
                addressObject.insert(it.key(), it.value());
            machine.insert(QStringLiteral("addresses"), addressObject);
            for (const auto &entry : identity)
                machine.insert(entry.first, entry.second);
            out << QString::fromUtf8(QJsonDocument(machine).toJson(QJsonDocument::Compact)) << '\n';
        } else {
            printMachinePlain(addresses, identity);
        }
        out.flush();

        // MachineInfo answers failure with empty texts; a connect that fails
        // is worth saying so.
        ClosingConnection wmi;
        if (!wmi.connect()) {
            reportFailure(QStringLiteral("cannot connect to \\\\.%1").arg(kLocalNamespace),
                          wmi.failure);
            return Failure;
        }
        return Success;
    } catch (const _com_error &error) {
        out.flush();
        err << "wql: " << hresultText(error.Error()) << '\n';
        return Failure;
    }
}

void WqlRunner::printMachinePlain(const QMap<QString, QString> &addresses,
                                  const QList<QPair<QString, QString>> &identity)
{
    out << "Local addresses:\n";
    if (addresses.isEmpty())
        out << "  (none)\n";
    for (auto it = addresses.cbegin(); it != addresses.cend(); ++it)
        out << "  " << qSetFieldWidth(40) << Qt::left << it.key() << qSetFieldWidth(0) << it.value()
            << '\n';
    for (const auto &entry : identity)
        out << qSetFieldWidth(23) << Qt::left << (entry.first + QLatin1Char(':'))
            << qSetFieldWidth(0) << entry.second << '\n';
}

void WqlRunner::reportFailure(const QString &what, const WmiFailure &failure)
{
    out.flush();
    err << "wql: " << what;
    if (!failure.call.isEmpty())
        err << ": " << failure.call << " failed with " << hresultText(failure.hr);
    err << '\n';
    err.flush();
}
