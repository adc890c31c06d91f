// A connection driven against a server played by the test on the loopback interface: framing
// both ways, the counter, XTEA, the login block, the login and avatar-selection states, and what
// the player is shown when a connection ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core.h"
#include "protocol.h"
#include "support/hexbytes.h"
#include "support/loopbackserver.h"
#include "support/spritedata.h"
#include "support/startup.h"
#include "support/testkey.h"
#include "windows/front/avatars.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/windowtypes.h"
#include "xtea.h"

namespace {

using Bytes = std::vector<uint8_t>;

const char* const SupportLine =
    "\nIf the problem persists, please contact us on support@veltor.example, or on Discord.";
// MD5(MD5("secret") XOR the challenge 0x01020304), computed with Python's hashlib.
const char* const SessionKey = "2650312987baa0b41c6f97000c56e738";

Bytes ServerFrame(const Bytes& payload, bool longForm = false) {
    const uint32_t size = uint32_t(payload.size() - 1);
    Bytes frame;
    if (size < 0x8000 && !longForm) {
        frame = {uint8_t(size), uint8_t(size >> 8)};
    } else {
        const uint32_t low = 0x8000 | (size & 0x7FFF), high = size >> 15;
        frame = {uint8_t(low), uint8_t(low >> 8), uint8_t(high), uint8_t(high >> 8)};
    }
    frame.insert(frame.end(), payload.begin(), payload.end());
    return frame;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Shapes of the sample sprite data (tools/datagen/sprites.py): ground without outfit colours,
// and the person, whose images take them.
const uint16_t PlainShape = 100, ColouredShape = 200, UnknownShape = 4242;

std::string U16Hex(uint16_t value) { return ToHex({uint8_t(value), uint8_t(value >> 8)}); }

// Account 7 with two avatars (the second one's shape takes outfit colours), a notice and 30
// noble days.
const std::string AvatarListMessage =
    "08 07000000 00 02"
    " e9030000 00 " +
    U16Hex(PlainShape) +
    " 0500 0441726961 09000000"
    " ea030000 01 " +
    U16Hex(ColouredShape) +
    " 44332211 0600 02426f 00000000"
    " 0700 57656c636f6d65 1e000000";

struct ClientFrame {
    uint16_t sizeField;
    uint16_t counter;
    Bytes payload;
};

enum class Delivery { Whole, OneBytePerSend, JoinedFrames, LongHeaders };

class ProtocolTest : public SpriteData {
protected:
    void SetUp() override {
        SpriteData::SetUp();
        core->host = "127.0.0.1";
        core->port = std::to_string(server.port);
        core->connectKind = 1;
        core->loginName = "tester";
        core->password = "secret";
        core->clientVersion = 14;
        KnowShapes();
    }

    // The avatars' looks come from the sample sprite data.
    void KnowShapes() {
        sampleShapes = Load("sample");
        startUpShapes = core->shapes;
        core->shapes = sampleShapes.get();
        ASSERT_FALSE(core->GetShape(PlainShape)->hasPaletteId);
        ASSERT_TRUE(core->GetShape(ColouredShape)->hasPaletteId);
        ASSERT_EQ(core->GetShape(UnknownShape), nullptr);
    }

    void TearDown() override {
        core->shapes = startUpShapes;
        sampleShapes.reset();
        SpriteData::TearDown();
    }

    // Handles the client's messages and the server's socket once.
    void PumpOnce() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            // Socket events go to Core directly, so that a fatal end (an exception under the
            // fake platform) never unwinds through the system's dispatch.
            if (message.message == Protocol::FirstSocketMessage)
                core->OnSocketMessage1(message.wParam, message.lParam);
            else DispatchMessageA(&message);
        }
        server.Accept();
        server.Poll();
    }

    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > timeoutMs) return false;
            PumpOnce();
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

    // The next frame the client sent, cut from what the server received; deciphered when
    // encryption is on. Waits for it.
    ClientFrame NextClientFrame(int counterBytes, bool enciphered = false) {
        ClientFrame frame{};
        auto complete = [&] {
            const size_t held = server.received.size() - consumed;
            if (held < size_t(2 + counterBytes)) return false;
            const uint8_t* at = server.received.data() + consumed;
            return held >= size_t(2 + counterBytes + (at[0] | at[1] << 8) + 1);
        };
        EXPECT_TRUE(PumpUntil(complete)) << "no client frame";
        if (!complete()) return frame;
        const uint8_t* at = server.received.data() + consumed;
        frame.sizeField = uint16_t(at[0] | at[1] << 8);
        frame.counter = counterBytes == 2 ? uint16_t(at[2] | at[3] << 8) : at[2];
        frame.payload.assign(at + 2 + counterBytes, at + 2 + counterBytes + frame.sizeField + 1);
        consumed += 2 + counterBytes + frame.payload.size();
        if (enciphered) {
            EXPECT_EQ(frame.payload.size() % 8, 0u);
            cipher.Decrypt(frame.payload.data(), frame.payload.size() / 8);
        }
        return frame;
    }

    bool NoFurtherClientFrame() {
        PumpFor(150);
        return server.received.size() == consumed;
    }

    Bytes Enciphered(Bytes payload) {
        payload.resize((payload.size() + 7) / 8 * 8, 0);
        cipher.Encrypt(payload.data(), payload.size() / 8);
        return payload;
    }

    void Deliver(const Bytes& bytes, Delivery delivery = Delivery::Whole) {
        if (delivery != Delivery::OneBytePerSend) {
            server.Send(bytes);
            return;
        }
        for (uint8_t byte : bytes) {
            server.Send({byte});
            PumpFor(2);
        }
    }

    // Connects, checks the client's first request, says hello and reads the login block.
    void ConnectAndLogIn(Delivery delivery = Delivery::Whole) {
        core->Connect(0);
        ASSERT_NE(core->connection1, nullptr);
        const ClientFrame hello = NextClientFrame(1);
        EXPECT_EQ(hello.counter, 0);
        const uint32_t data = core->dataVersion;
        EXPECT_EQ(ToHex(hello.payload),
                  "01"
                  "0e000000" +
                      U16Hex(uint16_t(data)) + U16Hex(uint16_t(data >> 16)));

        Deliver(ServerFrame(FromHex("01 04030201"), delivery == Delivery::LongHeaders), delivery);
        const ClientFrame login = NextClientFrame(1);
        EXPECT_EQ(login.counter, 1);
        ASSERT_EQ(login.payload.size(), 129u);
        EXPECT_EQ(login.payload[0], 2);
        const Bytes encoded = DecipherLoginBlock(login.payload.data() + 1);
        EXPECT_EQ(ToHex(encoded).substr(0, 4), "0002");
        EXPECT_EQ(ToHex(encoded).substr(2 * (128 - 24)),
                  std::string("00") + SessionKey + "06" + "746573746572");
        cipher.SetKey(FromHex(SessionKey).data());
    }

    // Logs in and delivers the acceptance with the avatar list.
    void LogInToAvatarList(Delivery delivery = Delivery::Whole) {
        ConnectAndLogIn(delivery);
        const bool longForm = delivery == Delivery::LongHeaders;
        if (delivery == Delivery::JoinedFrames) {
            // The acceptance comes in clear, the next frame of the same send already enciphered.
            Deliver(
                Concat({ServerFrame({2}), ServerFrame(Enciphered(FromHex(AvatarListMessage)))}));
        } else {
            Deliver(ServerFrame(Concat({{2}, FromHex(AvatarListMessage)}), longForm), delivery);
        }
        ASSERT_TRUE(PumpUntil([&] { return core->FindWindow(WindowType::Avatars) != nullptr; }))
            << StatusText();
    }

    // Logs in, selects an avatar and delivers the move to the game state; the counter is then 4.
    void EnterGame() {
        LogInToAvatarList();
        core->connection1->SendSelectAvatar(1001);
        Deliver(ServerFrame(Enciphered({11})));
        ASSERT_TRUE(PumpUntil([&] { return core->connection1->state == StateGame; }));
        ASSERT_EQ(core->connection1->messageCounter, 4);
    }

    // The text of the error status box, or "" when none is open.
    std::string StatusText() {
        for (Window* window : core->windows) {
            auto* status = dynamic_cast<Status*>(window);
            if (status && status->name == "Veltor - Error") return status->text;
        }
        return "";
    }

    int StatusCount() {
        return int(std::count_if(core->windows.begin(), core->windows.end(), [](Window* window) {
            auto* status = dynamic_cast<Status*>(window);
            return status && status->name == "Veltor - Error";
        }));
    }

    // Waits for the connection to end and returns what the player is shown.
    std::string DisconnectText() {
        EXPECT_TRUE(PumpUntil([&] { return core->connection1 == nullptr; }));
        EXPECT_EQ(core->activeConnection, nullptr);
        EXPECT_TRUE(core->closedConnections.empty());
        EXPECT_TRUE(FakePlatform::boxes.empty());
        return StatusText();
    }

    LoopbackServer server;
    Xtea cipher;
    size_t consumed = 0;
    std::unique_ptr<Shapes> sampleShapes;
    Shapes* startUpShapes = nullptr;
};

