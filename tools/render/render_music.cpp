#include "render_music.h"

#include "platform/audio_decoding.h"
#include "play/music_analysis.h"

namespace lumeno {

bool LoadRenderMusic(RenderOptions* options, std::vector<MusicFrame>* frames, std::string* error)
{
    std::vector<float> samples;
    if (!DecodeAudioFile(*options->audioPath, &samples, error))
        return false;
    const int framesPerSecond = FilmFramesPerSecond(*options);
    if (!options->framesGiven)
        options->frames = MusicFrameCount(samples.size(), kDecodedSampleRate, framesPerSecond);
    return AnalyseMusic(samples, kDecodedSampleRate, framesPerSecond, options->frames, frames, error);
}

} // namespace lumeno
