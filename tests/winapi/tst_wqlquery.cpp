// The WQL engine over scripted rows: selection, filtering with every
// operator, LIKE patterns, case and conversion rules, projection and the
// error codes of malformed or impossible queries.
#include "WinapiTestSupport.h"

using winapi_seam::Row;
using winapi_seam::Value;

namespace {

const wchar_t *const kClass = L"Test_Device";

Rows deviceRows()
{
    return {
            {{L"Id", Value::int32(1)},
             {L"Name", Value::text(L"Alpha")},
             {L"Code", Value::text(L"10")},
             {L"Size", Value::text(L"5000000000")},
             {L"Enabled", Value::boolean(true)},
             {L"Tags", Value::textArray({L"a", L"b"})},
             {L"Note", Value::null()}},
            {{L"Id", Value::int32(2)},
             {L"Name", Value::text(L"beta")},
             {L"Code", Value::text(L"9")},
             {L"Size", Value::text(L"100")},
             {L"Enabled", Value::boolean(false)},
             {L"Tags", Value::null()},
             {L"Note", Value::text(L"x")}},
            {{L"Id", Value::int32(3)},
             {L"Name", Value::text(L"Gamma_3")},
             {L"Code", Value::text(L"abc")},
             {L"Size", Value::null()},
             {L"Enabled", Value::boolean(true)},
             {L"Tags", Value::textArray({L"c"})},
             {L"Note", Value::text(L"ROOT\\NET\\0001")}},
            {{L"Id", Value::int32(-4)},
             {L"Name", Value::text(L"[x]%")},
             {L"Code", Value::text(L"")},
             {L"Size", Value::text(L"0")},
             {L"Enabled", Value::boolean(false)},
             {L"Tags", Value::textArray({})},
             {L"Note", Value::text(L"PCI\\VEN_1AF4")}},
    };
}

// The Id values of the rows, e.g. "1,3".
QString ids(const QList<QStringList> &rows)
{
    QStringList result;
    for (const QStringList &row : rows) {
        for (const QString &entry : row) {
            if (entry.startsWith(QLatin1String("Id=i:")))
                result << entry.mid(5);
        }
    }
    return result.join(QLatin1Char(','));
}

} // namespace

class tst_WqlQuery : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::scriptRows(kClass, deviceRows());
    }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void filter_data();
    void filter();
    void projection_data();
    void projection();
    void builtinClassScripted();
    void enumerationEnd();
    void rewoundEnumerationRepeatsRows();
};

