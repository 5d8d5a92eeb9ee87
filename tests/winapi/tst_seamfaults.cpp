// Failures injected through the seam: each step of a client's work fails
// where and as often as asked, and nothing leaks on the way out.
#include "WinapiTestSupport.h"

using winapi_seam::Step;
using winapi_seam::Value;

namespace {

struct Outcome
{
    QString failedStep; // empty when every step succeeded
    HRESULT hr = S_OK;
    int rows = 0;
};

// What a WMI client does, stopping at the first failure; every object is
// owned, so the early returns release everything.
Outcome clientRun()
{
    struct Apartment
    {
        HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ~Apartment()
        {
            if (SUCCEEDED(hr))
                CoUninitialize();
        }
    } apartment;
    if (FAILED(apartment.hr))
        return {"CoInitializeEx", apartment.hr};
    HRESULT hr = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (FAILED(hr) && hr != RPC_E_TOO_LATE)
        return {"CoInitializeSecurity", hr};
    IWbemLocator *rawLocator = nullptr;
    hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          reinterpret_cast<void **>(&rawLocator));
    if (FAILED(hr))
        return {"CoCreateInstance", hr};
    const ComRef<IWbemLocator> locator(rawLocator);
    IWbemServices *rawServices = nullptr;
    hr = locator->ConnectServer(_bstr_t(L"\\\\.\\root\\cimv2"), nullptr, nullptr, nullptr, 0,
                                nullptr, nullptr, &rawServices);
    if (FAILED(hr))
        return {"ConnectServer", hr};
    const ComRef<IWbemServices> services(rawServices);
    hr = CoSetProxyBlanket(services.get(), RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT, nullptr,
                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (FAILED(hr))
        return {"CoSetProxyBlanket", hr};
    IEnumWbemClassObject *rawEnumerator = nullptr;
    hr = services->ExecQuery(_bstr_t(L"WQL"), _bstr_t(L"SELECT * FROM Test_Row"), 0x30, nullptr,
                             &rawEnumerator);
    if (FAILED(hr))
        return {"ExecQuery", hr};
    const ComRef<IEnumWbemClassObject> enumerator(rawEnumerator);
    Outcome outcome;
    for (;;) {
        IWbemClassObject *rawRow = nullptr;
        ULONG returned = 0;
        hr = enumerator->Next(WBEM_INFINITE, 1, &rawRow, &returned);
        if (FAILED(hr))
            return {"Next", hr, outcome.rows};
        if (returned == 0)
            break;
        const ComRef<IWbemClassObject> row(rawRow);
        ScopedVariant value;
        hr = row->Get(L"Name", 0, &value.value, nullptr, nullptr);
        if (FAILED(hr))
            return {"Get", hr, outcome.rows};
        ScopedArray names;
        hr = row->GetNames(nullptr, 0, nullptr, &names.array);
        if (FAILED(hr))
            return {"GetNames", hr, outcome.rows};
        ++outcome.rows;
    }
    return outcome;
}

} // namespace

class tst_SeamFaults : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::scriptRows(L"Test_Row",
                                {{{L"Name", Value::text(L"one")}},
                                 {{L"Name", Value::text(L"two")}},
                                 {{L"Name", Value::text(L"three")}}});
    }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void failStep_data();
    void failStep();
    void allocationFailureThrows();
    void resetClearsFaults();
};

void tst_SeamFaults::failStep_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("afterCalls");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("failedStep");
    QTest::addColumn<int>("rowsBefore");
    QTest::addColumn<QString>("secondRun");

    const QString clean; // the second run succeeds
    // Failing each connect step at its first call is the WMI client's test.
    QTest::newRow("first Next") << Step::Next << 0 << 1 << "Next" << 0 << clean;
    QTest::newRow("third Next") << Step::Next << 2 << 1 << "Next" << 2 << clean;
    QTest::newRow("second Get") << Step::Get << 1 << 1 << "Get" << 1 << clean;
    QTest::newRow("GetNames") << Step::GetNames << 0 << 1 << "GetNames" << 0 << clean;
    QTest::newRow("every ExecQuery")
            << Step::ExecQuery << 0 << -1 << "ExecQuery" << 0 << "ExecQuery";
    QTest::newRow("Next twice") << Step::Next << 0 << 2 << "Next" << 0 << "Next";
    QTest::newRow("spans two runs") << Step::Next << 5 << 1 << "" << 3 << "Next";
}

