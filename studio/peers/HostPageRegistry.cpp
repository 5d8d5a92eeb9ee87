#include "HostPageRegistry.h"

#include <algorithm>

void HostPageRegistry::addPage(std::shared_ptr<AbstractSettingsPage> page, int group)
{
    if (!page)
        return;
    // Insert after every page of the same or a lower group: stable order.
    const auto at = std::upper_bound(m_pages.begin(), m_pages.end(), group,
                                     [](int g, const Entry &e) { return g < e.group; });
    m_pages.insert(at, Entry{std::move(page), group});
}

const std::vector<HostPageRegistry::Entry> &HostPageRegistry::pages() const { return m_pages; }

void HostPageRegistry::clear()
{
    // Pages may own widgets; drop them one by one, newest first.
    while (!m_pages.empty())
        m_pages.pop_back();
}
