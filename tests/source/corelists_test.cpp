#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "creature.h"
#include "netbuffer.h"
#include "spell.h"
#include "support/spritedata.h"
#include "support/testcore.h"
#include "support/worlddata.h"
#include "windows/game/friendlist.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Names = std::vector<std::string>;

// A window of a given type id that counts the rebuilds Core asks of it.
class CountingWindow : public Window {
public:
    CountingWindow(Core* core, uint32_t type) : Window(core) { typeId = type; }
    void OnOpen() override { ++opened; }
    void Refresh() override { ++refreshed; }

    int opened = 0;
    int refreshed = 0;
};

class CoreListsTest : public ::testing::Test {
protected:
    std::unique_ptr<Core> core = MakeTestCore();

    // A creature of the walker's look from the world cases' sprite data.
    std::unique_ptr<Creature> MakeCreature(uint32_t id, const std::string& name = "") {
        if (!core->shapes) core->shapes = LoadSpriteCase(core.get(), "world").release();
        return std::make_unique<Creature>(core.get(), id, WorldShape::Walker, 0,
                                          std::vector<Shape*>{}, Position{}, name, 100, 100, 0);
    }
    CountingWindow* Open(uint32_t type) {
        auto* window = new CountingWindow(core.get(), type);
        core->AddWindow(window);
        return window;
    }
    void AddFriend(uint32_t id, const std::string& name, uint8_t foe = 0) {
        core->AddFriend({id, 0, name, 0, "", foe});
    }
    // Each friend record as id/name/state/second/text/foe.
    std::string Friends() const {
        std::string text;
        for (const FriendRecord& f : core->friends) {
            text += (text.empty() ? "" : " ") + std::to_string(f.id) + "/" + f.name + "/" +
                    std::to_string(f.state) + "/" + std::to_string(f.second) + "/" + f.text + "/" +
                    std::to_string(f.foe);
        }
        return text;
    }
    void LoadBar(void (Core::*load)(NetBuffer&), const std::vector<uint8_t>& bytes,
                 int32_t* unread = nullptr) {
        NetBuffer message(16);
        if (!bytes.empty()) message.Append(bytes.data(), static_cast<int32_t>(bytes.size()));
        (core.get()->*load)(message);
        if (unread) *unread = message.GetUnread();
    }
    std::vector<std::pair<uint32_t, uint32_t>> BarPairs() const {
        std::vector<std::pair<uint32_t, uint32_t>> pairs;
        for (const SpellBarEntry& entry : core->spellPairs)
            pairs.emplace_back(entry.slot, entry.value);
        return pairs;
    }
};

TEST_F(CoreListsTest, MarkingByTypeReachesEveryWindowOfThatTypeAndNoOther) {
    CountingWindow* first = Open(WindowType::Friendlist);
    CountingWindow* party = Open(WindowType::Partylist);
    CountingWindow* second = Open(WindowType::Friendlist);
    core->MarkWindowsDirty(WindowType::Friendlist);
    EXPECT_EQ(first->dirty, 1);
    EXPECT_EQ(second->dirty, 1);
    EXPECT_EQ(party->dirty, 0);
    core->MarkWindowsDirty(WindowType::House);  // none open: nothing happens
}

// --- Friends and foes ---------------------------------------------------------------------------

TEST_F(CoreListsTest, FriendsStayInByteOrderOfNameAndEqualNamesKeepArrivalOrder) {
    const struct {
        Names added;
        std::vector<uint32_t> order;  // the ids, numbered from 1 in the order added
    } cases[] = {
        {{"b", "a", "ab"}, {2, 3, 1}},        {{"a", "b", "a"}, {1, 3, 2}},
        {{"bob", "Bob", "alice"}, {2, 3, 1}},  // capitals sort before small letters
        {{"\xE9ric", "zed"}, {2, 1}},          // bytes compare unsigned: 0xE9 after 'z'
        {{"ab", "a", ""}, {3, 2, 1}},
    };
    for (const auto& c : cases) {
        core->friends.clear();
        for (size_t i = 0; i < c.added.size(); ++i) AddFriend(uint32_t(i + 1), c.added[i]);
        std::vector<uint32_t> order;
        for (const FriendRecord& f : core->friends) order.push_back(f.id);
        EXPECT_EQ(order, c.order) << c.added[0] << "," << c.added[1];
    }
}

