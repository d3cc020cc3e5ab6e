#pragma once

namespace lumeno {

// Mean of `count` draws of (rand mod 32767) / 32767: in [0, 32766/32767], a draw of
// 32767 folding to 0.
double RandomUnit(int count);

} // namespace lumeno
