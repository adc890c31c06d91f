// The action codes of the popup menu: the requests each code sends, the windows it finds or
// opens, the halted game, a menu whose owner went away, the player's location marker and its
// limit, the greetings, and where a held item is taken to lie.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "creature.h"
#include "font.h"
#include "item.h"
#include "mappage.h"
#include "mappart.h"
#include "notification.h"
#include "paragraph.h"
#include "paragraphs.h"
#include "platform.h"
#include "protocol.h"
#include "spell.h"
#include "support/chatconsole.h"
#include "support/creatureworld.h"
#include "support/mapdata.h"
#include "support/recordingconnection.h"
#include "tile.h"
#include "windows/dialogs/map.h"
#include "windows/dialogs/marker.h"
#include "windows/dialogs/questlog.h"
#include "windows/dialogs/shop.h"
#include "windows/game/action.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/container.h"
#include "windows/game/friendlist.h"
#include "windows/game/spellbar.h"
#include "windows/guide/help.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/panellist.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Where the tests open their menus.
constexpr int32_t MenuX = 300, MenuY = 200;
// What the own line in Main starts with before its text.
const std::string Spoken =
    MakeColorCode(255, 255, 255, 255) + "Hero" + MakeColorCode(224, 224, 224, 224) + ": ";

Bytes U32(uint32_t value) {
    return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}

Bytes Text(const std::string& text) {
    Bytes bytes{uint8_t(text.size())};
    for (char c : text) bytes.push_back(uint8_t(c));
    return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes bytes;
    for (const Bytes& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

// A window that remembers whether its Close slot ran.
class ClosingChannel : public Channel {
public:
    explicit ClosingChannel(Core* core) : Channel(core, nullptr, 1, "World", 1) {}
    void Close() override { closed = true; }
    bool closed = false;
};

class ActionCodes : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
        FloorAround(100, 100, 2);
        player = SpawnPlayer({100, 100, 7}, "Hero");
        ally = Spawn({101, 100, 7}, "Ally");
        ally->playerFlag = 1;
    }

    void TearDown() override {
        CreatureWorld::TearDown();
        connection.reset();
    }

    // A menu of one row with the code, opened at the menu position and added to the Core.
    Action* Menu(uint32_t code, const std::string& title = "", uint32_t context = 0,
                 Window* owner = nullptr) {
        auto* menu = new Action(core.get(), owner, title, context);
        menu->AddEntry(code, "row");
        menu->Open(MenuX, MenuY);
        core->AddWindow(menu);
        return menu;
    }

    void Run(uint32_t code, const std::string& title = "", uint32_t context = 0,
             Window* owner = nullptr) {
        Menu(code, title, context, owner)->Execute(0);
    }

    // The requests sent since the last call.
    std::vector<Bytes> Sent() { return connection->SentSinceLastCall(); }

    // The console with its main chat box, as entering the game makes them.
    Chatbox* OpenChat() { return OpenConsole(core.get())->mainChatbox; }

    // An item on the player's tile held as the field or a window would hold it.
    Item* Hold(uint16_t x, uint16_t y, uint8_t z, uint8_t stack) {
        Tile* tile = world->GetTileXY(100, 100, 7);
        Stack(tile, SampleShape::Torch);
        core->dragTo = tile->things.back();
        core->useItemX = x;
        core->useItemY = y;
        core->useItemZ = z;
        core->useItemIndex = stack;
        return static_cast<Item*>(core->dragTo);
    }

    template <typename W>
    W* Found(uint32_t type) {
        return dynamic_cast<W*>(core->FindWindow(type));
    }

    size_t Count(uint32_t type) const {
        size_t count = 0;
        for (const Window* window : core->windows) count += window->typeId == type;
        return count;
    }

    std::unique_ptr<RecordingConnection> connection;
    Creature* player = nullptr;
    Creature* ally = nullptr;
};

