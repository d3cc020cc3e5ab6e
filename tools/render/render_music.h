#pragma once
// The music of a render (--audio): decoded and analysed before the engine is built, so a
// file that cannot be read stops the render before any work, and the film's length is
// known before its first frame.

#include <string>
#include <vector>

#include "play/music_frame.h"
#include "render_options.h"

namespace lumeno {

// One MusicFrame per film frame. Without --frames, options->frames becomes the music's
// length, ceil(duration x fps); with it, the music is cut there or followed by silence.
// False with a sentence that names the file.
[[nodiscard]] bool LoadRenderMusic(RenderOptions* options, std::vector<MusicFrame>* frames, std::string* error);

} // namespace lumeno