class LoginDelivery : public ProtocolTest, public ::testing::WithParamInterface<Delivery> {};

TEST_P(LoginDelivery, LogsInSelectsAnAvatarAndEntersTheGame) {
    const Delivery delivery = GetParam();
    LogInToAvatarList(delivery);
    Protocol* connection = core->connection1;
    EXPECT_EQ(connection->state, StateAvatarSelection);
    EXPECT_EQ(connection->encrypted, 1);
    EXPECT_EQ(connection->messageCounter, 3);
    EXPECT_EQ(core->accountId, 7u);
    EXPECT_EQ(core->nobleDaysLeft, 30u);
    EXPECT_EQ(core->FindWindow(WindowType::Status),
              nullptr);  // the connecting box made way for the list

    auto* list = static_cast<Avatars*>(core->FindWindow(WindowType::Avatars));
    ASSERT_EQ(list->avatars.size(), 2u);
    EXPECT_EQ(list->avatars[0].id, 1001u);
    EXPECT_EQ(list->avatars[0].name, "Aria");
    EXPECT_EQ(list->avatars[0].level, 5);
    EXPECT_EQ(list->avatars[0].subId, 0u);
    EXPECT_EQ(list->avatars[0].extraWord, 9u);
    EXPECT_EQ(list->avatars[1].shapeId, ColouredShape);
    EXPECT_EQ(list->avatars[1].subId, 0x11223344u);
    EXPECT_EQ(list->avatars[1].name, "Bo");
    auto* notice = dynamic_cast<Message*>(core->windows.back());
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->name, "Message");
    EXPECT_EQ(notice->text, "Welcome");

    connection->SendSelectAvatar(1002);
    const ClientFrame select = NextClientFrame(1, true);
    EXPECT_EQ(select.sizeField, 7);
    EXPECT_EQ(select.counter, 3);
    EXPECT_EQ(ToHex(select.payload), "07ea030000000000");

    Deliver(ServerFrame(Enciphered({11}), delivery == Delivery::LongHeaders), delivery);
    ASSERT_TRUE(PumpUntil([&] { return connection->state == StateGame; }));
    EXPECT_EQ(connection->messageCounter, 4);

    // In game the counter travels as two bytes.
    connection->SendPing();
    const ClientFrame ping = NextClientFrame(2, true);
    EXPECT_EQ(ping.counter, 4);
    EXPECT_EQ(ToHex(ping.payload), "f000000000000000");
}

