// The WQL the plug-in and wql users send, answered over scripted rows through
// the plug-in's own client: which rows, or which error wql reports.
#include "tests/wmi/WmiTestSupport.h"

#include "wmi/WMIConnection.h"

using winapi_seam::Value;

class tst_WqlQuery : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        auto probe = [](int id, const wchar_t *name, bool flag, Value note, const wchar_t *big) {
            return winapi_seam::Row{{L"Id", Value::int32(id)},
                                    {L"Name", Value::text(name)},
                                    {L"Flag", Value::boolean(flag)},
                                    {L"Note", note},
                                    {L"Big", Value::text(big)}};
        };
        winapi_seam::scriptRows(L"Uis_Probe",
                                {probe(1, L"alpha", true, Value::null(), L"9"),
                                 probe(2, L"beta", false, Value::text(L"ROOT\\NET\\0000"),
                                       L"12345678901"),
                                 probe(3, L"gamma", true, Value::text(L"PCI\\VEN_1"), L"-4"),
                                 probe(4, L"Delta_1", false, Value::null(), L"x")});
        QVERIFY(m_connection.connect());
    }
    void cleanup()
    {
        m_connection.close();
        endSeamTest();
    }

    void query_data();
    void query();
    void objectPath_data();
    void objectPath();

private:
    WMIConnection m_connection;
};

// Guards against wrong rows for each operator, conversions between numbers,
// texts and flags, case-sensitive names or texts, and malformed or unknown
// queries answered with rows or the wrong error.
void tst_WqlQuery::query_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("expected"); // Ids, or the HRESULT wql reports

    row("all", "", "1,2,3,4");
    row("equal", "WHERE Id = 2", "2");
    row("and, not equal, less", "WHERE (Id <> 2) AND (Id < 4)", "1,3");
    row("or, greater or equal", "WHERE Id >= 3 OR Name = 'alpha'", "1,3,4");
    row("not", "WHERE NOT (Id = 1)", "2,3,4");
    row("texts fold case", "where name = 'ALPHA'", "1");
    row("text ordering", "WHERE Name > \"beta\"", "3,4");
    row("number from a text literal", "WHERE Id = '3'", "3");
    row("64-bit text as a number", "WHERE Big > 10000000000", "2");
    row("flag", "WHERE Flag = TRUE", "1,3");
    row("is null", "WHERE Note IS NULL", "1,4");
    row("is not null", "WHERE Note IS NOT NULL", "2,3");
    row("null compares false", "WHERE Note <> 'z'", "2,3");
    row("like percent", "WHERE Name LIKE '%a'", "1,2,3");
    row("like underscore", "WHERE Name LIKE '_e_%'", "2,4");
    row("character set refused", "WHERE Name LIKE '[a-d]%'", "0x80041017");
    row("not like, NULL is no match", "WHERE NOT (Note LIKE 'ROOT%')", "1,3,4");
    row("like, the known start folds case", "WHERE Note LIKE 'rOoT%'", "2");
    row("malformed", "WHERE Id = ", "0x80041017");
    row("unknown property", "WHERE Nope = 1", "0x80041017");
    row("too deep", "WHERE " + QString(101, '(') + "Id = 1" + QString(101, ')'), "0x80041017");
}

void tst_WqlQuery::query()
{
    QFETCH(QString, where);

    WmiFailure failure;
    const QVector<WMIObject> rows =
            m_connection.query("SELECT * FROM Uis_Probe " + where, &failure);
    const QString answer = failure.call.isEmpty()
            ? column(rows, "Id")
            : QStringLiteral("0x%1").arg(quint32(failure.hr), 8, 16, QLatin1Char('0'));
    QTEST(answer, "expected");
}

// Guards against object paths finding the wrong instance, a malformed or
// foreign path finding one, and the class errors being mixed up.
void tst_WqlQuery::objectPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected"); // the Id found, or the query error

    row("integer key", "Uis_Probe.Id=2", "2");
    row("text key, any case", "uis_probe.NAME=\"GAMMA\"", "3");
    row("a namespace prefix is not a class", "\\\\.\\root\\cimv2:Uis_Probe.Id=4", "");
    row("no instance", "Uis_Probe.Id=9", "");
    row("unknown key", "Uis_Probe.Nope=1", "");
    row("unknown class", "Nope.Id=1", "");
    row("class definition", "Uis_Probe", "null");
}

void tst_WqlQuery::objectPath()
{
    QFETCH(QString, path);
    const WMIObject object = m_connection.getObject(path);
    QTEST(object ? textOf(object, "Id") : QString(), "expected");
}

QTEST_GUILESS_MAIN(tst_WqlQuery)
#include "tst_wqlquery.moc"
