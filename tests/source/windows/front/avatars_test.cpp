#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "protocol.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/front/avatars.h"
#include "windows/front/create.h"
#include "windows/front/link.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Bytes = std::vector<uint8_t>;

AvatarEntry Entry(uint32_t id, std::string name) {
    AvatarEntry entry;
    entry.id = id;
    entry.name = std::move(name);
    entry.level = 7;
    return entry;
}

std::vector<AvatarEntry> Entries(uint32_t count) {
    std::vector<AvatarEntry> entries;
    for (uint32_t i = 0; i < count; ++i)
        entries.push_back(Entry(1001 + i, "A" + std::to_string(i)));
    return entries;
}

class AvatarsTest : public ::testing::Test {
protected:
    void SetUp() override { core->RegisterBoxAnswers(); }

    // The list as the avatar-list message opens it: added, then filled.
    Avatars* Open(const std::vector<AvatarEntry>& entries) {
        auto* avatars = new Avatars(core.get());
        core->AddWindow(avatars);
        avatars->SetAvatarList(entries);
        return avatars;
    }
    void Connect() { recording = std::make_unique<RecordingConnection>(core.get()); }
    std::vector<Bytes> Sent(size_t atLeast = 0) { return recording->SentPayloads(atLeast); }
    static void Press(Window* window, uint32_t id) {
        Button* button = window->FindButton(id);
        ASSERT_NE(button, nullptr) << id;
        window->OnCommand(button);
    }
    static bool Enabled(Window* window, uint32_t id) { return window->FindButton(id)->enabled; }
    std::vector<uint32_t> Types() {
        std::vector<uint32_t> types;
        for (Window* window : core->windows) types.push_back(window->typeId);
        return types;
    }

    std::unique_ptr<Core> core = MakeTestCore();
    std::unique_ptr<RecordingConnection> recording;
};

TEST_F(AvatarsTest, TheListIsCentredAndTallerWithNobleDays) {
    for (uint32_t days : {0u, 1u}) {
        SCOPED_TRACE(days);
        core->nobleDaysLeft = days;
        Avatars avatars(core.get());
        const int32_t height = days ? 269 : 249;
        EXPECT_EQ(avatars.width, 356);
        EXPECT_EQ(avatars.height, height);
        EXPECT_EQ(avatars.x, 400 - 178);
        EXPECT_EQ(avatars.y, 300 - height / 2);
        EXPECT_TRUE(avatars.modal && avatars.movable);
        EXPECT_EQ(avatars.name, "Avatar List");
        EXPECT_EQ(avatars.list->x, avatars.x + 38);
        EXPECT_EQ(avatars.list->y, avatars.y + 57);
        EXPECT_EQ(avatars.list->width, 192);
        EXPECT_EQ(avatars.list->height, 128);
        const struct {
            uint32_t id;
            int32_t x, y;
        } buttons[] = {{Avatars::PlayButton, 290, height - 28},
                       {ButtonId::Close, 335, 3},
                       {Avatars::CreateButton, 12, height - 28}};
        for (const auto& expected : buttons) {
            const Button* button = avatars.FindButton(expected.id);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->x, expected.x);
            EXPECT_EQ(button->y, expected.y);
            EXPECT_TRUE(button->enabled);
        }
    }
}

TEST_F(AvatarsTest, TheExpiryLineCountsTheNobleDays) {
    EXPECT_EQ(Avatars::ExpiryLine(1), "Noble account expires in 1 day.");
    EXPECT_EQ(Avatars::ExpiryLine(2), "Noble account expires in 2 days.");
    EXPECT_EQ(Avatars::ExpiryLine(30), "Noble account expires in 30 days.");
}

TEST_F(AvatarsTest, TheExpiryLineIsPaintedOnlyWithNobleDays) {
    RecordingDriver::Install();
    // The first letter's glyph of the test font (the one of 'N' at 6 x 14, 9 x 4 in its image).
    auto paintsExpiry = [&](int32_t lineY) {
        const std::string glyph =
            "DrawImagePartTinted(42," + std::to_string(lineY) + ",84,36,5,8,0xCEFFFFFF,img:2)";
        const std::vector<std::string> calls = RecordingDriver::Take();
        return std::find(calls.begin(), calls.end(), glyph) != calls.end();
    };
    for (uint32_t days : {0u, 1u}) {
        SCOPED_TRACE(days);
        core->nobleDaysLeft = days;
        Avatars avatars(core.get());
        RecordingDriver::Take();
        avatars.Paint();
        EXPECT_EQ(paintsExpiry(avatars.height - 67), days > 0);
    }
    UseNullDriver();
}

