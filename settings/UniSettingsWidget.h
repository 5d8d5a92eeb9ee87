#pragma once

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

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
    bool validate();
    void retranslate();

    // Offers "None", the timecode rates allowed for `fps` and "Local Time",
    // and selects the stored timecode rate among them.
    void fillTimecodeRates(int fps);

private slots:
    // Named for QMetaObject::connectSlotsByName, which the form calls.
    // NOLINTNEXTLINE(readability-identifier-naming)
    void on_comboBox_fps_currentIndexChanged(int index);

private:
    // The start both selections share: the stored timecode rate's leading
    // number, or none when the stored text is empty or a word (then the
    // matching item is already selected).
    std::optional<int> storedTimecodeNumber(QComboBox *box);
    void selectStoredTimecodeRate(QComboBox *box);
    void selectAllowedTimecodeRate(QComboBox *box, const std::vector<int> &allowed);
    void selectRateItem(QComboBox *box, int rate);
    void selectItemByData(QComboBox *box, const std::string &text);
    std::string currentItemData(QComboBox *box);
    std::string hyperTimecodeToStore();

    // Owned here; a constructor that throws (a missing peer) must not leak it.
    std::unique_ptr<Ui::UniSettingsWidget> ui;
    int captureFps;
    bool hyperFps;
};
