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

// Win32 error codes carried in an HRESULT (facility 7), as Windows reports file-system
// failures: a positive Win32 code becomes a negative result, 0 stays success.
constexpr HRESULT HRESULT_FROM_WIN32(std::uint32_t error)
{
    return static_cast<HRESULT>(error) <= 0 ? static_cast<HRESULT>(error)
                                            : static_cast<HRESULT>((error & 0xFFFFu) | 0x80070000u);
}
constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
constexpr std::uint32_t ERROR_WRITE_FAULT = 29;
constexpr std::uint32_t ERROR_DISK_FULL = 112;
constexpr std::uint32_t ERROR_FILENAME_EXCED_RANGE = 206;
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
static_assert(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED) == E_ACCESSDENIED, "one code, two names, as in Windows");

// Our own failures of the OpenGL layer (customer bit set, so they collide with no
// system code): no context could be made or made current; the context is older than
// OpenGL 3.3 core; GL reported an error nothing else explains.
constexpr HRESULT GLERR_NOCONTEXT = static_cast<HRESULT>(0xA0470001u);
constexpr HRESULT GLERR_VERSION = static_cast<HRESULT>(0xA0470002u);
constexpr HRESULT GLERR_UNEXPECTED = static_cast<HRESULT>(0xA0470003u);

constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
