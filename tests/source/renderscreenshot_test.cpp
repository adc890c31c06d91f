// Screenshots: file names, the pixel rows handed to the encoder, the captured region, the busy
// flag and the worker's failures through the worker seam; then real PNG files drawn by the OpenGL
// driver, decoded and checked pixel by pixel.
#include <gtest/gtest.h>

#include <wincodec.h>
#include <wrl/client.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "render.h"
#include "support/recordingdriver.h"
#include "support/startup.h"
#include "windows/game/field.h"
#include "windows/game/padding.h"

namespace {

using Microsoft::WRL::ComPtr;

SYSTEMTIME LocalTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

TEST(ScreenshotFileName, IsTheLocalTimeZeroPadded) {
    const struct {
        SYSTEMTIME time;
        const char* name;
    } cases[] = {
        {LocalTime(2027, 2, 3, 14, 5, 9), "screenshots/2027-02-03-140509.png"},
        {LocalTime(2026, 3, 1, 9, 7, 5), "screenshots/2026-03-01-090705.png"},
        {LocalTime(2025, 12, 31, 23, 59, 59), "screenshots/2025-12-31-235959.png"},
        {LocalTime(2030, 10, 10, 0, 0, 0), "screenshots/2030-10-10-000000.png"},
    };
    for (const auto& c : cases) EXPECT_EQ(ScreenshotFileName(c.time), c.name);
}

TEST(ScreenshotRows, TurnsTheReadBackUpsideDownOpaqueInTheEncodersOrder) {
    // Read back: bottom row first, 0xAARRGGBB; alpha as the drawing left it.
    const uint32_t readBack[] = {0x00112233, 0x80445566, 0x7F778899,
                                 0x00AABBCC, 0xFF010203, 0x12040506};
    uint32_t rows[6] = {};
    ScreenshotRows(readBack, 2, 3, false, rows);
    EXPECT_EQ(std::vector<uint32_t>(rows, rows + 6),
              (std::vector<uint32_t>{0xFF010203, 0xFF040506, 0xFF778899, 0xFFAABBCC, 0xFF112233,
                                     0xFF445566}));
    ScreenshotRows(readBack, 2, 3, true, rows);  // bytes R, G, B, A
    EXPECT_EQ(std::vector<uint32_t>(rows, rows + 6),
              (std::vector<uint32_t>{0xFF030201, 0xFF060504, 0xFF998877, 0xFFCCBBAA, 0xFF332211,
                                     0xFF665544}));
}

// --- Decoding the written files -------------------------------------------------------------

struct Png {
    int width = 0, height = 0;
    uint8_t bitDepth = 0, colourType = 0;  // as the file's header says
    std::vector<uint32_t> pixels;          // 0xAARRGGBB, rows top first
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Reads the header from the file's bytes and the pixels through the system's PNG decoder.
Png ReadPng(const std::string& path) {
    Png png;
    unsigned char header[26] = {};
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return png;
    const size_t read = fread(header, 1, sizeof header, file);
    fclose(file);
    if (read != sizeof header || std::memcmp(header, "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16))
        return png;
    png.bitDepth = header[24];
    png.colourType = header[25];

    const bool comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICBitmapSource> converted;
        const std::wstring widePath(path.begin(), path.end());
        UINT width = 0, height = 0;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_PPV_ARGS(&factory))) &&
            SUCCEEDED(factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ,
                                                         WICDecodeMetadataCacheOnDemand,
                                                         &decoder)) &&
            SUCCEEDED(decoder->GetFrame(0, &frame)) &&
            SUCCEEDED(
                WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), &converted)) &&
            SUCCEEDED(converted->GetSize(&width, &height))) {
            std::vector<uint32_t> pixels(size_t(width) * height);
            if (SUCCEEDED(converted->CopyPixels(nullptr, width * 4, UINT(pixels.size() * 4),
                                                reinterpret_cast<BYTE*>(pixels.data())))) {
                png.width = int(width);
                png.height = int(height);
                png.pixels = std::move(pixels);
            }
        }
    }
    if (comStarted) CoUninitialize();
    return png;
}

// The files of the screenshots folder.
std::vector<std::string> Screenshots() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("screenshots", error))
        names.push_back(entry.path().filename().string());
    return names;
}

