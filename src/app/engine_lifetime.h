#pragma once
// The engine's GL work must run with its context current. The application has one
// window context and nothing else makes another current, but a rebuild, a shut-down or
// a frame should not depend on that staying true.

namespace lumeno {

// Makes g_engine's context current, if there is an engine with a device.
void MakeEngineCurrent();

// Shuts g_engine down (workers stopped, GL released with its context current), deletes
// it and nulls the pointer; nothing when there is none.
void DestroyEngine();

} // namespace lumeno
