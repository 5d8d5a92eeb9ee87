#include "PnpDeviceId.h"

#include "SysfsReader.h"

#include <QRegularExpression>
#include <QString>

namespace {

std::string baseName(const std::string &path) { return path.substr(path.rfind('/') + 1); }

// A sysfs hex attribute ("0x1af4") as upper-case hex of the given width.
std::wstring hexField(const std::string &directory, const char *attribute, int width)
{
    std::string text;
    SysfsReader::readLine(directory + "/" + attribute, &text);
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

std::wstring PnpDeviceId::forDevice(const std::string &devicePath)
{
    // Sysfs names its bus devices by their address, so the folder names
    // alone tell a PCI function ("0000:00:03.0") or a USB device ("1-1.2",
    // not its interface "1-1.2:1.0") without a system call. The network
    // device may hang below its bus device (virtio-net below its PCI
    // function, a USB adapter's interface below the USB device).
    static const QRegularExpression pci(
            QStringLiteral("^[0-9a-f]{4}:[0-9a-f]{2}:[0-9a-f]{2}\\.[0-7]$"));
    static const QRegularExpression usb(QStringLiteral("^[0-9]+-[0-9.]+$"));
    std::string directory = devicePath;
    while (directory.size() > 12) {
        const QString name = QString::fromStdString(baseName(directory));
        if (pci.match(name).hasMatch())
            return pciId(directory);
        if (usb.match(name).hasMatch())
            return usbId(directory);
        directory.resize(directory.rfind('/'));
    }
    return std::wstring();
}

std::string PnpDeviceId::driverName(const std::string &devicePath)
{
    if (devicePath.empty())
        return std::string();
    const std::string driver = SysfsReader::readLink(devicePath + "/driver");
    return driver.empty() ? std::string() : baseName(driver);
}
