#include "windows/dialogs/guild.h"

#include <algorithm>

#include "core.h"
#include "font.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "windows/dialogs/housetexts.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Width = 326, Height = 487;
constexpr WindowRect ListRect{38, 227, 250, 192};
// The information panel is drawn this much above infoRect's y.
constexpr int32_t PanelRise = 20;
constexpr int32_t LabelX = 58, ValueX = 268;
constexpr uint32_t MaxMembers = 30;

std::string RowText(const GuildMember& member) {
    if (member.flags & Guild::LeaderFlag) return member.name + " (leader)";
    if (member.flags & (Guild::PatronFlag | Guild::MemberFlag)) return member.name;
    return member.name + " (invited)";
}

bool Inside(int32_t px, int32_t py, int32_t left, int32_t top, int32_t w, int32_t h) {
    return px >= left && px < left + w && py >= top && py < top + h;
}

}  // namespace

const GuildInfo* FindOwnGuild(const std::vector<GuildInfo>& guilds) {
    const auto own = std::find_if(guilds.begin(), guilds.end(),
                                  [](const GuildInfo& guild) { return guild.invitation == 0; });
    return own == guilds.end() ? nullptr : &*own;
}

Guild::Guild(Core* core) : Window(core) { Build(); }

Guild::~Guild() { delete list; }

void Guild::Build() {
    ResetLayout();
    width = Width;
    height = Height;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    modal = 1;
    isLeader = 0;
    CreateSurface();
    name = "Guild";
    typeId = WindowType::Guild;
    font = core->GetFont(2);
    delete list;
    list = new List(core, this, ListRect.x, ListRect.y, ListRect.w, ListRect.h);
    list->Place(0, 0);
    AddPushButton(width - 66, height - 28, ButtonId::Ok, "ok");
    AddCloseButton();
}

void Guild::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    if (list) list->Place(0, 0);
}

void Guild::OnOpen() {
    isLeader = 0;
    const GuildInfo* own = FindOwnGuild(core->guilds);
    if (!own) return;
    guildId = own->id;
    guildName = own->name;
    guildValue = own->value;
    invitation = own->invitation;
    flag = own->flag;
    members = own->members;
    for (const GuildMember& member : members) {
        list->AddItem(RowText(member));
        if ((member.flags & LeaderFlag) && core->IsOwnName(member.name)) isLeader = 1;
    }
}

void Guild::Reload() {
    if (!FindOwnGuild(core->guilds)) {
        Window* panel = core->paneltopWindow;
        Close();
        if (panel) panel->Refresh();
        return;
    }
    list->Clear();
    members.clear();
    OnOpen();
    dirty = 1;
}

void Guild::Close() { core->RemoveWindow(this); }

void Guild::OnSubmit() { Close(); }

void Guild::OnCommand(Button* button) {
    if (button->owner != this) {
        Window::OnCommand(button);
        return;
    }
    if (button->id == ButtonId::Close || button->id == ButtonId::Ok) OnSubmit();
}

std::string Guild::LeaderName() const {
    std::string leader;
    for (const GuildMember& member : members)
        if (member.flags == LeaderFlag) leader = member.name;
    return leader;
}

void Guild::PaintInfo() {
    PaintBoxBackground();
    PaintInfoPanel(render, infoRect.x, infoRect.y - PanelRise, infoRect.w, infoRect.h);
    if (!font) return;
    font->DrawTextCentered(163, 210, "Members", HeadingColour);
    const struct {
        int32_t y;
        const char* label;
        std::string value;
        uint32_t colour;
    } rows[] = {
        {76, "Name", guildName, ValueColour},
        {90, "State", "Active", 0xC080F580},
        {104, "Founded", "1 october 2023", ValueColour},
        {132, "Leader", LeaderName(), ValueColour},
        {146, "Patrons", "0 / 2", 0xC0FF8080},
        {160, "Members", std::to_string(members.size()) + " / " + std::to_string(MaxMembers),
         ValueColour},
    };
    for (const auto& row : rows) {
        font->DrawText(LabelX, row.y, row.label, LabelColour);
        font->DrawTextRight(ValueX, row.y, row.value, row.colour);
    }
}

void Guild::Paint() {
    PaintCached([this] { PaintInfo(); });
    list->Paint();
}

void Guild::Draw() {
    DrawFrame();
    DrawCached([this] { PaintInfo(); });
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (mouse && Inside(mouse->x, mouse->y, x + infoRect.x, y + infoRect.y - PanelRise, infoRect.w,
                        infoRect.h))
        render->DrawRect(x + infoRect.x, y + infoRect.y - PanelRise, infoRect.w, infoRect.h,
                         0xFFC0C0C0);
    DrawButtons();
    list->Draw();
}

void Guild::OnMouseUp(int32_t mx, int32_t my) {
    Window::OnMouseUp(mx, my);
    if (!list->HitTest(mx, my)) return;
    const int32_t row = list->HitTestItem(mx, my);
    if (row < 0 || size_t(row) >= members.size()) return;
    core->AddWindow(new Look(core, "",
                             MakeColorCode(128, 245, 128, 192) + "Right-click" +
                                 MakeColorCode(224, 224, 224, 224) + " to show a context menu.",
                             mx, my, 1));
}

Action* Guild::InviteMenu(uint32_t context) {
    auto* menu = new Action(core, this, "Guild", context);
    menu->AddEntry(ActionCode::InviteMember, "Invite member");
    return menu;
}

Action* Guild::MemberMenu(int32_t row) {
    if (row < 0 || size_t(row) >= members.size()) return isLeader ? InviteMenu(guildId) : nullptr;
    const GuildMember& member = members[size_t(row)];
    if (!core->IsOwnName(member.name)) {
        auto* menu = new Action(core, this, member.name, guildId);
        menu->AddEntry(ActionCode::SendPrivateMessage, "Send private message");
        if (!core->IsOnFriendList(member.name))
            menu->AddEntry(ActionCode::AddToFriendlist, "Add to friendlist");
        if (!isLeader) return menu;
        menu->AddEntry(0, "-");
        if (member.flags == 0) {
            menu->AddEntry(ActionCode::UninviteFromGuild, "Uninvite from Guild");
        } else {
            menu->AddEntry(ActionCode::KickFromGuild, "Kick from Guild");
            if (member.flags & PatronFlag)
                menu->AddEntry(ActionCode::TransferLeadership, "Transfer Leadership");
        }
        return menu;
    }
    if (isLeader) return InviteMenu(guildId);
    auto* menu = new Action(core, this, "Guild", guildId);
    if (member.flags & PatronFlag) menu->AddEntry(ActionCode::UnpatronGuild, "Unpatron the Guild");
    else if (member.flags & MemberFlag) menu->AddEntry(ActionCode::PatronGuild, "Patron the Guild");
    menu->AddEntry(ActionCode::LeaveGuild, "Leave the Guild");
    return menu;
}

void Guild::OnRightClick(int32_t mx, int32_t my) {
    const auto open = [&](Action* menu) {
        menu->Open(mx, my);
        core->AddWindow(menu);
    };
    if (isLeader && Inside(mx, my, x + infoRect.x, y + infoRect.y, infoRect.w, infoRect.h))
        open(InviteMenu(0));
    if (!list->HitTest(mx, my)) return;
    if (Action* menu = MemberMenu(list->HitTestItem(mx, my))) open(menu);
}
