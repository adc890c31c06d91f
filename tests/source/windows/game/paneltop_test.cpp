// The status panel: which rows and buttons the options make, the live rows' texts and bars, the
// tooltips, the highlights and the Logout blink, the buttons' windows and boxes, and its menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "protocol.h"
#include "render.h"
#include "support/drawntext.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "support/windowrect.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/game/paneltop.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/weblink.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint8_t Fighting = 6;
constexpr uint8_t Options::*PanelOptions[] = {
    &Options::mping,    &Options::mexp,     &Options::beta_mcap, &Options::beta_mpool,
    &Options::mchar,    &Options::mjournal, &Options::mhouse,    &Options::mstore,
    &Options::mfriends, &Options::msetting, &Options::mguide,    &Options::mreprt,
    &Options::mlogout};

std::vector<std::string> openedPages;
void RecordPage(const std::string& address) { openedPages.push_back(address); }

class PaneltopTest : public ::testing::Test {
protected:
    void SetUp() override {
        openedPages.clear();
        webPageOpener = RecordPage;
        core->inGame = 1;
        for (auto option : PanelOptions) core->options.*option = 0;
        core->InitStatusEffects();
        column = static_cast<Panel*>(core->AddWindow(new Panel(core.get(), nullptr, Panel::Left)));
    }
    void TearDown() override { webPageOpener = savedOpener; }

    Paneltop* Open() {
        panel = static_cast<Paneltop*>(core->AddWindow(new Paneltop(core.get(), column)));
        core->paneltopWindow = panel;
        return panel;
    }
    std::vector<uint32_t> ButtonIds() const {
        std::vector<uint32_t> ids;
        for (const Button* button : panel->buttons) ids.push_back(button->id);
        return ids;
    }
    template <class Kind>
    Kind* Find(uint32_t type) {
        return dynamic_cast<Kind*>(core->FindWindow(type));
    }
    size_t Count(uint32_t type) const {
        return size_t(
            std::count_if(core->windows.begin(), core->windows.end(),
                          [type](const Window* window) { return window->typeId == type; }));
    }
    void Press(uint32_t id) {
        Button* button = panel->FindButton(id);
        ASSERT_NE(button, nullptr) << "button " << id;
        panel->OnCommand(button);
    }
    // The middle of a live row on the screen.
    void ReleaseOver(const WindowRect& row) {
        panel->OnMouseUp(panel->x + row.x + row.w / 2, panel->y + row.y + row.h / 2);
    }
    Look* Tooltip() { return Find<Look>(WindowType::Look); }
    void Fight(bool fighting) {
        ASSERT_GT(core->statusEffects.size(), Fighting);
        core->statusEffects[Fighting].active = fighting;
    }

    WebPageOpener savedOpener = webPageOpener;
    std::unique_ptr<Core> core = MakeTestCore();
    Panel* column = nullptr;
    Paneltop* panel = nullptr;
};

TEST_F(PaneltopTest, WithAllOptionsOffItHoldsNothingAndIsSixPixelsHigh) {
    Open();
    EXPECT_EQ(panel->height, 6);
    EXPECT_EQ(panel->buttonCount, 0u);
    EXPECT_TRUE(panel->buttons.empty());
    EXPECT_EQ(panel->connectionRow.h, 0);
    EXPECT_EQ(panel->typeId, WindowType::Paneltop);
    EXPECT_EQ(panel->name, "");
    EXPECT_TRUE(panel->movable);
    EXPECT_FALSE(panel->resizable);
}

