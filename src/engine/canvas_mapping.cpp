#include "engine/canvas_mapping.h"

namespace lumeno {

void CanvasToClient(const CanvasView& view, float x, float y, int* outX, int* outY)
{
    *outX = static_cast<int>((x - view.canvasWidth * 0.5f) * view.scale + view.clientWidth * 0.5f);
    *outY = static_cast<int>((y - view.canvasHeight * 0.5f) * view.scale + view.clientHeight * 0.5f);
}

void ClientToCanvas(const CanvasView& view, float x, float y, float* outX, float* outY)
{
    *outX = ((x - view.clientWidth * 0.5f) / view.aspect) * (1.0f / view.scale) + view.canvasWidth * 0.5f;
    *outY = (y - view.clientHeight * 0.5f) * (1.0f / view.scale) + view.canvasHeight * 0.5f;
}

} // namespace lumeno
