#include "platform/stb_encoding.h"

namespace lumeno {

void AppendEncodedBytes(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<std::byte>*>(context);
    const auto* bytes = static_cast<const std::byte*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::vector<std::uint8_t> RgbOfRgba(std::span<const std::uint8_t> rgba)
{
    std::vector<std::uint8_t> rgb(rgba.size() / 4 * 3);
    for (std::size_t i = 0, j = 0; i + 3 < rgba.size(); i += 4, j += 3) {
        rgb[j] = rgba[i];
        rgb[j + 1] = rgba[i + 1];
        rgb[j + 2] = rgba[i + 2];
    }
    return rgb;
}

} // namespace lumeno
