#include "SysfsReader.h"

#include <QString>

#include <algorithm>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

// By system call rather than QFile or stdio: their first use in a process
// (the file engine; a stream and its buffer) cost a first scan more than
// all its reads.
bool SysfsReader::readWhole(const std::string &path, std::string *text)
{
    const auto close = [](const int *file) { ::close(*file); };
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const std::unique_ptr<const int, decltype(close)> closer(&file, close);
    text->clear();
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(file, buffer, sizeof buffer)) > 0)
        text->append(buffer, static_cast<std::size_t>(got));
    return got == 0;
}

std::wstring SysfsReader::widen(const std::string &text)
{
    // Most kernel texts are ASCII, which needs no decoding.
    if (std::all_of(text.begin(), text.end(), [](char c) { return c > 0; }))
        return std::wstring(text.begin(), text.end());
    return QString::fromUtf8(text.data(), static_cast<int>(text.size())).toStdWString();
}
