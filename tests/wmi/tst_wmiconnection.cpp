#include "WmiTestSupport.h"

#include "wmi/ScopedVariant.h"
#include "wmi/WMIConnection.h"

using winapi_seam::Step;
using winapi_seam::Value;

namespace {

const QString kProbeQuery = QStringLiteral("SELECT * FROM Uis_Probe");

void scriptProbeRows()
{
    winapi_seam::scriptRows(L"Uis_Probe",
                            {{{L"Name", Value::text(L"a")}},
                             {{L"Name", Value::text(L"b")}},
                             {{L"Name", Value::text(L"c")}}});
}

QString nameOf(const WMIObject &row)
{
    ScopedVariant value;
    if (row.get(QStringLiteral("Name"), value.ptr()) && value.type() == VT_BSTR)
        return QString::fromWCharArray(value.get().bstrVal);
    return QString();
}

} // namespace

class tst_WMIConnection : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::recordCalls(true);
    }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void connectSteps_data();
    void connectSteps();
    void connectArguments_data();
    void connectArguments();
    void closeEndsOwnApartmentOnly();
    void queryRows_data();
    void queryRows();
    void unconnectedTouchesNothing();
    void getObject_data();
    void getObject();
    void allocationFailurePassesThrough_data();
    void allocationFailurePassesThrough();
};

// Guards against a failing step being ignored, a step running after an
// earlier failure, RPC_E_TOO_LATE being treated as fatal, interfaces leaking
// on the failure paths, and CoUninitialize after a failed CoInitializeEx.
void tst_WMIConnection::connectSteps_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<HRESULT>("hr");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<long>("apartmentDepth");
    QTest::addColumn<int>("connectServerCalls");

    // clang-format off
    QTest::newRow("all succeed") << Step::SysAllocString << S_OK << true << 1L << 1;
    QTest::newRow("CoInitializeEx changed mode") << Step::CoInitializeEx << RPC_E_CHANGED_MODE << false << 0L << 0;
    QTest::newRow("CoInitializeSecurity denied") << Step::CoInitializeSecurity << E_ACCESSDENIED << false << 1L << 0;
    QTest::newRow("CoInitializeSecurity too late") << Step::CoInitializeSecurity << RPC_E_TOO_LATE << true << 1L << 1;
    QTest::newRow("CoCreateInstance not registered") << Step::CoCreateInstance << REGDB_E_CLASSNOTREG << false << 1L << 0;
    QTest::newRow("ConnectServer invalid namespace") << Step::ConnectServer << WBEM_E_INVALID_NAMESPACE << false << 1L << 1;
    QTest::newRow("CoSetProxyBlanket denied") << Step::CoSetProxyBlanket << E_ACCESSDENIED << false << 1L << 1;
    // clang-format on
}

void tst_WMIConnection::connectSteps()
{
    QFETCH(Step, step);
    QFETCH(HRESULT, hr);
    QFETCH(bool, connected);
    QFETCH(long, apartmentDepth);
    QFETCH(int, connectServerCalls);

    if (hr != S_OK)
        winapi_seam::failStep(step, hr);
    WMIConnection connection;
    QCOMPARE(connection.connect(), connected);
    QCOMPARE(connection.isConnected(), connected);
    QCOMPARE(int(winapi_seam::connectCalls().size()), connectServerCalls);
    QCOMPARE(winapi_seam::counters().apartmentDepth, apartmentDepth);
    // Only the connection's own locator and services may be alive.
    QCOMPARE(winapi_seam::counters().interfaces, connected ? 2L : 0L);

    connection.close();
    QVERIFY(!connection.isConnected());
    QCOMPARE(winapi_seam::counters().interfaces, 0L);
    // A connect that failed after CoInitializeEx leaves the apartment to its
    // caller; close() ends only what a successful connect began.
    QCOMPARE(winapi_seam::counters().apartmentDepth, connected ? 0L : apartmentDepth);
    if (!connected && apartmentDepth > 0)
        CoUninitialize();
}

