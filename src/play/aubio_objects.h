#pragma once
// aubio's objects owned as unique pointers, each freed by its own delete function.

#include <aubio/aubio.h>
#include <memory>

namespace lumeno {

struct AubioDeleter {
    void operator()(aubio_onset_t* onset) const { del_aubio_onset(onset); }
    void operator()(aubio_tempo_t* tempo) const { del_aubio_tempo(tempo); }
    void operator()(fvec_t* vector) const { del_fvec(vector); }
};

using AubioOnset = std::unique_ptr<aubio_onset_t, AubioDeleter>;
using AubioTempo = std::unique_ptr<aubio_tempo_t, AubioDeleter>;
using AubioVector = std::unique_ptr<fvec_t, AubioDeleter>;

} // namespace lumeno
