#include "PageTestHost.h"

#include "settings/SettingsPage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTranslator>
#include <QtTest>

namespace {

// What the Device page shows, in one line: the offered device types (the
// checked one starred), then the inertial settings: address/count, frame
// rate, timecode items (current starred, "=text" when the field shows
// other text) and connecting mode ("-" for a hidden or empty control).
QString shown(QWidget *page)
{
    QStringList types;
    for (const char *name : {"radioButton_mode_inertia", "radioButton_mode_hybird"}) {
        const auto *radio = child<QRadioButton>(page, name);
        if (!radio->isHidden())
            types << (radio->isChecked() ? "*" : "") + radio->text();
    }
    const auto *ip = child<QComboBox>(page, "comboBox_ip_list");
    const auto *tc = child<QComboBox>(page, "comboBox_tc_pps");
    const auto *mode = child<QComboBox>(page, "comboBox_connection_mode");
    QStringList rates;
    for (int i = 0; i < tc->count(); ++i)
        rates << (i == tc->currentIndex() ? "*" : "") + tc->itemText(i);
    if (tc->currentIndex() >= 0 && tc->currentText() != tc->itemText(tc->currentIndex()))
        rates.last() += '=' + tc->currentText();
    QString line = QStringLiteral("%1 | ip %2/%3 | fps %4 | tc %5 | mode %6")
                           .arg(types.isEmpty() ? "-" : types.join(' '), ip->currentText())
                           .arg(ip->count())
                           .arg(child<QComboBox>(page, "comboBox_fps")->currentText(),
                                rates.isEmpty() ? "-" : rates.join(','),
                                mode->isHidden() ? "-" : mode->currentText());
    if (ip->parentWidget()->isHidden())
        line += " | settings hidden";
    if (!child<QLabel>(page, "label_fps_change_notify")->isHidden() ||
        !child<QLabel>(page, "label_tc_pps_change_notify")->isHidden())
        line += " | notice";
    return page->isEnabled() ? line : line + " | locked";
}

} // namespace

class tst_PageWidget : public QObject
{
    Q_OBJECT

private slots:
    void loadEditApply_data();
    void loadEditApply();
    void retranslateKeepsChoices_data();
    void retranslateKeepsChoices();
};

