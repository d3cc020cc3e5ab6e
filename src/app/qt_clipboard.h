#pragma once
// The system clipboard, for the C key: the canvas as a picture other programs can paste.

#include "platform/clipboard.h"

namespace lumeno {

class QtClipboard final : public Clipboard {
public:
    bool SetImage(const std::vector<std::uint8_t>& rgba, int width, int height) override;
};

} // namespace lumeno