// The one screenshot written so far, decoded.
Png OnlyScreenshot() {
    const std::vector<std::string> names = Screenshots();
    EXPECT_EQ(names.size(), 1u);
    if (names.size() != 1) return {};
    EXPECT_TRUE(std::regex_match(names[0], std::regex(R"(\d{4}-\d\d-\d\d-\d{6}\.png)")))
        << names[0];
    return ReadPng("screenshots/" + names[0]);
}

std::string Hex(uint32_t value) {
    char text[16];
    snprintf(text, sizeof text, "%08X", unsigned(value));
    return text;
}

// Every pixel of (x0, y0)..(x1, y1) is `colour`, each byte within `tolerance`.
::testing::AssertionResult BlockIs(const Png& png, int x0, int y0, int x1, int y1, uint32_t colour,
                                   int tolerance = 0) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const uint32_t got = png.at(x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                if (std::abs(int(got >> shift & 0xFF) - int(colour >> shift & 0xFF)) > tolerance)
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << ", " << y << ") is " << Hex(got) << ", expected "
                           << Hex(colour);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// --- Region, busy flag and worker, with the worker run by the test --------------------------

class Screenshot : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        RecordingDriver::Install();
        render = core->render;
        core->clientWidth = 800;
        core->clientHeight = 600;
        starts = 0;
        startSucceeds = true;
        startScreenshotWorker = [](Render*) {
            ++starts;
            return startSucceeds;
        };
    }
    void TearDown() override {
        startScreenshotWorker = realStart;
        if (core) {
            core->fieldWindow = nullptr;
            core->inGame = 0;
            if (field) core->RemoveWindow(field);
        }
        delete padding;
        GFX_Unload();
        StartedCore::TearDown();
    }

    // A game field in a frame, as the game screen makes them.
    void EnterGameWithField(WindowRect fieldRect, WindowRect viewport) {
        padding = new Padding(core, nullptr);
        padding->fieldRect = viewport;
        field = padding->field;
        field->x = fieldRect.x;
        field->y = fieldRect.y;
        field->width = fieldRect.w;
        field->height = fieldRect.h;
        core->fieldWindow = field;
        core->inGame = 1;
    }

    // What the worker leaves when it is done, without writing anything.
    void DiscardScreenshot() {
        std::free(render->screenshotPixels);
        render->screenshotPixels = nullptr;
        core->screenshotBusy = 0;
    }

    static inline int starts = 0;
    static inline bool startSucceeds = true;
    bool (*const realStart)(Render*) = startScreenshotWorker;
    Render* render = nullptr;
    Padding* padding = nullptr;
    Field* field = nullptr;
};

TEST_F(Screenshot, CapturesTheDrawingAreaOrTheGameFieldCutToIt) {
    const WindowRect fieldRect = {158, 6, 484, 380};
    const WindowRect viewport = {0, -60, 800, 720};
    const struct {
        uint8_t field, inGame, widescreen;
        WindowRect fieldRect, viewport;
        const char* read;  // the read-back, null when none
    } cases[] = {
        {0, 1, 0, fieldRect, viewport, "ReadScreen(0,0,800,600,ptr,3200)"},
        {1, 0, 1, fieldRect, viewport, "ReadScreen(0,0,800,600,ptr,3200)"},
        {1, 1, 0, fieldRect, viewport, "ReadScreen(158,6,484,380,ptr,1936)"},
        {1, 1, 1, fieldRect, viewport, "ReadScreen(0,0,800,600,ptr,3200)"},
        {1, 1, 1, fieldRect, {-100, 0, 1000, 600}, "ReadScreen(0,0,800,600,ptr,3200)"},
        {1, 1, 0, {700, 500, 200, 200}, viewport, "ReadScreen(700,500,100,100,ptr,400)"},
        {1, 1, 0, {0, 0, INT32_MAX, INT32_MAX}, viewport, "ReadScreen(0,0,800,600,ptr,3200)"},
        {1, 1, 0, {900, 0, 50, 50}, viewport, nullptr},
        {1, 1, 0, {10, 10, -5, 20}, viewport, nullptr},
        {1, 1, 0, {10, 10, 0, 0}, viewport, nullptr},
        {1, 1, 1, fieldRect, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "field " << int(c.field) << ", in game " << int(c.inGame) << ", widescreen "
                     << int(c.widescreen) << ", field " << c.fieldRect.x << "," << c.fieldRect.y
                     << "," << c.fieldRect.w << "," << c.fieldRect.h);
        EnterGameWithField(c.fieldRect, c.viewport);
        core->inGame = c.inGame;
        core->options.field = c.field;
        core->options.widescreen = c.widescreen;
        RecordingDriver::Take();
        starts = 0;

        render->TakeScreenshot();
        if (c.read) {
            EXPECT_EQ(RecordingDriver::Take(), std::vector<std::string>{c.read});
            EXPECT_EQ(starts, 1);
            EXPECT_EQ(core->screenshotBusy, 1);
            EXPECT_NE(render->screenshotPixels, nullptr);
        } else {
            EXPECT_EQ(RecordingDriver::Take(), std::vector<std::string>{});
            EXPECT_EQ(starts, 0);
            EXPECT_EQ(core->screenshotBusy, 0);
            EXPECT_EQ(render->screenshotPixels, nullptr);
        }
        DiscardScreenshot();
        core->fieldWindow = nullptr;
        core->RemoveWindow(field);
        delete padding;
        field = nullptr;
        padding = nullptr;
    }
}