TEST_F(ActionCodes, EachRequestCodeSendsItsRequest) {
    core->AddWindow(new Container(core.get(), nullptr, 7, 4));  // the container stacked below
    const std::string name = "Bob";
    const uint32_t id = 0x0A0B0C0D;
    const struct {
        uint32_t code;
        std::string title;
        uint32_t context;
        std::vector<Bytes> requests;
    } cases[] = {
        {20, "", 0x107, {{86, 7}}},  // the low byte names the container
        {32, "", id, {Join({{65}, U32(id)})}},
        {34, name, 0, {Join({{64}, Text(name), {0}, Text("")})}},
        {37, name, 0, {Join({{172}, Text(name)})}},
        {114, "", id, {Join({{170}, U32(id)})}},
        {115, "", id, {Join({{169}, U32(id)})}},
        {170, "", id, {Join({{169}, U32(id)})}},
        {171, "", id, {Join({{175}, U32(id)})}},
        {173, "", id, {Join({{174}, U32(id)})}},
        {174, "", id, {Join({{171}, U32(id)})}},
        {180, "", id, {Join({{88}, U32(id)})}},
        {221, name, id, {Join({{227, 4}, Text(name)})}},
        {222, "", id, {Join({{227, 5}, U32(id)})}},
        {223, "", id, {Join({{227, 6}, U32(id)})}},
        {224, "", id, {Join({{227, 7}, U32(id), {1}})}},
        {225, "", id, {Join({{227, 7}, U32(id), {2}})}},
        {226, "", id, {Join({{227, 7}, U32(id), {3}})}},
        {228, name, id, {Join({{227, 8}, Text(name)})}},
        {229, name, id, {Join({{227, 9}, Text(name)})}},
        // The creature of the context: attacked, examined, asked to trade.
        {110, "", ally->id, {Join({{51, 0}, U32(ally->id)})}},
        {112, "", ally->id, {Join({{165}, U32(ally->id)})}},
        {102, "", ally->id, {Join({{165}, U32(ally->id)})}},
        {113, "", ally->id, {Join({{88}, U32(ally->id)})}},
        // Without that creature they send nothing.
        {110, "", 999, {}},
        {112, "", 999, {}},
        {113, "", 999, {}},
        // Codes that send nothing: a separator, "Reject trade", gaps of the table and codes past
        // it; the panel codes wait for the panels.
        {0, "", id, {}},
        {181, "", id, {}},
        {1, "", id, {}},
        {5, "", id, {}},
        {227, name, id, {}},
        {251, name, id, {}},
        {0xFFFFFFFF, name, id, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Run(c.code, c.title, c.context);
        EXPECT_EQ(Sent(), c.requests);
    }
    // The pending friend request waits for the server's answer.
    ASSERT_EQ(core->activeConnection->pendingFriends.size(), 1u);
    EXPECT_EQ(core->activeConnection->pendingFriends.front(), name);
}

TEST_F(ActionCodes, ARowThatDoesNotExistDoesNothing) {
    Action* menu = Menu(32, "", 7);
    menu->Execute(1);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ActionCodes, NothingRunsWhileTheGameIsHalted) {
    Chatbox* chat = OpenChat();
    core->AddWindow(new Map(core.get()));
    core->AddWindow(new Shop(core.get(), "Trader", {}, {}));
    core->AddWindow(new Spellbar(core.get()));
    core->AddWindow(new Friendlist(core.get()));
    Hold(100, 100, 7, 0);
    core->targets = {ally};
    core->gameHalted = 1;
    const Options options = core->options;
    const size_t windows = core->windows.size();
    auto* page = new ClosingChannel(core.get());
    for (uint32_t code = 0; code <= 255; ++code) {
        SCOPED_TRACE(code);
        Action* menu = Menu(code, "Ally", ally->id, page);
        menu->Execute(0);
        core->RemoveWindow(menu);
    }
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(std::memcmp(&core->options, &options, sizeof options), 0);
    EXPECT_EQ(core->windows.size(), windows);
    EXPECT_EQ(core->followTarget, nullptr);
    EXPECT_EQ(core->targets, std::vector<Creature*>{ally});
    for (uint8_t mode : core->inputModes) EXPECT_EQ(mode, 0);
    EXPECT_EQ(chat->channels.size(), 1u);
    EXPECT_FALSE(page->closed);
    EXPECT_TRUE(Notifications().empty());
    delete page;
}

TEST_F(ActionCodes, TheChatTabCodesActOnTheirPageWhileItIsOpen) {
    Chatbox* chat = OpenChat();
    chat->OpenChannel(1, "World", 1);
    Channel* world = chat->FindChannel(1);
    world->AddLine(255, 255, 255, 255, "hello");

    Run(82, "World", 256, world);
    EXPECT_EQ(world->logging, 1);
    Run(83, "World", 256, world);
    EXPECT_EQ(world->logging, 0);
    EXPECT_EQ(Notifications(),
              (std::vector<std::string>{"0:Logging enabled for 'World' channel. Logs can be "
                                        "found in the folder: logs/World/",
                                        "0:Logging disabled for 'World' channel"}));
    Run(80, "World", 256, world);
    EXPECT_TRUE(world->rawLines.empty());

    ClosingChannel page(core.get());
    Run(81, "World", 256, &page);
    EXPECT_TRUE(page.closed);
}

TEST_F(ActionCodes, AChatTabClosedUnderItsMenuIsLeftAlone) {
    Chatbox* chat = OpenChat();
    chat->OpenChannel(1, "World", 1);
    Action* clear = Menu(80, "World", 256, chat->FindChannel(1));
    Action* log = Menu(82, "World", 256, chat->FindChannel(1));
    // The server closes the channel: the page goes while its menus are open.
    chat->CloseChannel(chat->FindChannel(1));
    EXPECT_EQ(clear->owner, nullptr);
    clear->Execute(0);
    log->Execute(0);
    EXPECT_TRUE(Notifications().empty());

    // A page that is closing is left alone as well.
    ClosingChannel page(core.get());
    page.AddLine(255, 255, 255, 255, "kept");
    page.state = 3;
    Run(80, "World", 256, &page);
    Run(81, "World", 256, &page);
    EXPECT_EQ(page.rawLines.size(), 1u);
    EXPECT_FALSE(page.closed);
}

TEST_F(ActionCodes, AGreetingIsOneOfTwentyTexts) {
    Chatbox* chat = OpenChat();
    std::set<std::string> expected;
    for (const char* greeting : {"Hi", "Hello", "Hey", "Heya", "Greetings"})
        for (const std::string& name : {std::string(), std::string(" Trader")})
            for (const char* mark : {"", "!"}) expected.insert(greeting + name + mark);

    std::set<std::string> said;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        srand(seed);
        Run(117, "Trader", 7);
        said.insert(chat->FindChannel(ChannelId::Main)->rawLines.back().substr(Spoken.size()));
    }
    EXPECT_EQ(said, expected);

    // Each is the player's line, a speech text over the player and the Main channel's talk.
    const std::string& last = chat->FindChannel(ChannelId::Main)->rawLines.back();
    ASSERT_EQ(last.compare(0, Spoken.size(), Spoken), 0);
    const std::string text = last.substr(Spoken.size());
    EXPECT_EQ(world->paragraphs->Texts().back()->lines.back(), text);
    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 300u);
    EXPECT_EQ(sent.back(), Join({{60}, Text(text)}));

    // Without the player nobody speaks.
    core->player = nullptr;
    Run(117, "Trader", 7);
    EXPECT_TRUE(Sent().empty());
    core->player = player;
}

