#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "item.h"
#include "mouse.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/dialogs/look.h"
#include "windows/dialogs/shop.h"
#include "windows/front/avatars.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/weblink.h"
#include "windows/toolkit/windowtypes.h"

namespace {

std::vector<std::string> openedPages;
void RecordPage(const std::string& address) { openedPages.push_back(address); }

// An item whose deletion the test can see.
class ProbeItem : public Item {
public:
    ProbeItem(Core* core, bool* deleted) : Item(core, 1, 0, 0, 0, 0, 1, 0), deleted(deleted) {}
    ~ProbeItem() override { *deleted = true; }
    bool* deleted;
};

class BoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        openedPages.clear();
        webPageOpener = RecordPage;
        core->frameTimeMs = 100000;
    }
    void TearDown() override { webPageOpener = saved; }

    template <class Box>
    Box* Open(Box* box) {
        core->AddWindow(box);
        return box;
    }
    bool Listed(Window* window) {
        return std::find(core->windows.begin(), core->windows.end(), window) != core->windows.end();
    }
    Protocol* Connect() {
        recording = std::make_unique<RecordingConnection>(core.get());
        return recording->protocol;
    }
    std::vector<uint8_t> Sent(size_t atLeast = 0) { return recording->SentOpcodes(atLeast); }
    static void Press(Window* box, uint32_t id) {
        Button* button = box->FindButton(id);
        ASSERT_NE(button, nullptr) << id;
        box->OnCommand(button);
    }

    WebPageOpener saved = webPageOpener;
    std::unique_ptr<Core> core = MakeTestCore();
    std::unique_ptr<RecordingConnection> recording;
};

TEST_F(BoxTest, AMessageOfTwoLinesIsOneLineTaller) {
    Message one(core.get(), "Title", "first second", 0);
    Message two(core.get(), "Title", "first\nsecond", 0);
    EXPECT_EQ(two.height - one.height, TestLineHeight);
    EXPECT_EQ(one.height, TestLineHeight + 108);
    EXPECT_EQ(one.width, 12 * TestCharWidth + 64);
    EXPECT_EQ(two.width, 6 * TestCharWidth + 64);  // the widest line
    EXPECT_EQ(one.x, 400 - one.width / 2);
    EXPECT_EQ(one.y, 300 - one.height / 2);
    EXPECT_TRUE(one.modal);
    EXPECT_EQ(one.titleHeight, 22);
}

TEST_F(BoxTest, OkOpensTheLinkOnceAndClosesTheBox) {
    Message* box = Open(new Message(core.get(), "Store", "Visit the store.", 0));
    Press(box, 34);
    EXPECT_TRUE(openedPages.empty());
    EXPECT_TRUE(core->windows.empty());

    box = Open(new Message(core.get(), "Store", "Visit the store.", 0));
    box->link = "https://store.example/";
    Press(box, 34);
    EXPECT_EQ(openedPages, std::vector<std::string>{"https://store.example/"});
    EXPECT_TRUE(core->windows.empty());

    box = Open(new Message(core.get(), "Store", "Visit the store.", 0));
    box->link = "https://store.example/";
    box->OnSubmit();
    EXPECT_EQ(openedPages.size(), 1u);
    EXPECT_TRUE(core->windows.empty());
}

TEST_F(BoxTest, AStatusBoxIsCentredWithEachHalfRoundedDown) {
    const struct {
        uint32_t clientWidth, clientHeight;
        const char* text;
        int32_t kind;
        int32_t x, y;
    } cases[] = {
        {800, 600, "a", 0, 400 - 71 / 2, 300 - 120 / 2},                   // 71 x 120
        {800, 600, "a", Status::Connecting, 400 - 79 / 2, 300 - 120 / 2},  // 8 wider
        {1025, 769, "ab\ncd", 0, 512 - 78 / 2, 384 - 132 / 2},             // 78 x 132
    };
    for (const auto& c : cases) {
        core->clientWidth = c.clientWidth;
        core->clientHeight = c.clientHeight;
        Status box(core.get(), "Note", c.text, c.kind);
        EXPECT_EQ(box.x, c.x) << c.clientWidth << " " << c.kind;
        EXPECT_EQ(box.y, c.y) << c.clientWidth << " " << c.kind;
    }
}

