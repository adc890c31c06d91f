#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "render.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/front/crash.h"
#include "windows/front/suspend.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

std::string Hex(uint32_t value) {
    char text[16];
    snprintf(text, sizeof text, "0x%X", value);
    return text;
}

// The black over the whole 800 x 600 client area.
std::string Dimming(uint32_t alpha) { return "FillRect(0,0,800,600," + Hex(alpha << 24) + ",0x3)"; }

class NoticeTest : public ::testing::Test {
protected:
    void SetUp() override { core->frameTimeMs = 50000; }
    void TearDown() override { UseNullDriver(); }

    template <class Notice>
    Notice* Open() {
        auto* notice = new Notice(core.get());
        core->AddWindow(notice);
        return notice;
    }
    void Connect() { recording = std::make_unique<RecordingConnection>(core.get()); }
    std::vector<uint8_t> Sent(size_t atLeast = 0) { return recording->SentOpcodes(atLeast); }
    static void Press(Window* window, uint32_t id) {
        Button* button = window->FindButton(id);
        ASSERT_NE(button, nullptr) << id;
        window->OnCommand(button);
    }
    // The first drawing call of a frame of the notice `elapsedMs` after it was built.
    std::string FirstCallAfter(Window* notice, uint64_t elapsedMs) {
        core->frameTimeMs = static_cast<ServerNotice*>(notice)->builtAt + elapsedMs;
        RecordingDriver::Take();
        notice->Draw();
        const std::vector<std::string> calls = RecordingDriver::Take();
        return calls.empty() ? "" : calls.front();
    }

    std::unique_ptr<Core> core = MakeTestCore();
    std::unique_ptr<RecordingConnection> recording;
};

TEST(ServerNoticeDimming, DarkensToHalfOverTheFirst512Ms) {
    const struct {
        uint64_t elapsed;
        uint32_t alpha;
    } cases[] = {{0, 0},      {3, 0},      {4, 1},      {100, 25},
                 {511, 0x7F}, {512, 0x80}, {513, 0x80}, {3600000, 0x80}};
    for (const auto& c : cases)
        EXPECT_EQ(ServerNotice::DimmingAlpha(c.elapsed), c.alpha) << c.elapsed;
}

TEST_F(NoticeTest, BothNoticesDimTheWholeScreenFirst) {
    RecordingDriver::Install();
    for (Window* notice :
         {static_cast<Window*>(Open<Crash>()), static_cast<Window*>(Open<Suspend>())}) {
        SCOPED_TRACE(notice->name);
        EXPECT_EQ(FirstCallAfter(notice, 100), Dimming(25));
        EXPECT_EQ(FirstCallAfter(notice, 512), Dimming(0x80));
        EXPECT_EQ(FirstCallAfter(notice, 5000), Dimming(0x80));
    }
}

TEST_F(NoticeTest, TheNoticesAreCentredModalBoxes) {
    const struct {
        Window* notice;
        uint32_t type;
        const char* title;
        std::vector<std::pair<uint32_t, int32_t>> buttonsAtX;
    } cases[] = {
        {Open<Crash>(),
         WindowType::Crash,
         "Server Crashed",
         {{ServerNotice::LogoutButton, 12}, {Crash::ProceedButton, 269}, {ButtonId::Close, 314}}},
        {Open<Suspend>(),
         WindowType::Suspend,
         "Server Suspended",
         {{ServerNotice::LogoutButton, 269}, {ButtonId::Close, 314}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(c.notice->typeId, c.type);
        EXPECT_EQ(c.notice->name, c.title);
        EXPECT_EQ(c.notice->width, 335);
        EXPECT_EQ(c.notice->height, 120);
        EXPECT_EQ(c.notice->x, 400 - 167);
        EXPECT_EQ(c.notice->y, 300 - 60);
        EXPECT_TRUE(c.notice->modal);
        EXPECT_FALSE(c.notice->movable);
        EXPECT_EQ(c.notice->buttons.size(), c.buttonsAtX.size());
        for (const auto& [id, x] : c.buttonsAtX) {
            const Button* button = c.notice->FindButton(id);
            ASSERT_NE(button, nullptr) << id;
            EXPECT_EQ(button->x, x);
            EXPECT_EQ(button->y, id == ButtonId::Close ? 3 : 92);
        }
    }
}

TEST_F(NoticeTest, ProceedAnswersTheServerEachTimeAndTheNoticeStays) {
    Connect();
    core->gameHalted = 1;
    Crash* crash = Open<Crash>();
    Press(crash, Crash::ProceedButton);
    Press(crash, Crash::ProceedButton);
    EXPECT_EQ(Sent(2), (std::vector<uint8_t>{248, 248}));
    // The close button answers as proceed does.
    Press(crash, ButtonId::Close);
    EXPECT_EQ(Sent(3), (std::vector<uint8_t>{248, 248, 248}));
    EXPECT_EQ(core->windows, (std::vector<Window*>{crash}));
    EXPECT_EQ(crash->state, 1u);
    EXPECT_EQ(core->gameHalted, 1);
}

TEST_F(NoticeTest, ProceedWithoutAConnectionDoesNothing) {
    core->gameHalted = 1;
    Crash* crash = Open<Crash>();
    Press(crash, Crash::ProceedButton);
    Press(crash, ButtonId::Close);
    EXPECT_EQ(core->windows, (std::vector<Window*>{crash}));
    EXPECT_EQ(core->gameHalted, 1);
}

TEST(SuspendText, GainsADotEveryQuarterSecondAndStartsAgainEachSecond) {
    const std::string base = "Please wait while the server is being updated";
    const struct {
        uint64_t time;
        const char* dots;
    } cases[] = {{0, ""},     {249, ""},    {250, "."},   {499, "."}, {500, ".."},
                 {749, ".."}, {750, "..."}, {999, "..."}, {1000, ""}, {123456, "."}};
    for (const auto& c : cases) EXPECT_EQ(Suspend::WaitingText(c.time), base + c.dots) << c.time;
}

}  // namespace