TEST_F(PaneltopTest, RowsComeFirstThenTheButtonsInTheirOrder) {
    for (auto option : PanelOptions) core->options.*option = 1;
    core->options.widescreen = 1;
    core->nobleDaysLeft = 2;
    core->guilds.push_back(GuildInfo{});
    Open();
    EXPECT_EQ(panel->connectionRow, (WindowRect{4, 4, 148, 18}));
    EXPECT_EQ(panel->experienceRow, (WindowRect{4, 22, 148, 18}));
    EXPECT_EQ(panel->capacityRow, (WindowRect{4, 40, 148, 18}));
    EXPECT_EQ(panel->skillPoolRow, (WindowRect{4, 58, 148, 18}));
    EXPECT_EQ(ButtonIds(), (std::vector<uint32_t>{21, 135, 109, 142, 95, 22, 3, 23, 108, 4}));
    EXPECT_EQ(panel->buttons.front()->y, 76);
    EXPECT_EQ(panel->buttons.back()->y, 76 + 9 * 19);
    EXPECT_EQ(panel->buttons.back()->caption, "Logout");
    EXPECT_EQ(panel->height, 76 + 10 * 19 + 2);
    EXPECT_EQ(panel->buttonCount, 10u);
}

TEST_F(PaneltopTest, ConditionalButtonsFollowTheirData) {
    core->options.mhouse = core->options.mfriends = 1;
    core->options.widescreen = 0;
    core->options.mexp = 1;
    Open();
    // No noble days, no house, no guild; experience only in the wide layout.
    EXPECT_EQ(ButtonIds(), (std::vector<uint32_t>{22}));
    EXPECT_EQ(panel->experienceRow.h, 0);
    EXPECT_EQ(panel->buttons[0]->caption, "Friends");
    core->hasHouse = 1;
    core->friends.push_back(FriendRecord{1, 1, "Ann", 0, "", 1});
    panel->Refresh();
    EXPECT_EQ(ButtonIds(), (std::vector<uint32_t>{109, 22}));
    EXPECT_EQ(panel->buttons[1]->caption, "Friends & Foes");
}

TEST(PingQuality, TheWordsChangeAtEachHundredMilliseconds) {
    const struct {
        uint32_t ping;
        std::string word;
        int32_t skinX;
    } cases[] = {{0, "Excellent", 251},   {99, "Excellent", 251},   {100, "Good", 257},
                 {199, "Good", 257},      {200, "Moderate", 263},   {300, "Deficient", 263},
                 {399, "Deficient", 263}, {400, "Inadequate", 269}, {60000, "Inadequate", 269}};
    for (const auto& c : cases) {
        EXPECT_EQ(QualityOfPing(c.ping).word, c.word) << c.ping;
        EXPECT_EQ(QualityOfPing(c.ping).skinX, c.skinX) << c.ping;
    }
}

TEST(PanelNumbers, KilogramsAndTheSkillPoolShowOneDecimal) {
    EXPECT_EQ(KilogramText(15500), "15.5");
    EXPECT_EQ(KilogramText(20000), "20.0");
    EXPECT_EQ(KilogramText(99), "0.0");
    EXPECT_EQ(KilogramText(1234567), "1,234.5");
    EXPECT_EQ(SkillPoolText(12345), "12.3");
    EXPECT_EQ(SkillPoolText(0), "0.0");
    EXPECT_EQ(SkillPoolText(100000), "100.0");
}

TEST_F(PaneltopTest, TheConnectionTooltipNamesTheMeanPing) {
    core->options.mping = 1;
    Open();
    for (uint32_t ping : {99u, 100u, 399u, 400u}) {
        core->pingAverage = ping;
        ReleaseOver(panel->connectionRow);
        ASSERT_NE(Tooltip(), nullptr);
        EXPECT_EQ(Tooltip()->title, std::string(QualityOfPing(ping).word) +
                                        " connection ( ping: " + std::to_string(ping) + " )");
        core->RemoveWindow(Tooltip());
        core->DeleteClosedWindows();
    }
}

TEST_F(PaneltopTest, TheCapacityTooltipWarnsOnlyAboveTheLimit) {
    core->options.beta_mcap = 1;
    Open();
    core->capacity = 20000;
    const struct {
        uint32_t carried;
        std::string text;
    } cases[] = {{15500, "Capacity:  15.5 / 20.0 kg"},
                 {20000, "Capacity:  20.0 / 20.0 kg"},
                 {20001, "Capacity:  20.0 / 20.0 kg\nWeight limit exceeded"}};
    for (const auto& c : cases) {
        core->carriedWeight = c.carried;
        ReleaseOver(panel->capacityRow);
        ASSERT_NE(Tooltip(), nullptr);
        EXPECT_EQ(Tooltip()->title, c.text);
        core->RemoveWindow(Tooltip());
        core->DeleteClosedWindows();
    }
}

