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
#include <string>
#include <system_error>

// TEST_FAULT: 0 none, 1 no descriptor, 2 bad JSON, 3 wrong architecture,
// 4 entry not exported, 5 factory throws, 6 init throws, 7 unresolved symbol.
#define STRINGIFY2(x) #x
#define STRINGIFY(x) STRINGIFY2(x)

#if TEST_FAULT == 7
// Defined nowhere the loader finds (on Windows, in a DLL kept off the search
// path): loading with every symbol resolved must fail.
extern "C" int testPluginMissingSymbol();
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
#if TEST_FAULT == 6
        throw std::runtime_error("init gave up\non purpose");
#elif TEST_FAULT == 7
        return testPluginMissingSymbol() != 0;
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

#if TEST_FAULT != 1
Q_DECL_EXPORT const char *VD_GetPluginInfo()
{
    static const std::string descriptor = TEST_FAULT == 2
            ? std::string("{\"architecture\":\"3.1.2.1\",\"name\":")
            : std::string("{\"architecture\":\"") + (TEST_FAULT == 3 ? "3.1.2.0" : "3.1.2.1") +
                    "\",\"name\":\"" STRINGIFY(TEST_NAME) "\",\"module_entry\":\"" +
                    (TEST_FAULT == 4 ? "testCreateMissing" : "testCreateModule") + "\"}";
    return descriptor.c_str();
}
#endif

Q_DECL_EXPORT orvane::ModuleRef *testCreateModule(FlagRegistry *flags)
{
    flags->declareFlag(STRINGIFY(TEST_NAME) ".flag", 0);
#if TEST_FAULT == 5
    throw std::runtime_error("factory refuses");
#else
    return new TestModuleRef(std::make_shared<TestModule>());
#endif
}

} // extern "C"
