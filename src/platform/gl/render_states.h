#pragma once
// The render states the passes name, kept with their Direct3D values and mirrored into
// OpenGL on every change, so that reading a state back gives what was set and a pass that
// saves and restores its states leaves GL exactly as it found it.

#include <array>
#include <cstdint>

#include "platform/gl/d3d_constants.h"
#include "platform/hresult.h"

namespace lumeno {

class RenderStates {
public:
    // The values a fresh device starts with.
    RenderStates();

    // D3DERR_INVALIDCALL for a state not listed in d3d_constants.h or a value the state
    // does not take; the state then keeps its value. Only states that GL honours are
    // listed, and alpha testing takes 0 alone: no state is kept that changes nothing.
    [[nodiscard]] HRESULT Set(D3DRENDERSTATETYPE state, std::uint32_t value);
    [[nodiscard]] HRESULT Get(D3DRENDERSTATETYPE state, std::uint32_t* value) const;

    // Writes every state into the current context: once when the device is created.
    void ApplyAll() const;

    static constexpr std::size_t kCount = 11;

private:
    std::array<std::uint32_t, kCount> m_values{};
};

} // namespace lumeno
