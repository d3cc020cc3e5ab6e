#pragma once
// Where sound that is heard live comes from: the default audio input in the program
// (app/qt_sound_input.h), samples of their own in tests.

#include <functional>
#include <span>
#include <string>

namespace lumeno {

class SoundSource {
public:
    // One channel of samples in [-1, 1], called on the thread that started the source.
    using Samples = std::function<void(std::span<const float> mono)>;

    virtual ~SoundSource() = default;
    // Starts hearing and hands what it hears to `samples` from then on, until the source
    // is destroyed. False with a sentence for the user (no input device, one that fails).
    [[nodiscard]] virtual bool Start(Samples samples, std::string* error) = 0;
    // Samples a second; known once Start has succeeded.
    virtual int SampleRate() const = 0;
};

} // namespace lumeno
