// Every game-state message cut short: whatever byte its body ends at, the connection ends with
// the read failure and nothing else changes (no window opened, no list or creature changed).
#include <winsock2.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "support/gamebodies.h"
#include "support/gamemessages.h"
#include "support/hexbytes.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// Messages whose whole bodies end or move the connection, so that the dispatch table cannot run
// them in step with the next; the ops without fields have no cut to make.
const std::vector<GameBody> OtherBodies = {
    {16, "05000000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000"},
    {17, ""},
    {49, ""},
    {77, "00 00 6400 6400 07"},
    {78, "0100 000102030405060708090a0b0c0d0e0f 00 00 6400 6400 07 0100 0100 6400 6400 01 026869"},
    {225, "05000000"},
    {240, ""},
    {241, "0100"},
    {245, "09 3132372e302e302e31 e80f 05000000 000102030405060708090a0b0c0d0e0f"},
    {246, ""},
    {248, ""},
    {249, ""},
    {251, "01000000 02000000 03000000 04000000"},
    {253, ""},
    {254, ""},
};

std::vector<GameBody> AllBodies() {
    std::vector<GameBody> all = GameBodies;
    all.insert(all.end(), OtherBodies.begin(), OtherBodies.end());
    return all;
}

class Truncation : public GameMessages {
protected:
    // Delivers the message as a frame of its own, with nothing after it to read into, and
    // receives until the connection ends; false when it ends.
    bool DeliverAlone(const std::vector<uint8_t>& message) {
        std::vector<uint8_t> frame(message.size() + 2);
        frame[0] = uint8_t(message.size() - 1);
        frame[1] = uint8_t((message.size() - 1) >> 8);
        std::copy(message.begin(), message.end(), frame.begin() + 2);
        connection->server.Send(frame);
        const SOCKET socket = protocol->socket;
        try {
            for (int tries = 0; tries < 200 && Connected(); ++tries) {
                core->OnSocketMessage1(WPARAM(socket), FD_READ);
                if (Connected()) Sleep(1);
            }
        } catch (const ProgramExit&) {
            if (!FakePlatform::boxes.empty()) fatalText = FakePlatform::boxes.back().text;
            FakePlatform::boxes.clear();
        }
        return Connected();
    }

    // What a message may change, written out: the windows but the error status, the session's
    // lists, the creatures and the notification lines.
    std::string Snapshot() const {
        std::ostringstream out;
        out << "windows";
        for (const Window* window : core->windows)
            if (window->typeId != WindowType::Status) out << ' ' << window->typeId;
        out << "\nlists " << core->party.size() << ' ' << core->partyInvites.size() << ' '
            << core->friends.size() << ' ' << core->foes.size() << ' ' << core->muted.size() << ' '
            << core->guilds.size() << ' ' << core->quests.size() << ' '
            << core->questProgress.size() << ' ' << core->spellPairs.size() << ' '
            << core->statTable.size() << ' ' << core->targets.size() << ' ' << core->spells.size()
            << ' ' << core->outfits.size() << ' '
            << std::count_if(core->statusEffects.begin(), core->statusEffects.end(),
                             [](const StatusEffect& effect) { return effect.active; });
        out << "\nstate " << core->hp << ' ' << core->maxHp << ' ' << core->nobleDaysLeft << ' '
            << int(core->gameHalted) << ' ' << int(core->inGame) << ' ' << (core->world == world)
            << ' ' << (core->player == player);
        if (core->world == world) {
            for (const Creature* creature : world->creatures)
                out << "\ncreature " << creature->id << ' ' << creature->position.x << ' '
                    << creature->position.y << ' ' << int(creature->position.z) << ' '
                    << int(creature->health) << ' ' << creature->name;
            for (const std::string& line : Notifications()) out << "\nnotification " << line;
        }
        return out.str();
    }
};

TEST_F(Truncation, EveryMessageCutShortEndsTheConnectionAndChangesNothing) {
    // Lists that a message empties before it fills them again are not empty: a message that
    // emptied one before it failed shows.
    core->spellPairs = {{3, 7}};
    core->statTable = {StatEntry{{1, 2, 3}}};
    core->outfits = {9};
    core->statusEffects.at(2).active = 1;
    for (const GameBody& body : AllBodies()) {
        const std::vector<uint8_t> whole = FromHex(ToHex({uint8_t(body.op)}) + body.fields);
        for (size_t cut = 1; cut < whole.size(); ++cut) {
            SCOPED_TRACE("op " + std::to_string(body.op) + " cut after " + std::to_string(cut) +
                         " bytes");
            Reconnect();
            fatalText.clear();
            const std::string before = Snapshot();
            EXPECT_FALSE(DeliverAlone(std::vector<uint8_t>(whole.begin(), whole.begin() + cut)));
            EXPECT_EQ(fatalText, "");
            const std::string expected = "Invalid message from the game server. (" +
                                         std::to_string(body.op) + ", state: 2, protocol: 1: ";
            EXPECT_EQ(DisconnectText().substr(0, expected.size()), expected);
            EXPECT_EQ(Snapshot(), before);
        }
    }
}

// A message the dispatcher learns needs its row: every op that is not an unknown header has one.
TEST_F(Truncation, TheTableHasARowForEveryMessageTheDispatcherKnows) {
    std::set<int> rows;
    for (const GameBody& body : AllBodies()) rows.insert(body.op);
    for (int op = 0; op < 256; ++op) {
        Reconnect();
        Deliver(ToHex({uint8_t(op)}));
        const bool unknown = DisconnectText().rfind("unknown header. (", 0) == 0;
        EXPECT_EQ(rows.count(op) == 1, !unknown) << "op " << op;
    }
}

}  // namespace