TEST_F(BoxTest, AProgressBoxCyclesItsDotsOnceASecond) {
    Status* box = Open(new Status(core.get(), "Connecting", "Trying", Status::Connecting));
    const struct {
        uint64_t after;
        const char* shown;
    } frames[] = {{0, "Trying.."},    {249, "Trying.."},   {250, "Trying..."}, {499, "Trying..."},
                  {500, "Trying"},    {749, "Trying"},     {750, "Trying."},   {999, "Trying."},
                  {1000, "Trying.."}, {1250, "Trying..."}, {1500, "Trying"}};
    for (const auto& frame : frames) {
        core->frameTimeMs = 100000 + frame.after;
        EXPECT_EQ(box->ShownText(), frame.shown) << frame.after;
    }
    EXPECT_EQ(box->FindButton(34)->caption, "cancel");
    Status plain(core.get(), "Note", "Trying", 0);
    EXPECT_EQ(plain.ShownText(), "Trying");
    EXPECT_EQ(plain.FindButton(34)->caption, "ok");
    EXPECT_EQ(box->width, plain.width + 8);
}

TEST_F(BoxTest, ClosingAProgressBoxCancelsTheConnectionAttempt) {
    Protocol* connection = Connect();
    Status* plain = Open(new Status(core.get(), "Note", "Done.", 0));
    plain->OnSubmit();
    EXPECT_FALSE(connection->closed);
    EXPECT_FALSE(Listed(plain));

    // The cancelled connection is let go of, so that the next attempt starts afresh.
    Status* box = Open(new Status(core.get(), "Connecting", "Trying", Status::Connecting));
    box->OnSubmit();  // Enter
    EXPECT_TRUE(connection->closed);
    EXPECT_FALSE(Listed(box));
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_EQ(core->activeConnection, nullptr);

    connection = Connect();
    box = Open(new Status(core.get(), "Connecting", "Trying", Status::Connecting));
    Press(box, ButtonId::Close);
    EXPECT_TRUE(connection->closed);
    EXPECT_EQ(core->activeConnection, nullptr);
    EXPECT_TRUE(core->windows.empty());
}

TEST_F(BoxTest, ADiscordTextGetsTheInviteButton) {
    Status* box = Open(new Status(core.get(), "Veltor", "Ask us on Discord.", 0));
    ASSERT_NE(box->FindButton(102), nullptr);
    EXPECT_EQ(box->FindButton(102)->caption, "discord");
    EXPECT_EQ(box->FindButton(102)->x, 12);
    Press(box, 102);
    EXPECT_EQ(openedPages.size(), 1u);
    EXPECT_TRUE(Listed(box));  // the box stays

    Status lower(core.get(), "Veltor", "Ask us on discord.", 0);
    EXPECT_EQ(lower.FindButton(102), nullptr);
    EXPECT_EQ(lower.buttons.size(), 2u);
}

TEST_F(BoxTest, ItemBoxesGrowAGridForSeveralStacks) {
    const struct {
        uint8_t stacks, columns, rows;
    } cases[] = {{1, 1, 1},  {5, 5, 1},  {7, 7, 1},  {8, 4, 2}, {9, 5, 2},
                 {12, 6, 2}, {15, 8, 2}, {16, 8, 2}, {20, 8, 3}};
    for (const auto& c : cases) {
        core->moveMultiplier = c.stacks;
        Sure box(core.get(), "Buying", "Buy?", Sure::Buy, nullptr, 0);
        EXPECT_EQ(box.showGrid, c.stacks > 1) << int(c.stacks);
        EXPECT_EQ(box.gridColumns, c.columns) << int(c.stacks);
        EXPECT_EQ(box.gridRows, c.rows) << int(c.stacks);
        const int32_t textWidth = std::max(4 * TestCharWidth, c.columns * 40);
        EXPECT_EQ(box.width, textWidth + 64) << int(c.stacks);
        EXPECT_EQ(box.height, TestLineHeight + 108 + c.rows * 40 + 27) << int(c.stacks);
    }
    core->moveMultiplier = 20;
    Sure plain(core.get(), "Logout", "Leave?", Sure::Logout);
    EXPECT_EQ(plain.height, TestLineHeight + 108);
    EXPECT_EQ(plain.gridColumns, 1);
}

