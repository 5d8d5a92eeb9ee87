// Equality conditions answered through a column index: the rows, and their
// order, must be the ones a full scan finds, with every type and NULL rule
// of the evaluator, for queries and for object paths.
#include "WinapiTestSupport.h"

using winapi_seam::Row;
using winapi_seam::Value;

namespace {

const wchar_t *const kClass = L"Test_Mixed";

// One Key of every kind a comparison treats in its own way, with Id to tell
// the rows apart and Group for the AND cases.
Rows mixedRows()
{
    const std::vector<std::pair<Value, const wchar_t *>> keys = {
            {Value::text(L"Alpha"), L"a"}, // 1
            {Value::text(L"ALPHA"), L"b"}, // 2
            {Value::text(L"alpha "), L"a"}, // 3
            {Value::text(L"10"), L"a"}, // 4
            {Value::int32(10), L"b"}, // 5
            {Value::boolean(true), L"a"}, // 6
            {Value::text(L"TRUE"), L"b"}, // 7
            {Value::text(L"1"), L"a"}, // 8
            {Value::int32(1), L"b"}, // 9
            {Value::null(), L"a"}, // 10
            {Value::textArray({L"Alpha", L"10"}), L"b"}, // 11
            {Value::boolean(false), L"a"}, // 12
            {Value::text(L"0"), L"b"}, // 13
            {Value::int32(0), L"a"}, // 14
            {Value::text(L"5000000000"), L"b"}, // 15
            {Value::text(L"\u00c4rger"), L"a"}, // 16
            {Value::text(L"\u00e4rger"), L"b"}, // 17
            {Value::text(L""), L"a"}, // 18
            {Value::text(L"-7"), L"b"}, // 19
            {Value::int32(-7), L"a"}, // 20
            {Value(), L"b"}, // 21: Key left out below
            {Value::text(L"010"), L"a"}, // 22
            {Value::text(L" 10"), L"b"}, // 23
            {Value::text(L"false"), L"a"}, // 24
            {Value::text(L"10"), L"b"}, // 25
    };
    Rows rows;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        Row row{{L"Id", Value::int32(int(i) + 1)}, {L"Group", Value::text(keys[i].second)}};
        if (i + 1 != 21)
            row.emplace_back(L"Key", keys[i].first);
        rows.push_back(row);
    }
    return rows;
}

} // namespace

class tst_IndexedLookup : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::scriptRows(kClass, mixedRows());
    }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void sameRowsAsFullScan_data();
    void sameRowsAsFullScan();
    void objectPathFindsFirstRow_data();
    void objectPathFindsFirstRow();
    void rescriptedRowsAreSeen();
    void builtinClassScripted();
};

void tst_IndexedLookup::sameRowsAsFullScan_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("expectedIds");

    QTest::newRow("text, any case") << "Key = 'alpha'"
                                    << "1,2";
    QTest::newRow("text beyond ASCII, any case") << "Key = '\u00c4RGER'"
                                                 << "16,17";
    QTest::newRow("empty text") << "Key = ''"
                                << "18";
    QTest::newRow("text matching nothing") << "Key = 'nothing'"
                                           << "";
    QTest::newRow("integer: numeric text, numbers and a true flag") << "Key = 10"
                                                                    << "4,5,6,22,25";
    QTest::newRow("numeric text literal: text and numbers, no flag") << "Key = '10'"
                                                                     << "4,5,25";
    QTest::newRow("negative integer") << "Key = -7"
                                      << "6,19,20";
    QTest::newRow("64-bit integer: text and a true flag") << "Key = 5000000000"
                                                          << "6,15";
    QTest::newRow("integer 1") << "Key = 1"
                               << "6,8,9";
    QTest::newRow("integer 0") << "Key = 0"
                               << "12,13,14";
    QTest::newRow("TRUE") << "Key = TRUE"
                          << "6,7,8,9";
    QTest::newRow("FALSE") << "Key = false"
                           << "12,13,14,24";
    QTest::newRow("text 'true'") << "Key = 'true'"
                                 << "6,7";
    QTest::newRow("text '1'") << "Key = '1'"
                              << "6,8,9";
    QTest::newRow("= NULL") << "Key = NULL"
                            << "10,21";
    QTest::newRow("literal on the left") << "10 = Key"
                                         << "4,5,6,22,25";
    QTest::newRow("AND, equality first") << "Key = 10 AND Group = 'B'"
                                         << "5,25";
    QTest::newRow("AND, equality second") << "Group = 'a' AND Key = TRUE"
                                          << "6,8";
    QTest::newRow("AND with no match in one equality") << "Key = 10 AND Group = 'c'"
                                                       << "";
    QTest::newRow("AND with an inequality") << "Key = 10 AND Id > 5"
                                            << "6,22,25";
    QTest::newRow("AND of two equalities on one column") << "Key = 10 AND Key = '10'"
                                                         << "4,5,25";
    QTest::newRow("equality under OR") << "Key = 'alpha' OR Id = 3"
                                       << "1,2,3";
    QTest::newRow("equality under NOT") << "NOT (Key = 10)"
                                        << "1,2,3,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,23,24";
}

