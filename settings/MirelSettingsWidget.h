#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class MirelSettingsWidget;
}

// Capture frame rate of the hybrid system, kept in the "mirel_wr_support"
// store; it must match the rate set on the hybrid server.
class MirelSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MirelSettingsWidget(QWidget *parent);
    ~MirelSettingsWidget() override;

    void load();
    bool apply();
    void retranslate();

private slots:
    // Named for QMetaObject::connectSlotsByName, which the form calls.
    void on_comboBox_fps_currentIndexChanged(int index);

private:
    std::unique_ptr<Ui::MirelSettingsWidget> ui;
};
