#include "particles/effect_file.h"

#include <utility>

namespace lumeno {
namespace {

std::string& Path()
{
    static std::string path = kEffectFileName;
    return path;
}

} // namespace

const std::string& EffectFilePath() { return Path(); }

void UseEffectFile(std::string path) { Path() = std::move(path); }

} // namespace lumeno