void tst_WqlQuery::filter_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("hr");
    QTest::addColumn<QString>("expectedIds");

    const QString base = QStringLiteral("SELECT * FROM Test_Device WHERE ");
    const int ok = WBEM_S_NO_ERROR;
    const int invalid = WBEM_E_INVALID_QUERY;

    QTest::newRow("no condition") << "SELECT * FROM Test_Device" << ok << "1,2,3,-4";
    QTest::newRow("keywords and names in any case")
            << "sElEcT iD fRoM test_DEVICE wHeRe ID = 2" << ok << "2";
    QTest::newRow("where without space") << "select * from Test_Device where(Id = 3)" << ok << "3";

    QTest::newRow("=") << base + "Id = 1" << ok << "1";
    QTest::newRow("<>") << base + "Id <> 1" << ok << "2,3,-4";
    QTest::newRow("!=") << base + "Id != 1" << ok << "2,3,-4";
    QTest::newRow("<") << base + "Id < 2" << ok << "1,-4";
    QTest::newRow(">") << base + "Id > 2" << ok << "3";
    QTest::newRow("<=") << base + "Id <= 2" << ok << "1,2,-4";
    QTest::newRow(">=") << base + "Id >= 2" << ok << "2,3";
    QTest::newRow("negative literal") << base + "Id = -4" << ok << "-4";
    QTest::newRow("literal on the left") << base + "2 < Id" << ok << "3";

    QTest::newRow("string equality ignores case") << base + "Name = 'ALPHA'" << ok << "1";
    QTest::newRow("double-quoted string") << base + "Name = \"beta\"" << ok << "2";
    QTest::newRow("escaped quote") << base + "Name = 'it\\'s'" << ok << "";
    QTest::newRow("string order ignores case") << base + "Name < 'C'" << ok << "1,2,-4";
    QTest::newRow("string literal converted for a number") << base + "Id = '3'" << ok << "3";
    QTest::newRow("unconvertible string matches no number") << base + "Id = 'x'" << ok << "";
    QTest::newRow("numeric text compared as a number") << base + "Code > 9" << ok << "1";
    QTest::newRow("64-bit text compared as a number") << base + "Size > 4294967296" << ok << "1";
    QTest::newRow("text that is no number never matches a number")
            << base + "Code <> 5" << ok << "1,2";

    QTest::newRow("boolean TRUE") << base + "Enabled = TRUE" << ok << "1,3";
    QTest::newRow("boolean false in lower case") << base + "Enabled = false" << ok << "2,-4";
    QTest::newRow("boolean <>") << base + "Enabled <> TRUE" << ok << "2,-4";
    QTest::newRow("boolean against 1") << base + "Enabled = 1" << ok << "1,3";

    QTest::newRow("IS NULL") << base + "Note IS NULL" << ok << "1";
    QTest::newRow("IS NOT NULL") << base + "Note IS NOT NULL" << ok << "2,3,-4";
    QTest::newRow("= NULL") << base + "Note = NULL" << ok << "1";
    QTest::newRow("<> NULL") << base + "Note <> NULL" << ok << "2,3,-4";
    QTest::newRow("null array IS NULL") << base + "Tags IS NULL" << ok << "2";
    QTest::newRow("NULL is never unequal") << base + "Note <> 'x'" << ok << "3,-4";
    QTest::newRow("NOT of a NULL comparison") << base + "NOT (Note = 'x')" << ok << "1,3,-4";

    QTest::newRow("AND binds tighter than OR")
            << base + "Id = 2 OR Id = 3 AND Enabled = TRUE" << ok << "2,3";
    QTest::newRow("parentheses group")
            << base + "(Id = 2 OR Id = 3) AND Enabled = TRUE" << ok << "3";
    QTest::newRow("NOT") << base + "NOT Id = 1" << ok << "2,3,-4";
    QTest::newRow("NOT NOT") << base + "NOT NOT Id = 1" << ok << "1";
    QTest::newRow("long AND chain")
            << base + "Id > -10 AND Id < 10 AND Id <> 2 AND Name <> 'x' AND Enabled = TRUE" << ok
            << "1,3";
    QTest::newRow("the adapter filter's shape")
            << base + "(Enabled = TRUE) AND (Note IS NOT NULL) AND (NOT (Note LIKE 'ROOT%'))" << ok
            << "";
    QTest::newRow("NOT LIKE keeps NULL rows through NOT")
            << base + "NOT (Note LIKE 'ROOT%')" << ok << "1,2,-4";

    QTest::newRow("LIKE prefix, any case") << base + "Name LIKE 'a%'" << ok << "1";
    QTest::newRow("LIKE suffix") << base + "Name LIKE '%A'" << ok << "1,2";
    QTest::newRow("LIKE whole text") << base + "Name LIKE 'ALPHA'" << ok << "1";
    QTest::newRow("LIKE _ is one character") << base + "Name LIKE '_eta'" << ok << "2";
    QTest::newRow("LIKE _ is not zero characters") << base + "Name LIKE '_beta'" << ok << "";
    QTest::newRow("LIKE set") << base + "Name LIKE '[ab]%'" << ok << "1,2";
    QTest::newRow("LIKE range") << base + "Name LIKE '[a-c]%'" << ok << "1,2";
    QTest::newRow("LIKE negated range") << base + "Name LIKE '[^a-c]%'" << ok << "3,-4";
    QTest::newRow("LIKE bracket as a set member") << base + "Name LIKE '[[]x]%'" << ok << "-4";
    QTest::newRow("LIKE percent as a set member") << base + "Name LIKE '%[%]'" << ok << "-4";
    QTest::newRow("LIKE several %") << base + "Name LIKE '%m%a%'" << ok << "3";
    QTest::newRow("LIKE empty pattern") << base + "Code LIKE ''" << ok << "-4";
    QTest::newRow("LIKE backslash literal") << base + "Note LIKE 'ROOT\\\\NET%'" << ok << "3";
    QTest::newRow("LIKE on a number") << base + "Id LIKE '-%'" << ok << "-4";
    QTest::newRow("NOT LIKE") << base + "Name NOT LIKE 'a%'" << ok << "2,3,-4";

    QTest::newRow("empty text") << "" << invalid << "";
    QTest::newRow("only SELECT") << "SELECT" << invalid << "";
    QTest::newRow("no class") << "SELECT * FROM" << invalid << "";
    QTest::newRow("no FROM") << "SELECT * Test_Device" << invalid << "";
    QTest::newRow("no condition after WHERE") << base << invalid << "";
    QTest::newRow("no literal") << base + "Id =" << invalid << "";
    QTest::newRow("open parenthesis") << base + "(Id = 1" << invalid << "";
    QTest::newRow("extra parenthesis") << base + "Id = 1)" << invalid << "";
    QTest::newRow("unterminated string") << base + "Name = 'abc" << invalid << "";
    QTest::newRow("trailing comma in list") << "SELECT Id, FROM Test_Device" << invalid << "";
    QTest::newRow("star and names") << "SELECT *, Id FROM Test_Device" << invalid << "";
    QTest::newRow("integer out of range") << base + "Id = 99999999999999999999999" << invalid << "";
    QTest::newRow("unterminated LIKE set") << base + "Name LIKE '[ab'" << invalid << "";
    QTest::newRow("LIKE needs a string") << base + "Name LIKE 5" << invalid << "";
    QTest::newRow("NULL ordered") << base + "Id < NULL" << invalid << "";
    QTest::newRow("doubled operator") << base + "Id == 1" << invalid << "";
    QTest::newRow("dangling AND") << base + "Id = 1 AND" << invalid << "";
    QTest::newRow("unknown character") << base + "Id # 1" << invalid << "";
    QTest::newRow("trailing word") << "SELECT * FROM Test_Device extra" << invalid << "";
    QTest::newRow("no property") << base + "1 = 1" << invalid << "";
    QTest::newRow("property against property") << base + "Name = Code" << invalid << "";
    QTest::newRow("keyword as property") << "SELECT FROM FROM Test_Device" << invalid << "";
    QTest::newRow("unknown property in list")
            << "SELECT Id, Nope FROM Test_Device" << invalid << "";
    QTest::newRow("unknown property in condition") << base + "Nope = 1" << invalid << "";
    QTest::newRow("unknown class")
            << "SELECT * FROM Test_Nothing" << int(WBEM_E_INVALID_CLASS) << "";
    QTest::newRow("unknown class with unknown property")
            << "SELECT Nope FROM Test_Nothing" << int(WBEM_E_INVALID_CLASS) << "";
}

