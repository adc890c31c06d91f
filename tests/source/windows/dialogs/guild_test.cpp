// The guild window's rows, panel and menus, the founding window and the invitations window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font.h"
#include "support/dialogtest.h"
#include "windows/dialogs/guild.h"
#include "windows/dialogs/guildfound.h"
#include "windows/dialogs/guildinvite.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/game/paneltop.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t ValueColour = 0xE0E0E0E0;

class GuildTest : public DialogTest {
protected:
    // The player "Hero" with the flags given, in a guild with a leader, a patron, a member and
    // two invitees.
    Guild* OpenGuild(uint8_t heroFlags) {
        GuildInfo own{300, "Wolves", 9, 0, 1, {}};
        own.members = {{"Ann", 4, 0}, {"Bob", 3, 0}, {"Cid", 1, 0}, {"Dan", 0, 0}, {"Eve", 0, 0}};
        own.members.push_back({"Hero", heroFlags, 0});
        if (heroFlags == 4) own.members[0].flags = 3;
        core->guilds = {GuildInfo{12, "Bears", 0, 1, 0, {{"Zed", 0, 0}}}, own};
        return Open(new Guild(core.get()));
    }
    // The rows of the menu a right click at the point opened, as "code label".
    std::vector<std::string> MenuAt(int32_t px, int32_t py, std::string* title = nullptr,
                                    uint32_t* context = nullptr) {
        Window* before = core->windows.back();
        core->windows.back()->OnRightClick(px, py);
        auto* menu = dynamic_cast<Action*>(core->windows.back());
        if (!menu || menu == before) return {};
        std::vector<std::string> rows;
        for (const Action::Entry& entry : menu->entries)
            rows.push_back(std::to_string(entry.code) + " " + entry.label);
        if (title) *title = menu->title;
        if (context) *context = menu->context;
        core->RemoveWindow(menu);
        return rows;
    }
    // A point on a row of the member list.
    static int32_t RowY(const Guild* guild, int32_t row) {
        return guild->list->y + 4 + row * List::ItemHeight + 2;
    }
    static int32_t RowX(const Guild* guild) { return guild->list->x + 20; }
};

TEST_F(GuildTest, RowsPanelAndCountFollowTheOwnRecord) {
    Guild* guild = OpenGuild(1);
    EXPECT_EQ(guild->guildId, 300u);  // not the invitation before it
    EXPECT_EQ(guild->list->items,
              (std::vector<std::string>{"Ann (leader)", "Bob", "Cid", "Dan (invited)",
                                        "Eve (invited)", "Hero"}));
    EXPECT_EQ(guild->isLeader, 0);
    const std::vector<DrawnText> drawn = Drawn(guild);
    EXPECT_EQ(DrawnIn(guild, ValueColour),
              (std::vector<std::string>{"Wolves", "1 october 2023", "Ann", "6 / 30"}));
    EXPECT_EQ(Find(drawn, "Active").colour, 0xC080F580u);
    EXPECT_EQ(Find(drawn, "0 / 2").colour, 0xC0FF8080u);
}

TEST_F(GuildTest, TheLeaderGetsTheLeaderEntries) {
    Guild* guild = OpenGuild(4);
    EXPECT_EQ(guild->isLeader, 1);
    core->friends = {{1, 0, "Cid", 0, "", 0}};
    std::string title;
    uint32_t context = 0;
    // Bob, a patron.
    EXPECT_EQ(MenuAt(RowX(guild), RowY(guild, 1), &title, &context),
              (std::vector<std::string>{"30 Send private message", "34 Add to friendlist", "0 -",
                                        "228 Kick from Guild", "229 Transfer Leadership"}));
    EXPECT_EQ(title, "Bob");
    EXPECT_EQ(context, 300u);
    // Cid, a member on the friend list.
    EXPECT_EQ(MenuAt(RowX(guild), RowY(guild, 2)),
              (std::vector<std::string>{"30 Send private message", "0 -", "228 Kick from Guild"}));
    // Dan, only invited.
    EXPECT_EQ(MenuAt(RowX(guild), RowY(guild, 3)),
              (std::vector<std::string>{"30 Send private message", "34 Add to friendlist", "0 -",
                                        "221 Uninvite from Guild"}));
    // The own row and the space below the rows.
    EXPECT_EQ(MenuAt(RowX(guild), RowY(guild, 5), &title),
              (std::vector<std::string>{"220 Invite member"}));
    EXPECT_EQ(title, "Guild");
    EXPECT_EQ(MenuAt(RowX(guild), RowY(guild, 12), nullptr, &context),
              (std::vector<std::string>{"220 Invite member"}));
    EXPECT_EQ(context, 300u);
    // The information panel.
    EXPECT_EQ(MenuAt(guild->x + 100, guild->y + 100, nullptr, &context),
              (std::vector<std::string>{"220 Invite member"}));
    EXPECT_EQ(context, 0u);
}