// Guards against a missing, doubled or misplaced "\\" prefix, an overload
// filling in the wrong host or namespace, a password sent without a user,
// and an empty but given password turned into a null one.
void tst_WMIConnection::connectArguments_data()
{
    QTest::addColumn<int>("arguments");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("nameSpace");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("userNull");
    QTest::addColumn<bool>("passwordNull");

    const QString null;
    const QString local = R"(\\.\root\cimv2)";
    // clang-format off
    QTest::newRow("no arguments") << 0 << null << null << null << null << local << true << true;
    QTest::newRow("local host") << 1 << "." << null << null << null << local << true << true;
    QTest::newRow("empty host") << 1 << "" << null << null << null << R"(\\\root\cimv2)" << true << true;
    QTest::newRow("plain name") << 1 << "studio-pc" << null << null << null << R"(\\studio-pc\root\cimv2)" << true << true;
    QTest::newRow("already prefixed") << 1 << R"(\\studio-pc)" << null << null << null << R"(\\studio-pc\root\cimv2)" << true << true;
    QTest::newRow("one backslash") << 1 << R"(\pc)" << null << null << null << R"(\\\pc\root\cimv2)" << true << true;
    QTest::newRow("three arguments") << 3 << "host" << null << null << null << R"(\\host\root\cimv2)" << true << true;
    QTest::newRow("own namespace") << 4 << "." << null << null << R"(\root\wmi)" << R"(\\.\root\wmi)" << true << true;
    QTest::newRow("namespace carries prefix") << 4 << "" << null << null << R"(\\srv\root\cimv2)" << R"(\\srv\root\cimv2)" << true << true;
    QTest::newRow("password without user") << 3 << "." << null << "secret" << null << local << true << true;
    QTest::newRow("user without password") << 3 << "." << "operator" << null << null << local << false << false;
    QTest::newRow("user and password") << 3 << "." << "operator" << "secret" << null << local << false << false;
    // clang-format on
}

void tst_WMIConnection::connectArguments()
{
    QFETCH(int, arguments);
    QFETCH(QString, host);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, nameSpace);

    WMIConnection connection;
    if (arguments == 0)
        connection.connect();
    else if (arguments == 1)
        connection.connect(host);
    else if (arguments == 3)
        connection.connect(host, user, password);
    else
        connection.connect(host, user, password, nameSpace);
    const auto calls = winapi_seam::connectCalls();
    connection.close();
    // Remote hosts and local credentials are refused by the stand-in: the
    // connect fails after ConnectServer and leaves its apartment behind.
    if (winapi_seam::counters().apartmentDepth > 0)
        CoUninitialize();
    QCOMPARE(int(calls.size()), 1);
    QTEST(QString::fromStdWString(calls.front().path), "path");
    QTEST(calls.front().userNull, "userNull");
    QTEST(calls.front().passwordNull, "passwordNull");
}

// Guards against close() calling CoUninitialize without a connect of its own
// (it would end the host's apartment) or more than once per connect.
void tst_WMIConnection::closeEndsOwnApartmentOnly()
{
    // The host's own use of COM on this thread.
    QVERIFY(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));

    WMIConnection never;
    never.close();
    QCOMPARE(winapi_seam::counters().apartmentDepth, 1L);

    WMIConnection connection;
    QVERIFY(connection.connect());
    QCOMPARE(winapi_seam::counters().apartmentDepth, 2L);
    connection.close();
    QCOMPARE(winapi_seam::counters().apartmentDepth, 1L);
    connection.close();
    QCOMPARE(winapi_seam::counters().apartmentDepth, 1L);

    CoUninitialize();
}

// Guards against rows out of enumeration order, a failed Next dropping the
// rows fetched before it, a failed ExecQuery giving anything but an empty
// list, and enumerators or rows leaking.
void tst_WMIConnection::queryRows_data()
{
    QTest::addColumn<Step>("failing");
    QTest::addColumn<int>("afterCalls");
    QTest::addColumn<QStringList>("names");

    const QStringList all{"a", "b", "c"};
    QTest::newRow("every row") << Step::SysAllocString << -1 << all;
    QTest::newRow("Next fails first") << Step::Next << 0 << QStringList();
    QTest::newRow("Next fails after one") << Step::Next << 1 << QStringList{"a"};
    QTest::newRow("Next fails after two") << Step::Next << 2 << QStringList{"a", "b"};
    QTest::newRow("Next fails at the end") << Step::Next << 3 << all;
    QTest::newRow("ExecQuery fails") << Step::ExecQuery << 0 << QStringList();
}

