#pragma once

// The least a Linux program does to learn the machine's addresses: one
// netlink socket, one dump of the links and one of the addresses, each
// message walked but nothing kept. The floor under any address scan here.
class NetlinkFloor
{
public:
    // The number of link and address messages; -1 when a step failed.
    static int dumpAll();
};
