#include "studio/orvane/StudioApplication.h"

#include <QtTest>

class tst_StudioApplication : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { orvane::StudioApplication::instance().reset(); }
    void flags_data();
    void flags();
};

void tst_StudioApplication::flags_data()
{
    QTest::addColumn<int>("declared"); // -1: not declared
    QTest::addColumn<int>("hostValue"); // -1: not set; 0/1
    QTest::addColumn<bool>("setBeforeDeclare");
    QTest::addColumn<bool>("expected");
    QTest::newRow("undeclared") << -1 << -1 << false << false;
    QTest::newRow("declared on") << 1 << -1 << false << true;
    QTest::newRow("set on, then declared off (--hyper-fps)") << 0 << 1 << true << true;
    QTest::newRow("declared off, then set on") << 0 << 1 << false << true;
    QTest::newRow("declared on, then set off") << 1 << 0 << false << false;
}

// Guards the precedence of host-set values over a plug-in's declared
// default, in either order (the studio sets --hyper-fps before the plug-in
// declares the flag), and a second declaration changing the default.
void tst_StudioApplication::flags()
{
    QFETCH(int, declared);
    QFETCH(int, hostValue);
    QFETCH(bool, setBeforeDeclare);
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    if (hostValue >= 0 && setBeforeDeclare)
        app.hostFlags().setFlag("uis_dev.hyper_fps", hostValue == 1);
    if (declared >= 0) {
        QVERIFY(app.flags().declareFlag("uis_dev.hyper_fps", declared));
        QVERIFY(!app.flags().declareFlag("uis_dev.hyper_fps", !declared));
    }
    if (hostValue >= 0 && !setBeforeDeclare)
        app.hostFlags().setFlag("uis_dev.hyper_fps", hostValue == 1);
    QTEST(app.flags().isFlagSet("uis_dev.hyper_fps"), "expected");
}

QTEST_GUILESS_MAIN(tst_StudioApplication)
#include "tst_studioapplication.moc"
