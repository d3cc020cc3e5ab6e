#include "platform/video_encoder.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/ffmpeg_child.h"

namespace lumeno {
namespace {

constexpr int kPipeBytes = 1 << 20;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// Made with O_EXCL under a name of this process, so two renders never share one, and
// with mode 0666 so that the umask applies as for any new file.
bool MakeTemporary(const std::string& path, std::string* temporary, int* error)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::string name = path + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".part";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            *temporary = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            *error = errno;
            return false;
        }
    }
    *error = EEXIST;
    return false;
}

// Blocks SIGPIPE on this thread around a write and takes back a SIGPIPE the write raised,
// so that an ffmpeg that has stopped reading gives EPIPE instead of ending the process
// without a word. Only this thread's mask changes, and it is restored.
class SigpipeGuard {
public:
    SigpipeGuard()
    {
        sigemptyset(&m_sigpipe);
        sigaddset(&m_sigpipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_sigpipe, &m_previous);
    }
    ~SigpipeGuard()
    {
        if (m_raised && !m_wasPending) {
            const timespec now{};
            while (sigtimedwait(&m_sigpipe, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SigpipeGuard(const SigpipeGuard&) = delete;
    SigpipeGuard& operator=(const SigpipeGuard&) = delete;
    void Raised() { m_raised = true; }

private:
    sigset_t m_sigpipe;
    sigset_t m_previous;
    bool m_wasPending = false;
    bool m_raised = false;
};

// 0 when everything was written, else the errno of the failing write.
int WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    SigpipeGuard guard;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE)
                guard.Raised();
            return errno;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace

VideoEncoder::VideoEncoder(FilmRequest film, std::string temporaryPath)
    : m_film(std::move(film)), m_temporaryPath(std::move(temporaryPath))
{
}

VideoEncoder::~VideoEncoder() { Discard(); }

std::unique_ptr<VideoEncoder> VideoEncoder::Start(const FilmRequest& film, std::string* error)
{
    std::string temporary;
    int failure = 0;
    if (!MakeTemporary(film.path, &temporary, &failure)) {
        *error = "the film " + film.path + " was not written: cannot create a file in " + FolderOf(film.path) + ": " +
                 std::strerror(failure);
        return nullptr;
    }
    std::unique_ptr<VideoEncoder> encoder(new VideoEncoder(film, std::move(temporary)));
    if (!encoder->Spawn(error))
        return nullptr;
    return encoder;
}

bool VideoEncoder::Spawn(std::string* error)
{
    if (const int failure = OpenFfmpegLog(&m_ffmpegLog))
        return Fail(std::string("cannot make a temporary file for ffmpeg's messages: ") + std::strerror(failure),
                    error);
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return Fail(std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno), error);
    // A frame is megabytes: the largest pipe an unprivileged process may ask for (1 MiB)
    // takes it in far fewer hand-overs between the processes than the default 64 KiB;
    // a third less time for a 1080p film. Only a hint where it is refused.
    (void)::fcntl(pipeEnds[1], F_SETPIPE_SZ, kPipeBytes);

    const int spawned = SpawnFfmpeg(FfmpegArguments(m_film, m_temporaryPath), pipeEnds[0], -1, m_ffmpegLog, &m_child);
    ::close(pipeEnds[0]);
    m_pipe = pipeEnds[1];
    if (spawned != 0)
        return Fail(FfmpegStartFailure(spawned), error);
    return true;
}

bool VideoEncoder::WriteFrame(std::span<const std::uint8_t> rgba, std::string* error)
{
    if (!m_failure.empty()) {
        *error = m_failure;
        return false;
    }
    const std::size_t expected = static_cast<std::size_t>(m_film.width) * static_cast<std::size_t>(m_film.height) * 4;
    if (rgba.size() != expected)
        return Fail("a frame of " + std::to_string(rgba.size()) + " bytes came where " +
                        std::to_string(m_film.width) + " x " + std::to_string(m_film.height) + " needs " +
                        std::to_string(expected),
                    error);
    const int failure = WriteAll(m_pipe, rgba);
    if (failure == EPIPE) {
        std::string ended = WaitForFfmpeg();
        return Fail("ffmpeg stopped after " + std::to_string(m_framesWritten) + " frames" +
                        (ended.empty() ? std::string(" with exit status 0") : " with " + ended),
                    error);
    }
    if (failure != 0)
        return Fail(std::string("cannot write to ffmpeg: ") + std::strerror(failure), error);
    ++m_framesWritten;
    return true;
}

bool VideoEncoder::Finish(std::string* error)
{
    if (!m_failure.empty()) {
        *error = m_failure;
        return false;
    }
    const std::string ended = WaitForFfmpeg();
    if (!ended.empty())
        return Fail("ffmpeg ended with " + ended, error);
    // The film reaches the disk before it takes its name, as every file here does.
    const int fd = ::open(m_temporaryPath.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const int syncError = errno;
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        return Fail(std::string("cannot write it to the disk: ") + std::strerror(syncError), error);
    if (std::rename(m_temporaryPath.c_str(), m_film.path.c_str()) != 0)
        return Fail("cannot rename " + m_temporaryPath + " to it: " + std::strerror(errno), error);
    m_temporaryPath.clear();
    Discard();
    return true;
}

std::string VideoEncoder::WaitForFfmpeg()
{
    if (m_pipe >= 0) {
        ::close(m_pipe); // the end of the frames
        m_pipe = -1;
    }
    if (m_child < 0)
        return "ffmpeg not running";
    const int status = WaitForChild(m_child);
    m_child = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return {};
    std::string ended = HowItEnded(status);
    const std::string said = m_ffmpegLog >= 0 ? ReadFfmpegLog(m_ffmpegLog) : std::string();
    if (!said.empty())
        ended += "; ffmpeg said:\n" + said;
    return ended;
}

bool VideoEncoder::Fail(std::string reason, std::string* error)
{
    m_failure = "the film " + m_film.path + " was not written: " + std::move(reason);
    Discard();
    *error = m_failure;
    return false;
}

void VideoEncoder::Discard()
{
    if (m_pipe >= 0) {
        ::close(m_pipe);
        m_pipe = -1;
    }
    if (m_child > 0) {
        // Abandoned: ffmpeg would otherwise finish a film nobody wants.
        ::kill(m_child, SIGKILL);
        while (::waitpid(m_child, nullptr, 0) < 0 && errno == EINTR) {
        }
        m_child = -1;
    }
    if (!m_temporaryPath.empty()) {
        ::unlink(m_temporaryPath.c_str());
        m_temporaryPath.clear();
    }
    if (m_ffmpegLog >= 0) {
        ::close(m_ffmpegLog);
        m_ffmpegLog = -1;
    }
}

} // namespace lumeno
