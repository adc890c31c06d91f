// The game state's dispatch table: every message read in step with its fields, the messages
// that end the connection or the program, and the counter.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core.h"
#include "protocol.h"
#include "support/gamebodies.h"
#include "support/gamemessages.h"
#include "support/hexbytes.h"

class GameTable : public GameMessages, public ::testing::WithParamInterface<GameBody> {};

TEST_P(GameTable, MessageIsReadInStepWithTheNext) {
    const GameBody& c = GetParam();
    EXPECT_TRUE(Deliver(ToHex({uint8_t(c.op)}) + c.fields)) << DisconnectText() << fatalText;
    EXPECT_TRUE(Connected()) << DisconnectText();
    EXPECT_EQ(fatalText, "");
}

INSTANTIATE_TEST_SUITE_P(Protocol, GameTable, ::testing::ValuesIn(GameBodies));

// Ops that other parts of the client add to the table.
const std::set<int> ElsewhereOps = {16, 225, 226, 245, 246, 248, 249, 251, 253, 254};

TEST_F(GameMessages, OpcodesOutsideTheTableEndTheConnection) {
    std::set<int> known(ElsewhereOps);
    for (const GameBody& c : GameBodies) known.insert(c.op);
    known.insert({17, 49, 77, 78, 240, 241});
    for (int op = 0; op < 256; ++op) {
        if (known.count(op)) continue;
        Reconnect();
        EXPECT_FALSE(Deliver(ToHex({uint8_t(op)})));
        EXPECT_EQ(DisconnectText(),
                  "unknown header. (" + std::to_string(op) + ", state 2, protocol: 1)");
    }
}

TEST_F(GameMessages, KeepAlivesAfterAMessageAreNotCounted) {
    core->AddPartyMember(7, "Bob", 1, 1);
    const uint16_t before = protocol->messageCounter;
    ASSERT_TRUE(Deliver("b3 00000000000000"));
    EXPECT_TRUE(core->party.empty());
    EXPECT_EQ(protocol->messageCounter, before + 2);  // the party message and the ping reply
}

TEST_F(GameMessages, DeathMessagesEndTheConnection) {
    for (const char* op : {"11", "31"}) {
        Reconnect();
        EXPECT_FALSE(Deliver(op));
        EXPECT_EQ(DisconnectText(), "You died.");
    }
}
