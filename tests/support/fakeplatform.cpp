#include "support/fakeplatform.h"
#include "core.h"
#include "driver/gfxcore.h"

uint64_t FakePlatform::wallClock;
uint64_t FakePlatform::wallClockStep;
uint32_t FakePlatform::tickCount;
std::vector<RecordedBox> FakePlatform::boxes;
std::map<uint32_t, DriverOutcome> FakePlatform::drivers;
std::vector<uint32_t> FakePlatform::driverRequests;
std::set<int> FakePlatform::heldKeys;
std::set<int> FakePlatform::toggledKeys;
std::deque<int> FakePlatform::randoms;
SYSTEMTIME FakePlatform::localTime;
uint32_t FakePlatform::loadedDriver;

namespace {

uint64_t FakeWallClock() {
    const uint64_t now = FakePlatform::wallClock;
    FakePlatform::wallClock += FakePlatform::wallClockStep;
    return now;
}

uint32_t FakeTick() { return FakePlatform::tickCount; }
int16_t FakeKeyState(int virtualKey) {
    int16_t state = FakePlatform::toggledKeys.count(virtualKey) ? 1 : 0;
    if (FakePlatform::heldKeys.count(virtualKey)) state = static_cast<int16_t>(state | 0x8000);
    return state;
}

int FakeMessageBox(HWND owner, const char* text, const char* title, UINT type) {
    FakePlatform::boxes.push_back({owner, text, title, type});
    return IDOK;
}

void FakeExit(uint32_t code) { throw ProgramExit{code}; }
int FakeRandom() {
    if (FakePlatform::randoms.empty()) return 0;
    const int value = FakePlatform::randoms.front();
    FakePlatform::randoms.pop_front();
    return value;
}

void FakeStartDriver(uint32_t code, uint32_t) {
    FakePlatform::driverRequests.push_back(code);
    const auto found = FakePlatform::drivers.find(code);
    const DriverOutcome outcome =
        found == FakePlatform::drivers.end() ? DriverOutcome::Fails : found->second;
    switch (outcome) {
        case DriverOutcome::Starts: FakePlatform::loadedDriver = code; break;
        case DriverOutcome::Fails: FakePlatform::loadedDriver = DriverNull; break;
        case DriverOutcome::QueuesError:
            FakePlatform::loadedDriver = code;
            GFX_SetErrorSource("Device creation failed", "driver/test.cpp", 7);
            GFX_PushError();
            break;
        case DriverOutcome::AnswersOpenGL: FakePlatform::loadedDriver = DriverOpenGL; break;
    }
}

uint32_t FakeLoadedDriver() { return FakePlatform::loadedDriver; }
int16_t FakeToggleState(int virtualKey) {
    return FakePlatform::toggledKeys.count(virtualKey) ? 1 : 0;
}
void FakeLocalTime(SYSTEMTIME* time) { *time = FakePlatform::localTime; }

}  // namespace

FakePlatform::FakePlatform() {
    wallClock = 1'700'000'000'000ull;
    wallClockStep = 0;
    tickCount = 0;
    boxes.clear();
    drivers = {{DriverOpenGL, DriverOutcome::Starts}, {DriverDirectX, DriverOutcome::Starts}};
    driverRequests.clear();
    heldKeys.clear();
    toggledKeys.clear();
    randoms.clear();
    loadedDriver = DriverNull;
    localTime = SYSTEMTIME{2026, 3, 4, 5, 14, 3, 7, 400};
    platform = {FakeWallClock, FakeTick,        FakeKeyState,     FakeMessageBox,  FakeExit,
                FakeRandom,    FakeStartDriver, FakeLoadedDriver, FakeToggleState, FakeLocalTime};
    GFX_ClearErrors();
}

FakePlatform::~FakePlatform() {
    platform = realPlatform;
    GFX_ClearErrors();
}
