#include "NetlinkFloor.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// One dump request of `type`; the messages it answered, or -1.
int dump(int socket, unsigned short type)
{
    struct
    {
        nlmsghdr header;
        rtgenmsg body;
    } request = {{sizeof request, type, NLM_F_REQUEST | NLM_F_DUMP, 1, 0}, {AF_UNSPEC}};
    if (::send(socket, &request, sizeof request, 0) < 0)
        return -1;
    alignas(nlmsghdr) char buffer[32768];
    int messages = 0;
    for (;;) {
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            return -1;
        auto length = static_cast<unsigned int>(got);
        for (auto *m = reinterpret_cast<nlmsghdr *>(buffer); NLMSG_OK(m, length);
             m = NLMSG_NEXT(m, length)) {
            if (m->nlmsg_type == NLMSG_DONE)
                return messages;
            if (m->nlmsg_type == NLMSG_ERROR)
                return -1;
            ++messages;
        }
    }
}

} // namespace

int NetlinkFloor::dumpAll()
{
    const int socket = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (socket < 0)
        return -1;
    const int links = dump(socket, RTM_GETLINK);
    const int addresses = links < 0 ? -1 : dump(socket, RTM_GETADDR);
    ::close(socket);
    return addresses < 0 ? -1 : links + addresses;
}
