#include "MirelSettingsWidget.h"
#include "ui_MirelSettingsWidget.h"

#include "FrameRateTables.h"
#include "StoredNumber.h"
#include "host/MirelWrSupportModule.h"
#include "plugin/ModuleLookup.h"

#include <QListView>

namespace {

const char kFpsKey[] = "fps";
// What the hybrid server runs at unless told otherwise.
const int kDefaultHybridFps = 90;

SettingsStore &mirelStore()
{
    return lookupModule<MirelWrSupportModule>(orvane::Application::instance(), "mirel_wr_support")
            ->settings();
}

} // namespace

MirelSettingsWidget::MirelSettingsWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::MirelSettingsWidget)
{
    ui->setupUi(this);
    auto *view = new QListView(ui->comboBox_fps);
    view->setStyleSheet(
            QStringLiteral("QListView{background:black;}QListView::item{height:25px;}"));
    ui->comboBox_fps->setView(view);
}

MirelSettingsWidget::~MirelSettingsWidget() = default;

void MirelSettingsWidget::load()
{
    const int stored = leadingNumber(mirelStore().value(kFpsKey, ""));
    const int fps = kHybridFpsList.contains(stored) ? stored : kDefaultHybridFps;
    ui->comboBox_fps->setCurrentIndex(kHybridFpsList.indexOf(fps));
}

bool MirelSettingsWidget::apply()
{
    SettingsStore &store = mirelStore();
    const int fps = kHybridFpsList.value(ui->comboBox_fps->currentIndex(), kDefaultHybridFps);
    store.setValue(kFpsKey, std::to_string(fps));
    return true;
}

void MirelSettingsWidget::retranslate() { ui->retranslateUi(this); }

void MirelSettingsWidget::on_comboBox_fps_currentIndexChanged(int) { }
