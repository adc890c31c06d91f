// Moving the game to another server over a second connection, played against servers on the
// loopback interface; and the connection slots that the moves and cancelled attempts leave.
#include <gtest/gtest.h>

#include <functional>

#include "core.h"
#include "loginblock.h"
#include "notification.h"
#include "protocol.h"
#include "support/hexbytes.h"
#include "support/serverend.h"
#include "support/startup.h"
#include "support/testkey.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"
#include "xtea.h"

namespace {

using Bytes = std::vector<uint8_t>;

const uint32_t Challenge = 0x01020304;
const char* const TransferFailed = "Transfer failed: no connection to the new server.";

struct Move {
    uint32_t token;
    uint32_t keyWords[4];

    Digest Key() const {
        Digest key;
        XteaKeyFromWords(keyWords, key.data());
        return key;
    }
};

const Move ToB = {0xCAFEF00D, {0x11111111, 0x22222222, 0x33333333, 0x44444444}};
const Move ToC = {0x0BADBEEF, {0x01234567, 0x89ABCDEF, 0x76543210, 0xFEDCBA98}};

// Server op 245: host, port, token and the key as four words.
Bytes TransferMessage(uint16_t port, const Move& move, const std::string& host = "127.0.0.1") {
    Bytes message = {245, uint8_t(host.size())};
    for (char c : host) message.push_back(uint8_t(c));
    message.push_back(uint8_t(port));
    message.push_back(uint8_t(port >> 8));
    for (int shift = 0; shift < 32; shift += 8) message.push_back(uint8_t(move.token >> shift));
    for (uint32_t word : move.keyWords)
        for (int shift = 0; shift < 32; shift += 8) message.push_back(uint8_t(word >> shift));
    return message;
}

class TransferTest : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        core->host = "127.0.0.1";
        core->port = std::to_string(a.server.port);
        core->connectKind = 1;
        core->loginName = "tester";
        core->password = "secret";
    }

    // Socket events go to the slot of their message, as the main window routes them. With `only`,
    // other messages wait.
    void PumpOnce(UINT only = 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, only, only, PM_REMOVE)) {
            if (message.message == Protocol::FirstSocketMessage)
                core->OnSocketMessage1(message.wParam, message.lParam);
            else if (message.message == Protocol::SecondSocketMessage)
                core->OnSocketMessage2(message.wParam, message.lParam);
            else DispatchMessageA(&message);
        }
        for (ServerEnd* end : {&a, &b, &c}) end->Poll();
    }

    bool PumpUntil(const std::function<bool()>& done, UINT only = 0) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > 5000) return false;
            PumpOnce(only);
            Sleep(1);
        }
        return true;
    }

    void PumpFor(DWORD ms) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            PumpOnce();
            Sleep(1);
        }
    }

    SentFrame NextFrame(ServerEnd& end, int counterBytes, bool enciphered) {
        std::optional<SentFrame> frame;
        EXPECT_TRUE(PumpUntil([&] {
            return (frame = end.TakeFrame(counterBytes, enciphered)).has_value();
        })) << "no client frame";
        return frame.value_or(SentFrame{});
    }

    // Logs in on server A and moves to the game state there; in game, so that pings go out.
    void PlayOnA() {
        core->Connect(0);
        NextFrame(a, 1, false);
        a.Deliver(FromHex("01 04030201"));
        NextFrame(a, 1, false);
        a.Deliver({2, 11});  // accepted, then straight into the game
        a.SetKey(MakeSessionKey("secret", Challenge));
        ASSERT_TRUE(PumpUntil([&] { return core->connection1->state == StateGame; }));
        core->inGame = 1;
    }

    // The server `from` moves the player to `to`, which takes the hello; the new connection.
    Protocol* BeginMove(ServerEnd& from, ServerEnd& to, const Move& move) {
        Protocol* old = core->activeConnection;
        from.Deliver(TransferMessage(to.server.port, move));
        const SentFrame hello = NextFrame(to, 1, false);
        EXPECT_EQ(hello.wireSize, 132u);
        EXPECT_EQ(hello.payload.size(), 129u);
        to.SetKey(move.Key());
        EXPECT_EQ(core->activeConnection, old);
        return old == core->connection1 ? core->connection2 : core->connection1;
    }

    void CompleteMove(ServerEnd& from) {
        Protocol* old = core->activeConnection;
        from.Deliver({246});
        EXPECT_TRUE(PumpUntil([&] { return core->activeConnection != old; }));
        EXPECT_TRUE(PumpUntil([&] { return !from.Poll(); })) << "the old connection stays open";
    }

    // The text of the error box, or "" when none is open.
    std::string ErrorText() {
        for (Window* window : core->windows) {
            auto* status = dynamic_cast<Status*>(window);
            if (status && status->name == "Veltor - Error") return status->text;
        }
        return "";
    }

    // The centre place's shown and waiting lines, which the steps of a move write; emptied for
    // the next step.
    std::vector<std::string> TakeCentreLines() {
        Notification::Place& centre = core->world->notification->places[0];
        std::vector<std::string> lines;
        for (const NotificationLine* line : {&centre.current, &centre.waiting})
            if (line->state != Notification::StateEmpty) lines.push_back(line->text);
        centre = Notification::Place{};
        return lines;
    }

    std::vector<Status*> ConnectingBoxes() {
        std::vector<Status*> boxes;
        for (Window* window : core->windows) {
            auto* status = dynamic_cast<Status*>(window);
            if (status && status->kind == Status::Connecting) boxes.push_back(status);
        }
        return boxes;
    }

    ServerEnd a, b, c;
};