TEST_F(GuildTest, MembersGetTheirOwnEntries) {
    struct Case {
        uint8_t flags;
        std::vector<std::string> rows;
    } cases[] = {
        {3, {"226 Unpatron the Guild", "224 Leave the Guild"}},
        {1, {"225 Patron the Guild", "224 Leave the Guild"}},
    };
    for (const Case& c : cases) {
        Guild* guild = OpenGuild(c.flags);
        EXPECT_EQ(MenuAt(RowX(guild), RowY(guild, 5)), c.rows);
        // Another member's menu has no leader entries, and the space below the rows none.
        EXPECT_EQ(MenuAt(RowX(guild), RowY(guild, 1)),
                  (std::vector<std::string>{"30 Send private message", "34 Add to friendlist"}));
        EXPECT_TRUE(MenuAt(RowX(guild), RowY(guild, 12)).empty());
        EXPECT_TRUE(MenuAt(guild->x + 100, guild->y + 100).empty());
        guild->Close();
    }
}

TEST_F(GuildTest, ALeftClickOnARowShowsTheHint) {
    Guild* guild = OpenGuild(1);
    guild->OnMouseUp(RowX(guild), RowY(guild, 1));
    auto* hint = dynamic_cast<Look*>(core->windows.back());
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->title, MakeColorCode(128, 245, 128, 192) + "Right-click" +
                               MakeColorCode(224, 224, 224, 224) + " to show a context menu.");
}

TEST_F(GuildTest, WithoutAnOwnGuildTheOpenerOpensNothing) {
    core->guilds = {GuildInfo{12, "Bears", 0, 1, 0, {{"Zed", 0, 0}}}};
    auto* panel = new Paneltop(core.get(), nullptr);
    core->paneltopWindow = core->AddWindow(panel);
    panel->Refresh();
    Button* button = panel->FindButton(Paneltop::GuildButton);
    ASSERT_NE(button, nullptr);
    panel->OnCommand(button);
    EXPECT_EQ(core->FindWindow(WindowType::Guild), nullptr);
    EXPECT_NE(core->FindWindow(WindowType::Guildinvite), nullptr);
}

TEST_F(GuildTest, FoundingRefusesAnEmptyNameAndSendsTheName) {
    auto* found = Open(new Guildfound(core.get()));
    Sent();
    found->OnSubmit();
    EXPECT_EQ(LastBox(), "Friends: No name entered.");
    EXPECT_EQ(core->focusedInput, found->input);
    EXPECT_TRUE(Sent().empty());
    CloseBoxes();
    core->friends = {{1, 0, "Cid", 0, "", 1}};
    found->OnSubmit();
    EXPECT_EQ(LastBox(), "Friends & Foes: No name entered.");
    CloseBoxes();

    for (char c : std::string(26, 'w')) found->input->OnChar(uint8_t(c));
    EXPECT_EQ(found->input->text, "W" + std::string(24, 'w'));
    found->input->SetText("Wolves");
    found->OnCommand(found->FindButton(Guildfound::FoundButtonId));
    EXPECT_EQ(core->FindWindow(WindowType::Guildfound), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Input), nullptr);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"e301" + Str("Wolves")}));
}

TEST_F(GuildTest, CancellingTheFoundingTellsTheServerOnce) {
    for (uint32_t id : {uint32_t(Guildfound::CancelButtonId), uint32_t(ButtonId::Close)}) {
        auto* found = Open(new Guildfound(core.get()));
        Sent();
        found->OnCommand(found->FindButton(id));
        EXPECT_EQ(core->FindWindow(WindowType::Guildfound), nullptr);
        EXPECT_EQ(Sent(), (std::vector<std::string>{"e302"}));
    }
}

TEST_F(GuildTest, TheInvitationsWindowIsASnapshotOfTheInvitations) {
    core->guilds = {GuildInfo{300, "Wolves", 0, 0, 1, {{"Hero", 4, 0}}},
                    GuildInfo{12, "Bears", 0, 1, 0, {{"Zed", 0, 0}}}};
    auto* one = Open(new Guildinvite(core.get()));
    EXPECT_EQ(one->height, 179);
    EXPECT_EQ(DrawnIn(one, ValueColour),
              (std::vector<std::string>{"You've been invited to join a guild:", "Bears", "Zed"}));
    one->Close();

    core->guilds.push_back(GuildInfo{13, "Crows", 0, 1, 0, {{"Yan", 0, 0}}});
    core->guilds.push_back(GuildInfo{14, "Deer", 0, 1, 0, {{"Xia", 0, 0}}});
    auto* three = Open(new Guildinvite(core.get()));
    EXPECT_EQ(three->height, 279);
    EXPECT_EQ(DrawnIn(three, ValueColour)[0], "You've been invited to join these guilds:");
    const size_t before = core->windows.size();
    // The gap between the first two entries.
    three->OnMouseUp(three->x + 100, three->y + 56 + 20 + 45);
    EXPECT_EQ(core->windows.size(), before);
    // The second entry.
    three->OnMouseUp(three->x + 100, three->y + 56 + 20 + 50 + 5);
    auto* menu = dynamic_cast<Action*>(core->windows.back());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title, "Guild");
    EXPECT_EQ(menu->context, 13u);
    ASSERT_EQ(menu->entries.size(), 2u);
    EXPECT_EQ(menu->entries[0].label, "Join guild");
    EXPECT_EQ(menu->entries[1].label, "Reject invite");
    Sent();
    menu->Execute(0);
    EXPECT_EQ(core->FindWindow(WindowType::Guildinvite), nullptr);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"e305" + U32(13)}));
}

}  // namespace
