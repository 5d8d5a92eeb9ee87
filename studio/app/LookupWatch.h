#pragma once

#include <string>

// Remembers which module a failed look-up asked for while it is alive, so
// that the host can name the missing peer behind a page's std::system_error
// (the error itself carries only the code). It takes over the application's
// one look-up observer for its lifetime and clears it afterwards.
class LookupWatch
{
public:
    LookupWatch();
    ~LookupWatch();
    LookupWatch(const LookupWatch &) = delete;
    LookupWatch &operator=(const LookupWatch &) = delete;

    // The name of the latest look-up that found nothing; empty when none.
    const std::string &lastFailedName() const;

private:
    std::string m_lastFailed;
};
