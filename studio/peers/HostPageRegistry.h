#pragma once

#include "host/AbstractSettingsPage.h"
#include "host/PageRegistry.h"

#include <memory>
#include <vector>

// The settings dialog's pages, in the order the dialog lists them.
class HostPageRegistry final : public PageRegistry
{
public:
    struct Entry
    {
        std::shared_ptr<AbstractSettingsPage> page;
        int group;
    };

    void addPage(std::shared_ptr<AbstractSettingsPage> page, int group) override;
    // Ordered by group, then by registration.
    const std::vector<Entry> &pages() const;
    // Lets go of every page (the registry is their only owner).
    void clear();

private:
    std::vector<Entry> m_pages;
};
