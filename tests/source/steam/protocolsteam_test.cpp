// The Steam login and the store's purchases against the stand-in Steam library beside this test
// program (tests/support/steamstub), scripted through its control file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "core.h"
#include "protocol.h"
#include "screen.h"
#include "sessioncallback.h"
#include "support/hexbytes.h"
#include "support/recordingconnection.h"
#include "support/startup.h"
#include "support/steamscript.h"
#include "support/testkey.h"
#include "windows/toolkit/status.h"

namespace {

using Bytes = std::vector<uint8_t>;

// MD5(MD5("secret") XOR the challenge 0x01020304), computed with Python's hashlib.
const char* const SessionKey = "2650312987baa0b41c6f97000c56e738";
const uint32_t Challenge = 0x01020304;
const char* const SteamId = "76561197960287930";  // 0x01100001000056ba
const char* const SteamIdBytes = "ba56000001001001";
const char* const Ticket = "0a0b0c0d0e";
const std::string Steam = "init 1\nsteam_id " + std::string(SteamId) +
                          "\nticket_handle 7\nticket_result 1\nticket " + Ticket + "\n";

// The fields of a Steam login request (op 8 or 9).
struct SteamLoginRequest {
    uint8_t op = 0;
    std::string steamId;   // hex, as sent
    std::string language;  // with its count byte, hex
    Bytes ticket;
    Bytes plaintext;  // of the RSA block
};

SteamLoginRequest ReadSteamLogin(const Bytes& payload) {
    SteamLoginRequest request;
    const size_t fixed = 1 + 8 + 3 + 2;
    if (payload.size() < fixed + 128) {
        ADD_FAILURE() << "a request of " << payload.size() << " bytes";
        return request;
    }
    request.op = payload[0];
    request.steamId = ToHex(payload.data() + 1, 8);
    request.language = ToHex(payload.data() + 9, 3);
    const size_t size = payload[12] | payload[13] << 8;
    EXPECT_EQ(payload.size(), fixed + size + 128) << "ticket size field " << size;
    if (payload.size() != fixed + size + 128) return request;
    request.ticket.assign(payload.begin() + fixed, payload.begin() + fixed + size);
    const Bytes encoded = DecipherLoginBlock(payload.data() + fixed + size);
    // PKCS#1 type 2: 00 02, the non-zero padding, 00, the plaintext.
    size_t separator = 2;
    while (separator < encoded.size() && encoded[separator] != 0) ++separator;
    if (separator < encoded.size())
        request.plaintext.assign(encoded.begin() + separator + 1, encoded.end());
    return request;
}

class SteamLogin : public StartedCore {
protected:
    void SetUp() override {
        script.Rewrite(Control());
        WriteSettings();
        StartedCore::SetUp();
        connection.emplace(core);
        core->connectKind = 5;
        core->loginName = "tester";
        core->password = "secret";
        core->connection1->challenge = Challenge;
    }

    virtual std::string Control() { return Steam; }
    // The settings file start-up reads; none: the defaults, with Steam on.
    virtual void WriteSettings() {}

    // The server's hello reached the connection.
    void Hello() { core->connection1->OnConnect(); }

    // One frame of the main loop, which runs Steam's callbacks, and the window messages they
    // posted.
    void Frame() {
        core->Tick();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    // The texts of the open status boxes with the title.
    std::vector<std::string> Notices(const std::string& title) {
        std::vector<std::string> texts;
        for (Window* window : core->windows) {
            auto* status = dynamic_cast<Status*>(window);
            if (status && status->name == title) texts.push_back(status->text);
        }
        return texts;
    }

    SteamScript script{""};
    std::optional<RecordingConnection> connection;
};

struct LoginCase {
    uint32_t kind;
    uint8_t op;
    const char* nameField;  // the plaintext after the session key, hex
};

class SteamLoginKinds : public SteamLogin, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(SteamLoginKinds, SendTheSteamIdTheLanguageTheTicketAndTheBlock) {
    core->connectKind = GetParam().kind;
    Hello();
    EXPECT_EQ(script.Count("GetAuthTicketForWebApi gameserver 7"), 1);
    ASSERT_NE(core->connection1->pending, nullptr);
    EXPECT_TRUE(connection->SentPayloads().empty()) << "the request waits for the ticket";

