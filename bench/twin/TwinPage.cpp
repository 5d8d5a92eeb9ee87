#include "TwinPage.h"
#include "ui_PageWidget.h"
#include "ui_UniSettingsWidget.h"

#include "settings/StyledPopup.h"

#include <QStackedLayout>

namespace {

// The inertial form as the page leaves it after loading defaults: 96 fps,
// its timecode rates, no connecting mode, no notices.
QWidget *inertialSettings(const QStringList &addresses)
{
    auto *widget = new QWidget;
    Ui::UniSettingsWidget form;
    form.setupUi(widget);
    for (QComboBox *box : {form.comboBox_ip_list, form.comboBox_fps, form.comboBox_connection_mode})
        setStyledPopup(box);
    for (QWidget *hidden : {static_cast<QWidget *>(form.label_connection_mode),
                            static_cast<QWidget *>(form.comboBox_connection_mode),
                            static_cast<QWidget *>(form.label_fps_change_notify),
                            static_cast<QWidget *>(form.label_tc_pps_change_notify)})
        hidden->setVisible(false);
    form.comboBox_ip_list->addItems(addresses);
    form.comboBox_fps->setCurrentIndex(3); // 96
    form.comboBox_tc_pps->addItem(QStringLiteral("None"), QStringLiteral("none"));
    form.comboBox_tc_pps->addItem(QStringLiteral("24"), QStringLiteral("24"));
    form.comboBox_tc_pps->addItem(QStringLiteral("Local Time"), QStringLiteral("local"));
    form.comboBox_tc_pps->setCurrentIndex(0);
    return widget;
}

} // namespace

TwinPage::TwinPage(QStringList addresses)
    : m_addresses(std::move(addresses))
{ }

TwinPage::~TwinPage() { delete m_widget; }

std::string TwinPage::id() { return "Device"; }

QWidget *TwinPage::widget(QWidget *parent)
{
    if (m_widget)
        return m_widget;
    m_widget = new QWidget(parent);
    Ui::PageWidget form;
    form.setupUi(m_widget);
    auto *stack = new QStackedLayout;
    form.widget_settings->setLayout(stack);
    QWidget *inertial = inertialSettings(m_addresses);
    stack->addWidget(inertial);
    form.radioButton_mode_inertia->setChecked(true);
    return m_widget;
}

QString TwinPage::title() { return QStringLiteral("Device"); }

QWidget *TwinPage::currentWidget() { return m_widget; }

bool TwinPage::isAvailable() { return true; }

void TwinPage::prepare() { }

void TwinPage::retranslate() { }

bool TwinPage::apply() { return true; }

void TwinPage::cancel() { }

bool TwinPage::validate() { return true; }

void TwinPage::restoreDefaults() { }

void TwinPage::releaseWidget(bool destroy)
{
    if (destroy)
        delete m_widget;
    m_widget = nullptr;
}
