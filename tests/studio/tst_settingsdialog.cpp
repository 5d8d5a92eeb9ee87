#include "SettingsDialog.h"
#include "host/AbstractSettingsPage.h"
#include "host/DevHwupModule.h"
#include "studio/orvane/StudioApplication.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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

    QString failIn; // the call that fails: "widget", "apply", "validate", ...
    QString failHow = QStringLiteral("lookup"); // or "runtime", "false"
    QPointer<QWidget> lastWidget;

    std::string id() override { return m_name.toStdString(); }
    QWidget *widget(QWidget *parent) override
    {
        if (!m_widget)
            lastWidget = m_widget = new QLabel(m_name, parent);
        call("widget");
        return m_widget;
    }
    QString title() override { return QStringLiteral("Page ") + m_name; }
    QWidget *currentWidget() override { return m_widget; }
    bool isAvailable() override { return true; }
    void prepare() override { }
    void retranslate() override { }
    bool apply() override { return call("apply"); }
    void cancel() override { call("cancel"); }
    bool validate() override { return call("validate"); }
    void restoreDefaults() override { call("restoreDefaults"); }
    void releaseWidget(bool destroy) override
    {
        call(destroy ? "releaseWidget(true)" : "releaseWidget(false)");
        if (destroy)
            delete m_widget;
        m_widget = nullptr;
    }

private:
    // Records the call, then fails as told.
    bool call(const char *name)
    {
        m_log->append(m_name + QLatin1Char('.') + name);
        if (failIn != QLatin1String(name))
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

} // namespace

class tst_SettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        orvane::StudioApplication::instance().reset();
        log.clear();
        a = std::make_shared<FakePage>("A", &log);
        b = std::make_shared<FakePage>("B", &log);
    }
    void cleanup() { a.reset(), b.reset(); }

    void buttons_data();
    void buttons();

private:
    QStringList log;
    std::shared_ptr<FakePage> a;
    std::shared_ptr<FakePage> b;
};

void tst_SettingsDialog::buttons_data()
{
    QTest::addColumn<QString>("visit"); // the pages shown, in turn
    QTest::addColumn<QString>("failIn"); // what page A fails in, and how
    QTest::addColumn<QString>("failHow");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<QStringList>("message"); // parts of the error shown; empty: none

    using L = QStringList;
    const L both{"A.validate", "B.validate", "A.apply", "B.apply"};
    const L missingHwup{"Page A", "dev_hwup", "no module of that name"};
    // clang-format off
    QTest::newRow("Apply, one page shown") << "A" << "" << "" << "apply" << L{"A.validate", "A.apply"} << true << L{};
    QTest::newRow("Apply, both shown: all validate before any applies") << "AB" << "" << "" << "apply" << both << true << L{};
    QTest::newRow("OK applies then releases") << "A" << "" << "" << "ok" << L{"A.validate", "A.apply", "A.releaseWidget(true)"} << false << L{};
    QTest::newRow("Cancel cancels then releases") << "AB" << "" << "" << "cancel" << L{"A.cancel", "B.cancel", "A.releaseWidget(true)", "B.releaseWidget(true)"} << false << L{};
    QTest::newRow("Restore Defaults only on the current page") << "AB" << "" << "" << "restore" << L{"B.restoreDefaults"} << true << L{};
    QTest::newRow("apply throws: B still applies") << "ABA" << "apply" << "lookup" << "apply" << both << true << missingHwup;
    QTest::newRow("OK with a throwing apply keeps the dialog open") << "ABA" << "apply" << "lookup" << "ok" << both << true << missingHwup;
    QTest::newRow("validate throws: nothing is applied") << "ABA" << "validate" << "lookup" << "apply" << L{"A.validate"} << true << missingHwup;
    QTest::newRow("validate says no: nothing is applied") << "ABA" << "validate" << "false" << "apply" << L{"A.validate"} << true << L{"Page A", "cannot be applied"};
    QTest::newRow("apply answers false") << "ABA" << "apply" << "false" << "apply" << both << true << L{"Page A", "could not apply"};
    QTest::newRow("a page whose load failed is not applied") << "AB" << "widget" << "lookup" << "ok" << L{"B.validate", "B.apply", "A.releaseWidget(true)", "B.releaseWidget(true)"} << false << missingHwup;
    QTest::newRow("restore defaults throws something else") << "ABA" << "restoreDefaults" << "runtime" << "restore" << L{"A.restoreDefaults"} << true << L{"Page A", "page broke"};
    // clang-format on
}

// Guards against the dialog calling pages in the wrong order or pages it
// never showed, leaving widgets behind when it closes, a page's exception
// escaping (a crash), shown without the module and the reason, or stopping
// the other pages, and a page whose load failed being applied (its
// half-loaded controls would overwrite the stored values).
void tst_SettingsDialog::buttons()
{
    QFETCH(QString, visit);
    QFETCH(QString, press);
    QFETCH(QStringList, message);
    QFETCH(QString, failIn);
    QFETCH(QString, failHow);
    a->failIn = failIn;
    a->failHow = failHow;
    SettingsDialog dialog({a, b});
    dialog.setMessageBoxesEnabled(false);
    QSignalSpy errors(&dialog, &SettingsDialog::errorShown);
    dialog.show();
    for (const QChar page : visit.mid(1))
        dialog.findChild<QListWidget *>("listWidgetPages")->setCurrentRow(page == 'B' ? 1 : 0);
    log.removeDuplicates();
    QCOMPARE(log,
             visit.contains('B') ? QStringList({"A.widget", "B.widget"})
                                 : QStringList({"A.widget"}));
    QCOMPARE(dialog.pageWidget(0) == nullptr, failIn == "widget"); // shown as not loaded
    log.clear();

    const QMap<QString, QDialogButtonBox::StandardButton>
            buttons{{"apply", QDialogButtonBox::Apply},
                    {"ok", QDialogButtonBox::Ok},
                    {"cancel", QDialogButtonBox::Cancel},
                    {"restore", QDialogButtonBox::RestoreDefaults}};
    dialog.findChild<QDialogButtonBox *>()->button(buttons.value(press))->click();

    QTEST(log, "calls");
    QTEST(dialog.isVisible(), "stillOpen");
    QCOMPARE(errors.count(), message.isEmpty() ? 0 : 1);
    for (const QString &part : message)
        QVERIFY2(errors.first().first().toString().contains(part), qPrintable(part));
    if (dialog.isVisible()) {
        QVERIFY(a->currentWidget());
        QCOMPARE(b->currentWidget() != nullptr, visit.contains('B'));
    } else {
        QVERIFY(a->lastWidget.isNull());
        QVERIFY(b->currentWidget() == nullptr);
    }
}

QTEST_MAIN(tst_SettingsDialog)
#include "tst_settingsdialog.moc"