TEST_F(ActionCodes, AHeldItemIsTakenWhereItsPlaceSaysItLies) {
    const uint16_t Torch = SampleShape::Torch;
    const Bytes torch = {uint8_t(Torch), uint8_t(Torch >> 8)};
    const struct {
        uint16_t x;
        bool openedAsSlot;
        bool examinedAsSlot;
    } places[] = {
        {101, false, false},    {0xFFF0, true, true},   {0xFFF1, false, false},
        {0xFFF9, false, false}, {0xFFFA, false, false}, {0xFFFB, false, false},
        {0xFFFC, false, true},  {0xFFFD, false, false}, {0xFFFE, true, true},
        {0xFFFF, true, true},
    };
    for (const auto& place : places) {
        SCOPED_TRACE(place.x);
        // A slot's container is the low byte of y; on the field y is the tile's.
        const uint16_t y = 0x0103;
        Hold(place.x, y, 7, 2);
        const uint8_t dx = uint8_t(place.x - 100), dy = uint8_t(y - 100);
        const Bytes slot = {3, 7};
        Run(131, "", 0x0102);
        Run(132);
        Run(133);
        const std::vector<Bytes> sent = Sent();
        ASSERT_EQ(sent.size(), 3u);
        if (place.openedAsSlot) {
            EXPECT_EQ(sent[0], Join({{167, 0}, slot, torch}));
            EXPECT_EQ(sent[1], Join({{80, 0}, slot, torch}));
        } else {
            EXPECT_EQ(sent[0], Join({{166, 0, dx, dy, 2}, torch}));
            EXPECT_EQ(sent[1], Join({{49, 0, dx, dy, 2}, torch}));
        }
        if (place.examinedAsSlot) EXPECT_EQ(sent[2], Join({{164}, slot, torch}));
        else EXPECT_EQ(sent[2], Join({{163, dx, dy, 0, 2}, torch}));

        // The container window and the look's tooltip open where the menu was.
        const PendingOpen open = core->activeConnection->pendingOpens.back();
        EXPECT_EQ(open.x, MenuX);
        EXPECT_EQ(open.y, MenuY);
        EXPECT_EQ(open.kind, place.openedAsSlot ? 2 : 255);
        EXPECT_EQ(core->activeConnection->pendingLooks.back().x, MenuX);
        EXPECT_EQ(core->activeConnection->pendingLooks.back().y, MenuY);
    }
}