INSTANTIATE_TEST_SUITE_P(Protocol, LoginDelivery,
                         ::testing::Values(Delivery::Whole, Delivery::OneBytePerSend,
                                           Delivery::JoinedFrames, Delivery::LongHeaders));

TEST_F(ProtocolTest, UnknownGameMessageEndsTheConnection) {
    EnterGame();
    Deliver(ServerFrame(Enciphered({250})));
    EXPECT_EQ(DisconnectText(), "unknown header. (250, state 2, protocol: 1)");
}

TEST_F(ProtocolTest, GameMessagesWithoutFieldsKeepTheFrameInStep) {
    EnterGame();
    Protocol* connection = core->connection1;
    core->pingTimes.push_back(FakePlatform::wallClock);
    core->pingOutstanding = 1;
    // A keep-alive and six silent messages, then a counter check of 4 + 7 and a ping reply.
    Deliver(ServerFrame(Enciphered(FromHex("00 20 21 51 c8 c9 cf f1 0b00 f0"))));
    ASSERT_TRUE(PumpUntil([&] { return core->pingOutstanding == 0; }));
    EXPECT_EQ(connection->messageCounter, 12);
    EXPECT_EQ(core->connection1, connection);
    EXPECT_EQ(StatusCount(), 0);
    EXPECT_TRUE(FakePlatform::boxes.empty());
}

