#include "PageTestHost.h"

#include "settings/MirelSettingsWidget.h"
#include "settings/PageWidget.h"
#include "settings/SettingsPage.h"
#include "settings/UniSettingsWidget.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QTranslator>
#include <QtTest>

namespace {

const QString kPopupStyle = "QListView{background:black;}QListView::item{height:25px;}";
const int kMax = QWIDGETSIZE_MAX;

// One line per layout item, in order: a widget's or layout's object name, a
// spacer's size and policies.
QStringList describeItems(const QLayout *layout)
{
    QStringList items;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (QWidget *widget = item->widget()) {
            items << widget->objectName();
        } else if (QLayout *inner = item->layout()) {
            items << inner->objectName();
        } else if (QSpacerItem *spacer = item->spacerItem()) {
            const QSizePolicy policy = spacer->sizePolicy();
            items << QString("spacer %1x%2 %3/%4")
                             .arg(spacer->sizeHint().width())
                             .arg(spacer->sizeHint().height())
                             .arg(policy.horizontalPolicy())
                             .arg(policy.verticalPolicy());
        }
    }
    return items;
}

QString spacer(int w, int h, QSizePolicy::Policy horizontal, QSizePolicy::Policy vertical)
{
    return QString("spacer %1x%2 %3/%4").arg(w).arg(h).arg(horizontal).arg(vertical);
}

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
    void init();
    void cleanup();
    void widgets_data();
    void widgets();
    void layouts_data();
    void layouts();
    void texts_data();
    void texts();
    void inertialFormDetails();
    void retranslate_data();
    void retranslate();

private:
    QWidget *form(const QString &name);

    std::unique_ptr<PageTestHost> host;
    std::unique_ptr<QWidget> made;
    QTranslator german;
};

void tst_Forms::init() { host = std::make_unique<PageTestHost>(); }

void tst_Forms::cleanup()
{
    QCoreApplication::removeTranslator(&german);
    made.reset();
    host.reset();
}

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

// Guards object names, classes, parents and the fixed sizes of every control.
void tst_Forms::widgets_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QSize>("maximum");

    const QSize none(0, 0);
    const QSize free(kMax, kMax);
    // clang-format off
    QTest::newRow("page") << "PageWidget" << "PageWidget" << "PageWidget" << "" << none << free;
    QTest::newRow("page label") << "PageWidget" << "label" << "QLabel" << "PageWidget" << QSize(0, 25) << QSize(kMax, 25);
    QTest::newRow("page widget_tab") << "PageWidget" << "widget_tab" << "QWidget" << "PageWidget" << QSize(0, 40) << QSize(kMax, 40);
    QTest::newRow("page inertia") << "PageWidget" << "radioButton_mode_inertia" << "QRadioButton" << "widget_tab" << QSize(150, 0) << free;
    QTest::newRow("page hybird") << "PageWidget" << "radioButton_mode_hybird" << "QRadioButton" << "widget_tab" << QSize(100, 0) << free;
    QTest::newRow("page settings") << "PageWidget" << "widget_settings" << "QWidget" << "PageWidget" << none << free;
    QTest::newRow("page's inertial widget") << "PageWidget" << "UniSettingsWidget" << "UniSettingsWidget" << "widget_settings" << none << free;
    QTest::newRow("uni label") << "UniSettingsWidget" << "label" << "QLabel" << "UniSettingsWidget" << none << free;
    QTest::newRow("uni ip") << "UniSettingsWidget" << "comboBox_ip_list" << "QComboBox" << "UniSettingsWidget" << QSize(240, 25) << QSize(240, 25);
    QTest::newRow("uni label_2") << "UniSettingsWidget" << "label_2" << "QLabel" << "UniSettingsWidget" << none << free;
    QTest::newRow("uni fps") << "UniSettingsWidget" << "comboBox_fps" << "QComboBox" << "UniSettingsWidget" << QSize(240, 25) << QSize(240, kMax);
    QTest::newRow("uni fps notice") << "UniSettingsWidget" << "label_fps_change_notify" << "QLabel" << "UniSettingsWidget" << none << free;
    QTest::newRow("uni label_3") << "UniSettingsWidget" << "label_3" << "QLabel" << "UniSettingsWidget" << none << free;
    QTest::newRow("uni tc") << "UniSettingsWidget" << "comboBox_tc_pps" << "QComboBox" << "UniSettingsWidget" << QSize(240, 25) << free;
    QTest::newRow("uni tc notice") << "UniSettingsWidget" << "label_tc_pps_change_notify" << "QLabel" << "UniSettingsWidget" << none << free;
    QTest::newRow("uni mode label") << "UniSettingsWidget" << "label_connection_mode" << "QLabel" << "UniSettingsWidget" << none << free;
    QTest::newRow("uni mode") << "UniSettingsWidget" << "comboBox_connection_mode" << "QComboBox" << "UniSettingsWidget" << QSize(240, 25) << QSize(240, 25);
    QTest::newRow("mirel label_2") << "MirelSettingsWidget" << "label_2" << "QLabel" << "MirelSettingsWidget" << none << free;
    QTest::newRow("mirel fps") << "MirelSettingsWidget" << "comboBox_fps" << "QComboBox" << "MirelSettingsWidget" << QSize(240, 25) << QSize(240, kMax);
    QTest::newRow("mirel notice") << "MirelSettingsWidget" << "label_fps_change_notify" << "QLabel" << "MirelSettingsWidget" << none << free;
    // clang-format on
}

