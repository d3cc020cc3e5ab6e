#include "engine/effect_cache.h"

#include "platform/gl/gl_effect.h"
#include "platform/message_box.h"

namespace lumeno {

CEffectCache::CEffectCache(GlDevice& device) : m_device(device) {}

// Every holder gives its effect back before the cache goes; an effect still held
// then would be freed here rather than leak.
CEffectCache::~CEffectCache() = default;

HRESULT CEffectCache::Acquire(const std::string& name, GlEffect** effect)
{
    if (!effect)
        return E_FAIL;
    *effect = nullptr;

    for (Entry& entry : m_entries) {
        if (entry.name == name) {
            ++entry.references;
            *effect = entry.effect.get();
            return S_OK;
        }
    }

    std::unique_ptr<GlEffect> loaded;
    std::string log;
    const HRESULT hr = CreateEffectFromFile(m_device, name, &loaded, &log);
    if (FAILED(hr) || !log.empty() || !loaded) {
        // Warnings are refused like errors: an effect that compiles with them is dropped.
        if (!log.empty())
            ShowMessageBox(log, {}, MessageIcon::None);
        return E_FAIL;
    }

    *effect = loaded.get();
    m_entries.push_back(Entry{name, std::move(loaded), 1});
    return S_OK;
}

void CEffectCache::Release(GlEffect** effect)
{
    if (!effect || !*effect)
        return;
    for (std::size_t i = 0; i < m_entries.size();) {
        if (m_entries[i].effect.get() == *effect && --m_entries[i].references == 0) {
            m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
    *effect = nullptr;
}

int CEffectCache::ReferenceCount(const std::string& name) const
{
    for (const Entry& entry : m_entries) {
        if (entry.name == name)
            return entry.references;
    }
    return 0;
}

} // namespace lumeno
