#include "platform/png_file.h"

#include <cerrno>
#include <cstddef>
#include <new>
#include <vector>

#include <stb_image_write.h>

#include "platform/stb_encoding.h"

namespace lumeno {

FileWriteResult SavePngFile(const std::string& path, int width, int height, std::span<const std::uint8_t> rgba)
{
    const std::size_t pixels = static_cast<std::size_t>(width > 0 ? width : 0) * static_cast<std::size_t>(height > 0 ? height : 0);
    if (pixels == 0 || rgba.size() != pixels * 4)
        return FileWriteResult{false, EINVAL};
    try {
        const std::vector<std::uint8_t> rgb = RgbOfRgba(rgba);
        // Encoded in memory first: stb's own file writer checks no write, and a full disk
        // would leave a truncated picture under the final name.
        std::vector<std::byte> encoded;
        if (stbi_write_png_to_func(AppendEncodedBytes, &encoded, width, height, 3, rgb.data(), width * 3) == 0)
            return FileWriteResult{false, ENOMEM};
        return WriteFileAtomically(path, encoded);
    } catch (const std::bad_alloc&) {
        return FileWriteResult{false, ENOMEM};
    }
}

} // namespace lumeno
