// The game state's dispatch table: every message read in step with its fields, the messages
// that end the connection or the program, and the counter.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core.h"
#include "protocol.h"
#include "support/gamemessages.h"
#include "support/hexbytes.h"

namespace {

struct TableCase {
    int op;
    const char* fields;  // hexadecimal
};

void PrintTo(const TableCase& c, std::ostream* out) { *out << "op " << c.op << ": " << c.fields; }

// Grass (100: 64 00) has no count or sub-id; the person (200: c8 00) has a sub-id; 05 00 00 00
// is the rat and 000000 the player's own tile.
const TableCase Table[] = {
    {0, ""},
    {18,
     "6400 3200 c800 0500 10000000 20000000 07 0300 02 8001 3200 1e00"
     "000000000000000000000000000000000000000000000000000000000000"
     "0105 ff 01 02 02 0100 0200 9c"},
    {19, "3200 c800"},
    {20, "05000000 01 0a00"},
    {21, "01 02 03"},
    {22, "0a00 05"},
    {23, "02 01 03"},
    {24, "01 05"},
    {25, "05 8001"},
    {32, ""},
    {33, ""},
    {34, "e803"},
    {48, "00000000 00 00 00 6400 fe6083"},
    {48, "01000000 21 00 00 00 6400 fe6083"},
    {56, "02 00 00 00 0000 fe94"},
    {57, "05 e803"},
    {58, "0000 02 00 00 00 0000 fe94"},
    {64, "000000 00 6400"},
    {65, "000000 00"},
    {68, "000000 00 6400"},
    {69, "000000 00 01000000"},
    {70, "000000 00 05"},
    {71, "01 0500 6400 00"},
    {71, "3e 0500 0141 0142 0143 0144 0145 00"},
    {72, "000000 6400"},
    {73, "00 00 02 00 00 64 c800 00000000"},
    {74, "05000000 00 00 6400"},
    {75, "05000000 01 ff 6400"},
    {76, "05000000 00 00 6400"},
    {79, "01000000 02000000 03000000 04000000 05000000"},
    {80, "01 80 05 0000 0454657374 6400 8200 0a fb fc fd fe80 6400 ff"},
    {81, ""},
    {82, "01 00 02 6400 8200 03"},
    {83, "01 00"},
    {85, "01"},
    {87, "01 00 0000"},
    {87, "01 00 8200 8101"},
    {88, "02 4869"},
    {89, ""},
    {90, ""},
    {91, "05000000"},
    {92, ""},
    {93, ""},
    {94, "01 02 6869"},
    {95, "01"},
    {96, "000000 09000000 c800 00000000 64 6400 00 03526174 ff"},
    {96, "000000 09000000 c800 00000000 64 6400 84 04 03526174 6400 ff 01 00 00 6400"},
    {98, "05000000"},
    {100, "05000000 02"},
    {104, "05000000 02"},
    {104, "e8030000 02"},
    {105, "05000000 32"},
    {106, "05000000 32 01 0a00"},
    {107, "05000000 0000 82"},
    {111, "00 00 fe6083"},
    {112, "00 00 00 0000 feab"},
    {113, "00 00 00 0000 feab"},
    {114, "05000000 03526174"},
    {115, "05000000 c800 00000000"},
    {117, "05000000 6400 ff"},
    {118, "05000000 c800"},
    {119, "01 41 01 42"},
    {132, ""},
    {144, "0000 0442616e6b 0000 6400 fe83 8200 02 ff"},
    {145, ""},
    {146, "01000000 0100 0200 03000000 04000000 01000000 0141 0142 0143 0147 09000000"},
    {147, "00000000"},
    {148, "e8030000"},
    {154,
     "0452656e74 01000000 01000000 0100 4000 02000000 03000000 04000000"
     "0131 0132 0133 0134 0135 0136"},
    {155, "01000000 02000000 03000000 04000000 0548656c6c6f"},
    {156, ""},
    {157, "02 6869"},
    {160, ""},
    {161, "00 05000000"},
    {162, "05000000 01"},
    {163, "0f 0553776f7264 0141 01 05 0141 01 07 0142 01 01 0a"},
    {164, ""},
    {165, ""},
    {166, "05000000 01 00 03426167 00 04436f696e"},
    {176, "05000000 03426f62"},
    {177, "05000000"},
    {178, "01 05000000 01 02 03426f62"},
    {179, ""},
    {180, "05000000"},
    {181, "05000000 03426f62"},
    {182, "05000000"},
    {183, "05000000 01 02 03426f62"},
    {184, "05000000"},
    {185, "05000000 01 02"},
    {191, "01 02 03 026869"},
    {192, "05000000 026869"},
    {193, "03426f62 026869"},
    {194, "05000000 01 0a00"},
    {195, "05000000 01 026869"},
    {196, "05000000"},
    {197, "05000000"},
    {198, "0100 0100 0000 05000000"},
    {199, "0100 0000 05000000"},
    {200, ""},
    {201, ""},
    {202, "00 01 05000000 01 02 00 03426f62"},
    {203, "05000000 01 02 03426f62"},
    {204, "05000000 01"},
    {205, "05000000"},
    {206, "05 03426f62 026869"},
    {207, ""},
    {208, "fe0a 0500 ff 0701 fef1"},
    {209, "01 0500"},
    {212, ""},
    {213, ""},
    {214, "01 6400 05 e807 0553776f7264"},
    {215, "0500 01"},
    {216, "0100 0500 01 0a00 0500"},
    {217, "0500 01 0a00 0500"},
    {218, "0500"},
    {219, "0453686f70 01 6400 0500 e8030000 0553776f7264 01 8200 03 05 e807 04436f696e"},
    {220, ""},
    {221, "00 0500 e8030000"},
    {222, "8200 02 e8030000"},
    {223, ""},
    {224, ""},
    {227,
     "01 01 01 0500 0447696c64 00000000 0100 01 03426f62 00000000"
     "01 0600 0447696c64 03426f62 00000000 00000000"},
    {227, "02"},
    {227, "03"},
    {252, "6400"},
};

}  // namespace

class GameTable : public GameMessages, public ::testing::WithParamInterface<TableCase> {};

TEST_P(GameTable, MessageIsReadInStepWithTheNext) {
    const TableCase& c = GetParam();
    EXPECT_TRUE(Deliver(ToHex({uint8_t(c.op)}) + c.fields)) << DisconnectText() << fatalText;
    EXPECT_TRUE(Connected()) << DisconnectText();
    EXPECT_EQ(fatalText, "");
}

INSTANTIATE_TEST_SUITE_P(Protocol, GameTable, ::testing::ValuesIn(Table));

// Ops that other parts of the client add to the table.
const std::set<int> ElsewhereOps = {16, 225, 226, 245, 246, 248, 249, 251, 253, 254};

TEST_F(GameMessages, OpcodesOutsideTheTableEndTheConnection) {
    std::set<int> known(ElsewhereOps);
    for (const TableCase& c : Table) known.insert(c.op);
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
