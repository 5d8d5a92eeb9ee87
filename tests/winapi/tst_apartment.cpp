// Apartments per thread and the process's one-time security set-up.
#include "WinapiTestSupport.h"

#include <thread>

class tst_Apartment : public QObject
{
    Q_OBJECT

private slots:
    void init() { winapi_seam::reset(); }
    void cleanup()
    {
        while (winapi_seam::counters().apartmentDepth > 0)
            CoUninitialize();
        winapi_seam::reset();
        verifyNothingLive();
    }

    void sequence_data();
    void sequence();
    void threadsHaveTheirOwnApartment();
};

void tst_Apartment::sequence_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("answers"); // "-" for CoUninitialize and reset
    QTest::addColumn<long>("depth");

    using L = QStringList;
    const QString ok = hex(S_OK);
    const QString notInitialised = hex(CO_E_NOTINITIALIZED);
    const QString changedMode = hex(RPC_E_CHANGED_MODE);
    const QString tooLate = hex(RPC_E_TOO_LATE);
    // clang-format off
    QTest::newRow("first STA") << L{"sta"} << L{ok} << 1L;
    QTest::newRow("nested STA") << L{"sta", "sta"} << L{ok, hex(S_FALSE)} << 2L;
    QTest::newRow("MTA into STA") << L{"sta", "mta"} << L{ok, changedMode} << 1L;
    QTest::newRow("STA into MTA") << L{"mta", "sta"} << L{ok, changedMode} << 1L;
    QTest::newRow("balanced") << L{"sta", "sta", "uninit", "uninit"} << L{ok, hex(S_FALSE), "-", "-"} << 0L;
    QTest::newRow("model free again after the last uninit") << L{"sta", "uninit", "mta"} << L{ok, "-", ok} << 1L;
    QTest::newRow("failed init needs no uninit") << L{"sta", "mta", "uninit"} << L{ok, changedMode, "-"} << 0L;
    QTest::newRow("extra uninit is harmless") << L{"uninit", "sta"} << L{"-", ok} << 1L;
    QTest::newRow("create before init") << L{"create"} << L{notInitialised} << 0L;
    QTest::newRow("create after init") << L{"sta", "create"} << L{ok, ok} << 1L;
    QTest::newRow("create after the last uninit") << L{"sta", "uninit", "create"} << L{ok, "-", notInitialised} << 0L;
    QTest::newRow("reserved pointer") << L{"reserved"} << L{hex(E_INVALIDARG)} << 0L;
    QTest::newRow("security, first call") << L{"sta", "security"} << L{ok, ok} << 1L;
    QTest::newRow("security, second call too late") << L{"sta", "security", "security"} << L{ok, ok, tooLate} << 1L;
    QTest::newRow("security too late across apartments") << L{"sta", "security", "uninit", "sta", "security"} << L{ok, ok, "-", ok, tooLate} << 1L;
    QTest::newRow("security again after a reset") << L{"sta", "security", "reset", "security", "security"} << L{ok, ok, "-", ok, tooLate} << 1L;
    QTest::newRow("security before init") << L{"security"} << L{notInitialised} << 0L;
    QTest::newRow("failed security does not use up the one time") << L{"security", "sta", "security"} << L{notInitialised, ok, ok} << 1L;
    QTest::newRow("security with a bad level") << L{"sta", "badlevel", "security"} << L{ok, hex(E_INVALIDARG), ok} << 1L;
    // clang-format on
}

// Guards against nested, mixed-model or unbalanced initialisation giving
// the wrong answer or leaving the depth wrong, COM working before it is
// initialised, and security that can be set twice per process (the host
// sets it before the plug-in does) or is used up by a failing call.
void tst_Apartment::sequence()
{
    QFETCH(QStringList, steps);

    QStringList seen;
    for (const QString &step : steps) {
        if (step == "sta") {
            seen << hex(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        } else if (step == "mta") {
            seen << hex(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        } else if (step == "reserved") {
            int reserved = 0;
            seen << hex(CoInitializeEx(&reserved, COINIT_APARTMENTTHREADED));
        } else if (step == "uninit" || step == "reset") {
            step == "reset" ? winapi_seam::reset() : CoUninitialize();
            seen << "-";
        } else if (step == "security" || step == "badlevel") {
            const DWORD level = step == "badlevel" ? 99 : RPC_C_AUTHN_LEVEL_DEFAULT;
            seen << hex(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, level,
                                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE,
                                             nullptr));
        } else if (step == "create") {
            IWbemLocator *locator = nullptr;
            const HRESULT hr =
                    CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IWbemLocator, reinterpret_cast<void **>(&locator));
            seen << hex(hr);
            QCOMPARE(locator != nullptr, SUCCEEDED(hr));
            if (locator)
                locator->Release();
        }
    }
    QTEST(seen, "answers");
    QTEST(winapi_seam::counters().apartmentDepth, "depth");
}

// Guards against one apartment shared by all threads: a worker's MTA must
// not clash with this thread's STA, nor change its depth.
void tst_Apartment::threadsHaveTheirOwnApartment()
{
    QCOMPARE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    HRESULT workerInit = E_FAIL;
    long workerDepth = -1;
    long workerDepthAfter = -1;
    std::thread worker([&] {
        workerInit = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        workerDepth = winapi_seam::counters().apartmentDepth;
        CoUninitialize();
        workerDepthAfter = winapi_seam::counters().apartmentDepth;
    });
    worker.join();
    QCOMPARE(workerInit, S_OK);
    QCOMPARE(workerDepth, 1L);
    QCOMPARE(workerDepthAfter, 0L);
    QCOMPARE(winapi_seam::counters().apartmentDepth, 1L);
    CoUninitialize();
}

QTEST_GUILESS_MAIN(tst_Apartment)
#include "tst_apartment.moc"