TEST_F(CoreListsTest, FriendChangesAndWhenTheyMarkTheFriendsList) {
    const struct {
        const char* what;
        std::function<void(Core&)> change;
        std::string friends;
        bool marked;
    } cases[] = {
        {"update", [](Core& c) { c.UpdateFriend(3, 1, 7, "away"); },
         "1/ann/0/0//0 3/ann/1/7/away/0 2/bob/0/0//0 2/cat/0/0//0", true},
        {"update unknown id", [](Core& c) { c.UpdateFriend(9, 1, 7, "away"); },
         "1/ann/0/0//0 3/ann/0/0//0 2/bob/0/0//0 2/cat/0/0//0", true},
        {"remove first of the id", [](Core& c) { c.RemoveFriend(2); },
         "1/ann/0/0//0 3/ann/0/0//0 2/cat/0/0//0", true},
        {"remove unknown id", [](Core& c) { c.RemoveFriend(9); },
         "1/ann/0/0//0 3/ann/0/0//0 2/bob/0/0//0 2/cat/0/0//0", true},
        {"rename keeps the place", [](Core& c) { c.RenameFriend("ann", "zoe"); },
         "1/zoe/0/0//0 3/ann/0/0//0 2/bob/0/0//0 2/cat/0/0//0", true},
        {"rename of another case", [](Core& c) { c.RenameFriend("Ann", "zoe"); },
         "1/ann/0/0//0 3/ann/0/0//0 2/bob/0/0//0 2/cat/0/0//0", false},
    };
    for (const auto& c : cases) {
        core = MakeTestCore();
        CountingWindow* list = Open(WindowType::Friendlist);
        CountingWindow* party = Open(WindowType::Partylist);
        AddFriend(1, "ann");
        AddFriend(2, "bob");
        AddFriend(3, "ann");
        AddFriend(2, "cat");
        EXPECT_EQ(list->dirty, 1) << "adding marks the list";
        list->dirty = 0;
        c.change(*core);
        EXPECT_EQ(Friends(), c.friends) << c.what;
        EXPECT_EQ(list->dirty, c.marked) << c.what;
        EXPECT_EQ(party->dirty, 0) << c.what;
    }
}

TEST_F(CoreListsTest, NameLookUpsAreExact) {
    AddFriend(1, "Alice");
    core->AddPartyMember(2, "Alice", 0, 0);
    core->AddMuted("Alice");
    const struct {
        const char* list;
        std::function<bool(Core&, const std::string&)> finds;
    } lookUps[] = {
        {"friends", [](Core& c, const std::string& n) { return c.IsOnFriendList(n); }},
        {"party", [](Core& c, const std::string& n) { return c.IsPartyMember(n); }},
        {"party by name",
         [](Core& c, const std::string& n) { return c.FindPartyMemberByName(n).id == 2; }},
        {"muted", [](Core& c, const std::string& n) { return c.IsMuted(n); }},
    };
    const struct {
        std::string probe;
        bool found;
    } probes[] = {{"Alice", true}, {"alice", false},  {"ALICE", false},
                  {"Alic", false}, {"Alice ", false}, {"", false}};
    for (const auto& l : lookUps) {
        for (const auto& p : probes)
            EXPECT_EQ(l.finds(*core, p.probe), p.found) << l.list << " " << p.probe;
    }
}

