#include "SettingsDialog.h"
#include "host/AbstractSettingsPage.h"
#include "host/DevHwupModule.h"
#include "studio/orvane/StudioApplication.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

#include <stdexcept>
#include <system_error>

namespace {

// A settings page that records every call the dialog makes and can be told
// to fail. The real page cannot be made to throw on demand, nor count calls.
class FakePage final : public AbstractSettingsPage
{
public:
    FakePage(QString name, QStringList *log)
        : m_name(std::move(name))
        , m_log(log)
    { }
    ~FakePage() override { delete m_widget; }

    // The operation that fails: "widget", "apply", "validate", ...
    QString failIn;
    // How it fails: "lookup" (a missing dev_hwup), "runtime", "false".
    QString failHow = QStringLiteral("lookup");
    bool available = true;
    int titleVersion = 0;
    QPointer<QWidget> lastWidget;

    std::string id() override { return m_name.toStdString(); }
    QWidget *widget(QWidget *parent) override
    {
        record("widget");
        if (!m_widget)
            lastWidget = m_widget = new QLabel(m_name, parent);
        maybeFail("widget");
        return m_widget;
    }
    QString title() override { return m_name + QStringLiteral(" v%1").arg(titleVersion); }
    QWidget *currentWidget() override { return m_widget; }
    bool isAvailable() override { return available; }
    void prepare() override { record("prepare"); }
    void retranslate() override { record("retranslate"); }
    bool apply() override
    {
        record("apply");
        return maybeFail("apply");
    }
    void cancel() override { record("cancel"); }
    bool validate() override
    {
        record("validate");
        return maybeFail("validate");
    }
    void restoreDefaults() override
    {
        record("restoreDefaults");
        maybeFail("restoreDefaults");
    }
    void releaseWidget(bool destroy) override
    {
        record(destroy ? "releaseWidget(true)" : "releaseWidget(false)");
        if (destroy)
            delete m_widget;
        m_widget = nullptr;
    }

private:
    void record(const char *call) { m_log->append(m_name + QLatin1Char('.') + call); }
    bool maybeFail(const char *call)
    {
        if (failIn != QLatin1String(call))
            return true;
        if (failHow == QLatin1String("runtime"))
            throw std::runtime_error("page broke");
        if (failHow == QLatin1String("false"))
            return false;
        // What the real page does when a peer is missing: a typed look-up
        // that the host answers with an error code.
        std::error_code ec;
        orvane::Application::instance().findModule(this, "dev_hwup", typeid(DevHwupModule), ec);
        throw std::system_error(ec);
    }

    QString m_name;
    QStringList *m_log;
    QWidget *m_widget = nullptr;
};

QAbstractButton *button(SettingsDialog &dialog, QDialogButtonBox::StandardButton which)
{
    return dialog.findChild<QDialogButtonBox *>("buttonBox")->button(which);
}

} // namespace

class tst_SettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { orvane::StudioApplication::instance().reset(); }

    void buttons_data();
    void buttons();
    void pageErrors_data();
    void pageErrors();
    void failedWidgetIsNotApplied();
    void languageChange();
    void listsAvailablePagesInOrder();
    void destroyingReleasesWidgets();
    void reloadAsksForFreshWidget();
};

void tst_SettingsDialog::buttons_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<bool>("showSecond"); // whether page B's widget was asked for
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("stillOpen");

    QTest::newRow("Apply, one page shown")
            << "apply" << false << QStringList{"A.validate", "A.apply"} << true;
    QTest::newRow("Apply, both shown: all validate before any applies")
            << "apply" << true << QStringList{"A.validate", "B.validate", "A.apply", "B.apply"}
            << true;
    QTest::newRow("OK applies then releases")
            << "ok" << false << QStringList{"A.validate", "A.apply", "A.releaseWidget(true)"}
            << false;
    QTest::newRow("Cancel cancels then releases")
            << "cancel" << true
            << QStringList{"A.cancel", "B.cancel", "A.releaseWidget(true)", "B.releaseWidget(true)"}
            << false;
    QTest::newRow("Restore Defaults only on the current page")
            << "restore" << true << QStringList{"B.restoreDefaults"} << true;
}

