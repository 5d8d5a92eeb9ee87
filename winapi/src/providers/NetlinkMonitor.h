#pragma once

#include "FileDescriptor.h"

#include <memory>

#include <sys/types.h>

// Tells whether the network interfaces or their addresses may have changed:
// a non-blocking NETLINK_ROUTE socket subscribed to link and IPv4/IPv6
// address notifications of one network namespace. The kernel queues most
// notifications before the change's own request returns. An IPv6 address
// added without duplicate address detection, or one whose detection ends,
// is announced a moment later from the kernel's work queue; a query in that
// window still gets the previous reading, as Windows' own WMI trails its IP
// stack.
class NetlinkMonitor
{
public:
    // A monitor of the calling thread's network namespace; null when the
    // socket cannot be opened or the namespace cannot be identified.
    static std::unique_ptr<NetlinkMonitor> open();

    // False in a forked child (the socket would be shared with the parent)
    // and on a thread in another network namespace than the socket's.
    bool watchesCaller() const;
    // Reads every pending notification. True when any came, or when the
    // socket reported an error (an overflow loses notifications): what was
    // read before may then be out of date.
    bool drain();
    // False once the socket failed in a way that reading cannot recover.
    bool isHealthy() const { return !m_broken; }

    NetlinkMonitor(FileDescriptor socket, pid_t pid, dev_t device, ino_t inode);

private:
    static bool namespaceOfCaller(dev_t *device, ino_t *inode);

    FileDescriptor m_socket;
    pid_t m_pid;
    dev_t m_device; // the network namespace's identity
    ino_t m_inode;
    bool m_broken = false;
};
