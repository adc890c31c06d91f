// Examined items: the description record, its tooltip at the oldest pending look, and the party
// line of what a member found in a container.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "font.h"
#include "protocol.h"
#include "support/chatconsole.h"
#include "support/gamemessages.h"
#include "windows/dialogs/look.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/windowtypes.h"

namespace {

std::string Text(const std::string& text) {
    static const char* const digits = "0123456789abcdef";
    std::string hex{digits[text.size() >> 4], digits[text.size() & 15]};
    for (char c : text) hex += std::string{digits[uint8_t(c) >> 4], digits[uint8_t(c) & 15]};
    return hex;
}

class ExaminedItems : public GameMessages {
protected:
    void SetUp() override {
        GameMessages::SetUp();
        OpenConsole(core.get());
    }

    Look* Tooltip() { return dynamic_cast<Look*>(core->FindWindow(WindowType::Look)); }
};

TEST_F(ExaminedItems, AttributesAreSortedByCodeAndCode100MarksTwoHanded) {
    protocol->pendingLooks.push_back({40, 50});
    // Attributes 5, 1, 100, 5, 0; a bonus; a requirement.
    ASSERT_TRUE(Deliver("a3 0f" + Text("axe") + Text("big") + "05" + "05" + Text("a") + "01" +
                        Text("b") + "64" + Text("x") + "05" + Text("c") + "00" + Text("d") + "01" +
                        "02" + Text("+1") + "01" + "0014"));
    Look* look = Tooltip();
    ASSERT_NE(look, nullptr);
    std::vector<std::string> order;
    for (const TextSegment& row : look->attributes)
        order.push_back(std::to_string(row.code) + row.value);
    EXPECT_EQ(order, (std::vector<std::string>{"0d", "1b", "5a", "5c"}));
    EXPECT_EQ(look->twoHanded, 1);
    EXPECT_EQ(look->bonuses.size(), 1u);
    EXPECT_EQ(look->x, 40);
    EXPECT_EQ(look->lifetimeMs, 5000);
    EXPECT_TRUE(protocol->pendingLooks.empty());
}

TEST_F(ExaminedItems, ABareNameLivesHalfAsLongAndNoPendingLookShowsNothing) {
    ASSERT_TRUE(Deliver("a3 00" + Text("stone")));
    EXPECT_EQ(Tooltip(), nullptr);
    protocol->pendingLooks.push_back({40, 50});
    protocol->pendingLooks.push_back({60, 70});
    ASSERT_TRUE(Deliver("a3 00 00"));
    ASSERT_NE(Tooltip(), nullptr);
    EXPECT_EQ(Tooltip()->title, "<unknown item>");
    EXPECT_EQ(Tooltip()->lifetimeMs, 2500);
    EXPECT_EQ(protocol->pendingLooks.size(), 1u);
    EXPECT_EQ(protocol->pendingLooks.front().x, 60);
}

TEST_F(ExaminedItems, APartyMemberTellsWhatAContainerHolds) {
    auto* console = dynamic_cast<Console*>(core->consoleWindow);
    ASSERT_NE(console, nullptr);
    Channel* party = ChannelOf(core.get(), ChannelId::Party);
    if (!party) {
        console->mainChatbox->OpenChannel(ChannelId::Party, "Party", 0);
        party = ChannelOf(core.get(), ChannelId::Party);
    }
    ASSERT_NE(party, nullptr);
    core->party.push_back({77, "Ann", 0, 0, 0});
    const auto line = [&](const std::string& items) { return "00" + Text("Bag") + items; };
    struct Case {
        std::string hex;
        std::string said;
    };
    for (const Case& c :
         {Case{"4d000000 00" + line(""), "\x95 Ann: bag is empty."},
          Case{"4d000000 01" + line("00" + Text("Apple")), "\x95 Ann: bag contains an apple."},
          Case{"4d000000 02" + line("00" + Text("Apple") + "00" + Text("3 coins")),
               "\x95 Ann: bag contains an apple and 3 coins."},
          Case{"4d000000 03" + line("00" + Text("Pear") + "00" + Text("Egg") + "00" + Text("Ham")),
               "\x95 Ann: bag contains a pear, egg and a ham."},
          Case{"09000000 00" + line(""), "\x95 : bag is empty."}}) {
        ASSERT_TRUE(Deliver("a6 " + c.hex));
        ASSERT_FALSE(party->rawLines.empty());
        EXPECT_EQ(Font::PlainText(party->rawLines.back()), c.said);
    }
}

}  // namespace
