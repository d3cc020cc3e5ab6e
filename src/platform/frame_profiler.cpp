#include "platform/frame_profiler.h"

namespace lumeno {
namespace {
FrameProfiler* g_profiler = nullptr;
} // namespace

void SetFrameProfiler(FrameProfiler* profiler) { g_profiler = profiler; }
FrameProfiler* CurrentFrameProfiler() { return g_profiler; }

} // namespace lumeno
