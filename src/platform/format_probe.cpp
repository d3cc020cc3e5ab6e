#include "platform/format_probe.h"

namespace lumeno {

// Until the graphics layer can make a context, the 8-bit format is the one that
// every machine blends into.
int ProbeBlendableCanvasFormat() { return 21; }

} // namespace lumeno
