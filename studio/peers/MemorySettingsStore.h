#pragma once

#include "host/SettingsStore.h"

#include <map>
#include <string>
#include <vector>

// A settings store held in memory: the stores of tests, and the base of
// the persistent store.
class MemorySettingsStore : public SettingsStore
{
public:
    bool setValue(const std::string &key, const std::string &value) override;
    std::string value(const std::string &key, const char *defaultValue) const override;
    std::string value(const std::string &key, const std::string &defaultValue) const override;
    bool remove(const std::string &key) override;

    bool contains(const std::string &key) const;
    const std::map<std::string, std::string> &entries() const;

    // A record of the calls made on the store, kept only while recording is
    // on, so tests can check which keys were written, read and removed.
    struct Call
    {
        enum Kind { Read, Write, Remove } kind;
        std::string key;
        std::string value; // written text, or the default of a read
        friend bool operator==(const Call &a, const Call &b)
        {
            return a.kind == b.kind && a.key == b.key && a.value == b.value;
        }
    };
    void setRecording(bool on);
    const std::vector<Call> &calls() const;
    void clearCalls();

protected:
    std::map<std::string, std::string> m_values;

private:
    std::string read(const std::string &key, const std::string &defaultValue) const;

    bool m_recording = false;
    mutable std::vector<Call> m_calls;
};
