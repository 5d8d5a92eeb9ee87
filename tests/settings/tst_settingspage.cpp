#include "PageTestHost.h"

#include "host/AbstractSettingsPage.h"
#include "host/MirelWrSupportModule.h"
#include "settings/SettingsPage.h"
#include "studio/orvane/ModuleError.h"

#include <QPointer>
#include <QtTest>

using Call = MemorySettingsStore::Call;

namespace {

const std::vector<std::string> kPageKeys = {
        "current_workmode",
        "settings.hwup.local_timecode_rate",
        "settings.hwup.enableconnectionmode",
        "settings.hwup.connectionmode",
        "settings.hwup.capturefps",
        "settings.hwup.ip",
};

int capturefpsReads(const MemorySettingsStore &store)
{
    int reads = 0;
    for (const std::string &key : PageTestHost::keysOf(store, Call::Read))
        reads += key == "settings.hwup.capturefps";
    return reads;
}

} // namespace

class tst_SettingsPage : public QObject
{
    Q_OBJECT

private slots:
    void init() { host = std::make_unique<PageTestHost>(); }
    void cleanup() { host.reset(); }
    void widgetLifetime_data();
    void widgetLifetime();
    void answersWithoutAWidget();
    void restoreDefaults_data();
    void restoreDefaults();
    void lookupFailureWritesNothing_data();
    void lookupFailureWritesNothing();

private:
    std::unique_ptr<PageTestHost> host;
};

void tst_SettingsPage::widgetLifetime_data()
{
    QTest::addColumn<bool>("destroy");
    QTest::newRow("released, kept alive") << false;
    QTest::newRow("released and deleted") << true;
}

// Guards against a second widget (or a second load) for a later request,
// and against leaking or double-deleting the widget the dialog lets go of.
void tst_SettingsPage::widgetLifetime()
{
    QFETCH(bool, destroy);
    QWidget first;
    QWidget second;
    auto page = std::make_shared<SettingsPage>();
    QCOMPARE(page->currentWidget(), nullptr);
    QPointer<QWidget> released = page->widget(&first);
    QVERIFY(released);
    QCOMPARE(page->widget(&second), released.data());
    QCOMPARE(released->parentWidget(), &first);
    QCOMPARE(page->currentWidget(), released.data());
    QCOMPARE(capturefpsReads(*host->peers->hwupStore), 1);

    page->releaseWidget(destroy);
    QCOMPARE(released.isNull(), destroy);
    QCOMPARE(page->currentWidget(), nullptr);
    page->releaseWidget(destroy); // nothing left to let go of

    QPointer<QWidget> fresh = page->widget(nullptr);
    QVERIFY(fresh);
    QVERIFY(fresh != released);
    QCOMPARE(capturefpsReads(*host->peers->hwupStore), 2);

    page.reset();
    QVERIFY(fresh.isNull());
    if (!destroy) {
        QVERIFY(!released.isNull()); // now the releaser's to delete
        delete released.data();
    }
}

// Guards against a dialog call before the widget exists crashing or writing.
void tst_SettingsPage::answersWithoutAWidget()
{
    auto page = std::make_shared<SettingsPage>();
    QCOMPARE(page->id(), std::string("Device"));
    QCOMPARE(page->title(), QStringLiteral("Device"));
    QVERIFY(page->isAvailable());
    page->prepare();
    page->retranslate();
    QVERIFY(page->apply());
    page->cancel();
    QVERIFY(page->validate());
    QCOMPARE(page->currentWidget(), nullptr);
    QVERIFY(PageTestHost::writes(*host->peers->appStore).empty());
    QVERIFY(PageTestHost::writes(*host->peers->hwupStore).empty());
}

// Guards the six removals per store, their order, the silent skip of a
// missing peer and the reload of an existing widget.
void tst_SettingsPage::restoreDefaults_data()
{
    QTest::addColumn<QString>("missingPeer"); // removed, or registered with another interface
    QTest::addColumn<bool>("wrongInterface");
    QTest::addColumn<bool>("withWidget");
    QTest::addColumn<bool>("reloadThrows");
    QTest::newRow("all peers, no widget") << QString() << false << false << false;
    QTest::newRow("all peers, widget reloaded") << QString() << false << true << false;
    QTest::newRow("no dev_hwup") << "dev_hwup" << false << false << false;
    QTest::newRow("dev_hwup of another interface") << "dev_hwup" << true << false << false;
    QTest::newRow("no vendrel-studio") << "vendrel-studio" << false << false << false;
    QTest::newRow("no vendrel-studio, widget") << "vendrel-studio" << false << true << true;
    QTest::newRow("no dev_hwup, widget") << "dev_hwup" << false << true << true;
}

