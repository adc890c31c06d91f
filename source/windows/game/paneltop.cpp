#include "windows/game/paneltop.h"

#include <algorithm>
#include <utility>

#include "core.h"
#include "font.h"
#include "protocol.h"
#include "render.h"
#include "windows/dialogs/character.h"
#include "windows/dialogs/guild.h"
#include "windows/dialogs/guildinvite.h"
#include "windows/dialogs/house.h"
#include "windows/dialogs/look.h"
#include "windows/dialogs/questlog.h"
#include "windows/dialogs/store.h"
#include "windows/front/settings.h"
#include "windows/game/action.h"
#include "windows/game/friendlist.h"
#include "windows/guide/help.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/weblink.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t BuildHeight = 100;
constexpr int32_t ContentTop = 4;
constexpr int32_t ContentBottomMargin = 2;
constexpr int32_t Inset = 4;
constexpr int32_t RowHeight = 18;
constexpr int32_t ButtonWidth = 148;
constexpr int32_t ButtonHeight = 18;
constexpr int32_t ButtonStep = 19;
constexpr WindowRect CaptionBox{1, 1, 146, 16};
constexpr int32_t ButtonSkinX = 448;
constexpr int32_t ButtonSkinY[] = {288, 306, 324};

constexpr uint16_t InterfaceSkin = 1;
constexpr uint16_t LineSkin = 2;

// The live rows: a bar of 9 pixels inside the row, filled from the left, with a centred text.
constexpr int32_t BarHeight = 9;
constexpr int32_t BarSkinY = 191;
constexpr int32_t BarPartWidth = 4;
constexpr int32_t ExperienceSkinX = 228;
constexpr int32_t FillSkinX = 275;
constexpr int32_t EmptySkinX = 101, EmptySkinY = 142, EmptyPartWidth = 100;
constexpr uint32_t RowTextColour = 0xE0E0E0E0;
constexpr uint32_t SkillPoolMax = 100000;

// The row frame of the surface: corners, sides and edges cut from the interface skin.
constexpr int32_t FrameLeftX = 233, FrameRightX = 246, FrameEdgeX = 237;
constexpr int32_t FrameTopY = 153, FrameSideY = 157, FrameBottomY = 166;
constexpr int32_t FrameCorner = 4, FrameSideHeight = 9;

// The marks beside the buttons.
constexpr int32_t MarkSkinX = 82, MarkSkinY = 85, MarkWidth = 6, MarkHeight = 12;

// Highlight tints of the buttons, and the Logout blink: on for the first half of every second.
constexpr uint32_t GreenTint = 0xC080F580;
constexpr uint32_t RedTint = 0xC0FFC0C0;
constexpr uint32_t PaleGreenTint = 0xC0C0FFC0;
constexpr uint32_t LogoutTint = 0xC0E08080;
constexpr uint64_t BlinkPeriodMs = 1000, BlinkOnMs = 500;

// A house with fewer days than this to the next rent warns when the bank cannot pay it.
constexpr uint8_t RentWarningDays = 5;

const char SkillPoolHint[] =
    "The pool fills up by the use of offensive abilities, but drains over time and by the use of "
    "passive abilities. To train your skills, the pool should not be empty.";

struct MenuRow {
    uint32_t code;
    const char* label;
    uint8_t Options::*option;
};
// The menu's rows after the column entries; code 0 is a separator.
const MenuRow MenuRows[] = {
    {0, "-", nullptr},
    {240, "Connection", &Options::mping},
    {241, "Capacity (beta)", &Options::beta_mcap},
    {242, "Skill pool (beta)", &Options::beta_mpool},
    {0, "-", nullptr},
    {243, "Character", &Options::mchar},
    {244, "Journal", &Options::mjournal},
    {245, "House", &Options::mhouse},
    {246, "Store", &Options::mstore},
    {247, "Friends", &Options::mfriends},
    {0, "-", nullptr},
    {248, "Settings", &Options::msetting},
    {249, "Guide", &Options::mguide},
    {250, "Report", &Options::mreprt},
};

