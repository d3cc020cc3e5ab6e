#include "engine/canvas_mapping.h"

#include <climits>

namespace lumeno {
namespace {

// A `scale` from a hand-edited settings file (not a number, infinite, 1e30) puts the
// canvas outside int's range. Such a value converts to INT_MIN, as the x86 conversion
// does; a plain cast would be undefined behaviour there.
int TruncateToClient(float value)
{
    if (!(value >= -2147483648.0f && value < 2147483648.0f))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

void CanvasToClient(const CanvasView& view, float x, float y, int* outX, int* outY)
{
    *outX = TruncateToClient((x - view.canvasWidth * 0.5f) * view.scale + view.clientWidth * 0.5f);
    *outY = TruncateToClient((y - view.canvasHeight * 0.5f) * view.scale + view.clientHeight * 0.5f);
}

void ClientToCanvas(const CanvasView& view, float x, float y, float* outX, float* outY)
{
    *outX = ((x - view.clientWidth * 0.5f) / view.aspect) * (1.0f / view.scale) + view.canvasWidth * 0.5f;
    *outY = (y - view.clientHeight * 0.5f) * (1.0f / view.scale) + view.canvasHeight * 0.5f;
}

} // namespace lumeno