// Guards the whole page through what the user sees and what a save stores:
// stored values of any shape, the host's device kinds and device, the
// user's choices, in both frame-rate modes.
void tst_PageWidget::loadEditApply_data()
{
    QTest::addColumn<bool>("hyper");
    // Stored "name=value" entries; "kinds", "device" and "adapters" set up the host.
    QTest::addColumn<QStringList>("given");
    // "box=index" picks an item; "fpsText=" types and confirms, "tcText=" edits
    // the timecode field; "hybrid" and "inertial" press the radio buttons.
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("written");

    using L = QStringList;
    const QString tc96 = "tc *None,24,Local Time | mode -";
    const QString uni = "*Inertial Hybrid | ip 10.0.0.2/2";
    const L saved{"work=UNI", "ip=10.0.0.2", "fps=96", "tc=none"};
    auto save = [](const QString &fps, const QString &tc) {
        return L{"work=UNI", "ip=10.0.0.2", "fps=" + fps, "tc=" + tc};
    };
    // clang-format off
    QTest::newRow("empty store") << false << L{} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("hyper: empty store") << true << L{} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("rate not offered") << false << L{"fps=75"} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("hyper: rate without timecodes") << true << L{"fps=75"} << L{} << uni + " | fps 75 | tc - | mode -" << save("75", "none");
    QTest::newRow("words") << false << L{"fps=fast"} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("hyper: words are 0") << true << L{"fps=fast"} << L{} << uni + " | fps 0 | tc - | mode -" << save("0", "none");
    QTest::newRow("hyper: huge is clamped") << true << L{"fps=99999999999999"} << L{} << uni + " | fps 2147483647 | tc - | mode -" << save("2147483647", "none");
    QTest::newRow("item text") << false << L{"fps=240  *No Glove(s)", "tc=30"} << L{} << uni + " | fps 240  *No Glove(s) | tc None,24,*30,Local Time | mode -" << save("240", "30");
    QTest::newRow("hyper: item text") << true << L{"fps=240  *No Glove(s)"} << L{} << uni + " | fps 240 | tc *None,24,30,Local Time | mode -" << save("240", "none");
    QTest::newRow("timecode not allowed") << false << L{"tc=30"} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("timecode with junk") << false << L{"fps=120", "tc=24fps"} << L{} << uni + " | fps 120  *No Glove(s) | tc None,*24,30,Local Time | mode -" << save("120", "24");
    QTest::newRow("timecode 0") << false << L{"fps=50", "tc=0"} << L{} << uni + " | fps 50 | tc *None,25,Local Time | mode -" << save("50", "none");
    QTest::newRow("local") << false << L{"tc=local"} << L{} << uni + " | fps 96 | tc None,24,*Local Time | mode -" << save("96", "local");
    QTest::newRow("Local in capitals") << false << L{"tc=Local"} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("hyper: allowed timecode") << true << L{"fps=120", "tc=30"} << L{} << uni + " | fps 120 | tc *None,24,30,Local Time=30 | mode -" << save("120", "30");
    QTest::newRow("rate change offers its timecodes") << false << L{"tc=30"} << L{"fps=5"} << uni + " | fps 120  *No Glove(s) | tc None,24,*30,Local Time | mode -" << save("120", "30");
    QTest::newRow("rate change drops unsaved choice") << false << L{"tc=30"} << L{"fps=5", "tc=1", "fps=1"} << uni + " | fps 60 | tc None,*30,Local Time | mode -" << save("60", "30");
    QTest::newRow("picked None") << false << L{"tc=24"} << L{"tc=0"} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("hyper: typed 200") << true << L{} << L{"fpsText=200"} << uni + " | fps 200 | tc *None,25,Local Time | mode -" << save("200", "none");
    QTest::newRow("hyper: typed words") << true << L{} << L{"fpsText=fast"} << uni + " | fps fast | tc - | mode -" << save("fast", "none");
    QTest::newRow("hyper: picked item text") << true << L{} << L{"fps=6"} << uni + " | fps 240  *No Glove(s) | tc *None,24,30,Local Time | mode -" << save("240  *No Glove(s)", "none");
    QTest::newRow("hyper: typed other timecode") << true << L{"fps=120"} << L{"tcText=25"} << uni + " | fps 120 | tc *None,24,30,Local Time=25 | mode -" << save("120", "0");
    QTest::newRow("hyper: typed item name") << true << L{} << L{"tcText=Local Time"} << uni + " | fps 96 | tc *None,24,Local Time=Local Time | mode -" << save("96", "local");
    QTest::newRow("hyper: typed words as timecode") << true << L{} << L{"tc=2", "tcText=soon"} << uni + " | fps 96 | tc None,24,*Local Time=soon | mode -" << save("96", "local");
    QTest::newRow("mode enabled") << false << L{"enable=true", "mode=magnetic immunity"} << L{} << uni + " | fps 96 | tc *None,24,Local Time | mode Magnetic Immunity" << saved + L{"mode=magnetic immunity"};
    QTest::newRow("mode in capitals") << false << L{"enable=true", "mode=Magnetic Immunity"} << L{} << uni + " | fps 96 | tc *None,24,Local Time | mode Normal" << saved + L{"mode=normal"};
    QTest::newRow("mode picked") << false << L{"enable=true"} << L{"mode=1"} << uni + " | fps 96 | tc *None,24,Local Time | mode Magnetic Immunity" << saved + L{"mode=magnetic immunity"};
    QTest::newRow("enabled in capitals") << false << L{"enable=TRUE", "mode=magnetic immunity"} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("stored address") << false << L{"ip=192.168.0.10"} << L{} << "*Inertial Hybrid | ip 192.168.0.10/2 | fps 96 | " + tc96 << L{"work=UNI", "ip=192.168.0.10", "fps=96", "tc=none"};
    QTest::newRow("address gone") << false << L{"ip=10.9.9.9"} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("sorted, link-local left out") << false << L{"adapters=192.168.0.9,169.254.1.2,10.0.0.2"} << L{"ip=1"} << "*Inertial Hybrid | ip 192.168.0.9/2 | fps 96 | " + tc96 << L{"work=UNI", "ip=192.168.0.9", "fps=96", "tc=none"};
    QTest::newRow("no adapters") << false << L{"adapters=", "ip=10.9.9.9"} << L{} << "*Inertial Hybrid | ip /0 | fps 96 | " + tc96 << L{"work=UNI", "ip=", "fps=96", "tc=none"};
    QTest::newRow("hybird stored") << false << L{"work=hybird"} << L{} << "Inertial *Hybrid | ip 10.0.0.2/2 | fps 96 | " + tc96 + " | settings hidden" << L{"work=hybird"};
    QTest::newRow("Hybrid in capitals") << false << L{"work=Hybrid"} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("Hybrid picked") << false << L{} << L{"hybrid"} << "Inertial *Hybrid | ip 10.0.0.2/2 | fps 96 | " + tc96 + " | settings hidden" << L{"work=hybird"};
    QTest::newRow("picked back") << false << L{"work=hybird"} << L{"inertial"} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("UNI only") << false << L{"kinds=UNI"} << L{} << "*Inertial | ip 10.0.0.2/2 | fps 96 | " + tc96 << saved;
    QTest::newRow("unknown kinds") << false << L{"kinds=uni,Hybird"} << L{} << "- | ip 10.0.0.2/2 | fps 96 | " + tc96 << saved;
    QTest::newRow("idle device") << false << L{"device=idle"} << L{} << uni + " | fps 96 | " + tc96 << saved;
    QTest::newRow("active device") << false << L{"device=active", "fps=120"} << L{"hybrid"} << "Inertial *Hybrid | ip 10.0.0.2/2 | fps 120  *No Glove(s) | tc *None,24,30,Local Time | mode - | settings hidden | locked" << L{};
    // clang-format on
}