std::string PercentText(uint64_t value, uint64_t max) {
    return std::to_string(max == 0 ? 0 : value * 100 / max) + " %";
}

bool Inside(const WindowRect& row, int32_t px, int32_t py) {
    return row.h > 0 && px >= row.x && px < row.x + row.w && py >= row.y && py < row.y + row.h;
}

}  // namespace

PingQuality QualityOfPing(uint32_t pingMs) {
    if (pingMs < 100) return {"Excellent", 251};
    if (pingMs < 200) return {"Good", 257};
    if (pingMs < 300) return {"Moderate", 263};
    if (pingMs < 400) return {"Deficient", 263};
    return {"Inadequate", 269};
}

std::string KilogramText(uint32_t grams) {
    return FormatNumber(grams / 1000) + "." + std::to_string(grams % 1000 / 100);
}

std::string SkillPoolText(uint32_t pool) {
    return std::to_string(pool / 1000) + "." + std::to_string(pool % 1000 / 100);
}

void UpdateHouseWarning(Core& core) {
    if (auto* panel = dynamic_cast<Paneltop*>(core.paneltopWindow)) panel->UpdateHouse();
}

Paneltop::Paneltop(Core* core, Panel* column) : Panellist(core, column) { Build(); }

void Paneltop::Build() {
    MoveToColumnTop();
    if (core->options.widescreen) width = Panel::ColumnWidth;
    height = BuildHeight;
    ResetLayout();
    movable = 1;
    resizable = 0;
    name = "";
    typeId = WindowType::Paneltop;
    titleHeight = TitleBand;
    font = core->GetFont(1);
    BuildContent();
    minHeight = height;
    CreateSurface();
}

void Paneltop::BuildContent() {
    const Options& options = core->options;
    int32_t top = ContentTop;
    auto row = [&](bool shown) {
        if (!shown) return WindowRect{};
        const WindowRect place{Inset, top, width - 2 * Inset, RowHeight};
        top += RowHeight;
        return place;
    };
    connectionRow = row(options.mping);
    experienceRow = row(options.mexp && options.widescreen);
    capacityRow = row(options.beta_mcap);
    skillPoolRow = row(options.beta_mpool);

    UpdateHouse();
    const struct {
        uint32_t id;
        std::string caption;
        bool shown;
    } entries[] = {
        {CharacterButton, "Character", options.mchar != 0},
        {JournalButton, "Journal", options.mjournal != 0},
        {HouseButton, "House", options.mhouse && (core->nobleDaysLeft > 0 || core->hasHouse)},
        {GuildButton, "Guild", !core->guilds.empty()},
        {StoreButton, "Store", options.mstore != 0},
        {FriendsButton, core->FriendsTitle(), options.mfriends != 0},
        {SettingsButton, "Settings", options.msetting != 0},
        {GuideButton, "How to guide", options.mguide != 0},
        {ReportButton, "Report", options.mreprt != 0},
        {LogoutButton, "Logout", options.mlogout != 0},
    };
    buttonCount = 0;
    for (const auto& entry : entries) {
        if (!entry.shown) continue;
        AddButton(Inset, top, entry.id, ButtonSkinX, ButtonSkinY[0], ButtonSkinX, ButtonSkinY[1],
                  ButtonSkinX, ButtonSkinY[2], ButtonWidth, ButtonHeight, CaptionBox, entry.caption,
                  0, 0);
        top += ButtonStep;
        ++buttonCount;
    }
    height = top + ContentBottomMargin;
}

void Paneltop::Refresh() {
    const int32_t oldHeight = height;
    ClearButtons();
    BuildContent();
    // In a column the panel keeps its height unless the column makes room for the new one.
    const int32_t wanted = height;
    if (panel && !collapsed && wanted != oldHeight) {
        height = oldHeight;
        if (panel->ApplyHeightChange(this, wanted)) height = wanted;
    }
    minHeight = height;
    Button* friends = FindButton(FriendsButton);
    if (friends && core->FindWindow(WindowType::Friendlist)) friends->enabled = 0;
    Window::Refresh();
}

