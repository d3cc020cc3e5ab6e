#include "support/file_bytes.h"

#include <fstream>
#include <iterator>

namespace lumeno::test {

std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace lumeno::test