// More stacks than the client area has rows for: the grid shows the rows that fit above one line
// of the question, and the box stays inside the area less its margin of 5.
TEST_F(BoxTest, AGridTallerThanTheClientAreaShowsTheRowsThatFit) {
    const struct {
        uint32_t clientHeight;
        uint8_t stacks, rows;
    } cases[] = {{600, 80, 10},  {600, 88, 11}, {600, 96, 11},
                 {600, 255, 11}, {400, 255, 6}, {200, 255, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.stacks) + " stacks in " + std::to_string(c.clientHeight));
        core->clientHeight = c.clientHeight;
        core->moveMultiplier = c.stacks;
        Sure box(core.get(), "Buying", "Do you want to buy these items?", Sure::Buy, nullptr, 0);
        EXPECT_EQ(box.gridColumns, 8);
        EXPECT_EQ(box.gridRows, c.rows);
        EXPECT_NE(box.fittedText, "");
        EXPECT_GE(box.y, 5);
        EXPECT_LE(box.y + box.height, int32_t(c.clientHeight) - 5);
        EXPECT_EQ(box.height, TestLineHeight + 108 + c.rows * 40 + 27);
    }
}

TEST_F(BoxTest, TheGridShowsOneSlotPerStackAndEmptySlotsAfter) {
    core->render->GetImage(1) = GFX_CreateImage(512, 512, nullptr, 0, 0, 1);
    bool deleted = false;
    ProbeItem item(core.get(), &deleted);
    const struct {
        uint8_t stacks;
        size_t filled, empty;
    } cases[] = {{1, 1, 0}, {5, 5, 0}, {12, 12, 0}, {20, 20, 4}};
    for (const auto& c : cases) {
        core->moveMultiplier = c.stacks;
        Sure box(core.get(), "Buying", "Buy?", Sure::Buy, &item, 0);
        RecordingDriver::Install();
        box.Paint();
        size_t filled = 0, empty = 0;
        for (const std::string& call : RecordingDriver::Take()) {
            filled += call.find(",256,56,36,36,img:1)") != std::string::npos;
            empty += call.find(",256,16,36,36,img:1)") != std::string::npos;
        }
        UseNullDriver();
        EXPECT_EQ(filled, c.filled) << int(c.stacks);
        EXPECT_EQ(empty, c.empty) << int(c.stacks);
    }
    // The single cell sits in the middle: its slot at (width / 2 - 18, 58).
    core->moveMultiplier = 1;
    Sure box(core.get(), "Buying", "Buy?", Sure::Buy, &item, 0);
    RecordingDriver::Install();
    box.Paint();
    const std::string slot = "DrawImagePart(" + std::to_string(box.width / 2 - 18) + ",58,256,56,";
    const std::vector<std::string> calls = RecordingDriver::Take();
    UseNullDriver();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [&](const std::string& call) { return call.rfind(slot, 0) == 0; }),
              1);
}

// Long server texts: every box stays inside the 800 x 600 client area less the margin of 5,
// centred, with its lines wrapped and the ones below the limit cut.
TEST_F(BoxTest, BoxesOfLongTextsStayCentredInsideTheClientArea) {
    const struct {
        std::string text;
        bool fillsTheWidth;
    } cases[] = {{std::string(3000, 'W'), true},
                 {std::string(20000, 'W'), true},
                 {std::string(20000, 'W') + "\nend", true},
                 {std::string(3000, '\n'), false}};
    for (const auto& [text, fillsTheWidth] : cases) {
        std::unique_ptr<Window> boxes[] = {
            std::make_unique<Message>(core.get(), "Error", text, 0),
            std::make_unique<Status>(core.get(), "Error", text, 0),
            std::make_unique<Status>(core.get(), "Connecting", text, Status::Connecting),
            std::make_unique<Sure>(core.get(), "Sure?", text, Sure::Logout)};
        for (const auto& box : boxes) {
            SCOPED_TRACE(box->name + " of " + std::to_string(text.size()));
            EXPECT_GE(box->x, 5);
            EXPECT_GE(box->y, 5);
            EXPECT_LE(box->x + box->width, 795);
            EXPECT_LE(box->y + box->height, 595);
            EXPECT_EQ(box->x, 400 - box->width / 2);
            EXPECT_EQ(box->y, 300 - box->height / 2);
            if (fillsTheWidth) {
                EXPECT_GT(box->width, 700);
            }
            EXPECT_LE(box->surfaceWidth, 1024);
            box->Paint();
            GFX_BeginFrame(nullptr);
            box->Draw();
            GFX_EndFrame();
            EXPECT_EQ(GFX_ErrorCount(), 0);
        }
    }
}

