// The WQL engine over scripted rows: selection, filtering with every
// operator, LIKE patterns, case and conversion rules, projection and the
// error codes of malformed or impossible queries.
#include "WinapiTestSupport.h"

#include <QRandomGenerator>

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

QString repeated(const QString &part, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += part;
    return text;
}

// Texts built from WQL's own words and signs, so that many get deep into
// the parser before they go wrong.
QString soup(QRandomGenerator &random)
{
    static const QStringList parts =
            QStringLiteral("SELECT |* |FROM |Test_Device |WHERE |Name |Id |AND |OR |NOT |IS |NULL "
                           "|LIKE |( |) |= |<> |< |>= |'a%[b-c]_' |\"x\\\"y\" |-12 |TRUE |, |[|'|"
                           "\\|.|@|=@|99999999999999999999 ")
                    .split(QLatin1Char('|'));
    QString text;
    const int length = int(random.bounded(1, 40));
    for (int i = 0; i < length; ++i) {
        if (random.bounded(8) == 0)
            text += QChar(char16_t(random.bounded(1, 0xD7FF)));
        else
            text += parts.at(int(random.bounded(parts.size())));
    }
    return text;
}

} // namespace

class tst_WqlQuery : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::recordCalls(true);
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
    void randomTexts();
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

    // Hostile texts: an answer or an error code, never a crash or a hang.
    QTest::newRow("deep parentheses") << base + repeated("(", 200000) << invalid << "";
    QTest::newRow("deep balanced parentheses")
            << base + repeated("(", 5000) + "Id = 1" + repeated(")", 5000) << invalid << "";
    QTest::newRow("allowed nesting")
            << base + repeated("(", 50) + "Id = 1" + repeated(")", 50) << ok << "1";
    QTest::newRow("deep NOT") << base + repeated("NOT ", 100000) + "Id = 1" << invalid << "";
    QTest::newRow("50000 ANDs") << base + "Id = 1" + repeated(" AND Id = 1", 50000) << ok << "1";
    QTest::newRow("50000 ORs") << base + "Id = 1" + repeated(" OR Id = 2", 50000) << ok << "1,2";
    QTest::newRow("long list") << "SELECT Id" + repeated(", Name", 50000) + " FROM Test_Device"
                               << ok << "1,2,3,-4";
    QTest::newRow("many percent signs")
            << base + "Name LIKE '" + repeated("%_", 20000) + "'" << ok << "";
    QTest::newRow("long LIKE set")
            << base + "Name LIKE '[" + repeated("a-b", 20000) + "]'" << ok << "";
    QTest::newRow("lone backslash in a string") << base + "Name = '\\" << invalid << "";
    QTest::newRow("control characters")
            << QString::fromUtf16(u"SELECT\x01\x02 * FROM") << invalid << "";
    QTest::newRow("text ends at a NUL")
            << QString::fromUtf16(u"SELECT * FROM Test_Device\0 WHERE", 32) << ok << "1,2,3,-4";
    QTest::newRow("smallest integer") << base + "Id > -9223372036854775808" << ok << "1,2,3,-4";
    QTest::newRow("just beyond") << base + "Id > -9223372036854775809" << invalid << "";
    QTest::newRow("surrogates") << base + QString::fromUtf8("Name = '\xF0\x9F\x98\x80'") << ok
                                << "";
}

// Guards against wrong operator semantics, case-sensitive matching, missing
// conversions, wrong precedence, malformed queries that run anyway or fail
// with the wrong code, and stack exhaustion or blow-up on hostile texts.
void tst_WqlQuery::filter()
{
    QFETCH(QString, query);
    QFETCH(int, hr);
    QFETCH(QString, expectedIds);

    Session session;
    QList<QStringList> rows;
    QCOMPARE(hex(session.query(query, &rows)), hex(hr));
    QCOMPARE(ids(rows), expectedIds);
    // The text goes in as a BSTR made from a C string: up to the first NUL.
    QCOMPARE(winapi_seam::executedQueries(),
             std::vector<std::wstring>{std::wstring(wide(query).c_str())});
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
// properties: a query naming them must stay valid and read NULL. (The
// adapter filter over such rows is the address scan's test.)
void tst_WqlQuery::builtinClassScripted()
{
    winapi_seam::scriptRows(L"Win32_NetworkAdapter",
                            {{{L"Index", Value::int32(7)},
                              {L"NetConnectionStatus", Value::int32(2)}},
                             {{L"Index", Value::int32(8)},
                              {L"NetConnectionStatus", Value::int32(7)}}});
    Session session;
    QList<QStringList> rows;
    QCOMPARE(hex(session.query("SELECT * FROM Win32_NetworkAdapter WHERE NetConnectionStatus = 2",
                               &rows)),
             hex(S_OK));
    QCOMPARE(rows.size(), 1);
    QVERIFY(rows.first().contains(QStringLiteral("Index=i:7")));
    QVERIFY(rows.first().contains(QStringLiteral("Speed=null")));
    QVERIFY(rows.first().contains(QStringLiteral("NetConnectionID=null")));

    rows.clear();
    QCOMPARE(hex(session.query("SELECT Index FROM Win32_NetworkAdapter WHERE Speed IS NULL", &rows)),
             hex(S_OK));
    QCOMPARE(rows.size(), 2);
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

// Guards against any crash, leak or unexpected error code on arbitrary
// input to ExecQuery and GetObject; a fixed seed keeps failures reproducible.
void tst_WqlQuery::randomTexts()
{
    QRandomGenerator random(20261206);
    Session session;
    for (int i = 0; i < 3000; ++i) {
        const QString text = soup(random);
        QList<QStringList> rows;
        const HRESULT hr = session.query(text, &rows);
        if (hr != WBEM_S_NO_ERROR && hr != WBEM_E_INVALID_QUERY && hr != WBEM_E_INVALID_CLASS)
            QFAIL(qPrintable(QStringLiteral("%1 for: %2").arg(hex(hr), text)));

        IWbemClassObject *object = nullptr;
        const HRESULT getHr = session.services->GetObject(_bstr_t(wide(text).c_str()), 0, nullptr,
                                                          &object, nullptr);
        if (object)
            object->Release();
        if (getHr != WBEM_S_NO_ERROR && getHr != WBEM_E_NOT_FOUND &&
            getHr != WBEM_E_INVALID_OBJECT_PATH)
            QFAIL(qPrintable(QStringLiteral("GetObject %1 for: %2").arg(hex(getHr), text)));
    }
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
