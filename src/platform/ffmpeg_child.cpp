#include "platform/ffmpeg_child.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace lumeno {

int OpenFfmpegLog(int* fd)
{
    FILE* log = std::tmpfile();
    if (log == nullptr)
        return errno;
    *fd = ::fcntl(::fileno(log), F_DUPFD_CLOEXEC, 0);
    const int failure = *fd < 0 ? errno : 0;
    std::fclose(log);
    return failure;
}

int SpawnFfmpeg(std::vector<std::string> args, int stdinFd, int stdoutFd, int stderrFd, pid_t* child)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const auto attach = [&actions](int fd, int target, int flags) {
        if (fd >= 0)
            posix_spawn_file_actions_adddup2(&actions, fd, target);
        else
            posix_spawn_file_actions_addopen(&actions, target, "/dev/null", flags, 0);
    };
    attach(stdinFd, STDIN_FILENO, O_RDONLY);
    attach(stdoutFd, STDOUT_FILENO, O_WRONLY);
    attach(stderrFd, STDERR_FILENO, O_WRONLY);
    // ffmpeg starts with SIGPIPE at its default and nothing blocked, whatever this thread has.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, sigpipe;
    sigemptyset(&none);
    sigemptyset(&sigpipe);
    sigaddset(&sigpipe, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &sigpipe);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int spawned = ::posix_spawnp(child, "ffmpeg", &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        *child = -1;
    return spawned;
}

std::string FfmpegStartFailure(int spawnError)
{
    if (spawnError == ENOENT)
        return "ffmpeg was not found on PATH (on Debian: apt-get install ffmpeg)";
    return std::string("ffmpeg could not be started: ") + std::strerror(spawnError);
}

std::string HowItEnded(int status)
{
    if (WIFEXITED(status))
        return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "signal " + std::to_string(WTERMSIG(status)) + " (" + ::strsignal(WTERMSIG(status)) + ")";
    return "status " + std::to_string(status);
}

std::string ReadFfmpegLog(int fd)
{
    std::string text;
    char buffer[4096];
    ::lseek(fd, 0, SEEK_SET);
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    constexpr std::size_t kMaxLog = 2000;
    if (text.size() > kMaxLog)
        text = "..." + text.substr(text.size() - kMaxLog);
    return text;
}

int WaitForChild(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace lumeno
