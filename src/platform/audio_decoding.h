#pragma once
// Sound files of any kind ffmpeg reads (WAV, MP3, FLAC, Ogg, the sound of a video),
// decoded whole by an ffmpeg child to one channel of 32-bit float samples at one rate,
// so that everything above it sees a single format.
//
//   std::vector<float> samples;
//   if (!DecodeAudioFile("song.mp3", &samples, &error)) ... error names the file and why

#include <string>
#include <vector>

namespace lumeno {

// Every decoded file has this rate: CD audio's, which the analysis above is tuned for.
inline constexpr int kDecodedSampleRate = 44100;

// ffmpeg's command line that writes `path` to its standard output as mono f32le.
std::vector<std::string> AudioDecodingArguments(const std::string& path);

// All of the file's first audio stream, the channels mixed down. False with a sentence:
//   "cannot read the audio file X: No such file or directory"  (the file cannot be opened)
//   "cannot decode the audio file X: <ffmpeg's last line>"      (ffmpeg refused it)
//   "cannot decode the audio file X: ffmpeg was not found on PATH (...)"
// A file that decodes to no samples at all is refused as holding no sound.
[[nodiscard]] bool DecodeAudioFile(const std::string& path, std::vector<float>* samples, std::string* error);

} // namespace lumeno
