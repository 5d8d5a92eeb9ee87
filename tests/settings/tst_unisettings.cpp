#include "PageTestHost.h"

#include "host/AbstractSettingsPage.h"
#include "settings/SettingsPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using Call = MemorySettingsStore::Call;

namespace {

const QStringList kTwoAdapters{"192.168.0.10", "10.0.0.2"};
const QStringList kRates96{"None", "24", "Local Time"};
const QStringList kRates120{"None", "24", "30", "Local Time"};

// Short names of the "dev_hwup" keys used in the data tables.
std::string hwupKey(const QString &name)
{
    static const QMap<QString, QString> keys{
            {"fps", "settings.hwup.capturefps"},
            {"tc", "settings.hwup.local_timecode_rate"},
            {"enable", "settings.hwup.enableconnectionmode"},
            {"mode", "settings.hwup.connectionmode"},
            {"ip", "settings.hwup.ip"},
    };
    return keys.value(name, name).toStdString();
}

} // namespace

class tst_UniSettings : public QObject
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
    void load_data();
    void load();
    void apply_data();
    void apply();
    void frameRateChangeRebuildsTimecodes_data();
    void frameRateChangeRebuildsTimecodes();
    void addressList();

private:
    QWidget *openPage(bool hyper, const QVariantMap &stored, const QStringList &adapters);
    // User actions "box=value": fps/tc/mode/ip pick an item by position;
    // fpsText types a rate and confirms it; tcText edits the timecode field.
    void act(const QStringList &actions);

    std::unique_ptr<PageTestHost> host;
    std::shared_ptr<AbstractSettingsPage> page;
    QComboBox *ipBox = nullptr;
    QComboBox *fpsBox = nullptr;
    QComboBox *tcBox = nullptr;
    QComboBox *modeBox = nullptr;
};

QWidget *tst_UniSettings::openPage(bool hyper, const QVariantMap &stored,
                                   const QStringList &adapters)
{
    host->setHyperFps(hyper);
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        host->peers->hwupStore->setValue(hwupKey(it.key()), it.value().toString().toStdString());
    PageTestHost::scriptAdapters(adapters);
    host->clearCalls();
    QWidget *widget = page->widget(nullptr);
    ipBox = child<QComboBox>(widget, "comboBox_ip_list");
    fpsBox = child<QComboBox>(widget, "comboBox_fps");
    tcBox = child<QComboBox>(widget, "comboBox_tc_pps");
    modeBox = child<QComboBox>(widget, "comboBox_connection_mode");
    return widget;
}

void tst_UniSettings::act(const QStringList &actions)
{
    for (const QString &action : actions) {
        const QString box = action.section('=', 0, 0);
        const QString value = action.section('=', 1);
        if (box == "fps")
            fpsBox->setCurrentIndex(value.toInt());
        else if (box == "tc")
            tcBox->setCurrentIndex(value.toInt());
        else if (box == "mode")
            modeBox->setCurrentIndex(value.toInt());
        else if (box == "ip")
            ipBox->setCurrentIndex(value.toInt());
        else if (box == "fpsText") {
            fpsBox->lineEdit()->setText(value);
            QTest::keyClick(fpsBox->lineEdit(), Qt::Key_Return);
        } else if (box == "tcText")
            tcBox->setEditText(value);
        else
            QFAIL(qPrintable("unknown action " + action));
    }
}

