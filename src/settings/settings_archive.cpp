#include "settings/settings_archive.h"

#include <bit>
#include <cstring>
#include <limits>

namespace lumeno {
namespace {

static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559, "floats are stored as IEEE singles");

void ToLittleEndian(std::uint32_t value, std::byte* out)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::byte>(value >> (8 * i));
}

std::uint32_t FromLittleEndian(const std::byte* in)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::to_integer<std::uint32_t>(in[i]) << (8 * i);
    return value;
}

} // namespace

void SettingsArchive::Put(const std::byte* bytes, std::size_t count)
{
    m_stored.insert(m_stored.end(), bytes, bytes + count);
}

bool SettingsArchive::Take(std::byte* bytes, std::size_t count)
{
    if (m_failed || m_source.size() - m_read < count) {
        m_failed = true;
        return false;
    }
    std::memcpy(bytes, m_source.data() + m_read, count);
    m_read += count;
    return true;
}

void SettingsArchive::Transfer(std::int32_t& value)
{
    std::byte raw[4];
    if (m_storing) {
        ToLittleEndian(static_cast<std::uint32_t>(value), raw);
        Put(raw, 4);
    } else if (Take(raw, 4)) {
        value = static_cast<std::int32_t>(FromLittleEndian(raw));
    }
}

void SettingsArchive::Transfer(float& value)
{
    std::byte raw[4];
    if (m_storing) {
        ToLittleEndian(std::bit_cast<std::uint32_t>(value), raw);
        Put(raw, 4);
    } else if (Take(raw, 4)) {
        value = std::bit_cast<float>(FromLittleEndian(raw));
    }
}

void SettingsArchive::Transfer(bool& value)
{
    std::byte raw{value ? std::byte{1} : std::byte{0}};
    if (m_storing)
        Put(&raw, 1);
    else if (Take(&raw, 1))
        value = raw != std::byte{0};
}

} // namespace lumeno
