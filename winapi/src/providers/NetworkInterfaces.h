#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The calling process's network interfaces as getifaddrs reports them, in
// interface index order.
struct NetworkInterface
{
    std::string name;
    int index = 0;
    unsigned int flags = 0;
    std::vector<uint8_t> hardwareAddress;
    std::vector<std::string> ipv4; // in kernel order
    std::vector<std::string> ipv4Masks; // dotted, one per ipv4 address
    std::vector<std::string> ipv6; // without zone
    std::vector<int> ipv6Prefixes; // one per ipv6 address
};

class NetworkInterfaces
{
public:
    static std::vector<NetworkInterface> read();
};