TEST_F(ActionCodes, AShopOfferIsExaminedWhereTheMenuWas) {
    Hold(0xFFFC, 253, 9, 0);
    Run(207);
    const Bytes torch = {uint8_t(SampleShape::Torch), uint8_t(SampleShape::Torch >> 8)};
    EXPECT_EQ(Sent(), std::vector<Bytes>{Join({{217}, torch, {9}})});
    ASSERT_EQ(core->activeConnection->pendingLooks.size(), 1u);
    EXPECT_EQ(core->activeConnection->pendingLooks.back().x, MenuX);
}

TEST_F(ActionCodes, WithoutAHeldItemOrThePlayerTheItemCodesSendNothing) {
    for (uint32_t code : {131, 132, 133, 207}) Run(code);
    Hold(101, 101, 7, 0);
    core->player = nullptr;
    for (uint32_t code : {131, 132, 133}) Run(code);
    core->player = player;
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(core->activeConnection->pendingOpens.empty());
    EXPECT_TRUE(core->activeConnection->pendingLooks.empty());
}

TEST_F(ActionCodes, FollowingStartsEndsAndStopsTheAttack) {
    core->targets = {ally};
    At(50);
    Run(111, "Ally", ally->id);
    EXPECT_EQ(core->followTarget, ally);
    EXPECT_EQ(ally->selectedAt, Start + 50);
    EXPECT_TRUE(core->targets.empty());
    EXPECT_EQ(Sent(), std::vector<Bytes>{Join({{51, 0}, U32(0)})});

    player->followingPath = 1;
    Run(111, "Ally", ally->id);
    EXPECT_EQ(core->followTarget, nullptr);
    EXPECT_EQ(player->followingPath, 0);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ActionCodes, SittingDownAndStandingUpOnASeat) {
    Stack(world->GetTileXY(100, 100, 7), SampleShape::Chair);
    Run(103, "Hero", player->id);
    EXPECT_EQ(player->seated, 1);
    std::vector<Bytes> sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), (Bytes{162, 1}));

    player->sitReady = 1;
    Run(103, "Hero", player->id);
    EXPECT_EQ(player->seated, 0);
    EXPECT_EQ(Sent(), std::vector<Bytes>{(Bytes{162, 0})});

    // Not ready: nothing. Nor does another creature sit down, even on a seat.
    Run(103, "Hero", player->id);
    Stack(world->GetTileXY(101, 100, 7), SampleShape::Chair);
    Run(103, "Ally", ally->id);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(ally->seated, 0);
}

