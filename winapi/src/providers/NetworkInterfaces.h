#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One network interface of the calling thread's network namespace.
struct NetworkInterface
{
    std::string name;
    int index = 0;
    unsigned int flags = 0;
    std::vector<uint8_t> hardwareAddress;
    // In the kernel's order, IPv4 before IPv6 (without zone); subnets as
    // dotted masks for IPv4, prefix lengths for IPv6.
    std::vector<std::wstring> addresses;
    std::vector<std::wstring> subnets;
    // The sysfs folder of the device behind the interface ("/sys/devices/
    // pci0000:00/0000:00:03.0/virtio2"); empty for a virtual interface.
    std::string devicePath;
};

class NetworkInterfaces
{
public:
    // In interface index order, from one netlink dump of the links (or,
    // for an index above 0, a request for that one link). With addresses:
    // one dump of those too, and no sysfs. Without: the device paths, for
    // the interfaces the dump tells are backed by a device (before Linux
    // 5.15, one sysfs readlink per interface tells); only those are looked
    // up in sysfs.
    static std::vector<NetworkInterface> read(bool addresses, int index = 0);
};
