// A message box drawn for real: the OpenGL driver in a window of its own on the test run's X
// display, the sample skin and fonts, the screen read back. The picture is also written to
// messagebox_opengl.bmp in the build folder, for a look by eye.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "render.h"
#include "support/drivertest.h"
#include "windows/toolkit/message.h"

namespace {

constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;
constexpr char SampleData[] = VELTOR_SAMPLE_DATA;

// The sample data folder's parent holds data/; the build folder holds the sample folder.
std::string SampleRoot() {
    const std::string data = SampleData;
    return data.substr(0, data.rfind('/'));
}

// Pixels 0xAARRGGBB read from the screen, rows top first.
struct Screenshot {
    std::vector<uint32_t> bottomUp;
    uint32_t at(int x, int y) const {
        return bottomUp[size_t(ScreenHeight - 1 - y) * ScreenWidth + x];
    }

    void SaveBitmap(const std::string& path) const {
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER info = {};
        info.biSize = sizeof info;
        info.biWidth = ScreenWidth;
        info.biHeight = ScreenHeight;  // bottom-up, as the read-back gives it
        info.biPlanes = 1;
        info.biBitCount = 32;
        const DWORD bytes = DWORD(bottomUp.size() * 4);
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + bytes;
        if (FILE* out = std::fopen(path.c_str(), "wb")) {
            std::fwrite(&file, sizeof file, 1, out);
            std::fwrite(&info, sizeof info, 1, out);
            std::fwrite(bottomUp.data(), bytes, 1, out);
            std::fclose(out);
        }
    }
};

uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFF; }
int Brightness(uint32_t pixel) {
    return int((pixel >> 16) & 0xFF) + int((pixel >> 8) & 0xFF) + int(pixel & 0xFF);
}

// Pixels of the block whose colour sum is at least `threshold`: glyph ink on the dark box.
int BrightPixels(const Screenshot& shot, int x0, int y0, int x1, int y1, int threshold) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) count += Brightness(shot.at(x, y)) >= threshold;
    return count;
}

class MessageBoxOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        savedMessageBox = gfxMessageBox;
        gfxMessageBox = [](const char* title, const char* text) {
            ADD_FAILURE() << "message box " << title << ": " << text;
        };
        GFX_Bind(window);
        GFX_Init(DriverOpenGL, 0, 'F');
        GFX_Configure(ScreenWidth, ScreenHeight, 0, 4);
        GFX_FlushConfig();
        GFX_KeepPresentedFrames(true);  // the test reads the screen back
        ASSERT_EQ(GfxDriver::GetDriverId(), DriverOpenGL)
            << "the OpenGL driver was refused on this machine";

        core = new Core(Core::Unstarted{});
        core->clientWidth = ScreenWidth;
        core->clientHeight = ScreenHeight;
        core->render = new Render(core);
        char previous[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, previous);
        ASSERT_TRUE(SetCurrentDirectoryA(SampleRoot().c_str())) << SampleRoot();
        core->render->LoadSkin();
        core->render->LoadFonts();
        SetCurrentDirectoryA(previous);
    }
    void TearDown() override {
        delete core;
        GFX_Unload();
        GFX_Bind(nullptr);
        GFX_ClearErrors();
        GFX_KeepPresentedFrames(false);
        gfxMessageBox = savedMessageBox;
        DestroyWindow(window);
    }

    HWND window = DriverTest::CreateTestWindow(ScreenWidth, ScreenHeight);
    Core* core = nullptr;
    void (*savedMessageBox)(const char*, const char*) = nullptr;
};

TEST_F(MessageBoxOnScreen, ShowsFrameTitleTextAndButtonsWhereTheyBelong) {
    auto* box = new Message(core, "Veltor",
                            "The connection to the server was lost.\n"
                            "Please try again in a moment.",
                            0);
    core->AddWindow(box);
    core->RenderFrame();
    ASSERT_EQ(GFX_ErrorCount(), 0);

    Screenshot shot;
    shot.bottomUp.resize(size_t(ScreenWidth) * ScreenHeight);
    GfxDriver::ReadScreen(0, 0, ScreenWidth, ScreenHeight, shot.bottomUp.data(), ScreenWidth * 4);
    shot.SaveBitmap(SampleRoot() + "/../messagebox_opengl.bmp");

    const int x = box->x, y = box->y, w = box->width, h = box->height;
    ASSERT_EQ(x, ScreenWidth / 2 - w / 2);
    ASSERT_EQ(y, ScreenHeight / 2 - h / 2);

    // The clear colour around the box and its shadow.
    EXPECT_EQ(Rgb(shot.at(2, 2)), 0u);
    EXPECT_EQ(Rgb(shot.at(x - 10, y + h / 2)), 0u);
    EXPECT_EQ(Rgb(shot.at(x + w / 2, y + h + 8)), 0u);
    // The shadow darkens nothing that is already black, and the box begins at its corner: the
    // frame's corner piece is the light edge of the skin.
    EXPECT_NE(Rgb(shot.at(x, y)), 0u);
    EXPECT_NE(Rgb(shot.at(x + w - 1, y + h - 1)), 0u);
    EXPECT_EQ(Rgb(shot.at(x - 1, y + 10)) & 0xFFFFFF, 0u);

    // The title band is darker than the body below it, at the same column.
    EXPECT_LT(Brightness(shot.at(x + 8, y + 10)), Brightness(shot.at(x + 8, y + 26)));
    // The title is centred in the band: ink around the middle, none near the edges.
    EXPECT_GT(BrightPixels(shot, x + w / 2 - 25, y + 5, x + w / 2 + 25, y + 18, 450), 10);
    EXPECT_EQ(BrightPixels(shot, x + 4, y + 5, x + 40, y + 18, 450), 0);
    // Both text lines stand in the sunken text box from (32, 51).
    EXPECT_GT(BrightPixels(shot, x + 32, y + 51, x + w - 32, y + 61, 450), 20);
    EXPECT_GT(BrightPixels(shot, x + 32, y + 63, x + w - 32, y + 75, 450), 20);
    EXPECT_EQ(BrightPixels(shot, x + 13, y + 40, x + 30, y + h - 40, 450), 0);

    // The "ok" button at (w - 66, h - 28) and the close button at (w - 21, 3) show the skin's
    // button face, the same colour in both.
    const uint32_t face = Rgb(shot.at(x + w - 66 + 4, y + h - 28 + 4));
    EXPECT_NE(face, 0u);
    EXPECT_EQ(Rgb(shot.at(x + w - 21 + 3, y + 3 + 3)), face);
    EXPECT_GT(BrightPixels(shot, x + w - 66 + 14, y + h - 28 + 2, x + w - 66 + 40, y + h - 28 + 13,
                           450),
              4);
}

}  // namespace