// Guards against injected failures at the wrong call, the wrong number of
// times or with another code, and against any step leaking what it had
// obtained when a later one fails.
void tst_SeamFaults::failStep()
{
    QFETCH(Step, step);
    QFETCH(int, afterCalls);
    QFETCH(int, times);
    QFETCH(QString, failedStep);
    QFETCH(int, rowsBefore);
    QFETCH(QString, secondRun);

    const HRESULT injected = HRESULT(0x80041099);
    winapi_seam::failStep(step, injected, afterCalls, times);
    const Outcome first = clientRun();
    QCOMPARE(first.failedStep, failedStep);
    QCOMPARE(hex(first.hr), hex(failedStep.isEmpty() ? S_OK : injected));
    QCOMPARE(first.rows, rowsBefore);
    verifyNothingLive();

    const Outcome second = clientRun();
    QCOMPARE(second.failedStep, secondRun);
    if (secondRun.isEmpty())
        QCOMPARE(second.rows, 3);
}

// Guards against a failed BSTR allocation going unnoticed: _bstr_t must
// throw _com_error(E_OUTOFMEMORY) and leave nothing allocated.
void tst_SeamFaults::allocationFailureThrows()
{
    winapi_seam::failStep(Step::SysAllocString, S_OK, 1, 1);
    const _bstr_t first(L"fine");
    HRESULT thrown = S_OK;
    try {
        const _bstr_t second(L"fails");
        QFAIL("no exception");
    } catch (const _com_error &error) {
        thrown = error.Error();
    }
    QCOMPARE(hex(thrown), hex(E_OUTOFMEMORY));
    QCOMPARE(winapi_seam::counters().bstrs, 1L);
    const _bstr_t third(L"fine again");
    QCOMPARE(winapi_seam::counters().bstrs, 2L);

    // Only the users' allocations fail: the stand-in still hands out text.
    Session session;
    const _bstr_t language(L"WQL");
    const _bstr_t query(L"SELECT * FROM Test_Row");
    winapi_seam::failStep(Step::SysAllocString, S_OK, 0, -1);
    QVERIFY(!SysAllocString(L"x"));
    QVERIFY(!SysAllocStringLen(L"x", 1));
    IEnumWbemClassObject *rawEnumerator = nullptr;
    QCOMPARE(session.services->ExecQuery(language, query, 0x30, nullptr, &rawEnumerator),
             WBEM_S_NO_ERROR);
    const ComRef<IEnumWbemClassObject> enumerator(rawEnumerator);
    IWbemClassObject *rawRow = nullptr;
    ULONG returned = 0;
    QCOMPARE(enumerator->Next(WBEM_INFINITE, 1, &rawRow, &returned), WBEM_S_NO_ERROR);
    const ComRef<IWbemClassObject> row(rawRow);
    QCOMPARE(readProperty(rawRow, "Name"), QStringLiteral("'one'"));
}

// Guards against faults or scripts surviving reset() into the next test.
void tst_SeamFaults::resetClearsFaults()
{
    winapi_seam::failStep(Step::ExecQuery, E_FAIL);
    winapi_seam::reset();
    winapi_seam::scriptRows(L"Test_Row", {{{L"Name", Value::text(L"only")}}});
    const Outcome outcome = clientRun();
    QCOMPARE(outcome.failedStep, QString());
    QCOMPARE(outcome.rows, 1);
    QCOMPARE(winapi_seam::executedQueries().size(), std::size_t(1));
    winapi_seam::reset();
    QVERIFY(winapi_seam::executedQueries().empty());
    QVERIFY(winapi_seam::connectCalls().empty());
}

QTEST_GUILESS_MAIN(tst_SeamFaults)
#include "tst_seamfaults.moc"
