#include "engine/dx_error.h"

#include <string>

#include "platform/message_box.h"

namespace lumeno {
namespace {

struct Description {
    HRESULT result;
    const char* text;
};

constexpr Description kDescriptions[] = {
    {S_OK, "The function completed successfully"},
    {S_FALSE, "Call successful, but returned FALSE"},
    {E_FAIL, "An undetermined error occurred"},
    {E_OUTOFMEMORY, "Ran out of memory"},
    {E_INVALIDARG, "An invalid parameter was passed to the returning function"},
    {D3DERR_INVALIDCALL, "Invalid call"},
    {D3DERR_NOTAVAILABLE, "Not available"},
    {D3DERR_OUTOFVIDEOMEMORY, "Out of video memory"},
    {D3DERR_DEVICELOST, "Device lost"},
    // Why a file could not be written: the user's only clue to a failed screenshot.
    {HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), "The folder does not exist"},
    {E_ACCESSDENIED, "Access is denied"},
    {HRESULT_FROM_WIN32(ERROR_DISK_FULL), "There is not enough space on the disk"},
    {HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), "The file name is too long"},
    {HRESULT_FROM_WIN32(ERROR_WRITE_FAULT), "The disk reported an error while writing"},
    // Failures of our own OpenGL layer.
    {GLERR_NOCONTEXT, "No OpenGL context could be created or made current"},
    {GLERR_VERSION, "The OpenGL driver offers less than OpenGL 3.3 core"},
    {GLERR_UNEXPECTED, "The OpenGL driver reported an unexpected error"},
};

} // namespace

const char* DXGetErrorDescription(HRESULT result)
{
    for (const Description& row : kDescriptions) {
        if (row.result == result)
            return row.text;
    }
    return "n/a";
}

void ShowDxError(std::string_view message, HRESULT result)
{
    std::string text(message);
    text += "\n\nError Description:\n";
    text += DXGetErrorDescription(result);
    ShowMessageBox(text, kDxErrorTitle, MessageIcon::Warning);
}

} // namespace lumeno
