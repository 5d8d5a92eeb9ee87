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
    std::vector<uint8_t> hardwareAddress; // Ethernet-type interfaces only
    // In the kernel's order, IPv4 before IPv6 (without zone); subnets as
    // dotted masks for IPv4, prefix lengths for IPv6.
    std::vector<std::wstring> addresses;
    std::vector<std::wstring> subnets;
    // The device the interface hangs below and its bus ("0000:00:03.0",
    // "pci"), as the link dump names them (Linux 5.15 and later); empty for
    // a virtual interface or an older kernel.
    std::string parent;
    std::string parentBus;
};

class NetworkInterfaces
{
public:
    // In interface index order, from one netlink dump of the links (for an
    // index above 0: that one interface's name and hardware address only,
    // by ioctl), and with addresses one dump of those too. No sysfs.
    static std::vector<NetworkInterface> read(bool addresses, int index = 0);
};
