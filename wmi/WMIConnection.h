#pragma once

#include "wmi/WMIObject.h"
#include "wmi/WmiPlatform.h"

#include <QString>
#include <QVector>

// The namespace every MachineInfo question is asked in.
extern const QString kLocalNamespace;

// The first COM or WMI call that failed, for a person to read (wql); the
// plug-in itself only looks at the boolean or empty result.
struct WmiFailure
{
    QString call; // e.g. "IWbemLocator::ConnectServer"; empty: nothing failed
    HRESULT hr = S_OK;
    // Set once CoInitializeEx has succeeded, even if a later step fails or
    // throws. close() ends only a successful connect's apartment use, so
    // after a failed one the thread stays in the apartment until it leaves
    // itself (CoUninitialize).
    bool apartmentEntered = false;
};

// A connection to one WMI namespace over COM. connect() makes the calling
// thread a single-threaded apartment; close() after a successful connect
// ends that use again, so every call on the connection and its rows comes
// from that one thread. The owner calls close() before deleting the
// connection: destruction releases nothing.
class WMIConnection
{
public:
    WMIConnection() = default;
    WMIConnection(const WMIConnection &) = delete;
    WMIConnection &operator=(const WMIConnection &) = delete;

    bool connect();
    bool connect(const QString &host);
    bool connect(const QString &host, const QString &user, const QString &password);
    // With `failure`, also tells which call failed.
    bool connect(const QString &host, const QString &user, const QString &password,
                 const QString &namespacePath, WmiFailure *failure = nullptr);

    // Every row of a WQL query in enumeration order. A failed query, a query
    // without rows and an unconnected connection all give an empty list.
    // With `failure`, also tells a failed query (ExecQuery or Next) from an
    // empty one.
    QVector<WMIObject> query(const QString &wql, WmiFailure *failure = nullptr);
    // The object at `path`, or an empty WMIObject.
    WMIObject getObject(const QString &path);

    bool isConnected() const;
    void close();

private:
    // Both set together at the end of a successful connect, cleared together
    // by close(); each holds one reference.
    IWbemLocator *locator = nullptr;
    IWbemServices *services = nullptr;
};