void Paneltop::UpdateHouse() {
    const uint32_t noble = core->nobleDaysLeft;
    const HouseInfo& house = core->houseInfo;
    houseWarning =
        noble == 0 || (core->hasHouse && noble < house.daysToDue) ||
        (core->hasHouse && house.rent > core->bankBalance && house.daysToDue < RentWarningDays);
}

void Paneltop::OnButton(uint32_t id) {
    if (Button* button = FindButton(id)) OnCommand(button);
}

void Paneltop::PaintContent() {
    render->DrawFrame3(0, 0, width, height);
    for (const WindowRect* row : {&connectionRow, &experienceRow, &capacityRow, &skillPoolRow}) {
        if (row->h == 0) continue;
        const int32_t left = row->x, top = row->y, right = row->x + row->w - FrameCorner;
        const int32_t bottom = row->y + row->h - FrameCorner, edge = row->w - 2 * FrameCorner;
        render->DrawSkinPart(left, top, FrameLeftX, FrameTopY, FrameCorner, FrameCorner,
                             InterfaceSkin);
        render->DrawSkinPart(right, top, FrameRightX, FrameTopY, FrameCorner, FrameCorner,
                             InterfaceSkin);
        render->DrawSkinPart(left, top + FrameCorner, FrameLeftX, FrameSideY, FrameCorner,
                             FrameSideHeight, InterfaceSkin);
        render->DrawSkinPart(right, top + FrameCorner, FrameRightX, FrameSideY, FrameCorner,
                             FrameSideHeight, InterfaceSkin);
        render->DrawSkinPart(left, bottom, FrameLeftX, FrameBottomY, FrameCorner, FrameCorner,
                             InterfaceSkin);
        render->DrawSkinPart(right, bottom, FrameRightX, FrameBottomY, FrameCorner, FrameCorner,
                             InterfaceSkin);
        render->DrawSkinPartTiled(left + FrameCorner, top, edge, FrameCorner, 0, 0, FrameEdgeX,
                                  FrameTopY, FrameCorner, FrameCorner, InterfaceSkin);
        render->DrawSkinPartTiled(left + FrameCorner, bottom, edge, FrameCorner, 0, 0, FrameEdgeX,
                                  FrameBottomY, FrameCorner, FrameCorner, InterfaceSkin);
    }
}

void Paneltop::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Paneltop::Draw() {
    const Options& options = core->options;
    if (core->testWalker.testing) return;
    // The line under the window, or while it is dragged its whole place in the column.
    if (!options.widescreen || options.panel) {
        if (dragging) render->DrawSkinTiled(x, homeY, width, VisibleHeight() + 1, 0, 0, LineSkin);
        else DrawDragLine();
    }
    DrawCached([this] { PaintContent(); });
    if (!options.widescreen && !core->screenshotPending && !core->screenshotBusy) DrawButtonMarks();
    DrawButtonsHighlighted();
    DrawLiveRows();
}

void Paneltop::DrawButtonMarks() {
    const int32_t top = y + 8 + (connectionRow.h ? RowHeight : 0);
    for (uint32_t i = 0; i < buttonCount; ++i)
        render->DrawSkinPart(x + width - 2, top + ButtonStep * int32_t(i), MarkSkinX, MarkSkinY,
                             MarkWidth, MarkHeight, InterfaceSkin);
}