TEST_F(AvatarsTest, ThePlacementFollowsTheClientAreaAndTakesTheListAlong) {
    Avatars* avatars = Open(Entries(2));
    avatars->Place(1024, 768);
    EXPECT_EQ(avatars->x, 512 - 178);
    EXPECT_EQ(avatars->y, 384 - 124);
    EXPECT_EQ(avatars->list->x, avatars->x + 38);
    EXPECT_EQ(avatars->list->y, avatars->y + 57);
}

TEST_F(AvatarsTest, NamesFillTheListInArrivalOrder) {
    Avatars* avatars = Open({Entry(5, "Aria"), Entry(6, "Bo")});
    EXPECT_EQ(avatars->list->items, (std::vector<std::string>{"Aria", "Bo"}));
    EXPECT_EQ(avatars->list->selected, 0);
    EXPECT_TRUE(Enabled(avatars, Avatars::PlayButton));
    EXPECT_EQ(Types(), (std::vector<uint32_t>{WindowType::Avatars}));
}

TEST_F(AvatarsTest, TheLastAvatarTheAccountMayHaveDisablesCreate) {
    const struct {
        uint32_t nobleDays;
        uint32_t count;
        bool createEnabled;
    } cases[] = {{0, 9, true},  {0, 10, false}, {0, 11, false},
                 {5, 10, true}, {5, 19, true},  {5, 20, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nobleDays) + " days, " + std::to_string(c.count));
        core->nobleDaysLeft = c.nobleDays;
        Avatars* listed = Open(Entries(c.count));
        EXPECT_EQ(Enabled(listed, Avatars::CreateButton), c.createEnabled);
        core->RemoveWindow(listed);

        // The same count reached by an avatar created later.
        Avatars* grown = Open(Entries(c.count - 1));
        grown->AddAvatar(Entry(9000, "New"));
        EXPECT_EQ(Enabled(grown, Avatars::CreateButton), c.createEnabled);
        EXPECT_EQ(grown->list->items.back(), "New");
        core->RemoveWindow(grown);
    }
}

TEST_F(AvatarsTest, NoAvatarsDisablesPlayAndOpensTheNewAvatarDialog) {
    Avatars* avatars = Open({});
    EXPECT_FALSE(Enabled(avatars, Avatars::PlayButton));
    EXPECT_TRUE(Enabled(avatars, Avatars::CreateButton));
    // The dialog's name input is listed above it and has the focus.
    EXPECT_EQ(Types(),
              (std::vector<uint32_t>{WindowType::Avatars, WindowType::Create, WindowType::Input}));
    EXPECT_EQ(core->focusedInput, core->windows.back());

    // The first avatar the server adds makes play possible.
    avatars->AddAvatar(Entry(2000, "Red Dragon"));
    EXPECT_TRUE(Enabled(avatars, Avatars::PlayButton));
}

TEST_F(AvatarsTest, NoAvatarsWithSteamAsksToLinkAndYesLeavesForTheLinkWindow) {
    core->steamReady = 1;
    Connect();
    Avatars* avatars = Open({});
    EXPECT_FALSE(Enabled(avatars, Avatars::PlayButton));
    ASSERT_EQ(Types(), (std::vector<uint32_t>{WindowType::Avatars, WindowType::Create,
                                              WindowType::Input, WindowType::Sure}));
    auto* question = static_cast<Sure*>(core->windows.back());
    EXPECT_EQ(question->name, "Link Account to Steam");
    EXPECT_EQ(question->text,
              "Do you already have an account?\n"
              "Link your account to Steam via the main screen > Account > Steam.");
    EXPECT_EQ(question->action, Sure::LinkSteam);

    Press(question, ButtonId::Yes);
    EXPECT_EQ(core->FindWindow(WindowType::Create), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Avatars), nullptr);
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_EQ(core->activeConnection, nullptr);
    EXPECT_NE(dynamic_cast<Link*>(core->FindWindow(WindowType::Link)), nullptr);
    // Only the link dialog's own two inputs remain; the creation dialog's went with it.
    const std::vector<uint32_t> types = Types();
    EXPECT_EQ(std::count(types.begin(), types.end(), WindowType::Input), 2);
}

