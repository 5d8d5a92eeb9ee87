#include "PageTestHost.h"

#include "settings/SettingsPage.h"

#include <QPointer>
#include <QTranslator>
#include <QtTest>

class tst_SettingsPage : public QObject
{
    Q_OBJECT

private slots:
    void useOfThePage_data();
    void useOfThePage();
    void widgetLifetime_data();
    void widgetLifetime();
};

// Guards the Device page through what the user sees and what a save stores:
// stored values of any shape, the host's device kinds, device and peers, the
// user's choices, in both frame-rate modes.
void tst_SettingsPage::useOfThePage_data()
{
    QTest::addColumn<QStringList>("given"); // see PageTestHost::given
    // PageTestHost::act's, "restore" (the defaults) and "german" (the language).
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("written"); // everything the stores saw, then the save

    using L = QStringList;
    const QString tc96 = "tc *None,24,Local Time | mode -";
    const QString uni = "*Inertial Hybrid | ip 10.0.0.2/2";
    const L saved{"work=UNI", "ip=10.0.0.2", "fps=96", "tc=none"};
    auto save = [](const QString &fps, const QString &tc) {
        return L{"work=UNI", "ip=10.0.0.2", "fps=" + fps, "tc=" + tc};
    };
    const L cleared{"-work", "-tc", "-enable", "-mode", "-fps", "-ip"};
    row("empty store", L{}, L{}, uni + " | fps 96 | " + tc96, saved);
    row("hyper: empty store", L{"hyper"}, L{}, uni + " | fps 96 | " + tc96, saved);
    row("rate not offered", L{"fps=75"}, L{}, uni + " | fps 96 | " + tc96, saved);
    row("hyper: rate without timecodes", L{"hyper", "fps=75"}, L{},
        uni + " | fps 75 | tc - | mode -", save("75", "none"));
    row("item text", L{"fps=240  *No Glove(s)", "tc=30"}, L{},
        uni + " | fps 240  *No Glove(s) | tc None,24,*30,Local Time | mode -", save("240", "30"));
    row("timecode with junk", L{"fps=120", "tc=24fps"}, L{},
        uni + " | fps 120  *No Glove(s) | tc None,*24,30,Local Time | mode -", save("120", "24"));
    row("timecode 0", L{"fps=50", "tc=0"}, L{}, uni + " | fps 50 | tc *None,25,Local Time | mode -",
        save("50", "none"));
    row("local", L{"tc=local"}, L{}, uni + " | fps 96 | tc None,24,*Local Time | mode -",
        save("96", "local"));
    row("hyper: allowed timecode", L{"hyper", "fps=120", "tc=30"}, L{},
        uni + " | fps 120 | tc *None,24,30,Local Time=30 | mode -", save("120", "30"));
    row("rate change offers its timecodes", L{"tc=30"}, L{"pick fps 5"},
        uni + " | fps 120  *No Glove(s) | tc None,24,*30,Local Time | mode -", save("120", "30"));
    row("rate change drops unsaved choice", L{"tc=30"}, L{"pick fps 5", "pick tc 1", "pick fps 1"},
        uni + " | fps 60 | tc None,*30,Local Time | mode -", save("60", "30"));
    row("hyper: typed 200", L{"hyper"}, L{"type fps 200"},
        uni + " | fps 200 | tc *None,25,Local Time | mode -", save("200", "none"));
    row("hyper: picked item text", L{"hyper"}, L{"pick fps 6"},
        uni + " | fps 240  *No Glove(s) | tc *None,24,30,Local Time | mode -",
        save("240  *No Glove(s)", "none"));
    row("hyper: typed other timecode", L{"hyper", "fps=120"}, L{"edit tc 25"},
        uni + " | fps 120 | tc *None,24,30,Local Time=25 | mode -", save("120", "0"));
    row("hyper: typed words as timecode", L{"hyper"}, L{"pick tc 2", "edit tc soon"},
        uni + " | fps 96 | tc None,24,*Local Time=soon | mode -", save("96", "local"));
    row("mode enabled", L{"enable=true", "mode=magnetic immunity"}, L{},
        uni + " | fps 96 | tc *None,24,Local Time | mode Magnetic Immunity",
        saved + L{"mode=magnetic immunity"});
    row("mode in capitals", L{"enable=true", "mode=Magnetic Immunity"}, L{},
        uni + " | fps 96 | tc *None,24,Local Time | mode Normal", saved + L{"mode=normal"});
    row("enabled in capitals", L{"enable=TRUE", "mode=magnetic immunity"}, L{},
        uni + " | fps 96 | " + tc96, saved);
    row("no adapters", L{"adapters=", "ip=10.9.9.9"}, L{},
        "*Inertial Hybrid | ip /0 | fps 96 | " + tc96, L{"work=UNI", "ip=", "fps=96", "tc=none"});
    row("hybird stored", L{"work=hybird"}, L{},
        "Inertial *Hybrid | ip 10.0.0.2/2 | fps 96 | " + tc96 + " | settings hidden",
        L{"work=hybird"});
    row("Hybrid in capitals", L{"work=Hybrid"}, L{}, uni + " | fps 96 | " + tc96, saved);
    row("UNI only", L{"kinds=UNI"}, L{}, "*Inertial | ip 10.0.0.2/2 | fps 96 | " + tc96, saved);
    row("unknown kinds", L{"kinds=uni,Hybird"}, L{}, "- | ip 10.0.0.2/2 | fps 96 | " + tc96, saved);
    row("active device", L{"device=active", "fps=120"}, L{"press hybrid"},
        "Inertial *Hybrid | ip 10.0.0.2/2 | fps 120  *No Glove(s) | tc *None,24,30,Local Time"
        " | mode - | settings hidden | locked",
        L{});
    row("restore", L{"fps=240", "work=hybird"}, L{"restore"}, uni + " | fps 96 | " + tc96,
        cleared + L{"work=UNI"} + cleared + L{"ip=10.0.0.2", "fps=96", "tc=none"});
    row("german", L{"fps=120", "tc=local"}, L{"german"},
        uni + " | fps 120  *Ohne Handschuh(e) | tc None,24,30,*Local Time | mode -",
        save("120", "local"));
    row("hyper: german", L{"hyper", "fps=120", "tc=local"}, L{"german", "pick fps 6"},
        uni + " | fps 240  *Ohne Handschuh(e) | tc Keine,24,30,*Ortszeit | mode -",
        save("240  *Ohne Handschuh(e)", "local"));
}

