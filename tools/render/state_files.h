#pragma once
// What a render keeps of the engine after its last frame: the canvas (.bmp, .hdr), the
// particle array and the settings in force, each written whole or not at all.

#include <string>
#include <vector>

#include "render_options.h"

namespace lumeno {

class CRenderEngine;

// Every file the options ask for, a failure not stopping the others; says where the canvas
// went. False with a sentence in *errors for each file not written, naming it and the cause.
[[nodiscard]] bool WriteStateFiles(const RenderOptions& options, const CRenderEngine& engine,
                                   std::vector<std::string>* errors);

} // namespace lumeno
