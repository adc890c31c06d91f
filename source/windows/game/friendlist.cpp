#include "windows/game/friendlist.h"

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "windows/dialogs/friendpop.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/game/console.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t FirstHeight = 150, LeastHeight = 96;
// The rows start 24 pixels down, 9 pixels right of the content edge; the area that takes clicks
// lies 5 pixels inside the window and below the title band.
constexpr int32_t RowsTop = 24, RowIndent = 9, AreaInset = 5, AreaRightInset = 23, AreaTop = 22,
                  ScrollExtra = 4;
// A foe's mark (9 x 10) and the mark of status 2 (7 x 10), from skin image 1.
constexpr int32_t FoeSkinX = 259, MarkSkinY = 176, FoeWidth = 9, FoeStep = 12, MarkHeight = 10;
constexpr int32_t AwaySkinX = 251, AwayWidth = 7, AwayStep = 9;
constexpr uint8_t Offline = 0, MarkedStatus = 2;
constexpr uint32_t OnlineColour = 0xFFFFFFFF, OfflineColour = 0xFF606060,
                   HighlightColour = 0x10FFFFFF;
// The status panel's friends button.
constexpr uint32_t FriendsButton = 22;

}  // namespace

Friendlist::Friendlist(Core* core, Window* owner) : Panellist(core, owner) { Build(); }

Friendlist::~Friendlist() {
    Window* status =
        core->paneltopWindow ? core->paneltopWindow : core->FindWindow(WindowType::Paneltop);
    if (!status) return;
    if (Button* friends = status->FindButton(FriendsButton)) {
        friends->enabled = 1;
        friends->pressed = 0;
    }
}

void Friendlist::Build() {
    Panellist::Build();
    typeId = WindowType::Friendlist;
    name = core->FriendsTitle();
    height = FirstHeight;
    minHeight = LeastHeight;
    AddScrollBar();
    UpdateScroll();
}

void Friendlist::RebuildRows() {
    rows.clear();
    for (const FriendRecord& person : core->friends)
        if (person.state != Offline) rows.push_back(person);
    if (!core->options.ofriends)
        for (const FriendRecord& person : core->friends)
            if (person.state == Offline) rows.push_back(person);
}

void Friendlist::UpdateScroll() {
    RebuildRows();
    scrollTotal = int32_t(rows.size()) * RowPitch + ScrollExtra;
    if (scroll) scroll->SetTotal(scrollTotal);
}

void Friendlist::Paint() {
    name = core->FriendsTitle();
    if (NeedsPaint()) UpdateScroll();
    PaintList([this] {
        for (size_t i = 0; i < rows.size(); ++i) {
            const FriendRecord& person = rows[i];
            int32_t rowX = contentX + RowIndent;
            const int32_t rowY = RowsTop + RowPitch * int32_t(i);
            if (person.foe) {
                render->DrawSkinPart(rowX, rowY, FoeSkinX, MarkSkinY, FoeWidth, MarkHeight,
                                     SkinAtlasId);
                rowX += FoeStep;
            }
            if (person.state == MarkedStatus) {
                render->DrawSkinPart(rowX, rowY + 1, AwaySkinX, MarkSkinY, AwayWidth, MarkHeight,
                                     SkinAtlasId);
                rowX += AwayStep;
            }
            if (font)
                font->DrawText(rowX, rowY, person.name,
                               person.state == Offline ? OfflineColour : OnlineColour);
        }
    });
}

void Friendlist::Draw() {
    Panellist::Draw();
    if (collapsed || rows.empty() || !IsUnderMouse() || !core->screen) return;
    const Mouse* mouse = core->screen->mouse;
    const int32_t row = RowAt(mouse->x - x, mouse->y - y);
    if (row == NoRow || row >= int32_t(rows.size())) return;
    const int32_t offset = scroll ? scroll->position : 0;
    const WindowRect area = ContentArea();
    GFX_PushClip();
    GFX_SetClip(float(x + area.x), float(y + area.y), float(area.w), float(area.h));
    render->FillRect(x + contentX + AreaInset, y + AreaTop + RowPitch * row - offset,
                     width - AreaRightInset, RowPitch + 2, HighlightColour);
    GFX_PopClip();
}

