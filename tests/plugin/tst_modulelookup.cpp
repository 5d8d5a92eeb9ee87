#include "host/DevHwupModule.h"
#include "host/UisManagerModule.h"
#include "host/VendrelStudioModule.h"
#include "plugin/ModuleIdentity.h"
#include "plugin/ModuleLookup.h"
#include "studio/orvane/ModuleError.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostPeers.h"

#include <QtTest>

#include <typeindex>

class tst_ModuleLookup : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        app.reset();
        lookups.clear();
        app.setLookupObserver([this](const auto &l) { lookups.push_back(l); });
    }
    void cleanup()
    {
        app.reset();
        setModuleIdentity(nullptr);
    }
    void findsPeersByInterface();
    void failuresCarryTheHostsCode_data();
    void failuresCarryTheHostsCode();
    void lookupPresentsIdentityAndInterfaceType_data();
    void lookupPresentsIdentityAndInterfaceType();

private:
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    std::vector<orvane::StudioApplication::Lookup> lookups;
};

// Guards against returning the wrong object, or a pointer not adjusted to T.
void tst_ModuleLookup::findsPeersByInterface()
{
    HostPeers peers;
    peers.registerAll(app);
    QCOMPARE(lookupModule<UisManagerModule>(app, "uis_manager"), peers.uisManager.get());
    QCOMPARE(lookupModule<VendrelStudioModule>(app, "vendrel-studio"), peers.studio.get());
    QCOMPARE(lookupModule<DevHwupModule>(app, "dev_hwup"), peers.devHwup.get());
}

// Guards against a swallowed failure, or one rethrown with another code,
// category or an added message.
void tst_ModuleLookup::failuresCarryTheHostsCode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::newRow("no module of that name")
            << "no_such_module" << int(orvane::ModuleError::NoSuchModule);
    QTest::newRow("another interface type")
            << "vendrel-studio" << int(orvane::ModuleError::WrongInterface);
    QTest::newRow("name differs in case") << "DEV_HWUP" << int(orvane::ModuleError::NoSuchModule);
}

void tst_ModuleLookup::failuresCarryTheHostsCode()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    HostPeers peers;
    peers.registerAll(app);
    const QByteArray n = name.toUtf8();
    try {
        lookupModule<DevHwupModule>(app, n.constData());
        QFAIL("lookup did not throw");
    } catch (const std::system_error &e) {
        QCOMPARE(e.code().value(), code);
        QCOMPARE(&e.code().category(), &orvane::moduleErrorCategory());
        QCOMPARE(std::string(e.what()), e.code().message());
    }
}

void tst_ModuleLookup::lookupPresentsIdentityAndInterfaceType_data()
{
    QTest::addColumn<bool>("identitySet");
    QTest::newRow("before the factory set one") << false;
    QTest::newRow("set by the factory") << true;
}

// Guards against presenting an implementation type, a stale identity, or
// one invented before the factory has set it.
void tst_ModuleLookup::lookupPresentsIdentityAndInterfaceType()
{
    QFETCH(bool, identitySet);
    HostPeers peers;
    peers.registerAll(app);
    int token = 0;
    QCOMPARE(moduleIdentity(), nullptr);
    if (identitySet)
        setModuleIdentity(&token);
    const void *expected = identitySet ? &token : nullptr;
    lookupModule<UisManagerModule>(app, "uis_manager");
    lookupModule<VendrelStudioModule>(app, "vendrel-studio");
    QCOMPARE(lookups.size(), size_t(2));
    QCOMPARE(lookups[0].requester, expected);
    QCOMPARE(lookups[1].requester, expected);
    QVERIFY(lookups[0].type == std::type_index(typeid(UisManagerModule)));
    QVERIFY(lookups[1].type == std::type_index(typeid(VendrelStudioModule)));
    QVERIFY(lookups[1].type != std::type_index(typeid(HostVendrelStudio)));
}

QTEST_GUILESS_MAIN(tst_ModuleLookup)
#include "tst_modulelookup.moc"
