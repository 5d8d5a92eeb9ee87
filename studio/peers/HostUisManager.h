#pragma once

#include "HostPageRegistry.h"
#include "host/UisManagerModule.h"

// "uis_manager": owns the settings dialog's pages.
class HostUisManager final : public UisManagerModule
{
public:
    PageRegistry &pageRegistry() override;
    HostPageRegistry &pages();

private:
    HostPageRegistry m_pages;
};
