// Failures injected through the seam: a step fails at the call asked for,
// as often as asked, with the code asked for, and nothing leaks on the way
// out. (Failing each step of a real client is the WMI client's test.)
#include "WinapiTestSupport.h"

using winapi_seam::Step;
using winapi_seam::Value;

class tst_SeamFaults : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::recordCalls(true);
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
    QTest::addColumn<QStringList>("runs"); // per run: "ok" or "failed", and the rows read

    // A run is one ExecQuery and four calls of Next: three rows and the end.
    using L = QStringList;
    // clang-format off
    QTest::newRow("first ExecQuery") << Step::ExecQuery << 0 << 1 << L{"failed 0", "ok 3", "ok 3"};
    QTest::newRow("second ExecQuery") << Step::ExecQuery << 1 << 1 << L{"ok 3", "failed 0", "ok 3"};
    QTest::newRow("every ExecQuery") << Step::ExecQuery << 0 << -1 << L{"failed 0", "failed 0", "failed 0"};
    QTest::newRow("first Next") << Step::Next << 0 << 1 << L{"failed 0", "ok 3", "ok 3"};
    QTest::newRow("third Next") << Step::Next << 2 << 1 << L{"failed 2", "ok 3", "ok 3"};
    QTest::newRow("Next twice") << Step::Next << 0 << 2 << L{"failed 0", "failed 0", "ok 3"};
    QTest::newRow("spans two runs") << Step::Next << 5 << 1 << L{"ok 3", "failed 1", "ok 3"};
    // clang-format on
}

// Guards against injected failures at the wrong call, the wrong number of
// times or with another code, and against a failing call leaking what the
// run had obtained.
void tst_SeamFaults::failStep()
{
    QFETCH(Step, step);
    QFETCH(int, afterCalls);
    QFETCH(int, times);

    const HRESULT injected = HRESULT(0x80041099);
    winapi_seam::failStep(step, injected, afterCalls, times);
    QStringList runs;
    for (int run = 0; run < 3; ++run) {
        QList<QStringList> rows;
        HRESULT hr = S_OK;
        {
            Session session;
            hr = session.query(QStringLiteral("SELECT * FROM Test_Row"), &rows);
        }
        verifyNothingLive();
        QVERIFY2(hr == S_OK || hr == injected, qPrintable(hex(hr)));
        runs << QStringLiteral("%1 %2").arg(hr == S_OK ? "ok" : "failed").arg(rows.size());
    }
    QTEST(runs, "runs");
}

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

// Guards against faults, scripts or logs surviving reset() into the next test.
void tst_SeamFaults::resetClearsFaults()
{
    winapi_seam::failStep(Step::ExecQuery, E_FAIL);
    winapi_seam::reset();
    winapi_seam::scriptRows(L"Test_Row", {{{L"Name", Value::text(L"only")}}});
    {
        Session session;
        QList<QStringList> rows;
        QCOMPARE(hex(session.query(QStringLiteral("SELECT * FROM Test_Row"), &rows)), hex(S_OK));
        QCOMPARE(rows.size(), 1);
    }
    QCOMPARE(winapi_seam::executedQueries().size(), std::size_t(1));
    winapi_seam::reset();
    QVERIFY(winapi_seam::executedQueries().empty());
    QVERIFY(winapi_seam::connectCalls().empty());
}

QTEST_GUILESS_MAIN(tst_SeamFaults)
#include "tst_seamfaults.moc"
