#pragma once

#include <QWidget>

#include <memory>
#include <string>

QT_BEGIN_NAMESPACE
class QComboBox;
QT_END_NAMESPACE

namespace Ui {
class UniSettingsWidget;
}

// Settings of the inertial suit hardware: network address, capture frame
// rate, PC-timecode rate and connecting mode, read from and written to the
// "dev_hwup" settings store at the moment they are needed.
class UniSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    // `hyperFps` makes the frame-rate and timecode boxes free-text fields.
    UniSettingsWidget(bool hyperFps, QWidget *parent);
    ~UniSettingsWidget() override;

    void load();
    bool apply();
    void cancel();
    // Nothing on the page can be invalid.
    static bool validate();
    void retranslate();

    // Offers "None", the timecode rates allowed for `fps` and "Local Time",
    // and selects the stored timecode rate among them.
    void fillTimecodeRates(int fps);

private slots:
    // Named for QMetaObject::connectSlotsByName, which the form calls.
    void on_comboBox_fps_currentIndexChanged(int index);

private:
    std::string hyperTimecodeToStore();

    // Owned here; a constructor that throws (a missing peer) must not leak it.
    std::unique_ptr<Ui::UniSettingsWidget> ui;
    int captureFps;
    bool hyperFps;
};