TEST_F(PaneltopTest, TooltipsNeedTheRowAndNoArmedInputMode) {
    core->options.beta_mpool = core->options.mlogout = 1;
    core->options.widescreen = core->options.mexp = 1;
    Open();
    core->experience = 1500;
    core->experienceNext = 4000;
    ReleaseOver(panel->experienceRow);
    ASSERT_NE(Tooltip(), nullptr);
    EXPECT_EQ(Tooltip()->title, "Experience:  1500 / 4000");
    core->RemoveWindow(Tooltip());
    ReleaseOver(panel->skillPoolRow);
    ASSERT_NE(Tooltip(), nullptr);
    EXPECT_EQ(Tooltip()->title, "Skill pool");
    core->RemoveWindow(Tooltip());
    // Over a button, on the row's 4-pixel margin, or with a mode armed: nothing.
    const Button* logout = panel->FindButton(Paneltop::LogoutButton);
    panel->OnMouseUp(panel->x + 20, panel->y + logout->y + 5);
    panel->OnMouseUp(panel->x + 2, panel->y + panel->skillPoolRow.y + 5);
    core->inputModes[InputTradeSelect] = 1;
    ReleaseOver(panel->skillPoolRow);
    EXPECT_EQ(Tooltip(), nullptr);
}

struct HouseCase {
    const char* name;
    uint32_t nobleDays;
    uint8_t hasHouse;
    uint8_t daysToDue;
    uint32_t rent, bank;
    uint8_t warning;
};

class HouseWarning : public PaneltopTest, public ::testing::WithParamInterface<HouseCase> {};

TEST_P(HouseWarning, FollowsTheNobleDaysAndTheBank) {
    const HouseCase& c = GetParam();
    Open();
    core->nobleDaysLeft = c.nobleDays;
    core->hasHouse = c.hasHouse;
    core->houseInfo.daysToDue = c.daysToDue;
    core->houseInfo.rent = c.rent;
    core->bankBalance = c.bank;
    panel->UpdateHouse();
    EXPECT_EQ(panel->houseWarning, c.warning);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HouseWarning,
    ::testing::Values(HouseCase{"NoNobleDays", 0, 0, 0, 0, 0, 1},
                      HouseCase{"NobleWithoutHouse", 3, 0, 9, 900, 0, 0},
                      HouseCase{"NobleEndsBeforeRent", 3, 1, 4, 100, 1000, 1},
                      HouseCase{"NobleLastsToRent", 4, 1, 4, 100, 1000, 0},
                      HouseCase{"BankShortFourDaysAhead", 30, 1, 4, 1001, 1000, 1},
                      HouseCase{"BankShortFiveDaysAhead", 30, 1, 5, 1001, 1000, 0},
                      HouseCase{"BankCoversRent", 30, 1, 2, 1000, 1000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaneltopTest, HouseWarnsOfTheNobleAccountWhenPressed) {
    core->options.mhouse = 1;
    core->nobleDaysLeft = 3;
    core->hasHouse = 1;
    core->houseInfo.daysToDue = 4;
    Open();
    EXPECT_EQ(panel->houseWarning, 1);
    Press(Paneltop::HouseButton);
    EXPECT_NE(core->FindWindow(WindowType::House), nullptr);
    auto* box = Find<Message>(WindowType::Message);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->name, "House");
    EXPECT_EQ(box->text, "Your noble account is due to run out before the next rent payment.");
}

TEST_F(PaneltopTest, HouseWithoutAHouseOnlyExplains) {
    core->options.mhouse = 1;
    core->nobleDaysLeft = 3;
    Open();
    Press(Paneltop::HouseButton);
    EXPECT_EQ(core->FindWindow(WindowType::House), nullptr);
    auto* box = Find<Message>(WindowType::Message);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, "You do currently not have a house. Visit an auctioneer to rent one.");
}

