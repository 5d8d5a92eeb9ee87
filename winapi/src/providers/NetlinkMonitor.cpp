#include "NetlinkMonitor.h"

#include <cerrno>

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

NetlinkMonitor::NetlinkMonitor(FileDescriptor socket, pid_t pid, dev_t device, ino_t inode)
    : m_socket(std::move(socket))
    , m_pid(pid)
    , m_device(device)
    , m_inode(inode)
{ }

std::unique_ptr<NetlinkMonitor> NetlinkMonitor::open()
{
    dev_t device = 0;
    ino_t inode = 0;
    if (!namespaceOfCaller(&device, &inode))
        return nullptr;
    FileDescriptor socket(
            ::socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (!socket.isValid())
        return nullptr;
    sockaddr_nl address = {};
    address.nl_family = AF_NETLINK;
    address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR;
    if (::bind(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return nullptr;
    return std::make_unique<NetlinkMonitor>(std::move(socket), ::getpid(), device, inode);
}

bool NetlinkMonitor::watchesCaller() const
{
    dev_t device = 0;
    ino_t inode = 0;
    return ::getpid() == m_pid && namespaceOfCaller(&device, &inode) && device == m_device &&
            inode == m_inode;
}

bool NetlinkMonitor::drain()
{
    // Only whether anything came matters, not what: a change of any link or
    // address makes the whole reading old.
    bool changed = false;
    char buffer[8192];
    // Bounded, so a flood of notifications cannot hold the query forever;
    // what is left over counts at the next query.
    for (int reads = 0; reads < 256; ++reads) {
        const ssize_t size = ::recv(m_socket.get(), buffer, sizeof buffer, MSG_DONTWAIT);
        if (size >= 0) {
            changed = true;
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return changed;
        if (errno == EINTR)
            continue;
        changed = true;
        // The queue overflowed (notifications were lost) but the socket
        // goes on; any other error leaves it useless.
        if (errno != ENOBUFS) {
            m_broken = true;
            return true;
        }
    }
    return true;
}

bool NetlinkMonitor::namespaceOfCaller(dev_t *device, ino_t *inode)
{
    // Network namespaces belong to threads: a thread may have moved (setns)
    // since the socket was made.
    struct stat status = {};
    if (::stat("/proc/thread-self/ns/net", &status) != 0)
        return false;
    *device = status.st_dev;
    *inode = status.st_ino;
    return true;
}
