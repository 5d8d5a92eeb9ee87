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
                            {{{L"Zeta", Value::text(L"first")},
                              {L"Alpha", Value::int32(7)},
                              {L"Mid", Value::null()}},
                             {{L"Zeta", Value::text(L"second")},
                              {L"Alpha", Value::int32(8)},
                              {L"Mid", Value::boolean(true)}}});
}

// The scripted properties, without the system properties (__CLASS, ...)
// that WMI may list as well.
QStringList ownNames(const QStringList &names)
{
    QStringList own;
    for (const QString &name : names) {
        if (!name.startsWith(QLatin1String("__")))
            own.append(name);
    }
    return own;
}

} // namespace

class tst_WMIObject : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        scriptProbeRows();
        QVERIFY(connection.connect());
    }
    void cleanup()
    {
        connection.close();
        winapi_seam::reset();
        verifyNothingLive();
    }

    void get_data();
    void get();
    void propertyNames();
    void hasProperty_data();
    void hasProperty();
    void copiesShareOneReference();

private:
    WMIConnection connection;
};

// Guards against a failed read writing into the caller's VARIANT (a stale
// value would be taken for the property) and against reading the wrong row
// or property.
void tst_WMIObject::get_data()
{
    QTest::addColumn<bool>("emptyObject");
    QTest::addColumn<QString>("property");
    QTest::addColumn<bool>("injectFailure");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("text") << false << "Zeta" << false << true << int(VT_BSTR) << "second";
    QTest::newRow("boolean") << false << "Mid" << false << true << int(VT_BOOL) << QString();
    QTest::newRow("unknown property") << false << "Nope" << false << false << int(VT_I4) << "";
    QTest::newRow("Get fails") << false << "Zeta" << true << false << int(VT_I4) << "";
    QTest::newRow("empty object") << true << "Zeta" << false << false << int(VT_I4) << "";
}

void tst_WMIObject::get()
{
    QFETCH(bool, emptyObject);
    QFETCH(QString, property);
    QFETCH(bool, injectFailure);
    QFETCH(bool, ok);
    QFETCH(int, type);
    QFETCH(QString, text);

    const QVector<WMIObject> rows = connection.query(kProbeQuery);
    QCOMPARE(rows.size(), 2);
    const WMIObject row = emptyObject ? WMIObject() : rows.at(1);
    if (injectFailure)
        winapi_seam::failStep(Step::Get, WBEM_E_FAILED);

    // A marker the read must either replace or leave alone.
    ScopedVariant value;
    value.ptr()->vt = VT_I4;
    value.ptr()->lVal = 4711;
    QCOMPARE(row.get(property, value.ptr()), ok);
    QCOMPARE(int(value.type()), type);
    if (value.type() == VT_I4)
        QCOMPARE(int(value.get().lVal), 4711);
    if (value.type() == VT_BSTR)
        QCOMPARE(QString::fromWCharArray(value.get().bstrVal), text);
    // Without a VARIANT to fill there is nothing to read into.
    QVERIFY(!row.get(property, nullptr));
}

// Guards against names lost, reordered or leaked (each BSTR copied out of
// the array and the array itself must be freed), and against a failed
// GetNames giving stale names.
void tst_WMIObject::propertyNames()
{
    const QVector<WMIObject> rows = connection.query(kProbeQuery);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(ownNames(rows.at(0).propertyNames(0)), (QStringList{"Zeta", "Alpha", "Mid"}));
    QVERIFY(WMIObject().propertyNames(0).isEmpty());

    winapi_seam::failStep(Step::GetNames, WBEM_E_FAILED);
    QVERIFY(rows.at(0).propertyNames(0).isEmpty());
    QVERIFY(!rows.at(0).hasProperty(QStringLiteral("Zeta")));
}

// Guards against a case-insensitive or prefix match.
void tst_WMIObject::hasProperty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");

    QTest::newRow("exact") << "Alpha" << true;
    QTest::newRow("null valued") << "Mid" << true;
    QTest::newRow("lower case") << "alpha" << false;
    QTest::newRow("upper case") << "ALPHA" << false;
    QTest::newRow("prefix") << "Alph" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_WMIObject::hasProperty()
{
    QFETCH(QString, name);
    QFETCH(bool, found);

    const QVector<WMIObject> rows = connection.query(kProbeQuery);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).hasProperty(name), found);
}

// Guards against a copy releasing the class object early (the survivor
// would read freed memory) or holding an extra reference (a leak).
void tst_WMIObject::copiesShareOneReference()
{
    const long connectionOnly = winapi_seam::counters().interfaces;
    WMIObject kept;
    {
        const QVector<WMIObject> rows = connection.query(kProbeQuery);
        QCOMPARE(winapi_seam::counters().interfaces, connectionOnly + 2);
        kept = rows.at(0);
        WMIObject another = kept;
        QVERIFY(another == kept);
    }
    QCOMPARE(winapi_seam::counters().interfaces, connectionOnly + 1);
    {
        ScopedVariant value;
        QVERIFY(kept.get(QStringLiteral("Zeta"), value.ptr()));
        QCOMPARE(QString::fromWCharArray(value.get().bstrVal), QStringLiteral("first"));
    }
    kept = WMIObject();
    QCOMPARE(winapi_seam::counters().interfaces, connectionOnly);
}

QTEST_GUILESS_MAIN(tst_WMIObject)
#include "tst_wmiobject.moc"