TEST_F(ActionCodes, UseWithAndTheAbilityTargetArmTheClick) {
    Run(130);
    EXPECT_EQ(core->inputModes[InputUseWith], 1);
    EXPECT_EQ(core->inputModes[InputDrop], 1);
    EXPECT_EQ(core->inputModes[InputSpellTarget], 0);
    Run(191);
    EXPECT_EQ(core->inputModes[InputSpellTarget], 1);
}

TEST_F(ActionCodes, WindowsOpenOnlyWhenAbsent) {
    const struct {
        uint32_t code, type;
    } cases[] = {{33, WindowType::Friendpop},  {36, WindowType::Ignored},
                 {172, WindowType::Partypop},  {220, WindowType::Guildpop},
                 {100, WindowType::Character}, {101, WindowType::Outfit}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Run(c.code);
        Run(c.code);
        EXPECT_EQ(Count(c.type), 1u);
    }
}

TEST_F(ActionCodes, TheLargeMapClosesAndNeedsASelectedMapToOpen) {
    Run(50);
    EXPECT_EQ(core->FindWindow(WindowType::Map), nullptr);
    core->AddWindow(new Map(core.get()));
    Run(50);
    EXPECT_EQ(core->FindWindow(WindowType::Map), nullptr);
}

TEST_F(ActionCodes, TheWorldMapCodesNeedTheWorldMap) {
    const Options before = core->options;
    for (uint32_t code : {56, 57, 58, 59, 62, 63}) Run(code);
    EXPECT_EQ(std::memcmp(&core->options, &before, sizeof before), 0);

    auto* map = new Map(core.get());
    core->AddWindow(map);
    for (uint32_t code : {56, 58, 62}) Run(code);
    EXPECT_EQ(core->options.smarkers, before.smarkers ? 0 : 1);
    EXPECT_EQ(core->options.stowns, before.stowns ? 0 : 1);
    EXPECT_EQ(core->options.sjournal, before.sjournal ? 0 : 1);
    for (uint32_t code : {57, 59, 63}) Run(code);
    EXPECT_EQ(std::memcmp(&core->options, &before, sizeof before), 0);

    Run(52);
    EXPECT_EQ(map->zoom, map->minZoom);
    EXPECT_EQ(map->follow, 1);
    Run(53);
    EXPECT_EQ(map->zoom, map->maxZoom);
    Run(51);
    EXPECT_EQ(map->follow, 0);

    Run(55, "Marker", 0x0107);
    EXPECT_EQ(Sent(), std::vector<Bytes>{(Bytes{73, 7})});

    Run(54);
    Marker* added = Found<Marker>(WindowType::Marker);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->screenX, uint32_t(MenuX));
    EXPECT_EQ(added->editing, 0);
    core->RemoveWindow(added);
    Run(60, "Marker", 12);
    Marker* edited = Found<Marker>(WindowType::Marker);
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->screenY, uint32_t(MenuY));
    EXPECT_EQ(edited->editId, 12);
}

TEST_F(ActionCodes, AJournalEntryNeedsAQuestOfThatNumber) {
    core->quests.push_back({1, 1, "Rats", {}, 0, {1}});
    core->quests.push_back({2, 1, "Wolves", {}, 0, {2}});
    core->journalFilter = 3;
    for (uint32_t context : {0u, 3u}) Run(64, "", context);
    EXPECT_EQ(core->FindWindow(WindowType::Questlog), nullptr);
    EXPECT_EQ(core->journalFilter, 3u);
    Run(64, "Wolves", 2);
    ASSERT_NE(core->FindWindow(WindowType::Questlog), nullptr);
    EXPECT_EQ(core->journalFilter, 0u);
    EXPECT_EQ(core->journalSelection, "Wolves");

    auto* journal = Found<Questlog>(WindowType::Questlog);
    for (uint32_t code = 150; code <= 155; ++code) {
        Run(code);
        EXPECT_EQ(journal->filter, code - 150);
    }
}