void tst_WMIConnection::queryRows()
{
    QFETCH(Step, failing);
    QFETCH(int, afterCalls);
    QFETCH(QStringList, names);

    scriptProbeRows();
    WMIConnection connection;
    QVERIFY(connection.connect());
    if (afterCalls >= 0)
        winapi_seam::failStep(failing, WBEM_E_FAILED, afterCalls);
    {
        const QVector<WMIObject> rows = connection.query(kProbeQuery);
        QStringList got;
        for (const WMIObject &row : rows)
            got.append(nameOf(row));
        QCOMPARE(got, names);
    }
    QCOMPARE(executedQueries(), QStringList{kProbeQuery});
    // The enumerator and every row are gone; the connection's two remain.
    QCOMPARE(winapi_seam::counters().interfaces, 2L);
    connection.close();
}

// Guards against query or getObject calling through the null interfaces of
// a connection that never connected.
void tst_WMIConnection::unconnectedTouchesNothing()
{
    WMIConnection connection;
    QVERIFY(connection.query(kProbeQuery).isEmpty());
    QVERIFY(!connection.getObject(QStringLiteral("Win32_BIOS")));
    QVERIFY(executedQueries().isEmpty());

    winapi_seam::failStep(Step::CoCreateInstance, REGDB_E_CLASSNOTREG);
    QVERIFY(!connection.connect());
    QVERIFY(connection.query(kProbeQuery).isEmpty());
    QVERIFY(!connection.getObject(QStringLiteral("Win32_BIOS")));
    QVERIFY(executedQueries().isEmpty());
    connection.close();
    CoUninitialize();
}

// Guards against a failed GetObject handing out a row (or leaking one) and
// a found object not being the one the path names.
void tst_WMIConnection::getObject_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");

    QTest::newRow("instance") << R"(Uis_Probe.Name="b")"
                              << "b";
    QTest::newRow("no such instance") << R"(Uis_Probe.Name="z")" << QString();
    QTest::newRow("no such class") << "No_Such_Class.Key=1" << QString();
    QTest::newRow("malformed") << "Uis_Probe.=" << QString();
}

void tst_WMIConnection::getObject()
{
    QFETCH(QString, path);
    QFETCH(QString, name);

    scriptProbeRows();
    WMIConnection connection;
    QVERIFY(connection.connect());
    {
        const WMIObject object = connection.getObject(path);
        QCOMPARE(bool(object), !name.isEmpty());
        QCOMPARE(nameOf(object), name);
    }
    QCOMPARE(winapi_seam::counters().interfaces, 2L);
    connection.close();
}

// Guards against a failed BSTR allocation being swallowed (it must reach the
// caller as _com_error(E_OUTOFMEMORY)) or leaking what was built before it.
void tst_WMIConnection::allocationFailurePassesThrough_data()
{
    QTest::addColumn<int>("operation");
    QTest::newRow("connect") << 0;
    QTest::newRow("query") << 1;
    QTest::newRow("getObject") << 2;
}

void tst_WMIConnection::allocationFailurePassesThrough()
{
    QFETCH(int, operation);

    scriptProbeRows();
    WMIConnection connection;
    if (operation != 0)
        QVERIFY(connection.connect());
    winapi_seam::failStep(Step::SysAllocString, E_OUTOFMEMORY);
    HRESULT thrown = S_OK;
    try {
        if (operation == 0)
            connection.connect();
        else if (operation == 1)
            connection.query(kProbeQuery);
        else
            connection.getObject(QStringLiteral("Uis_Probe"));
    } catch (const _com_error &error) {
        thrown = error.Error();
    }
    QCOMPARE(thrown, E_OUTOFMEMORY);
    QVERIFY(executedQueries().isEmpty());
    QCOMPARE(winapi_seam::counters().interfaces, operation == 0 ? 0L : 2L);
    QCOMPARE(connection.isConnected(), operation != 0);
    connection.close();
    // The interrupted connect had entered the apartment already.
    if (operation == 0)
        CoUninitialize();
}

QTEST_GUILESS_MAIN(tst_WMIConnection)
#include "tst_wmiconnection.moc"
