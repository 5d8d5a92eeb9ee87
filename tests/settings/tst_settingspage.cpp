#include "PageTestHost.h"

#include "host/MirelWrSupportModule.h"
#include "settings/SettingsPage.h"

#include <QComboBox>
#include <QPointer>
#include <QtTest>

namespace {

// How often the page widget was loaded: each load reads the capture rate once.
int loads(const MemorySettingsStore &store)
{
    int reads = 0;
    for (const MemorySettingsStore::Call &call : store.calls())
        reads += call.kind == MemorySettingsStore::Call::Read &&
                call.key == "settings.hwup.capturefps";
    return reads;
}

} // namespace

class tst_SettingsPage : public QObject
{
    Q_OBJECT

private slots:
    void widgetLifetime_data();
    void widgetLifetime();
    void restoreDefaults_data();
    void restoreDefaults();
};

void tst_SettingsPage::widgetLifetime_data()
{
    QTest::addColumn<bool>("destroy");
    QTest::newRow("released, kept alive") << false;
    QTest::newRow("released and deleted") << true;
}

// Guards the dialog's calls before a widget exists (no crash, no write), one
// widget loaded once per request cycle, and a released widget neither leaked
// nor deleted twice.
void tst_SettingsPage::widgetLifetime()
{
    QFETCH(bool, destroy);
    PageTestHost host;
    QWidget first;
    QWidget second;
    SettingsPage page;
    QCOMPARE(page.id(), std::string("Device"));
    QCOMPARE(page.title(), QStringLiteral("Device"));
    QVERIFY(page.isAvailable());
    page.prepare();
    page.retranslate();
    page.cancel();
    QVERIFY(page.apply() && page.validate());
    QCOMPARE(page.currentWidget(), nullptr);
    QCOMPARE(host.changes(), QStringList());

    QPointer<QWidget> made = page.widget(&first);
    QCOMPARE(page.widget(&second), made.data());
    QCOMPARE(made->parentWidget(), &first);
    QCOMPARE(page.currentWidget(), made.data());
    QCOMPARE(loads(*host.peers->hwupStore), 1);

    page.releaseWidget(destroy);
    page.releaseWidget(destroy); // nothing left to let go of
    QCOMPARE(made.isNull(), destroy);
    QCOMPARE(page.currentWidget(), nullptr);
    QPointer<QWidget> fresh = page.widget(nullptr);
    QVERIFY(fresh && fresh != made);
    QCOMPARE(loads(*host.peers->hwupStore), 2);
}

void tst_SettingsPage::restoreDefaults_data()
{
    QTest::addColumn<QString>("missing"); // a peer removed, or "name:wrong" of another interface
    QTest::addColumn<bool>("withWidget");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<bool>("throws"); // the reload's own look-up

    const QStringList keys{"-work", "-tc", "-enable", "-mode", "-fps", "-ip"};
    QTest::newRow("no widget") << QString() << false << keys + keys << false;
    QTest::newRow("widget reloaded") << QString() << true << keys + keys << false;
    QTest::newRow("no dev_hwup") << "dev_hwup" << false << keys << false;
    QTest::newRow("dev_hwup of another type") << "dev_hwup:wrong" << false << keys << false;
    QTest::newRow("no vendrel-studio") << "vendrel-studio" << false << keys << false;
    QTest::newRow("no vendrel-studio, widget") << "vendrel-studio" << true << keys << true;
    QTest::newRow("no dev_hwup, widget") << "dev_hwup" << true << keys << true;
}

// Guards the six removals from each store in their order, the silent skip
// of a store whose peer is missing, and the reload of an existing widget.
void tst_SettingsPage::restoreDefaults()
{
    QFETCH(QString, missing);
    QFETCH(bool, withWidget);
    QFETCH(QStringList, removed);
    QFETCH(bool, throws);

    PageTestHost host;
    SettingsPage page;
    host.store({"fps=240"});
    auto *fps = withWidget ? child<QComboBox>(page.widget(nullptr), "comboBox_fps") : nullptr;
    for (const std::string &key : PageTestHost::keys()) {
        if (key != "fps") { // the hybrid store's
            host.peers->appStore->setValue(key, "240");
            host.peers->hwupStore->setValue(key, "240");
        }
    }
    host.store({"other=kept"});
    if (!missing.isEmpty())
        PageTestHost::app().removeModule(missing.section(':', 0, 0).toStdString());
    if (missing.endsWith(":wrong"))
        PageTestHost::app().registerModule<MirelWrSupportModule>("dev_hwup", host.peers->mirel);

    bool threw = false;
    try {
        page.restoreDefaults();
    } catch (const std::system_error &) {
        threw = true;
    }
    QCOMPARE(threw, throws);
    QCOMPARE(host.changes(), removed);
    QCOMPARE(host.peers->hwupStore->value("other", ""), std::string("kept"));
    QCOMPARE(page.currentWidget() != nullptr, withWidget);
    if (fps && !throws)
        QCOMPARE(fps->currentText(), QStringLiteral("96")); // the reload shows the default
}

QTEST_MAIN(tst_SettingsPage)
#include "tst_settingspage.moc"
