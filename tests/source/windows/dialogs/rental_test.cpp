// The rental list's detail page in each auction state, its description lines, and the bidding
// window's checks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font.h"
#include "support/dialogtest.h"
#include "windows/dialogs/bidding.h"
#include "windows/dialogs/rental.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t LabelColour = 0xA0C0C0C0, ValueColour = 0xE0E0E0E0, HeadingColour = 0xFFFFFFFF;

HouseEntry MakeHouse(uint32_t currentBid, uint32_t auctionSeconds, const std::string& bidHolder,
                     const std::string& owner) {
    HouseEntry house;
    house.houseId = 5;
    house.type = 2;
    house.size = 80;
    house.rent = 2500;
    house.currentBid = currentBid;
    house.auctionSeconds = auctionSeconds;
    house.town = "Northport";
    house.nameFirst = "Elm";
    house.nameSecond = "Lane 3";
    house.description = "A flat.";
    house.bidHolder = bidHolder;
    house.owner = owner;
    return house;
}

class RentalTest : public DialogTest {
protected:
    Rental* OpenRental(const std::vector<HouseEntry>& houses, const std::string& title = "Houses") {
        auto* rental = Open(new Rental(core.get(), title));
        for (const HouseEntry& house : houses) rental->SetHouses(house);
        return rental;
    }
    // The values of the auction panel: current bid (when drawn), bid holder, auction end.
    std::vector<std::string> AuctionValues(Rental* rental) {
        std::vector<std::string> values = DrawnIn(rental, ValueColour);
        values.erase(values.begin(), values.begin() + 6);  // the house panel and description
        return values;
    }
};

TEST_F(RentalTest, AnOwnedHouseClosesTheBidding) {
    Rental* rental = OpenRental({MakeHouse(700, 0, "Bob", "Bob")});
    const std::vector<std::string> values = DrawnIn(rental, ValueColour);
    EXPECT_EQ(values, (std::vector<std::string>{"Elm Lane 3", "Northport", "Flat", "80",
                                                "2,500 / 28 days", "A flat.", "Bob"}));
    EXPECT_EQ(Find(Drawn(rental), "Bidding closed").colour, HeadingColour);
    const std::vector<std::string> labels = DrawnIn(rental, LabelColour);
    EXPECT_EQ(labels.back(), "Owner");
    EXPECT_TRUE(rental->list->marks[0]);
    EXPECT_EQ(rental->bidButton->visible, 0);
}

TEST_F(RentalTest, TheAuctionStates) {
    struct Case {
        uint32_t currentBid, auctionSeconds;
        const char* bidHolder;
        std::vector<std::string> values;
        int visible;
        const char* caption;
    } cases[] = {
        {0, 0, "", {"-", "not started"}, 1, "make bid"},
        {250, 3600, "Bob", {"250", "Bob", "01:00:00"}, 1, "outbid"},
        {250, 0, "Bob", {"250", "Bob", "closed"}, 0, nullptr},
        {1500, 30 * 3600, "Bob", {"1,500", "Bob", "30:00:00"}, 1, "outbid"},
    };
    for (const Case& c : cases) {
        Rental* rental = OpenRental({MakeHouse(c.currentBid, c.auctionSeconds, c.bidHolder, "")});
        SCOPED_TRACE(c.values.back());
        EXPECT_EQ(AuctionValues(rental), c.values);
        EXPECT_EQ(rental->bidButton->visible, c.visible);
        if (c.caption) {
            EXPECT_EQ(rental->bidButton->caption, c.caption);
            EXPECT_EQ(rental->bidButton->x, Rental::BidButtonX);
        }
        if (c.currentBid > 0) {
            // Left of the button while it shows, else at the panel's right edge.
            const DrawnText bid = Find(Drawn(rental), c.values[0]);
            const int32_t right = bid.x + rental->font->MeasureText(bid.text) - rental->x;
            EXPECT_NEAR(right, c.visible ? 514 : 576, 1);
        }
        rental->OnSubmit();
    }
}

TEST_F(RentalTest, TheCountdownEndsAtZero) {
    Rental* rental = OpenRental({MakeHouse(250, 10, "Bob", "")});
    FakePlatform::wallClock += 20'000;
    EXPECT_EQ(AuctionValues(rental).back(), "00:00:00");
    EXPECT_EQ(rental->bidButton->visible, 1);
}

TEST_F(RentalTest, AnEmptyListLeavesThePageBlank) {
    Rental* rental = OpenRental({}, "");
    EXPECT_EQ(rental->name, "Auction");
    EXPECT_TRUE(DrawnIn(rental, ValueColour).empty());
    EXPECT_EQ(rental->bidButton->caption, "bid");
    rental->OnCommand(rental->bidButton);
    EXPECT_EQ(core->FindWindow(WindowType::Bidding), nullptr);
    // A selection past the houses draws nothing either.
    rental->SetHouses(MakeHouse(0, 0, "", ""));
    rental->list->selected = 3;
    EXPECT_TRUE(DrawnIn(rental, ValueColour).empty());
}

TEST_F(RentalTest, TypeFiveIsAClanhall) {
    HouseEntry house = MakeHouse(0, 0, "", "");
    house.type = 5;
    Rental* rental = OpenRental({house});
    EXPECT_EQ(DrawnIn(rental, ValueColour)[2], "Clanhall");
}

