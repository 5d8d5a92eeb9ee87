#include "SysfsReader.h"

#include "FileDescriptor.h"

#include <QString>

#include <algorithm>
#include <climits>

#include <fcntl.h>

bool SysfsReader::readWhole(const std::string &path, std::string *text)
{
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return false;
    text->clear();
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        text->append(buffer, static_cast<std::size_t>(got));
    }
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