void tst_PageWidget::loadEditApply()
{
    QFETCH(bool, hyper);
    QFETCH(QStringList, given);
    QFETCH(QStringList, actions);
    QFETCH(QString, page);
    QFETCH(QStringList, written);

    PageTestHost host;
    host.setHyperFps(hyper);
    for (const QString &entry : given) {
        const QString name = entry.section('=', 0, 0);
        const QStringList values = entry.section('=', 1).split(',', Qt::SkipEmptyParts);
        if (name == "adapters") {
            PageTestHost::scriptAdapters(values);
        } else if (name == "kinds") {
            std::vector<std::string> kinds;
            for (const QString &kind : values)
                kinds.push_back(kind.toStdString());
            host.peers->studio->hostCore().hostDevices().setKindNames(kinds);
        } else if (name == "device") {
            auto device = std::make_shared<HostDevice>();
            device->setActive(values.value(0) == "active");
            host.peers->studio->hostCore().hostDevices().setCurrentDevice(device);
        } else {
            host.store({entry});
        }
    }
    SettingsPage settings;
    QWidget *widget = settings.widget(nullptr);
    const QMap<QString, QString> boxes{{"ip", "comboBox_ip_list"},
                                       {"fps", "comboBox_fps"},
                                       {"tc", "comboBox_tc_pps"},
                                       {"mode", "comboBox_connection_mode"}};
    auto *fps = child<QComboBox>(widget, "comboBox_fps");
    for (const QString &action : actions) {
        const QString name = action.section('=', 0, 0);
        const QString value = action.section('=', 1);
        if (action == "hybrid" || action == "inertial") {
            child<QRadioButton>(widget,
                                action == "hybrid" ? "radioButton_mode_hybird"
                                                   : "radioButton_mode_inertia")
                    ->setChecked(true);
        } else if (name == "fpsText") {
            fps->lineEdit()->setText(value);
            QTest::keyClick(fps->lineEdit(), Qt::Key_Return);
        } else if (name == "tcText") {
            child<QComboBox>(widget, "comboBox_tc_pps")->setEditText(value);
        } else {
            auto *box = child<QComboBox>(widget, qPrintable(boxes.value(name)));
            QVERIFY2(box, qPrintable(action));
            box->setCurrentIndex(value.toInt());
        }
    }
    QCOMPARE(shown(widget), page);
    QCOMPARE(host.changes(), QStringList()); // loading and choosing write nothing
    QVERIFY(settings.validate());
    settings.cancel();
    QVERIFY(settings.apply());
    QCOMPARE(host.changes(), written);
}

void tst_PageWidget::retranslateKeepsChoices_data()
{
    QTest::addColumn<bool>("hyper");
    QTest::newRow("normal") << false;
    QTest::newRow("hyper") << true;
}

// Guards a change of language: new texts, same choices and edit fields;
// "None" and "Local Time" take the language at the next rebuild of the list.
void tst_PageWidget::retranslateKeepsChoices()
{
    QFETCH(bool, hyper);
    PageTestHost host;
    host.setHyperFps(hyper);
    host.store({"fps=120", "tc=local"});
    SettingsPage settings;
    QWidget *widget = settings.widget(nullptr);
    const QString before = shown(widget);

    QTranslator german;
    QVERIFY(german.load(QStringLiteral(UIS_DEV_DE_QM)));
    QVERIFY(QCoreApplication::installTranslator(&german));
    settings.retranslate();
    QCOMPARE(settings.title(), QString::fromUtf8("Ger\u00e4t"));
    QCOMPARE(child<QLabel>(widget, "label")->text(), QString::fromUtf8("Ger\u00e4tetyp"));
    QCOMPARE(shown(widget).section(" | ", 1),
             before.section(" | ", 1).replace("120  *No Glove(s)",
                                              hyper ? "120" : "120  *Ohne Handschuh(e)"));
    child<QComboBox>(widget, "comboBox_fps")->setCurrentIndex(6);
    QCOMPARE(shown(widget).section(" | ", 3, 3), QStringLiteral("tc Keine,24,30,*Ortszeit"));
    QCoreApplication::removeTranslator(&german);
}

QTEST_MAIN(tst_PageWidget)
#include "tst_pagewidget.moc"
