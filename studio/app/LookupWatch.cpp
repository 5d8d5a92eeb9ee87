#include "LookupWatch.h"

#include "studio/orvane/StudioApplication.h"

LookupWatch::LookupWatch()
{
    orvane::StudioApplication::instance().setLookupObserver(
            [this](const orvane::StudioApplication::Lookup &lookup) {
                if (!lookup.found)
                    m_lastFailed = lookup.name;
            });
}

LookupWatch::~LookupWatch() { orvane::StudioApplication::instance().setLookupObserver(nullptr); }

const std::string &LookupWatch::lastFailedName() const { return m_lastFailed; }
