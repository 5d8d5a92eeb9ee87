// Result objects and GetObject: property reads by name, the VARIANT types
// handed out, the name list, and object paths.
#include "WinapiTestSupport.h"

using winapi_seam::Value;

namespace {

Rows deviceRows()
{
    return {{{L"Id", Value::int32(1)},
             {L"Name", Value::text(L"Alpha")},
             {L"Enabled", Value::boolean(true)},
             {L"Tags", Value::textArray({L"a", L"b"})},
             {L"Note", Value::null()}},
            {{L"Id", Value::int32(2)},
             {L"Name", Value::text(L"beta")},
             {L"Enabled", Value::boolean(false)},
             {L"Tags", Value::textArray({})},
             {L"Note", Value::text(L"x")}}};
}

// The first row of the test class, owned by the caller.
IWbemClassObject *firstRow(IWbemServices *services)
{
    IEnumWbemClassObject *enumerator = nullptr;
    if (FAILED(services->ExecQuery(_bstr_t(L"WQL"), _bstr_t(L"SELECT * FROM Test_Device"), 0x30,
                                   nullptr, &enumerator)))
        return nullptr;
    const ComRef<IEnumWbemClassObject> owner(enumerator);
    IWbemClassObject *object = nullptr;
    ULONG returned = 0;
    enumerator->Next(WBEM_INFINITE, 1, &object, &returned);
    return returned == 1 ? object : nullptr;
}

} // namespace

class tst_ClassObject : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::scriptRows(L"Test_Device", deviceRows());
    }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void get_data();
    void get();
    void getNames_data();
    void getNames();
    void getObject_data();
    void getObject();
};

void tst_ClassObject::get_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("hr");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("cimType");

    QTest::newRow("text") << "Name" << int(WBEM_S_NO_ERROR) << "'Alpha'" << int(CIM_STRING);
    QTest::newRow("name in other case")
            << "nAME" << int(WBEM_S_NO_ERROR) << "'Alpha'" << int(CIM_STRING);
    QTest::newRow("integer") << "Id" << int(WBEM_S_NO_ERROR) << "i:1" << int(CIM_SINT32);
    QTest::newRow("boolean is VARIANT_TRUE")
            << "Enabled" << int(WBEM_S_NO_ERROR) << "b:true" << int(CIM_BOOLEAN);
    QTest::newRow("string array") << "Tags" << int(WBEM_S_NO_ERROR) << "[a|b]"
                                  << int(CIM_STRING | CIM_FLAG_ARRAY);
    QTest::newRow("null") << "Note" << int(WBEM_S_NO_ERROR) << "null" << int(CIM_STRING);
    QTest::newRow("class name") << "__CLASS" << int(WBEM_S_NO_ERROR) << "'Test_Device'"
                                << int(CIM_STRING);
    QTest::newRow("unknown") << "Nope" << int(WBEM_E_NOT_FOUND) << "marker" << -1;
    QTest::newRow("prefix of a name") << "Nam" << int(WBEM_E_NOT_FOUND) << "marker" << -1;
    QTest::newRow("empty name") << "" << int(WBEM_E_NOT_FOUND) << "marker" << -1;
}

// Guards against wrong VARIANT types (a 32-bit integer that is not VT_I4, a
// boolean that is not VARIANT_TRUE), case-sensitive look-up, and a failed
// read that touches the caller's VARIANT.
void tst_ClassObject::get()
{
    QFETCH(QString, name);
    QFETCH(int, hr);
    QFETCH(QString, value);
    QFETCH(int, cimType);

    Session session;
    const ComRef<IWbemClassObject> row(firstRow(session.services.get()));
    QVERIFY(row);
    ScopedVariant read;
    read.value.vt = VT_BSTR;
    const BSTR marker = SysAllocString(L"marker");
    read.value.bstrVal = marker;
    CIMTYPE type = -1;
    LONG flavor = -1;
    const std::wstring wideName = wide(name);
    const HRESULT answer = row->Get(wideName.c_str(), 0, &read.value, &type, &flavor);
    QCOMPARE(hex(answer), hex(hr));
    if (FAILED(answer)) {
        QCOMPARE(describe(read.value), QStringLiteral("'marker'"));
        QCOMPARE(type, CIMTYPE(-1));
        return;
    }
    // Get overwrites without clearing, as on Windows: the marker is ours.
    SysFreeString(marker);
    QCOMPARE(describe(read.value), value);
    QCOMPARE(int(type), cimType);
    QCOMPARE(row->Get(wideName.c_str(), 0, nullptr, nullptr, nullptr), WBEM_S_NO_ERROR);
}

