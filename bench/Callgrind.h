#pragma once

#include <string>
#include <vector>

// User-space instructions of a program, counted by callgrind: deterministic
// where times wander with the machine. Qt's hash seed is fixed in the run,
// so that its hash tables take the same shape every time.
class Callgrind
{
public:
    // Runs `command` (program first; after "ip netns exec NAME" when it
    // starts so) under callgrind and counts inside the functions matching
    // `toggle` (a --toggle-collect pattern), or the whole process when it is
    // empty. Negative when it could not be counted.
    static double instructions(std::vector<std::string> command, const std::string &toggle = {});
};
