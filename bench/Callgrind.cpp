#include "Callgrind.h"

#include "ChildProcess.h"

#include <fstream>

#include <stdlib.h>
#include <unistd.h>

double Callgrind::instructions(std::vector<std::string> command, const std::string &toggle)
{
    char file[] = "/tmp/uis-bench-callgrind-XXXXXX";
    const int descriptor = ::mkstemp(file);
    if (descriptor < 0)
        return -1;
    ::close(descriptor);
    std::vector<std::string> valgrind{"valgrind", "--tool=callgrind",
                                      std::string("--callgrind-out-file=") + file};
    if (!toggle.empty())
        valgrind.push_back("--toggle-collect=" + toggle);
    const bool inNamespace = command.front() == "ip";
    command.insert(command.begin() + (inNamespace ? 4 : 0), valgrind.begin(), valgrind.end());
    const bool ok = ChildProcess::run(command.front(), {command.begin() + 1, command.end()},
                                      {"QT_HASH_SEED=0"})
                            .ok;
    double count = -1;
    std::ifstream output(file);
    for (std::string line; ok && std::getline(output, line);) {
        if (line.rfind("summary: ", 0) == 0)
            count = std::stod(line.substr(9));
    }
    ::unlink(file);
    return count;
}