TEST_F(CoreListsTest, TogglingAFoeFlipsTheMarkKeepsTheFoeNamesAndRefreshesTheWindows) {
    auto* list = new Friendlist(core.get());
    core->AddWindow(list);
    CountingWindow* paneltop = Open(WindowType::Paneltop);
    core->paneltopWindow = paneltop;
    AddFriend(1, "Bob");
    AddFriend(2, "Cy");
    core->foes = {"x"};
    list->dirty = 0;
    EXPECT_EQ(core->FriendsTitle(), "Friends");

    core->ToggleFoe("Bob");
    EXPECT_EQ(core->foes, (Names{"x", "Bob"}));
    EXPECT_EQ(core->friends[0].foe, 1);
    EXPECT_EQ(core->FriendsTitle(), "Friends & Foes");
    EXPECT_EQ(list->dirty, 1);
    EXPECT_EQ(list->scrollTotal, 2 * 13 + 4);
    EXPECT_EQ(paneltop->refreshed, 1);

    // Unmarking erases only the first equal name (the settings may hold it twice).
    core->foes = {"Bob", "x", "Bob"};
    core->ToggleFoe("Bob");
    EXPECT_EQ(core->foes, (Names{"x", "Bob"}));
    EXPECT_EQ(core->friends[0].foe, 0);
    EXPECT_EQ(core->FriendsTitle(), "Friends");
    EXPECT_EQ(paneltop->refreshed, 2);

    // No friend of that exact name: nothing at all.
    list->dirty = 0;
    core->ToggleFoe("bob");
    EXPECT_EQ(core->foes, (Names{"x", "Bob"}));
    EXPECT_EQ(list->dirty, 0);
    EXPECT_EQ(paneltop->refreshed, 2);

    // Without the windows only the lists change.
    core->RemoveWindow(list);
    core->RemoveWindow(paneltop);
    core->paneltopWindow = nullptr;
    core->ToggleFoe("Cy");
    EXPECT_EQ(core->friends[1].foe, 1);
}

// --- Party and invitations ----------------------------------------------------------------------

TEST_F(CoreListsTest, FirstPartyMemberLeadsUntilTheServerNamesAnother) {
    auto leaders = [&] {
        std::vector<int> bytes;
        for (const PartyMember& m : core->party) bytes.push_back(m.leader);
        return bytes;
    };
    core->AddPartyMember(5, "a", 1, 2);
    core->AddPartyMember(6, "b", 3, 4);
    EXPECT_EQ(leaders(), (std::vector<int>{1, 0}));
    core->SetPartyLeader(6);
    EXPECT_EQ(leaders(), (std::vector<int>{0, 1}));
    core->SetPartyLeader(99);
    EXPECT_EQ(leaders(), (std::vector<int>{0, 0}));

    const PartyMember b = core->FindPartyMember(6);
    EXPECT_EQ(b.name, "b");
    EXPECT_EQ(b.first, 3);
    EXPECT_EQ(b.second, 4);
    const PartyMember none = core->FindPartyMember(99);
    EXPECT_EQ(none.id, 0u);
    EXPECT_EQ(none.name, "");
    EXPECT_EQ(none.first + none.second + none.leader, 0);
    EXPECT_EQ(core->FindPartyMemberByName("c").id, 0u);

    core->AddPartyMember(5, "a2", 0, 0);
    core->RemovePartyMember(5);  // the first with the id
    ASSERT_EQ(core->party.size(), 2u);
    EXPECT_EQ(core->party[0].name, "b");
    EXPECT_EQ(core->party[1].name, "a2");

    core->ClearParty();
    EXPECT_TRUE(core->party.empty());
    core->AddPartyMember(7, "c", 0, 0);
    EXPECT_EQ(core->party[0].leader, 1);
}

TEST_F(CoreListsTest, RenamingAPartyMemberMarksThePartyListOnlyWhenOneMatched) {
    CountingWindow* list = Open(WindowType::Partylist);
    core->AddPartyMember(5, "Ann", 0, 0);
    core->AddPartyMember(6, "Ann", 0, 0);
    core->RenamePartyMember("ann", "Zed");
    EXPECT_EQ(list->dirty, 0);
    core->RenamePartyMember("Ann", "Zed");
    EXPECT_EQ(list->dirty, 1);
    EXPECT_EQ(core->party[0].name, "Zed");
    EXPECT_EQ(core->party[1].name, "Ann");
}

TEST_F(CoreListsTest, PlayerLeadsThePartyOnlyAsTheFirstMemberWithTheLeaderByte) {
    const struct {
        const char* what;
        bool player;
        std::vector<PartyMember> party;
        bool leads;
    } cases[] = {
        {"no player", false, {{7, "me", 0, 0, 1}}, false},
        {"no party", true, {}, false},
        {"player leads", true, {{8, "x", 0, 0, 0}, {7, "me", 0, 0, 1}}, true},
        {"another leads", true, {{8, "x", 0, 0, 1}, {7, "me", 0, 0, 1}}, false},
        {"nobody leads", true, {{8, "x", 0, 0, 0}, {7, "me", 0, 0, 0}}, false},
    };
    auto me = MakeCreature(7);
    for (const auto& c : cases) {
        core->player = c.player ? me.get() : nullptr;
        core->party = c.party;
        EXPECT_EQ(core->IsPartyLeaderSelf(), c.leads) << c.what;
    }
    core->player = nullptr;
}

