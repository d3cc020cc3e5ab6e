#pragma once
// The program reads and writes settings_v4.ar, screenshots/ and recordings/ relative to
// the working directory. Started in a folder that holds Engine/ (the source tree, a
// folder a person set up), it works there as it is. Started anywhere else (a menu, a file
// manager, a terminal in any folder), it moves into the user's Lumeno folder
// (platform/program_folders.h), made on first start, and says so on standard error; so
// nothing is ever written beside the installed program. Then it tells the engine which
// effect file to load (engine/effect_location.h).

namespace lumeno {

void EnterWorkingFolder();

} // namespace lumeno
