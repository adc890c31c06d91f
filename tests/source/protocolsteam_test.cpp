// The Steam login and the store without a Steam library beside the program, and the server's
// count of noble days.
#include <gtest/gtest.h>

#include <optional>

#include "core.h"
#include "protocol.h"
#include "steam.h"
#include "support/recordingconnection.h"
#include "support/startup.h"
#include "support/testcore.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"

namespace {

class WithoutSteam : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        connection.emplace(core);
    }

    std::optional<RecordingConnection> connection;
};

TEST_F(WithoutSteam, SteamIsNotRunning) {
    EXPECT_EQ(core->steamReady, 0);
    EXPECT_EQ(Steam::User(), nullptr);
}

class SteamKindWithoutSteam : public WithoutSteam,
                              public ::testing::WithParamInterface<uint32_t> {};

TEST_P(SteamKindWithoutSteam, EndsTheAttemptWithAuthorisationFailed) {
    core->connectKind = GetParam();
    core->connection1->OnConnect();
    EXPECT_EQ(core->connection1, nullptr);
    auto* status = dynamic_cast<Status*>(core->windows.back());
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->name, "Veltor - Error");
    EXPECT_EQ(status->text, "Steam Authorisation Failed");
    EXPECT_TRUE(connection->SentPayloads().empty());
}

INSTANTIATE_TEST_SUITE_P(Protocol, SteamKindWithoutSteam, ::testing::Values(5u, 6u));

TEST_F(WithoutSteam, APurchaseIsSentAndWaitsWithoutFailing) {
    core->connection1->SendStorePurchase(30);
    core->Tick();
    EXPECT_NE(core->connection1->pending, nullptr);
    EXPECT_EQ(connection->SentOpcodes(1), std::vector<uint8_t>{225});
    core->CloseConnection(0);
    core->DeleteClosedConnections();
}

// A window of the store's type.
class Store : public Window {
public:
    explicit Store(Core* core) : Window(core) { typeId = WindowType::Store; }
};

struct NobleDaysCase {
    uint32_t before;
    uint32_t received;
    bool congratulated;
};

class NobleDays : public ::testing::TestWithParam<NobleDaysCase> {
protected:
    // One server message of the game state, as the frame dispatcher hands it over.
    void Receive(Protocol& connection, const std::vector<uint8_t>& message) {
        connection.inBuffer.Append(message.data(), int32_t(message.size()));
        connection.inBuffer.BeginFrame(int32_t(message.size()));
        connection.ParseGame();
        EXPECT_FALSE(connection.inBuffer.Failed());
        EXPECT_EQ(connection.inBuffer.GetRemaining(), 0);
        connection.inBuffer.EndFrame();
    }

    std::unique_ptr<Core> core = MakeTestCore();
};

TEST_P(NobleDays, AreStoredAndARiseIsCongratulated) {
    core->nobleDaysLeft = GetParam().before;
    Window* store = new Store(core.get());
    core->AddWindow(store);
    store->dirty = 0;
    Protocol connection(core.get(), 1);

    const uint32_t days = GetParam().received;
    Receive(connection,
            {225, uint8_t(days), uint8_t(days >> 8), uint8_t(days >> 16), uint8_t(days >> 24)});
    EXPECT_EQ(core->nobleDaysLeft, days);
    EXPECT_EQ(store->dirty, 1);
    auto* box = dynamic_cast<Message*>(core->windows.back());
    ASSERT_EQ(box != nullptr, GetParam().congratulated);
    if (box) {
        EXPECT_EQ(box->name, "Store");
        EXPECT_EQ(box->text, "Congratulations! You've purchased extra noble days.");
    }
}

INSTANTIATE_TEST_SUITE_P(Protocol, NobleDays,
                         ::testing::Values(NobleDaysCase{30, 120, true}, NobleDaysCase{0, 1, true},
                                           NobleDaysCase{30, 30, false},
                                           NobleDaysCase{30, 10, false},
                                           NobleDaysCase{0x10000, 0x10001, true}));

}  // namespace
