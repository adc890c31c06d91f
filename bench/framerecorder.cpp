#include "framerecorder.h"

#include <algorithm>

#include "driver/gfxslots.h"

namespace FrameRecorder {

namespace {

using Bench::RecordedCall;
using Bench::RecordedTexture;

// Driver object of an image, target or overlay: its place in the texture list.
struct RecordedObject {
    int32_t index;
    int32_t textureWidth, textureHeight;
    float uMax, vMax;
    bool drawn;  // a target drawn since it was created
};

Bench::RecordedFrame frame;
int32_t boundTexture = -1;

int32_t AddTexture(RecordedTexture::Kind kind, int32_t width, int32_t height, uint32_t flags,
                   uint32_t clearColour, void*& driverObject) {
    const int32_t index = int32_t(frame.textures.size());
    const int32_t textureWidth = GFX_NextPowerOfTwo(width);
    const int32_t textureHeight = GFX_NextPowerOfTwo(height);
    frame.textures.push_back({kind, width, height, textureWidth, textureHeight, flags, clearColour,
                              uint32_t(frame.data.size())});
    driverObject = new RecordedObject{index,
                                      textureWidth,
                                      textureHeight,
                                      textureWidth ? float(width) / textureWidth : 0,
                                      textureHeight ? float(height) / textureHeight : 0,
                                      false};
    return index;
}

int32_t IndexOf(const void* driverObject) {
    return driverObject ? static_cast<const RecordedObject*>(driverObject)->index : -1;
}

RecordedCall Call(RecordedCall::Kind kind, int32_t texture = -1) {
    RecordedCall call = {};
    call.kind = kind;
    call.texture = texture;
    return call;
}

void AddPixels(RecordedCall& call, const uint8_t* pixels, int32_t width, int32_t height,
               int32_t stride) {
    call.width = width;
    call.height = height;
    call.pixels = uint32_t(frame.data.size());
    for (int32_t row = 0; row < height; ++row) {
        const auto* values = reinterpret_cast<const uint32_t*>(pixels + ptrdiff_t(row) * stride);
        frame.data.insert(frame.data.end(), values, values + width);
    }
}

struct RecordingPrimitives {
    using Target = RecordedObject;

    static const RecordedObject* BindImage(GfxImage* image) {
        if (!image->driverObject) {
            AddTexture(RecordedTexture::Image, image->width, image->height, image->flags, 0,
                       image->driverObject);
            frame.data.insert(frame.data.end(), image->pixels,
                              image->pixels + ptrdiff_t(image->width) * image->height);
        }
        boundTexture = IndexOf(image->driverObject);
        return static_cast<const RecordedObject*>(image->driverObject);
    }

    static void BindTarget(const RecordedObject* target, uint32_t) { boundTexture = target->index; }

    static void Quad(const GfxQuad& quad) {
        RecordedCall call = Call(RecordedCall::Quad, quad.textured ? boundTexture : -1);
        std::copy_n(quad.xs, 4, call.xs);
        std::copy_n(quad.ys, 4, call.ys);
        std::copy_n(quad.us, 4, call.us);
        std::copy_n(quad.vs, 4, call.vs);
        std::copy_n(quad.colours, 4, call.colours);
        frame.calls.push_back(call);
    }

    static void Line(float x0, float y0, float x1, float y1, uint32_t colour0, uint32_t colour1) {
        RecordedCall call = Call(RecordedCall::Line);
        call.xs[0] = x0;
        call.ys[0] = y0;
        call.xs[1] = x1;
        call.ys[1] = y1;
        call.colours[0] = colour0;
        call.colours[1] = colour1;
        frame.calls.push_back(call);
    }

