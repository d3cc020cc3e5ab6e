#pragma once
// Message boxes on QMessageBox: modal, with no owner window, an OK button and the icon
// asked for; a box without a title gets the program's name.

namespace lumeno {

void InstallQtMessageBoxes();

} // namespace lumeno
