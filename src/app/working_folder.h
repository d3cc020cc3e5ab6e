#pragma once
// The program reads Engine/Shaders/Lumeno.fx, and reads and writes settings_v4.ar and
// screenshots/, relative to the working directory. Started from elsewhere than a folder
// holding Engine/ (a desktop launcher, the build folder), it moves into the source tree
// it was built from, where Engine/ is, and says so on standard error.

namespace lumeno {

void EnterEffectFolder();

} // namespace lumeno
