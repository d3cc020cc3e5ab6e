#include "platform/gl/gl_context.h"

#include <epoxy/egl.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace lumeno {
namespace {

bool HasExtension(const char* list, const char* name)
{
    if (list == nullptr)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool startsWord = at == list || at[-1] == ' ';
        const bool endsWord = at[length] == '\0' || at[length] == ' ';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

class EglHeadlessContext final : public GlContext {
public:
    EglHeadlessContext(EGLDisplay display, EGLContext context, EGLSurface surface)
        : m_display(display), m_context(context), m_surface(surface)
    {
    }

    // The display stays initialised: EGL hands every caller the same display, and
    // terminating it would pull it from under any other live context.
    ~EglHeadlessContext() override
    {
        if (eglGetCurrentContext() == m_context)
            eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(m_display, m_context);
        if (m_surface != EGL_NO_SURFACE)
            eglDestroySurface(m_display, m_surface);
    }

    bool MakeCurrent() override { return eglMakeCurrent(m_display, m_surface, m_surface, m_context) == EGL_TRUE; }
    void DoneCurrent() override { eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT); }
    void SwapBuffers() override {}
    unsigned DefaultFramebuffer() const override { return 0; }
    int SurfaceWidth() const override { return 0; }
    int SurfaceHeight() const override { return 0; }

private:
    EGLDisplay m_display;
    EGLContext m_context;
    EGLSurface m_surface;
};

// Makes a core 3.3 context on an initialised display; a 1x1 pbuffer stands in for a
// surface where the display cannot make a context current without one.
std::unique_ptr<GlContext> MakeContextOn(EGLDisplay display, std::string* failure)
{
    EGLint major = 0;
    EGLint minor = 0;
    if (display == EGL_NO_DISPLAY || eglInitialize(display, &major, &minor) != EGL_TRUE) {
        *failure = "the EGL display could not be initialised";
        return nullptr;
    }
    const bool surfaceless = HasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context");
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        *failure = "the EGL display offers no desktop OpenGL";
        return nullptr;
    }
    const EGLint configAttributes[] = {
        EGL_SURFACE_TYPE, surfaceless ? 0 : EGL_PBUFFER_BIT,
        EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
        EGL_NONE,
    };
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (eglChooseConfig(display, configAttributes, &config, 1, &configCount) != EGL_TRUE || configCount < 1) {
        *failure = "no EGL configuration renders with OpenGL";
        return nullptr;
    }
    const EGLint contextAttributes[] = {
        EGL_CONTEXT_MAJOR_VERSION, 3,
        EGL_CONTEXT_MINOR_VERSION, 3,
        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
        EGL_NONE,
    };
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) {
        *failure = "no OpenGL 3.3 core context could be created";
        return nullptr;
    }
    EGLSurface surface = EGL_NO_SURFACE;
    if (!surfaceless) {
        const EGLint pbufferAttributes[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        surface = eglCreatePbufferSurface(display, config, pbufferAttributes);
        if (surface == EGL_NO_SURFACE) {
            eglDestroyContext(display, context);
            *failure = "no pbuffer surface could be created";
            return nullptr;
        }
    }
    std::unique_ptr<GlContext> result(new (std::nothrow) EglHeadlessContext(display, context, surface));
    if (result == nullptr) {
        eglDestroyContext(display, context);
        if (surface != EGL_NO_SURFACE)
            eglDestroySurface(display, surface);
        *failure = "out of memory";
        return nullptr;
    }
    if (!result->MakeCurrent()) {
        *failure = "the OpenGL context could not be made current";
        return nullptr;
    }
    return result;
}

std::vector<EGLDisplay> DeviceDisplays(const char* clientExtensions)
{
    std::vector<EGLDisplay> displays;
    if (!HasExtension(clientExtensions, "EGL_EXT_device_enumeration") ||
        !HasExtension(clientExtensions, "EGL_EXT_platform_device"))
        return displays;
    EGLint count = 0;
    if (eglQueryDevicesEXT(0, nullptr, &count) != EGL_TRUE || count <= 0)
        return displays;
    std::vector<EGLDeviceEXT> devices(static_cast<std::size_t>(count));
    if (eglQueryDevicesEXT(count, devices.data(), &count) != EGL_TRUE)
        return displays;
    for (EGLint i = 0; i < count; ++i)
        displays.push_back(eglGetPlatformDisplayEXT(EGL_PLATFORM_DEVICE_EXT, devices[static_cast<std::size_t>(i)], nullptr));
    return displays;
}

} // namespace

void DisableDriverShaderCache()
{
    // Both spellings: Mesa renamed the variable in version 20.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    setenv("MESA_GLSL_CACHE_DISABLE", "true", 0);
}

std::unique_ptr<GlContext> CreateHeadlessContext(std::string* error)
{
    DisableDriverShaderCache();
    std::string failure = "no EGL display is available";
    try {
        const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
        const bool platforms = HasExtension(clientExtensions, "EGL_EXT_platform_base");
        if (platforms && HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
            EGLDisplay display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
            if (auto context = MakeContextOn(display, &failure))
                return context;
        }
        if (platforms) {
            for (EGLDisplay display : DeviceDisplays(clientExtensions))
                if (auto context = MakeContextOn(display, &failure))
                    return context;
        }
        if (auto context = MakeContextOn(eglGetDisplay(EGL_DEFAULT_DISPLAY), &failure))
            return context;
    } catch (const std::bad_alloc&) {
        failure = "out of memory";
    }
    if (error != nullptr)
        *error = "No headless OpenGL 3.3 context: " + failure + ".";
    return nullptr;
}

} // namespace lumeno
