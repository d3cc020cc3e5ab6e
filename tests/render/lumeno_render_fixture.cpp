#include "lumeno_render_fixture.h"

#include <cstdio>
#include <fstream>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stb_image.h>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"

namespace lumeno::test {
namespace {

int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

} // namespace

void LumenoRender::SetUp()
{
    std::filesystem::create_directory_symlink(std::filesystem::path(LUMENO_SOURCE_DIR) / "Engine",
                                              m_folder.Path() / "Engine");
}

Result LumenoRender::Run(const std::string& arguments, const std::string& environment) const
{
    const std::string command =
        "cd '" + m_folder.Path().string() + "' && " + environment + " '" LUMENO_RENDER "' " + arguments + " 2>&1";
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        result.output += buffer;
    result.status = pipe ? ExitStatus(::pclose(pipe)) : -1;
    return result;
}

Result LumenoRender::RunOnTerminal(const std::string& arguments) const
{
    const std::string command = "cd '" + m_folder.Path().string() + "' && '" LUMENO_RENDER "' " + arguments;
    Result result;
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (child < 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return result;
    }
    char buffer[512];
    // The read ends with EIO once the child has closed the terminal.
    for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, static_cast<std::size_t>(got));
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.status = ExitStatus(status);
    return result;
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
