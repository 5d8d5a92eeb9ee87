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
    void security_data();
    void security();
};

void tst_Apartment::sequence_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<long>("depth");

    QTest::newRow("first STA") << QStringList{"sta"} << QStringList{hex(S_OK)} << 1L;
    QTest::newRow("nested STA") << QStringList{"sta", "sta"} << QStringList{hex(S_OK), hex(S_FALSE)}
                                << 2L;
    QTest::newRow("MTA into STA") << QStringList{"sta", "mta"}
                                  << QStringList{hex(S_OK), hex(RPC_E_CHANGED_MODE)} << 1L;
    QTest::newRow("STA into MTA") << QStringList{"mta", "sta"}
                                  << QStringList{hex(S_OK), hex(RPC_E_CHANGED_MODE)} << 1L;
    QTest::newRow("balanced") << QStringList{"sta", "sta", "uninit", "uninit"}
                              << QStringList{hex(S_OK), hex(S_FALSE), "-", "-"} << 0L;
    QTest::newRow("model free again after the last uninit")
            << QStringList{"sta", "uninit", "mta"} << QStringList{hex(S_OK), "-", hex(S_OK)} << 1L;
    QTest::newRow("failed init needs no uninit")
            << QStringList{"sta", "mta", "uninit"}
            << QStringList{hex(S_OK), hex(RPC_E_CHANGED_MODE), "-"} << 0L;
    QTest::newRow("extra uninit is harmless")
            << QStringList{"uninit", "sta"} << QStringList{"-", hex(S_OK)} << 1L;
    QTest::newRow("create before init")
            << QStringList{"create"} << QStringList{hex(CO_E_NOTINITIALIZED)} << 0L;
    QTest::newRow("create after init")
            << QStringList{"sta", "create"} << QStringList{hex(S_OK), hex(S_OK)} << 1L;
    QTest::newRow("create after the last uninit")
            << QStringList{"sta", "uninit", "create"}
            << QStringList{hex(S_OK), "-", hex(CO_E_NOTINITIALIZED)} << 0L;
    QTest::newRow("reserved pointer")
            << QStringList{"reserved"} << QStringList{hex(E_INVALIDARG)} << 0L;
}

// Guards against nested, mixed-model or unbalanced initialisation giving
// the wrong answer or leaving the depth wrong, and COM working before it is
// initialised.
void tst_Apartment::sequence()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, answers);
    QFETCH(long, depth);

    QStringList seen;
    for (const QString &step : steps) {
        if (step == "sta") {
            seen << hex(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        } else if (step == "mta") {
            seen << hex(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        } else if (step == "reserved") {
            int reserved = 0;
            seen << hex(CoInitializeEx(&reserved, COINIT_APARTMENTTHREADED));
        } else if (step == "uninit") {
            CoUninitialize();
            seen << "-";
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
    QCOMPARE(seen, answers);
    QCOMPARE(winapi_seam::counters().apartmentDepth, depth);
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

void tst_Apartment::security_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("answers");

    QTest::newRow("first call") << QStringList{"init", "security"} << QStringList{hex(S_OK)};
    QTest::newRow("second call too late") << QStringList{"init", "security", "security"}
                                          << QStringList{hex(S_OK), hex(RPC_E_TOO_LATE)};
    QTest::newRow("too late across apartments")
            << QStringList{"init", "security", "uninit", "init", "security"}
            << QStringList{hex(S_OK), hex(RPC_E_TOO_LATE)};
    QTest::newRow("reset allows it once more")
            << QStringList{"init", "security", "reset", "security", "security"}
            << QStringList{hex(S_OK), hex(S_OK), hex(RPC_E_TOO_LATE)};
    QTest::newRow("before init") << QStringList{"security"}
                                 << QStringList{hex(CO_E_NOTINITIALIZED)};
    QTest::newRow("failed call does not use up the one time")
            << QStringList{"security", "init", "security"}
            << QStringList{hex(CO_E_NOTINITIALIZED), hex(S_OK)};
    QTest::newRow("bad level") << QStringList{"init", "badlevel", "security"}
                               << QStringList{hex(E_INVALIDARG), hex(S_OK)};
}

// Guards against security that can be set twice per process (the host sets
// it before the plug-in does), or that is used up by a failing call.
void tst_Apartment::security()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, answers);

    QStringList seen;
    for (const QString &step : steps) {
        if (step == "init") {
            QVERIFY(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        } else if (step == "uninit") {
            CoUninitialize();
        } else if (step == "reset") {
            winapi_seam::reset();
        } else {
            const DWORD level = step == "badlevel" ? 99 : RPC_C_AUTHN_LEVEL_DEFAULT;
            seen << hex(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, level,
                                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE,
                                             nullptr));
        }
    }
    QCOMPARE(seen, answers);
}

QTEST_GUILESS_MAIN(tst_Apartment)
#include "tst_apartment.moc"
