#include "NetworkInterfaces.h"

#include "FileDescriptor.h"
#include "SysfsReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include <arpa/inet.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/utsname.h>

namespace {

// Sends one dump request (or, for a link index, a request for that link)
// and hands each answer message to `take`; false when the kernel reports an
// error or the socket fails.
bool dump(int socket, uint16_t type, int index, const std::function<void(const nlmsghdr &)> &take)
{
    struct
    {
        nlmsghdr header;
        ifinfomsg body; // the larger of ifinfomsg and ifaddrmsg; family AF_UNSPEC
        rtattr maskAttribute;
        uint32_t mask;
    } request = {};
    request.header.nlmsg_len = sizeof request;
    // No class here shows statistics. The filter spares the virtual
    // functions' ones; a link's own still come (Linux 6.18 sends them).
    request.maskAttribute.rta_type = IFLA_EXT_MASK;
    request.maskAttribute.rta_len = RTA_LENGTH(sizeof request.mask);
    request.mask = RTEXT_FILTER_SKIP_STATS;
    if (type != RTM_GETLINK)
        request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ifaddrmsg));
    request.header.nlmsg_type = type;
    request.body.ifi_index = index > 0 ? index : 0;
    // The kernel ends a single answer with an acknowledgement.
    request.header.nlmsg_flags = NLM_F_REQUEST | (index > 0 ? NLM_F_ACK : NLM_F_DUMP);
    request.header.nlmsg_seq = type;
    if (::send(socket, &request, sizeof request, 0) < 0)
        return false;
    alignas(nlmsghdr) char buffer[32768];
    for (;;) {
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        auto length = static_cast<unsigned int>(got);
        for (auto *message = reinterpret_cast<const nlmsghdr *>(buffer); NLMSG_OK(message, length);
             message = NLMSG_NEXT(message, length)) {
            if (message->nlmsg_seq != type)
                continue;
            if (message->nlmsg_type == NLMSG_DONE)
                return true;
            if (message->nlmsg_type == NLMSG_ERROR)
                return static_cast<const nlmsgerr *>(NLMSG_DATA(message))->error == 0;
            take(*message);
        }
    }
}

NetworkInterface *byIndex(std::vector<NetworkInterface> &interfaces, int index)
{
    const auto found = std::lower_bound(interfaces.begin(), interfaces.end(), index,
                                        [](const NetworkInterface &interface, int wanted) {
                                            return interface.index < wanted;
                                        });
    return found != interfaces.end() && found->index == index ? &*found : nullptr;
}

void addLink(const nlmsghdr &message, std::vector<NetworkInterface> &interfaces)
{
    const auto *link = static_cast<const ifinfomsg *>(NLMSG_DATA(&message));
    NetworkInterface interface;
    interface.index = link->ifi_index;
    interface.flags = link->ifi_flags;
    int length = static_cast<int>(IFLA_PAYLOAD(&message));
    for (auto *attribute = IFLA_RTA(link); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        const auto *data = static_cast<const char *>(RTA_DATA(attribute));
        if (attribute->rta_type == IFLA_IFNAME)
            interface.name.assign(data, ::strnlen(data, RTA_PAYLOAD(attribute)));
        else if (attribute->rta_type == IFLA_ADDRESS)
            interface.hardwareAddress.assign(data, data + RTA_PAYLOAD(attribute));
        else if (attribute->rta_type == IFLA_PARENT_DEV_NAME)
            interface.devicePath = "?"; // a device to look up in sysfs
    }
    interfaces.push_back(std::move(interface));
}

void addAddress(const nlmsghdr &message, std::vector<NetworkInterface> &interfaces)
{
    const auto *address = static_cast<const ifaddrmsg *>(NLMSG_DATA(&message));
    NetworkInterface *interface = byIndex(interfaces, static_cast<int>(address->ifa_index));
    if (!interface || (address->ifa_family != AF_INET && address->ifa_family != AF_INET6))
        return;
    const void *local = nullptr;
    int length = static_cast<int>(IFA_PAYLOAD(&message));
    for (auto *attribute = IFA_RTA(address); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        // IFA_LOCAL is the interface's own address on a point-to-point link,
        // where IFA_ADDRESS is the peer's.
        if (attribute->rta_type == IFA_LOCAL || (attribute->rta_type == IFA_ADDRESS && !local))
            local = RTA_DATA(attribute);
    }
    if (!local)
        return;
    char text[INET6_ADDRSTRLEN] = {};
    ::inet_ntop(address->ifa_family, local, text, sizeof text);
    interface->addresses.push_back(SysfsReader::widen(text));
    if (address->ifa_family == AF_INET6) {
        interface->subnets.push_back(std::to_wstring(address->ifa_prefixlen));
        return;
    }
    in_addr mask = {};
    mask.s_addr = address->ifa_prefixlen == 0 ? 0 : htonl(~0u << (32 - address->ifa_prefixlen));
    char maskText[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &mask, maskText, sizeof maskText);
    interface->subnets.push_back(SysfsReader::widen(maskText));
}

// Linux 5.15 and later name a link's parent device in the dump, so that
// software interfaces need no sysfs look-up at all.
bool kernelNamesParents()
{
    utsname system = {};
    int major = 0, minor = 0;
    return ::uname(&system) == 0 && std::sscanf(system.release, "%d.%d", &major, &minor) == 2 &&
            (major > 5 || (major == 5 && minor >= 15));
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

std::vector<NetworkInterface> NetworkInterfaces::read(bool addresses, int index)
{
    std::vector<NetworkInterface> interfaces;
    const FileDescriptor socket(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (socket.get() < 0)
        return interfaces;
    const auto links = [&interfaces](const nlmsghdr &m) { addLink(m, interfaces); };
    if (!dump(socket.get(), RTM_GETLINK, index, links))
        return {};
    std::sort(interfaces.begin(), interfaces.end(),
              [](const NetworkInterface &a, const NetworkInterface &b) {
                  return a.index < b.index;
              });
    if (addresses) {
        const auto take = [&interfaces](const nlmsghdr &m) { addAddress(m, interfaces); };
        return dump(socket.get(), RTM_GETADDR, 0, take) ? interfaces
                                                        : std::vector<NetworkInterface>();
    }
    static const bool namesParents = kernelNamesParents();
    for (NetworkInterface &interface : interfaces) {
        if (!namesParents || !interface.devicePath.empty())
            interface.devicePath = devicePath(interface.name);
    }
    return interfaces;
}