TEST_F(CoreListsTest, InvitationsAreKeptInArrivalOrderAndRemovedOneAtATime) {
    core->AddPartyInvite(1, "a");
    core->AddPartyInvite(2, "b");
    core->AddPartyInvite(1, "a again");
    EXPECT_TRUE(core->HasPartyInvite(1));
    EXPECT_FALSE(core->HasPartyInvite(3));
    core->RemovePartyInvite(1);
    ASSERT_EQ(core->partyInvites.size(), 2u);
    EXPECT_EQ(core->partyInvites[0].name, "b");
    EXPECT_EQ(core->partyInvites[1].name, "a again");
    EXPECT_TRUE(core->HasPartyInvite(1));
    core->RemovePartyInvite(3);
    EXPECT_EQ(core->partyInvites.size(), 2u);
}

// --- Muted names and house guests ---------------------------------------------------------------

TEST_F(CoreListsTest, MutedNamesChangeByFirstEqualNameAndMarkNoWindow) {
    CountingWindow* window = Open(WindowType::Ignored);
    core->AddMuted("x");
    core->AddMuted("Bob");
    core->AddMuted("Bob");
    core->RenameMuted("Bob", "Rob");
    EXPECT_EQ(core->muted, (Names{"x", "Rob", "Bob"}));
    core->RenameMuted("bob", "Q");
    core->RemoveMuted("rob");
    EXPECT_EQ(core->muted, (Names{"x", "Rob", "Bob"}));
    core->RemoveMuted("Bob");
    EXPECT_EQ(core->muted, (Names{"x", "Rob"}));
    EXPECT_TRUE(core->IsMuted("Rob"));
    EXPECT_FALSE(core->IsMuted("Bob"));
    EXPECT_EQ(window->dirty, 0);
}

TEST_F(CoreListsTest, RenamingAHouseGuestMarksTheHouseWindowOnlyWhenOneMatched) {
    CountingWindow* house = Open(WindowType::House);
    core->houseInfo.guests = {{"Ann", 1}, {"Bob", 0}, {"Ann", 0}};
    core->RenameHouseGuest("ann", "Zed");
    EXPECT_EQ(house->dirty, 0);
    core->RenameHouseGuest("Ann", "Zed");
    EXPECT_EQ(house->dirty, 1);
    ASSERT_EQ(core->houseInfo.guests.size(), 3u);
    EXPECT_EQ(core->houseInfo.guests[0].name, "Zed");
    EXPECT_EQ(core->houseInfo.guests[0].role, 1u);
    EXPECT_EQ(core->houseInfo.guests[2].name, "Ann");
}

// --- Targets ------------------------------------------------------------------------------------

TEST_F(CoreListsTest, SelectingTargetsByMode) {
    constexpr uint64_t Before = 5, Now = 1000;
    constexpr int None = -1;
    enum { A, B, Blank, Unnamed, TwoBlanks };
    const struct {
        const char* what;
        std::vector<int> before;
        uint8_t mode;
        int creature;
        std::vector<int> after;
        bool stamped;
    } cases[] = {
        {"0 makes the only target", {B}, 0, A, {A}, true},
        {"0 with none empties", {A, B}, 0, None, {}, false},
        {"1 appends", {A}, 1, B, {A, B}, true},
        {"1 of a target changes nothing", {A}, 1, A, {A}, false},
        {"1 with none", {A}, 1, None, {A}, false},
        {"1 of a single blank", {A}, 1, Blank, {A}, false},
        {"1 of an empty name", {A}, 1, Unnamed, {A}, false},
        {"1 of two blanks", {}, 1, TwoBlanks, {TwoBlanks}, true},
        {"2 removes", {B, A}, 2, A, {B}, false},
        {"2 of a non-target", {B}, 2, A, {B}, false},
        {"other modes do nothing", {B}, 3, A, {B}, false},
    };
    for (const auto& c : cases) {
        std::vector<std::unique_ptr<Creature>> creatures;
        const char* names[] = {"a", "b", " ", "", "  "};
        for (uint32_t i = 0; i < 5; ++i) {
            creatures.push_back(MakeCreature(i + 1, names[i]));
            creatures[i]->selectedAt = Before;
        }
        auto list = [&](const std::vector<int>& indexes) {
            std::vector<Creature*> pointers;
            for (int i : indexes) pointers.push_back(creatures[i].get());
            return pointers;
        };
        core->targets = list(c.before);
        core->frameTimeMs = Now;
        core->SelectTarget(c.mode, c.creature == None ? nullptr : creatures[c.creature].get());
        EXPECT_EQ(core->targets, list(c.after)) << c.what;
        if (c.creature != None) {
            EXPECT_EQ(creatures[c.creature]->selectedAt, c.stamped ? Now : Before) << c.what;
        }
    }
    core->targets.clear();
}

