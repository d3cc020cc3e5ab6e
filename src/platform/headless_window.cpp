#include "platform/headless_window.h"

namespace lumeno {

std::unique_ptr<HeadlessWindow> HeadlessWindow::Create(int clientWidth, int clientHeight, std::string* error)
{
    std::unique_ptr<GlContext> context = CreateHeadlessContext(error);
    if (!context)
        return nullptr;
    return std::unique_ptr<HeadlessWindow>(new HeadlessWindow(std::move(context), clientWidth, clientHeight));
}

} // namespace lumeno