TEST_F(Screenshot, OneAtATimeUntilTheWorkerIsDone) {
    render->TakeScreenshot();
    ASSERT_EQ(starts, 1);
    ASSERT_EQ(core->screenshotBusy, 1);
    uint32_t* const pixels = render->screenshotPixels;
    RecordingDriver::Take();

    render->TakeScreenshot();  // still being written: nothing happens
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(render->screenshotPixels, pixels);
    EXPECT_EQ(RecordingDriver::Take(), std::vector<std::string>{});

    render->WriteScreenshot();  // the worker's part, here on the test's thread
    EXPECT_EQ(core->screenshotBusy, 0);
    EXPECT_EQ(render->screenshotPixels, nullptr);
    const Png png = OnlyScreenshot();  // the folder was made for it
    EXPECT_EQ(png.width, 800);
    EXPECT_EQ(png.height, 600);
    EXPECT_TRUE(BlockIs(png, 0, 0, 800, 600, 0xFF000000));  // the null driver reads zeros

    render->TakeScreenshot();
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(core->screenshotBusy, 1);
    DiscardScreenshot();
}

TEST_F(Screenshot, AWorkerThatCannotStartLeavesNothingBusy) {
    startSucceeds = false;
    render->TakeScreenshot();
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(core->screenshotBusy, 0);
    EXPECT_EQ(render->screenshotPixels, nullptr);
    startSucceeds = true;
    render->TakeScreenshot();
    EXPECT_EQ(starts, 2);
    DiscardScreenshot();
}

TEST_F(Screenshot, AnUnwritableFolderGivesNoFileAndNoMessage) {
    FILE* blocker = fopen("screenshots", "wb");  // a file where the folder would be
    ASSERT_NE(blocker, nullptr);
    fclose(blocker);
    const size_t windows = core->windows.size();
    render->TakeScreenshot();
    render->WriteScreenshot();
    EXPECT_EQ(core->screenshotBusy, 0);
    EXPECT_EQ(render->screenshotPixels, nullptr);
    EXPECT_TRUE(std::filesystem::is_regular_file("screenshots"));
    EXPECT_EQ(std::filesystem::file_size("screenshots"), 0u);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(core->windows.size(), windows);  // no message window either
}

TEST_F(Screenshot, QuittingWaitsForTheFileBeingWritten) {
    startScreenshotWorker = realStart;
    core->clientWidth = 64;
    core->clientHeight = 48;
    render->TakeScreenshot();
    delete core;
    core = nullptr;
    const Png png = OnlyScreenshot();
    EXPECT_EQ(png.width, 64);
    EXPECT_EQ(png.height, 48);
}

// --- Real frames of the OpenGL driver --------------------------------------------------------

constexpr uint32_t Red = 0xFFFF0000;
constexpr uint32_t Green = 0xFF00FF00;
constexpr uint32_t Blue = 0xFF0000FF;
constexpr uint32_t OpaqueBlack = 0xFF000000;
constexpr uint32_t HalfWhite = 0x80FFFFFF;
constexpr uint32_t GreyOverBlack = 0xFF808080;

