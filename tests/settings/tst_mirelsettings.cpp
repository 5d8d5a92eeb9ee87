#include "PageTestHost.h"

#include "settings/MirelSettingsWidget.h"

#include <QtTest>

// The hybrid frame-rate panel, over the "mirel_wr_support" store.
class tst_MirelSettings : public QObject
{
    Q_OBJECT

private slots:
    void loadAndApply_data();
    void loadAndApply();
};

void tst_MirelSettings::loadAndApply_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<int>("picked"); // -1: the user leaves the choice
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("written");
    using L = QStringList;
    // clang-format off
    QTest::newRow("nothing stored") << L{} << -1 << "90" << L{"fps!=90"};
    QTest::newRow("inertial-only 50") << L{"fps!=50"} << -1 << "90" << L{"fps!=90"};
    QTest::newRow("120") << L{"fps!=120"} << -1 << "120 (No Fingers)" << L{"fps!=120"};
    QTest::newRow("96 and more") << L{"fps!=96fps"} << -1 << "96" << L{"fps!=96"};
    QTest::newRow("huge") << L{"fps!=4294967296"} << -1 << "90" << L{"fps!=90"};
    QTest::newRow("item text") << L{"fps!=120 (No Fingers)"} << -1 << "120 (No Fingers)" << L{"fps!=120"};
    QTest::newRow("picked 240") << L{} << 5 << "240 (No Fingers)" << L{"fps!=240"};
    // clang-format on
}

// Guards the hybrid rate list, the fallback to 90 for whatever is stored,
// and a save that writes only the hybrid store's "fps", only on apply.
void tst_MirelSettings::loadAndApply()
{
    QFETCH(QStringList, stored);
    QFETCH(int, picked);
    QFETCH(QString, shown);
    QFETCH(QStringList, written);
    PageTestHost host;
    host.given(stored);
    MirelSettingsWidget widget(nullptr);
    auto *fps = child<QComboBox>(&widget, "comboBox_fps");
    widget.load();
    if (picked >= 0)
        fps->setCurrentIndex(picked);
    QCOMPARE(fps->currentText(), shown);
    QCOMPARE(host.changes(), QStringList());
    QVERIFY(widget.apply());
    QCOMPARE(host.changes(), written);
}

QTEST_MAIN(tst_MirelSettings)
#include "tst_mirelsettings.moc"