TEST_F(ActionCodes, AConditionPastTheEndOfTheListChangesNothing) {
    const size_t count = core->statusEffects.size();
    const uint8_t third = core->statusEffects[3].shown;
    Run(10, "", 0x100 + 3);  // the low byte is the index
    EXPECT_EQ(core->statusEffects[3].shown, third ^ 1);
    std::vector<uint8_t> shown;
    for (const StatusEffect& effect : core->statusEffects) shown.push_back(effect.shown);
    Run(10, "", uint32_t(count));
    for (size_t i = 0; i < count; ++i) EXPECT_EQ(core->statusEffects[i].shown, shown[i]);
}

TEST_F(ActionCodes, OptionCodesFlipTheirByte) {
    const struct {
        uint32_t code;
        uint8_t Options::*option;
    } cases[] = {
        {35, &Options::ofriends},   {65, &Options::inverse},     {240, &Options::mping},
        {241, &Options::beta_mcap}, {242, &Options::beta_mpool}, {243, &Options::mchar},
        {244, &Options::mjournal},  {245, &Options::mhouse},     {246, &Options::mstore},
        {247, &Options::mfriends},  {248, &Options::msetting},   {249, &Options::mguide},
        {250, &Options::mreprt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const Options before = core->options;
        Run(c.code);
        Options expected = before;
        expected.*c.option = before.*c.option ? 0 : 1;
        EXPECT_EQ(std::memcmp(&core->options, &expected, sizeof expected), 0);
    }
    // The friends list is measured and painted again.
    auto* list = new Friendlist(core.get());
    core->AddWindow(list);
    core->friends.resize(2);
    Run(35);
    EXPECT_EQ(list->dirty, 1);
    EXPECT_EQ(list->scrollTotal, 2 * 13 + 4);
}

TEST_F(ActionCodes, APrivateChannelOpensOnceAndComesForward) {
    Chatbox* chat = OpenChat();
    chat->OpenChannel(1, "World", 1);
    Run(30, "Bob");
    Run(116, "", ally->id);
    Run(30, "Bob");
    EXPECT_EQ(chat->channels.size(), 4u);
    ASSERT_NE(chat->FindChannelByName("Bob"), nullptr);
    EXPECT_EQ(chat->FindChannelByName("Bob")->id, ChannelId::Private);
    EXPECT_EQ(chat->FindChannelByName("Bob")->tabMark, 1);
    EXPECT_EQ(chat->current, chat->FindChannelByName("Bob"));
    Run(116, "", ally->id);
    EXPECT_EQ(chat->current, chat->FindChannelByName("Ally"));
    EXPECT_EQ(chat->current->id, ChannelId::Private + 1);
}

TEST_F(ActionCodes, WindowMethodsOfTheCodes) {
    auto* help = new Help(core.get());
    core->AddWindow(help)->OnOpen();
    auto* menu = new Action(core.get(), nullptr, "", 0);
    menu->AddEntry(40, "English");
    menu->AddEntry(40, "Portuguese");
    core->AddWindow(menu);
    menu->Execute(1);
    EXPECT_EQ(help->languageIndex, 1);
    menu->Execute(0);
    EXPECT_EQ(help->languageIndex, 0);

    auto* key = new ShopEntry(core.get(), 143, 0, 0, 0, 0, 1, 3, 7, ItemIdle);
    core->AddWindow(new Shop(core.get(), "Trader", {}, {key}));
    core->useItemX = 0xFFFC, core->useItemY = 249, core->useItemZ = 0;
    Sent();
    Run(205);
    Run(206);
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{219, 143, 0, 0, 1}, {219, 143, 0, 0, 3}}));
}

TEST_F(ActionCodes, TheAbilitiesBookNeedsALearnedAbility) {
    Run(190, "", 4);
    EXPECT_EQ(core->FindWindow(WindowType::Message), nullptr);  // no ability bar: nothing

    auto* bar = new Spellbar(core.get());
    core->AddWindow(bar);
    Run(190, "", 4);
    auto* message = Found<Message>(WindowType::Message);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text, "You have learned no abilities.");
    EXPECT_EQ(bar->spellbookSlot, -1);

    Spell learned(core.get(), 1, 0, "Heal", "", "", "");
    learned.usable = true;
    core->spells.push_back(&learned);
    Run(190, "", 4);
    EXPECT_EQ(bar->spellbookSlot, 4);
    core->spells.clear();

    bar->pages[0][3] = {1, &learned, 0, 0};
    core->barSlot = 3;
    Run(192);
    EXPECT_EQ(bar->pages[0][3].used, 0);
    EXPECT_EQ(bar->SpellAt(3), nullptr);
}