void tst_SettingsPage::restoreDefaults()
{
    QFETCH(QString, missingPeer);
    QFETCH(bool, wrongInterface);
    QFETCH(bool, withWidget);
    QFETCH(bool, reloadThrows);

    auto page = std::make_shared<SettingsPage>();
    QComboBox *fps = nullptr;
    if (withWidget) {
        host->peers->hwupStore->setValue("settings.hwup.capturefps", "240");
        fps = child<QComboBox>(page->widget(nullptr), "comboBox_fps");
        QCOMPARE(fps->currentIndex(), 6);
    }
    for (const std::string &key : kPageKeys) {
        host->peers->appStore->setValue(key, "x");
        host->peers->hwupStore->setValue(key, "240");
    }
    if (!missingPeer.isEmpty()) {
        PageTestHost::app().removeModule(missingPeer.toStdString());
        if (wrongInterface) {
            PageTestHost::app().registerModule<MirelWrSupportModule>(missingPeer.toStdString(),
                                                                     host->peers->mirel);
        }
    }
    host->clearCalls();

    bool threw = false;
    try {
        page->restoreDefaults();
    } catch (const std::system_error &) {
        threw = true;
    }
    QCOMPARE(threw, reloadThrows);

    const bool appCleared = missingPeer != "vendrel-studio";
    const bool hwupCleared = missingPeer != "dev_hwup";
    const std::vector<std::string> none;
    QCOMPARE(PageTestHost::keysOf(*host->peers->appStore, Call::Remove),
             appCleared ? kPageKeys : none);
    QCOMPARE(PageTestHost::keysOf(*host->peers->hwupStore, Call::Remove),
             hwupCleared ? kPageKeys : none);
    QCOMPARE(host->peers->appStore->entries().size(), appCleared ? 0u : kPageKeys.size());
    QCOMPARE(host->peers->hwupStore->entries().size(), hwupCleared ? 0u : kPageKeys.size());
    QVERIFY(PageTestHost::writes(*host->peers->appStore).empty());
    QVERIFY(PageTestHost::writes(*host->peers->hwupStore).empty());
    QVERIFY(PageTestHost::keysOf(*host->peers->mirelStore, Call::Remove).empty());

    QCOMPARE(page->currentWidget() != nullptr, withWidget);
    if (withWidget && !reloadThrows)
        QCOMPARE(fps->currentText(), QStringLiteral("96")); // the reload shows the default
}

// Guards against a partial save or a leak when a peer is missing: the
// exception carries the host's code and nothing is written that should not be.
void tst_SettingsPage::lookupFailureWritesNothing_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("missingPeer");
    QTest::addColumn<bool>("widgetKept");
    QTest::addColumn<bool>("workModeWritten"); // the work mode precedes the inertial settings
    QTest::newRow("widget, no vendrel-studio") << "widget"
                                               << "vendrel-studio" << true << false;
    QTest::newRow("widget, no dev_hwup") << "widget"
                                         << "dev_hwup" << false << false;
    QTest::newRow("apply, no vendrel-studio") << "apply"
                                              << "vendrel-studio" << true << false;
    QTest::newRow("apply, no dev_hwup") << "apply"
                                        << "dev_hwup" << true << true;
    QTest::newRow("restoreDefaults, no vendrel-studio") << "restoreDefaults"
                                                        << "vendrel-studio" << true << false;
}

void tst_SettingsPage::lookupFailureWritesNothing()
{
    QFETCH(QString, operation);
    QFETCH(QString, missingPeer);
    QFETCH(bool, widgetKept);
    QFETCH(bool, workModeWritten);

    auto page = std::make_shared<SettingsPage>();
    if (operation != "widget")
        QVERIFY(page->widget(nullptr));
    PageTestHost::app().removeModule(missingPeer.toStdString());
    host->clearCalls();

    std::error_code code;
    try {
        if (operation == "widget")
            page->widget(nullptr);
        else if (operation == "apply")
            page->apply();
        else
            page->restoreDefaults();
    } catch (const std::system_error &error) {
        code = error.code();
    }
    QCOMPARE(code, std::error_code(orvane::ModuleError::NoSuchModule));
    QCOMPARE(page->currentWidget() != nullptr, widgetKept);

    using Writes = std::vector<std::pair<std::string, std::string>>;
    const Writes expectedAppWrites =
            workModeWritten ? Writes{{"current_workmode", "UNI"}} : Writes{};
    QCOMPARE(PageTestHost::writes(*host->peers->appStore), expectedAppWrites);
    QVERIFY(PageTestHost::writes(*host->peers->hwupStore).empty());

    if (operation == "widget" && widgetKept) {
        // Kept although its load failed, and not loaded again.
        QWidget *kept = page->currentWidget();
        QCOMPARE(page->widget(nullptr), kept);
        QVERIFY(PageTestHost::keysOf(*host->peers->appStore, Call::Read).empty());
    }
}

QTEST_MAIN(tst_SettingsPage)
#include "tst_settingspage.moc"
