#include "NetworkInterfaces.h"

#include <algorithm>
#include <map>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netpacket/packet.h>

namespace {

int prefixLength(const in6_addr &mask)
{
    int bits = 0;
    for (const uint8_t byte : mask.s6_addr) {
        for (int bit = 7; bit >= 0; --bit) {
            if (!(byte & (1 << bit)))
                return bits;
            ++bits;
        }
    }
    return bits;
}

} // namespace

std::vector<NetworkInterface> NetworkInterfaces::read()
{
    std::map<std::string, NetworkInterface> byName;
    ifaddrs *list = nullptr;
    if (::getifaddrs(&list) != 0)
        return {};
    for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name)
            continue;
        // Labelled IPv4 addresses ("eth0:1") belong to their interface.
        std::string name(entry->ifa_name);
        name.resize(std::min(name.size(), name.find(':')));
        NetworkInterface &interface = byName[name];
        interface.name = name;
        interface.flags |= entry->ifa_flags;
        if (!entry->ifa_addr)
            continue;
        char text[INET6_ADDRSTRLEN] = {};
        switch (entry->ifa_addr->sa_family) {
        case AF_PACKET: {
            const auto *link = reinterpret_cast<const sockaddr_ll *>(entry->ifa_addr);
            interface.index = link->sll_ifindex;
            interface.hardwareAddress.assign(link->sll_addr,
                                             link->sll_addr +
                                                     std::min<std::size_t>(link->sll_halen,
                                                                           sizeof link->sll_addr));
            break;
        }
        case AF_INET: {
            const auto *address = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
            ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
            interface.ipv4.push_back(text);
            char mask[INET_ADDRSTRLEN] = "0.0.0.0";
            if (entry->ifa_netmask) {
                const auto *netmask = reinterpret_cast<const sockaddr_in *>(entry->ifa_netmask);
                ::inet_ntop(AF_INET, &netmask->sin_addr, mask, sizeof mask);
            }
            interface.ipv4Masks.push_back(mask);
            break;
        }
        case AF_INET6: {
            const auto *address = reinterpret_cast<const sockaddr_in6 *>(entry->ifa_addr);
            ::inet_ntop(AF_INET6, &address->sin6_addr, text, sizeof text);
            interface.ipv6.push_back(text);
            int prefix = 128;
            if (entry->ifa_netmask) {
                prefix = prefixLength(
                        reinterpret_cast<const sockaddr_in6 *>(entry->ifa_netmask)->sin6_addr);
            }
            interface.ipv6Prefixes.push_back(prefix);
            break;
        }
        default:
            break;
        }
    }
    ::freeifaddrs(list);

    std::vector<NetworkInterface> interfaces;
    for (auto &entry : byName) {
        if (entry.second.index == 0)
            entry.second.index = static_cast<int>(::if_nametoindex(entry.first.c_str()));
        interfaces.push_back(std::move(entry.second));
    }
    std::sort(interfaces.begin(), interfaces.end(),
              [](const NetworkInterface &a, const NetworkInterface &b) {
                  return a.index < b.index;
              });
    return interfaces;
}
