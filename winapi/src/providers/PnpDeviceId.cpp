#include "PnpDeviceId.h"

#include "SysfsReader.h"

#include <QString>

#include <algorithm>

#include <unistd.h>

namespace {

std::string baseName(const std::string &path) { return path.substr(path.rfind('/') + 1); }

// A sysfs hex attribute ("0x1af4") as upper-case hex of the given width.
std::wstring hexField(const std::string &directory, const char *attribute, int width)
{
    std::string text;
    if (!SysfsReader::readLine(directory + "/" + attribute, &text))
        text = "0";
    bool ok = false;
    const uint value = QString::fromStdString(text).toUInt(&ok, 16);
    return QStringLiteral("%1")
            .arg(ok ? value : 0u, width, 16, QLatin1Char('0'))
            .toUpper()
            .toStdWString();
}

std::wstring instance(const std::string &directory)
{
    QString name = QString::fromStdString(baseName(directory)).toUpper();
    name.replace(QLatin1Char(':'), QLatin1Char('&')).replace(QLatin1Char('.'), QLatin1Char('&'));
    return name.toStdWString();
}

std::wstring pciId(const std::string &directory)
{
    return L"PCI\\VEN_" + hexField(directory, "vendor", 4) + L"&DEV_" +
            hexField(directory, "device", 4) + L"&SUBSYS_" +
            hexField(directory, "subsystem_device", 4) +
            hexField(directory, "subsystem_vendor", 4) + L"&REV_" +
            hexField(directory, "revision", 2) + L"\\3&" + instance(directory);
}

std::wstring usbId(const std::string &directory)
{
    std::string serial;
    const std::wstring tail =
            SysfsReader::readLine(directory + "/serial", &serial) && !serial.empty()
            ? SysfsReader::widen(serial)
            : L"5&" + instance(directory);
    return L"USB\\VID_" + hexField(directory, "idVendor", 4) + L"&PID_" +
            hexField(directory, "idProduct", 4) + L"\\" + tail;
}

} // namespace

std::wstring PnpDeviceId::forInterface(const std::string &interfaceName)
{
    if (interfaceName.empty() || interfaceName.find('/') != std::string::npos)
        return std::wstring();
    std::string directory = SysfsReader::resolve("/sys/class/net/" + interfaceName + "/device");
    // The network device may hang below its bus device (virtio-net below
    // its PCI function, a USB adapter's interface below the USB device).
    for (int level = 0; level < 8 && directory.size() > 12; ++level) {
        const std::string subsystem = baseName(SysfsReader::resolve(directory + "/subsystem"));
        if (subsystem == "pci")
            return pciId(directory);
        if (subsystem == "usb" && ::access((directory + "/idVendor").c_str(), R_OK) == 0)
            return usbId(directory);
        directory.resize(std::min(directory.size(), directory.rfind('/')));
    }
    return std::wstring();
}

std::string PnpDeviceId::driverName(const std::string &interfaceName)
{
    if (interfaceName.empty() || interfaceName.find('/') != std::string::npos)
        return std::string();
    const std::string driver =
            SysfsReader::resolve("/sys/class/net/" + interfaceName + "/device/driver");
    return driver.empty() ? std::string() : baseName(driver);
}
