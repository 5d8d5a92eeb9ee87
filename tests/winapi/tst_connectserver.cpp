// Creating the locator and connecting: which machine and namespace paths
// are local root\cimv2, what remote hosts, other namespaces and local
// credentials answer, and the proxy blanket on the services.
#include "WinapiTestSupport.h"

#include <QHostInfo>

namespace {

QString localHostName() { return QHostInfo::localHostName(); }

// The host name's first label in upper case, cut to 15 characters.
QString netbiosName() { return localHostName().section(QLatin1Char('.'), 0, 0).left(15).toUpper(); }

} // namespace

class tst_ConnectServer : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::recordCalls(true);
        QCOMPARE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    }
    void cleanup()
    {
        while (winapi_seam::counters().apartmentDepth > 0)
            CoUninitialize();
        winapi_seam::reset();
        verifyNothingLive();
    }

    void connect_data();
    void connect();
    void createInstance_data();
    void createInstance();
    void proxyBlanket();
    void callsAfterUninitialize();
};

void tst_ConnectServer::connect_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("hr");

    const int ok = WBEM_S_NO_ERROR;
    const int unavailable = HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    const int badNamespace = WBEM_E_INVALID_NAMESPACE;
    const QString none; // a null user

    QTest::newRow("dot") << "\\\\.\\root\\cimv2" << none << ok;
    QTest::newRow("localhost, any case") << "\\\\LocalHost\\root\\cimv2" << none << ok;
    QTest::newRow("own host name") << "\\\\" + localHostName() + "\\root\\cimv2" << none << ok;
    QTest::newRow("own host name, upper case")
            << "\\\\" + localHostName().toUpper() + "\\root\\cimv2" << none << ok;
    QTest::newRow("own NetBIOS name") << "\\\\" + netbiosName() + "\\root\\cimv2" << none << ok;
    QTest::newRow("empty server") << "\\\\\\root\\cimv2" << none << ok;
    QTest::newRow("no server") << "root\\cimv2" << none << ok;
    QTest::newRow("namespace in other case") << "\\\\.\\ROOT\\CimV2" << none << ok;
    QTest::newRow("forward slashes") << "//./root/cimv2" << none << ok;
    QTest::newRow("empty user is no user") << "\\\\.\\root\\cimv2"
                                           << "" << ok;

    QTest::newRow("other host") << "\\\\otherhost\\root\\cimv2" << none << unavailable;
    QTest::newRow("other host by address") << "\\\\192.0.2.7\\root\\cimv2" << none << unavailable;
    QTest::newRow("host name with a suffix")
            << "\\\\" + localHostName() + "x\\root\\cimv2" << none << unavailable;
    QTest::newRow("other host with user") << "\\\\otherhost\\root\\cimv2"
                                          << "bob" << unavailable;

    QTest::newRow("other namespace") << "\\\\.\\root\\default" << none << badNamespace;
    QTest::newRow("parent namespace") << "\\\\.\\root" << none << badNamespace;
    QTest::newRow("child namespace") << "\\\\.\\root\\cimv2\\security" << none << badNamespace;
    QTest::newRow("no namespace") << "\\\\." << none << badNamespace;
    QTest::newRow("empty path") << "" << none << badNamespace;

    QTest::newRow("user for the local machine") << "\\\\.\\root\\cimv2"
                                                << "bob" << int(WBEM_E_LOCAL_CREDENTIALS);
}

// Guards against the local machine not being recognised in every spelling
// Windows accepts, remote hosts or other namespaces being served, and local
// credentials being accepted; also that every call is logged for the seam.
void tst_ConnectServer::connect()
{
    QFETCH(QString, path);
    QFETCH(QString, user);
    QFETCH(int, hr);

    IWbemLocator *locator = nullptr;
    QCOMPARE(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<void **>(&locator)),
             S_OK);
    const ComRef<IWbemLocator> locatorOwner(locator);
    const _bstr_t pathText(wide(path).c_str());
    const _bstr_t userText = user.isNull() ? _bstr_t() : _bstr_t(wide(user).c_str());
    const _bstr_t password(L"secret");
    IWbemServices *services = reinterpret_cast<IWbemServices *>(this);
    const HRESULT answer = locator->ConnectServer(pathText, userText, password, nullptr, 0, nullptr,
                                                  nullptr, &services);
    QCOMPARE(hex(answer), hex(hr));
    QCOMPARE(services != nullptr, SUCCEEDED(answer));
    const ComRef<IWbemServices> servicesOwner(services);

    const auto calls = winapi_seam::connectCalls();
    QCOMPARE(calls.size(), std::size_t(1));
    QCOMPARE(QString::fromStdWString(calls.front().path), path);
    QCOMPARE(calls.front().userNull, user.isNull());
    QCOMPARE(calls.front().passwordNull, false);
}