// Guards against an index that loses rows of another kind (numeric text,
// flags), folds case differently from the evaluator, lets NULL or arrays
// match, or hands rows out of the class's order: the same condition is run
// where the index answers it and inside an OR, which is scanned row by row.
void tst_IndexedLookup::sameRowsAsFullScan()
{
    QFETCH(QString, condition);
    QFETCH(QString, expectedIds);

    Session session;
    const QString base = QStringLiteral("SELECT * FROM Test_Mixed WHERE ");
    QList<QStringList> indexed;
    QCOMPARE(hex(session.query(base + condition, &indexed)), hex(S_OK));
    QList<QStringList> scanned;
    QCOMPARE(hex(session.query(base + "(" + condition + ") OR (" + condition + ")", &scanned)),
             hex(S_OK));
    QCOMPARE(ids(indexed), expectedIds);
    QCOMPARE(indexed, scanned);
}

void tst_IndexedLookup::objectPathFindsFirstRow_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expectedId");

    QTest::newRow("integer key") << "Test_Mixed.Key=10"
                                 << "i:4";
    QTest::newRow("text key, any case") << "Test_Mixed.Key=\"ALPHA\""
                                        << "i:1";
    QTest::newRow("two keys") << "Test_Mixed.Key=10,Group=\"b\""
                              << "i:5";
    QTest::newRow("no such key") << "Test_Mixed.Key=\"nothing\""
                                 << "hr:80041002";
}

// Guards against an object path, which names the first row with its keys,
// getting another row than the first in the class's order.
void tst_IndexedLookup::objectPathFindsFirstRow()
{
    QFETCH(QString, path);
    QFETCH(QString, expectedId);

    Session session;
    QList<QStringList> rows;
    const HRESULT hr = session.object(path, &rows);
    if (FAILED(hr)) {
        QCOMPARE("hr:" + hex(hr).mid(2), expectedId);
        return;
    }
    QCOMPARE(rows.size(), 1);
    QVERIFY2(rows.first().contains("Id=" + expectedId), qPrintable(rows.first().join(',')));
}

// Guards against an index kept from rows that were scripted over since.
void tst_IndexedLookup::rescriptedRowsAreSeen()
{
    Session session;
    QList<QStringList> rows;
    QCOMPARE(hex(session.query("SELECT Id FROM Test_Mixed WHERE Key = 10", &rows)), hex(S_OK));
    QCOMPARE(ids(rows), QStringLiteral("4,5,6,22,25"));

    winapi_seam::scriptRows(L"TEST_MIXED",
                            {{{L"Id", Value::int32(7)}, {L"Key", Value::int32(10)}},
                             {{L"Id", Value::int32(8)}, {L"Key", Value::int32(11)}}});
    rows.clear();
    QCOMPARE(hex(session.query("SELECT Id FROM Test_Mixed WHERE Key = 10", &rows)), hex(S_OK));
    QCOMPARE(ids(rows), QStringLiteral("7"));
    rows.clear();
    QCOMPARE(hex(session.query("SELECT Id FROM Test_Mixed WHERE Group = 'a'", &rows)),
             hex(WBEM_E_INVALID_QUERY));
}

// Guards against a scripted known class losing its own properties or name
// when its rows are prepared once, ahead of the queries.
void tst_IndexedLookup::builtinClassScripted()
{
    winapi_seam::scriptRows(L"win32_networkadapterconfiguration",
                            {{{L"Index", Value::int32(3)}, {L"Extra", Value::text(L"x")}},
                             {{L"Index", Value::int32(4)}}});
    Session session;
    QList<QStringList> rows;
    QCOMPARE(hex(session.query("SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Index = 4",
                               &rows)),
             hex(S_OK));
    QCOMPARE(rows.size(), 1);
    QVERIFY2(rows.first().contains("Index=i:4"), qPrintable(rows.first().join(',')));
    QVERIFY2(rows.first().contains("IPAddress=null"), qPrintable(rows.first().join(',')));
    QCOMPARE(rows.first().last(), QStringLiteral("Extra=null"));

    IWbemClassObject *object = nullptr;
    QCOMPARE(session.services->GetObject(_bstr_t(L"Win32_NetworkAdapterConfiguration.Index=3"), 0,
                                         nullptr, &object, nullptr),
             WBEM_S_NO_ERROR);
    const ComRef<IWbemClassObject> row(object);
    QCOMPARE(readProperty(object, "__CLASS"), QStringLiteral("'Win32_NetworkAdapterConfiguration'"));
    QCOMPARE(readProperty(object, "Extra"), QStringLiteral("'x'"));
}

QTEST_GUILESS_MAIN(tst_IndexedLookup)
#include "tst_indexedlookup.moc"