void tst_Forms::widgets()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QSize, minimum);
    QFETCH(QSize, maximum);

    QWidget *root = this->form(form);
    QWidget *widget = name == form ? root : root->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(QString(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget() ? widget->parentWidget()->objectName() : QString(), parentName);
    QCOMPARE(widget->minimumSize(), minimum);
    QCOMPARE(widget->maximumSize(), maximum);
}

// Guards the nesting and order of the layouts, their spacers, spacing and
// the explicit margins (the others are left to the style).
void tst_Forms::layouts_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("spacing"); // -1: left to the style
    QTest::addColumn<QPoint>("leftTop"); // explicit left and top margins, -1: style
    QTest::addColumn<QStringList>("items");

    using P = QSizePolicy;
    const QString fixed = spacer(40, 20, P::Fixed, P::Minimum);
    const QString expanding = spacer(40, 20, P::Expanding, P::Minimum);
    const QString bottom = spacer(20, 197, P::Minimum, P::Expanding);
    using L = QStringList;
    // clang-format off
    QTest::newRow("page") << "PageWidget" << "verticalLayout" << 6 << QPoint(20, 9) << L{"label", "widget_tab", "widget_settings"};
    QTest::newRow("page tab") << "PageWidget" << "horizontalLayout" << -1 << QPoint(40, -1) << L{"radioButton_mode_inertia", "radioButton_mode_hybird", expanding};
    QTest::newRow("uni top") << "UniSettingsWidget" << "verticalLayout_4" << 20 << QPoint(0, 0) << L{"verticalLayout_3", "verticalLayout_2", "verticalLayout_7", "verticalLayout_5", bottom};
    QTest::newRow("uni network") << "UniSettingsWidget" << "verticalLayout_3" << -1 << QPoint(-1, -1) << L{"label", "horizontalLayout"};
    QTest::newRow("uni address row") << "UniSettingsWidget" << "horizontalLayout" << 0 << QPoint(-1, -1) << L{fixed, "comboBox_ip_list", expanding};
    QTest::newRow("uni fps group") << "UniSettingsWidget" << "verticalLayout_2" << -1 << QPoint(-1, -1) << L{"label_2", "verticalLayout"};
    QTest::newRow("uni fps indent") << "UniSettingsWidget" << "verticalLayout" << -1 << QPoint(40, -1) << L{"comboBox_fps", "label_fps_change_notify"};
    QTest::newRow("uni tc group") << "UniSettingsWidget" << "verticalLayout_7" << -1 << QPoint(-1, -1) << L{"label_3", "verticalLayout_6"};
    QTest::newRow("uni tc indent") << "UniSettingsWidget" << "verticalLayout_6" << -1 << QPoint(40, -1) << L{"comboBox_tc_pps", "label_tc_pps_change_notify"};
    QTest::newRow("uni mode group") << "UniSettingsWidget" << "verticalLayout_5" << -1 << QPoint(-1, -1) << L{"label_connection_mode", "horizontalLayout_2"};
    QTest::newRow("uni mode row") << "UniSettingsWidget" << "horizontalLayout_2" << 0 << QPoint(-1, -1) << L{fixed, "comboBox_connection_mode", expanding};
    QTest::newRow("mirel top") << "MirelSettingsWidget" << "verticalLayout_4" << 20 << QPoint(0, 0) << L{"verticalLayout_2", bottom};
    QTest::newRow("mirel group") << "MirelSettingsWidget" << "verticalLayout_2" << -1 << QPoint(-1, -1) << L{"label_2", "verticalLayout"};
    QTest::newRow("mirel indent") << "MirelSettingsWidget" << "verticalLayout" << -1 << QPoint(40, -1) << L{"comboBox_fps", "label_fps_change_notify"};
    // clang-format on
}