void Paneltop::DrawButtonsHighlighted() {
    const bool blinkOn = core->frameTimeMs % BlinkPeriodMs < BlinkOnMs;
    for (Button* button : buttons) {
        uint32_t tint = 0;
        switch (button->id) {
            case CharacterButton: tint = core->attributePoints ? GreenTint : 0; break;
            case HouseButton: tint = houseWarning ? RedTint : 0; break;
            case JournalButton: tint = journalNew ? GreenTint : 0; break;
            case GuideButton: tint = PaleGreenTint; break;
            case ReportButton: tint = RedTint; break;
            case LogoutButton: tint = core->gameHalted && blinkOn ? LogoutTint : 0; break;
            default: break;
        }
        if (tint) button->DrawPressed(x, y, width, height, tint);
        else button->Draw(x, y, width, height);
    }
}

void Paneltop::DrawRowBar(const WindowRect& row, int32_t filled, int32_t filledSkinX,
                          const std::string& text) {
    const int32_t barX = x + row.x + Inset, barY = y + row.y + Inset;
    const int32_t barWidth = BarWidth();
    if (filled > 0)
        render->DrawSkinPartTiled(barX, barY, filled, BarHeight, 0, 0, filledSkinX, BarSkinY,
                                  BarPartWidth, BarHeight, InterfaceSkin);
    if (filled < barWidth)
        render->DrawSkinPartTiled(barX + filled, barY, barWidth - filled, BarHeight, 0, 0,
                                  EmptySkinX, EmptySkinY, EmptyPartWidth, BarHeight, InterfaceSkin);
    if (font)
        font->DrawTextCentered(x + row.x - Inset + width / 2, y + row.y + 3, text, RowTextColour);
}

int32_t Paneltop::BarWidth() const { return width - 2 * (Inset + Inset); }

void Paneltop::DrawLiveRows() {
    const int32_t barWidth = BarWidth();
    if (connectionRow.h) {
        const PingQuality quality = QualityOfPing(core->pingAverage);
        DrawRowBar(connectionRow, barWidth, quality.skinX, quality.word);
    }
    if (experienceRow.h)
        DrawRowBar(experienceRow, FilledWidth(core->experience, core->experienceNext, barWidth),
                   ExperienceSkinX, PercentText(core->experience, core->experienceNext));
    if (capacityRow.h)
        DrawRowBar(capacityRow, FilledWidth(core->carriedWeight, core->capacity, barWidth),
                   FillSkinX, PercentText(core->carriedWeight, core->capacity));
    if (skillPoolRow.h)
        DrawRowBar(skillPoolRow, FilledWidth(core->skillPool, SkillPoolMax, barWidth), FillSkinX,
                   SkillPoolText(core->skillPool));
}

void Paneltop::OnMouseUp(int32_t mx, int32_t my) {
    if (dragging) {
        Panellist::OnMouseUp(mx, my);
        return;
    }
    if (resizing || core->InputModeArmed()) return;
    if (mx < x + Inset || mx >= x + width - Inset) return;
    const int32_t px = mx - x, py = my - y;
    if (Inside(connectionRow, px, py)) {
        const std::string word = QualityOfPing(core->pingAverage).word;
        ShowTooltip(mx, my, "",
                    word + " connection ( ping: " + std::to_string(core->pingAverage) + " )");
    } else if (Inside(experienceRow, px, py)) {
        ShowTooltip(mx, my, "",
                    "Experience:  " + std::to_string(core->experience) + " / " +
                        std::to_string(core->experienceNext));
    } else if (Inside(capacityRow, px, py)) {
        std::string text = "Capacity:  " + KilogramText(core->carriedWeight) + " / " +
                           KilogramText(core->capacity) + " kg";
        if (core->carriedWeight > core->capacity) text += "\nWeight limit exceeded";
        ShowTooltip(mx, my, "", text);
    } else if (Inside(skillPoolRow, px, py)) {
        ShowTooltip(mx, my, "Skill pool", SkillPoolHint);
    }
}

void Paneltop::ShowTooltip(int32_t mx, int32_t my, std::string title, std::string text) {
    core->AddWindow(new Look(core, std::move(title), std::move(text), mx, my, 1));
}