// Guards against the dialog calling pages in the wrong order, calling pages
// it never showed, or leaving widgets behind when it closes.
void tst_SettingsDialog::buttons()
{
    QFETCH(QString, press);
    QFETCH(bool, showSecond);
    QStringList log;
    auto a = std::make_shared<FakePage>("A", &log);
    auto b = std::make_shared<FakePage>("B", &log);
    SettingsDialog dialog({a, b});
    dialog.setMessageBoxesEnabled(false);
    QSignalSpy errors(&dialog, &SettingsDialog::errorShown);
    dialog.show();
    if (showSecond)
        dialog.findChild<QListWidget *>("listWidgetPages")->setCurrentRow(1);
    QCOMPARE(log, showSecond ? QStringList({"A.widget", "B.widget"}) : QStringList({"A.widget"}));
    log.clear();

    const QMap<QString, QDialogButtonBox::StandardButton>
            buttons{{"apply", QDialogButtonBox::Apply},
                    {"ok", QDialogButtonBox::Ok},
                    {"cancel", QDialogButtonBox::Cancel},
                    {"restore", QDialogButtonBox::RestoreDefaults}};
    button(dialog, buttons.value(press))->click();

    QTEST(log, "calls");
    QTEST(dialog.isVisible(), "stillOpen");
    QCOMPARE(errors.count(), 0);
    if (!dialog.isVisible()) {
        QVERIFY(a->lastWidget.isNull());
        QVERIFY(b->currentWidget() == nullptr);
    }
}

void tst_SettingsDialog::pageErrors_data()
{
    QTest::addColumn<QString>("failIn");
    QTest::addColumn<QString>("failHow");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QStringList>("expectedInMessage");
    QTest::addColumn<QStringList>("calls");

    const QStringList missingHwup{"A v0", "dev_hwup", "no module of that name"};
    QTest::newRow("apply throws: B still applies")
            << "apply"
            << "lookup"
            << "apply" << missingHwup
            << QStringList{"A.validate", "B.validate", "A.apply", "B.apply"};
    QTest::newRow("OK with a throwing apply keeps the dialog open")
            << "apply"
            << "lookup"
            << "ok" << missingHwup << QStringList{"A.validate", "B.validate", "A.apply", "B.apply"};
    QTest::newRow("validate throws: nothing is applied")
            << "validate"
            << "lookup"
            << "apply" << missingHwup << QStringList{"A.validate"};
    QTest::newRow("validate says no: nothing is applied")
            << "validate"
            << "false"
            << "apply" << QStringList{"A v0", "cannot be applied"} << QStringList{"A.validate"};
    QTest::newRow("apply answers false")
            << "apply"
            << "false"
            << "apply" << QStringList{"A v0", "could not apply"}
            << QStringList{"A.validate", "B.validate", "A.apply", "B.apply"};
    QTest::newRow("restore defaults throws something else")
            << "restoreDefaults"
            << "runtime"
            << "restore" << QStringList{"A v0", "page broke"} << QStringList{"A.restoreDefaults"};
}

// Guards against a page's exception escaping the dialog (a crash), being
// shown without the module and the reason, or stopping the other pages.
void tst_SettingsDialog::pageErrors()
{
    QFETCH(QString, failIn);
    QFETCH(QString, failHow);
    QFETCH(QString, press);
    QFETCH(QStringList, expectedInMessage);
    QStringList log;
    auto a = std::make_shared<FakePage>("A", &log);
    auto b = std::make_shared<FakePage>("B", &log);
    a->failIn = failIn;
    a->failHow = failHow;
    SettingsDialog dialog({a, b});
    dialog.setMessageBoxesEnabled(false);
    QSignalSpy errors(&dialog, &SettingsDialog::errorShown);
    dialog.show();
    dialog.findChild<QListWidget *>("listWidgetPages")->setCurrentRow(1);
    dialog.findChild<QListWidget *>("listWidgetPages")->setCurrentRow(0);
    log.clear();

    button(dialog,
           press == "ok"                ? QDialogButtonBox::Ok
                   : press == "restore" ? QDialogButtonBox::RestoreDefaults
                                        : QDialogButtonBox::Apply)
            ->click();

    QTEST(log, "calls");
    QCOMPARE(errors.count(), 1);
    const QString message = errors.first().first().toString();
    for (const QString &part : expectedInMessage)
        QVERIFY2(message.contains(part), qPrintable(message));
    QVERIFY(dialog.isVisible());
    QVERIFY(a->currentWidget() && b->currentWidget());
}

