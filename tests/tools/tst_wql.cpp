#include "tests/DataRow.h"
#include "tests/SeamFixture.h"
#include "wql/WqlRunner.h"

#include <winapi/WinapiSeam.h>

#include <QProcess>
#include <QtTest>

using winapi_seam::Step;
using winapi_seam::Value;

namespace {

struct Output
{
    QString out;
    QString err;
    int status = -1;
};

Output runQueries(const QStringList &queries, bool json)
{
    Output output;
    QTextStream out(&output.out);
    QTextStream err(&output.err);
    WqlRunner runner(out, err, json);
    output.status = runner.runQueries(queries);
    out.flush();
    err.flush();
    return output;
}

void scriptProbeRows()
{
    winapi_seam::scriptRows(L"Uis_Probe",
                            {{{L"Name", Value::text(L"first \"one\"")},
                              {L"Count", Value::int32(-3)},
                              {L"Enabled", Value::boolean(true)},
                              {L"Nothing", Value::null()},
                              {L"List", Value::textArray({L"a", L"b"})}},
                             {{L"Name", Value::text(L"second")}}});
}

} // namespace

class tst_Wql : public QObject
{
    Q_OBJECT

private slots:
    void init() { winapi_seam::reset(); }
    void cleanup() { endSeamTest(); }

    void jsonRows();
    void failingQueryDoesNotStopOthers();
    void failureReports_data();
    void failureReports();
    void commandLine_data();
    void commandLine();
};

// Guards against rows out of order, names sorted instead of in GetNames
// order, wrong type names, and values not escaped or typed as JSON.
void tst_Wql::jsonRows()
{
    scriptProbeRows();
    const Output output = runQueries({QStringLiteral("SELECT * FROM Uis_Probe")}, true);
    QCOMPARE(output.status, int(WqlRunner::Success));
    const QStringList lines = output.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0),
             QStringLiteral(R"({"Name":{"type":"VT_BSTR","value":"first \"one\""},)"
                            R"("Count":{"type":"VT_I4","value":-3},)"
                            R"("Enabled":{"type":"VT_BOOL","value":true},)"
                            R"("Nothing":{"type":"VT_NULL","value":null},)"
                            R"("List":{"type":"VT_ARRAY|VT_BSTR","value":["a","b"]}})"));
}

// Guards against a bad query hiding the rows of the good ones around it or
// being reported as a success.
void tst_Wql::failingQueryDoesNotStopOthers()
{
    scriptProbeRows();
    const QString good = QStringLiteral("SELECT Name FROM Uis_Probe");
    const QString bad = QStringLiteral("SELECT FROM WHERE");
    const Output output = runQueries({bad, good, bad}, false);
    QCOMPARE(output.status, int(WqlRunner::Failure));
    QCOMPARE(output.err.count(QStringLiteral("WBEM_E_INVALID_QUERY")), 2);
    QVERIFY2(output.out.contains("Name = first \"one\"\n[2]\n  Name = second"),
             qPrintable(output.out));
}

// Guards against a failure looking like an empty result (exit 0, no
// message), a wrong call, HRESULT or name in the message, and an apartment
// left entered after a failed connect.
void tst_Wql::failureReports_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<HRESULT>("hr");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    row("no rows is no error", Step::SysAllocString, S_OK, 0, QString());
    row("invalid query", Step::ExecQuery, WBEM_E_INVALID_QUERY, 1,
        "IWbemServices::ExecQuery failed with 0x80041017 (WBEM_E_INVALID_QUERY)");
    row("enumerator", Step::Next, WBEM_E_CALL_CANCELLED, 1,
        "IEnumWbemClassObject::Next failed with 0x80041032");
    row("namespace", Step::ConnectServer, WBEM_E_INVALID_NAMESPACE, 1,
        "IWbemLocator::ConnectServer failed with 0x8004100e (WBEM_E_INVALID_NAMESPACE)");
    row("security", Step::CoInitializeSecurity, E_ACCESSDENIED, 1,
        "CoInitializeSecurity failed with 0x80070005");
    row("apartment", Step::CoInitializeEx, RPC_E_CHANGED_MODE, 1,
        "CoInitializeEx failed with 0x80010106 (RPC_E_CHANGED_MODE)");
    row("out of memory", Step::SysAllocString, E_OUTOFMEMORY, 1, "0x8007000e (E_OUTOFMEMORY)");
}

void tst_Wql::failureReports()
{
    QFETCH(Step, step);
    QFETCH(HRESULT, hr);
    QFETCH(QString, message);

    winapi_seam::scriptRows(L"Uis_Empty", {});
    if (hr != S_OK)
        winapi_seam::failStep(step, hr);
    const Output output = runQueries({QStringLiteral("SELECT * FROM Uis_Empty")}, true);
    // wql leaves COM as it found it, whichever step failed (cleanup()).
    QTEST(output.status, "status");
    QCOMPARE(output.out, QString());
    if (message.isEmpty())
        QCOMPARE(output.err, QString());
    else
        QVERIFY2(output.err.contains(message), qPrintable(output.err));
}

// Guards against bad options being accepted, exiting with 0 or 1, or
// without a message, and --help failing.
void tst_Wql::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrText");
    QTest::addColumn<QString>("stdoutText");

    row("help", QStringList{"--help"}, 0, QString(), "--machine");
    row("unknown option", QStringList{"--bogus", "SELECT * FROM Win32_BIOS"}, 2,
        "Unknown option 'bogus'", QString());
    row("no query", QStringList(), 2, "no query given", QString());
    row("machine with query", QStringList{"--machine", "SELECT * FROM Win32_BIOS"}, 2,
        "--machine takes no query", QString());
    row("blank query", QStringList{"  "}, 2, "empty query", QString());
    row("machine", QStringList{"--machine"}, 0, QString(), "systemLocaleName:");
}

void tst_Wql::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, stderrText);
    QFETCH(QString, stdoutText);

    QProcess wql;
    wql.start(QStringLiteral(WQL_EXECUTABLE), arguments);
    QVERIFY(wql.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(wql.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(wql.readAllStandardError());
    QCOMPARE(wql.exitStatus(), QProcess::NormalExit);
    QTEST(wql.exitCode(), "exitCode");
    if (!stderrText.isEmpty())
        QVERIFY2(err.contains(stderrText), qPrintable(err));
    if (!stdoutText.isEmpty())
        QVERIFY2(out.contains(stdoutText), qPrintable(out));
}

QTEST_GUILESS_MAIN(tst_Wql)
#include "tst_wql.moc"