// Guards against wrong operator semantics, case-sensitive matching, missing
// conversions, wrong precedence and malformed queries that run anyway or
// fail with the wrong code.
void tst_WqlQuery::filter()
{
    QFETCH(QString, query);
    QFETCH(int, hr);
    QFETCH(QString, expectedIds);

    Session session;
    QList<QStringList> rows;
    QCOMPARE(hex(session.query(query, &rows)), hex(hr));
    QCOMPARE(ids(rows), expectedIds);
    QCOMPARE(winapi_seam::executedQueries(), std::vector<std::wstring>{wide(query)});
}

void tst_WqlQuery::projection_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("absent");

    QTest::newRow("star") << "SELECT * FROM Test_Device WHERE Id = 2"
                          << QStringList{"Id", "Name", "Code", "Size", "Enabled", "Tags", "Note"}
                          << "Nope";
    QTest::newRow("list in class order") << "SELECT Note, Id FROM Test_Device WHERE Id = 2"
                                         << QStringList{"Id", "Note"} << "Name";
    QTest::newRow("names keep the class's spelling")
            << "SELECT nOtE FROM Test_Device WHERE Id = 2" << QStringList{"Note"} << "Id";
    QTest::newRow("repeated name once")
            << "SELECT Id, ID, id FROM Test_Device WHERE Id = 2" << QStringList{"Id"} << "Code";
    QTest::newRow("condition on an unselected property")
            << "SELECT Name FROM Test_Device WHERE Id = 2" << QStringList{"Name"} << "Id";
}

