#include "settings/PageWidget.h"
#include "ui_PageWidget.h"

#include "host/Device.h"
#include "host/DeviceKind.h"
#include "host/DeviceRegistry.h"
#include "host/SettingsStore.h"
#include "host/VendrelStudioModule.h"
#include "lookup/ModuleLookup.h"
#include "settings/SettingsKeys.h"
#include "settings/UniSettingsWidget.h"

#include <QStackedLayout>

namespace {

StudioCore &studioCore()
{
    return lookupModule<VendrelStudioModule>(orvane::Application::instance(), kStudioModule)->core();
}

bool currentDeviceActive(StudioCore &core)
{
    const std::shared_ptr<Device> device = core.devices().currentDevice();
    return device && device->isActive();
}

} // namespace

PageWidget::PageWidget(bool hyperFps, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PageWidget)
    , uniSettings(nullptr)
{
    ui->setupUi(this);

    auto *stack = new QStackedLayout;
    ui->widget_settings->setLayout(stack);
    uniSettings = new UniSettingsWidget(hyperFps, nullptr);
    stack->addWidget(uniSettings);

    ui->radioButton_mode_inertia->setVisible(false);
    ui->radioButton_mode_hybird->setVisible(false);
    uniSettings->setVisible(false);
}

PageWidget::~PageWidget() = default;

void PageWidget::load()
{
    StudioCore &core = studioCore();

    for (const std::shared_ptr<DeviceKind> &kind : core.devices().deviceKinds()) {
        const std::string name = kind->name();
        if (name == kInertialMode) {
            ui->radioButton_mode_inertia->setVisible(true);
            uniSettings->setVisible(true);
        } else if (name == kHybridMode) {
            ui->radioButton_mode_hybird->setVisible(true);
        }
    }

    if (core.settings().value(kWorkModeKey, kInertialMode) == kHybridMode) {
        ui->radioButton_mode_hybird->setChecked(true);
        uniSettings->setVisible(false);
    } else {
        ui->radioButton_mode_inertia->setChecked(true);
        uniSettings->setVisible(true);
    }

    uniSettings->load();

    if (currentDeviceActive(core))
        setEnabled(false);
}

bool PageWidget::apply()
{
    StudioCore &core = studioCore();
    if (currentDeviceActive(core))
        return true;

    if (ui->radioButton_mode_hybird->isChecked()) {
        core.settings().setValue(kWorkModeKey, kHybridMode);
        return true;
    }
    core.settings().setValue(kWorkModeKey, kInertialMode);
    uniSettings->apply();
    return true;
}

void PageWidget::retranslate()
{
    ui->retranslateUi(this);
    uniSettings->retranslate();
}

void PageWidget::cancel() { uniSettings->cancel(); }

bool PageWidget::validate()
{
    uniSettings->validate();
    return true;
}

void PageWidget::on_radioButton_mode_inertia_toggled(bool checked)
{
    uniSettings->setVisible(checked);
}

#include "moc_PageWidget.cpp" // NOLINT(bugprone-suspicious-include): moc's output
