#include "PageTestHost.h"

#include "settings/MirelSettingsWidget.h"
#include "settings/SettingsPage.h"
#include "settings/UniSettingsWidget.h"

#include <QLabel>
#include <QTranslator>
#include <QtTest>

class tst_Forms : public QObject
{
    Q_OBJECT

private slots:
    void init() { host = std::make_unique<PageTestHost>(); }
    void cleanup()
    {
        QCoreApplication::removeTranslator(&german);
        made.reset();
        host.reset();
    }
    void listItems_data();
    void listItems();
    void wheelFilterOnListBoxesOnly();
    void retranslate_data();
    void retranslate();

private:
    QWidget *form(const QString &name);

    std::unique_ptr<PageTestHost> host;
    std::unique_ptr<QWidget> made;
    QTranslator german;
};

QWidget *tst_Forms::form(const QString &name)
{
    if (name == "UniSettingsWidget")
        made = std::make_unique<UniSettingsWidget>(false, nullptr);
    else
        made = std::make_unique<MirelSettingsWidget>(nullptr);
    return made.get();
}

// Guards the items of the forms' lists, whose positions stand for the stored
// values, and the lists the page fills itself starting out empty.
void tst_Forms::listItems_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items");

    using L = QStringList;
    // clang-format off
    QTest::newRow("uni fps") << "UniSettingsWidget" << "comboBox_fps" << L{"50", "60", "90", "96", "100", "120  *No Glove(s)", "240  *No Glove(s)"};
    QTest::newRow("uni mode") << "UniSettingsWidget" << "comboBox_connection_mode" << L{"Normal", "Magnetic Immunity"};
    QTest::newRow("uni ip") << "UniSettingsWidget" << "comboBox_ip_list" << L{};
    QTest::newRow("uni tc") << "UniSettingsWidget" << "comboBox_tc_pps" << L{};
    QTest::newRow("mirel fps") << "MirelSettingsWidget" << "comboBox_fps" << L{"60", "90", "96", "100", "120 (No Fingers)", "240 (No Fingers)"};
    // clang-format on
}

void tst_Forms::listItems()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QStringList, items);

    auto *box = child<QComboBox>(this->form(form), qPrintable(name));
    QVERIFY2(box, qPrintable(name));
    QCOMPARE(itemTexts(box), items);
    QCOMPARE(box->currentIndex(), items.isEmpty() ? -1 : 0);
}

// Guards against the wheel changing a closed list box while the page
// scrolls (the filter sets StrongFocus), and against the filter on the
// timecode box, whose field must still take the wheel in hyper mode.
void tst_Forms::wheelFilterOnListBoxesOnly()
{
    QWidget *root = form("UniSettingsWidget");
    QCOMPARE(child<QComboBox>(root, "comboBox_tc_pps")->focusPolicy(), Qt::WheelFocus);
    for (const char *name : {"comboBox_ip_list", "comboBox_fps", "comboBox_connection_mode"})
        QCOMPARE(child<QComboBox>(root, name)->focusPolicy(), Qt::StrongFocus);
}

// Guards a change of language: new texts and title, while item counts,
// current choices, edit fields and visibility stay; "None" and "Local Time"
// change only when the timecode list is rebuilt.
void tst_Forms::retranslate_data()
{
    QTest::addColumn<bool>("hyper");
    QTest::newRow("normal") << false;
    QTest::newRow("hyper") << true;
}

void tst_Forms::retranslate()
{
    QFETCH(bool, hyper);
    host->setHyperFps(hyper);
    host->peers->hwupStore->setValue("settings.hwup.capturefps", "120");
    host->peers->hwupStore->setValue("settings.hwup.local_timecode_rate", "local");
    auto page = std::make_shared<SettingsPage>();
    QWidget *widget = page->widget(nullptr);
    auto *fps = child<QComboBox>(widget, "comboBox_fps");
    auto *tc = child<QComboBox>(widget, "comboBox_tc_pps");
    auto *mode = child<QComboBox>(widget, "comboBox_connection_mode");
    const QString shownFps = fps->currentText();
    const int fpsIndex = fps->currentIndex();

    QVERIFY(german.load(QStringLiteral(UIS_DEV_DE_QM)));
    QVERIFY(QCoreApplication::installTranslator(&german));
    QCOMPARE(page->title(), QString::fromUtf8("Ger\u00e4t"));
    page->retranslate();

    QCOMPARE(child<QLabel>(widget, "label")->text(), QString::fromUtf8("Ger\u00e4tetyp"));
    QCOMPARE(child<QLabel>(widget->findChild<UniSettingsWidget *>(), "label")->text(),
             QStringLiteral("Netzwerk"));
    QCOMPARE(fps->itemText(6), QStringLiteral("240  *Ohne Handschuh(e)"));
    QCOMPARE(mode->itemText(1), QString::fromUtf8("Magnetische St\u00f6rfestigkeit"));
    QCOMPARE(fps->count(), 7);
    QCOMPARE(fps->currentIndex(), fpsIndex);
    QCOMPARE(fps->currentText(), hyper ? shownFps : fps->itemText(5));
    QCOMPARE(mode->count(), 2);
    QVERIFY(mode->isHidden());
    QVERIFY(child<QLabel>(widget, "label_fps_change_notify")->isHidden());
    QCOMPARE(itemTexts(tc), (QStringList{"None", "24", "30", "Local Time"}));
    QCOMPARE(tc->currentIndex(), 3);

    fps->setCurrentIndex(6); // a rebuild takes the new language
    QCOMPARE(itemTexts(tc), (QStringList{"Keine", "24", "30", "Ortszeit"}));
    QCOMPARE(tc->currentText(), QStringLiteral("Ortszeit"));

    auto mirel = std::make_unique<MirelSettingsWidget>(nullptr);
    QCOMPARE(child<QLabel>(mirel.get(), "label_2")->text(), QStringLiteral("Bildrate"));
}

QTEST_MAIN(tst_Forms)
#include "tst_forms.moc"