class ScreenshotOpenGl : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        gfxMessageBox = [](const char* title, const char* text) {
            ADD_FAILURE() << "message box " << title << ": " << text;
        };
        ShowWindow(core->hwnd, SW_SHOWNORMAL);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        width = int32_t(core->clientWidth);
        height = int32_t(core->clientHeight);
        ASSERT_GE(width, 200);
        ASSERT_GE(height, 200);
        // The client's configuration: its size and clear colour 0 (transparent black).
        GFX_Init(DriverOpenGL, 0, 'F');
        GFX_Configure(width, height, 0, 4);
        GFX_FlushConfig();
        GFX_KeepPresentedFrames(true);  // as while a screenshot is armed
        ASSERT_EQ(GfxDriver::GetDriverId(), DriverOpenGL)
            << "the OpenGL driver was refused on this machine";
    }
    void TearDown() override {
        core->fieldWindow = nullptr;
        core->inGame = 0;
        if (field) core->RemoveWindow(field);
        delete padding;
        EXPECT_EQ(GFX_ErrorCount(), 0);
        GFX_Unload();
        GFX_KeepPresentedFrames(false);
        StartedCore::TearDown();
    }

    // Red, green and blue quarters, the bottom-right one left cleared, and a half-white square
    // over the cleared part.
    void DrawQuarters() {
        Render* render = core->render;
        GFX_BeginFrame(nullptr);
        render->FillRect(0, 0, width / 2, height / 2, Red);
        render->FillRect(width / 2, 0, width - width / 2, height / 2, Green);
        render->FillRect(0, height / 2, width / 2, height - height / 2, Blue);
        render->FillRect(width / 2 + 10, height / 2 + 10, 20, 20, HalfWhite);
        GFX_EndFrame();
    }

    void TakeAndWait() {
        core->render->TakeScreenshot();
        ASSERT_NE(core->render->screenshotThread, nullptr);
        ASSERT_EQ(WaitForSingleObject(core->render->screenshotThread, 20000), WAIT_OBJECT_0);
        EXPECT_EQ(core->screenshotBusy, 0);
        EXPECT_EQ(core->render->screenshotPixels, nullptr);
    }

    int32_t width = 0, height = 0;
    Padding* padding = nullptr;
    Field* field = nullptr;
};

TEST_F(ScreenshotOpenGl, TheFileShowsTheDrawnFrameOpaque) {
    DrawQuarters();
    TakeAndWait();
    const Png png = OnlyScreenshot();
    ASSERT_EQ(png.width, width);
    ASSERT_EQ(png.height, height);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colourType, 6);  // RGBA
    const int cx = width / 2, cy = height / 2;
    EXPECT_TRUE(BlockIs(png, 0, 0, cx, cy, Red));
    EXPECT_TRUE(BlockIs(png, cx, 0, width, cy, Green));
    EXPECT_TRUE(BlockIs(png, 0, cy, cx, height, Blue));
    EXPECT_TRUE(BlockIs(png, cx, cy, cx + 10, height, OpaqueBlack));  // cleared to alpha 0
    EXPECT_TRUE(BlockIs(png, cx + 10, cy + 10, cx + 30, cy + 30, GreyOverBlack, 1));
    EXPECT_TRUE(BlockIs(png, cx + 30, cy, width, height, OpaqueBlack));
}

TEST_F(ScreenshotOpenGl, TheGameFieldAloneWithItsFieldOption) {
    padding = new Padding(core, nullptr);
    field = padding->field;
    field->x = width / 2 - 20;
    field->y = height / 2 - 10;
    field->width = 40;
    field->height = 30;
    core->fieldWindow = field;
    core->inGame = 1;
    core->options.field = 1;
    core->options.widescreen = 0;

    DrawQuarters();
    TakeAndWait();
    const Png png = OnlyScreenshot();
    ASSERT_EQ(png.width, 40);
    ASSERT_EQ(png.height, 30);
    EXPECT_TRUE(BlockIs(png, 0, 0, 20, 10, Red));
    EXPECT_TRUE(BlockIs(png, 20, 0, 40, 10, Green));
    EXPECT_TRUE(BlockIs(png, 0, 10, 20, 30, Blue));
    EXPECT_TRUE(BlockIs(png, 20, 10, 30, 30, OpaqueBlack));
    EXPECT_TRUE(BlockIs(png, 30, 10, 40, 20, OpaqueBlack));
    EXPECT_TRUE(BlockIs(png, 30, 20, 40, 30, GreyOverBlack, 1));
}

}  // namespace
