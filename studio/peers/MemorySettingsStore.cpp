#include "MemorySettingsStore.h"

bool MemorySettingsStore::setValue(const std::string &key, const std::string &value)
{
    if (m_recording)
        m_calls.push_back({Call::Write, key, value});
    m_values[key] = value;
    return true;
}

std::string MemorySettingsStore::value(const std::string &key, const char *defaultValue) const
{
    return read(key, defaultValue ? defaultValue : "");
}

std::string MemorySettingsStore::value(const std::string &key, const std::string &defaultValue) const
{
    return read(key, defaultValue);
}

std::string MemorySettingsStore::read(const std::string &key, const std::string &defaultValue) const
{
    if (m_recording)
        m_calls.push_back({Call::Read, key, defaultValue});
    const auto it = m_values.find(key);
    return it == m_values.end() ? defaultValue : it->second;
}

bool MemorySettingsStore::remove(const std::string &key)
{
    if (m_recording)
        m_calls.push_back({Call::Remove, key, {}});
    return m_values.erase(key) > 0;
}

bool MemorySettingsStore::contains(const std::string &key) const { return m_values.count(key) > 0; }

const std::map<std::string, std::string> &MemorySettingsStore::entries() const { return m_values; }

void MemorySettingsStore::setRecording(bool on) { m_recording = on; }

const std::vector<MemorySettingsStore::Call> &MemorySettingsStore::calls() const { return m_calls; }

void MemorySettingsStore::clearCalls() { m_calls.clear(); }
