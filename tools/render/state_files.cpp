#include "state_files.h"

#include <cstdio>
#include <span>

#include "engine/render_engine.h"
#include "particles/particle_system.h"
#include "platform/atomic_file.h"
#include "platform/gl/gl_device.h"
#include "platform/image_file.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "write_failure.h"

namespace lumeno {
namespace {

// The canvas itself, as the program's screenshots keep it; the picture as the window
// shows it (.png) is the picture outputs' work.
bool WriteCanvas(const CRenderEngine& engine, const std::string& path, std::string* error)
{
    const GlSurface* surface = engine.GetParticleSystem()->GetCanvasSurface();
    GlImage image;
    if (!surface || FAILED(engine.GetGlDevice()->ReadSurface(*surface, &image))) {
        *error = "the canvas could not be read back for " + path;
        return false;
    }
    const FileWriteResult written =
        WriteImageFile(path, image, path.ends_with(".hdr") ? ImageFileFormat::Hdr : ImageFileFormat::Bmp);
    if (!written.ok) {
        *error = CannotWrite(path, written.error);
        return false;
    }
    std::fprintf(stderr, "lumeno-render: the picture is in %s\n", path.c_str());
    return true;
}

bool WriteBytes(const std::string& path, std::span<const std::byte> bytes, std::string* error)
{
    const FileWriteResult written = WriteFileAtomically(path, bytes);
    if (!written.ok)
        *error = CannotWrite(path, written.error);
    return written.ok;
}

} // namespace

bool WriteStateFiles(const RenderOptions& options, const CRenderEngine& engine, std::vector<std::string>* errors)
{
    std::string error;
    const auto keep = [&](bool written) {
        if (!written)
            errors->push_back(error);
    };
    if (options.outPath && !OutIsPng(options))
        keep(WriteCanvas(engine, *options.outPath, &error));
    if (options.dumpParticlesPath) {
        const CParticleSystem& system = *engine.GetParticleSystem();
        const std::span<const Particle> particles(system.Particles(), system.Particles() ? static_cast<std::size_t>(system.Count()) : 0);
        keep(WriteBytes(*options.dumpParticlesPath, std::as_bytes(particles), &error));
    }
    if (options.saveSettingsPath)
        keep(WriteBytes(*options.saveSettingsPath, EncodeSettings(CanvasSettingsRecord(), g_particleSettings), &error));
    return errors->empty();
}

} // namespace lumeno
