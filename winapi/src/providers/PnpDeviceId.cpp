#include "PnpDeviceId.h"

#include "SysfsReader.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

std::wstring hex(uint value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper().toStdWString();
}

std::string baseName(const std::string &path) { return path.substr(path.rfind('/') + 1); }

// A sysfs hex attribute ("0x1af4") as upper-case hex of the given width.
std::wstring hexField(const std::string &directory, const char *attribute, int width)
{
    std::string text;
    SysfsReader::readLine(directory + "/" + attribute, &text);
    bool ok = false;
    const uint value = QString::fromStdString(text).toUInt(&ok, 16);
    return hex(ok ? value : 0u, width);
}

std::wstring instance(const std::string &directory)
{
    QString name = QString::fromStdString(baseName(directory)).toUpper();
    name.replace(QLatin1Char(':'), QLatin1Char('&')).replace(QLatin1Char('.'), QLatin1Char('&'));
    return name.toStdWString();
}

// Two reads where five attributes would take five: the ids from the
// function's uevent text, the revision beside it. (Its config file would be
// one read, but reads of configuration space trap to the hypervisor in a
// virtual machine, and are slow.)
std::wstring pciId(const std::string &directory)
{
    std::string uevent;
    SysfsReader::readWhole(directory + "/uevent", &uevent);
    const auto ids = [&uevent](const char *key) {
        const std::size_t at = uevent.find(key);
        const QString value = at == std::string::npos
                ? QString()
                : QString::fromStdString(uevent.substr(at + std::strlen(key), 9));
        // "1AF4:1041": vendor, then device
        return std::make_pair(value.left(4).toUInt(nullptr, 16),
                              value.mid(5, 4).toUInt(nullptr, 16));
    };
    const auto id = ids("PCI_ID=");
    const auto subsystem = ids("PCI_SUBSYS_ID=");
    return L"PCI\\VEN_" + hex(id.first, 4) + L"&DEV_" + hex(id.second, 4) + L"&SUBSYS_" +
            hex(subsystem.second, 4) + hex(subsystem.first, 4) + L"&REV_" +
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
    // Sysfs names bus devices by their address, so the folder names alone
    // tell a PCI function ("0000:00:03.0") or a USB device ("1-1.2", not its
    // interface "1-1.2:1.0") without a system call. The network device may
    // hang below its bus device (virtio-net below its PCI function, a USB
    // adapter's interface below the USB device).
    std::string directory = devicePath;
    while (directory.size() > 12) {
        const std::string name = baseName(directory);
        const bool pci = name.size() == 12 && name[4] == ':' && name[7] == ':' && name[10] == '.' &&
                std::all_of(name.begin(), name.end(),
                            [](char c) { return std::isxdigit(c) || c == ':' || c == '.'; });
        if (pci)
            return pciId(directory);
        const bool usb = name.find('-') != std::string::npos &&
                std::all_of(name.begin(), name.end(),
                            [](char c) { return std::isdigit(c) || c == '-' || c == '.'; });
        if (usb)
            return usbId(directory);
        directory.resize(directory.rfind('/'));
    }
    return std::wstring();
}