void tst_SettingsPage::useOfThePage()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, actions);

    PageTestHost host;
    host.given(given);
    SettingsPage settings;
    QWidget *widget = settings.widget(nullptr);
    QTranslator german;
    for (const QString &action : actions) {
        if (action == "restore") {
            settings.restoreDefaults();
        } else if (action == "german") {
            QVERIFY(german.load(QStringLiteral(UIS_DEV_DE_QM)));
            QVERIFY(QCoreApplication::installTranslator(&german));
            settings.retranslate();
            QCOMPARE(settings.title(), QString::fromUtf8("Ger\u00e4t"));
        } else {
            QVERIFY2(host.act(widget, action), qPrintable(action));
        }
    }
    QTEST(PageTestHost::shown(widget), "page");
    QVERIFY(settings.validate() && settings.apply());
    QTEST(host.changes(), "written");
}

void tst_SettingsPage::widgetLifetime_data()
{
    QTest::addColumn<bool>("destroy");
    QTest::newRow("released, kept alive") << false;
    QTest::newRow("released and deleted") << true;
}

// Guards the dialog's calls before a widget exists (no crash, no write but
// restore-defaults' removals), one widget loaded once per request cycle, and
// a released widget neither leaked nor deleted twice.
void tst_SettingsPage::widgetLifetime()
{
    QFETCH(bool, destroy);
    PageTestHost host;
    QWidget first;
    QWidget second;
    SettingsPage page;
    QCOMPARE(page.id(), std::string("Device"));
    QCOMPARE(page.title(), QStringLiteral("Device"));
    page.prepare();
    page.retranslate();
    page.cancel();
    page.restoreDefaults();
    QVERIFY(page.isAvailable() && page.apply() && page.validate());
    QCOMPARE(page.currentWidget(), nullptr);
    const int pageKeys = 6, storesCleared = 2; // the application's and "dev_hwup"
    QCOMPARE(host.changes().size(), pageKeys * storesCleared);

    QPointer<QWidget> made = page.widget(&first);
    QCOMPARE(page.widget(&second), made.data());
    QCOMPARE(made->parentWidget(), &first);
    QCOMPARE(page.currentWidget(), made.data());
    page.releaseWidget(destroy);
    page.releaseWidget(destroy); // nothing left to let go of
    QCOMPARE(made.isNull(), destroy);
    QCOMPARE(page.currentWidget(), nullptr);
    QPointer<QWidget> fresh = page.widget(nullptr);
    QVERIFY(fresh && fresh != made);
    int loads = 0; // each load reads the capture rate once
    for (const MemorySettingsStore::Call &call : host.peers->hwupStore->calls())
        loads += call.kind == MemorySettingsStore::Call::Read &&
                call.key == "settings.hwup.capturefps";
    QCOMPARE(loads, 2);
}

QTEST_MAIN(tst_SettingsPage)
#include "tst_settingspage.moc"
