#include "PageTestHost.h"

#include "settings/MirelSettingsWidget.h"
#include "studio/orvane/ModuleError.h"

#include <QtTest>

class tst_MirelSettings : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        host = std::make_unique<PageTestHost>();
        widget = std::make_unique<MirelSettingsWidget>(nullptr);
        fps = child<QComboBox>(widget.get(), "comboBox_fps");
    }
    void cleanup()
    {
        widget.reset();
        host.reset();
    }
    void load_data();
    void load();
    void apply_data();
    void apply();
    void missingModuleThrows();

private:
    std::unique_ptr<PageTestHost> host;
    std::unique_ptr<MirelSettingsWidget> widget;
    QComboBox *fps = nullptr;
};

// Guards the hybrid rate list and the fallback to 90 for whatever is stored.
void tst_MirelSettings::load_data()
{
    QTest::addColumn<QString>("stored"); // null: nothing stored
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("nothing stored") << QString() << "90";
    QTest::newRow("empty") << "" << "90";
    QTest::newRow("inertial-only 50") << "50" << "90";
    QTest::newRow("60 at position 0") << "60" << "60";
    QTest::newRow("120") << "120" << "120 (No Fingers)";
    QTest::newRow("240") << "240" << "240 (No Fingers)";
    QTest::newRow("96 and more") << "96fps" << "96";
    QTest::newRow("leading blank") << " 100" << "100";
    QTest::newRow("negative") << "-60" << "90";
    QTest::newRow("huge") << "4294967296" << "90";
    QTest::newRow("garbage") << "fast" << "90";
    QTest::newRow("item text") << "120 (No Fingers)" << "120 (No Fingers)";
    // clang-format on
}

void tst_MirelSettings::load()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    if (!stored.isNull())
        host->peers->mirelStore->setValue("fps", stored.toStdString());
    host->clearCalls();
    fps->setCurrentIndex(5);
    widget->load();
    QCOMPARE(fps->currentText(), shown);
    QVERIFY(PageTestHost::writes(*host->peers->mirelStore).empty()); // nothing written back
}

// Guards the stored text of each position; choosing alone writes nothing.
void tst_MirelSettings::apply_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("stored");
    QTest::newRow("60") << 0 << "60";
    QTest::newRow("96") << 2 << "96";
    QTest::newRow("120 (No Fingers)") << 4 << "120";
    QTest::newRow("240 (No Fingers)") << 5 << "240";
}

void tst_MirelSettings::apply()
{
    QFETCH(int, index);
    QFETCH(QString, stored);
    widget->load();
    fps->setCurrentIndex(index);
    QVERIFY(PageTestHost::writes(*host->peers->mirelStore).empty());
    QVERIFY(widget->apply());
    QCOMPARE(PageTestHost::writes(*host->peers->mirelStore),
             (StoreWrites{{"fps", stored.toStdString()}}));
    QVERIFY(PageTestHost::writes(*host->peers->hwupStore).empty());
    QVERIFY(PageTestHost::writes(*host->peers->appStore).empty());
}

// Guards against a save or load that goes on without its store.
void tst_MirelSettings::missingModuleThrows()
{
    PageTestHost::app().removeModule("mirel_wr_support");
    QVERIFY_EXCEPTION_THROWN(widget->load(), std::system_error);
    QVERIFY_EXCEPTION_THROWN(widget->apply(), std::system_error);
    QVERIFY(PageTestHost::writes(*host->peers->mirelStore).empty());
}

QTEST_MAIN(tst_MirelSettings)
#include "tst_mirelsettings.moc"
