#include "host/DevHwupModule.h"
#include "host/MirelWrSupportModule.h"
#include "studio/orvane/ModuleError.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostPeers.h"

#include <QtTest>

namespace {
class TestHandle final : public orvane::ModuleRef
{
public:
    TestHandle(std::shared_ptr<orvane::AbstractModule> m, const std::type_info &t)
        : orvane::ModuleRef(std::move(m), t)
    { }
};
} // namespace

class tst_StudioApplication : public QObject
{
    Q_OBJECT

private slots:
    void init() { app.reset(); }
    void cleanup() { app.reset(); }
    void lookupErrors();
    void flags_data();
    void flags();
    void handlesKeepIdentityAndType();
    void removeAndReset();

private:
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
};

// Guards against one code for both failures, messages nobody can read, and
// a look-up that leaves a previous failure in the code (one caller reuses
// the same error code for two look-ups in a row).
void tst_StudioApplication::lookupErrors()
{
    HostPeers peers;
    peers.registerAll(app);
    std::error_code missing, mismatch;
    QVERIFY(!app.findModule(nullptr, "missing", typeid(DevHwupModule), missing));
    QVERIFY(!app.findModule(nullptr, "dev_hwup", typeid(MirelWrSupportModule), mismatch));
    QVERIFY(missing && mismatch && missing != mismatch);
    QCOMPARE(missing.category().name(), "orvane.module");
    QCOMPARE(missing.message(), std::string("no module of that name"));
    QCOMPARE(mismatch.message(),
             std::string("a module of that name exists with another interface type"));
    QVERIFY(!app.findModule(nullptr, nullptr, typeid(DevHwupModule), missing));
    QCOMPARE(missing, std::error_code(orvane::ModuleError::NoSuchModule));

    orvane::AbstractModule *m = app.findModule(nullptr, "dev_hwup", typeid(DevHwupModule), missing);
    QVERIFY(!missing);
    QCOMPARE(m, static_cast<orvane::AbstractModule *>(peers.devHwup.get()));
}

// Guards the precedence of host-set values over declared defaults, in
// either order, and undeclared flags reading as off.
void tst_StudioApplication::flags_data()
{
    QTest::addColumn<int>("declared"); // -1: not declared
    QTest::addColumn<int>("hostValue"); // -1: not set; 0/1
    QTest::addColumn<bool>("setBeforeDeclare");
    QTest::addColumn<bool>("expected");
    QTest::newRow("undeclared") << -1 << -1 << false << false;
    QTest::newRow("declared off") << 0 << -1 << false << false;
    QTest::newRow("declared on") << 1 << -1 << false << true;
    QTest::newRow("set on, then declared off") << 0 << 1 << true << true;
    QTest::newRow("declared off, then set on") << 0 << 1 << false << true;
    QTest::newRow("declared on, then set off") << 1 << 0 << false << false;
    QTest::newRow("set on, never declared") << -1 << 1 << true << true;
}

void tst_StudioApplication::flags()
{
    QFETCH(int, declared);
    QFETCH(int, hostValue);
    QFETCH(bool, setBeforeDeclare);
    QFETCH(bool, expected);
    orvane::HostFlagRegistry &reg = app.hostFlags();
    if (hostValue >= 0 && setBeforeDeclare)
        reg.setFlag("uis_dev.hyper_fps", hostValue == 1);
    if (declared >= 0)
        QVERIFY(app.flags().declareFlag("uis_dev.hyper_fps", declared));
    if (hostValue >= 0 && !setBeforeDeclare)
        reg.setFlag("uis_dev.hyper_fps", hostValue == 1);
    QCOMPARE(app.flags().isFlagSet("uis_dev.hyper_fps"), expected);
    QCOMPARE(reg.isDeclared("uis_dev.hyper_fps"), declared >= 0);
    // A second declaration neither succeeds nor changes the default.
    if (declared >= 0) {
        QVERIFY(!app.flags().declareFlag("uis_dev.hyper_fps", !declared));
        QCOMPARE(*reg.declaredDefault("uis_dev.hyper_fps"), declared);
    }
    QVERIFY(!app.flags().isFlagSet("other.flag"));
}

// Guards against identities that collide or change, and handles losing the
// interface type they were made with.
void tst_StudioApplication::handlesKeepIdentityAndType()
{
    auto a = std::make_shared<HostDevHwup>(std::make_shared<MemorySettingsStore>());
    auto b = std::make_shared<HostDevHwup>(std::make_shared<MemorySettingsStore>());
    auto ha = std::make_unique<TestHandle>(a, typeid(DevHwupModule));
    TestHandle hb(b, typeid(DevHwupModule));
    const void *id = ha->moduleId();
    QVERIFY(id);
    QVERIFY(id != hb.moduleId());
    QVERIFY(ha->interfaceType() == typeid(DevHwupModule));
    app.registerModule("dev_hwup", std::move(ha));
    std::error_code ec;
    QCOMPARE(app.findModule(id, "dev_hwup", typeid(DevHwupModule), ec),
             static_cast<orvane::AbstractModule *>(a.get()));
}

// Guards against modules outliving removal or reset (tests rely on it).
void tst_StudioApplication::removeAndReset()
{
    std::weak_ptr<HostUisManager> weak;
    {
        HostPeers peers;
        peers.registerAll(app);
        weak = peers.uisManager;
    }
    QVERIFY(!weak.expired());
    QCOMPARE(app.moduleNames(),
             (std::vector<std::string>{"uis_manager", "vendrel-studio", "dev_hwup",
                                       "mirel_wr_support"}));
    QVERIFY(app.removeModule("uis_manager"));
    QVERIFY(weak.expired());
    QVERIFY(!app.removeModule("uis_manager"));
    app.hostFlags().setFlag("x", true);
    app.reset();
    QVERIFY(app.moduleNames().empty());
    QVERIFY(!app.flags().isFlagSet("x"));
}

QTEST_GUILESS_MAIN(tst_StudioApplication)
#include "tst_studioapplication.moc"