// Guards the load's reading of hostile stored values: every fallback, both
// modes, and the connecting mode read only when the hardware enables it.
void tst_UniSettings::load_data()
{
    QTest::addColumn<bool>("hyper");
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<QString>("fpsText"); // what the frame-rate box shows
    QTest::addColumn<int>("fpsIndex");
    QTest::addColumn<QStringList>("tcItems");
    QTest::addColumn<QString>("tcText");
    QTest::addColumn<int>("tcIndex");
    QTest::addColumn<bool>("modeShown");
    QTest::addColumn<int>("modeIndex");

    const QString glove120 = "120  *No Glove(s)";
    const QString glove240 = "240  *No Glove(s)";
    const QString huge = "99999999999999999999";
    using M = QVariantMap;
    // clang-format off
    QTest::newRow("empty store") << false << M{} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("hyper: empty store") << true << M{} << "96" << 0 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("75") << false << M{{"fps", "75"}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("hyper: 75, no timecodes") << true << M{{"fps", "75"}} << "75" << 0 << QStringList() << "" << -1 << false << 0;
    QTest::newRow("garbage") << false << M{{"fps", "abc"}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("hyper: garbage is 0") << true << M{{"fps", "abc"}} << "0" << 0 << QStringList() << "" << -1 << false << 0;
    QTest::newRow("empty text") << false << M{{"fps", ""}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("huge") << false << M{{"fps", huge}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("hyper: huge is clamped") << true << M{{"fps", huge}} << "2147483647" << 0 << QStringList() << "" << -1 << false << 0;
    QTest::newRow("negative") << false << M{{"fps", "-120"}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("hyper: negative") << true << M{{"fps", "-120"}} << "-120" << 0 << QStringList() << "" << -1 << false << 0;
    QTest::newRow("item text 120") << false << M{{"fps", glove120}} << glove120 << 5 << kRates120 << "None" << 0 << false << 0;
    QTest::newRow("hyper: item text 240") << true << M{{"fps", glove240}} << "240" << 0 << kRates120 << "None" << 0 << false << 0;
    QTest::newRow("leading blanks") << false << M{{"fps", "  240"}} << glove240 << 6 << kRates120 << "None" << 0 << false << 0;
    QTest::newRow("50") << false << M{{"fps", "50"}} << "50" << 0 << QStringList{"None", "25", "Local Time"} << "None" << 0 << false << 0;
    QTest::newRow("tc 30 under 120") << false << M{{"fps", "120"}, {"tc", "30"}} << glove120 << 5 << kRates120 << "30" << 2 << false << 0;
    QTest::newRow("tc 30 under 96") << false << M{{"tc", "30"}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("tc 24 with junk") << false << M{{"fps", "240"}, {"tc", "24fps"}} << glove240 << 6 << kRates120 << "24" << 1 << false << 0;
    QTest::newRow("tc 0") << false << M{{"tc", "0"}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("tc local") << false << M{{"tc", "local"}} << "96" << 3 << kRates96 << "Local Time" << 2 << false << 0;
    QTest::newRow("tc Local") << false << M{{"tc", "Local"}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("tc none") << false << M{{"tc", "none"}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("tc negative") << false << M{{"fps", "120"}, {"tc", "-24"}} << glove120 << 5 << kRates120 << "None" << 0 << false << 0;
    QTest::newRow("hyper: tc 30 under 120") << true << M{{"fps", "120"}, {"tc", "30"}} << "120" << 0 << kRates120 << "30" << 0 << false << 0;
    QTest::newRow("hyper: tc 30 under 96") << true << M{{"tc", "30"}} << "96" << 0 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("hyper: tc local") << true << M{{"tc", "local"}} << "96" << 0 << kRates96 << "Local Time" << 2 << false << 0;
    QTest::newRow("mode enabled, immunity") << false << M{{"enable", "true"}, {"mode", "magnetic immunity"}} << "96" << 3 << kRates96 << "None" << 0 << true << 1;
    QTest::newRow("mode enabled, capitals") << false << M{{"enable", "true"}, {"mode", "Magnetic Immunity"}} << "96" << 3 << kRates96 << "None" << 0 << true << 0;
    QTest::newRow("enabled in capitals") << false << M{{"enable", "TRUE"}, {"mode", "magnetic immunity"}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    QTest::newRow("enabled as 1") << false << M{{"enable", "1"}, {"mode", "magnetic immunity"}} << "96" << 3 << kRates96 << "None" << 0 << false << 0;
    // clang-format on
}

void tst_UniSettings::load()
{
    QFETCH(bool, hyper);
    QFETCH(QVariantMap, stored);
    QFETCH(QString, fpsText);
    QFETCH(int, fpsIndex);
    QFETCH(QStringList, tcItems);
    QFETCH(QString, tcText);
    QFETCH(int, tcIndex);
    QFETCH(bool, modeShown);
    QFETCH(int, modeIndex);

    QWidget *widget = openPage(hyper, stored, kTwoAdapters);
    QVERIFY(ipBox && fpsBox && tcBox && modeBox);

    QCOMPARE(fpsBox->isEditable(), hyper);
    QCOMPARE(tcBox->isEditable(), hyper);
    QCOMPARE(fpsBox->count(), 7);
    QCOMPARE(fpsBox->currentText(), fpsText);
    QCOMPARE(fpsBox->currentIndex(), fpsIndex);
    QCOMPARE(itemTexts(tcBox), tcItems);
    QCOMPARE(tcBox->currentText(), tcText);
    QCOMPARE(tcBox->currentIndex(), tcIndex);
    QCOMPARE(!modeBox->isHidden(), modeShown);
    QCOMPARE(!child<QLabel>(widget, "label_connection_mode")->isHidden(), modeShown);
    QCOMPARE(modeBox->currentIndex(), modeIndex);
    QVERIFY(child<QLabel>(widget, "label_fps_change_notify")->isHidden());
    QVERIFY(child<QLabel>(widget, "label_tc_pps_change_notify")->isHidden());

    const std::vector<std::string> reads =
            PageTestHost::keysOf(*host->peers->hwupStore, Call::Read);
    const bool modeRead = std::count(reads.begin(), reads.end(), hwupKey("mode")) > 0;
    QCOMPARE(modeRead, modeShown);
    QVERIFY(PageTestHost::writes(*host->peers->hwupStore).empty());
}

// Guards the exact texts a save stores, in both modes, including the hyper-mode
// cases of a typed capture rate and a timecode field that shows no item.
void tst_UniSettings::apply_data()
{
    QTest::addColumn<bool>("hyper");
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<QStringList>("adapters");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<StoreWrites>("writes");

    const QStringList two = kTwoAdapters;
    const std::string first = "10.0.0.2"; // addresses sort as text
    auto saved = [&](const std::string &fps, const std::string &tc) {
        return StoreWrites{{hwupKey("ip"), first}, {hwupKey("fps"), fps}, {hwupKey("tc"), tc}};
    };
    auto withMode = [](StoreWrites writes, const std::string &mode) {
        writes.emplace_back(hwupKey("mode"), mode);
        return writes;
    };
    using M = QVariantMap;
    using L = QStringList;
    // clang-format off
    QTest::newRow("empty store") << false << M{} << two << L{} << saved("96", "none");
    QTest::newRow("hyper: empty store") << true << M{} << two << L{} << saved("96", "none");
    QTest::newRow("120, timecode 30") << false << M{} << two << L{"fps=5", "tc=2"} << saved("120", "30");
    QTest::newRow("Local Time") << false << M{} << two << L{"tc=2"} << saved("96", "local");
    QTest::newRow("None") << false << M{{"tc", "24"}} << two << L{"tc=0"} << saved("96", "none");
    QTest::newRow("stored pair kept") << false << M{{"fps", "240"}, {"tc", "30"}} << two << L{} << saved("240", "30");
    QTest::newRow("immunity") << false << M{{"enable", "true"}} << two << L{"mode=1"} << withMode(saved("96", "none"), "magnetic immunity");
    QTest::newRow("normal") << false << M{{"enable", "true"}, {"mode", "magnetic immunity"}} << two << L{"mode=0"} << withMode(saved("96", "none"), "normal");
    QTest::newRow("mode disabled by capitals") << false << M{{"enable", "TRUE"}} << two << L{"mode=1"} << saved("96", "none");
    QTest::newRow("stored address kept") << false << M{{"ip", "192.168.0.10"}} << two << L{}
        << StoreWrites{{hwupKey("ip"), "192.168.0.10"}, {hwupKey("fps"), "96"}, {hwupKey("tc"), "none"}};
    QTest::newRow("vanished address") << false << M{{"ip", "10.9.9.9"}} << two << L{} << saved("96", "none");
    QTest::newRow("no adapters") << false << M{{"ip", "10.9.9.9"}} << L{} << L{}
        << StoreWrites{{hwupKey("ip"), ""}, {hwupKey("fps"), "96"}, {hwupKey("tc"), "none"}};
    QTest::newRow("UTF-8 address") << false << M{} << L{QString::fromUtf8("fe80::1%Netz-\u00fc")} << L{}
        << StoreWrites{{hwupKey("ip"), "fe80::1%Netz-\xc3\xbc"}, {hwupKey("fps"), "96"}, {hwupKey("tc"), "none"}};
    QTest::newRow("hyper: item text stored") << true << M{} << two << L{"fps=6"} << saved("240  *No Glove(s)", "none");
    QTest::newRow("hyper: stored item text") << true << M{{"fps", "240  *No Glove(s)"}} << two << L{} << saved("240", "none");
    QTest::newRow("hyper: typed 120") << true << M{} << two << L{"fpsText=120"} << saved("120", "none");
    QTest::newRow("hyper: typed 75") << true << M{} << two << L{"fpsText=75"} << saved("75", "none");
    QTest::newRow("hyper: stored pair kept") << true << M{{"fps", "120"}, {"tc", "30"}} << two << L{} << saved("120", "30");
    QTest::newRow("hyper: picked Local Time") << true << M{} << two << L{"tc=2"} << saved("96", "local");
    QTest::newRow("hyper: typed allowed rate") << true << M{{"fps", "120"}} << two << L{"tcText=24"} << saved("120", "24");
    QTest::newRow("hyper: typed other rate") << true << M{{"fps", "120"}} << two << L{"tcText=25"} << saved("120", "0");
    QTest::newRow("hyper: typed 0") << true << M{{"fps", "120"}} << two << L{"tcText=0"} << saved("120", "0");
    QTest::newRow("hyper: typed item name") << true << M{} << two << L{"tcText=Local Time"} << saved("96", "local");
    QTest::newRow("hyper: typed words") << true << M{} << two << L{"tc=2", "tcText=soon"} << saved("96", "local");
    QTest::newRow("hyper: cleared field") << true << M{} << two << L{"tcText="} << saved("96", "none");
    QTest::newRow("hyper: no list, typed rate") << true << M{{"fps", "75"}} << two << L{"tcText=25"} << saved("75", "0");
    QTest::newRow("hyper: no list, empty") << true << M{{"fps", "75"}} << two << L{} << saved("75", "none");
    // clang-format on
}

void tst_UniSettings::apply()
{
    QFETCH(bool, hyper);
    QFETCH(QVariantMap, stored);
    QFETCH(QStringList, adapters);
    QFETCH(QStringList, actions);
    QFETCH(StoreWrites, writes);

    openPage(hyper, stored, adapters);
    const std::vector<std::string> reads =
            PageTestHost::keysOf(*host->peers->hwupStore, Call::Read);
    QCOMPARE(std::count(reads.begin(), reads.end(), hwupKey("ip")) > 0, !adapters.isEmpty());
    act(actions);
    QVERIFY(PageTestHost::writes(*host->peers->hwupStore).empty()); // only apply writes

    QVERIFY(page->apply());
    QCOMPARE(PageTestHost::writes(*host->peers->hwupStore), writes);
}

// Guards the rebuild on a new capture rate: the new rate's list, the stored
// timecode selected again (not the unsaved choice), nothing written.
void tst_UniSettings::frameRateChangeRebuildsTimecodes_data()
{
    QTest::addColumn<bool>("hyper");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("tcItems");
    QTest::addColumn<QString>("tcText");

    using L = QStringList;
    QTest::newRow("96 to 120") << false << L{"fps=5"} << kRates120 << "30";
    QTest::newRow("unsaved choice dropped")
            << false << L{"fps=5", "tc=1", "fps=6"} << kRates120 << "30";
    QTest::newRow("to 50") << false << L{"fps=0"} << L{"None", "25", "Local Time"} << "None";
    QTest::newRow("to 60") << false << L{"fps=1"} << L{"None", "30", "Local Time"} << "30";
    QTest::newRow("to 90") << false << L{"fps=2"} << L{"None", "30", "Local Time"} << "30";
    QTest::newRow("to 100") << false << L{"fps=4"} << L{"None", "25", "Local Time"} << "None";
    QTest::newRow("hyper: picked 240") << true << L{"fps=6"} << kRates120 << "30";
    QTest::newRow("hyper: typed 120") << true << L{"fpsText=120"} << kRates120 << "30";
    QTest::newRow("hyper: typed 200")
            << true << L{"fpsText=200"} << L{"None", "25", "Local Time"} << "None";
    QTest::newRow("hyper: typed 75") << true << L{"fps=5", "fpsText=75"} << L{} << "";
    QTest::newRow("hyper: typed words") << true << L{"fpsText=fast"} << L{} << "";
}

void tst_UniSettings::frameRateChangeRebuildsTimecodes()
{
    QFETCH(bool, hyper);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, tcItems);
    QFETCH(QString, tcText);

    openPage(hyper, QVariantMap{{"tc", "30"}}, kTwoAdapters);
    QCOMPARE(itemTexts(tcBox), kRates96);
    act(actions);
    QCOMPARE(itemTexts(tcBox), tcItems);
    QCOMPARE(tcBox->currentText(), tcText);
    QVERIFY(PageTestHost::writes(*host->peers->hwupStore).empty());
}

// Guards the address list: text order, link-local left out, and a reload
// (restore defaults) listing each address once.
void tst_UniSettings::addressList()
{
    openPage(false, QVariantMap{{"ip", "192.168.0.9"}},
             {"192.168.0.9", "169.254.12.34", "10.0.0.2", "192.168.0.10"});
    const QStringList expected{"10.0.0.2", "192.168.0.10", "192.168.0.9"};
    QCOMPARE(itemTexts(ipBox), expected);
    QCOMPARE(ipBox->currentText(), QStringLiteral("192.168.0.9"));

    page->restoreDefaults();
    QCOMPARE(itemTexts(ipBox), expected);
    QCOMPARE(ipBox->currentIndex(), 0);
}

QTEST_MAIN(tst_UniSettings)
#include "tst_unisettings.moc"
