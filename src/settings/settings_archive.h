#pragma once
// Raw little-endian values with no padding or framing, in the order the records give
// them. A storing archive appends to a byte buffer; a loading archive reads from one
// and fails, for good, at the first value that runs past the end.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumeno {

class SettingsArchive {
public:
    static SettingsArchive ForStoring() { return SettingsArchive(); }
    static SettingsArchive ForLoading(std::span<const std::byte> bytes) { return SettingsArchive(bytes); }

    bool Failed() const { return m_failed; }
    const std::vector<std::byte>& Bytes() const { return m_stored; }

    // Stores the value or loads it in place. A failed load leaves the value as it was.
    void Transfer(std::int32_t& value);
    void Transfer(float& value);
    void Transfer(bool& value); // one byte: written as 0 or 1, any non-zero byte loads as true

private:
    SettingsArchive() : m_storing(true) {}
    explicit SettingsArchive(std::span<const std::byte> bytes) : m_storing(false), m_source(bytes) {}

    void Put(const std::byte* bytes, std::size_t count);
    bool Take(std::byte* bytes, std::size_t count);

    bool m_storing;
    bool m_failed = false;
    std::vector<std::byte> m_stored;
    std::span<const std::byte> m_source;
    std::size_t m_read = 0;
};

} // namespace lumeno