TEST_F(PaneltopTest, LogoutAsksUnlessTheFightForbidsIt) {
    core->options.mlogout = 1;
    Open();
    Fight(true);
    Press(Paneltop::LogoutButton);
    EXPECT_EQ(core->FindWindow(WindowType::Sure), nullptr);
    ASSERT_NE(Tooltip(), nullptr);
    EXPECT_EQ(Tooltip()->title, "You cannot logout while in combat.");
    EXPECT_EQ(Tooltip()->lifetimeMs, 2500);
    // After the death notice a fight no longer holds the player.
    core->gameHalted = 1;
    Press(Paneltop::LogoutButton);
    auto* box = Find<Sure>(WindowType::Sure);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->action, Sure::Logout);
    Fight(false);
    core->gameHalted = 0;
    core->RemoveWindow(box);
    Press(Paneltop::LogoutButton);
    EXPECT_NE(core->FindWindow(WindowType::Sure), nullptr);
}

TEST_F(PaneltopTest, ButtonsOpenTheirWindows) {
    for (auto option : PanelOptions) core->options.*option = 1;
    core->guilds.push_back(GuildInfo{1, "Order", 0, 0, 0, {}});
    core->guilds.push_back(GuildInfo{2, "Band", 0, 1, 0, {}});
    Open();
    Press(Paneltop::SettingsButton);
    EXPECT_EQ(Count(WindowType::Settings), 1u);
    Press(Paneltop::CharacterButton);
    EXPECT_EQ(Count(WindowType::Character), 1u);
    EXPECT_EQ(Count(WindowType::Attribute), 0u);
    core->attributePoints = 2;
    Press(Paneltop::CharacterButton);
    EXPECT_EQ(Count(WindowType::Character), 2u);
    EXPECT_EQ(Count(WindowType::Attribute), 1u);
    // The guide is looked up first.
    Press(Paneltop::GuideButton);
    Press(Paneltop::GuideButton);
    EXPECT_EQ(Count(WindowType::Help), 1u);
    Press(Paneltop::GuildButton);
    EXPECT_EQ(Count(WindowType::Guild), 1u);
    EXPECT_EQ(Count(WindowType::Guildinvite), 1u);
    Press(Paneltop::FriendsButton);
    EXPECT_EQ(Count(WindowType::Friendlist), 1u);
    EXPECT_EQ(panel->FindButton(Paneltop::FriendsButton)->pressed, 0);
    // While the friends list is open its button is disabled.
    panel->Refresh();
    EXPECT_EQ(panel->FindButton(Paneltop::FriendsButton)->enabled, 0);
}

TEST_F(PaneltopTest, TheJournalExplainsAnEmptyJournalAndClearsItsMark) {
    core->options.mjournal = 1;
    Open();
    panel->journalNew = 1;
    Press(Paneltop::JournalButton);
    EXPECT_EQ(core->FindWindow(WindowType::Questlog), nullptr);
    auto* box = Find<Message>(WindowType::Message);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, "You do not have a journal entry yet. Start exploring!");
    EXPECT_EQ(panel->journalNew, 1);
    core->quests.push_back(QuestRecord{});
    Press(Paneltop::JournalButton);
    EXPECT_NE(core->FindWindow(WindowType::Questlog), nullptr);
    EXPECT_EQ(panel->journalNew, 0);
}

TEST_F(PaneltopTest, ReportAndStoreBoxesLinkTheirPagesWithoutABrowser) {
    core->options.mreprt = core->options.mstore = 1;
    Open();
    const struct {
        uint32_t button;
        std::string title, text, caption, page;
    } cases[] = {
        {Paneltop::ReportButton, "Report",
         "Please report bugs, feedback or any ingame problems on Discord.", "Discord",
         DiscordInvite},
        {Paneltop::StoreButton, "Store", "The store requires steam. Go to the steam website.",
         "Steam", SteamStorePage},
    };
    for (const auto& c : cases) {
        openedPages.clear();
        Press(c.button);
        auto* box = Find<Message>(WindowType::Message);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->name, c.title);
        EXPECT_EQ(box->text, c.text);
        Button* link = box->FindButton(ButtonId::Ok);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->caption, c.caption);
        box->OnCommand(link);
        EXPECT_EQ(openedPages, (std::vector<std::string>{c.page}));
        core->DeleteClosedWindows();
        EXPECT_EQ(core->FindWindow(WindowType::Message), nullptr);
    }
}