void Paneltop::OnRightClick(int32_t mx, int32_t my) {
    auto* menu = new Action(core, this, name, 0);
    AddPanelMenu(menu);
    for (const MenuRow& row : MenuRows) {
        if (!row.option) menu->AddEntry(row.code, row.label);
        else
            menu->AddEntryWithHint(row.code, row.label,
                                   core->options.*row.option ? "Hide" : "Show");
    }
    menu->Open(mx, my);
    core->AddWindow(menu);
}

void Paneltop::OnCommand(Button* button) {
    switch (button->id) {
        case SettingsButton: core->AddWindow(new Settings(core)); break;
        case LogoutButton: Logout(); break;
        case CharacterButton: OpenCharacter(core); break;
        case FriendsButton:
            OpenFriendlist();
            button->pressed = 0;
            break;
        case GuideButton:
            if (!core->FindWindow(WindowType::Help)) core->AddWindow(new Help(core))->OnOpen();
            break;
        case StoreButton: OpenStore(); break;
        case ReportButton:
            ShowLinkedMessage("Report",
                              "Please report bugs, feedback or any ingame problems on Discord.",
                              "Discord", DiscordInvite);
            break;
        case HouseButton: OpenHouse(); break;
        case JournalButton: OpenJournal(); break;
        case GuildButton: OpenGuild(); break;
        default: Panellist::OnCommand(button); break;
    }
}

void Paneltop::Logout() {
    if (core->CheckPlayerFlag()) core->ConfirmLogout();
    else core->RefuseLogout();
}

void Paneltop::OpenFriendlist() {
    if (core->FindWindow(WindowType::Friendlist)) return;
    // The list joins the panel's own column, which makes room for it.
    if (panel) panel->Add(new Friendlist(core, panel));
    else core->AddWindow(new Friendlist(core));
}

void Paneltop::OpenStore() {
    if (!core->steamReady) {
        ShowLinkedMessage("Store", "The store requires steam. Go to the steam website.", "Steam",
                          SteamStorePage);
        return;
    }
    // A connection that logged in through Steam holds its ticket: the account is linked.
    const Protocol* connection = core->activeConnection;
    if (!connection || !connection->ticketPending)
        core->ShowMessage("Store",
                          "This account is not authorised with steam.\nLink your account to "
                          "Steam via the main screen > Account > Steam.",
                          0);
    else core->AddWindow(new Store(core));
}

void Paneltop::OpenHouse() {
    if (!core->hasHouse) {
        core->ShowMessage("House",
                          "You do currently not have a house. Visit an auctioneer to rent one.", 0);
        return;
    }
    core->AddWindow(new House(core))->OnOpen();
    if (!houseWarning) return;
    const HouseInfo& house = core->houseInfo;
    if (core->nobleDaysLeft == 0 || core->nobleDaysLeft < house.daysToDue)
        core->ShowMessage("House",
                          "Your noble account is due to run out before the next rent payment.", 0);
    else if (house.rent > core->bankBalance && house.daysToDue < RentWarningDays)
        core->ShowMessage("House", "You do not have enough money on your bank to pay next rent.",
                          0);
}

void Paneltop::OpenJournal() {
    if (core->quests.empty()) {
        core->ShowMessage("Journal", "You do not have a journal entry yet. Start exploring!", 0);
        return;
    }
    core->AddWindow(new Questlog(core))->OnOpen();
    journalNew = 0;
}

void Paneltop::OpenGuild() {
    if (!core->UnmarkedEntries().empty()) core->AddWindow(new Guild(core))->OnOpen();
    if (!core->MarkedEntries().empty()) core->AddWindow(new Guildinvite(core));
}

void Paneltop::ShowLinkedMessage(const std::string& title, const std::string& text,
                                 const std::string& linkCaption, const std::string& link) {
    auto* message = new Message(core, title, text, 0);
    message->link = link;
    // The box's "ok" is its link button: it opens the page and closes the box.
    if (Button* ok = message->FindButton(ButtonId::Ok)) ok->SetText(linkCaption);
    core->AddWindow(message);
}
