#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class PageWidget;
}
class UniSettingsWidget;

// The "Device" page: the choice of device type (stored as the work mode of
// the host application) above the inertial device settings. Read-only while
// the host's current device is active.
class PageWidget : public QWidget
{
    Q_OBJECT

public:
    // `hyperFps` is passed on to the inertial settings unchanged.
    PageWidget(bool hyperFps, QWidget *parent);
    ~PageWidget() override;

    void load();
    bool apply();
    void retranslate();
    void cancel();
    bool validate();

private slots:
    // Named for QMetaObject::connectSlotsByName, which the form calls.
    void on_radioButton_mode_inertia_toggled(bool checked);

private:
    // Owned here; a constructor that throws (a missing peer) must not leak it.
    std::unique_ptr<Ui::PageWidget> ui;
    UniSettingsWidget *uniSettings;
};