// --- Marking the player's location on the map ---------------------------------------------------

class MarkMyLocation : public MapDriverTest {
protected:
    void SetUp() override {
        MapDriverTest::SetUp();
        connection = std::make_unique<RecordingConnection>(core, StateGame);
        Start();
        startedDriver = core->mapDriver;
        core->mapDriver = driver.get();
    }

    void TearDown() override {
        core->mapDriver = startedDriver;
        MapDriverTest::TearDown();
        connection.reset();
    }

    void Mark() {
        auto* menu = new Action(core, nullptr, "Map", 0);
        menu->AddEntry(61, "Mark my location");
        core->AddWindow(menu);
        menu->Execute(0);
    }

    std::unique_ptr<RecordingConnection> connection;
    MapDriver* startedDriver = nullptr;
};

TEST_F(MarkMyLocation, AMarkerIsPlacedWhereThePlayerStands) {
    // The sample world map's part shows the world from (1000, 1000) on a 320 x 240 page; here it
    // is drawn at half size from (20, 10) of the page.
    ASSERT_TRUE(SelectWorld(1101, 1051));
    MapPart& part = *driver->SelectedPart();
    ASSERT_EQ(driver->SelectedPage()->width, 320);
    ASSERT_EQ(driver->SelectedPage()->height, 240);
    ASSERT_EQ(part.worldRect.x0, 1000);
    ASSERT_EQ(part.worldRect.y0, 1000);
    part.pageRect = {20, 10, 180, 130};
    Mark();
    ASSERT_EQ(part.markers.size(), 1u);
    const MapLabel& marker = part.markers[0];
    EXPECT_EQ(marker.id, 1);
    // x: 101 / 320 * 160 + 20 = 70.5; y: 51 / 240 * 120 + 10 - 4 = 31.5; both cut.
    EXPECT_EQ(marker.x, 70);
    EXPECT_EQ(marker.y, 31);
    EXPECT_EQ(marker.icon, 22);
    EXPECT_EQ(marker.text, "Marker");
    // The server hears of it in world coordinates.
    const Bytes expected = Join({{72, 1, 0},
                                 {uint8_t(1070 & 0xFF), uint8_t(1070 >> 8)},
                                 {uint8_t(1031 & 0xFF), uint8_t(1031 >> 8)},
                                 {22},
                                 Text("Marker")});
    EXPECT_EQ(connection->SentPayloads(1), std::vector<Bytes>{expected});
}

TEST_F(MarkMyLocation, FiveHundredMarkersAreTheLimit) {
    ASSERT_TRUE(SelectWorld(1100, 1050));
    MapPart& part = *driver->SelectedPart();
    for (uint16_t id = 1; id <= 500; ++id) part.markers.push_back({id, 0, 0, 1, "", 0});
    Mark();
    EXPECT_EQ(ShownMessage(), "You've reached the limit of 500 markers.");
    EXPECT_EQ(part.markers.size(), 500u);
    EXPECT_TRUE(connection->SentPayloads().empty());

    part.markers.erase(part.markers.begin() + 499);
    Mark();
    ASSERT_EQ(part.markers.size(), 500u);
    EXPECT_EQ(part.markers.back().id, 500);
    const std::vector<Bytes> sent = connection->SentPayloads(1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][0], 72);
    EXPECT_EQ(sent[0][1] | sent[0][2] << 8, 500);
}

TEST_F(MarkMyLocation, WithoutAMapDriverTheConnectionEnds) {
    core->mapDriver = nullptr;
    Mark();
    core->mapDriver = driver.get();
    const auto* status = dynamic_cast<const Status*>(core->FindWindow(WindowType::Status));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text, "select map: driver error");
}

// Both side columns beside a console strip, with panel windows added by the tests.
class PanelCodes : public ActionCodes {
protected:
    void SetUp() override {
        ActionCodes::SetUp();
        strip = core->AddWindow(new Console(core.get()));
        left = new Panel(core.get(), strip, Panel::Left);
        right = new Panel(core.get(), strip, Panel::Right);
        core->leftPanel = core->AddWindow(left);
        core->rightPanel = core->AddWindow(right);
    }

