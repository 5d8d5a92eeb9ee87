#include "NetworkInterfaces.h"

#include "Digits.h"
#include "SysfsReader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Interfaces = std::map<int, NetworkInterface>;

// Each thread keeps one netlink socket: making and closing one cost a scan as
// much as its link dump. It answers for the network namespace the thread
// was in when it first asked. A failed exchange or a kernel error drops it
// (a dump left unread would make the next ones fail), and a forked child
// makes its own.
struct RouteSocket
{
    // Room for the largest message a dump sends (the kernel sizes them by
    // the largest read it has seen, up to 32 KiB). On the heap: on the stack
    // it pushed the calls below it onto pages a fresh process had not
    // touched yet, a page fault each.
    static constexpr std::size_t kBufferSize = 32768;
    struct Free
    {
        void operator()(char *block) const { std::free(block); }
    };

    int fd = -1;
    pid_t owner = 0;
    uint32_t sequence = 0;
    std::unique_ptr<char, Free> buffer;

    ~RouteSocket() { drop(); }
    void drop()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    int get()
    {
        if (fd >= 0 && owner != ::getpid())
            drop();
        if (fd < 0) {
            if (!buffer)
                buffer.reset(static_cast<char *>(std::malloc(kBufferSize)));
            fd = buffer ? ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE) : -1;
            owner = ::getpid();
        }
        return fd;
    }
};

// Initial-exec: a few bytes of static TLS, reached without __tls_get_addr.
// In the general-dynamic model, with this library loaded by a plug-in, the
// object's thread-exit destructor made LeakSanitizer's tracer crash at exit.
__attribute__((tls_model("initial-exec"))) thread_local RouteSocket routeSocket;

// Sends one dump request and hands each answer message to `take`; false
// when the kernel reports an error or the socket fails.
template<class Take>
bool dump(uint16_t type, Take take)
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
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = ++routeSocket.sequence;
    const int socket = routeSocket.get();
    if (socket < 0 || ::send(socket, &request, request.header.nlmsg_len, 0) < 0)
        return routeSocket.drop(), false;
    char *buffer = routeSocket.buffer.get();
    for (;;) {
        const ssize_t got = ::recv(socket, buffer, RouteSocket::kBufferSize, 0);
        if (got <= 0)
            return routeSocket.drop(), false;
        auto length = static_cast<unsigned int>(got);
        for (auto *message = reinterpret_cast<const nlmsghdr *>(buffer); NLMSG_OK(message, length);
             message = NLMSG_NEXT(message, length)) {
            if (message->nlmsg_seq != request.header.nlmsg_seq)
                continue; // left over from an exchange that failed
            if (message->nlmsg_type == NLMSG_DONE)
                return true;
            // An error (such as a dump left unfinished by an exception, which
            // the kernel lets no new dump start beside) drops the socket.
            if (message->nlmsg_type == NLMSG_ERROR)
                return static_cast<const nlmsgerr *>(NLMSG_DATA(message))->error == 0 ||
                        (routeSocket.drop(), false);
            take(*message);
        }
    }
}

void addLink(const nlmsghdr &message, Interfaces &interfaces)
{
    const auto *link = static_cast<const ifinfomsg *>(NLMSG_DATA(&message));
    NetworkInterface &interface = interfaces[link->ifi_index];
    interface.index = link->ifi_index;
    interface.flags = link->ifi_flags;
    int length = static_cast<int>(IFLA_PAYLOAD(&message));
    for (auto *attribute = IFLA_RTA(link); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        const auto *data = static_cast<const char *>(RTA_DATA(attribute));
        if (attribute->rta_type == IFLA_IFNAME)
            interface.name.assign(data, ::strnlen(data, RTA_PAYLOAD(attribute)));
        else if (attribute->rta_type == IFLA_ADDRESS && link->ifi_type == ARPHRD_ETHER)
            interface.hardwareAddress.assign(data, data + RTA_PAYLOAD(attribute));
        else if (attribute->rta_type == IFLA_PARENT_DEV_NAME)
            interface.parent.assign(data, ::strnlen(data, RTA_PAYLOAD(attribute)));
        else if (attribute->rta_type == IFLA_PARENT_DEV_BUS_NAME)
            interface.parentBus.assign(data, ::strnlen(data, RTA_PAYLOAD(attribute)));
    }
}

