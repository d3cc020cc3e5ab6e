#pragma once
// A window without a screen: a headless GL context and a client area of a chosen size,
// for rendering where there is no display.

#include <memory>
#include <string>

#include "platform/gl/gl_context.h"
#include "platform/render_window.h"

namespace lumeno {

class HeadlessWindow final : public RenderWindow {
public:
    // Null with a sentence in *error when no headless context can be made.
    static std::unique_ptr<HeadlessWindow> Create(int clientWidth, int clientHeight, std::string* error);

    GlContext* Context() override { return m_context.get(); }
    int ClientWidth() const override { return m_clientWidth; }
    int ClientHeight() const override { return m_clientHeight; }

private:
    HeadlessWindow(std::unique_ptr<GlContext> context, int width, int height)
        : m_context(std::move(context)), m_clientWidth(width), m_clientHeight(height)
    {
    }

    std::unique_ptr<GlContext> m_context;
    int m_clientWidth;
    int m_clientHeight;
};

} // namespace lumeno
