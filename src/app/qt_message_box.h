#pragma once
// Message boxes on QMessageBox: modal, owned by the window the caller names or by none,
// an OK button and the icon asked for, wide enough for the whole title; a box without a
// title gets the program's name.

namespace lumeno {

void InstallQtMessageBoxes();

} // namespace lumeno
