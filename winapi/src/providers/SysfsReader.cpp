#include "SysfsReader.h"

#include <QFile>
#include <QString>

#include <algorithm>

bool SysfsReader::readWhole(const std::string &path, std::string *text)
{
    // Unbuffered: kernel attribute files come whole with one read.
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = file.readAll();
    text->assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return file.error() == QFileDevice::NoError;
}

std::string SysfsReader::readLink(const std::string &path)
{
    return QFile::symLinkTarget(QString::fromStdString(path)).toStdString();
}

std::wstring SysfsReader::widen(const std::string &text)
{
    // Most kernel texts are ASCII, which needs no decoding.
    if (std::all_of(text.begin(), text.end(), [](char c) { return c > 0; }))
        return std::wstring(text.begin(), text.end());
    return QString::fromUtf8(text.data(), static_cast<int>(text.size())).toStdWString();
}
