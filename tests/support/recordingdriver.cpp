#include "recordingdriver.h"

#include <cstdio>
#include <utility>

#include "driver/gfxcore.h"

namespace RecordingDriver {
namespace {

std::vector<std::string> calls;

std::string Format(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}
std::string Format(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}
std::string Format(int32_t value) { return std::to_string(value); }
std::string Format(GfxImage* image) {
    return image ? "img:" + std::to_string(image->user) : "null";
}
std::string Format(GfxRenderTarget* target) {
    return target ? "rt:" + std::to_string(target->user) : "null";
}
std::string Format(GfxOverlay* overlay) {
    return overlay ? "ov:" + std::to_string(overlay->user) : "null";
}
std::string Format(const void*) { return "ptr"; }

template <class... Args>
std::string FormatCall(const char* name, Args... args) {
    std::string line = name;
    line += '(';
    bool first = true;
    ((line += (first ? "" : ","), line += Format(args), first = false), ...);
    return line + ')';
}

// Logs a call of one slot, then forwards it to what the slot held before (the null driver).
template <const char* name, class Fn>
struct Logger;
template <const char* name, class Result, class... Args>
struct Logger<name, Result (*)(Args...)> {
    static inline Result (*next)(Args...) = nullptr;
    static Result Call(Args... args) {
        calls.push_back(FormatCall(name, args...));
        return next(args...);
    }
};

#define RECORD(slot)                                                \
    do {                                                            \
        static constexpr char name[] = #slot;                       \
        using SlotLogger = Logger<name, decltype(GfxDriver::slot)>; \
        SlotLogger::next = GfxDriver::slot;                         \
        GfxDriver::slot = SlotLogger::Call;                         \
    } while (0)
#define RECORD_SLOT(slot) RECORD(slot);

}  // namespace

void Install() {
    GFX_InstallNullDriver();
    calls.clear();
    GfxDriver::GetDriverId = [] { return Id; };
    RECORD(ReadScreen);
    GFX_DRAWING_SLOTS(RECORD_SLOT)
    RECORD(Unload);
    RECORD(ApplyConfig);
    RECORD(SetClip);
    RECORD(ReadTarget);
    RECORD(CheckTarget);
    RECORD(CreateTarget);
    RECORD(DeleteTarget);
    RECORD(BeginFrame);
    RECORD(EndFrame);
    RECORD(UpdateImage);
    RECORD(DeleteImage);
    RECORD(CreateOverlay);
    RECORD(SetOverlayRect);
    RECORD(UpdateOverlay);
    RECORD(ApplyOverlay);
    RECORD(DeleteOverlay);
}

std::vector<std::string> Take() { return std::exchange(calls, {}); }

}  // namespace RecordingDriver
