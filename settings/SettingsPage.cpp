#include "settings/SettingsPage.h"

#include "host/DevHwupModule.h"
#include "host/FlagRegistry.h"
#include "host/VendrelStudioModule.h"
#include "lookup/ModuleLookup.h"
#include "settings/PageWidget.h"
#include "settings/SettingsKeys.h"

namespace {

void removePageKeys(SettingsStore &store)
{
    for (const char *key : kPageKeys)
        store.remove(std::string(key));
}

} // namespace

SettingsPage::SettingsPage() = default;

SettingsPage::~SettingsPage() { delete pageWidget; }

std::string SettingsPage::id() { return "Device"; }

QWidget *SettingsPage::widget(QWidget *parent)
{
    if (pageWidget)
        return pageWidget;
    const bool hyperFps = orvane::Application::instance().flags().isFlagSet(kHyperFpsFlag);
    // Kept before loading: a load that throws leaves the widget with the page.
    pageWidget = new PageWidget(hyperFps, parent);
    pageWidget->load();
    return pageWidget;
}

QString SettingsPage::title() { return PageWidget::tr("Device"); }

QWidget *SettingsPage::currentWidget() { return pageWidget; }

bool SettingsPage::isAvailable() { return true; }

void SettingsPage::prepare() { }

void SettingsPage::retranslate()
{
    if (pageWidget)
        pageWidget->retranslate();
}

// The dialog asks for the widget before it applies, cancels or validates;
// without one there is nothing to store or check.
bool SettingsPage::apply() { return pageWidget ? pageWidget->apply() : true; }

void SettingsPage::cancel()
{
    if (pageWidget)
        pageWidget->cancel();
}

bool SettingsPage::validate() { return pageWidget ? pageWidget->validate() : true; }

void SettingsPage::restoreDefaults()
{
    // The non-throwing look-up: a missing peer only means its store stays as
    // it is, and restoring the defaults must not throw for it.
    orvane::Application &app = orvane::Application::instance();
    std::error_code ec;
    if (auto *studio = tryLookupModule<VendrelStudioModule>(app, kStudioModule, ec))
        removePageKeys(studio->core().settings());
    if (auto *hwup = tryLookupModule<DevHwupModule>(app, kHwupModule, ec))
        removePageKeys(hwup->settings());

    if (pageWidget)
        pageWidget->load();
}

void SettingsPage::releaseWidget(bool destroy)
{
    if (!pageWidget)
        return;
    if (destroy)
        delete pageWidget;
    pageWidget = nullptr;
}
