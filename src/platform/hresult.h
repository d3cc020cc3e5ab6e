#pragma once
// Result codes of device-facing operations: negative on failure, as the rest of the
// program expects of the graphics layer it was designed against.

#include <cstdint>

using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT D3DERR_INVALIDCALL = static_cast<HRESULT>(0x8876086Cu);
constexpr HRESULT D3DERR_NOTAVAILABLE = static_cast<HRESULT>(0x8876086Au);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);
constexpr HRESULT D3DERR_DEVICELOST = static_cast<HRESULT>(0x88760868u);

// Our own failures of the OpenGL layer (customer bit set, so they collide with no
// system code): no context could be made or made current; the context is older than
// OpenGL 3.3 core; GL reported an error nothing else explains.
constexpr HRESULT GLERR_NOCONTEXT = static_cast<HRESULT>(0xA0470001u);
constexpr HRESULT GLERR_VERSION = static_cast<HRESULT>(0xA0470002u);
constexpr HRESULT GLERR_UNEXPECTED = static_cast<HRESULT>(0xA0470003u);

constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