TEST_F(RentalTest, ClosingTellsTheServer) {
    Rental* rental = OpenRental({});
    rental->OnCommand(rental->FindButton(ButtonId::Ok));
    EXPECT_EQ(core->FindWindow(WindowType::Rental), nullptr);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"9c"}));
}

TEST_F(RentalTest, DescriptionLinesKeepEscapesWholeAndWordsInsideThePanel) {
    Rental* rental = OpenRental({});
    const Font* font = rental->font;
    // An escape whose red byte is a blank, right where the line would break.
    const std::string escape = MakeColorCode(32, 200, 200, 255);
    std::string text(27, 'a');  // 27 x 7 = 189 pixels
    text += " bb" + escape + "cc dd";
    const std::vector<std::string> lines = rental->WrapDescription(text);
    ASSERT_GE(lines.size(), 2u);
    for (const std::string& line : lines) {
        EXPECT_LE(font->MeasureText(line), Rental::DescriptionWidth);
        // Every escape of a line is whole.
        for (size_t i = line.find('\0'); i != std::string::npos; i = line.find('\0', i + 5))
            EXPECT_LE(i + 5, line.size()) << "an escape cut at the line's end";
    }
    EXPECT_EQ(Font::PlainText(lines[0]), std::string(27, 'a'));
    EXPECT_EQ(lines[1], "bb" + escape + "cc dd");

    // A word longer than the panel is cut with a hyphen inside the panel's width.
    const std::vector<std::string> cut = rental->WrapDescription(std::string(40, 'w'));
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0].back(), '-');
    EXPECT_LE(font->MeasureText(cut[0]), Rental::DescriptionWidth);
    EXPECT_EQ(cut[0].size() - 1 + cut[1].size(), 40u);

    // A line break leaves an empty line.
    EXPECT_EQ(rental->WrapDescription("one\x0btwo"), (std::vector<std::string>{"one", "", "two"}));
}

class BiddingTest : public RentalTest {
protected:
    Bidding* OpenBidding(uint32_t currentBid, const std::string& owner = "") {
        for (uint32_t type : {WindowType::Bidding, WindowType::Rental})
            while (Window* open = core->FindWindow(type)) open->Close();
        Rental* rental = OpenRental({MakeHouse(currentBid, 3600, currentBid ? "Bob" : "", owner)});
        rental->OnCommand(rental->bidButton);
        auto* bidding = dynamic_cast<Bidding*>(core->FindWindow(WindowType::Bidding));
        Sent();
        return bidding;
    }
    // Submits the typed bid: the window goes on every path.
    void Submit(Bidding* bidding, const std::string& typed) {
        bidding->input->SetText(typed);
        bidding->OnSubmit();
        EXPECT_EQ(core->FindWindow(WindowType::Bidding), nullptr);
        EXPECT_EQ(core->FindWindow(WindowType::Input), nullptr);
    }
};

TEST_F(BiddingTest, TheFieldStartsAHundredAboveTheCurrentBid) {
    Bidding* first = OpenBidding(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->input->text, "100");
    EXPECT_EQ(first->input->digitsOnly, 1);
    EXPECT_EQ(core->focusedInput, first->input);
    first->Close();
    EXPECT_EQ(OpenBidding(250)->input->text, "350");
    // Near the top of 32 bits the sum does not wrap.
    EXPECT_EQ(OpenBidding(0xFFFFFFF0u)->input->text, "4294967380");
}

TEST_F(BiddingTest, TheChecksAndTheirTexts) {
    const std::string title = "House Bidding: ";
    struct Case {
        uint32_t currentBid, balance;
        const char* owner;
        const char* typed;
        std::string box;  // "" when the bid is sent
    } cases[] = {
        {0, 1000, "", "99", "You can only start a bidding with a minimal bid of 100 copper coins."},
        {0, 1000, "", "100", ""},
        {250, 1000, "", "349",
         "Make sure to add a bidding 100 copper coins higher than the previous bid."},
        {250, 350, "", "350", ""},
        {250, 1234, "", "2000", "You cannot bid more than you have on your bank account (1,234)."},
        {250, 1000, "", "", "No bid entered."},
        {250, 1000, "Bob", "500", "This house is no longer available for rent."},
        {0xFFFFFFF0u, 0xFFFFFFFFu, "", "4294967295",
         "Make sure to add a bidding 100 copper coins higher than the previous bid."},
        {250, 0xFFFFFFFEu, "", "99999999999",
         "You cannot bid more than you have on your bank account (4,294,967,294)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        core->bankBalance = c.balance;
        Bidding* bidding = OpenBidding(c.currentBid, c.owner);
        ASSERT_NE(bidding, nullptr);
        CloseBoxes();
        Submit(bidding, c.typed);
        if (c.box.empty()) {
            EXPECT_EQ(LastBox(), "");
            EXPECT_EQ(Sent(), (std::vector<std::string>{"9b" + U32(5) + U32(std::stoul(c.typed))}));
        } else {
            EXPECT_EQ(LastBox(), title + c.box);
            EXPECT_TRUE(Sent().empty());
        }
        CloseBoxes();
    }
}

TEST_F(BiddingTest, CancelSendsNothing) {
    core->bankBalance = 1000;
    Bidding* bidding = OpenBidding(0);
    bidding->OnCommand(bidding->FindButton(Bidding::CancelButtonId));
    EXPECT_EQ(core->FindWindow(WindowType::Bidding), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Input), nullptr);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(LastBox(), "");
}

}  // namespace
