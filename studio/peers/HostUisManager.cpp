#include "HostUisManager.h"

PageRegistry &HostUisManager::pageRegistry() { return m_pages; }

HostPageRegistry &HostUisManager::pages() { return m_pages; }
