#pragma once
// An OpenGL 3.3 core context with what the device needs of it. Two kinds stand behind
// this interface: the headless EGL context below (tests, the headless renderer, the
// format probe) and the application's window context, which presents into a window.

#include <memory>
#include <string>

namespace lumeno {

class GlContext {
public:
    virtual ~GlContext() = default;

    // Makes the context current on the calling thread; false when that fails.
    [[nodiscard]] virtual bool MakeCurrent() = 0;
    // Leaves no context current on the calling thread.
    virtual void DoneCurrent() = 0;
    // Shows what was drawn into the default framebuffer; headless: nothing.
    virtual void SwapBuffers() = 0;
    // The framebuffer object of the window (0 for most windows); headless: 0.
    virtual unsigned DefaultFramebuffer() const = 0;
    // The window surface in physical pixels; headless: 0 by 0, nothing to present into.
    virtual int SurfaceWidth() const = 0;
    virtual int SurfaceHeight() const = 0;
};

// Mesa's shader cache skips compiling a shader it has seen before, and with it the
// compiler's warnings, so an effect refused for warnings would be accepted on the next run.
// Turns that cache off for this process (unless the user set it either way); call it
// before the first context is made. CreateHeadlessContext calls it itself.
void DisableDriverShaderCache();

// An OpenGL 3.3 core context with no window and no surface, current on the calling
// thread when returned. Tries Mesa's surfaceless platform, then each EGL device, then
// the default display with a tiny pbuffer. Null with a sentence in *error on failure.
// Safe during static initialisation: it touches no other file's statics.
std::unique_ptr<GlContext> CreateHeadlessContext(std::string* error);

} // namespace lumeno
