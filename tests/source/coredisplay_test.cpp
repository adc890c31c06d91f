#include <gtest/gtest.h>

#include "core.h"
#include "driver/gfxcore.h"
#include "support/startup.h"
#include "windows/toolkit/windowtypes.h"

namespace {

struct DriverSwitch {
    const char* name;
    uint32_t previous;
    uint32_t requested;
    std::map<uint32_t, DriverOutcome> drivers;
    std::vector<uint32_t> attempts;
    uint32_t result;
};

class ReinitDriver : public StartedCore, public ::testing::WithParamInterface<DriverSwitch> {};

TEST_P(ReinitDriver, FallsBackToTheDriverThatWorked) {
    const DriverSwitch& c = GetParam();
    fake.loadedDriver = c.previous;
    fake.drivers = c.drivers;
    fake.driverRequests.clear();
    core->engine = c.previous;

    EXPECT_EQ(core->ReinitDriver(c.requested), c.result);
    EXPECT_EQ(fake.driverRequests, c.attempts);
    EXPECT_EQ(LoadedDriverId(), c.result);
    EXPECT_EQ(GFX_ErrorCount(), 0);  // a failed driver's errors are dropped
    if (c.result != DriverNull) {
        EXPECT_EQ(core->engine, c.result);
    }
}

using O = DriverOutcome;
const uint32_t DX = DriverDirectX, GL = DriverOpenGL, NUL = DriverNull;

INSTANTIATE_TEST_SUITE_P(
    Cases, ReinitDriver,
    ::testing::Values(
        DriverSwitch{"Switches", GL, DX, {{DX, O::Starts}, {GL, O::Starts}}, {DX}, DX},
        DriverSwitch{"FailsBack", GL, DX, {{DX, O::Fails}, {GL, O::Starts}}, {DX, GL}, GL},
        DriverSwitch{
            "QueuedErrorFailsBack", GL, DX, {{DX, O::QueuesError}, {GL, O::Starts}}, {DX, GL}, GL},
        DriverSwitch{
            "OtherIdFailsBack", DX, GL, {{GL, O::AnswersOpenGL}, {DX, O::Starts}}, {GL}, GL},
        DriverSwitch{
            "WrongIdFailsBack", GL, DX, {{DX, O::AnswersOpenGL}, {GL, O::Starts}}, {DX, GL}, GL},
        DriverSwitch{"NoneRunningTriesTheOther", NUL, DX, {{GL, O::Starts}}, {DX, GL}, GL},
        DriverSwitch{"NeitherStarts", NUL, GL, {}, {GL, DX}, NUL},
        DriverSwitch{"SameDriverFailsOnce", DX, DX, {}, {DX}, NUL}),
    [](const ::testing::TestParamInfo<DriverSwitch>& info) { return info.param.name; });

// The same switches with the real drivers on the core's window: the layer's records outlive each
// driver and draw alike under the next.
class RealDriverSwitch : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        platform.startDriver = realPlatform.startDriver;
        platform.loadedDriverId = realPlatform.loadedDriverId;
    }
    void TearDown() override {
        GFX_DeleteImage(image);
        GFX_DeleteRenderTarget(target);
        StartedCore::TearDown();
    }

    GfxImage* image = nullptr;
    GfxRenderTarget* target = nullptr;
};

TEST_F(RealDriverSwitch, SwitchesBetweenOpenGlAndDirect3D9AndKeepsTheRecords) {
    const uint32_t pixels[2] = {0xFFFF0000, 0x800000FF};
    image = GFX_CreateImage(2, 1, pixels, 8, 0, 0);
    target = GFX_CreateRenderTarget(4, 1, 0xFF00FF00, 0, 0);
    for (const uint32_t code : {DriverDirectX, DriverOpenGL, DriverDirectX}) {
        ASSERT_EQ(core->ReinitDriver(code), code);
        EXPECT_EQ(core->engine, code);
        EXPECT_EQ(GFX_ErrorCount(), 0);
        GFX_BeginFrame(target);
        GfxDriver::DrawImage(1, 0, image);
        GFX_EndFrame();
        uint32_t drawn[4] = {};
        GFX_ReadRenderTarget(target, 0, 0, 4, 1, drawn, 16);
        EXPECT_EQ(drawn[0], 0xFF00FF00u) << std::hex << code;
        EXPECT_EQ(drawn[1], 0xFFFF0000u) << std::hex << code;
        EXPECT_NEAR(int(drawn[2] & 0xFF), 0x80, 1) << std::hex << code;  // half blue over green
        EXPECT_NEAR(int(drawn[2] >> 8 & 0xFF), 0x7F, 1) << std::hex << code;
        EXPECT_EQ(drawn[3], 0xFF00FF00u) << std::hex << code;
    }
}