TEST_F(PaneltopTest, TheStoreNeedsAnAccountLinkedToSteam) {
    core->options.mstore = 1;
    core->steamReady = 1;
    Open();
    RecordingConnection connection(core.get(), StateGame);
    Press(Paneltop::StoreButton);
    auto* box = Find<Message>(WindowType::Message);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text,
              "This account is not authorised with steam.\nLink your account to Steam via the "
              "main screen > Account > Steam.");
    EXPECT_EQ(core->FindWindow(WindowType::Store), nullptr);
    connection.protocol->ticketPending = 1;
    Press(Paneltop::StoreButton);
    EXPECT_NE(core->FindWindow(WindowType::Store), nullptr);
    connection.protocol->ticketPending = 0;
}

TEST_F(PaneltopTest, HotkeysPressOnlyShownButtons) {
    core->options.msetting = 1;
    Open();
    panel->OnButton(Paneltop::CharacterButton);
    panel->OnButton(Paneltop::SettingsButton);
    EXPECT_EQ(core->FindWindow(WindowType::Character), nullptr);
    EXPECT_NE(core->FindWindow(WindowType::Settings), nullptr);
}

TEST_F(PaneltopTest, TheMenuShowsOrHidesEachOptionAndTurningConnectionOffShortensThePanel) {
    core->options.mping = core->options.mlogout = 1;
    Open();
    const int32_t before = panel->height;
    panel->OnRightClick(40, 30);
    auto* menu = Find<Action>(WindowType::Action);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title, "");
    std::vector<std::string> rows;
    for (const Action::Entry& entry : menu->entries)
        if (entry.code >= 240)
            rows.push_back(std::to_string(entry.code) + " " + entry.label + " " + entry.hint);
    EXPECT_EQ(rows,
              (std::vector<std::string>{
                  "240 Connection Hide", "241 Capacity (beta) Show", "242 Skill pool (beta) Show",
                  "243 Character Show", "244 Journal Show", "245 House Show", "246 Store Show",
                  "247 Friends Show", "248 Settings Show", "249 Guide Show", "250 Report Show"}));
    const auto connection = std::find_if(menu->entries.begin(), menu->entries.end(),
                                         [](const Action::Entry& e) { return e.code == 240; });
    menu->Execute(uint32_t(connection - menu->entries.begin()));
    EXPECT_EQ(core->options.mping, 0);
    EXPECT_EQ(panel->connectionRow.h, 0);
    EXPECT_EQ(panel->height, before - 18);
    EXPECT_EQ(panel->buttons.front()->y, 4);
}

// The game screen's strip under the columns, 220 pixels high at the bottom of the client.
class Strip : public Window {
public:
    explicit Strip(Core* core) : Window(core) {
        Build();
        y = 380;
        width = 800;
        height = 220;
    }
};

