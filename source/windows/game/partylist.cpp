#include "windows/game/partylist.h"

#include <algorithm>

#include "core.h"
#include "font.h"
#include "protocol.h"
#include "render.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/game/console.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t FirstHeight = 150, LeastHeight = 96;
// Members start 24 pixels down, 9 pixels right of the content edge; clicks count 5 pixels inside
// the window, below the title band and right of x 23.
constexpr int32_t RowsTop = 24, RowIndent = 9, AreaLeft = 23, AreaTop = 22, AreaInset = 5,
                  ScrollExtra = 4;
// The bar frame 13 pixels below the name: two 2 x 16 caps around a tiled 10 x 16 middle, 38
// pixels narrower than the window; health and mana 4 pixels high inside it.
constexpr int32_t FrameDrop = 13, FrameHeight = 16, FrameSkinY = 205, FrameCapWidth = 2,
                  LeftCapSkinX = 234, MiddleSkinX = 236, MiddleSkinWidth = 10, RightCapSkinX = 247;
constexpr int32_t BarInset = 38, BarHeight = 4, BarSkinX = 228, HealthSkinY = 207, ManaSkinY = 215,
                  HealthDrop = 15, ManaDrop = 23;
constexpr int32_t DeadSkinX = 259, DeadSkinY = 176, DeadWidth = 9, DeadHeight = 10, DeadDrop = 16;
constexpr int32_t FullStatus = 200;
constexpr uint32_t AliveColour = 0xFFFFFFFF, DeadColour = 0xFF606060;
constexpr uint8_t RefusalKind = 2;

}  // namespace

Partylist::Partylist(Core* core, Window* owner) : Panellist(core, owner) { Build(); }

void Partylist::Build() {
    Panellist::Build();
    typeId = WindowType::Partylist;
    name = "Party";
    height = FirstHeight;
    minHeight = LeastHeight;
    AddScrollBar();
}

int32_t Partylist::BarWidth(uint8_t value) const {
    return std::max(0, width - BarInset) * std::min<int32_t>(value, FullStatus) / FullStatus;
}

void Partylist::Paint() {
    scrollTotal = RowPitch * int32_t(core->party.size()) + ScrollExtra;
    if (scroll) scroll->SetTotal(scrollTotal);
    PaintList([this] {
        for (size_t i = 0; i < core->party.size(); ++i) PaintMember(i);
    });
}

void Partylist::PaintMember(size_t index) {
    const PartyMember& member = core->party[index];
    const int32_t top = RowsTop + RowPitch * int32_t(index), left = contentX + RowIndent;
    const bool dead = member.first == 0;
    if (font)
        font->DrawText(left, top, (member.leader ? "* " : "") + member.name,
                       dead ? DeadColour : AliveColour);
    const int32_t span = width - BarInset, frameY = top + FrameDrop;
    render->DrawSkinPart(left - 1, frameY, LeftCapSkinX, FrameSkinY, FrameCapWidth, FrameHeight,
                         SkinAtlasId);
    render->DrawSkinPartTiled(left + 1, frameY, span, FrameHeight, 0, 0, MiddleSkinX, FrameSkinY,
                              MiddleSkinWidth, FrameHeight, SkinAtlasId);
    render->DrawSkinPart(left + span + 1, frameY, RightCapSkinX, FrameSkinY, FrameCapWidth,
                         FrameHeight, SkinAtlasId);
    if (dead) {
        render->DrawSkinPart(left + span / 2 - 4, top + DeadDrop, DeadSkinX, DeadSkinY, DeadWidth,
                             DeadHeight, SkinAtlasId);
        return;
    }
    render->DrawSkinPartTiled(left + 1, top + HealthDrop, BarWidth(member.first), BarHeight, 0, 0,
                              BarSkinX, HealthSkinY, BarHeight, BarHeight, SkinAtlasId);
    render->DrawSkinPartTiled(left + 1, top + ManaDrop, BarWidth(member.second), BarHeight, 0, 0,
                              BarSkinX, ManaSkinY, BarHeight, BarHeight, SkinAtlasId);
}

int32_t Partylist::RowAt(int32_t rx, int32_t ry) const {
    if (rx <= AreaLeft || rx >= width - AreaInset || ry <= AreaTop || ry >= height - AreaInset)
        return NoRow;
    // A point above the first row is no row.
    const int32_t fromFirst = ry + (scroll ? scroll->position : 0) - RowsTop;
    return fromFirst < 0 ? NoRow : fromFirst / RowPitch;
}

void Partylist::OnMouseUp(int32_t mx, int32_t my) {
    if (dragging || resizing) {
        Panellist::OnMouseUp(mx, my);
        return;
    }
    if (core->InputModeArmed()) return;
    const int32_t row = RowAt(mx - x, my - y);
    if (row == NoRow) return;
    if (row >= int32_t(core->party.size())) {
        const std::string green = MakeColorCode(0x80, 0xF5, 0x80, 0xC0);
        const std::string grey = MakeColorCode(0xE0, 0xE0, 0xE0, 0xE0);
        std::string text = green + "Left-click" + grey + " to open a personal channel. ";
        // Only the leader may remove members.
        if (core->IsPartyLeaderSelf())
            text += green + "Right-click" + grey + " to remove a member.";
        core->AddWindow(new Look(core, "", text, mx, my, 1));
        return;
    }
    const PartyMember member = core->party[size_t(row)];
    if (core->IsOwnName(member.name)) return;
    if (member.first == 0) {
        core->AddNotification(RefusalKind, member.name + " is dead.");
    } else if (auto* console = dynamic_cast<Console*>(core->consoleWindow)) {
        console->OpenPrivatePage(member.name);
    }
}

void Partylist::OnRightClick(int32_t mx, int32_t my) { ShowMenu(mx, my); }

void Partylist::ShowMenu(int32_t mx, int32_t my) {
    const int32_t rx = mx - x, ry = my - y;
    Action* menu = nullptr;
    if (ry >= 0 && ry < titleHeight) {
        menu = new Action(core, this, name, 0);
        menu->AddEntry(ActionCode::InvitePerson, "Invite a person");
        menu->AddEntry(0, "-");
        AddPanelMenu(menu);
    } else {
        const int32_t row = RowAt(rx, ry);
        if (row == NoRow || row >= int32_t(core->party.size())) return;
        const PartyMember& member = core->party[size_t(row)];
        if (core->IsOwnName(member.name)) return;
        menu = new Action(core, this, member.name, member.id);
        menu->AddEntry(ActionCode::SendPrivateMessage, "Send private message");
        if (core->IsPartyLeaderSelf()) {
            menu->AddEntry(0, "-");
            menu->AddEntry(ActionCode::ExpelFromParty, "Expel from party");
            menu->AddEntry(ActionCode::MakePartyLeader, "Make party leader");
            menu->AddEntry(ActionCode::InvitePerson, "Invite a person");
        }
    }
    menu->Open(mx, my);
    core->AddWindow(menu);
}

void Partylist::OnCommand(Button* button) {
    if (button->id != ButtonId::Close) {
        Panellist::OnCommand(button);
        return;
    }
    if (core->activeConnection) core->activeConnection->SendPartyLeave();
    Close();
}

void Partylist::Close() {
    if (panel) panel->Close(this, true);
    else core->RemoveWindow(this);
}
