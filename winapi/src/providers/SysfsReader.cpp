#include "SysfsReader.h"

#include <QString>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

bool SysfsReader::readLine(const std::string &path, std::string *text)
{
    std::ifstream file(path);
    if (!file)
        return false;
    std::string line;
    std::getline(file, line);
    if (file.bad())
        return false;
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    const std::size_t last = line.find_last_not_of(" \t\r\n");
    *text = first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
    return true;
}

bool SysfsReader::readWhole(const std::string &path, std::string *text)
{
    std::ifstream file(path);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    *text = content.str();
    return !file.bad();
}

std::string SysfsReader::resolve(const std::string &path)
{
    char buffer[PATH_MAX];
    if (!::realpath(path.c_str(), buffer))
        return std::string();
    return buffer;
}

std::wstring SysfsReader::widen(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<int>(text.size())).toStdWString();
}
