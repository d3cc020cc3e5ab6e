#pragma once
// The window the engine renders for: its GL context and its client area in physical
// pixels. The application's window and the headless renderer's stand-in implement it.

namespace lumeno {

class GlContext;

class RenderWindow {
public:
    // Null when the window has no usable context.
    virtual GlContext* Context() = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;

protected:
    ~RenderWindow() = default;
};

} // namespace lumeno
