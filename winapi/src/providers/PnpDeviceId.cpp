#include "PnpDeviceId.h"

#include "Digits.h"
#include "SysfsReader.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

#include <unistd.h>

using winapi_seam::Value;

namespace {

std::string baseName(const std::string &path) { return path.substr(path.rfind('/') + 1); }

std::wstring upper(const std::string &text)
{
    std::wstring wide = SysfsReader::widen(text);
    for (wchar_t &c : wide)
        c = c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c;
    return wide;
}

std::wstring instance(const std::string &directory)
{
    std::wstring name = upper(baseName(directory));
    std::replace(name.begin(), name.end(), L':', L'&');
    std::replace(name.begin(), name.end(), L'.', L'&');
    return name;
}

// The two hex numbers of a uevent field: "PRODUCT=bda/8153/3000" gives BDA
// and 8153.
std::pair<unsigned long, unsigned long> ids(const std::string &uevent, const char *key)
{
    const std::size_t at = uevent.find(key);
    const char *value = at == std::string::npos ? "" : uevent.c_str() + at + std::strlen(key);
    char *end = nullptr;
    const unsigned long first = std::strtoul(value, &end, 16);
    return {first, *end == ':' || *end == '/' ? std::strtoul(end + 1, nullptr, 16) : 0};
}

// A field of eight hex digits of a modalias: "pci:v00001AF4d00001041sv...".
unsigned long aliasField(const std::string &alias, const char *key)
{
    const std::size_t at = alias.find(key);
    return at == std::string::npos
            ? 0
            : std::strtoul(alias.substr(at + std::strlen(key), 8).c_str(), nullptr, 16);
}

// Two reads where five attributes would take five: the ids from the
// function's modalias (its uevent has them too, but the kernel puts that
// text together at three times the cost), the revision beside it. (Its
// config file would be one read, but reads of configuration space trap to
// the hypervisor in a virtual machine, and are slow.)
std::wstring pciId(const std::string &directory)
{
    std::string alias, revision;
    SysfsReader::readWhole(directory + "/modalias", &alias);
    SysfsReader::readWhole(directory + "/revision", &revision);
    return L"PCI\\VEN_" + digits(aliasField(alias, "v"), 16, 4) + L"&DEV_" +
            digits(aliasField(alias, "d"), 16, 4) + L"&SUBSYS_" +
            digits(aliasField(alias, "sd"), 16, 4) + digits(aliasField(alias, "sv"), 16, 4) +
            L"&REV_" + digits(std::strtoul(revision.c_str(), nullptr, 16), 16, 2) + L"\\3&" +
            instance(directory);
}

std::wstring usbId(const std::string &directory)
{
    std::string uevent;
    SysfsReader::readWhole(directory + "/uevent", &uevent);
    const auto id = ids(uevent, "PRODUCT=");
    return L"USB\\VID_" + digits(id.first, 16, 4) + L"&PID_" + digits(id.second, 16, 4) + L"\\5&" +
            instance(directory);
}

// Sysfs names bus devices by their address, so the folder names alone tell
// a PCI function ("0000:00:03.0") or a USB device ("1-1.2", not its
// interface "1-1.2:1.0") without a system call.
bool isPciName(const std::string &name)
{
    // Sysfs writes a PCI address's hex digits in lower case.
    return name.size() == 12 && name[4] == ':' && name[7] == ':' && name[10] == '.' &&
            std::all_of(name.begin(), name.end(), [](char c) {
                return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == ':' || c == '.';
            });
}

bool isUsbName(const std::string &name)
{
    return name.find('-') != std::string::npos && std::all_of(name.begin(), name.end(), [](char c) {
               return std::isdigit(c) || c == '-' || c == '.';
           });
}

// The PCI function or USB device folder at or above `directory`: the
// network device may hang below its bus device (virtio-net below its PCI
// function, a USB adapter's interface below the USB device). Empty for
// neither.
std::string busDevice(std::string directory)
{
    while (directory.size() > 12) {
        const std::string name = baseName(directory);
        if (isPciName(name) || isUsbName(name))
            return directory;
        directory.resize(directory.rfind('/'));
    }
    return std::string();
}

std::wstring idOf(const std::string &busDevice)
{
    return isPciName(baseName(busDevice)) ? pciId(busDevice) : usbId(busDevice);
}

const wchar_t kPciStart[] = L"PCI\\VEN_";
const wchar_t kUsbStart[] = L"USB\\VID_";

// "../../devices/pci0000:00/0000:00:03.0/virtio2/net/eth0" ->
// "/sys/devices/pci0000:00/0000:00:03.0/virtio2"; empty for a virtual one.
std::string devicePath(const std::string &name)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(("/sys/class/net/" + name).c_str(), target, sizeof target);
    const std::string link(target, length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t devices = link.find("/devices/");
    const std::string suffix = "/net/" + name;
    if (devices == std::string::npos || link.compare(devices, 17, "/devices/virtual/") == 0 ||
        link.size() < suffix.size() ||
        link.compare(link.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::string();
    return "/sys" + link.substr(devices, link.size() - suffix.size() - devices);
}

// Before Linux 5.15 the dump names no parent, so the interface's sysfs link
// is read during the scan: NULL (a software adapter) when it leads to
// neither a PCI nor a USB device.
Value fromSysfsLink(const std::string &name)
{
    std::string device = busDevice(devicePath(name));
    if (device.empty())
        return Value::null();
    const wchar_t *start = isPciName(baseName(device)) ? kPciStart : kUsbStart;
    return Value::deferredText({start}, [device] { return idOf(device); });
}

// From the dump's parent device, with no sysfs read until the text is read
// (the address list's query only asks whether it is a ROOT device). A PCI
// parent is the function itself, a USB one an interface of the device
// ("1-1.2:1.0"). On another bus (virtio, vmbus, platform) the PCI function
// or USB device above it is looked for; a device with neither is named by
// its bus, as Windows names a device of its own enumerator: VIRTIO\VIRTIO2.
Value fromParent(const NetworkInterface &interface)
{
    const std::string &parent = interface.parent;
    if (interface.parentBus == "pci") {
        std::string device = "/sys/bus/pci/devices/" + parent;
        return Value::deferredText({kPciStart}, [device] { return pciId(device); });
    }
    if (interface.parentBus == "usb") {
        std::string device = "/sys/bus/usb/devices/" + parent.substr(0, parent.find(':'));
        return Value::deferredText({kUsbStart}, [device] { return usbId(device); });
    }
    std::wstring own = upper(interface.parentBus.empty() ? "device" : interface.parentBus) + L'\\';
    return Value::deferredText({kPciStart, kUsbStart, own},
                               [name = interface.name, own, parent = upper(parent)] {
                                   const std::string device = busDevice(devicePath(name));
                                   return device.empty() ? own + parent : idOf(device);
                               });
}

// An interface keeps its device while its index, name and parent stay (the
// kernel does not hand an index out again soon), so each one's identity is
// read from sysfs once: later scans need no sysfs at all. Only the
// interfaces of the latest scan are kept.
using Key = std::tuple<int, std::string, std::string>;
std::mutex knownMutex;
std::map<Key, Value> known;

} // namespace

std::vector<Value> PnpDeviceId::forInterfaces(const std::vector<NetworkInterface> &interfaces)
{
    // Linux 5.15 and later name a link's parent device in the dump: where
    // any link has one, the links without are software interfaces and need
    // no sysfs look-up.
    const bool namesParents = std::any_of(interfaces.begin(), interfaces.end(),
                                          [](const NetworkInterface &interface) {
                                              return !interface.parent.empty();
                                          });
    std::map<Key, Value> current;
    std::vector<Value> ids;
    const std::lock_guard<std::mutex> lock(knownMutex);
    for (const NetworkInterface &interface : interfaces) {
        // Known entries move over whole; only new interfaces are looked up.
        Key key(interface.index, interface.name, interface.parent);
        auto kept = current.insert(known.extract(key)).position;
        if (kept == current.end()) {
            Value id = !namesParents           ? fromSysfsLink(interface.name)
                    : interface.parent.empty() ? Value::null()
                                               : fromParent(interface);
            kept = current.emplace(std::move(key), std::move(id)).first;
        }
        ids.push_back(kept->second);
    }
    known.swap(current);
    return ids;
}
