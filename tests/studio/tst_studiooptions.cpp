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

    QTest::newRow("plain") << "dev_hwup:settings.hwup.ip=10.0.0.2" << true
                           << std::string("dev_hwup") << std::string("settings.hwup.ip")
                           << std::string("10.0.0.2");
    QTest::newRow("'=' in the value")
            << "vendrel-studio:k=a=b==" << true << std::string("vendrel-studio") << std::string("k")
            << std::string("a=b==");
    QTest::newRow("escaped '=' in the key")
            << "mirel_wr_support:a\\=b=c" << true << std::string("mirel_wr_support")
            << std::string("a=b") << std::string("c");
    QTest::newRow("empty value") << "dev_hwup:k=" << true << std::string("dev_hwup")
                                 << std::string("k") << std::string();
    QTest::newRow("':' in key and value") << "dev_hwup:a:b=c:d" << true << std::string("dev_hwup")
                                          << std::string("a:b") << std::string("c:d");
    QTest::newRow("escapes") << "dev_hwup:k=\\n\\r\\t\\\\\\x00\\xff\\xFe" << true
                             << std::string("dev_hwup") << std::string("k")
                             << std::string("\n\r\t\\\0\xff\xfe", 7);
    QTest::newRow("literal newline") << "dev_hwup:k=a\nb" << true << std::string("dev_hwup")
                                     << std::string("k") << std::string("a\nb");
    QTest::newRow("non-ASCII text as UTF-8")
            << QString::fromUtf8("dev_hwup:k=é😀") << true << std::string("dev_hwup")
            << std::string("k") << std::string("\xc3\xa9\xf0\x9f\x98\x80");
    QTest::newRow("unknown module")
            << "uis_manager:k=v" << false << std::string() << std::string() << std::string();
    QTest::newRow("no module") << ":k=v" << false << std::string() << std::string()
                               << std::string();
    QTest::newRow("no colon") << "dev_hwup" << false << std::string() << std::string()
                              << std::string();
    QTest::newRow("no '='") << "dev_hwup:key" << false << std::string() << std::string()
                            << std::string();
    QTest::newRow("only an escaped '='")
            << "dev_hwup:key\\=v" << false << std::string() << std::string() << std::string();
    QTest::newRow("empty key") << "dev_hwup:=v" << false << std::string() << std::string()
                               << std::string();
    QTest::newRow("unknown escape")
            << "dev_hwup:k=\\q" << false << std::string() << std::string() << std::string();
    QTest::newRow("short \\x") << "dev_hwup:k=\\x4" << false << std::string() << std::string()
                               << std::string();
    QTest::newRow("\\x with a non-hex digit")
            << "dev_hwup:k=\\x4g" << false << std::string() << std::string() << std::string();
    QTest::newRow("lone backslash")
            << "dev_hwup:k=v\\" << false << std::string() << std::string() << std::string();
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
    QTest::newRow("nothing") << QStringList() << run << defaults << false;
    QTest::newRow("--settings is not a batch run")
            << QStringList{"--settings"} << run << defaults << false;
    QTest::newRow("--dump") << QStringList{"--dump"} << run << defaults << true;
    QTest::newRow("--apply") << QStringList{"--apply"} << run << defaults << true;
    QTest::newRow("--screenshot") << QStringList{"--screenshot", "x.png"} << run << defaults
                                  << true;
    QTest::newRow("kinds") << QStringList{"--device-kinds", "hybird"} << run
                           << QStringList{"hybird"} << false;
    QTest::newRow("kinds, spaces trimmed") << QStringList{"--device-kinds", "UNI, other"} << run
                                           << QStringList{"UNI", "other"} << false;
    QTest::newRow("no kinds") << QStringList{"--device-kinds="} << run << QStringList() << false;
    QTest::newRow("empty kind") << QStringList{"--device-kinds", "UNI,,hybird"} << error
                                << QStringList() << false;
    QTest::newRow("language") << QStringList{"--lang", "pt_BR"} << run << defaults << false;
    QTest::newRow("language as a path")
            << QStringList{"--lang", "../../x"} << error << QStringList() << false;
    QTest::newRow("unknown option")
            << QStringList{"--frobnicate"} << error << QStringList() << false;
    QTest::newRow("help") << QStringList{"--help"} << int(StudioOptions::Outcome::Help)
                          << QStringList() << false;
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