class Display : public StartedCore {};

TEST_F(Display, CandidateModesKeepTheirOrder) {
    core->depth = 7;  // no display offers this depth
    core->EnumerateDisplayModes();
    const std::vector<std::pair<uint32_t, uint32_t>> expected = {
        {1024, 768}, {1152, 864}, {1280, 768},  {1280, 800},  {1280, 1024}, {1366, 768},
        {1440, 900}, {1600, 900}, {1600, 1200}, {1680, 1050}, {1920, 1080}, {1920, 1200}};
    ASSERT_EQ(core->displayModes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(core->displayModes[i].width, expected[i].first);
        EXPECT_EQ(core->displayModes[i].height, expected[i].second);
        EXPECT_EQ(core->displayModes[i].unavailable, 1);
    }
}

TEST_F(Display, FullscreenTakesTheChosenAvailableMode) {
    core->displayModes = {{1024, 768, 0}, {1280, 1024, 0}};
    core->fullscreen = 1;
    core->resolution = 1;
    core->SetResolution();
    EXPECT_EQ(core->clientWidth, 1280u);
    EXPECT_EQ(core->clientHeight, 1024u);
    EXPECT_EQ(core->FindWindow(WindowType::Status), nullptr);
}

TEST_F(Display, UnavailableOrBadModeTurnsFullscreenOff) {
    for (uint8_t index : {0, 5}) {
        core->displayModes = {{1024, 768, 1}};
        core->fullscreen = 1;
        core->resolution = index;
        core->configWidth = 900;
        core->configHeight = 700;
        core->SetResolution();
        EXPECT_EQ(core->fullscreen, 0);
        EXPECT_EQ(core->resolution, 0);
        EXPECT_EQ(core->clientWidth, 900u);
        EXPECT_EQ(core->clientHeight, 700u);
        Window* status = core->FindWindow(WindowType::Status);
        EXPECT_NE(status, nullptr) << "index " << int(index);
        core->RemoveWindow(status);
    }
}

TEST_F(Display, WindowedSizeIsKeptForTheSettingsUnlessMaximised) {
    core->maximized = 0;
    core->ApplyResolution(1000, 700);
    EXPECT_EQ(core->configWidth, 1000u);
    EXPECT_EQ(core->configHeight, 700u);

    core->maximized = 1;
    core->ApplyResolution(1280, 1000);
    EXPECT_EQ(core->clientWidth, 1280u);
    EXPECT_EQ(core->configWidth, 1000u);

    core->maximized = 0;
    core->ApplyResolution(0, 0);  // minimised
    EXPECT_EQ(core->clientWidth, 0u);
    EXPECT_EQ(core->configWidth, 1000u);
}

TEST_F(Display, NullDriverLeavesTheLayoutAlone) {
    fake.loadedDriver = DriverNull;
    const uint32_t ticks = core->frameCounter;
    core->ApplyResolution(1000, 700);
    EXPECT_EQ(core->clientWidth, 1000u);
    EXPECT_NE(core->configWidth, 1000u);
    EXPECT_EQ(core->frameCounter, ticks);
}

TEST_F(Display, SystemCursorsWhenTheCustomCursorIsOff) {
    core->options.cursor = 0;
    EXPECT_EQ(core->LoadCursor(0), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(core->LoadCursor(1), LoadCursorA(nullptr, IDC_CROSS));
    EXPECT_EQ(core->LoadCursor(2), LoadCursorA(nullptr, IDC_SIZENS));
    EXPECT_EQ(core->LoadCursor(3), LoadCursorA(nullptr, IDC_SIZEALL));
    EXPECT_EQ(core->LoadCursor(9), LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