// Guards against a property list that is ignored, reordered or that leaves
// unselected properties readable.
void tst_WqlQuery::projection()
{
    QFETCH(QString, query);
    QFETCH(QStringList, names);
    QFETCH(QString, absent);

    Session session;
    QList<QStringList> rows;
    QCOMPARE(hex(session.query(query, &rows)), hex(S_OK));
    QCOMPARE(rows.size(), 1);
    QStringList seen;
    for (const QString &entry : rows.first())
        seen << entry.section(QLatin1Char('='), 0, 0);
    QCOMPARE(seen, names);
    QVERIFY(rows.first().contains(QStringLiteral("Note='x'")) || !names.contains("Note"));

    IEnumWbemClassObject *enumerator = nullptr;
    QCOMPARE(session.services->ExecQuery(_bstr_t(L"WQL"), _bstr_t(wide(query).c_str()),
                                         WBEM_FLAG_FORWARD_ONLY, nullptr, &enumerator),
             WBEM_S_NO_ERROR);
    const ComRef<IEnumWbemClassObject> owner(enumerator);
    IWbemClassObject *object = nullptr;
    ULONG returned = 0;
    QCOMPARE(enumerator->Next(WBEM_INFINITE, 1, &object, &returned), WBEM_S_NO_ERROR);
    const ComRef<IWbemClassObject> row(object);
    QCOMPARE(readProperty(object, absent), hex(WBEM_E_NOT_FOUND).replace("0x", "hr:"));
}

// Guards against scripted rows of a machine class losing the class's other
// properties (a query naming them must stay valid and read NULL) and against
// the address list's adapter filter selecting the wrong adapters.
void tst_WqlQuery::builtinClassScripted()
{
    winapi_seam::scriptRows(L"Win32_NetworkAdapter",
                            {{{L"Index", Value::int32(7)},
                              {L"NetConnectionStatus", Value::int32(2)},
                              {L"MACAddress", Value::text(L"00:11:22:33:44:55")},
                              {L"PNPDeviceID",
                               Value::text(L"PCI\\VEN_8086&DEV_15B8\\3&11583659&0&FE")}},
                             {{L"Index", Value::int32(8)},
                              {L"NetConnectionStatus", Value::int32(2)},
                              {L"MACAddress", Value::text(L"00:11:22:33:44:56")},
                              {L"PNPDeviceID", Value::text(L"ROOT\\NET\\0000")}},
                             {{L"Index", Value::int32(9)},
                              {L"NetConnectionStatus", Value::int32(7)},
                              {L"MACAddress", Value::text(L"00:11:22:33:44:57")},
                              {L"PNPDeviceID", Value::text(L"USB\\VID_0B95&PID_1790\\1")}},
                             {{L"Index", Value::int32(10)},
                              {L"NetConnectionStatus", Value::int32(2)},
                              {L"MACAddress", Value::null()},
                              {L"PNPDeviceID", Value::text(L"PCI\\VEN_1AF4&DEV_1000\\3&0")}}});
    Session session;
    QList<QStringList> rows;
    QCOMPARE(hex(session.query(QStringLiteral("SELECT * FROM Win32_NetworkAdapter WHERE "
                                              "(NetConnectionStatus = 2) AND (MACAddress IS NOT "
                                              "NULL) AND (NOT (PNPDeviceID LIKE 'ROOT%'))"),
                               &rows)),
             hex(S_OK));
    QCOMPARE(rows.size(), 1);
    QVERIFY(rows.first().contains(QStringLiteral("Index=i:7")));
    QVERIFY(rows.first().contains(QStringLiteral("Speed=null")));
    QVERIFY(rows.first().contains(QStringLiteral("NetConnectionID=null")));

    rows.clear();
    QCOMPARE(hex(session.query(
                     QStringLiteral("SELECT Index FROM Win32_NetworkAdapter WHERE Speed IS NULL"),
                     &rows)),
             hex(S_OK));
    QCOMPARE(rows.size(), 4);
}