std::wstring dotted(const uint8_t *bytes)
{
    return digits(bytes[0], 10) + L'.' + digits(bytes[1], 10) + L'.' + digits(bytes[2], 10) + L'.' +
            digits(bytes[3], 10);
}

// The form inet_ntop writes (RFC 5952's): lower-case hex groups, the
// longest run of two or more zero groups (the first of equals) as "::", an
// IPv4-mapped or -compatible address's last four bytes dotted. By hand, as
// digits() is: inet_ntop formats through sprintf, whose code a fresh
// process has not touched yet, and its page faults cost a first scan more
// than the kernel's dumps.
std::wstring ipv6Text(const uint8_t *bytes)
{
    uint16_t groups[8];
    for (std::size_t i = 0; i < 8; ++i)
        groups[i] = static_cast<uint16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    int runStart = -1, runLength = 1;
    for (int i = 0; i < 8;) {
        int end = i;
        while (end < 8 && groups[end] == 0)
            ++end;
        if (end - i > runLength)
            runStart = i, runLength = end - i;
        i = std::max(end, i + 1);
    }
    std::wstring text;
    for (int i = 0; i < 8; ++i) {
        if (i == runStart) {
            text += L"::";
            i += runLength - 1;
            continue;
        }
        if (!text.empty() && text.back() != L':')
            text += L':';
        if (i == 6 && runStart == 0 && (runLength == 6 || (runLength == 5 && groups[5] == 0xffff)))
            return text + dotted(bytes + 12);
        for (wchar_t c : digits(groups[i], 16))
            text += c >= L'A' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    }
    return text;
}

void addAddress(const nlmsghdr &message, Interfaces &interfaces)
{
    const auto *address = static_cast<const ifaddrmsg *>(NLMSG_DATA(&message));
    const auto found = interfaces.find(static_cast<int>(address->ifa_index));
    if (found == interfaces.end() ||
        (address->ifa_family != AF_INET && address->ifa_family != AF_INET6))
        return;
    NetworkInterface *interface = &found->second;
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
    if (address->ifa_family == AF_INET6) {
        interface->addresses.push_back(ipv6Text(static_cast<const uint8_t *>(local)));
        interface->subnets.push_back(digits(address->ifa_prefixlen, 10));
        return;
    }
    const uint32_t mask = address->ifa_prefixlen == 0 ? 0 : ~0u << (32 - address->ifa_prefixlen);
    const uint8_t maskBytes[] = {uint8_t(mask >> 24), uint8_t(mask >> 16), uint8_t(mask >> 8),
                                 uint8_t(mask)};
    interface->addresses.push_back(dotted(static_cast<const uint8_t *>(local)));
    interface->subnets.push_back(dotted(maskBytes));
}

// The name and hardware address of one interface, by ioctl on the thread's
// socket: all a configuration row needs of the link, at a third of the cost
// of asking for it.
bool readOne(int index, Interfaces &interfaces)
{
    ifreq request = {};
    request.ifr_ifindex = index;
    const int socket = routeSocket.get();
    if (socket < 0 || ::ioctl(socket, SIOCGIFNAME, &request) != 0)
        return false;
    NetworkInterface &interface = interfaces[index];
    interface.index = index;
    interface.name = request.ifr_name;
    const auto *address = reinterpret_cast<const uint8_t *>(request.ifr_hwaddr.sa_data);
    if (::ioctl(socket, SIOCGIFHWADDR, &request) == 0 &&
        request.ifr_hwaddr.sa_family == ARPHRD_ETHER)
        interface.hardwareAddress.assign(address, address + 6);
    return true;
}

} // namespace

std::vector<NetworkInterface> NetworkInterfaces::read(bool addresses, int index)
{
    Interfaces interfaces;
    const auto link = [&interfaces](const nlmsghdr &m) { addLink(m, interfaces); };
    if (!(index > 0 ? readOne(index, interfaces) : dump(RTM_GETLINK, link)) ||
        (addresses &&
         !dump(RTM_GETADDR, [&interfaces](const nlmsghdr &m) { addAddress(m, interfaces); })))
        return {};
    std::vector<NetworkInterface> list;
    list.reserve(interfaces.size());
    for (auto &entry : interfaces)
        list.push_back(std::move(entry.second));
    return list;
}
