#pragma once

#include "plugin/UisDevModule.h"

// The plug-in's module object: on init it hands the "Device" settings page
// to the host's settings dialog.
class UisDevModuleImplT : public UisDevModule
{
public:
    bool init(orvane::Application &app) override;
    void uninit() override;
};
