#include "SysfsReader.h"

#include <QString>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>

#include <unistd.h>

// Through the C library rather than QFile: QFile's first use in a process
// sets up its file engine, which cost a first scan more than all its reads.
bool SysfsReader::readWhole(const std::string &path, std::string *text)
{
    const std::unique_ptr<FILE, int (*)(FILE *)> file(::fopen(path.c_str(), "re"), &::fclose);
    if (!file)
        return false;
    text->clear();
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text->append(buffer, got);
    return !std::ferror(file.get());
}

std::string SysfsReader::readLink(const std::string &path)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

std::wstring SysfsReader::widen(const std::string &text)
{
    // Most kernel texts are ASCII, which needs no decoding.
    if (std::all_of(text.begin(), text.end(), [](char c) { return c > 0; }))
        return std::wstring(text.begin(), text.end());
    return QString::fromUtf8(text.data(), static_cast<int>(text.size())).toStdWString();
}
