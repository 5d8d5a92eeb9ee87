#include "PnpDeviceId.h"

#include "SysfsReader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <mutex>
#include <tuple>

#include <sys/utsname.h>

namespace {

// Formatting and parsing through the C library: QString::arg's first call
// in a process sets up locale data, which cost the first scan more than
// its sysfs reads.
std::wstring hex(unsigned long value, int width)
{
    wchar_t text[24];
    std::swprintf(text, 24, L"%0*lX", width, value);
    return text;
}

unsigned long hexValue(const std::string &text, std::size_t at = 0, std::size_t length = 8)
{
    return at < text.size() ? std::strtoul(text.substr(at, length).c_str(), nullptr, 16) : 0;
}

std::string baseName(const std::string &path) { return path.substr(path.rfind('/') + 1); }

// A sysfs hex attribute ("0x1af4") as upper-case hex of the given width.
std::wstring hexField(const std::string &directory, const char *attribute, int width)
{
    std::string text;
    SysfsReader::readLine(directory + "/" + attribute, &text);
    return hex(hexValue(text), width);
}

std::wstring instance(const std::string &directory)
{
    std::string name = baseName(directory);
    for (char &c : name)
        c = (c == ':' || c == '.') ? '&' : char(std::toupper(static_cast<unsigned char>(c)));
    return SysfsReader::widen(name);
}

// Two reads where five attributes would take five: the ids from the
// function's uevent text, the revision beside it. (Its config file would be
// one read, but reads of configuration space trap to the hypervisor in a
// virtual machine, and are slow.)
std::wstring pciId(const std::string &directory)
{
    std::string uevent;
    SysfsReader::readWhole(directory + "/uevent", &uevent);
    // "PCI_ID=1AF4:1041": vendor, then device.
    const auto ids = [&uevent](const char *key) {
        const std::size_t at = uevent.find(key);
        const std::size_t value = at == std::string::npos ? uevent.size() : at + std::strlen(key);
        return std::make_pair(hexValue(uevent, value, 4), hexValue(uevent, value + 5, 4));
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

std::wstring forDevice(const std::string &devicePath)
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

// Linux 5.15 and later name a link's parent device in the dump, so that
// software interfaces need no sysfs look-up at all.
bool kernelNamesParents()
{
    utsname system = {};
    char *minor = nullptr;
    const long major = ::uname(&system) == 0 ? std::strtol(system.release, &minor, 10) : 0;
    return major > 5 || (major == 5 && *minor == '.' && std::strtol(minor + 1, nullptr, 10) >= 15);
}

// "../../devices/pci0000:00/0000:00:03.0/virtio2/net/eth0" ->
// "/sys/devices/pci0000:00/0000:00:03.0/virtio2"; empty for a virtual one.
std::string devicePath(const std::string &name)
{
    const std::string link = SysfsReader::readLink("/sys/class/net/" + name);
    const std::size_t devices = link.find("/devices/");
    const std::string suffix = "/net/" + name;
    if (devices == std::string::npos || link.compare(devices, 17, "/devices/virtual/") == 0 ||
        link.size() < suffix.size() ||
        link.compare(link.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::string();
    return "/sys" + link.substr(devices, link.size() - suffix.size() - devices);
}

} // namespace

std::vector<std::wstring> PnpDeviceId::forInterfaces(const std::vector<NetworkInterface> &interfaces)
{
    // An interface keeps its device while its index, name and parent stay
    // (the kernel does not hand an index out again soon), so each one's
    // identity is read from sysfs once: later scans need no sysfs at all.
    // Only the interfaces of the latest scan are kept.
    using Key = std::tuple<int, std::string, std::string>;
    static std::mutex mutex;
    static std::map<Key, std::wstring> known;
    static const bool namesParents = kernelNamesParents();
    std::map<Key, std::wstring> current;
    std::vector<std::wstring> ids;
    const std::lock_guard<std::mutex> lock(mutex);
    for (const NetworkInterface &interface : interfaces) {
        Key key(interface.index, interface.name, interface.parent);
        const auto found = known.find(key);
        if (found != known.end())
            ids.push_back(found->second);
        else if (namesParents && interface.parent.empty())
            ids.emplace_back();
        else
            ids.push_back(forDevice(devicePath(interface.name)));
        if (!ids.back().empty())
            current.emplace(std::move(key), ids.back());
    }
    known.swap(current);
    return ids;
}
