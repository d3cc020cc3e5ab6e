#pragma once
// Between canvas units and window client pixels. The canvas is shown centred and
// magnified by `scale`. The way back also divides the horizontal distance by the
// aspect, as the particle passes multiply by it, so the attractor sits under the
// cursor; the two mappings are therefore not inverses horizontally.

namespace lumeno {

struct CanvasView {
    int canvasWidth, canvasHeight;
    float aspect; // canvas height / width
    float scale;
    int clientWidth, clientHeight;
};

void CanvasToClient(const CanvasView& view, float x, float y, int* outX, int* outY);
void ClientToCanvas(const CanvasView& view, float x, float y, float* outX, float* outY);

} // namespace lumeno
