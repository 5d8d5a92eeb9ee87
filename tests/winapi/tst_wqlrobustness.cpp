// Hostile query texts: whatever ExecQuery and GetObject are given, they
// answer with a result or an error code, never a crash, a hang or a leak.
#include "WinapiTestSupport.h"

#include <QRandomGenerator>

using winapi_seam::Value;

namespace {

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
    static const QStringList parts{"SELECT ",
                                   "* ",
                                   "FROM ",
                                   "Test_Row ",
                                   "WHERE ",
                                   "Name ",
                                   "Id ",
                                   "AND ",
                                   "OR ",
                                   "NOT ",
                                   "IS ",
                                   "NULL ",
                                   "LIKE ",
                                   "( ",
                                   ") ",
                                   "= ",
                                   "<> ",
                                   "< ",
                                   ">= ",
                                   "'a%[b-c]_' ",
                                   "\"x\\\"y\" ",
                                   "-12 ",
                                   "TRUE ",
                                   ", ",
                                   "[",
                                   "'",
                                   "\\",
                                   ".",
                                   "@",
                                   "=@",
                                   "99999999999999999999 "};
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

class tst_WqlRobustness : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::scriptRows(L"Test_Row",
                                {{{L"Id", Value::int32(1)}, {L"Name", Value::text(L"abc")}},
                                 {{L"Id", Value::int32(2)}, {L"Name", Value::null()}}});
    }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void pathological_data();
    void pathological();
    void randomTexts();
};

void tst_WqlRobustness::pathological_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("hr");

    const QString base = QStringLiteral("SELECT * FROM Test_Row WHERE ");
    const int ok = WBEM_S_NO_ERROR;
    const int invalid = WBEM_E_INVALID_QUERY;
    QTest::newRow("deep parentheses") << base + repeated("(", 200000) << invalid;
    QTest::newRow("deep balanced parentheses")
            << base + repeated("(", 5000) + "Id = 1" + repeated(")", 5000) << invalid;
    QTest::newRow("allowed nesting")
            << base + repeated("(", 50) + "Id = 1" + repeated(")", 50) << ok;
    QTest::newRow("deep NOT") << base + repeated("NOT ", 100000) + "Id = 1" << invalid;
    QTest::newRow("long AND chain") << base + "Id = 1" + repeated(" AND Id = 1", 50000) << ok;
    QTest::newRow("long OR chain") << base + "Id = 1" + repeated(" OR Id = 2", 50000) << ok;
    QTest::newRow("long list") << "SELECT Id" + repeated(", Name", 50000) + " FROM Test_Row" << ok;
    QTest::newRow("many percent signs") << base + "Name LIKE '" + repeated("%_", 20000) + "'" << ok;
    QTest::newRow("long LIKE set") << base + "Name LIKE '[" + repeated("a-b", 20000) + "]'" << ok;
    QTest::newRow("lone backslash in a string") << base + "Name = '\\" << invalid;
    QTest::newRow("control characters") << QString::fromUtf16(u"SELECT\x01\x02 * FROM") << invalid;
    QTest::newRow("NUL inside") << QString::fromUtf16(u"SELECT * FROM Test_Row\0 WHERE", 29) << ok;
    QTest::newRow("smallest integer") << base + "Id > -9223372036854775808" << ok;
    QTest::newRow("just beyond") << base + "Id > -9223372036854775809" << invalid;
    QTest::newRow("surrogates") << QString::fromUtf8("SELECT * FROM Test_Row WHERE Name = "
                                                     "'\xF0\x9F\x98\x80'")
                                << ok;
}

// Guards against stack exhaustion by nesting, quadratic or exponential
// blow-up in chains and LIKE patterns, and edge literals that crash the
// lexer.
void tst_WqlRobustness::pathological()
{
    QFETCH(QString, query);
    QFETCH(int, hr);

    Session session;
    QList<QStringList> rows;
    QCOMPARE(hex(session.query(query, &rows)), hex(hr));
}

// Guards against any crash, leak or unexpected error code on arbitrary
// input; fixed seeds keep failures reproducible.
void tst_WqlRobustness::randomTexts()
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

QTEST_GUILESS_MAIN(tst_WqlRobustness)
#include "tst_wqlrobustness.moc"
