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
    row("nothing stored", L{}, -1, "90", L{"fps!=90"});
    row("inertial-only 50", L{"fps!=50"}, -1, "90", L{"fps!=90"});
    row("120", L{"fps!=120"}, -1, "120 (No Fingers)", L{"fps!=120"});
    row("96 and more", L{"fps!=96fps"}, -1, "96", L{"fps!=96"});
    row("huge", L{"fps!=4294967296"}, -1, "90", L{"fps!=90"});
    row("item text", L{"fps!=120 (No Fingers)"}, -1, "120 (No Fingers)", L{"fps!=120"});
    row("picked 240", L{}, 5, "240 (No Fingers)", L{"fps!=240"});
}

// Guards the hybrid rate list, the fallback to 90 for whatever is stored,
// and a save that writes only the hybrid store's "fps", only on apply.
void tst_MirelSettings::loadAndApply()
{
    QFETCH(QStringList, stored);
    QFETCH(int, picked);
    PageTestHost host;
    host.given(stored);
    MirelSettingsWidget widget(nullptr);
    auto *fps = child<QComboBox>(&widget, "comboBox_fps");
    widget.load();
    if (picked >= 0)
        fps->setCurrentIndex(picked);
    QTEST(fps->currentText(), "shown");
    QCOMPARE(host.changes(), QStringList());
    QVERIFY(widget.apply());
    QTEST(host.changes(), "written");
}

QTEST_MAIN(tst_MirelSettings)
#include "tst_mirelsettings.moc"
