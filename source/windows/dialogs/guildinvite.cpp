#include "windows/dialogs/guildinvite.h"

#include "core.h"
#include "font.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "windows/dialogs/housetexts.h"
#include "windows/game/action.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Width = 350;
constexpr int32_t EntryStep = 50, EntryHeight = 40, FirstEntryGap = 20;
// The height besides the entries: frame, heading and button row.
constexpr int32_t FrameHeight = 129;

}  // namespace

Guildinvite::Guildinvite(Core* core) : Window(core) { Build(); }

void Guildinvite::Build() {
    invitations = core->MarkedEntries();
    ResetLayout();
    width = Width;
    height = EntryStep * int32_t(invitations.size()) + FrameHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    areaW = width - 2 * areaX;
    entryRects.clear();
    for (size_t i = 0; i < invitations.size(); ++i)
        entryRects.push_back(
            {areaX, areaY + FirstEntryGap + EntryStep * int32_t(i), areaW, EntryHeight});
    CreateSurface();
    name = "Guild Invitations";
    typeId = WindowType::Guildinvite;
    font = core->GetFont(2);
    // The close box first: look-ups of id 9 find it.
    AddCloseButton();
    AddPushButton(width - 66, height - 28, ButtonId::Close, "close");
}

void Guildinvite::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Guildinvite::OnCommand(Button* button) {
    if (button->id == ButtonId::Close) Close();
    else if (button->id == ButtonId::Yes) OnSubmit();
}

void Guildinvite::OnSubmit() { Close(); }

void Guildinvite::Close() { core->RemoveWindow(this); }

int32_t Guildinvite::EntryAt(int32_t px, int32_t py) const {
    for (size_t i = 0; i < entryRects.size(); ++i) {
        const WindowRect& rect = entryRects[i];
        if (px >= x + rect.x && px < x + rect.x + rect.w && py >= y + rect.y &&
            py < y + rect.y + rect.h)
            return int32_t(i);
    }
    return -1;
}

void Guildinvite::OnMouseUp(int32_t mx, int32_t my) {
    dragging = resizing = 0;
    const int32_t entry = EntryAt(mx, my);
    if (entry < 0) return;
    auto* menu = new Action(core, nullptr, "Guild", invitations[size_t(entry)].id);
    menu->AddEntry(ActionCode::JoinGuild, "Join guild");
    menu->AddEntry(ActionCode::RejectGuildInvite, "Reject invite");
    menu->Open(mx, my);
    core->AddWindow(menu);
}

void Guildinvite::PaintEntries() {
    PaintBoxBackground();
    if (!font) return;
    font->DrawText(areaX, areaY,
                   invitations.size() == 1 ? "You've been invited to join a guild:"
                                           : "You've been invited to join these guilds:",
                   ValueColour);
    for (size_t i = 0; i < invitations.size(); ++i) {
        const WindowRect& rect = entryRects[i];
        const GuildInfo& guild = invitations[i];
        render->DrawFrame1(rect.x, rect.y, rect.w, rect.h);
        font->DrawText(rect.x + 10, rect.y + 10, "Guild", LabelColour);
        font->DrawText(rect.x + 10, rect.y + 22, "Leader", LabelColour);
        font->DrawText(rect.x + 60, rect.y + 10, guild.name, ValueColour);
        if (!guild.members.empty())
            font->DrawText(rect.x + 60, rect.y + 22, guild.members.front().name, ValueColour);
    }
}

void Guildinvite::Paint() {
    PaintCached([this] { PaintEntries(); });
}

void Guildinvite::Draw() {
    DrawFrame();
    DrawCached([this] { PaintEntries(); });
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (mouse) {
        const int32_t entry = EntryAt(mouse->x, mouse->y);
        if (entry >= 0) {
            const WindowRect& rect = entryRects[size_t(entry)];
            render->DrawRect(x + rect.x, y + rect.y, rect.w, rect.h, LabelColour);
        }
    }
    DrawButtons();
}
