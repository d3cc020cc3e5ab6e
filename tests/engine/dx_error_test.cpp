#include <gtest/gtest.h>

#include "engine/dx_error.h"
#include "support/message_box_recorder.h"

namespace lumeno {
namespace {

TEST(DxError, DescriptionsOfTheCodesTheProgramRaises)
{
    EXPECT_STREQ(DXGetErrorDescription(E_FAIL), "An undetermined error occurred");
    EXPECT_STREQ(DXGetErrorDescription(E_OUTOFMEMORY), "Ran out of memory");
    EXPECT_STREQ(DXGetErrorDescription(E_INVALIDARG), "An invalid parameter was passed to the returning function");
    EXPECT_STREQ(DXGetErrorDescription(D3DERR_INVALIDCALL), "Invalid call");
    EXPECT_STREQ(DXGetErrorDescription(D3DERR_NOTAVAILABLE), "Not available");
    EXPECT_STREQ(DXGetErrorDescription(D3DERR_OUTOFVIDEOMEMORY), "Out of video memory");
    EXPECT_STREQ(DXGetErrorDescription(D3DERR_DEVICELOST), "Device lost");
    EXPECT_STREQ(DXGetErrorDescription(GLERR_VERSION), "The OpenGL driver offers less than OpenGL 3.3 core");
    // Why a file could not be written, under the codes Windows gives the same causes.
    EXPECT_STREQ(DXGetErrorDescription(static_cast<HRESULT>(0x80070003u)), "The folder does not exist");
    EXPECT_STREQ(DXGetErrorDescription(static_cast<HRESULT>(0x80070005u)), "Access is denied");
    EXPECT_STREQ(DXGetErrorDescription(static_cast<HRESULT>(0x80070070u)), "There is not enough space on the disk");
    EXPECT_STREQ(DXGetErrorDescription(static_cast<HRESULT>(0x800700CEu)), "The file name is too long");
    EXPECT_STREQ(DXGetErrorDescription(static_cast<HRESULT>(0x8007001Du)), "The disk reported an error while writing");
    EXPECT_STREQ(DXGetErrorDescription(static_cast<HRESULT>(0x80001234u)), "n/a");
}

TEST(DxError, BoxAppendsTheDescriptionUnderItsLabel)
{
    test::MessageBoxRecorder boxes;
    ShowDxError("Error save picture!", E_FAIL);
    ShowDxError("x", 0x1234);
    EXPECT_EQ(boxes.Shown(),
              (std::vector<test::ShownBox>{
                  {"Error save picture!\n\nError Description:\nAn undetermined error occurred", "DXErrorInfo:",
                   MessageIcon::Warning},
                  {"x\n\nError Description:\nn/a", "DXErrorInfo:", MessageIcon::Warning}}));
}

} // namespace
} // namespace lumeno