TEST_F(ProtocolTest, PingReplyMeasuresTheOldestPing) {
    EnterGame();
    core->pingTimes = {FakePlatform::wallClock - 35, FakePlatform::wallClock - 5};
    core->pingOutstanding = 1;
    Deliver(ServerFrame(Enciphered({240})));
    ASSERT_TRUE(PumpUntil([&] { return core->pingOutstanding == 0; }));
    EXPECT_EQ(core->pingSamples, (std::vector<uint32_t>{35}));
    EXPECT_EQ(core->pingAverage, 35u);
    EXPECT_EQ(core->pingTimes.size(), 1u);
    EXPECT_EQ(core->connection1->messageCounter, 5);
}

TEST_F(ProtocolTest, CounterCheckCountsItself) {
    EnterGame();
    Protocol* connection = core->connection1;
    Deliver(ServerFrame(Enciphered(FromHex("f1 0500"))));
    ASSERT_TRUE(PumpUntil([&] { return connection->messageCounter == 5; }));
    PumpFor(50);
    EXPECT_EQ(core->connection1, connection);
    EXPECT_TRUE(FakePlatform::boxes.empty());
}

TEST_F(ProtocolTest, CounterOutOfStepEndsTheProgram) {
    EnterGame();
    Protocol* connection = core->connection1;
    Deliver(ServerFrame(Enciphered(FromHex("f1 0400"))));
    uint32_t exitCode = 0;
    try {
        PumpUntil([] { return false; }, 1000);
    } catch (const ProgramExit& exit) {
        exitCode = exit.code;
    }
    EXPECT_EQ(exitCode, 1u);
    ASSERT_EQ(FakePlatform::boxes.size(), 1u);
    EXPECT_EQ(FakePlatform::boxes[0].title, "Veltor - Error");
    EXPECT_EQ(FakePlatform::boxes[0].text, "Counter out of sync.");
    EXPECT_EQ(connection->closed, 1);
    FakePlatform::boxes.clear();
}

TEST_F(ProtocolTest, CipherPaddingCountsAsKeepAlives) {
    LogInToAvatarList();
    Protocol* connection = core->connection1;
    const uint16_t before = connection->messageCounter;
    Deliver(ServerFrame(Enciphered(FromHex("0a 0200 6869"))));  // a text of 5 bytes, 3 zeros
    ASSERT_TRUE(
        PumpUntil([&] { return dynamic_cast<Message*>(core->windows.back())->text == "hi"; }));
    EXPECT_EQ(connection->messageCounter, before + 1);
}