    Panellist* Add(Panel* column, int32_t height) {
        auto* window = new Panellist(core.get(), column);
        window->Build();
        window->SetHeight(height);
        column->Add(window);
        return window;
    }

    std::vector<std::string> Notices() const {
        std::vector<std::string> texts;
        for (const Notification::Place& place : world->notification->places)
            for (const NotificationLine* line : {&place.current, &place.waiting})
                if (line->state != Notification::StateEmpty) texts.push_back(line->text);
        return texts;
    }

    Window* strip = nullptr;
    Panel* left = nullptr;
    Panel* right = nullptr;
};

TEST_F(PanelCodes, TheRowsOfAPanelWindowMoveAndPinIt) {
    Panellist* first = Add(left, 100);
    Panellist* window = Add(left, 120);
    Run(ActionCode::MoveToOtherPanel, "", 0, window);
    EXPECT_EQ(left->normal, std::vector<Panellist*>{first});
    ASSERT_EQ(right->normal, std::vector<Panellist*>{window});
    EXPECT_EQ(window->panel, right);
    EXPECT_EQ(window->x, right->x);
    EXPECT_EQ(window->scroll->x, window->width - 21);
    EXPECT_EQ(window->contentX, 0);

    Run(ActionCode::PinToBottom, "", 0, window);
    EXPECT_EQ(right->bottom, std::vector<Panellist*>{window});
    Run(ActionCode::Unpin, "", 0, window);
    EXPECT_EQ(right->normal, std::vector<Panellist*>{window});
    Run(ActionCode::PinToTop, "", 0, window);
    EXPECT_TRUE(window->pinned);
    EXPECT_EQ(right->topReserve, 121);

    // Back to the left: the scroll bar goes to the left edge and the content makes room for it.
    Run(ActionCode::Unpin, "", 0, window);
    Run(ActionCode::MoveToOtherPanel, "", 0, window);
    EXPECT_EQ(window->panel, left);
    EXPECT_EQ(window->scroll->x, 3);
    EXPECT_EQ(window->contentX, 18);
    EXPECT_EQ(window->y, 101);
}

TEST_F(PanelCodes, AWindowOfFixedHeightMovesOnlyWhereItFits) {
    Add(right, right->height - 100 - 1)->resizable = 0;
    Panellist* window = Add(left, 150);
    window->resizable = 0;
    Run(ActionCode::MoveToOtherPanel, "", 0, window);
    EXPECT_EQ(window->panel, left);
    EXPECT_EQ(Notices(), std::vector<std::string>{"Not enough space move to panel."});

    // Collapsed it needs only its title band.
    window->ToggleMinimise(nullptr);
    Run(ActionCode::MoveToOtherPanel, "", 0, window);
    EXPECT_EQ(window->panel, right);
}

TEST_F(PanelCodes, PanelCodesNeedAPanelWindowInAColumn) {
    auto* loose = new Panellist(core.get());
    loose->Build();
    core->AddWindow(loose);
    for (uint32_t code : {ActionCode::MoveToOtherPanel, ActionCode::PinToTop,
                          ActionCode::PinToBottom, ActionCode::Unpin}) {
        Run(code, "", 0, loose);
        Run(code, "", 0, strip);
        Run(code);
    }
    EXPECT_FALSE(loose->pinned);
    EXPECT_TRUE(left->normal.empty());
    EXPECT_TRUE(right->normal.empty());
}

TEST_F(PanelCodes, AContainerClosedInItsColumnTellsTheServer) {
    auto* container = new Container(core.get(), right, 7, 8);
    right->Add(container);
    Panellist* other = Add(right, 100);
    EXPECT_TRUE(Sent().empty());
    right->Close(other, true);
    EXPECT_TRUE(Sent().empty());
    container->OnCommand(container->FindButton(ButtonId::Close));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{Bytes{84, 7}}));
    EXPECT_TRUE(right->normal.empty());
}

}  // namespace
