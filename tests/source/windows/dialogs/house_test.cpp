// The own-house window: its texts, the live countdown and the invitee list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/dialogtest.h"
#include "windows/dialogs/house.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t LabelColour = 0xA0C0C0C0, ValueColour = 0xE0E0E0E0;

class HouseTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        core->hasHouse = 1;
        HouseInfo& house = core->houseInfo;
        house.houseId = 77;
        house.type = 1;
        house.size = 120;
        house.rent = 2500;
        house.receivedAt = FakePlatform::wallClock;
        house.secondsToDue = 3 * 86400;
        house.town = "Northport";
        house.nameFirst = "Elm";
        house.nameSecond = "Lane 3";
        house.guests = {{"Hero", 1}, {"Bob", 0}};
        core->friends = {
            {1, 0, "Bob", 0, "", 0}, {2, 0, "Carl", 0, "", 0}, {3, 0, "Dora", 0, "", 0}};
        house_ = Open(new House(core.get()));
        Sent();
    }

    void Add(const std::string& name) {
        house_->input->SetText(name);
        house_->AddInvitee();
    }

    House* house_ = nullptr;
};

TEST_F(HouseTest, TheCountdownReadsDaysThenAClock) {
    HouseInfo house;
    house.receivedAt = 1'000'000;
    struct Case {
        uint32_t secondsToDue;
        uint64_t elapsedMs;
        const char* text;
    } cases[] = {
        {86400 + 3 * 3600, 0, "1 days"},
        {3 * 86400, 0, "3 days"},
        {2 * 3600 + 5 * 60 + 9, 0, "02:05:09"},
        {2 * 3600 + 5 * 60 + 9, 999, "02:05:08"},
        {10, 10'000, "00:00:00"},
        {10, 60'000, "00:00:00"},
    };
    for (const Case& c : cases) {
        house.secondsToDue = c.secondsToDue;
        EXPECT_EQ(House::CountdownText(house, house.receivedAt + c.elapsedMs), c.text)
            << c.secondsToDue << " s after " << c.elapsedMs << " ms";
    }
}

TEST_F(HouseTest, ThePanelShowsTheHouseAndTheRowsItsGuests) {
    EXPECT_EQ(house_->list->items, (std::vector<std::string>{"Hero (owner)", "Bob"}));
    EXPECT_EQ(core->focusedInput, house_->input);
    EXPECT_EQ(DrawnIn(house_, LabelColour),
              (std::vector<std::string>{"Name", "Town", "Type", "Size", "Rent", "Due Date"}));
    EXPECT_EQ(DrawnIn(house_, ValueColour),
              (std::vector<std::string>{"Elm Lane 3", "Northport", "House", "120 sqm", "2,500",
                                        "3 days"}));
    const std::vector<DrawnText> drawn = Drawn(house_);
    const DrawnText due = Find(drawn, "3 days");
    EXPECT_EQ(due.y, house_->y + 160);
}

TEST_F(HouseTest, TypesAndRentsReadAsWords) {
    struct Case {
        uint16_t type;
        uint32_t rent;
        const char* typeText;
        const char* rentText;
    } cases[] = {{0, 999, "Undefined", "999"},
                 {5, 2500, "Guildhall", "2,500"},
                 {6, 1234567, "Undefined", "1,234,567"},
                 {4, 0, "Mansion", "0"}};
    for (const Case& c : cases) {
        core->houseInfo.type = c.type;
        core->houseInfo.rent = c.rent;
        const std::vector<std::string> values = DrawnIn(house_, ValueColour);
        ASSERT_EQ(values.size(), 6u);
        EXPECT_EQ(values[2], c.typeText);
        EXPECT_EQ(values[4], c.rentText);
    }
}

TEST_F(HouseTest, RefusedNamesSendNothing) {
    const std::string title = "Invitees List: ";
    struct Case {
        const char* name;
        std::string box;
    } cases[] = {
        {"", title + "No name has been entered. Make sure to enter a friends' name."},
        {"Hero", title + "You are already an invitee to this house."},
        {"Zed",
         title +
             "Could not find this name on your friends list. Make sure to enter a friends' name."},
        {"carl",
         title +
             "Could not find this name on your friends list. Make sure to enter a friends' name."},
        {"Bob", title + "Bob is already on the invitees list."},
    };
    for (const Case& c : cases) {
        Add(c.name);
        EXPECT_EQ(LastBox(), c.box) << c.name;
        EXPECT_EQ(house_->input->text, c.name);
        CloseBoxes();
    }
    // A friend whose row stands in another letter case.
    core->houseInfo.guests.push_back({"DORA", 0});
    house_->ReloadGuests();
    Add("Dora");
    EXPECT_EQ(LastBox(), title + "Dora is already on the invitees list.");
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(core->houseInfo.guests.size(), 3u);
}

TEST_F(HouseTest, AddingAndRemovingTellTheServer) {
    Add("Carl");
    EXPECT_EQ(LastBox(),
              "Invitees List: Carl has been added to your invitees list and has "
              "therefore access to your house.");
    EXPECT_EQ(house_->input->text, "");
    ASSERT_EQ(core->houseInfo.guests.size(), 3u);
    EXPECT_EQ(core->houseInfo.guests[2].name, "Carl");
    EXPECT_EQ(core->houseInfo.guests[2].role, 0u);
    EXPECT_EQ(house_->list->items.back(), "Carl");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"92" + U32(77) + Str("Carl")}));

    // The owner's row cannot go.
    house_->list->Select(0);
    house_->RemoveInvitee();
    EXPECT_EQ(LastBox(), "Invitees List: You cannot remove an owner from the invitees list.");
    EXPECT_TRUE(Sent().empty());

    house_->list->Select(1);
    house_->RemoveInvitee();
    EXPECT_EQ(LastBox(),
              "House - Invitees List: Bob has been removed from the invitees list and "
              "has therefore no longer access to this house.");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"94" + U32(77) + Str("Bob")}));
    EXPECT_EQ(house_->list->items, (std::vector<std::string>{"Hero (owner)", "Carl"}));
    ASSERT_EQ(core->houseInfo.guests.size(), 2u);
    EXPECT_EQ(core->houseInfo.guests[1].name, "Carl");
}

TEST_F(HouseTest, RemoveWithoutRowsDoesNothing) {
    core->houseInfo.guests.clear();
    house_->ReloadGuests();
    house_->RemoveInvitee();
    EXPECT_EQ(LastBox(), "");
    EXPECT_TRUE(Sent().empty());
}

TEST_F(HouseTest, EnterInTheNameFieldClosesWithoutAdding) {
    Input* input = house_->input;
    input->SetText("Carl");
    input->OnSubmit();
    EXPECT_EQ(core->FindWindow(WindowType::House), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Input), nullptr);
    EXPECT_EQ(core->houseInfo.guests.size(), 2u);
    EXPECT_TRUE(Sent().empty());
}

}  // namespace