    static void MinimumBlending(bool on) {
        RecordedCall call = Call(RecordedCall::MinimumBlending);
        call.colours[0] = on;
        frame.calls.push_back(call);
    }
};

template <class Record>
void DeleteObject(Record* record) {
    delete static_cast<RecordedObject*>(record->driverObject);
    record->driverObject = nullptr;
}

void Unload() {
    frame = {};
    boundTexture = -1;
}

void ApplyConfig(int32_t width, int32_t height, uint32_t clearColour, uint32_t) {
    frame.screenWidth = width;
    frame.screenHeight = height;
    frame.clearColour = clearColour;
}

void SetClip(float x0, float y0, float x1, float y1) {
    RecordedCall call = Call(RecordedCall::Clip);
    call.xs[0] = x0;
    call.ys[0] = y0;
    call.xs[1] = x1;
    call.ys[1] = y1;
    frame.calls.push_back(call);
}

void ReadTarget(GfxRenderTarget*, int32_t, int32_t, int32_t w, int32_t h, void* destination,
                int32_t stride) {
    for (int32_t row = 0; row < h; ++row) {
        std::fill_n(static_cast<uint8_t*>(destination) + ptrdiff_t(row) * stride, size_t(w) * 4, 0);
    }
}

bool CheckTarget(GfxRenderTarget* target) {
    const auto* object = static_cast<const RecordedObject*>(target->driverObject);
    return !object || !object->drawn;
}

void CreateTarget(GfxRenderTarget* target) {
    AddTexture(RecordedTexture::Target, target->width, target->height, target->flags,
               target->clearColour, target->driverObject);
}

void BeginFrame(GfxRenderTarget* target) {
    if (target) static_cast<RecordedObject*>(target->driverObject)->drawn = true;
    frame.calls.push_back(
        Call(RecordedCall::BeginFrame, target ? IndexOf(target->driverObject) : -1));
}

void EndFrame() { frame.calls.push_back(Call(RecordedCall::EndFrame)); }

void UpdateImage(GfxImage* image, int32_t x, int32_t y, int32_t w, int32_t h) {
    RecordedCall call = Call(RecordedCall::ImagePixels, IndexOf(image->driverObject));
    call.x = x;
    call.y = y;
    AddPixels(call,
              reinterpret_cast<const uint8_t*>(image->pixels + ptrdiff_t(y) * image->width + x), w,
              h, image->width * 4);
    frame.calls.push_back(call);
}

void CreateOverlay(GfxOverlay* overlay) {
    AddTexture(RecordedTexture::Overlay, 0, 0, 0, overlay->outsideColour, overlay->driverObject);
}

void SetOverlayRect(GfxOverlay* overlay, float x, float y, float w, float h) {
    RecordedCall call = Call(RecordedCall::OverlayRect, IndexOf(overlay->driverObject));
    call.xs[0] = x;
    call.ys[0] = y;
    call.xs[1] = w;
    call.ys[1] = h;
    frame.calls.push_back(call);
}

void UpdateOverlay(GfxOverlay* overlay, uint32_t outsideColour, int32_t width, int32_t height,
                   const void* pixels, int32_t stride) {
    RecordedCall call = Call(RecordedCall::OverlayPixels, IndexOf(overlay->driverObject));
    call.colours[0] = outsideColour;
    if (pixels && width > 0 && height > 0) {
        AddPixels(call, static_cast<const uint8_t*>(pixels), width, height, stride);
    }
    frame.calls.push_back(call);
}

void ApplyOverlay(GfxOverlay* overlay) {
    frame.calls.push_back(
        Call(RecordedCall::ApplyOverlay, overlay ? IndexOf(overlay->driverObject) : -1));
}

}  // namespace

void Install() {
    GFX_Unload();
    GfxDriver::GetDriverId = [] { return DriverNull; };
    GfxDriver::ReadScreen = [](int32_t, int32_t, int32_t w, int32_t h, void* destination,
                               int32_t stride) {
        ReadTarget(nullptr, 0, 0, w, h, destination, stride);
    };
    GfxDriver::Unload = Unload;
    GfxDriver::ApplyConfig = ApplyConfig;
    GfxDriver::SetClip = SetClip;
    GfxDriver::ReadTarget = ReadTarget;
    GfxDriver::CheckTarget = CheckTarget;
    GfxDriver::CreateTarget = CreateTarget;
    GfxDriver::DeleteTarget = DeleteObject<GfxRenderTarget>;
    GfxDriver::BeginFrame = BeginFrame;
    GfxDriver::EndFrame = EndFrame;
    GfxDriver::UpdateImage = UpdateImage;
    GfxDriver::DeleteImage = DeleteObject<GfxImage>;
    GfxDriver::CreateOverlay = CreateOverlay;
    GfxDriver::SetOverlayRect = SetOverlayRect;
    GfxDriver::UpdateOverlay = UpdateOverlay;
    GfxDriver::ApplyOverlay = ApplyOverlay;
    GfxDriver::DeleteOverlay = DeleteObject<GfxOverlay>;
    GFX_InstallPrimitiveSet(GFX_SlotSet<RecordingPrimitives>());
    ApplyConfig(gfxState.width, gfxState.height, gfxState.clearColour, gfxState.flags);
}

Bench::RecordedFrame Take() {
    Bench::RecordedFrame taken = frame;
    frame.calls.clear();
    return taken;
}

}  // namespace FrameRecorder
