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
    // One netlink dump of the links, in interface index order, with the
    // device paths: the dump tells interfaces backed by a device (or, before
    // Linux 5.15, one sysfs readlink per interface does); only those are
    // looked up in sysfs.
    static std::vector<NetworkInterface> readDevices();
    // One netlink dump of the links (or a request for the one link with
    // the given index) and one dump of the addresses; no sysfs.
    static std::vector<NetworkInterface> readAddresses(int index = -1);

private:
    static std::vector<NetworkInterface> read(bool addresses, int index);
};
