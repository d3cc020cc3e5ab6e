#pragma once
// The help dialog (template 131): the keyboard shortcuts, the mouse buttons and a tip,
// in three static texts, the window's own keys in a fourth below them, and the folder the
// program works in (where the screenshots go) last. Modeless,
// hidden until shown; closing it (close box, Escape, Enter) only hides it.

#include <QDialog>

#include "settings/ui/dialog_template.h"

namespace lumeno {

extern const DialogTemplate kHelpTemplate;

// Ids of the texts, so tests can find them.
inline constexpr int kHelpKeysTextId = 1;
inline constexpr int kHelpMouseTextId = 2;
inline constexpr int kHelpTipTextId = 3;
inline constexpr int kHelpWindowKeysTextId = 4;
inline constexpr int kHelpFolderTextId = 5; // its caption, then the working folder

// A plain dialog built from kHelpTemplate, owned by `owner`, not shown.
QDialog* CreateHelpDialog(QWidget* owner);

} // namespace lumeno