TEST_F(AvatarsTest, PlayWithoutChoosingPlaysTheFirstAvatar) {
    Connect();
    Open({Entry(0x04030201, "Aria"), Entry(6, "Bo")});
    Press(core->windows.back(), Avatars::PlayButton);
    EXPECT_EQ(Sent(1), (std::vector<Bytes>{{7, 1, 2, 3, 4}}));
    EXPECT_EQ(core->avatarName, "Aria");
    // The list made way for the progress box, which waits for the server.
    ASSERT_EQ(Types(), (std::vector<uint32_t>{WindowType::Status}));
    auto* progress = static_cast<Status*>(core->windows.back());
    EXPECT_EQ(progress->name, "Connecting");
    EXPECT_EQ(progress->text, "Connecting to the gameworld");
    EXPECT_EQ(progress->kind, Status::Connecting);
}

TEST_F(AvatarsTest, EnterPlaysTheChosenAvatar) {
    Connect();
    Avatars* avatars = Open({Entry(5, "Aria"), Entry(6, "Bo")});
    avatars->list->Select(1);
    avatars->OnSubmit();
    EXPECT_EQ(Sent(1), (std::vector<Bytes>{{7, 6, 0, 0, 0}}));
    EXPECT_EQ(core->avatarName, "Bo");
    EXPECT_EQ(core->FindWindow(WindowType::Avatars), nullptr);
}

TEST_F(AvatarsTest, PlayWithoutAvatarsOnlyExplains) {
    Connect();
    Avatars* avatars = Open({});
    core->RemoveWindow(core->FindWindow(WindowType::Create));
    avatars->OnSubmit();
    auto* message = dynamic_cast<Message*>(core->windows.back());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->name, "Veltor");
    EXPECT_EQ(message->text, "You'll first need to create an avatar before you can play!");
    EXPECT_EQ(core->FindWindow(WindowType::Avatars), avatars);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(AvatarsTest, CloseDropsTheConnectionAndTheList) {
    Connect();
    Avatars* avatars = Open(Entries(2));
    Press(avatars, ButtonId::Close);
    EXPECT_TRUE(core->windows.empty());
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_EQ(core->activeConnection, nullptr);
}

TEST_F(AvatarsTest, CreateOpensTheDialogAboveTheList) {
    Avatars* avatars = Open(Entries(3));
    Press(avatars, Avatars::CreateButton);
    EXPECT_EQ(Types(),
              (std::vector<uint32_t>{WindowType::Avatars, WindowType::Create, WindowType::Input}));
    EXPECT_EQ(static_cast<Window*>(static_cast<Create*>(core->windows[1])->nameInput),
              core->focusedInput);
}

TEST_F(AvatarsTest, DeletingAndRestoringMarkTheChosenAvatar) {
    Avatars* avatars = Open({Entry(5, "Aria"), Entry(6, "Bo")});
    avatars->list->Select(1);
    Button ask(core.get(), avatars, 0, 0, 0, 0, Avatars::DeleteRestoreButton);

    avatars->OnCommand(&ask);
    auto* question = static_cast<Sure*>(core->windows.back());
    EXPECT_EQ(question->name, "Delete Avatar");
    EXPECT_EQ(question->text,
              "Are you sure you want to delete Bo?\n"
              "It will take 30 days for the avatar to be deleted.");
    question->OnSubmit();
    EXPECT_EQ(avatars->list->marks, (std::vector<bool>{false, true}));

    avatars->OnCommand(&ask);
    question = static_cast<Sure*>(core->windows.back());
    EXPECT_EQ(question->name, "Restore Avatar");
    EXPECT_EQ(question->text, "Are you sure you want to restore Bo?");
    question->OnSubmit();
    EXPECT_EQ(avatars->list->marks, (std::vector<bool>{false, false}));
}

TEST_F(AvatarsTest, TheMarkGoesToTheNameIgnoringLetterCase) {
    Avatars* avatars = Open({Entry(5, "bo"), Entry(6, "Bo")});
    avatars->list->Select(1);
    avatars->DeleteSelected();
    EXPECT_EQ(avatars->list->marks, (std::vector<bool>{true, false}));
}

}  // namespace
