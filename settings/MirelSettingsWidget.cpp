#include "MirelSettingsWidget.h"
#include "ui_MirelSettingsWidget.h"

#include "FrameRateTables.h"
#include "SettingsKeys.h"
#include "StoredNumber.h"
#include "StyledPopup.h"
#include "host/MirelWrSupportModule.h"
#include "plugin/ModuleLookup.h"

namespace {

SettingsStore &mirelStore()
{
    return lookupModule<MirelWrSupportModule>(orvane::Application::instance(), kMirelModule)
            ->settings();
}

} // namespace

MirelSettingsWidget::MirelSettingsWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::MirelSettingsWidget)
{
    ui->setupUi(this);
    setStyledPopup(ui->comboBox_fps);
}

MirelSettingsWidget::~MirelSettingsWidget() = default;

void MirelSettingsWidget::load()
{
    const int stored = leadingNumber(mirelStore().value(kHybridFpsKey, ""));
    const int fps = kHybridFpsList.contains(stored) ? stored : kDefaultHybridFps;
    ui->comboBox_fps->setCurrentIndex(kHybridFpsList.indexOf(fps));
}

bool MirelSettingsWidget::apply()
{
    SettingsStore &store = mirelStore();
    const int fps = kHybridFpsList.value(ui->comboBox_fps->currentIndex(), kDefaultHybridFps);
    store.setValue(kHybridFpsKey, std::to_string(fps));
    return true;
}

void MirelSettingsWidget::retranslate() { ui->retranslateUi(this); }

void MirelSettingsWidget::on_comboBox_fps_currentIndexChanged(int) { }
