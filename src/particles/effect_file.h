#pragma once
// The effect file the particle system loads. A working folder that holds Engine/ has it
// at kEffectFileName, relative to the working directory; otherwise the program names
// another place (the installed data, the source tree) before any engine is built.

#include <string>

namespace lumeno {

inline constexpr const char* kEffectFileName = "Engine/Shaders/Lumeno.fx";

// kEffectFileName until UseEffectFile names another path.
const std::string& EffectFilePath();
void UseEffectFile(std::string path);

} // namespace lumeno
