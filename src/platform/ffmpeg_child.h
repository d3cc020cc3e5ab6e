#pragma once
// Starting Debian's ffmpeg as a child process, as the film encoder and the audio decoder
// both do: its standard input and output on descriptors of the caller's choosing, its
// messages in an unnamed temporary file that is read back only when it fails.

#include <string>
#include <sys/types.h>
#include <vector>

namespace lumeno {

// An unnamed temporary file for ffmpeg's stderr, kept out of other children (close on
// exec); 0, or the errno of the step that failed.
int OpenFfmpegLog(int* fd);

// ffmpeg started with `args` (args[0] is "ffmpeg", found on PATH), with SIGPIPE at its
// default and nothing blocked whatever the calling thread has. A descriptor of -1 gives
// the child /dev/null there. 0, or posix_spawnp's error.
int SpawnFfmpeg(std::vector<std::string> args, int stdinFd, int stdoutFd, int stderrFd, pid_t* child);

// The sentence for a start that failed with `spawnError`: a missing ffmpeg says how to get it.
std::string FfmpegStartFailure(int spawnError);

// "exit status 1", "signal 9 (Killed)": how a child ended, from waitpid's status.
std::string HowItEnded(int status);

// What ffmpeg printed (errors only), trimmed; the end of it where it is long.
std::string ReadFfmpegLog(int fd);

// Waits for the child, retrying on EINTR; waitpid's status.
int WaitForChild(pid_t child);

} // namespace lumeno
