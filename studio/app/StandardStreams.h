#pragma once

// What the studio's start needs of the process's standard streams, which
// differs by system: on POSIX a closed descriptor would be reused by the
// next file opened, and the file-size limit kills by signal.
class StandardStreams
{
public:
    // Makes the streams safe to use before anything else is opened; answers
    // whether standard output is open, so the dump can say when it is not.
    static bool guard();
};
