#include "windows/dialogs/rental.h"

#include "core.h"
#include "font.h"
#include "platform.h"
#include "protocol.h"
#include "windows/dialogs/bidding.h"
#include "windows/dialogs/housetexts.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Width = 630, Height = 340;
constexpr WindowRect ListRect{38, 57, 270, 219};
constexpr int32_t LabelX = 346, ValueX = 576, BidValueX = 514, CentreX = 461;
constexpr int32_t DescriptionY = 170;
constexpr const char* NoBidder = "-";
constexpr uint32_t SoldKind = 1;

uint64_t HalfPingAgo(Core* core) { return WallClockMs() - core->pingAverage / 2; }

}  // namespace

Rental::Rental(Core* core, std::string title) : Window(core) {
    name = std::move(title);
    Build();
}

Rental::~Rental() { delete list; }

void Rental::Build() {
    std::string title = name;
    ResetLayout();
    width = Width;
    height = Height;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    modal = 1;
    referenceTime = HalfPingAgo(core);
    CreateSurface();
    name = title.empty() ? "Auction" : title;
    typeId = WindowType::Rental;
    font = core->GetFont(2);
    delete list;
    list = new List(core, this, ListRect.x, ListRect.y, ListRect.w, ListRect.h);
    list->Place(0, 0);
    bidButton = AddPushButton(width - 66, height - 124, BidButtonId, "bid");
    AddPushButton(width - 66, height - 28, ButtonId::Ok, "ok");
    AddCloseButton();
}

void Rental::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    if (list) list->Place(0, 0);
}

void Rental::SetHouses(HouseEntry entry) {
    entry.typeName = HouseTypeName(entry.type, "Clanhall");
    entry.rowText =
        entry.nameFirst + " " + entry.nameSecond + " (" + std::to_string(entry.size) + "sqm)";
    if (entry.bidHolder.empty()) entry.bidHolder = NoBidder;
    // The window's time already has half the ping taken off; the house's takes it once more.
    entry.referenceTime = referenceTime - core->pingAverage / 2;
    entry.hasOwner = entry.owner.empty() ? 0 : 1;
    list->AddItemValue(entry.rowText, entry.hasOwner);
    houses.push_back(std::move(entry));
}

void Rental::UpdateAuction(uint32_t houseId, uint32_t kind, uint32_t currentBid,
                           uint32_t auctionSeconds, const std::string& bidder) {
    for (HouseEntry& house : houses) {
        if (house.houseId != houseId) continue;
        house.currentBid = currentBid;
        house.auctionSeconds = auctionSeconds;
        house.referenceTime = HalfPingAgo(core);
        house.bidHolder = bidder;
        if (kind != SoldKind) continue;
        house.owner = bidder;
        house.hasOwner = 1;
        list->FindItemNoCase(house.rowText, 1);
    }
}

const HouseEntry* Rental::SelectedHouse() const {
    const int32_t selected = list ? list->selected : -1;
    if (selected < 0 || size_t(selected) >= houses.size()) return nullptr;
    return &houses[size_t(selected)];
}

void Rental::OnCommand(Button* button) {
    if (button->owner != this) {
        Window::OnCommand(button);
        return;
    }
    switch (button->id) {
        case ButtonId::Close:
        case ButtonId::Ok: OnSubmit(); break;
        case BidButtonId:
            if (const HouseEntry* house = SelectedHouse())
                core->AddWindow(new Bidding(core, *house))->OnOpen();
            break;
        default: break;
    }
}

void Rental::OnSubmit() {
    if (core->activeConnection) core->activeConnection->SendRentalClose();
    Close();
}

void Rental::Close() { core->RemoveWindow(this); }

std::vector<std::string> Rental::WrapDescription(const std::string& text) const {
    std::vector<std::string> lines;
    if (!font) return lines;
    // Each line break ends a paragraph; the colours in force go on into the next one.
    std::string carry;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\x0b', start);
        const std::string paragraph = carry + text.substr(start, end - start);
        if (!paragraph.empty()) {
            const std::vector<std::string> wrapped =
                font->LayoutParagraph2(paragraph, DescriptionWidth);
            lines.insert(lines.end(), wrapped.begin(), wrapped.end());
        }
        if (end == std::string::npos) return lines;
        Font::CarryColours(paragraph, paragraph.size(), &carry);
        lines.push_back("");
        start = end + 1;
    }
}

void Rental::PaintStatic() {
    PaintBoxBackground();
    PaintInfoPanel(render, 326, 56, 270, 116);
    PaintInfoPanel(render, 326, 190, 270, 86);
    if (!font) return;
    font->DrawTextCentered(CentreX, 66, "House", HeadingColour);
    const struct {
        int32_t y;
        const char* label;
    } labels[] = {{86, "Name"}, {100, "Town"}, {114, "Type"}, {128, "Size"}, {142, "Rent"}};
    for (const auto& label : labels) font->DrawText(LabelX, label.y, label.label, LabelColour);
    font->DrawText(15, height - 24, "House auction payments and the rent are taken from the bank",
                   0xC0E08080);
}

void Rental::DrawDetails() {
    const HouseEntry* selected = SelectedHouse();
    if (!font || !selected) return;
    const HouseEntry house = *selected;
    const auto value = [&](int32_t valueY, const std::string& text) {
        font->DrawTextRight(x + ValueX, y + valueY, text, ValueColour);
    };
    value(86, house.nameFirst + " " + house.nameSecond);
    value(100, house.town);
    value(114, house.typeName);
    value(128, std::to_string(house.size));
    value(142, FormatNumber(house.rent) + " / 28 days");
    descriptionLines = WrapDescription(house.description);
    for (size_t i = 0; i < descriptionLines.size(); ++i)
        font->DrawTextSmileys(x + LabelX, y + DescriptionY + 12 * int32_t(i), descriptionLines[i]);

    if (!house.owner.empty()) {
        bidButton->visible = 0;
        font->DrawTextCentered(x + CentreX, y + 200, "Bidding closed", HeadingColour);
        font->DrawText(x + LabelX, y + 220, "Owner", LabelColour);
        value(220, house.owner);
        return;
    }
    const bool noBidder = house.bidHolder == NoBidder;
    const bool canBid = house.auctionSeconds > 0 || noBidder;
    font->DrawTextCentered(x + CentreX, y + 200, "Bidding", HeadingColour);
    font->DrawText(x + LabelX, y + 220, "Current bid", LabelColour);
    font->DrawText(x + LabelX, y + 234, "Bid holder", LabelColour);
    font->DrawText(x + LabelX, y + 248, "Auction end", LabelColour);
    if (house.currentBid > 0)
        font->DrawTextRight(x + (canBid ? BidValueX : ValueX), y + 220,
                            FormatNumber(house.currentBid), ValueColour);
    bidButton->visible = canBid ? 1 : 0;
    if (canBid) {
        bidButton->x = BidButtonX;
        bidButton->SetText(noBidder ? "make bid" : "outbid");
    }
    value(234, house.bidHolder);
    std::string end;
    if (house.auctionSeconds == 0) {
        end = noBidder ? "not started" : "closed";
    } else {
        const uint64_t endTime = house.referenceTime + uint64_t(house.auctionSeconds) * 1000;
        const uint64_t now = WallClockMs();
        end = now >= endTime ? "00:00:00" : ClockText((endTime - now) / 1000);
    }
    value(248, end);
}

void Rental::Paint() {
    PaintCached([this] { PaintStatic(); });
    list->Paint();
}

void Rental::Draw() {
    DrawFrame();
    DrawCached([this] { PaintStatic(); });
    DrawDetails();
    DrawButtons();
    list->Draw();
}
