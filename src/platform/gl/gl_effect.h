#pragma once
// Effects: named techniques of one pass each, read from an effect file (container syntax
// in effect_source.h), standing in for the effect interface the passes were designed
// against. Parameters are uniforms addressed by name; float and texture values belong to
// the effect and reach whichever technique declares them, across technique switches.
// A technique or parameter the file lacks is not an error anyone sees: the calls return
// D3DERR_INVALIDCALL or just do nothing.
//
// What every shader gets from the loader, before the file's code:
//   #version 330 core
//   vertex stage:   uniform vec2 lumeno_TargetSize;  size of render target 0 in pixels,
//                                                    filled at each draw
//                   vec4 D3DClipToGl(vec4 clip);     clip space with +y at the top row,
//                                                    to GL's (targets keep the top row at
//                                                    GL row 0)
//                   vec4 PretransformedToGl(vec4 xyzrhw); pixel position (centres on
//                                                    integers) to GL clip space
// Vertex inputs use the locations of vertex_format.h: position 0, texture set n at 1 + n.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gl/gl_device.h"

namespace lumeno {

class GlEffect {
public:
    ~GlEffect();
    GlEffect(const GlEffect&) = delete;
    GlEffect& operator=(const GlEffect&) = delete;

    // An unknown name keeps the current technique (the file's first at the start).
    [[nodiscard]] HRESULT SetTechnique(std::string_view name);
    HRESULT SetFloat(std::string_view name, float value);
    HRESULT SetTexture(std::string_view name, std::shared_ptr<GlTexture> texture);
    // *passes (when asked) is 1. State is never saved, so D3DXFX_DONOTSAVESTATE changes nothing.
    HRESULT Begin(unsigned* passes, std::uint32_t flags);
    // Pass 0 only: binds the technique's program, uniforms and textures for DrawPrimitive.
    HRESULT BeginPass(unsigned pass);
    HRESULT EndPass();
    HRESULT End();

    std::string_view CurrentTechnique() const;

private:
    friend HRESULT CreateEffectFromFile(GlDevice&, const std::string&, std::unique_ptr<GlEffect>*, std::string*);

    struct Uniform {
        std::string name;
        GlLocation location;
        int unit; // texture unit of a sampler; unused for floats
    };
    struct Technique {
        std::string name;
        GlProgramName program;
        GlLocation targetSizeLocation = -1;
        GlProgramName captureProgram; // the compute section that captures its lines, if any
        LineCapture capture;
        std::vector<Uniform> captureFloats;
        std::vector<Uniform> floats;
        std::vector<Uniform> samplers;
    };

    explicit GlEffect(GlDevice& device);
    // Lists the float and sampler uniforms of the technique's programs.
    void AddTechnique(std::string techniqueName, GlProgramName program, GlProgramName capture);
    // The capture section's uniform locations and floats; the draw program's floats and samplers.
    static void AttachCapture(Technique& technique, GlProgramName capture);
    static void AttachProgram(Technique& technique, GlProgramName program);

    GlDevice& m_device;
    GlDeviceLife m_life;
    std::vector<Technique> m_techniques;
    std::size_t m_current = 0;
    std::map<std::string, float, std::less<>> m_floats;
    std::map<std::string, std::shared_ptr<GlTexture>, std::less<>> m_textures;
    bool m_inPass = false;
};

// Loads, compiles and links every technique of the file. E_FAIL with an empty log when the
// file cannot be read; E_FAIL with the log when the container is malformed or any compile
// or link log holds text, warnings included: each log line comes as
// "PATH (TECHNIQUE): what the driver said".
[[nodiscard]] HRESULT CreateEffectFromFile(GlDevice& device, const std::string& path, std::unique_ptr<GlEffect>* effect,
                                           std::string* log);

} // namespace lumeno