TEST_F(CoreListsTest, TargetsAreFoundByCreatureAndById) {
    auto a = MakeCreature(1), b = MakeCreature(2);
    core->targets = {a.get(), b.get()};
    EXPECT_TRUE(core->IsTarget(b.get()));
    auto other = MakeCreature(3);
    EXPECT_FALSE(core->IsTarget(other.get()));
    EXPECT_EQ(core->FindTargetById(2), b.get());
    EXPECT_EQ(core->FindTargetById(9), nullptr);
    core->targets.clear();
}

// --- Ability bar --------------------------------------------------------------------------------

TEST_F(CoreListsTest, AbilityBarMessageReplacesTheListSlotBySlot) {
    using Pairs = std::vector<std::pair<uint32_t, uint32_t>>;
    const struct {
        std::vector<uint8_t> bytes;
        Pairs pairs;
        int32_t unread;
    } cases[] = {
        {{254, 3, 5, 0, 254, 250}, {{3, 5}}, 0},
        {{254, 10, 5, 0, 255, 7, 1, 254, 241}, {{10, 5}, {12, 263}}, 0},
        {{255, 255, 1, 0, 254, 251}, {{2, 1}}, 0},
        {{9, 0, 9, 0, 254, 252}, {{0, 9}, {1, 9}}, 0},
        {{254, 0, 3, 0, 254, 253}, {{0, 3}}, 0},
        // The bar ends after slot 253: what follows is not read.
        {{254, 253, 9, 0, 42}, {{253, 9}}, 1},
        {{254, 255, 42}, {}, 1},
        // A message cut short leaves the bar as it was.
        {{4, 1, 5}, {{100, 1}, {3, 8}}, 0},
        {{254}, {{100, 1}, {3, 8}}, 0},
        {{}, {{100, 1}, {3, 8}}, 0},
    };
    for (const auto& c : cases) {
        core = MakeTestCore();
        CountingWindow* bar = Open(WindowType::Spellbar);
        core->spellPairs = {{100, 1}, {3, 8}};
        int32_t unread = -1;
        LoadBar(&Core::LoadSpellBar, c.bytes, &unread);
        EXPECT_EQ(BarPairs(), c.pairs) << testing::PrintToString(c.bytes);
        EXPECT_EQ(unread, c.unread) << testing::PrintToString(c.bytes);
        const Pairs unchanged = {{100, 1}, {3, 8}};
        EXPECT_EQ(bar->opened, c.pairs == unchanged ? 0 : 1);
    }
}

TEST_F(CoreListsTest, AbilityBarMessageResetsTheSpells) {
    auto* spell = new Spell(core.get(), 4, 0, "Name", "", "5", "Attack");
    core->spells.push_back(spell);
    spell->SetFlags(0x41);
    spell->sent = true;
    LoadBar(&Core::LoadSpellBar, {4, 0, 254, 253});
    EXPECT_EQ(spell->flags, 0);
    EXPECT_FALSE(spell->armed || spell->sent || spell->targetsSelf);
}