int32_t Friendlist::RowAt(int32_t rx, int32_t ry) const {
    const bool inside = rx > contentX + AreaInset && rx < contentX + width - AreaRightInset &&
                        ry > AreaTop && ry < height - AreaInset;
    if (!inside) return NoRow;
    // A point above the first row is no row.
    const int32_t fromFirst = ry - RowsTop + (scroll ? scroll->position : 0);
    return fromFirst < 0 ? NoRow : fromFirst / RowPitch;
}

const FriendRecord* Friendlist::PersonAt(int32_t row) const {
    if (row == NoRow || row >= int32_t(rows.size())) return nullptr;
    const FriendRecord& person = rows[size_t(row)];
    return core->IsOwnName(person.name) ? nullptr : &person;
}

void Friendlist::OnMouseUp(int32_t mx, int32_t my) {
    if (dragging || resizing) {
        Panellist::OnMouseUp(mx, my);
        return;
    }
    if (core->InputModeArmed() || rows.empty()) return;
    const int32_t row = RowAt(mx - x, my - y);
    if (row == NoRow) return;
    if (row >= int32_t(rows.size())) {
        const std::string green = MakeColorCode(128, 245, 128, 192);
        const std::string grey = MakeColorCode(224, 224, 224, 224);
        core->AddWindow(new Look(core, "",
                                 green + "Left-click" + grey + " to open a private channel. " +
                                     green + "Right-click" + grey + " to add a person.",
                                 mx, my, 1));
        return;
    }
    const FriendRecord* person = PersonAt(row);
    if (!person) return;
    if (person->state == Offline) {
        core->AddWindow(new Look(core, "",
                                 MakeColorCode(255, 255, 255, 255) + person->name +
                                     MakeColorCode(224, 224, 224, 224) + " is offline",
                                 mx, my, 1));
    } else if (auto* console = dynamic_cast<Console*>(core->consoleWindow)) {
        console->OpenPrivatePage(person->name);
    }
}

void Friendlist::OnRightClick(int32_t mx, int32_t my) { ShowMenu(mx, my); }

void Friendlist::ShowMenu(int32_t mx, int32_t my) {
    const int32_t rx = mx - x, ry = my - y;
    Action* menu = nullptr;
    if (rx >= 0 && rx < width && ry >= 0 && ry < titleHeight) {
        menu = new Action(core, this, name, 0);
        menu->AddEntry(ActionCode::AddNewPerson, "Add a new person");
        menu->AddEntry(ActionCode::ToggleOfflineFriends,
                       core->options.ofriends ? "Show offline" : "Hide offline");
        menu->AddEntry(ActionCode::MutePeople, "Mute people");
        menu->AddEntry(0, "-");
        AddPanelMenu(menu);
    } else {
        const int32_t row = RowAt(rx, ry);
        if (row == NoRow) return;
        if (row >= int32_t(rows.size())) {
            if (core->FindWindow(WindowType::Friendpop)) return;
            core->AddWindow(new Friendpop(core))->OnOpen();
            return;
        }
        const FriendRecord* person = PersonAt(row);
        if (!person) return;
        // The friend's id goes with the menu: removing the person sends it.
        menu = new Action(core, this, person->name, person->id);
        if (person->state != Offline) {
            menu->AddEntry(ActionCode::SendPrivateMessage, "Send private message");
            if (!person->foe && !core->IsPartyMember(person->name)) {
                menu->AddEntry(ActionCode::InviteToParty, "Invite to party");
                menu->AddEntry(0, "-");
            }
        }
        menu->AddEntry(ActionCode::ToggleFoe, person->foe ? "Unmark as foe" : "Mark as foe");
        menu->AddEntry(ActionCode::RemoveFriend, "Remove from list");
        menu->AddEntry(0, "-");
        menu->AddEntry(ActionCode::AddNewPerson, "Add a new person");
    }
    menu->Open(mx, my);
    core->AddWindow(menu);
}

void Friendlist::OnWheel(int32_t, int32_t, int32_t delta) {
    if (!scroll) return;
    if (delta > 0) scroll->StepUp();
    else scroll->StepDown();
    dirty = 1;
}
