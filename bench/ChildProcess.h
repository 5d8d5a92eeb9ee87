#pragma once

#include <string>
#include <vector>

// Runs a program to its end and reports what it printed on standard
// output, its wall-clock time and the CPU time it used (user + system, from
// wait4, children of the child included). QProcess gives no CPU time.
class ChildProcess
{
public:
    struct Result
    {
        bool ok = false; // started, exited normally with status 0
        std::string output;
        double wallSeconds = 0;
        double cpuSeconds = 0;
    };

    // `arguments` excludes the program; `environment` entries are
    // "NAME=value" set on top of this process's environment.
    static Result run(const std::string &program, const std::vector<std::string> &arguments,
                      const std::vector<std::string> &environment = {});
};
