#pragma once
// Message boxes on QMessageBox: modal, owned by the window the caller names or by none,
// an OK button and the icon asked for, wide enough for the whole title; a box without a
// title gets the program's name.

#include <functional>

namespace lumeno {

// `aroundBox(true)` is called before each box shows and `aroundBox(false)` once it is closed.
void InstallQtMessageBoxes(std::function<void(bool open)> aroundBox = {});

} // namespace lumeno
