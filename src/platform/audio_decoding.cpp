#include "platform/audio_decoding.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/ffmpeg_child.h"

namespace lumeno {
namespace {

// The last line ffmpeg printed: with -v error, the one that says why it gave up; without
// the file's name in front, which the sentence around it gives already.
std::string LastLine(const std::string& text, const std::string& input)
{
    const auto newline = text.find_last_of('\n');
    std::string line = newline == std::string::npos ? text : text.substr(newline + 1);
    if (line.starts_with(input + ": "))
        line.erase(0, input.size() + 2);
    return line;
}

// Owns a descriptor until the end of the scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    int* Out() { return &m_fd; }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// Appends everything the pipe gives until its end; 0, or the errno of a failed read.
int ReadToEnd(int fd, std::vector<char>* bytes)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes->insert(bytes->end(), buffer, buffer + got);
    }
}

} // namespace

std::vector<std::string> AudioDecodingArguments(const std::string& path)
{
    // "file:" keeps a name with a colon in it, or one that starts with a dash, a file name.
    return {"ffmpeg", "-hide_banner", "-nostdin", "-v", "error", "-i", "file:" + path, "-map", "0:a:0",
            "-f", "f32le", "-ac", "1", "-ar", std::to_string(kDecodedSampleRate), "pipe:1"};
}

bool DecodeAudioFile(const std::string& path, std::vector<float>* samples, std::string* error)
{
    // Opened here first so that a missing or unreadable file is named in the system's
    // words rather than in ffmpeg's.
    if (Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC)); file.Get() < 0) {
        *error = "cannot read the audio file " + path + ": " + std::strerror(errno);
        return false;
    }
    const std::string cannot = "cannot decode the audio file " + path + ": ";
    Descriptor log;
    if (const int failure = OpenFfmpegLog(log.Out())) {
        *error = cannot + "cannot make a temporary file for ffmpeg's messages: " + std::strerror(failure);
        return false;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        *error = cannot + "cannot make a pipe from ffmpeg: " + std::strerror(errno);
        return false;
    }
    Descriptor readEnd(ends[0]), writeEnd(ends[1]);
    pid_t child = -1;
    const int spawned = SpawnFfmpeg(AudioDecodingArguments(path), -1, writeEnd.Get(), log.Get(), &child);
    writeEnd.Close(); // ours closed, the pipe ends when ffmpeg's copy does
    if (spawned != 0) {
        *error = cannot + FfmpegStartFailure(spawned);
        return false;
    }
    std::vector<char> bytes;
    const int readFailure = ReadToEnd(readEnd.Get(), &bytes);
    readEnd.Close(); // an ffmpeg still writing after a failed read ends on SIGPIPE
    const int status = WaitForChild(child);
    if (readFailure != 0) {
        *error = cannot + "cannot read from ffmpeg: " + std::strerror(readFailure);
        return false;
    }
    if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
        const std::string said = ReadFfmpegLog(log.Get());
        *error = cannot + (said.empty() ? "ffmpeg ended with " + HowItEnded(status) : LastLine(said, "file:" + path));
        return false;
    }
    if (bytes.size() < sizeof(float)) {
        *error = cannot + "it holds no sound";
        return false;
    }
    samples->resize(bytes.size() / sizeof(float));
    std::memcpy(samples->data(), bytes.data(), samples->size() * sizeof(float));
    return true;
}

} // namespace lumeno
