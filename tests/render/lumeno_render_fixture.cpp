#include "lumeno_render_fixture.h"

#include <fstream>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stb_image.h>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"

namespace lumeno::test {

Result Shell(const std::string& command, bool terminal)
{
    Result result;
    int ends[2] = {-1, -1}, out = -1;
    if (!terminal && ::pipe(ends) != 0) {
        ADD_FAILURE() << "no pipe";
        return result;
    }
    const pid_t child = terminal ? ::forkpty(&out, nullptr, nullptr, nullptr) : ::fork();
    if (child == 0) {
        if (!terminal) {
            ::dup2(ends[1], 1);
            ::dup2(ends[1], 2);
            ::close(ends[0]);
            ::close(ends[1]);
        }
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (!terminal) {
        out = ends[0];
        ::close(ends[1]);
    }
    if (child < 0) {
        ADD_FAILURE() << "no process for " << command;
        return result;
    }
    char buffer[512];
    // From a terminal the read ends with EIO once the child has closed it.
    for (ssize_t got; (got = ::read(out, buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, static_cast<std::size_t>(got));
    ::close(out);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

Result LumenoRender::Run(const std::string& arguments, const std::string& environment, bool terminal) const
{
    return Shell("cd '" + m_folder.Path().string() + "' && " + environment + " '" LUMENO_RENDER "' " + arguments,
                 terminal);
}

Picture LumenoRender::LoadPicture(const std::string& name) const
{
    Picture picture;
    int channels = 0;
    stbi_uc* pixels = stbi_load(m_folder.File(name.c_str()).c_str(), &picture.width, &picture.height, &channels, 3);
    if (!pixels) {
        ADD_FAILURE() << "cannot read " << name;
        return {};
    }
    picture.rgb.assign(pixels, pixels + static_cast<std::size_t>(picture.width) * picture.height * 3);
    stbi_image_free(pixels);
    return picture;
}

std::set<std::string> LumenoRender::Entries() const
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
        if (entry.path().filename() != "Engine")
            names.insert(entry.path().filename().string());
    }
    return names;
}

void LumenoRender::WriteScene(const std::string& name, int width, int height, int particles, float exposure) const
{
    CanvasSettings canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.format = kFormatRGBA32F;
    canvas.particleCount = particles;
    canvas.multiThreaded = false;
    ParticleSettings particleSettings;
    particleSettings.exp = exposure;
    const std::vector<std::byte> bytes = EncodeSettings(canvas, particleSettings);
    std::ofstream(m_folder.File(name.c_str()), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace lumeno::test
