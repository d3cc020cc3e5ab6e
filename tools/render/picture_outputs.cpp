#include "picture_outputs.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/render_engine.h"
#include "platform/png_file.h"
#include "write_failure.h"

namespace lumeno {
namespace {

std::string SequenceFrameName(int frame)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", frame);
    return name;
}

} // namespace

PictureOutputs::~PictureOutputs()
{
    if (m_engine)
        m_engine->SetPictureTap({});
}

bool PictureOutputs::Open(CRenderEngine& engine, std::string* error)
{
    if (!WantsPictures(m_options))
        return true;
    if (m_options.framesOutPath) {
        std::error_code failure;
        std::filesystem::create_directories(*m_options.framesOutPath, failure);
        if (failure) {
            *error = "cannot make the folder " + *m_options.framesOutPath + ": " + failure.message();
            return false;
        }
    }
    if (m_options.videoPath) {
        FilmRequest film{*m_options.videoPath, *FilmFormatForPath(*m_options.videoPath), engine.CanvasWidth(),
                         engine.CanvasHeight(), FilmFramesPerSecond(m_options)};
        if (m_options.audioPath) {
            film.audioPath = *m_options.audioPath;
            film.frames = m_options.frames;
            if (film.format == FilmFormat::Gif)
                std::fprintf(stderr, "lumeno-render: warning: a GIF holds no sound: %s is silent; the music "
                                     "still plays its pictures\n", film.path.c_str());
        }
        m_film = VideoEncoder::Start(film, error);
        if (!m_film)
            return false;
    }
    m_engine = &engine;
    engine.SetPictureTap([this](GlImage&& picture) {
        m_picture = std::move(picture);
        m_fresh = true;
    });
    return true;
}

bool PictureOutputs::Write(int frame, std::string* error)
{
    if (!m_engine)
        return true;
    if (!m_fresh) {
        *error = "the picture of frame " + std::to_string(frame) + " could not be read back";
        return false;
    }
    m_fresh = false;
    m_frames = frame;
    if (m_film && !m_film->WriteFrame(m_picture.bytes, error))
        return false;
    if (m_options.framesOutPath)
        return WritePng((std::filesystem::path(*m_options.framesOutPath) / SequenceFrameName(frame)).string(), error);
    return true;
}

bool PictureOutputs::Finish(std::string* error)
{
    if (m_film) {
        if (!m_film->Finish(error))
            return false;
        std::fprintf(stderr, "lumeno-render: the film is in %s (%d frames at %d a second)\n",
                     m_options.videoPath->c_str(), m_film->FramesWritten(), FilmFramesPerSecond(m_options));
    }
    if (m_options.framesOutPath)
        std::fprintf(stderr, "lumeno-render: %d frames are in %s\n", m_frames, m_options.framesOutPath->c_str());
    if (OutIsPng(m_options)) {
        if (!WritePng(*m_options.outPath, error))
            return false;
        std::fprintf(stderr, "lumeno-render: the picture is in %s\n", m_options.outPath->c_str());
    }
    return true;
}

bool PictureOutputs::WritePng(const std::string& path, std::string* error) const
{
    const FileWriteResult written = SavePngFile(path, m_picture.width, m_picture.height, m_picture.bytes);
    if (!written.ok)
        *error = CannotWrite(path, written.error);
    return written.ok;
}

} // namespace lumeno
