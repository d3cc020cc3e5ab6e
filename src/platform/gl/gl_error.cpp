#include "platform/gl/gl_error.h"

#include <epoxy/gl.h>

namespace lumeno {

HRESULT TakeGlError()
{
    HRESULT result = S_OK;
    // A lost context can report errors forever; a bounded loop still drains a real queue.
    for (int i = 0; i < 32; ++i) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR)
            break;
        if (error == GL_OUT_OF_MEMORY)
            result = D3DERR_OUTOFVIDEOMEMORY;
        else if (result == S_OK)
            result = GLERR_UNEXPECTED;
    }
    return result;
}

bool CurrentContextHasGl33()
{
    // epoxy answers 0 when no context is current, as 10 times the major plus the minor.
    return epoxy_is_desktop_gl() && epoxy_gl_version() >= 33;
}

} // namespace lumeno
