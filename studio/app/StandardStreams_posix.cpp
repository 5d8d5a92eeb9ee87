#include "StandardStreams.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

// A closed standard stream would let the next file opened take its number,
// and the dump or a message would land in a settings file: each one closed
// is given /dev/null. Past a file-size limit a save must fail (EFBIG) and
// say so, not kill the host with unsaved values.
bool StandardStreams::guard()
{
    bool outputOpen = true;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        outputOpen = outputOpen && fd != STDOUT_FILENO;
        ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY); // takes the lowest number
    }
    std::signal(SIGXFSZ, SIG_IGN);
    return outputOpen;
}
