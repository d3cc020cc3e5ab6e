#pragma once
// Where the C key puts the canvas: the application's clipboard (Qt), nothing headless.

#include <cstdint>
#include <vector>

namespace lumeno {

class Clipboard {
public:
    // Tightly packed RGBA, 8 bits a channel, top row first. False when the clipboard
    // could not take it; the copy fails silently then.
    virtual bool SetImage(const std::vector<std::uint8_t>& rgba, int width, int height) = 0;

protected:
    ~Clipboard() = default;
};

} // namespace lumeno