void tst_ClassObject::getNames_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("names");

    const QStringList all{"Id", "Name", "Enabled", "Tags", "Note"};
    QTest::newRow("always") << int(WBEM_FLAG_ALWAYS) << all;
    QTest::newRow("non-system") << int(WBEM_FLAG_NONSYSTEM_ONLY) << all;
    QTest::newRow("system only") << int(WBEM_FLAG_SYSTEM_ONLY) << QStringList();
}

// Guards against names lost, reordered or left unfreed, and against the
// origin flags being ignored.
void tst_ClassObject::getNames()
{
    QFETCH(int, flags);
    QFETCH(QStringList, names);

    Session session;
    const ComRef<IWbemClassObject> row(firstRow(session.services.get()));
    QVERIFY(row);
    QCOMPARE(propertyNames(row.get(), flags), names);
    QCOMPARE(row->GetNames(nullptr, 0, nullptr, nullptr), WBEM_E_INVALID_PARAMETER);
}

void tst_ClassObject::getObject_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("hr");
    QTest::addColumn<QString>("name");

    const int ok = WBEM_S_NO_ERROR;
    const int notFound = WBEM_E_NOT_FOUND;
    const int malformed = WBEM_E_INVALID_OBJECT_PATH;
    QTest::newRow("integer key") << "Test_Device.Id=2" << ok << "'beta'";
    QTest::newRow("quoted key, other case") << "Test_Device.Name=\"ALPHA\"" << ok << "'Alpha'";
    QTest::newRow("class and key in other case") << "test_device.NAME='beta'" << ok << "'beta'";
    QTest::newRow("namespace prefix") << "\\\\.\\root\\cimv2:Test_Device.Id=1" << ok << "'Alpha'";
    QTest::newRow("two keys") << "Test_Device.Id=2,Name=\"beta\"" << ok << "'beta'";
    QTest::newRow("two keys, one differs") << "Test_Device.Id=2,Name=\"Alpha\"" << notFound << "";
    QTest::newRow("boolean key") << "Test_Device.Enabled=FALSE" << ok << "'beta'";
    QTest::newRow("singleton") << "Test_Device=@" << ok << "'Alpha'";
    QTest::newRow("the class itself") << "Test_Device" << ok << "null";
    QTest::newRow("no such instance") << "Test_Device.Id=9" << notFound << "";
    QTest::newRow("no such class") << "Test_Nothing.Id=1" << notFound << "";
    QTest::newRow("unknown key") << "Test_Device.Bogus=1" << malformed << "";
    QTest::newRow("key without value") << "Test_Device.Id=" << malformed << "";
    QTest::newRow("dot without key") << "Test_Device." << malformed << "";
    QTest::newRow("no class") << ".Id=1" << malformed << "";
    QTest::newRow("trailing comma") << "Test_Device.Id=2," << malformed << "";
    QTest::newRow("unterminated string") << "Test_Device.Name=\"beta" << malformed << "";
    QTest::newRow("operator other than =") << "Test_Device.Id>1" << malformed << "";
    QTest::newRow("empty") << "" << malformed << "";
}

// Guards against paths that find the wrong instance, match keys
// case-sensitively, or are taken when malformed.
void tst_ClassObject::getObject()
{
    QFETCH(QString, path);
    QFETCH(int, hr);
    QFETCH(QString, name);

    Session session;
    IWbemClassObject *object = reinterpret_cast<IWbemClassObject *>(this);
    const HRESULT answer =
            session.services->GetObject(_bstr_t(wide(path).c_str()), 0, nullptr, &object, nullptr);
    QCOMPARE(hex(answer), hex(hr));
    if (FAILED(answer)) {
        QVERIFY(!object);
        return;
    }
    const ComRef<IWbemClassObject> owner(object);
    QCOMPARE(readProperty(object, "Name"), name);
    QCOMPARE(propertyNames(object), (QStringList{"Id", "Name", "Enabled", "Tags", "Note"}));
}

QTEST_GUILESS_MAIN(tst_ClassObject)
#include "tst_classobject.moc"
