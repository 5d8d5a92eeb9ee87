#include "ChildProcess.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

ChildProcess::Result ChildProcess::run(const std::string &program,
                                       const std::vector<std::string> &arguments,
                                       const std::vector<std::string> &environment)
{
    Result result;
    std::vector<std::string> env;
    for (char **entry = environ; *entry; ++entry)
        env.emplace_back(*entry);
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    argv.reserve(arguments.size() + 2);
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char *> envp;
    envp.reserve(env.size() + 1);
    for (std::string &entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    // What the child says on standard error is kept aside and shown only if
    // it fails, so that the table is not interleaved with its chatter.
    const std::unique_ptr<FILE, int (*)(FILE *)> errors(std::tmpfile(), &::fclose);
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    if (errors)
        posix_spawn_file_actions_adddup2(&actions, ::fileno(errors.get()), STDERR_FILENO);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned =
            ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        return result;
    }
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, std::size_t(got));
    ::close(pipeEnds[0]);
    int status = 0;
    rusage usage = {};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return result;
    result.wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!result.ok && errors && ::lseek(::fileno(errors.get()), 0, SEEK_SET) == 0) {
        for (ssize_t got; (got = ::read(::fileno(errors.get()), buffer, sizeof buffer)) > 0;)
            std::fwrite(buffer, 1, std::size_t(got), stderr);
    }
    return result;
}
