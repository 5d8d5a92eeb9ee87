#include "settings/MirelSettingsWidget.h"
#include "ui_MirelSettingsWidget.h"

#include "host/MirelWrSupportModule.h"
#include "lookup/ModuleLookup.h"
#include "settings/FrameRateTables.h"
#include "settings/SettingsKeys.h"
#include "settings/StoredNumber.h"
#include "settings/StyledPopup.h"

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

#include "moc_MirelSettingsWidget.cpp" // NOLINT(bugprone-suspicious-include): moc's output