// Every window whose size follows a text or a count from the server or the player, at the
// largest the message can carry, in client areas of several sizes: inside the area less its
// margin of 5, drawn without a driver error.
TEST_F(BoxTest, WindowsSizedByOutsideTextsAndCountsStayInsideTheClientArea) {
    const std::string longest16(65535, 'W'), longestName(255, 'W');
    using Opener = std::function<std::unique_ptr<Window>(Core*)>;
    const struct {
        const char* name;
        Opener open;
    } windows[] = {
        {"message of the longest text",
         [&](Core* c) { return std::make_unique<Message>(c, "Veltor", longest16, 0); }},
        {"message of the most lines",
         [&](Core* c) {
             return std::make_unique<Message>(c, "Veltor", std::string(65535, '\n'), 0);
         }},
        {"error status",
         [&](Core* c) { return std::make_unique<Status>(c, "Veltor - Error", longest16, 0); }},
        {"progress status",
         [&](Core* c) {
             return std::make_unique<Status>(c, "Connecting", longest16, Status::Connecting);
         }},
        {"question of the longest avatar name",
         [&](Core* c) -> std::unique_ptr<Window> {
             Avatars avatars(c);
             AvatarEntry entry;
             entry.name = longestName;
             avatars.SetAvatarList({entry, entry});
             avatars.ConfirmDeleteRestore();
             Window* question = c->windows.back();
             c->windows.pop_back();
             return std::unique_ptr<Window>(question);
         }},
        {"item question of the most stacks",
         [&](Core* c) {
             c->moveMultiplier = 255;
             return std::make_unique<Sure>(c, "Buying", "Buy " + longestName + "?", Sure::Buy,
                                           nullptr, 0);
         }},
    };
    const struct { uint32_t width, height; } areas[] = {{800, 600}, {640, 480}, {1280, 1024}};
    for (const auto& area : areas) {
        for (const auto& window : windows) {
            SCOPED_TRACE(std::string(window.name) + " in " + std::to_string(area.width) + " x " +
                         std::to_string(area.height));
            core->clientWidth = area.width;
            core->clientHeight = area.height;
            const std::unique_ptr<Window> opened = window.open(core.get());
            const WindowRect rect = opened->GetRect();
            EXPECT_GE(rect.x, 5);
            EXPECT_GE(rect.y, 5);
            EXPECT_LE(rect.x + rect.w, int32_t(area.width) - 5);
            EXPECT_LE(rect.y + rect.h, int32_t(area.height) - 5);
            opened->Paint();
            GFX_BeginFrame(nullptr);
            opened->Draw();
            GFX_EndFrame();
            EXPECT_EQ(GFX_ErrorCount(), 0);
        }
    }
}

TEST_F(BoxTest, ALongWordWrapsWithHyphensAndTheLinesBelowTheLimitAreCut) {
    Message box(core.get(), "Error", std::string(20000, 'W'), 0);
    const int32_t lineWidth = 790 - BoxFrameWidth;
    const size_t perLine = static_cast<size_t>((lineWidth - TestCharWidth) / TestCharWidth);
    const size_t lines = static_cast<size_t>((590 - BoxFrameHeight) / TestLineHeight);
    EXPECT_EQ(box.fittedText.substr(0, perLine + 2), std::string(perLine, 'W') + "-\n");
    EXPECT_EQ(std::count(box.fittedText.begin(), box.fittedText.end(), '\n'), lines - 1);
    EXPECT_EQ(box.height, static_cast<int32_t>(lines) * TestLineHeight + BoxFrameHeight);
    EXPECT_EQ(box.text, std::string(20000, 'W'));  // the text itself is kept
    // Words wrap at their spaces.
    std::string words;
    for (int k = 0; k < 300; ++k) words += "word ";
    Message wrapped(core.get(), "Error", words, 0);
    EXPECT_EQ(wrapped.fittedText.find('-'), std::string::npos);
    EXPECT_EQ(wrapped.fittedText.substr(0, 10), "word word ");
    EXPECT_LE(wrapped.x + wrapped.width, 795);
}

// A driver that cannot hold any render target queues why, as the real drivers do.
void RefuseTarget(GfxRenderTarget*) { GFX_PUSH_ERROR("render target too large for a texture"); }

// The filled rectangles on the screen, with the draw origin applied.
std::vector<std::string> placedFills;
void RecordPlacedFill(float x, float y, float w, float h, uint32_t, uint32_t) {
    GFX_TranslatePoint(x, y);
    placedFills.push_back(std::to_string(int(x)) + "," + std::to_string(int(y)) + "," +
                          std::to_string(int(w)) + "," + std::to_string(int(h)));
}