void tst_ConnectServer::createInstance_data()
{
    QTest::addColumn<bool>("locatorClass");
    QTest::addColumn<bool>("aggregate");
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("interface");
    QTest::addColumn<int>("hr");

    QTest::newRow("locator") << true << false << int(CLSCTX_INPROC_SERVER) << "locator"
                             << int(S_OK);
    QTest::newRow("as IUnknown") << true << false << int(CLSCTX_ALL) << "unknown" << int(S_OK);
    QTest::newRow("other interface")
            << true << false << int(CLSCTX_INPROC_SERVER) << "services" << int(E_NOINTERFACE);
    QTest::newRow("other class") << false << false << int(CLSCTX_INPROC_SERVER) << "locator"
                                 << int(REGDB_E_CLASSNOTREG);
    QTest::newRow("out-of-process only")
            << true << false << int(CLSCTX_LOCAL_SERVER) << "locator" << int(REGDB_E_CLASSNOTREG);
    QTest::newRow("aggregation") << true << true << int(CLSCTX_INPROC_SERVER) << "locator"
                                 << int(CLASS_E_NOAGGREGATION);
}

// Guards against CoCreateInstance handing out an object for a class,
// context or interface it does not serve, or leaking one when it refuses.
void tst_ConnectServer::createInstance()
{
    QFETCH(bool, locatorClass);
    QFETCH(bool, aggregate);
    QFETCH(int, context);
    QFETCH(QString, interface);
    QFETCH(int, hr);

    const IID &iid = interface == "locator" ? IID_IWbemLocator
            : interface == "unknown"        ? IID_IUnknown
                                            : IID_IWbemServices;
    const CLSID &clsid = locatorClass ? CLSID_WbemLocator : IID_IWbemClassObject;
    Session outer; // only as an outer object for the aggregation case
    void *object = this;
    const HRESULT answer = CoCreateInstance(clsid, aggregate ? outer.locator.get() : nullptr,
                                            DWORD(context), iid, &object);
    QCOMPARE(hex(answer), hex(hr));
    QCOMPARE(object != nullptr, SUCCEEDED(answer));
    if (object)
        static_cast<IUnknown *>(object)->Release();
    QCOMPARE(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              nullptr),
             E_POINTER);
}

// Guards against a blanket that cannot be set on the services (the client
// treats that as a failed connect) or that accepts no object.
void tst_ConnectServer::proxyBlanket()
{
    Session session;
    QVERIFY(session.services);
    QCOMPARE(CoSetProxyBlanket(session.services.get(), RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT,
                               nullptr, RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE,
                               nullptr, EOAC_NONE),
             S_OK);
    QCOMPARE(CoSetProxyBlanket(nullptr, RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT, nullptr,
                               RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                               EOAC_NONE),
             E_INVALIDARG);
}

// Guards against interfaces that keep answering after their thread left
// COM: queries then fail with CO_E_NOTINITIALIZED, releasing still works.
void tst_ConnectServer::callsAfterUninitialize()
{
    Session session;
    QVERIFY(session.services);
    CoUninitialize(); // the one from init()
    CoUninitialize(); // the session's
    IEnumWbemClassObject *enumerator = nullptr;
    QCOMPARE(hex(session.services->ExecQuery(_bstr_t(L"WQL"),
                                             _bstr_t(L"SELECT * FROM Win32_TimeZone"), 0x30,
                                             nullptr, &enumerator)),
             hex(CO_E_NOTINITIALIZED));
    QVERIFY(!enumerator);
    QCOMPARE(CoSetProxyBlanket(session.services.get(), RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT,
                               nullptr, RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE,
                               nullptr, EOAC_NONE),
             CO_E_NOTINITIALIZED);
    session.initHr = E_FAIL; // already balanced above
}

QTEST_GUILESS_MAIN(tst_ConnectServer)
#include "tst_connectserver.moc"
