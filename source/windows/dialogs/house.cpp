#include "windows/dialogs/house.h"

#include <algorithm>

#include "core.h"
#include "font.h"
#include "platform.h"
#include "protocol.h"
#include "windows/dialogs/housetexts.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Width = 326, Height = 487;
constexpr WindowRect ListRect{38, 269, 250, 150};
constexpr WindowRect InputRect{38, 236, 130, 18};
constexpr uint32_t MaxNameLength = 224;
constexpr uint32_t OwnerRole = 1;
constexpr int32_t LabelX = 58, ValueX = 268, DueY = 160;
constexpr const char* ListTitle = "Invitees List";

std::string RowText(const HouseGuest& guest) {
    return guest.role == OwnerRole ? guest.name + " (owner)" : guest.name;
}

}  // namespace

House::House(Core* core) : InputDialog(core) { Build(); }

House::~House() { delete list; }

void House::Build() {
    ResetLayout();
    width = Width;
    height = Height;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    modal = 1;
    CreateSurface();
    name = "House";
    typeId = WindowType::House;
    font = core->GetFont(2);
    delete list;
    list = new List(core, this, ListRect.x, ListRect.y, ListRect.w, ListRect.h);
    list->Place(0, 0);
    delete input;
    input = new Input(core, this, MaxNameLength, InputRect, 1);
    AddPushButton(234, 237, RemoveButtonId, "remove");
    AddPushButton(176, 237, AddButtonId, "add");
    AddPushButton(width - 66, height - 28, ButtonId::Ok, "ok");
    AddCloseButton();
}

void House::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    if (list) list->Place(0, 0);
    if (input) input->UpdatePosition();
}

void House::OnOpen() {
    InputDialog::OnOpen();
    ReloadGuests();
}

void House::ReloadGuests() {
    const std::vector<HouseGuest>& guests = core->houseInfo.guests;
    const int32_t selected = list->selected;
    std::string selectedName;
    if (selected >= 0 && size_t(selected) < list->items.size() &&
        size_t(selected) < guestNames.size())
        selectedName = guestNames[size_t(selected)];
    list->Clear();
    guestNames.clear();
    for (const HouseGuest& guest : guests) {
        list->AddItem(RowText(guest));
        guestNames.push_back(guest.name);
    }
    const auto kept = std::find(guestNames.begin(), guestNames.end(), selectedName);
    if (!selectedName.empty() && kept != guestNames.end())
        list->Select(int32_t(kept - guestNames.begin()));
    dirty = 1;
}

void House::OnSubmit() { Close(); }

void House::OnCommand(Button* button) {
    if (button->owner != this) {
        Window::OnCommand(button);
        return;
    }
    switch (button->id) {
        case ButtonId::Close:
        case ButtonId::Ok: OnSubmit(); break;
        case AddButtonId: AddInvitee(); break;
        case RemoveButtonId: RemoveInvitee(); break;
        default: break;
    }
}

void House::AddInvitee() {
    const std::string guest = input->text;
    if (guest.empty()) {
        core->ShowMessage(ListTitle,
                          "No name has been entered. Make sure to enter a friends' name.", 0);
        return;
    }
    if (core->IsOwnName(guest)) {
        core->ShowMessage(ListTitle, "You are already an invitee to this house.", 0);
        return;
    }
    const auto isFriend = [&](const FriendRecord& record) { return record.name == guest; };
    if (std::none_of(core->friends.begin(), core->friends.end(), isFriend)) {
        core->ShowMessage(
            ListTitle,
            "Could not find this name on your friends list. Make sure to enter a friends' name.",
            0);
        return;
    }
    if (list->HasItemNoCase(guest)) {
        core->ShowMessage(ListTitle, guest + " is already on the invitees list.", 0);
        return;
    }
    core->houseInfo.guests.push_back({guest, 0});
    ReloadGuests();
    if (core->activeConnection)
        core->activeConnection->SendHouseInviteeAdd(core->houseInfo.houseId, guest);
    core->ShowMessage(
        ListTitle,
        guest + " has been added to your invitees list and has therefore access to your house.", 0);
    input->SetText("");
}

void House::RemoveInvitee() {
    std::vector<HouseGuest>& guests = core->houseInfo.guests;
    const int32_t selected = list->selected;
    if (list->items.empty() || selected < 0 || size_t(selected) >= guests.size()) return;
    const HouseGuest guest = guests[size_t(selected)];
    if (guest.role == OwnerRole) {
        core->ShowMessage(ListTitle, "You cannot remove an owner from the invitees list.", 0);
        return;
    }
    const auto named = [&](const HouseGuest& other) { return other.name == guest.name; };
    guests.erase(std::find_if(guests.begin(), guests.end(), named));
    ReloadGuests();
    if (core->activeConnection)
        core->activeConnection->SendHouseInviteeRemove(core->houseInfo.houseId, guest.name);
    core->ShowMessage("House - Invitees List",
                      guest.name +
                          " has been removed from the invitees list and has therefore no longer "
                          "access to this house.",
                      0);
}

std::string House::CountdownText(const HouseInfo& house, uint64_t now) {
    const uint64_t due = house.receivedAt + uint64_t(house.secondsToDue) * 1000;
    if (now >= due) return "00:00:00";
    const uint64_t seconds = (due - now) / 1000;
    if (seconds / 86400 >= 1) return std::to_string(seconds / 86400) + " days";
    return ClockText(seconds);
}

void House::PaintInfo() {
    PaintBoxBackground();
    if (!font) return;
    font->DrawTextCentered(163, 210, "Invitees", HeadingColour);
    PaintInfoPanel(render, 38, 56, 250, 134);
    const HouseInfo house = core->houseInfo;
    const struct {
        int32_t y;
        const char* label;
        std::string value;
    } rows[] = {
        {76, "Name", house.nameFirst + " " + house.nameSecond},
        {90, "Town", house.town},
        {104, "Type", HouseTypeName(house.type, "Guildhall")},
        {118, "Size", std::to_string(house.size) + " sqm"},
        {146, "Rent", FormatNumber(house.rent)},
        {DueY, "Due Date", ""},
    };
    for (const auto& row : rows) {
        font->DrawText(LabelX, row.y, row.label, LabelColour);
        font->DrawTextRight(ValueX, row.y, row.value, ValueColour);
    }
}

void House::Paint() {
    PaintCached([this] { PaintInfo(); });
    list->Paint();
}

void House::Draw() {
    DrawFrame();
    DrawCached([this] { PaintInfo(); });
    if (font)
        font->DrawTextRight(x + ValueX, y + DueY, CountdownText(core->houseInfo, WallClockMs()),
                            ValueColour);
    DrawButtons();
    list->Draw();
}

void ReloadHouseGuests(Core& core) {
    if (auto* house = dynamic_cast<House*>(core.FindWindow(WindowType::House)))
        house->ReloadGuests();
}
