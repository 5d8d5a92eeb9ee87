#include "WmiTestSupport.h"

#include "wmi/WMIConnection.h"

using winapi_seam::Step;
using winapi_seam::Value;

class tst_WMIConnection : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::recordCalls(true);
        winapi_seam::scriptRows(L"Uis_Probe",
                                {{{L"Name", Value::text(L"a")}},
                                 {{L"Name", Value::text(L"b")}},
                                 {{L"Name", Value::text(L"c")}}});
    }
    void cleanup() { endSeamTest(); }

    void connectSteps_data();
    void connectSteps();
    void connectPath_data();
    void connectPath();
    void query_data();
    void query();
    void rowReads();
};

// Guards against a failing step being ignored or misnamed, steps running
// after a failure, RPC_E_TOO_LATE taken as fatal, interfaces leaking on the
// failure paths, and CoUninitialize after a failed CoInitializeEx.
void tst_WMIConnection::connectSteps_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<HRESULT>("hr");
    QTest::addColumn<QString>("failedCall"); // empty: connected

    row("all succeed", Step::Get, S_OK, "");
    row("apartment of another model", Step::CoInitializeEx, RPC_E_CHANGED_MODE, "CoInitializeEx");
    row("security denied", Step::CoInitializeSecurity, E_ACCESSDENIED, "CoInitializeSecurity");
    row("security set by the host", Step::CoInitializeSecurity, RPC_E_TOO_LATE, "");
    row("locator not registered", Step::CoCreateInstance, REGDB_E_CLASSNOTREG, "CoCreateInstance");
    row("no such namespace", Step::ConnectServer, WBEM_E_INVALID_NAMESPACE,
        "IWbemLocator::ConnectServer");
    row("blanket denied", Step::CoSetProxyBlanket, E_ACCESSDENIED, "CoSetProxyBlanket");
}

void tst_WMIConnection::connectSteps()
{
    QFETCH(Step, step);
    QFETCH(HRESULT, hr);
    QFETCH(QString, failedCall);
    // Every step after a successful CoInitializeEx leaves the apartment
    // entered (close() ends it only after a successful connect).
    const long apartments = failedCall == "CoInitializeEx" ? 0 : 1;

    if (hr != S_OK)
        winapi_seam::failStep(step, hr);
    WMIConnection connection;
    WmiFailure failure;
    const bool connected = connection.connect(".", QString(), QString(), kLocalNamespace, &failure);
    QCOMPARE(connected, failedCall.isEmpty());
    QCOMPARE(connection.isConnected(), connected);
    QCOMPARE(failure.call, failedCall);
    QCOMPARE(failure.hr, failedCall.isEmpty() ? S_OK : hr);
    QCOMPARE(winapi_seam::counters().interfaces, connected ? 2L : 0L);
    QCOMPARE(winapi_seam::counters().apartmentDepth, apartments);
    connection.close();
    // close() ends only what a successful connect began.
    QCOMPARE(winapi_seam::counters().apartmentDepth, connected ? 0L : apartments);
    if (!connected && apartments > 0)
        CoUninitialize();
}

// Guards against a missing, doubled or misplaced "\\" prefix, a password
// sent without a user, and a host other than this machine accepted.
void tst_WMIConnection::connectPath_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("credentials");
    QTest::addColumn<bool>("connected");

    row("local host", ".", "", "", "\\\\.\\root\\cimv2", false, true);
    row("empty host: three backslashes", "", "", "", "\\\\\\root\\cimv2", false, true);
    row("host already prefixed", "\\\\localhost", "", "", "\\\\localhost\\root\\cimv2", false,
        true); // not prefixed twice
    row("password without user", ".", "", "secret", "\\\\.\\root\\cimv2", false, true);
    row("user for this machine", ".", "me", "", "\\\\.\\root\\cimv2", true, false);
    row("another machine", "elsewhere.invalid", "", "", "\\\\elsewhere.invalid\\root\\cimv2", false,
        false);
}

void tst_WMIConnection::connectPath()
{
    QFETCH(QString, host);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, credentials);
    QFETCH(bool, connected);

    WMIConnection connection;
    QCOMPARE(connection.connect(host, user, password), connected);
    QCOMPARE(winapi_seam::connectCalls().size(), std::size_t(1));
    const winapi_seam::ConnectCall call = winapi_seam::connectCalls().front();
    QTEST(QString::fromStdWString(call.path), "path");
    QCOMPARE(call.userNull, !credentials);
    QCOMPARE(call.passwordNull, !credentials);
    connection.close();
    if (!connected)
        CoUninitialize();
}

// Guards against rows lost, reordered or kept after a failed Next, a failed
// query looking like an empty one to wql, and an unconnected connection
// touching COM.
void tst_WMIConnection::query_data()
{
    QTest::addColumn<bool>("connect");
    QTest::addColumn<QString>("wql");
    QTest::addColumn<int>("nextFailsAfter"); // -1: no fault
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("failedCall");

    row("every row in order", true, "SELECT * FROM Uis_Probe", -1, "a,b,c", "");
    row("no row, no failure", true, "SELECT * FROM Uis_Probe WHERE Name = 'z'", -1, "", "");
    row("malformed", true, "SELECT FROM", -1, "", "IWbemServices::ExecQuery");
    row("Next fails on the third", true, "SELECT * FROM Uis_Probe", 2, "a,b",
        "IEnumWbemClassObject::Next");
    row("unconnected", false, "SELECT * FROM Uis_Probe", -1, "", "");
}

void tst_WMIConnection::query()
{
    QFETCH(bool, connect);
    QFETCH(QString, wql);
    QFETCH(int, nextFailsAfter);

    WMIConnection connection;
    if (connect)
        QVERIFY(connection.connect());
    if (nextFailsAfter >= 0)
        winapi_seam::failStep(Step::Next, E_FAIL, nextFailsAfter);
    WmiFailure failure;
    QTEST(column(connection.query(wql, &failure), "Name"), "names");
    QTEST(failure.call, "failedCall");
    QCOMPARE(winapi_seam::executedQueries().size(), std::size_t(connect ? 1 : 0));
    QCOMPARE(winapi_seam::counters().interfaces, connect ? 2L : 0L);
    connection.close();
}

// Guards against case-insensitive hasProperty and a failed read taken for
// a value.
void tst_WMIConnection::rowReads()
{
    WMIConnection connection;
    QVERIFY(connection.connect());
    const WMIObject row = connection.getObject("Uis_Probe.Name=\"b\"");
    QCOMPARE(textOf(row, "Name"), QStringLiteral("b"));
    QCOMPARE(row.propertyNames(0), QStringList{"Name"});
    QVERIFY(row.hasProperty("Name"));
    QVERIFY(!row.hasProperty("name"));
    QCOMPARE(textOf(row, "Missing"), QStringLiteral("(failed)"));
    connection.close();
}

QTEST_GUILESS_MAIN(tst_WMIConnection)
#include "tst_wmiconnection.moc"
