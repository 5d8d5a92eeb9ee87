#include "PageTestHost.h"

#include "host/AbstractSettingsPage.h"
#include "settings/SettingsPage.h"
#include "settings/UniSettingsWidget.h"
#include "studio/peers/HostDevice.h"

#include <QRadioButton>
#include <QStackedLayout>
#include <QtTest>

using Writes = StoreWrites;

class tst_PageWidget : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        host = std::make_unique<PageTestHost>();
        page = std::make_shared<SettingsPage>();
    }
    void cleanup()
    {
        page.reset();
        host.reset();
    }
    void deviceTypeChoice_data();
    void deviceTypeChoice();
    void apply_data();
    void apply();
    void togglingShowsAndHidesTheInertialSettings();

private:
    std::unique_ptr<PageTestHost> host;
    std::shared_ptr<AbstractSettingsPage> page;
};

// Guards the offered device types and the reading of the stored work mode:
// exact, case-sensitive, everything but "hybird" meaning Inertial.
void tst_PageWidget::deviceTypeChoice_data()
{
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<QString>("workMode"); // null: not stored
    QTest::addColumn<bool>("inertialShown");
    QTest::addColumn<bool>("hybridShown");
    QTest::addColumn<bool>("hybridChecked");

    const QStringList both{"UNI", "hybird"};
    QTest::newRow("both kinds, nothing stored") << both << QString() << true << true << false;
    QTest::newRow("both kinds, UNI") << both << "UNI" << true << true << false;
    QTest::newRow("both kinds, hybird") << both << "hybird" << true << true << true;
    QTest::newRow("the button's text") << both << "Hybrid" << true << true << false;
    QTest::newRow("capitals") << both << "HYBIRD" << true << true << false;
    QTest::newRow("trailing blank") << both << "hybird " << true << true << false;
    QTest::newRow("empty text") << both << "" << true << true << false;
    QTest::newRow("no kinds listed") << QStringList() << "UNI" << false << false << false;
    QTest::newRow("UNI only") << QStringList{"UNI"} << QString() << true << false << false;
    QTest::newRow("hybird only") << QStringList{"hybird"} << "hybird" << false << true << true;
    QTest::newRow("unknown and lower-case kinds")
            << QStringList{"uni", "optical", "Hybird"} << QString() << false << false << false;
}

void tst_PageWidget::deviceTypeChoice()
{
    QFETCH(QStringList, kinds);
    QFETCH(QString, workMode);
    QFETCH(bool, inertialShown);
    QFETCH(bool, hybridShown);
    QFETCH(bool, hybridChecked);

    std::vector<std::string> names;
    for (const QString &kind : kinds)
        names.push_back(kind.toStdString());
    host->peers->studio->hostCore().hostDevices().setKindNames(names);
    if (!workMode.isNull())
        host->peers->appStore->setValue("current_workmode", workMode.toStdString());
    host->clearCalls();

    QWidget *widget = page->widget(nullptr);
    auto *inertial = child<QRadioButton>(widget, "radioButton_mode_inertia");
    auto *hybrid = child<QRadioButton>(widget, "radioButton_mode_hybird");
    auto *settings = widget->findChild<UniSettingsWidget *>();
    QVERIFY(inertial && hybrid && settings);

    QCOMPARE(!inertial->isHidden(), inertialShown);
    QCOMPARE(!hybrid->isHidden(), hybridShown);
    QCOMPARE(hybrid->isChecked(), hybridChecked);
    QCOMPARE(inertial->isChecked(), !hybridChecked);
    // Shown with Inertial checked even when no kind offers the button.
    QCOMPARE(settings->isHidden(), hybridChecked);
    QVERIFY(widget->isEnabled());
    QVERIFY(PageTestHost::writes(*host->peers->appStore).empty());
    QVERIFY(PageTestHost::writes(*host->peers->hwupStore).empty());
}

// Guards what a save writes: the work mode first, the inertial settings only
// for Inertial, and nothing at all while the current device is active.
void tst_PageWidget::apply_data()
{
    QTest::addColumn<bool>("chooseHybrid");
    QTest::addColumn<int>("device"); // 0 none, 1 idle, 2 active
    QTest::addColumn<Writes>("appWrites");
    QTest::addColumn<bool>("inertialWritten");

    const Writes uni{{"current_workmode", "UNI"}};
    const Writes hybird{{"current_workmode", "hybird"}};
    QTest::newRow("Inertial, no device") << false << 0 << uni << true;
    QTest::newRow("Inertial, idle device") << false << 1 << uni << true;
    QTest::newRow("Hybrid, no device") << true << 0 << hybird << false;
    QTest::newRow("Inertial, active device") << false << 2 << Writes{} << false;
    QTest::newRow("Hybrid, active device") << true << 2 << Writes{} << false;
}

void tst_PageWidget::apply()
{
    QFETCH(bool, chooseHybrid);
    QFETCH(int, device);
    QFETCH(Writes, appWrites);
    QFETCH(bool, inertialWritten);

    if (device > 0) {
        auto current = std::make_shared<HostDevice>();
        current->setActive(device == 2);
        host->peers->studio->hostCore().hostDevices().setCurrentDevice(current);
    }
    QWidget *widget = page->widget(nullptr);
    QCOMPARE(widget->isEnabled(), device != 2);
    if (chooseHybrid)
        child<QRadioButton>(widget, "radioButton_mode_hybird")->setChecked(true);
    QVERIFY(PageTestHost::writes(*host->peers->appStore).empty()); // only apply writes

    QVERIFY(page->validate());
    page->cancel();
    QVERIFY(page->apply());
    QCOMPARE(PageTestHost::writes(*host->peers->appStore), appWrites);
    std::vector<std::string> hwupKeys;
    for (const auto &write : PageTestHost::writes(*host->peers->hwupStore))
        hwupKeys.push_back(write.first);
    const std::vector<std::string> inertialKeys{"settings.hwup.ip", "settings.hwup.capturefps",
                                                "settings.hwup.local_timecode_rate"};
    QCOMPARE(hwupKeys, inertialWritten ? inertialKeys : std::vector<std::string>{});

    // A page once disabled stays disabled; a reload never enables it.
    page->restoreDefaults();
    QCOMPARE(widget->isEnabled(), device != 2);
}

// Guards the radio buttons' effect on the inertial settings and the stacked
// layout holding them as its only page.
void tst_PageWidget::togglingShowsAndHidesTheInertialSettings()
{
    QWidget *widget = page->widget(nullptr);
    auto *inertial = child<QRadioButton>(widget, "radioButton_mode_inertia");
    auto *hybrid = child<QRadioButton>(widget, "radioButton_mode_hybird");
    auto *settings = widget->findChild<UniSettingsWidget *>();
    auto *stack =
            qobject_cast<QStackedLayout *>(child<QWidget>(widget, "widget_settings")->layout());
    QVERIFY(stack);

    for (int round = 0; round < 2; ++round) {
        hybrid->setChecked(true);
        QVERIFY(!inertial->isChecked());
        QVERIFY(settings->isHidden());
        inertial->setChecked(true);
        QVERIFY(!settings->isHidden());
        QCOMPARE(stack->count(), 1);
        QCOMPARE(stack->currentWidget(), settings);
    }
    QVERIFY(PageTestHost::writes(*host->peers->appStore).empty());
}

QTEST_MAIN(tst_PageWidget)
#include "tst_pagewidget.moc"
