// One small plug-in, built once per fault that the studio's loader must
// refuse (TEST_FAULT names it) and once without a fault. Each build has its
// own module name (TEST_NAME), so several can load into one process.

#include "host/AbstractModule.h"
#include "host/AbstractSettingsPage.h"
#include "host/Application.h"
#include "host/FlagRegistry.h"
#include "host/ModuleRef.h"
#include "host/UisManagerModule.h"

#include <QLabel>

#include <memory>
#include <stdexcept>
#include <system_error>

#define FAULT_NONE 0
#define FAULT_NO_DESCRIPTOR 1
#define FAULT_BAD_JSON 2
#define FAULT_WRONG_ARCH 3
#define FAULT_NO_NAME 4
#define FAULT_NO_ENTRY 5
#define FAULT_FACTORY_NULL 6
#define FAULT_FACTORY_THROWS 7
#define FAULT_INIT_THROWS 8
#define FAULT_INIT_FALSE 9
#define FAULT_UNRESOLVED 10
#define FAULT_NOT_OBJECT 11

#define STRINGIFY2(x) #x
#define STRINGIFY(x) STRINGIFY2(x)

#if TEST_FAULT == FAULT_UNRESOLVED
// Defined nowhere: loading with every symbol resolved must fail.
extern "C" int testPluginSymbolDefinedNowhere();
#endif

namespace {

class TestPage final : public AbstractSettingsPage
{
public:
    std::string id() override { return STRINGIFY(TEST_NAME); }
    QWidget *widget(QWidget *parent) override
    {
        if (!m_widget)
            m_widget = new QLabel(QStringLiteral("test page"), parent);
        return m_widget;
    }
    QString title() override { return QStringLiteral("Page of " STRINGIFY(TEST_NAME)); }
    QWidget *currentWidget() override { return m_widget; }
    bool isAvailable() override { return true; }
    void prepare() override { }
    void retranslate() override { }
    bool apply() override { return true; }
    void cancel() override { }
    bool validate() override { return true; }
    void restoreDefaults() override { }
    void releaseWidget(bool destroy) override
    {
        if (destroy)
            delete m_widget;
        m_widget = nullptr;
    }

private:
    QWidget *m_widget = nullptr;
};

class TestModule final : public orvane::AbstractModule
{
public:
    bool init(orvane::Application &app) override
    {
        std::error_code ec;
        auto *manager = static_cast<UisManagerModule *>(
                app.findModule(this, "uis_manager", typeid(UisManagerModule), ec));
        if (ec)
            throw std::system_error(ec);
        manager->pageRegistry().addPage(std::make_shared<TestPage>(), 9);
#if TEST_FAULT == FAULT_INIT_THROWS
        throw std::runtime_error("init gave up\non purpose");
#elif TEST_FAULT == FAULT_INIT_FALSE
        return false;
#elif TEST_FAULT == FAULT_UNRESOLVED
        return testPluginSymbolDefinedNowhere() != 0;
#else
        return true;
#endif
    }
};

class TestModuleRef final : public orvane::ModuleRef
{
public:
    explicit TestModuleRef(std::shared_ptr<orvane::AbstractModule> module)
        : ModuleRef(std::move(module), typeid(TestModule))
    { }
};

} // namespace

extern "C" {

#if TEST_FAULT != FAULT_NO_DESCRIPTOR
Q_DECL_EXPORT const char *VD_GetPluginInfo()
{
#if TEST_FAULT == FAULT_BAD_JSON
    return "{\"architecture\":\"3.1.2.1\",\"name\":";
#elif TEST_FAULT == FAULT_NOT_OBJECT
    return "[\"3.1.2.1\"]";
#elif TEST_FAULT == FAULT_WRONG_ARCH
    return "{\"architecture\":\"3.1.2.0\",\"name\":\"" STRINGIFY(
            TEST_NAME) "\",\"module_entry\":\"testCreateModule\"}";
#elif TEST_FAULT == FAULT_NO_NAME
    return "{\"architecture\":\"3.1.2.1\",\"name\":\"\",\"module_entry\":\"testCreateModule\"}";
#elif TEST_FAULT == FAULT_NO_ENTRY
    return "{\"architecture\":\"3.1.2.1\",\"name\":\"" STRINGIFY(
            TEST_NAME) "\",\"module_entry\":\"testCreateMissing\"}";
#else
    return "{\"architecture\":\"3.1.2.1\",\"name\":\"" STRINGIFY(
            TEST_NAME) "\",\"module_entry\":\"testCreateModule\"}";
#endif
}
#endif

Q_DECL_EXPORT orvane::ModuleRef *testCreateModule(FlagRegistry *flags)
{
    flags->declareFlag(STRINGIFY(TEST_NAME) ".flag", 0);
#if TEST_FAULT == FAULT_FACTORY_NULL
    return nullptr;
#elif TEST_FAULT == FAULT_FACTORY_THROWS
    throw std::runtime_error("factory refuses");
#else
    return new TestModuleRef(std::make_shared<TestModule>());
#endif
}

} // extern "C"