TEST_F(TransferTest, NewConnectionSaysHelloInClearWithTheKeyAndToken) {
    PlayOnA();
    Protocol* old = core->connection1;
    a.Deliver(TransferMessage(b.server.port, ToB));
    const SentFrame hello = NextFrame(b, 1, false);
    EXPECT_EQ(hello.wireSize, 132u);
    EXPECT_EQ(hello.sizeField, 128);
    EXPECT_EQ(hello.counter, 0);
    ASSERT_EQ(hello.payload.size(), 129u);
    EXPECT_EQ(hello.payload[0], 245);
    const std::string encoded = ToHex(DecipherLoginBlock(hello.payload.data() + 1));
    EXPECT_EQ(encoded.substr(0, 4), "0002");
    EXPECT_EQ(encoded.substr(2 * (128 - 21)),
              "00"
              "11111111222222223333333344444444"
              "0df0feca");

    Protocol* next = core->connection2;
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->kind, 2u);
    EXPECT_EQ(next->state, StateGame);
    EXPECT_EQ(next->encrypted, 1);
    EXPECT_EQ(core->activeConnection, old);
    EXPECT_EQ(old->state, StateGame);
    EXPECT_EQ(core->transferHost, "127.0.0.1");
    EXPECT_EQ(core->transferPort, b.server.port);
}

TEST_F(TransferTest, OldConnectionPingsInGameUntilTheMoveIsDoneThenOnlyTheNewOne) {
    PlayOnA();
    Protocol* old = core->connection1;
    a.Deliver(TransferMessage(b.server.port, ToB));
    // The new connection starts at login; the old one stays in game and pings as before,
    // enciphered, with the two-byte counter.
    ASSERT_TRUE(
        PumpUntil([&] { return core->connection2 != nullptr; }, Protocol::FirstSocketMessage));
    Protocol* next = core->connection2;
    EXPECT_EQ(next->state, StateLogin);
    EXPECT_EQ(old->state, StateGame);
    core->OnSecondTimer();
    const SentFrame ping = NextFrame(a, 2, true);
    EXPECT_EQ(ping.sizeField, 7);
    EXPECT_EQ(ping.counter, old->messageCounter);
    EXPECT_EQ(ToHex(ping.payload), "f000000000000000");

    // Once it has said hello, the new server's frames are read under the transfer key by the
    // game dispatcher, and the old connection still pings in game.
    EXPECT_EQ(NextFrame(b, 1, false).wireSize, 132u);
    b.SetKey(ToB.Key());
    b.Deliver(FromHex("f1 0100"));
    ASSERT_TRUE(PumpUntil([&] { return next->messageCounter == 1; }));
    core->OnSecondTimer();
    EXPECT_EQ(ToHex(NextFrame(a, 2, true).payload), "f000000000000000");
    EXPECT_EQ(b.Untaken(), 0u);
    const uint16_t oldCounter = old->messageCounter;

    CompleteMove(a);
    const SentFrame done = NextFrame(a, 2, true);
    EXPECT_EQ(ToHex(done.payload), "f600000000000000");
    EXPECT_EQ(done.counter, oldCounter + 1);
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_EQ(core->connection2, next);
    EXPECT_EQ(core->activeConnection, next);
    EXPECT_EQ(core->pingOutstanding, 0);
    EXPECT_TRUE(core->pingTimes.empty());

    core->OnSecondTimer();
    const SentFrame nextPing = NextFrame(b, 2, true);
    EXPECT_EQ(nextPing.counter, 1);
    EXPECT_EQ(ToHex(nextPing.payload), "f000000000000000");
    EXPECT_EQ(a.Untaken(), 0u);
    EXPECT_EQ(ErrorText(), "");
}