void tst_Forms::layouts()
{
    QFETCH(QString, form);
    QFETCH(QString, layout);
    QFETCH(int, spacing);
    QFETCH(QPoint, leftTop);
    QFETCH(QStringList, items);

    QWidget *root = this->form(form);
    auto *found = root->findChild<QLayout *>(layout);
    QVERIFY2(found, qPrintable(layout));
    QCOMPARE(describeItems(found), items);
    if (spacing >= 0)
        QCOMPARE(found->spacing(), spacing);
    // A nested layout resolves a margin left to the style to 0.
    const QMargins margins = found->contentsMargins();
    if (leftTop.x() >= 0)
        QCOMPARE(margins.left(), leftTop.x());
    if (leftTop.y() >= 0)
        QCOMPARE(margins.top(), leftTop.y());
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

// Guards styles, alignment, word wrap, popups and the wheel filter of the
// inertial form, and the item texts that are deliberately no numbers.
void tst_Forms::inertialFormDetails()
{
    QWidget *root = form("UniSettingsWidget");
    auto *fpsNotice = child<QLabel>(root, "label_fps_change_notify");
    auto *tcNotice = child<QLabel>(root, "label_tc_pps_change_notify");
    QCOMPARE(fpsNotice->styleSheet(), QStringLiteral("color:yellow; "));
    QCOMPARE(tcNotice->styleSheet(), QStringLiteral("color:yellow; "));
    QVERIFY(fpsNotice->wordWrap());
    QVERIFY(!tcNotice->wordWrap());
    const Qt::Alignment leftCentred = Qt::AlignLeading | Qt::AlignLeft | Qt::AlignVCenter;
    QCOMPARE(fpsNotice->alignment(), leftCentred);
    QCOMPARE(child<QLabel>(root, "label_2")->alignment(), leftCentred);

    auto *tc = child<QComboBox>(root, "comboBox_tc_pps");
    QCOMPARE(tc->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(tc->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(tc->view()->styleSheet(), QString()); // keeps Qt's own popup
    QCOMPARE(tc->focusPolicy(), Qt::WheelFocus); // no wheel filter
    for (const char *name : {"comboBox_ip_list", "comboBox_fps", "comboBox_connection_mode"}) {
        auto *box = child<QComboBox>(root, name);
        QVERIFY(qobject_cast<QListView *>(box->view()));
        QCOMPARE(box->view()->styleSheet(), kPopupStyle);
        QCOMPARE(box->focusPolicy(), Qt::StrongFocus); // the wheel filter's doing
    }
    auto *mirelFps = child<QComboBox>(form("MirelSettingsWidget"), "comboBox_fps");
    QCOMPARE(mirelFps->view()->styleSheet(), kPopupStyle);

    auto *fps = child<QComboBox>(form("UniSettingsWidget"), "comboBox_fps");
    bool isNumber = true;
    fps->itemText(5).toInt(&isNumber);
    QVERIFY(!isNumber);
    fps->itemText(6).toInt(&isNumber);
    QVERIFY(!isNumber);
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