    Frame();
    const auto payloads = connection->SentPayloads(1);
    ASSERT_EQ(payloads.size(), 1u);
    const SteamLoginRequest request = ReadSteamLogin(payloads[0]);
    EXPECT_EQ(request.op, GetParam().op);
    EXPECT_EQ(request.steamId, SteamIdBytes);
    EXPECT_EQ(request.language, "02656e");
    EXPECT_EQ(ToHex(request.ticket), Ticket);
    EXPECT_EQ(ToHex(request.plaintext), std::string(SessionKey) + GetParam().nameField);
    EXPECT_EQ(ToHex(core->connection1->sessionKey.data(), 16), SessionKey);
    // The answer is used up: the callbacks are gone and the connection waits for the server.
    EXPECT_EQ(core->connection1->pending, nullptr);
    EXPECT_EQ(script.Count("SteamAPI_UnregisterCallback 168"), 1);
    EXPECT_EQ(script.Count("SteamAPI_UnregisterCallback 152"), 1);
    EXPECT_TRUE(Notices("Veltor").empty());
}

INSTANTIATE_TEST_SUITE_P(Protocol, SteamLoginKinds,
                         ::testing::Values(LoginCase{5, 8, "00"},
                                           LoginCase{6, 9, "06746573746572"}));

TEST_F(SteamLogin, ATicketFillingTheWholeAnswerIsSentWhole) {
    Bytes whole(SteamTicketAnswer::TicketCapacity);
    for (size_t i = 0; i < whole.size(); ++i) whole[i] = uint8_t(i * 7 + 1);
    script.Rewrite(Steam + "ticket " + ToHex(whole) + "\n");
    Hello();
    Frame();
    const auto payloads = connection->SentPayloads(1);
    ASSERT_EQ(payloads.size(), 1u);
    EXPECT_EQ(ReadSteamLogin(payloads[0]).ticket, whole);
}

struct RefusedTicket {
    const char* name;
    const char* control;
};

class SteamTicketRefused : public SteamLogin,
                           public ::testing::WithParamInterface<RefusedTicket> {};

// The connection stays open and sends nothing; the player may try again.
TEST_P(SteamTicketRefused, ShowsAuthorisationFailedAndSendsNothing) {
    script.Rewrite(Steam + GetParam().control);
    Hello();
    Frame();
    EXPECT_EQ(Notices("Veltor"), std::vector<std::string>{"Steam Authorisation Failed"});
    EXPECT_TRUE(connection->SentPayloads().empty());
    EXPECT_EQ(core->connection1, core->activeConnection);
    EXPECT_EQ(core->connection1->pending, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, SteamTicketRefused,
    ::testing::Values(RefusedTicket{"ResultTwo", "ticket_result 2\n"},
                      RefusedTicket{"ResultZero", "ticket_result 0\n"},
                      RefusedTicket{"SizePastTheBuffer", "ticket_size 2561\n"},
                      RefusedTicket{"SizePastTheWireField", "ticket_size 65536\n"},
                      RefusedTicket{"NegativeSize", "ticket_size -1\n"}),
    [](const ::testing::TestParamInfo<RefusedTicket>& info) { return info.param.name; });

TEST_F(SteamLogin, NoTicketHandleEndsTheAttempt) {
    script.Rewrite(Steam + "ticket_handle 0\n");
    Hello();
    EXPECT_EQ(Notices("Veltor - Error"), std::vector<std::string>{"Steam Authorisation Failed"});
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_EQ(script.Count("SteamAPI_RegisterCallback 168"), 0);
    EXPECT_TRUE(connection->SentPayloads().empty());
}

// A purchase answer that arrives with the ticket posts a second message: by the time it is
// handled the login used the callbacks up.
TEST_F(SteamLogin, ALateAnswerShowsCallbackErrorAndSendsNothingMore) {
    script.Rewrite(Steam + "purchase 99 1\n");
    Hello();
    Frame();
    EXPECT_EQ(script.Count("deliver 168"), 1);
    EXPECT_EQ(script.Count("deliver 152"), 1);
    EXPECT_EQ(Notices("Veltor"), std::vector<std::string>{"Steam Callback Error."});
    const auto payloads = connection->SentPayloads(1);
    ASSERT_EQ(payloads.size(), 1u);
    EXPECT_EQ(payloads[0][0], 8);
}

TEST_F(SteamLogin, AMessageWithNoRequestWaitingShowsCallbackError) {
    PostMessageA(core->hwnd, SteamMessage, 1, SessionCallback::PurchaseAnswer);
    Frame();
    EXPECT_EQ(Notices("Veltor"), std::vector<std::string>{"Steam Callback Error."});
    EXPECT_TRUE(connection->SentPayloads().empty());
}

// C15: Steam's callbacks run only while the active connection waits for Steam.
TEST_F(SteamLogin, CallbacksRunOnlyWhileTheConnectionWaitsForSteam) {
    Frame();
    EXPECT_EQ(script.Count("SteamAPI_RunCallbacks"), 0);
    Hello();
    Frame();
    EXPECT_EQ(script.Count("SteamAPI_RunCallbacks"), 1);
    ASSERT_EQ(core->connection1->pending, nullptr);
    Frame();
    EXPECT_EQ(script.Count("SteamAPI_RunCallbacks"), 1);
}

struct Closing {
    const char* name;
    bool ticketDelivered;
    int cancelled;
};

class SteamTicketCancel : public SteamLogin, public ::testing::WithParamInterface<Closing> {};

// The ticket is withdrawn with its connection once the login used it.
TEST_P(SteamTicketCancel, WhenTheConnectionGoes) {
    Hello();
    if (GetParam().ticketDelivered) Frame();
    core->CloseConnection(0);
    EXPECT_EQ(script.Count("CancelAuthTicket 7"), 0) << "the connection still exists";
    core->DeleteClosedConnections();
    EXPECT_EQ(script.Count("CancelAuthTicket 7"), GetParam().cancelled);
}

INSTANTIATE_TEST_SUITE_P(Protocol, SteamTicketCancel,
                         ::testing::Values(Closing{"AfterTheLogin", true, 1},
                                           Closing{"BeforeTheTicketArrived", false, 0}),
                         [](const ::testing::TestParamInfo<Closing>& info) {
                             return info.param.name;
                         });

struct PurchaseCase {
    const char* answer;  // order id and authorisation, as the player gave them to Steam
    const char* request;
};

class StorePurchase : public SteamLogin, public ::testing::WithParamInterface<PurchaseCase> {};

TEST_P(StorePurchase, TheAnswerGoesToTheServerOnce) {
    core->connection1->SendStorePurchase(90);
    Frame();
    EXPECT_EQ(script.Count("deliver 152"), 0) << "no answer yet";
    ASSERT_NE(core->connection1->pending, nullptr);

    script.Rewrite(Steam + "purchase " + GetParam().answer + "\n");
    Frame();
    Frame();
    const auto payloads = connection->SentPayloads(2);
    ASSERT_EQ(payloads.size(), 2u);
    EXPECT_EQ(ToHex(payloads[0]), "e15a000000");
    EXPECT_EQ(ToHex(payloads[1]), GetParam().request);
    EXPECT_EQ(core->connection1->pending, nullptr);
    EXPECT_TRUE(Notices("Veltor").empty());
}

INSTANTIATE_TEST_SUITE_P(Protocol, StorePurchase,
                         ::testing::Values(PurchaseCase{"1234567890123 0", "e2cb04fb711f01000000"},
                                           PurchaseCase{"5 1", "e2050000000000000001"},
                                           PurchaseCase{"18446744073709551615 7",
                                                        "e2ffffffffffffffff07"}));

struct NotStartedCase {
    const char* name;
    const char* control;
    const char* settings;
    std::vector<std::string> calls;
};

class SteamNotStarted : public SteamLogin, public ::testing::WithParamInterface<NotStartedCase> {
protected:
    std::string Control() override { return GetParam().control; }
    void WriteSettings() override {
        std::filesystem::create_directories("data");
        std::ofstream("data/Veltor.config") << GetParam().settings;
    }
};

TEST_P(SteamNotStarted, NothingMoreIsAskedOfTheLibrary) {
    EXPECT_EQ(core->steamReady, 0);
    Hello();
    EXPECT_EQ(Notices("Veltor - Error"), std::vector<std::string>{"Steam Authorisation Failed"});

    connection.emplace(core);
    core->connection1->SendStorePurchase(30);
    Frame();
    EXPECT_EQ(connection->SentOpcodes(1), Bytes{225});
    delete core;
    core = nullptr;
    EXPECT_EQ(script.Log(), GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, SteamNotStarted,
    ::testing::Values(
        NotStartedCase{
            "InitFails", "init 0\nticket_handle 7\n", "", {"SteamAPI_Init 0", "SteamAPI_Shutdown"}},
        NotStartedCase{
            "SwitchedOffInTheSettings", "init 1\nticket_handle 7\n", "steam = false\n", {}}),
    [](const ::testing::TestParamInfo<NotStartedCase>& info) { return info.param.name; });

}  // namespace