TEST_F(TransferTest, SecondMoveLandsInTheFirstSlotAndCompletes) {
    PlayOnA();
    BeginMove(a, b, ToB);
    CompleteMove(a);
    Protocol* onB = core->connection2;

    Protocol* onC = BeginMove(b, c, ToC);
    ASSERT_EQ(onC, core->connection1);
    EXPECT_EQ(onC->kind, 1u);
    EXPECT_EQ(onC->state, StateGame);
    CompleteMove(b);
    EXPECT_EQ(core->activeConnection, onC);
    EXPECT_EQ(core->connection2, nullptr);
    EXPECT_NE(onB, onC);

    c.Deliver(FromHex("f1 0100"));
    ASSERT_TRUE(PumpUntil([&] { return onC->messageCounter == 1; }));
    core->OnSecondTimer();
    EXPECT_EQ(ToHex(NextFrame(c, 2, true).payload), "f000000000000000");
    EXPECT_EQ(ErrorText(), "");
}

TEST_F(TransferTest, EachStepIsToldInTheNotificationLinesWhenAWorldExists) {
    PlayOnA();
    core->world = new World(core);
    a.Deliver(TransferMessage(b.server.port, ToB));
    ASSERT_TRUE(
        PumpUntil([&] { return core->connection2 != nullptr; }, Protocol::FirstSocketMessage));
    EXPECT_EQ(TakeCentreLines(), (std::vector<std::string>{"Client: Transfer init",
                                                           "Client: initiate transfer network"}));
    NextFrame(b, 1, false);
    EXPECT_EQ(TakeCentreLines(),
              std::vector<std::string>{"Client: flush transfer data (wait for repsonse)"});
    CompleteMove(a);
    EXPECT_EQ(TakeCentreLines(), (std::vector<std::string>{"Client: Transfer done",
                                                           "Client: Transfer close connection"}));
}

TEST_F(TransferTest, NewServerThatCannotBeFoundLeavesTheGameOnTheOldAndItsSlotFree) {
    PlayOnA();
    core->world = new World(core);
    Protocol* old = core->connection1;
    a.Deliver(TransferMessage(b.server.port, ToB, "no-such-host.invalid"));
    ASSERT_TRUE(PumpUntil([&] { return old->messageCounter == 4; }));
    EXPECT_EQ(core->connection2, nullptr);
    EXPECT_EQ(core->activeConnection, old);
    EXPECT_EQ(TakeCentreLines(),
              (std::vector<std::string>{"Client: Transfer init",
                                        "Transfer: unable to connect to tansfer host"}));

    // A later move finds the slot free.
    BeginMove(a, b, ToB);
    CompleteMove(a);
    EXPECT_EQ(core->activeConnection, core->connection2);
    EXPECT_EQ(ErrorText(), "");
}

TEST_F(TransferTest, DoneWithoutAReadyNewConnectionEndsTheGame) {
    const struct {
        const char* name;
        bool moveBegun;
    } cases[] = {{"no move", false}, {"new connection not yet connected", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlayOnA();
        Bytes message = c.moveBegun ? TransferMessage(b.server.port, ToB) : Bytes{};
        message.push_back(246);
        a.Deliver(message);
        ASSERT_TRUE(PumpUntil([&] { return core->connection1 == nullptr; }));
        EXPECT_EQ(core->connection2, nullptr);
        EXPECT_EQ(core->activeConnection, nullptr);
        EXPECT_EQ(core->inGame, 0);
        EXPECT_EQ(ErrorText(), TransferFailed);

        core->RemoveWindow(core->FindWindow(WindowType::Status));
        a.Restart();
    }
}

TEST_F(TransferTest, EveryAttemptAfterACancelShowsItsBoxAndTheLastLogsIn) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        SCOPED_TRACE(attempt);
        core->Connect(0);
        ASSERT_EQ(ConnectingBoxes().size(), 1u);
        ASSERT_NE(core->connection1, nullptr);
        EXPECT_EQ(core->connection2, nullptr);
        EXPECT_EQ(core->activeConnection, core->connection1);
        ASSERT_TRUE(PumpUntil([&] { return a.server.Connected(); }));
        ConnectingBoxes()[0]->Close();
        EXPECT_TRUE(ConnectingBoxes().empty());
        EXPECT_EQ(core->connection1, nullptr);
        EXPECT_EQ(core->activeConnection, nullptr);
        a.server.Close();
    }
    core->Connect(0);
    EXPECT_EQ(ConnectingBoxes().size(), 1u);
    EXPECT_EQ(NextFrame(a, 1, false).payload[0], 1);
    PumpFor(50);
    EXPECT_EQ(ErrorText(), "");
    EXPECT_EQ(core->closedConnections.size(), 0u);
}

}  // namespace
