// The server's op 16 on a connection in the game state: entering the game, the player's id and
// the equipment records it carries.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core.h"
#include "protocol.h"
#include "protocolstate.h"
#include "shape.h"
#include "support/creatureworld.h"
#include "support/fakeplatform.h"
#include "support/hexbytes.h"
#include "support/recordingconnection.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Items of the sample sprite data (tools/datagen/sprites.py): coins are stackable, the person's
// shape takes outfit colours, neither is both.
constexpr uint16_t Coins = 130, Person = 200, UnknownShape = 4242;

std::string U16Hex(uint16_t value) { return ToHex({uint8_t(value), uint8_t(value >> 8)}); }

// Op 16 for the player 0x01020304: the person in slot 1 with the colours 0x11223344, 5 coins
// in the last slot (14), the other slots empty. Misread, empty slots would pass for keep-alives:
// the last one holds an item.
std::string AttachMessage(uint16_t lastShape = Coins) {
    std::string text = "10 04030201 0000 " + U16Hex(Person) + " 44332211";
    for (int slot = 2; slot < 14; ++slot) text += " 0000";
    return text + " " + U16Hex(lastShape) + " 05";
}

class AttachTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        ASSERT_TRUE(core->GetShape(Coins)->stackable);
        ASSERT_FALSE(core->GetShape(Coins)->hasPaletteId);
        ASSERT_TRUE(core->GetShape(Person)->hasPaletteId);
        ASSERT_FALSE(core->GetShape(Person)->stackable);
        connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
        u_long nonBlocking = 1;
        ioctlsocket(connection->protocol->socket, FIONBIO, &nonBlocking);
    }
    // The Core deletes the world, which entering the game replaces.
    void TearDown() override {
        core.reset();
        connection.reset();
    }

    // Sends one frame as the server and lets the client read until it has handled `messages`
    // more messages or ended the connection.
    void Deliver(const std::string& hex, uint16_t messages) {
        Protocol* protocol = connection->protocol;
        const Bytes payload = FromHex(hex);
        const uint32_t size = uint32_t(payload.size() - 1);
        Bytes frame(2 + payload.size());
        frame[0] = uint8_t(size);
        frame[1] = uint8_t(size >> 8);
        std::copy(payload.begin(), payload.end(), frame.begin() + 2);
        connection->server.Send(frame);
        const uint16_t until = uint16_t(protocol->messageCounter + messages);
        const SOCKET socket = protocol->socket;
        for (int tries = 0; tries < 500; ++tries) {
            core->OnSocketMessage1(WPARAM(socket), WSAMAKESELECTREPLY(FD_READ, 0));
            if (core->connection1 != protocol || protocol->messageCounter == until) return;
            Sleep(2);
        }
        ADD_FAILURE() << "the client handled no message";
    }

    std::string ErrorText() {
        for (Window* window : core->windows)
            if (auto* status = dynamic_cast<Status*>(window);
                status && status->name == "Veltor - Error")
                return status->text;
        return "";
    }

    std::unique_ptr<RecordingConnection> connection;
};

// A counter check after op 16 in the same frame: the message was read to its end.
TEST_F(AttachTest, EntersTheGameWithThePlayersId) {
    Protocol* protocol = connection->protocol;
    protocol->mapReceived = 1;
    core->enterCommands = "join World";
    Deliver(AttachMessage() + " f1 0200", 2);

    EXPECT_EQ(core->connection1, protocol) << ErrorText();
    EXPECT_EQ(protocol->playerId, 0x01020304u);
    EXPECT_EQ(protocol->mapReceived, 0);
    EXPECT_EQ(core->inGame, 1);
    ASSERT_NE(core->world, nullptr);
    ASSERT_GE(core->windows.size(), 3u);
    EXPECT_EQ(core->windows[0]->typeId, WindowType::Field);
    EXPECT_EQ(core->windows[1]->typeId, WindowType::Padding);
    EXPECT_EQ(core->windows[2]->typeId, WindowType::Console);
    EXPECT_NE(core->FindWindow(WindowType::Chatbox), nullptr);
    // Entering sends the console commands.
    const std::vector<Bytes> sent = connection->SentPayloads(1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(ToHex(sent[0]),
              "f1"
              "0a"
              "6a6f696e20576f726c64");
}

TEST_F(AttachTest, DuringARecordingNeitherTheGameNorTheIdChange) {
    Protocol* protocol = connection->protocol;
    protocol->playerId = 77;
    core->recording = 1;
    Deliver(AttachMessage() + " f1 0200", 2);

    EXPECT_EQ(core->connection1, protocol) << ErrorText();
    EXPECT_EQ(protocol->playerId, 77u);
    EXPECT_EQ(core->inGame, 0);
    EXPECT_TRUE(core->windows.empty());
}

// The server takes up a game it had ended: the crash notice goes, the game stays as it was.
TEST_F(AttachTest, AfterTheServerEndedTheGameItIsNotEnteredAgain) {
    Protocol* protocol = connection->protocol;
    core->inGame = 1;
    core->gameHalted = 1;
    Window* console = core->AddWindow(new Status(core.get(), "Console", "", 0));
    console->typeId = WindowType::Console;
    Window* notice = core->AddWindow(new Status(core.get(), "Crash", "", 0));
    notice->typeId = WindowType::Crash;
    World* kept = core->world;
    Deliver(AttachMessage() + " f1 0200", 2);

    EXPECT_EQ(core->connection1, protocol) << ErrorText();
    EXPECT_EQ(core->gameHalted, 0);
    EXPECT_EQ(core->FindWindow(WindowType::Crash), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Console), console);
    EXPECT_EQ(core->world, kept);
    EXPECT_EQ(protocol->playerId, 0x01020304u);
}

TEST_F(AttachTest, AnUnknownItemShapeEndsTheProgram) {
    FakePlatform fake;
    uint32_t exitCode = 0;
    try {
        Deliver(AttachMessage(UnknownShape), 1);
    } catch (const ProgramExit& exit) {
        exitCode = exit.code;
    }
    EXPECT_EQ(exitCode, 1u);
    ASSERT_EQ(FakePlatform::boxes.size(), 1u);
    EXPECT_EQ(FakePlatform::boxes[0].text, "attach: unknown shape id. (item)");
    EXPECT_EQ(core->inGame, 0);
}

TEST_F(AttachTest, AShortMessageEndsTheConnectionWithoutEnteringTheGame) {
    std::string cut = AttachMessage();
    cut.resize(cut.size() - 3);  // the coins' count
    Deliver(cut, 1);
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_EQ(core->inGame, 0);
    EXPECT_EQ(ErrorText().rfind("Invalid message from the game server. (16, state: 2", 0), 0u)
        << ErrorText();
}

}  // namespace