// Guards against an enumeration that ends with an error, returns a stale
// object, or does not report WBEM_S_FALSE with a short batch.
void tst_WqlQuery::enumerationEnd()
{
    Session session;
    IEnumWbemClassObject *enumerator = nullptr;
    QCOMPARE(session.services->ExecQuery(_bstr_t(L"WQL"),
                                         _bstr_t(L"SELECT Id FROM Test_Device WHERE Id > 0"), 0x30,
                                         nullptr, &enumerator),
             WBEM_S_NO_ERROR);
    const ComRef<IEnumWbemClassObject> owner(enumerator);

    IWbemClassObject *objects[2] = {nullptr, nullptr};
    ULONG returned = 99;
    QCOMPARE(enumerator->Next(WBEM_INFINITE, 2, objects, &returned), WBEM_S_NO_ERROR);
    QCOMPARE(returned, 2u);
    objects[0]->Release();
    objects[1]->Release();

    objects[0] = objects[1] = nullptr;
    QCOMPARE(enumerator->Next(WBEM_INFINITE, 2, objects, &returned), WBEM_S_FALSE);
    QCOMPARE(returned, 1u);
    QCOMPARE(readProperty(objects[0], "Id"), QStringLiteral("i:3"));
    QVERIFY(!objects[1]);
    objects[0]->Release();

    QCOMPARE(enumerator->Next(WBEM_INFINITE, 1, objects, &returned), WBEM_S_FALSE);
    QCOMPARE(returned, 0u);
    QCOMPARE(enumerator->Reset(), WBEM_E_INVALID_OPERATION);
}

// Guards against rows handed out once being gone (or emptied) when an
// enumerator that may be rewound is read again after Reset.
void tst_WqlQuery::rewoundEnumerationRepeatsRows()
{
    Session session;
    IEnumWbemClassObject *enumerator = nullptr;
    QCOMPARE(session.services->ExecQuery(_bstr_t(L"WQL"),
                                         _bstr_t(L"SELECT Id, Name FROM Test_Device WHERE Id > 1"),
                                         WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &enumerator),
             WBEM_S_NO_ERROR);
    const ComRef<IEnumWbemClassObject> owner(enumerator);
    for (int pass = 0; pass < 2; ++pass) {
        QStringList seen;
        IWbemClassObject *object = nullptr;
        ULONG returned = 0;
        while (enumerator->Next(WBEM_INFINITE, 1, &object, &returned) == WBEM_S_NO_ERROR) {
            const ComRef<IWbemClassObject> row(object);
            seen << readProperty(object, "Id") + "/" + readProperty(object, "Name");
        }
        QCOMPARE(seen.join(','), QStringLiteral("i:2/'beta',i:3/'Gamma_3'"));
        QCOMPARE(enumerator->Reset(), WBEM_S_NO_ERROR);
    }
}

QTEST_GUILESS_MAIN(tst_WqlQuery)
#include "tst_wqlquery.moc"
