#pragma once
// Where the pictures of a render go, frame by frame: the film, the PNG sequence and the
// PNG still. The engine hands each frame's picture over through its tap; the picture is
// written after the frame, once the next particle step has been started.

#include <memory>
#include <string>

#include "platform/gl/gl_device.h"
#include "platform/video_encoder.h"
#include "render_options.h"

namespace lumeno {

class CRenderEngine;

class PictureOutputs {
public:
    explicit PictureOutputs(const RenderOptions& options) : m_options(options) {}
    ~PictureOutputs();
    PictureOutputs(const PictureOutputs&) = delete;
    PictureOutputs& operator=(const PictureOutputs&) = delete;

    // Starts the film and makes the sequence's folder, for pictures of the engine's
    // canvas size, and taps the engine's pictures. False with a sentence.
    [[nodiscard]] bool Open(CRenderEngine& engine, std::string* error);
    // After frame `frame` (from 1): its picture into the film and the sequence.
    [[nodiscard]] bool Write(int frame, std::string* error);
    // Ends the film and writes the still; says where each went. False with a sentence.
    [[nodiscard]] bool Finish(std::string* error);

private:
    [[nodiscard]] bool WritePng(const std::string& path, std::string* error) const;

    const RenderOptions& m_options;
    CRenderEngine* m_engine = nullptr;
    std::unique_ptr<VideoEncoder> m_film;
    GlImage m_picture;
    bool m_fresh = false; // a picture came for the frame being written
    int m_frames = 0;
};

} // namespace lumeno