TEST_F(BoxTest, ABoxWhoseSurfaceTheDeviceCannotHoldIsDrawnWithoutIt) {
    Message box(core.get(), "Error", "Too many avatars.", 0);
    core->AddWindow(&box);
    RecordingDriver::Install();
    GfxDriver::CreateTarget = RefuseTarget;
    GfxDriver::FillRect = RecordPlacedFill;
    placedFills.clear();
    core->RenderFrame();
    const std::vector<std::string> calls = RecordingDriver::Take();
    UseNullDriver();
    core->windows.clear();
    EXPECT_EQ(GFX_ErrorCount(), 0);
    EXPECT_EQ(box.surface, nullptr);
    // The text and the push button caption reach the screen without a surface in between.
    const auto drawn = [&](const std::string& prefix) {
        return std::count_if(calls.begin(), calls.end(),
                             [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    };
    EXPECT_EQ(drawn("DrawTargetPart("), 0);
    EXPECT_GE(drawn("DrawImagePartTinted("), 17);
    EXPECT_EQ(drawn("BeginFrame(rt:"), 0);
    // The title band lands at the box's place on the screen.
    const std::string band = std::to_string(box.x + 2) + "," + std::to_string(box.y + 2) + "," +
                             std::to_string(box.width - 4) + ",19";
    EXPECT_EQ(std::count(placedFills.begin(), placedFills.end(), band), 1);
}

TEST_F(BoxTest, TheSteamBoxSaysLinkAndSkip) {
    Sure linking(core.get(), "Link Account to Steam", "Link?", Sure::LinkSteam);
    EXPECT_EQ(linking.FindButton(25)->caption, "link");
    EXPECT_EQ(linking.FindButton(26)->caption, "skip");
    Sure plain(core.get(), "Logout", "Leave?", Sure::Logout);
    EXPECT_EQ(plain.FindButton(25)->caption, "yes");
    EXPECT_EQ(plain.FindButton(26)->caption, "no");
    EXPECT_EQ(plain.FindButton(26)->x, 12);
    EXPECT_EQ(plain.FindButton(25)->x, plain.width - 66);
}

TEST_F(BoxTest, YesIsRefusedWhileThePlayerMayNotLogOut) {
    core->inGame = 1;
    core->screen = new Screen(core.get(), 800, 600, 32, 0);
    core->screen->mouse->x = 321;
    core->screen->mouse->y = 123;
    core->statusEffects.resize(7);
    core->statusEffects[6].active = 1;
    Protocol* connection = Connect();
    Sure* box =
        Open(new Sure(core.get(), "Logout", "Are you sure you want to logout?", Sure::Logout));

    Press(box, 25);
    ASSERT_TRUE(Listed(box));
    EXPECT_EQ(box->state, 1u);
    EXPECT_EQ(core->activeConnection, connection);
    auto* hint = dynamic_cast<Look*>(core->windows.back());
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->title, "You cannot logout while in combat.");
    EXPECT_EQ(hint->text, "");
    EXPECT_EQ(hint->lifetimeMs, 2500);
    EXPECT_EQ(hint->x, 321);
    EXPECT_EQ(core->screen->mouse->swallowRelease, 1);

    // Allowed: the connections close, the game is left and the box is gone.
    core->statusEffects[6].active = 0;
    Press(box, 25);
    EXPECT_FALSE(Listed(box));
    EXPECT_EQ(core->activeConnection, nullptr);
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_NE(core->FindWindow(WindowType::Desktop), nullptr);
}

TEST_F(BoxTest, TheServersSellQuestionAnswersAndOwnsItsItem) {
    bool deleted = false;
    Connect();
    Sure* box = Open(new Sure(core.get(), "Selling", "Sell?", Sure::SellQuestion,
                              new ProbeItem(core.get(), &deleted), 0));
    box->OnSubmit();
    box->OnSubmit();  // a second Enter before the box goes answers nothing
    EXPECT_EQ(Sent(1), std::vector<uint8_t>{221});
    EXPECT_EQ(box->state, 3u);
    EXPECT_FALSE(deleted);
    core->RenderFrame();
    EXPECT_FALSE(Listed(box));
    EXPECT_TRUE(deleted);

    deleted = false;
    box = Open(new Sure(core.get(), "Selling", "Sell?", Sure::SellQuestion,
                        new ProbeItem(core.get(), &deleted), 0));
    Press(box, ButtonId::Close);
    EXPECT_EQ(Sent(2), (std::vector<uint8_t>{221, 222}));
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(Listed(box));
}

TEST_F(BoxTest, ABoxThatSaidYesAnswersNothingElseInTheSameFrame) {
    const struct {
        const char* name;
        void (*late)(Core* core, Sure* box);
    } lateAnswers[] = {
        {"no", [](Core*, Sure* box) { Press(box, ButtonId::No); }},
        {"close", [](Core*, Sure* box) { Press(box, ButtonId::Close); }},
        {"escape", [](Core* core, Sure*) { core->OnEscape(); }},
        {"yes again", [](Core*, Sure* box) { Press(box, ButtonId::Yes); }},
    };
    Connect();
    size_t answers = 0;
    for (const auto& late : lateAnswers) {
        bool deleted = false;
        Sure* box = Open(new Sure(core.get(), "Selling", "Sell?", Sure::SellQuestion,
                                  new ProbeItem(core.get(), &deleted), 0));
        Press(box, ButtonId::Yes);
        late.late(core.get(), box);
        ++answers;
        EXPECT_EQ(Sent(answers), std::vector<uint8_t>(answers, 221)) << late.name;
        EXPECT_TRUE(Listed(box)) << late.name;  // removed with the next frame
        core->RenderFrame();
        EXPECT_FALSE(Listed(box)) << late.name;
        EXPECT_TRUE(deleted) << late.name;
    }
}

TEST_F(BoxTest, TheShopsOwnSaleConfirmsThroughTheShop) {
    bool deleted = false;
    Connect();
    auto* entry = new ShopEntry(core.get(), 143, 0, 0, 0, 0, 1, 1, 7, ItemIdle);
    Open(new Shop(core.get(), "Trader", {}, {entry}));
    core->useItemX = 0xFFFC, core->useItemY = 249, core->useItemZ = 0, core->moveCount = 1;
    auto* asked = new ProbeItem(core.get(), &deleted);
    asked->shapeId = entry->shapeId;
    Sure* box = Open(new Sure(core.get(), "Selling", "Sell?", Sure::Sell, asked, 0));
    Press(box, 25);
    EXPECT_EQ(Sent(2), (std::vector<uint8_t>{219, 221}));
    // The answered box goes at the next tick, with the item it owns.
    core->RemoveWindow(box);
    EXPECT_TRUE(deleted);

    bool secondDeleted = false;
    box = Open(new Sure(core.get(), "Selling", "Sell?", Sure::Sell,
                        new ProbeItem(core.get(), &secondDeleted), 0));
    Press(box, 26);
    EXPECT_TRUE(secondDeleted);
    EXPECT_EQ(Sent(2), (std::vector<uint8_t>{219, 221}));  // no answer for the shop's own sale
}

TEST_F(BoxTest, CancellingABuyRestoresTheShopStack) {
    bool deleted = false;
    ProbeItem item(core.get(), &deleted);
    item.count = 3;
    core->moveStackCount = 40;
    Sure* box = Open(new Sure(core.get(), "Buying", "Buy?", Sure::Buy, &item, 1));
    Press(box, 26);
    EXPECT_EQ(item.count, 40u);
    EXPECT_FALSE(deleted);  // the shop's item
    EXPECT_TRUE(core->windows.empty());
}

TEST_F(BoxTest, AvatarQuestionsActOnTheOpenAvatarList) {
    Sure* box = Open(new Sure(core.get(), "Delete Avatar", "Delete?", Sure::DeleteAvatar));
    box->OnSubmit();  // no avatar list: the step is skipped, the box still closes
    EXPECT_EQ(box->state, 3u);

    Avatars* avatars = Open(new Avatars(core.get()));
    AvatarEntry aria, bob;
    aria.name = "Aria";
    bob.name = "Bob";
    avatars->SetAvatarList({aria, bob});
    avatars->list->Select(1);
    Open(new Sure(core.get(), "Delete Avatar", "Delete?", Sure::DeleteAvatar))->OnSubmit();
    EXPECT_EQ(avatars->list->marks, (std::vector<bool>{false, true}));
    Open(new Sure(core.get(), "Restore Avatar", "Restore?", Sure::RestoreAvatar))->OnSubmit();
    EXPECT_EQ(avatars->list->marks, (std::vector<bool>{false, false}));

    Connect();
    Open(new Sure(core.get(), "Link Account to Steam", "Link?", Sure::LinkSteam))->OnSubmit();
    EXPECT_EQ(core->FindWindow(WindowType::Avatars), nullptr);
    EXPECT_EQ(core->activeConnection, nullptr);
    EXPECT_NE(core->FindWindow(WindowType::Link), nullptr);
}

}  // namespace
