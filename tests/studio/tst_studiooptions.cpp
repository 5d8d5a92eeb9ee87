#include "StudioOptions.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::string)

class tst_StudioOptions : public QObject
{
    Q_OBJECT

private slots:
    void assignment_data();
    void assignment();
    void options_data();
    void options();
};

void tst_StudioOptions::assignment_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<std::string>("module");
    QTest::addColumn<std::string>("key");
    QTest::addColumn<std::string>("value");

    using S = std::string;
    const auto valid = [](const char *tag, const QString &text, const S &module, const S &key,
                          const S &value) {
        QTest::newRow(tag) << text << true << module << key << value;
    };
    const auto invalid = [](const char *tag, const QString &text) {
        QTest::newRow(tag) << text << false << S() << S() << S();
    };
    // clang-format off
    valid("plain", "dev_hwup:settings.hwup.ip=10.0.0.2", "dev_hwup", "settings.hwup.ip", "10.0.0.2");
    valid("'=' in the value", "vendrel-studio:k=a=b==", "vendrel-studio", "k", "a=b==");
    valid("escaped '=' in the key", "mirel_wr_support:a\\=b=c", "mirel_wr_support", "a=b", "c");
    valid("empty value", "dev_hwup:k=", "dev_hwup", "k", S());
    valid("':' in key and value", "dev_hwup:a:b=c:d", "dev_hwup", "a:b", "c:d");
    valid("escapes", "dev_hwup:k=\\n\\r\\t\\\\\\x00\\xff\\xFe", "dev_hwup", "k", S("\n\r\t\\\0\xff\xfe", 7));
    valid("literal newline", "dev_hwup:k=a\nb", "dev_hwup", "k", "a\nb");
    valid("non-ASCII text as UTF-8", QString::fromUtf8("dev_hwup:k=é😀"), "dev_hwup", "k", "\xc3\xa9\xf0\x9f\x98\x80");
    invalid("unknown module", "uis_manager:k=v");
    invalid("no module", ":k=v");
    invalid("no colon", "dev_hwup");
    invalid("no '='", "dev_hwup:key");
    invalid("only an escaped '='", "dev_hwup:key\\=v");
    invalid("empty key", "dev_hwup:=v");
    invalid("unknown escape", "dev_hwup:k=\\q");
    invalid("short \\x", "dev_hwup:k=\\x4");
    invalid("\\x with a non-hex digit", "dev_hwup:k=\\x4g");
    invalid("lone backslash", "dev_hwup:k=v\\");
    // clang-format on
}

// Guards against --set writing other bytes than the user meant (hostile
// values, '=' and escapes) or accepting a malformed assignment.
void tst_StudioOptions::assignment()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    StudioOptions::Assignment a;
    QString error;
    QCOMPARE(StudioOptions::parseAssignment(text, &a, &error), ok);
    if (!ok) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QTEST(a.module, "module");
    QTEST(a.key, "key");
    QTEST(a.value, "value");
}

void tst_StudioOptions::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<bool>("batch");

    const int run = int(StudioOptions::Outcome::Run);
    const int error = int(StudioOptions::Outcome::Error);
    const QStringList defaults{"UNI", "hybird"};
    using L = QStringList;
    // clang-format off
    QTest::newRow("nothing") << L() << run << defaults << false;
    QTest::newRow("--settings is not a batch run") << L{"--settings"} << run << defaults << false;
    QTest::newRow("--dump") << L{"--dump"} << run << defaults << true;
    QTest::newRow("--apply") << L{"--apply"} << run << defaults << true;
    QTest::newRow("--screenshot") << L{"--screenshot", "x.png"} << run << defaults << true;
    QTest::newRow("kinds") << L{"--device-kinds", "hybird"} << run << L{"hybird"} << false;
    QTest::newRow("kinds, spaces trimmed") << L{"--device-kinds", "UNI, other"} << run << L{"UNI", "other"} << false;
    QTest::newRow("no kinds") << L{"--device-kinds="} << run << L() << false;
    QTest::newRow("empty kind") << L{"--device-kinds", "UNI,,hybird"} << error << L() << false;
    QTest::newRow("language") << L{"--lang", "pt_BR"} << run << defaults << false;
    QTest::newRow("language as a path") << L{"--lang", "../../x"} << error << L() << false;
    QTest::newRow("unknown option") << L{"--frobnicate"} << error << L() << false;
    QTest::newRow("help") << L{"--help"} << int(StudioOptions::Outcome::Help) << L() << false;
    // clang-format on
}

// Guards against options being misread (bad options as a whole are
// checked end to end, with their exit code).
void tst_StudioOptions::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, outcome);
    QFETCH(QStringList, kinds);
    QFETCH(bool, batch);
    StudioOptions options;
    QString message;
    const auto got = options.parse(QStringList{"studio"} + arguments, &message);
    QCOMPARE(int(got), outcome);
    if (got != StudioOptions::Outcome::Run) {
        QVERIFY(!message.isEmpty());
        return;
    }
    QStringList gotKinds;
    for (const std::string &k : options.deviceKinds)
        gotKinds << QString::fromStdString(k);
    QCOMPARE(gotKinds, kinds);
    QCOMPARE(options.isBatch(), batch);
}

QTEST_GUILESS_MAIN(tst_StudioOptions)
#include "tst_studiooptions.moc"
