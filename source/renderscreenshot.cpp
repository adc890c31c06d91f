// Screenshots: the drawing area, or the game field alone, read back on the main thread and
// written as a PNG file under screenshots/ by a short-lived worker thread.
#include <shlwapi.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core.h"
#include "driver/gfxcore.h"
#include "render.h"
#include "windows/game/field.h"
#include "windows/game/padding.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD CreateExclusiveReadWrite = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;

bool StartWorkerThread(Render* render) {
    HANDLE thread = CreateThread(nullptr, 0, Render::ScreenshotThread, render, 0, nullptr);
    if (!thread) return false;
    // The previous worker has finished: the busy flag was clear.
    if (render->screenshotThread) CloseHandle(render->screenshotThread);
    render->screenshotThread = thread;
    return true;
}

// The part of `rect` that lies inside `area`; empty (w or h 0) when they do not meet.
WindowRect Intersect(const WindowRect& rect, const WindowRect& area) {
    const int64_t left = std::max<int64_t>(rect.x, area.x);
    const int64_t top = std::max<int64_t>(rect.y, area.y);
    const int64_t right = std::min(int64_t(rect.x) + rect.w, int64_t(area.x) + area.w);
    const int64_t bottom = std::min(int64_t(rect.y) + rect.h, int64_t(area.y) + area.h);
    if (right <= left || bottom <= top) return {0, 0, 0, 0};
    return {int32_t(left), int32_t(top), int32_t(right - left), int32_t(bottom - top)};
}

// What a screenshot captures: the whole drawing area, or with the "field" option in the game
// the game field: its viewport in widescreen mode, else its window. The windows' rectangles may
// reach past the drawing area (a cropped viewport), so the region is cut to it.
WindowRect ScreenshotRegion(Core* core) {
    const WindowRect area = {0, 0, int32_t(std::min<uint32_t>(core->clientWidth, INT32_MAX)),
                             int32_t(std::min<uint32_t>(core->clientHeight, INT32_MAX))};
    if (!core->options.field || !core->inGame || !core->fieldWindow) return area;
    auto* field = static_cast<Field*>(core->fieldWindow);
    const WindowRect region =
        core->options.widescreen && field->padding ? field->padding->fieldRect : field->GetRect();
    return Intersect(region, area);
}

// A buffer of width x height pixels, or null when the size is empty or cannot be held.
uint32_t* AllocatePixels(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return nullptr;
    const uint64_t count = uint64_t(width) * uint64_t(height);
    if (count > GfxMaxBlockBytes / 4) return nullptr;
    return static_cast<uint32_t*>(std::malloc(size_t(count) * 4));
}

// Encodes the pixels as one PNG frame through the stream; true when every step succeeded.
bool EncodePng(IWICBitmapEncoder* encoder, IStream* stream, const uint32_t* readBack, int32_t width,
               int32_t height) {
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, nullptr)))
        return false;
    // The encoder answers with the format it takes, which may not be the one asked for.
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppRGBA;
    if (FAILED(frame->Initialize(nullptr)) || FAILED(frame->SetPixelFormat(&format)) ||
        FAILED(frame->SetSize(UINT(width), UINT(height))))
        return false;
    const bool redFirst = IsEqualGUID(format, GUID_WICPixelFormat32bppRGBA);
    if (!redFirst && !IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) return false;

    uint32_t* rows = AllocatePixels(width, height);
    if (!rows) return false;
    ScreenshotRows(readBack, width, height, redFirst, rows);
    const UINT stride = UINT(width) * 4;
    const bool written = SUCCEEDED(frame->WritePixels(UINT(height), stride, stride * UINT(height),
                                                      reinterpret_cast<BYTE*>(rows))) &&
                         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) &&
                         SUCCEEDED(stream->Commit(STGC_DEFAULT));
    std::free(rows);
    return written;
}

// Writes the PNG file; a file left incomplete is deleted.
void SavePng(const std::string& fileName, const uint32_t* readBack, int32_t width, int32_t height) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)))
        return;
    IStream* stream = nullptr;
    if (FAILED(SHCreateStreamOnFileA(fileName.c_str(), CreateExclusiveReadWrite, &stream))) return;
    const bool written = EncodePng(encoder.Get(), stream, readBack, width, height);
    stream->Release();
    if (!written) DeleteFileA(fileName.c_str());
}

}  // namespace

bool (*startScreenshotWorker)(Render* render) = StartWorkerThread;

std::string ScreenshotFileName(const SYSTEMTIME& time) {
    char name[64];
    std::snprintf(name, sizeof name, "screenshots/%u-%02u-%02u-%02u%02u%02u.png",
                  unsigned(time.wYear), unsigned(time.wMonth), unsigned(time.wDay),
                  unsigned(time.wHour), unsigned(time.wMinute), unsigned(time.wSecond));
    return name;
}

void ScreenshotRows(const uint32_t* readBack, int32_t width, int32_t height, bool redFirst,
                    uint32_t* rows) {
    for (int32_t row = 0; row < height; ++row) {
        const uint32_t* in = readBack + size_t(height - 1 - row) * size_t(width);
        uint32_t* out = rows + size_t(row) * size_t(width);
        for (int32_t column = 0; column < width; ++column) {
            const uint32_t value = in[column];  // 0xAARRGGBB: bytes B, G, R, A
            out[column] = redFirst ? 0xFF000000 | (value & 0xFF00) | (value & 0xFF) << 16 |
                                         (value >> 16 & 0xFF)
                                   : value | 0xFF000000;
        }
    }
}

void Render::TakeScreenshot() {
    if (core->screenshotBusy) return;
    core->screenshotBusy = 1;
    const WindowRect region = ScreenshotRegion(core);
    screenshotPixels = AllocatePixels(region.w, region.h);
    if (!screenshotPixels) {
        core->screenshotBusy = 0;
        return;
    }
    screenshotWidth = region.w;
    screenshotHeight = region.h;
    GfxDriver::ReadScreen(region.x, region.y, region.w, region.h, screenshotPixels, region.w * 4);
    if (!startScreenshotWorker(this)) {
        std::free(screenshotPixels);
        screenshotPixels = nullptr;
        core->screenshotBusy = 0;
    }
}

DWORD WINAPI Render::ScreenshotThread(LPVOID render) {
    static_cast<Render*>(render)->WriteScreenshot();
    return 0;
}

void Render::WriteScreenshot() {
    const bool comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    CreateDirectoryA("screenshots", nullptr);  // an existing folder is fine
    SYSTEMTIME now;
    GetLocalTime(&now);
    SavePng(ScreenshotFileName(now), screenshotPixels, screenshotWidth, screenshotHeight);

    std::free(screenshotPixels);
    screenshotPixels = nullptr;
    // The pixels are let go of before the main thread can see the flag clear and read back anew.
    MemoryBarrier();
    core->screenshotBusy = 0;
    if (comStarted) CoUninitialize();
}