TEST_F(PaneltopTest, InAColumnItsHeightChangesOnlyWhenTheColumnMakesRoom) {
    core->options.mping = core->options.mlogout = 1;
    core->RemoveWindow(column);
    Window* strip = core->AddWindow(new Strip(core.get()));
    column = static_cast<Panel*>(core->AddWindow(new Panel(core.get(), strip, Panel::Left)));
    column->Place(800, 600);
    panel = new Paneltop(core.get(), column);
    column->Add(panel);
    column->Pin(panel, true);
    core->paneltopWindow = panel;
    auto* below = new Panellist(core.get(), column);
    below->Build();
    column->Add(below);
    const int32_t full = panel->height;
    EXPECT_EQ(panel->y, 0);
    EXPECT_EQ(column->topReserve, full + 1);
    EXPECT_EQ(below->y, full + 1);

    core->options.mping = 0;
    panel->Refresh();
    EXPECT_EQ(panel->height, full - 18);
    EXPECT_EQ(panel->minHeight, full - 18);
    EXPECT_EQ(below->y, full - 17);
    EXPECT_EQ(column->topReserve, full - 17);

    // With only the least free room left the column refuses the taller panel.
    // The friends list joins the column under the panel, once.
    core->options.mfriends = 1;
    panel->Refresh();
    Press(Paneltop::FriendsButton);
    Press(Paneltop::FriendsButton);
    EXPECT_EQ(Count(WindowType::Friendlist), 1u);
    ASSERT_EQ(column->normal.size(), 3u);
    EXPECT_EQ(column->normal[2]->typeId, WindowType::Friendlist);
    column->Close(column->normal[2], true);
    core->options.mfriends = 0;
    panel->Refresh();
    ASSERT_EQ(panel->height, full - 18);

    below->SetHeightClamped(below->height + column->GetRect().h - Panel::MinFree);
    ASSERT_EQ(column->GetRect().h, Panel::MinFree);
    core->options.mping = 1;
    panel->Refresh();
    EXPECT_EQ(panel->height, full - 18);
    EXPECT_EQ(below->y, full - 17);
}

// Drawing: the live rows' texts, the highlights and the blink, through the recording driver.
class PaneltopDrawing : public PaneltopTest {
protected:
    void SetUp() override {
        PaneltopTest::SetUp();
        RecordingDriver::Install();
        // The interface skin, which the bars, frames and buttons are cut from.
        core->render->images[1] = GFX_CreateImage(1024, 512, nullptr, 0, 0, 1);
        core->render->images[2] = GFX_CreateImage(64, 64, nullptr, 0, 0, 2);
    }
    void TearDown() override {
        UseNullDriver();
        PaneltopTest::TearDown();
    }
    std::vector<std::string> DrawLog() {
        RecordingDriver::Take();
        GFX_BeginFrame(nullptr);
        panel->Draw();
        GFX_EndFrame();
        return RecordingDriver::Take();
    }
    std::vector<std::string> RowTexts() { return DrawnTextsIn(DrawLog(), 0xE0E0E0E0); }
    // Whether a drawn call of the log carries the tint.
    static bool Tinted(const std::vector<std::string>& log, const std::string& tint) {
        return std::any_of(log.begin(), log.end(), [&](const std::string& call) {
            return call.find(tint) != std::string::npos;
        });
    }
    // How many calls of the log begin with the text.
    static size_t Starting(const std::vector<std::string>& log, const std::string& begin) {
        return size_t(std::count_if(log.begin(), log.end(), [&](const std::string& call) {
            return call.rfind(begin, 0) == 0;
        }));
    }
    // The tiled bar pieces: x, y, width, then the skin part.
    static std::string Piece(int32_t x, int32_t y, int32_t w, int32_t sx, int32_t sy, int32_t sw) {
        const std::string size = std::to_string(sw) + ",9,";
        return "DrawImagePartTiledGradient(" + std::to_string(x) + "," + std::to_string(y) + "," +
               std::to_string(w) + ",9,0,0," + size + std::to_string(sx) + "," +
               std::to_string(sy) + "," + size;
    }
};

TEST_F(PaneltopDrawing, TheLiveRowsShowTheirTexts) {
    core->options.mping = core->options.beta_mcap = core->options.beta_mpool = 1;
    Open();
    core->pingAverage = 250;
    core->carriedWeight = 15500;
    core->capacity = 20000;
    core->skillPool = 12345;
    const std::vector<std::string> log = DrawLog();
    EXPECT_EQ(DrawnTextsIn(log, 0xE0E0E0E0),
              (std::vector<std::string>{"Moderate", "77 %", "12.3"}));
    // Bars 140 wide at x 8: the connection's all in the quality's colour; 77.5 % of the
    // capacity's and 12.345 % of the pool's filled, the rest empty.
    EXPECT_EQ(Starting(log, Piece(8, 8, 140, 263, 191, 4)), 1u);
    EXPECT_EQ(Starting(log, Piece(8, 26, 108, 275, 191, 4)), 1u);
    EXPECT_EQ(Starting(log, Piece(116, 26, 32, 101, 142, 100)), 1u);
    EXPECT_EQ(Starting(log, Piece(8, 44, 17, 275, 191, 4)), 1u);
    EXPECT_EQ(Starting(log, Piece(25, 44, 123, 101, 142, 100)), 1u);
    // A full pool fills the bar whole.
    core->skillPool = 250000;
    EXPECT_EQ(Starting(DrawLog(), Piece(8, 44, 140, 275, 191, 4)), 1u);
}

