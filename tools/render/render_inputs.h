#pragma once
// What a render reads before any engine exists: the settings file (or the one in the
// working directory), the command line's canvas and count overrides, and the input script;
// and whether the effect file the engine will read is there.

#include <string>
#include <vector>

#include "render_options.h"
#include "render_script.h"

namespace lumeno {

// Fills the global settings records and *events. False with a sentence; the records may
// then hold part of what was read, and nothing is rendered.
[[nodiscard]] bool ReadRenderInputs(const RenderOptions& options, std::vector<ScriptEvent>* events,
                                    std::string* error);

} // namespace lumeno
