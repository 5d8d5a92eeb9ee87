#pragma once

#include "host/OrvaneGlobal.h"

#include <memory>

class AbstractSettingsPage;

// The settings dialog's list of pages.
class ORVANE_EXPORT PageRegistry
{
public:
    // Takes over `page` (the registry becomes its only owner) and lists it in
    // `group`; the dialog orders pages by group, then by registration.
    virtual void addPage(std::shared_ptr<AbstractSettingsPage> page, int group) = 0;
    virtual ~PageRegistry();
};