TEST_F(PaneltopDrawing, TheWideLayoutWithoutPanelsDropsOnlyTheLineAndTheTestClientAll) {
    core->options.mping = 1;
    Open();
    const std::string line = "DrawImageTiled(0," + std::to_string(panel->height) + ",156,1,";
    EXPECT_EQ(Starting(DrawLog(), line), 1u);
    core->options.widescreen = 1;
    core->options.panel = 0;
    const std::vector<std::string> wide = DrawLog();
    EXPECT_EQ(Starting(wide, "DrawImageTiled("), 0u);
    EXPECT_EQ(DrawnTextsIn(wide, 0xE0E0E0E0), (std::vector<std::string>{"Excellent"}));
    core->testWalker.testing = 1;
    EXPECT_EQ(Starting(DrawLog(), "Draw"), 0u);
}

TEST_F(PaneltopDrawing, AMaximumOfZeroShowsAnEmptyBarAndZeroPercent) {
    core->options.widescreen = core->options.panel = 1;
    core->options.mexp = core->options.beta_mcap = 1;
    Open();
    core->experience = 50;
    core->experienceNext = 0;
    core->carriedWeight = 900;
    core->capacity = 0;
    const std::vector<std::string> log = DrawLog();
    EXPECT_EQ(DrawnTextsIn(log, 0xE0E0E0E0), (std::vector<std::string>{"0 %", "0 %"}));
    EXPECT_EQ(Starting(log, Piece(8, 8, 140, 101, 142, 100)), 1u);
    EXPECT_EQ(Starting(log, Piece(8, 26, 140, 101, 142, 100)), 1u);
    EXPECT_EQ(Starting(log, "DrawImagePartTiledGradient(8,8,0,"), 0u);
}

TEST_F(PaneltopDrawing, HighlightsTintTheirButtons) {
    core->options.mchar = core->options.mguide = 1;
    Open();
    EXPECT_FALSE(Tinted(DrawLog(), "0xC080F580"));
    EXPECT_TRUE(Tinted(DrawLog(), "0xC0C0FFC0"));
    core->attributePoints = 1;
    EXPECT_TRUE(Tinted(DrawLog(), "0xC080F580"));
}

TEST_F(PaneltopDrawing, AfterTheDeathNoticeLogoutBlinksEverySecond) {
    core->options.mlogout = 1;
    Open();
    core->frameTimeMs = 10000;
    EXPECT_FALSE(Tinted(DrawLog(), "0xC0E08080"));
    core->gameHalted = 1;
    const struct {
        uint64_t at;
        bool lit;
    } cases[] = {{10000, true}, {10499, true}, {10500, false}, {10999, false}, {11000, true}};
    for (const auto& c : cases) {
        core->frameTimeMs = c.at;
        EXPECT_EQ(Tinted(DrawLog(), "0xC0E08080"), c.lit) << c.at;
    }
}

}  // namespace

namespace {

// Leaving the game deletes the windows bottom first: the friends list, opened later, looks for
// the status panel when it goes.
TEST_F(PaneltopTest, AStatusPanelDeletedBeforeTheFriendsListIsNotLookedFor) {
    Open()->OpenFriendlist();
    ASSERT_EQ(Count(WindowType::Friendlist), 1u);
    core->RemoveWindow(panel);
    EXPECT_EQ(core->paneltopWindow, nullptr);
    core->RemoveWindow(core->FindWindow(WindowType::Friendlist));
    EXPECT_EQ(Count(WindowType::Friendlist), 0u);
}

}  // namespace
