#pragma once
// Compiled effects shared by file name. The first request loads and compiles the file;
// later requests for the same name get the same effect; a count per entry decides when
// it is freed. Names are compared byte for byte, so letter case matters.

#include <memory>
#include <string>
#include <vector>

#include "platform/hresult.h"

namespace lumeno {

class GlDevice;
class GlEffect;

class CEffectCache {
public:
    explicit CEffectCache(GlDevice& device);
    ~CEffectCache();
    CEffectCache(const CEffectCache&) = delete;
    CEffectCache& operator=(const CEffectCache&) = delete;

    // S_OK with *effect set, or E_FAIL with *effect null. A compile log that is not
    // empty (warnings too) refuses the file and is shown in a plain box.
    [[nodiscard]] HRESULT Acquire(const std::string& name, GlEffect** effect);

    // Gives an effect back and nulls the caller's pointer; the last holder frees it.
    // A pointer the cache never handed out is only nulled.
    void Release(GlEffect** effect);

    std::size_t EntryCount() const { return m_entries.size(); }
    int ReferenceCount(const std::string& name) const; // 0 when absent

private:
    struct Entry {
        std::string name;
        std::unique_ptr<GlEffect> effect;
        int references;
    };

    GlDevice& m_device;
    std::vector<Entry> m_entries; // in the order they were added
};

} // namespace lumeno
