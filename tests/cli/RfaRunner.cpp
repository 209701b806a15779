#include "RfaRunner.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace larkspan::test {

namespace {

void check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(std::string(what) + " failed: " + std::to_string(errno));
}

// Reads both descriptors to their ends; a terminal's end shows as EIO.
void drain(int outFd, int errFd, RfaRun& run)
{
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            check(errno == EINTR, "poll");
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[65536];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

// The tool built beside the tests, or the program RFA_UNDER_TEST names (a
// wrapper that runs the Windows build under wine, say).
const char* rfaProgram()
{
    const char* chosen = std::getenv("RFA_UNDER_TEST");
    return chosen && *chosen ? chosen : RFA_BINARY;
}

} // namespace

RfaRun runRfa(const std::vector<std::string>& arguments, const RfaRunOptions& options)
{
    int outPipe[2];
    int errEnds[2]; // [0] read by us, [1] given to the tool
    check(::pipe2(outPipe, O_CLOEXEC) == 0, "pipe");
    if (options.stderrOnTerminal) {
        check(::openpty(&errEnds[0], &errEnds[1], nullptr, nullptr, nullptr) == 0, "openpty");
        ::fcntl(errEnds[0], F_SETFD, FD_CLOEXEC);
        ::fcntl(errEnds[1], F_SETFD, FD_CLOEXEC);
    } else {
        check(::pipe2(errEnds, O_CLOEXEC) == 0, "pipe");
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errEnds[1], STDERR_FILENO);
    if (!options.workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.workingFolder.c_str());

    std::vector<std::string> argv{rfaProgram()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv.front().c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errEnds[1]);
    if (spawned != 0) {
        ::close(outPipe[0]);
        ::close(errEnds[0]);
        throw std::runtime_error("cannot start " + argv.front());
    }

    RfaRun run;
    drain(outPipe[0], errEnds[0], run);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        check(errno == EINTR, "waitpid");
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return run;
}

} // namespace larkspan::test
