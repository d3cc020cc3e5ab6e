#pragma once
// The window the engine renders for: its GL context and its client area in physical
// pixels. The application's window and the headless renderer's stand-in implement it.

#include <cstdint>

namespace lumeno {

class GlContext;

class RenderWindow {
public:
    // Null when the window has no usable context.
    virtual GlContext* Context() = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // What the client area shows where the presented canvas does not cover it, as
    // 0xAARRGGBB: the window's own background colour. Black for a window nobody sees.
    virtual std::uint32_t WindowColour() const { return 0xFF000000; }

protected:
    ~RenderWindow() = default;
};

} // namespace lumeno
