#include "PageTestHost.h"

#include "settings/MirelSettingsWidget.h"
#include "settings/PageWidget.h"
#include "settings/SettingsPage.h"
#include "settings/UniSettingsWidget.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTranslator>
#include <QtTest>

namespace {

QStringList texts(QWidget *widget)
{
    if (auto *box = qobject_cast<QComboBox *>(widget))
        return itemTexts(box);
    if (auto *label = qobject_cast<QLabel *>(widget))
        return {label->text()};
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return {button->text()};
    return {widget->windowTitle()};
}

} // namespace

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
    void texts_data();
    void texts();
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
    if (name == "PageWidget")
        made = std::make_unique<PageWidget>(false, nullptr);
    else if (name == "UniSettingsWidget")
        made = std::make_unique<UniSettingsWidget>(false, nullptr);
    else
        made = std::make_unique<MirelSettingsWidget>(nullptr);
    return made.get();
}

// Guards every source text the forms show, right after they are made.
void tst_Forms::texts_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("texts");

    const QString notice = "This setting will be applied at next connection";
    using L = QStringList;
    // clang-format off
    QTest::newRow("page title") << "PageWidget" << "PageWidget" << L{"Form"};
    QTest::newRow("page label") << "PageWidget" << "label" << L{"Device Type"};
    QTest::newRow("page inertia") << "PageWidget" << "radioButton_mode_inertia" << L{"Inertial"};
    QTest::newRow("page hybird") << "PageWidget" << "radioButton_mode_hybird" << L{"Hybrid"};
    QTest::newRow("uni title") << "UniSettingsWidget" << "UniSettingsWidget" << L{"Form"};
    QTest::newRow("uni label") << "UniSettingsWidget" << "label" << L{"Network"};
    QTest::newRow("uni label_2") << "UniSettingsWidget" << "label_2" << L{"Frame Rate (Mocap Device)"};
    QTest::newRow("uni fps") << "UniSettingsWidget" << "comboBox_fps" << L{"50", "60", "90", "96", "100", "120  *No Glove(s)", "240  *No Glove(s)"};
    QTest::newRow("uni fps notice") << "UniSettingsWidget" << "label_fps_change_notify" << L{notice};
    QTest::newRow("uni label_3") << "UniSettingsWidget" << "label_3" << L{"Frame Rate (PC Timecode)"};
    QTest::newRow("uni tc notice") << "UniSettingsWidget" << "label_tc_pps_change_notify" << L{notice};
    QTest::newRow("uni mode label") << "UniSettingsWidget" << "label_connection_mode" << L{"Connecting Mode"};
    QTest::newRow("uni mode") << "UniSettingsWidget" << "comboBox_connection_mode" << L{"Normal", "Magnetic Immunity"};
    QTest::newRow("uni ip") << "UniSettingsWidget" << "comboBox_ip_list" << L{};
    QTest::newRow("uni tc") << "UniSettingsWidget" << "comboBox_tc_pps" << L{};
    QTest::newRow("mirel title") << "MirelSettingsWidget" << "MirelSettingsWidget" << L{"Form"};
    QTest::newRow("mirel label_2") << "MirelSettingsWidget" << "label_2" << L{"Frame Rate"};
    QTest::newRow("mirel fps") << "MirelSettingsWidget" << "comboBox_fps" << L{"60", "90", "96", "100", "120 (No Fingers)", "240 (No Fingers)"};
    QTest::newRow("mirel notice") << "MirelSettingsWidget" << "label_fps_change_notify" << L{"The \"Frame Rate\" setting must be the same with hybird server"};
    // clang-format on
}

void tst_Forms::texts()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QStringList, texts);

    QWidget *root = this->form(form);
    QWidget *widget = name == form ? root : root->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(::texts(widget), texts);
    if (auto *box = qobject_cast<QComboBox *>(widget))
        QCOMPARE(box->currentIndex(), texts.isEmpty() ? -1 : 0);
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
