#pragma once
// Screen text for the frame-rate figure: glyphs rasterised once by stb_truetype from a
// TrueType face on the system, drawn as textured quads into render target 0.

#include <memory>
#include <string_view>

#include "platform/gl/gl_device.h"

namespace lumeno {

class TextRenderer {
public:
    // Null when no usable face is installed or GL refuses the atlas: no text then.
    static std::unique_ptr<TextRenderer> Create(GlDevice& device, int pixelHeight);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Left- and top-aligned in `rect` (pixels of render target 0), clipped to it, in an
    // 0xAARRGGBB colour. Leaves every GL state as it found it.
    void Draw(std::string_view text, const GlRect& rect, D3DCOLOR colour);

private:
    struct Atlas;
    explicit TextRenderer(GlDevice& device);

    GlDevice& m_device;
    std::unique_ptr<Atlas> m_atlas;
};

} // namespace lumeno