TEST_F(CoreListsTest, OneAbilityBarSlotReplacesThatSlotsEntryAndGoesLast) {
    CountingWindow* bar = Open(WindowType::Spellbar);
    using Pairs = std::vector<std::pair<uint32_t, uint32_t>>;
    LoadBar(&Core::LoadSpellBarSlot, {5, 7, 1});
    LoadBar(&Core::LoadSpellBarSlot, {2, 9, 0});
    EXPECT_EQ(BarPairs(), (Pairs{{5, 263}, {2, 9}}));
    LoadBar(&Core::LoadSpellBarSlot, {5, 3, 0});
    EXPECT_EQ(BarPairs(), (Pairs{{2, 9}, {5, 3}}));
    LoadBar(&Core::LoadSpellBarSlot, {6, 3});  // cut short: no entry
    EXPECT_EQ(BarPairs(), (Pairs{{2, 9}, {5, 3}}));
    EXPECT_EQ(bar->opened, 4);

    // However often the server sends slots, the list holds one entry per slot.
    for (int round = 0; round < 3; ++round)
        for (int slot = 0; slot < 256; ++slot)
            LoadBar(&Core::LoadSpellBarSlot, {uint8_t(slot), uint8_t(round), 0});
    EXPECT_EQ(core->spellPairs.size(), 256u);
}

// --- Stat table and guild entries ---------------------------------------------------------------

TEST_F(CoreListsTest, StatIdsAddressTheirTablePositionAndOthersAreIgnored) {
    constexpr int Ignored = -1;
    const struct {
        uint8_t id;
        int position;
    } cases[] = {
        {17, 0},       {18, 1},       {19, 2},      {32, 2},        {33, 3},
        {40, 10},      {48, 10},      {49, 11},     {52, 14},       {53, Ignored},
        {47, Ignored}, {16, Ignored}, {0, Ignored}, {255, Ignored},
    };
    for (const auto& c : cases) {
        core->statTable.assign(15, StatEntry{});
        core->SetStatValue0(c.id, 11);
        core->SetStatValue1(c.id, 22);
        core->SetStatValue2(c.id, 33);
        for (int i = 0; i < 15; ++i) {
            const uint8_t* bytes = core->statTable[i].bytes;
            const bool written = i == c.position;
            EXPECT_EQ(bytes[0], written ? 11 : 0) << int(c.id) << " at " << i;
            EXPECT_EQ(bytes[1], written ? 22 : 0) << int(c.id) << " at " << i;
            EXPECT_EQ(bytes[2], written ? 33 : 0) << int(c.id) << " at " << i;
        }
    }
    core->statTable.clear();
    core->SetStatValue0(17, 1);  // before the character message: nothing to write
    EXPECT_TRUE(core->statTable.empty());
}

TEST_F(CoreListsTest, GuildEntriesAreSplitByTheirMarkInListOrder) {
    core->guilds = {{1, "A", 0, 0, 0, {}},
                    {2, "B", 0, 1, 0, {}},
                    {3, "C", 0, 0, 0, {}},
                    {4, "D", 0, 2, 0, {{"m", 1, 2}}}};
    auto ids = [](const std::vector<GuildInfo>& guilds) {
        std::vector<uint32_t> list;
        for (const GuildInfo& g : guilds) list.push_back(g.id);
        return list;
    };
    EXPECT_EQ(ids(core->UnmarkedEntries()), (std::vector<uint32_t>{1, 3}));
    const std::vector<GuildInfo> marked = core->MarkedEntries();
    EXPECT_EQ(ids(marked), (std::vector<uint32_t>{2, 4}));
    EXPECT_EQ(marked[1].members.size(), 1u);
}

// --- Logging out --------------------------------------------------------------------------------

TEST_F(CoreListsTest, LoggingOutIsRefusedOnlyWhileFightingUnlessAllowedOrHalted) {
    enum PlayerKind { NoPlayer, Plain, Privileged };
    const struct {
        PlayerKind player;
        bool fighting, halted, allowed;
    } cases[] = {
        {NoPlayer, false, false, true}, {NoPlayer, true, false, false},
        {NoPlayer, true, true, true},   {Plain, true, false, false},
        {Plain, false, false, true},    {Privileged, true, false, true},
    };
    core->InitStatusEffects();
    auto player = MakeCreature(1);
    for (const auto& c : cases) {
        player->privileged = c.player == Privileged;
        core->player = c.player == NoPlayer ? nullptr : player.get();
        core->statusEffects[6].active = c.fighting;
        core->gameHalted = c.halted;
        EXPECT_EQ(core->CheckPlayerFlag(), c.allowed)
            << c.player << " fighting " << c.fighting << " halted " << c.halted;
    }
    core->player = nullptr;
    core->statusEffects.clear();  // no status list yet: not fighting
    core->gameHalted = 0;
    EXPECT_TRUE(core->CheckPlayerFlag());
}

}  // namespace
