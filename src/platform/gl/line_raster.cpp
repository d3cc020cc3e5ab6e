#include "platform/gl/line_raster.h"

#include <algorithm>
#include <cstring>

namespace lumeno {

LineRaster::LineRaster(int threads)
    : m_runner(std::max(threads, 1)), m_shareLit(static_cast<std::size_t>(m_runner.Threads()))
{
}

void LineRaster::Attach(float* light, int width, int height)
{
    m_light = light;
    m_width = light != nullptr ? width : 0;
    m_height = light != nullptr ? height : 0;
    m_lit = {};
    m_darkenPending = false;
    // Bands go round the shares in turn, so a pile-up on a few rows is still shared out.
    const int shares = m_runner.Threads();
    m_bandOwner.resize((static_cast<std::size_t>(m_height) >> LineTarget::kBandShift) + 1);
    for (std::size_t band = 0; band < m_bandOwner.size(); ++band)
        m_bandOwner[band] = static_cast<unsigned char>(band % static_cast<std::size_t>(shares));
}

void LineRaster::Begin() { m_darkenPending = m_lit.top < m_lit.bottom; }

void LineRaster::Add(std::span<const CapturedVertex> vertices)
{
    if (m_light == nullptr)
        return;
    const bool darken = m_darkenPending;
    if (darken)
        m_darkened = m_lit;
    m_darkenPending = false;
    const RowRange litBefore = darken ? RowRange{} : m_lit;
    std::fill(m_shareLit.begin(), m_shareLit.end(), litBefore);
    m_runner.Run([&](int share, int shares) {
        if (darken)
            DarkenShare(share);
        const LineTarget target{m_light, m_width, m_height, m_bandOwner.data(), share, shares};
        RowRange& lit = m_shareLit[static_cast<std::size_t>(share)];
        lit = DrawLines(vertices, target, lit);
    });
    m_lit = {m_height, 0};
    for (const RowRange& range : m_shareLit) {
        if (range.top >= range.bottom)
            continue;
        m_lit.top = std::min(m_lit.top, range.top);
        m_lit.bottom = std::max(m_lit.bottom, range.bottom);
    }
    if (m_lit.top >= m_lit.bottom)
        m_lit = {};
}

void LineRaster::DarkenShare(int share)
{
    const std::size_t rowFloats = static_cast<std::size_t>(m_width) * 4;
    for (int row = m_darkened.top; row < m_darkened.bottom; ++row)
        if (m_bandOwner[static_cast<std::size_t>(row >> LineTarget::kBandShift)] == share)
            std::memset(m_light + static_cast<std::size_t>(row) * rowFloats, 0, rowFloats * sizeof(float));
}

} // namespace lumeno