TEST_F(ProtocolTest, LongFrameWaitsForItsWholeHeaderAndPayload) {
    ConnectAndLogIn();
    Bytes text = FromHex("03 fe7f");
    text.resize(3 + 0x7ffe, 'x');
    const Bytes frame = ServerFrame(text);
    ASSERT_EQ(ToHex(Bytes(frame.begin(), frame.begin() + 4)), "00800100");
    server.Send(Bytes(frame.begin(), frame.begin() + 3));
    PumpFor(50);
    server.Send(Bytes(frame.begin() + 3, frame.end() - 1));
    PumpFor(50);
    EXPECT_EQ(core->FindWindow(WindowType::Message), nullptr);
    server.Send({frame.back()});
    ASSERT_TRUE(PumpUntil([&] { return core->FindWindow(WindowType::Message) != nullptr; }));
    auto* message = static_cast<Message*>(core->FindWindow(WindowType::Message));
    EXPECT_EQ(message->name, "Veltor");
    EXPECT_EQ(message->text, std::string(0x7ffe, 'x'));
}

struct Refusal {
    const char* name;
    bool inAvatarSelection;
    const char* message;
    const char* text;
};

class RefusalTest : public ProtocolTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, EndsTheConnectionWithItsTextAndTheClientGoesOn) {
    const Refusal& refusal = GetParam();
    if (refusal.inAvatarSelection) {
        LogInToAvatarList();
        Deliver(ServerFrame(Enciphered(FromHex(refusal.message))));
    } else {
        ConnectAndLogIn();
        Deliver(ServerFrame(FromHex(refusal.message)));
    }
    EXPECT_EQ(DisconnectText(), refusal.text);
    EXPECT_EQ(core->FindWindow(WindowType::Avatars), nullptr);
    EXPECT_EQ(static_cast<Status*>(core->FindWindow(WindowType::Status))->name, "Veltor - Error");
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, RefusalTest,
    ::testing::Values(
        Refusal{"AddressBlocked", false, "04 00000000", "Ip block"},
        Refusal{"TimeOut", false, "05", "Timeout"},
        Refusal{"InvalidLogin", false, "06 00000000 0000", "Invalid login information."},
        Refusal{"ClientTooOld", false, "fa 00 01 31 01 32",
                "Please, download the latest client manually on the Veltor website or via Steam."},
        Refusal{"UnknownLoginOp", false, "4d", "unknown header. (77, state: 0, protocol: 1)"},
        Refusal{"UnknownAvatarOp", true, "4d", "unknown header. (77, state: 1, protocol: 1)"},
        // A message that needs more bytes than its frame holds, before a frame it must not eat.
        Refusal{"MessagePastItsFrame", false, "03 c800 61626364",
                "Invalid message from the game server. (3, state: 0, protocol: 1: "
                "NetBuffer::GetStringU16 buffer too small!)"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(ProtocolTest, MessagePastItsFrameLeavesTheNextFrameUnread) {
    ConnectAndLogIn();
    Deliver(
        Concat({ServerFrame(FromHex("03 c800 61626364")), ServerFrame(FromHex("01 04030201"))}));
    EXPECT_NE(DisconnectText().find("GetStringU16 buffer too small"), std::string::npos);
    EXPECT_EQ(core->FindWindow(WindowType::Message), nullptr);
    EXPECT_TRUE(NoFurtherClientFrame());  // the second hello was never read
}

// The header of a frame of `payload` bytes, in the long form.
Bytes LongHeader(uint32_t payload) {
    const uint32_t size = payload - 1, low = 0x8000 | (size & 0x7FFF), high = size >> 15;
    return {uint8_t(low), uint8_t(low >> 8), uint8_t(high), uint8_t(high >> 8)};
}

TEST_F(ProtocolTest, OversizedFrameHeaderEndsTheConnection) {
    const struct {
        Bytes header;
        std::string size;
    } cases[] = {{FromHex("ffffffff"), "2147483648"},
                 {LongHeader(Protocol::MaxFramePayload + 1), "4194305"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        ConnectAndLogIn();
        Deliver(c.header);
        EXPECT_EQ(DisconnectText(), "Invalid frame from the game server: " + c.size +
                                        " bytes is more than the client accepts." + SupportLine);
        server.Close();
        consumed = server.received.size();
        core->RemoveWindow(core->FindWindow(WindowType::Status));
    }
}

TEST_F(ProtocolTest, FrameHeaderAtTheLimitWaitsForItsPayload) {
    ConnectAndLogIn();
    Deliver(Concat({LongHeader(Protocol::MaxFramePayload), FromHex("03 0000")}));
    PumpFor(100);
    EXPECT_NE(core->connection1, nullptr);
    EXPECT_EQ(StatusCount(), 0);
    EXPECT_EQ(core->FindWindow(WindowType::Message), nullptr);
}

TEST_F(ProtocolTest, ServerClosingTheConnectionIsShown) {
    ConnectAndLogIn();
    server.Close();
    EXPECT_EQ(DisconnectText(),
              std::string("Server disconnected. Please try again later.") + SupportLine);
}

TEST_F(ProtocolTest, RefusalSentJustBeforeTheCloseIsStillShown) {
    ConnectAndLogIn();
    Deliver(ServerFrame(FromHex("06 00000000 0000")));
    server.Close();
    EXPECT_EQ(DisconnectText(), "Invalid login information.");
}

TEST_F(ProtocolTest, NothingIsShownWhenTheServerEndedTheGame) {
    ConnectAndLogIn();
    core->gameHalted = 1;
    server.Close();
    PumpFor(200);
    EXPECT_EQ(StatusCount(), 0);
    ASSERT_NE(core->connection1, nullptr);
    EXPECT_EQ(core->connection1->socket, INVALID_SOCKET);  // not left half open
    core->connection1->SendPing();                         // nothing is sent while halted
    EXPECT_EQ(core->connection1->outBuffer.GetLength(), 0);
}

TEST_F(ProtocolTest, RefusedConnectionShowsItsSocketError) {
    uint16_t unused;
    {
        LoopbackServer closedAgain;  // nothing listens on its port any more
        unused = closedAgain.port;
    }
    core->port = std::to_string(unused);
    core->Connect(0);
    EXPECT_EQ(DisconnectText(),
              std::string("Connection lost. Please try again later.") + SupportLine);
}

TEST_F(ProtocolTest, AnEndedAttemptTakesItsProgressBoxAndLeavesOlderNotices) {
    uint16_t unused;
    {
        LoopbackServer closedAgain;
        unused = closedAgain.port;
    }
    core->port = std::to_string(unused);
    core->ShowStatus("Veltor - Error", "An earlier error.");
    core->Connect(0);
    ASSERT_TRUE(PumpUntil([&] { return core->connection1 == nullptr; }));
    std::vector<std::string> boxes;
    for (Window* window : core->windows)
        if (auto* status = dynamic_cast<Status*>(window))
            boxes.push_back(std::to_string(status->kind) + " " + status->text);
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "0 An earlier error.",
                         std::string("0 Connection lost. Please try again later.") + SupportLine}));
}

TEST_F(ProtocolTest, UnknownSocketErrorEndsTheConnectionNotTheProgram) {
    core->Connect(0);
    Protocol* connection = core->connection1;
    core->OnSocketMessage1(WPARAM(connection->socket),
                           WSAMAKESELECTREPLY(FD_CONNECT, WSAEHOSTUNREACH));
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_EQ(StatusText(), "Socket Error (10065 in 1) ");
    EXPECT_TRUE(FakePlatform::boxes.empty());
}

TEST_F(ProtocolTest, SecondSocketErrorOfAConnectionShowsNothing) {
    ConnectAndLogIn();
    Protocol* connection = core->connection1;
    connection->SocketError(WSAECONNRESET, "");
    connection->SocketError(WSAECONNRESET, "");
    EXPECT_EQ(StatusCount(), 1);
    EXPECT_EQ(StatusText(), std::string("Connection Lost. Please try again later.") + SupportLine);
    core->DeleteClosedConnections();
}

TEST_F(ProtocolTest, ConnectionIsDeletedOnlyAfterItsHandlerReturns) {
    ConnectAndLogIn();
    Deliver(ServerFrame(FromHex("05")));
    Protocol* connection = core->connection1;
    MSG message;
    ASSERT_TRUE(PumpUntil([&] {
        return PeekMessageA(&message, nullptr, Protocol::FirstSocketMessage,
                            Protocol::FirstSocketMessage, PM_REMOVE) &&
               WSAGETSELECTEVENT(message.lParam) == FD_READ;
    }));
    EXPECT_TRUE(connection->custom(message.wParam, message.lParam));
    // The handler asked Core to disconnect: the slot is empty, the object closed but alive.
    EXPECT_EQ(core->connection1, nullptr);
    ASSERT_EQ(core->closedConnections.size(), 1u);
    EXPECT_EQ(core->closedConnections[0], connection);
    EXPECT_EQ(connection->closed, 1);
    EXPECT_EQ(connection->socket, INVALID_SOCKET);
    EXPECT_EQ(StatusText(), "Timeout");
    core->DeleteClosedConnections();
    EXPECT_TRUE(core->closedConnections.empty());
}

TEST_F(ProtocolTest, AccountNameOf100BytesIsSentAnd101Refused) {
    core->loginName = std::string(100, 'n');
    core->Connect(0);
    NextClientFrame(1);
    Deliver(ServerFrame(FromHex("01 04030201")));
    const ClientFrame login = NextClientFrame(1);
    ASSERT_EQ(login.payload.size(), 129u);
    const Bytes encoded = DecipherLoginBlock(login.payload.data() + 1);
    EXPECT_EQ(encoded[128 - 117 - 1], 0);
    EXPECT_EQ(encoded[128 - 101], 100);

    core->CloseConnection(0);
    core->DeleteClosedConnections();
    server.Close();
    consumed = server.received.size();
    core->loginName = std::string(101, 'n');
    core->Connect(0);
    NextClientFrame(1);
    Deliver(ServerFrame(FromHex("01 04030201")));
    EXPECT_EQ(DisconnectText(), "Encryption error.");
    EXPECT_TRUE(NoFurtherClientFrame());
}

TEST_F(ProtocolTest, TestClientPlaysTheConfiguredAvatar) {
    core->testWalker.testing = 1;
    core->testWalker.runCharacter = 1;
    ConnectAndLogIn();
    Deliver(ServerFrame(Concat({{2}, FromHex(AvatarListMessage)})));
    const ClientFrame select = NextClientFrame(1, true);
    EXPECT_EQ(ToHex(select.payload), "07ea030000000000");
    EXPECT_EQ(core->FindWindow(WindowType::Avatars), nullptr);
    EXPECT_EQ(core->accountId, 7u);
}

TEST_F(ProtocolTest, TestClientAvatarOutsideTheListSendsNothingAndOpensTheList) {
    core->testWalker.testing = 1;
    core->testWalker.runCharacter = 2;
    LogInToAvatarList();
    EXPECT_EQ(static_cast<Avatars*>(core->FindWindow(WindowType::Avatars))->avatars.size(), 2u);
    EXPECT_TRUE(NoFurtherClientFrame());
}

TEST_F(ProtocolTest, OneAvatarIsAddedToTheOpenList) {
    LogInToAvatarList();
    core->connection1->SendCreateAvatar(3, "C\xE9");
    const ClientFrame create = NextClientFrame(1, true);
    EXPECT_EQ(ToHex(create.payload),
              "0603"
              "0343c3a9"
              "0000");
    Deliver(ServerFrame(
        Enciphered(FromHex("09 0b000000 00 " + U16Hex(PlainShape) + " 0100 0143 00000000"))));
    auto* list = static_cast<Avatars*>(core->FindWindow(WindowType::Avatars));
    ASSERT_TRUE(PumpUntil([&] { return list->avatars.size() == 3; }));
    EXPECT_EQ(list->avatars[2].id, 11u);
    EXPECT_EQ(list->avatars[2].name, "C");
}

TEST_F(ProtocolTest, FatalServerTextEndsTheProgramAfterTheDispatch) {
    const struct {
        std::string message;
        const char* text;
    } cases[] = {
        {"0c 0e 4163636f756e742062616e6e6564", "Account banned"},
        {"09 0b000000 00 " + U16Hex(UnknownShape) + " 0100 0143 00000000",
         "Unknown shape id. (avatar)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        LogInToAvatarList();
        Protocol* connection = core->connection1;
        Deliver(ServerFrame(Enciphered(FromHex(c.message))));
        bool ended = false;
        try {
            PumpUntil([] { return false; }, 1000);
        } catch (const ProgramExit&) {
            ended = true;
        }
        EXPECT_TRUE(ended);
        ASSERT_EQ(FakePlatform::boxes.size(), 1u);
        EXPECT_EQ(FakePlatform::boxes[0].title, "Veltor - Error");
        EXPECT_EQ(FakePlatform::boxes[0].text, c.text);
        EXPECT_EQ(connection->closed, 1);
        EXPECT_EQ(connection->socket, INVALID_SOCKET);

        FakePlatform::boxes.clear();
        core->CloseConnection(0);
        core->DeleteClosedConnections();
        server.Close();
        consumed = server.received.size();
        while (core->windows.back()->typeId != WindowType::Desktop)
            core->RemoveWindow(core->windows.back());
    }
}

TEST_F(ProtocolTest, StartAndCancel) {
    core->Connect(0);
    Protocol* connection = core->connection1;
    EXPECT_EQ(core->activeConnection, connection);
    EXPECT_EQ(static_cast<Status*>(core->FindWindow(WindowType::Status))->name, "Connecting");
    EXPECT_EQ(connection->closed, 0);
    connection->Cancel();
    EXPECT_EQ(connection->closed, 1);
    PumpFor(200);
    EXPECT_EQ(StatusCount(), 0);
}

TEST_F(ProtocolTest, SecondConnectionTakesTheSecondSlotAndSwitching) {
    core->Connect(0);
    Protocol* first = core->connection1;
    core->Connect(0);
    Protocol* second = core->connection2;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->kind, 2u);
    EXPECT_EQ(core->activeConnection, first);
    EXPECT_TRUE(core->IsOtherConnectionActive(second));
    EXPECT_FALSE(core->IsOtherConnectionActive(first));
    core->SwitchActiveConnection();
    EXPECT_EQ(core->activeConnection, second);
    core->Connect(0);  // both slots taken: nothing happens
    EXPECT_EQ(core->connection1, first);
    core->CloseConnection(2);
    EXPECT_EQ(core->connection2, nullptr);
    EXPECT_EQ(core->activeConnection, nullptr);
    EXPECT_EQ(core->connection1, first);
    core->DeleteClosedConnections();
}

TEST(SocketErrorText, KnownCodesCarryTheSupportLineBut10049) {
    EXPECT_EQ(SocketErrorText(10060, 1, ""),
              std::string("Connection Time-Out. Please try again later.") + SupportLine);
    EXPECT_EQ(
        SocketErrorText(10049, 1, ""),
        "Cannot assign requested address. Check your connection, restart your computer and perhaps even "
        "your router.");
    EXPECT_EQ(SocketErrorText(10065, 2, "flush: !WSAEWOULDBLOCK"),
              "Socket Error (10065 in 2) flush: !WSAEWOULDBLOCK");
}

}  // namespace
