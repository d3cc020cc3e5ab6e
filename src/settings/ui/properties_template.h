#pragma once
// Template 130, the properties dialog.

#include "settings/ui/dialog_template.h"

namespace lumeno {

extern const DialogTemplate kPropertiesTemplate;

} // namespace lumeno