// Guards against applying a page whose load failed: its half-loaded
// controls would overwrite the stored values.
void tst_SettingsDialog::failedWidgetIsNotApplied()
{
    QStringList log;
    auto a = std::make_shared<FakePage>("A", &log);
    auto b = std::make_shared<FakePage>("B", &log);
    a->failIn = "widget";
    SettingsDialog dialog({a, b});
    dialog.setMessageBoxesEnabled(false);
    QSignalSpy errors(&dialog, &SettingsDialog::errorShown);
    dialog.show();
    QCOMPARE(errors.count(), 1);
    QVERIFY(errors.first().first().toString().contains("dev_hwup"));
    QVERIFY(dialog.pageWidget(0) == nullptr);
    QVERIFY(a->currentWidget() && !a->currentWidget()->isVisible());
    auto *stack = dialog.findChild<QStackedWidget *>("stackedWidgetPages");
    QVERIFY(qobject_cast<QLabel *>(stack->currentWidget()));
    dialog.findChild<QListWidget *>("listWidgetPages")->setCurrentRow(1);
    log.clear();

    button(dialog, QDialogButtonBox::Ok)->click();
    QCOMPARE(log,
             QStringList(
                     {"B.validate", "B.apply", "A.releaseWidget(true)", "B.releaseWidget(true)"}));
    QVERIFY(!dialog.isVisible());
    QVERIFY(a->lastWidget.isNull());
}

// Guards against a language change leaving stale titles, or retranslating
// pages that have no widget.
void tst_SettingsDialog::languageChange()
{
    QStringList log;
    auto a = std::make_shared<FakePage>("A", &log);
    auto b = std::make_shared<FakePage>("B", &log);
    SettingsDialog dialog({a, b});
    dialog.show();
    log.clear();
    a->titleVersion = 1;
    b->titleVersion = 2;
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&dialog, &change);
    QCOMPARE(log, QStringList({"A.retranslate"}));
    auto *list = dialog.findChild<QListWidget *>("listWidgetPages");
    QCOMPARE(list->item(0)->text(), QString("A v1"));
    QCOMPARE(list->item(1)->text(), QString("B v2"));
}

// Guards against unavailable pages being listed and against the dialog
// reordering the pages it was given (the registry orders them).
void tst_SettingsDialog::listsAvailablePagesInOrder()
{
    QStringList log;
    auto a = std::make_shared<FakePage>("A", &log);
    auto b = std::make_shared<FakePage>("B", &log);
    auto c = std::make_shared<FakePage>("C", &log);
    b->available = false;
    SettingsDialog dialog({c, b, a});
    auto *list = dialog.findChild<QListWidget *>("listWidgetPages");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QString("C v0"));
    QCOMPARE(list->item(1)->text(), QString("A v0"));
    // No widget before the dialog is shown.
    QVERIFY(log.isEmpty());
    QVERIFY(dialog.selectPage("A"));
    QVERIFY(!dialog.selectPage("B"));
    dialog.show();
    QCOMPARE(log, QStringList({"A.widget"}));
}

// Guards against a double delete: the page owns its widget, so the dialog's
// stack must hand it back before the dialog goes.
void tst_SettingsDialog::destroyingReleasesWidgets()
{
    QStringList log;
    auto a = std::make_shared<FakePage>("A", &log);
    {
        SettingsDialog dialog({a});
        dialog.show();
        QVERIFY(a->currentWidget());
    }
    QVERIFY(a->currentWidget() == nullptr);
    QVERIFY(a->lastWidget.isNull());
    QCOMPARE(log.last(), QString("A.releaseWidget(true)"));
}

// Guards against a reload (the device connected) keeping the widget that
// was loaded before, which would not show the page read-only.
void tst_SettingsDialog::reloadAsksForFreshWidget()
{
    QStringList log;
    auto a = std::make_shared<FakePage>("A", &log);
    auto b = std::make_shared<FakePage>("B", &log);
    SettingsDialog dialog({a, b});
    dialog.show();
    QPointer<QWidget> before = a->lastWidget;
    log.clear();
    dialog.reloadPages();
    QCOMPARE(log, QStringList({"A.releaseWidget(true)", "A.widget"}));
    QVERIFY(before.isNull());
    QVERIFY(dialog.pageWidget(0) && dialog.pageWidget(0) == a->currentWidget());
}

QTEST_MAIN(tst_SettingsDialog)
#include "tst_settingsdialog.moc"
