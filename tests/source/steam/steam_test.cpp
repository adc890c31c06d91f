// The client's Steam module against the stand-in Steam library beside this test program.
#include "steam.h"

#include <gtest/gtest.h>

#include "support/steamscript.h"

namespace {

// Counts the answers handed to it.
class Listener : public SteamCallbackBase {
public:
    void Run(void*) override { ++runs; }
    int32_t GetCallbackSizeBytes() override { return int32_t(sizeof(SteamPurchaseAnswer)); }
    int runs = 0;
};

class SteamModule : public ::testing::Test {
protected:
    void TearDown() override { Steam::Shutdown(); }
};

TEST_F(SteamModule, StartsTheLibraryAndReachesTheUserInterface) {
    SteamScript script("init 1\nsteam_id 12345\n");
    ASSERT_TRUE(Steam::Start());
    EXPECT_TRUE(Steam::Start()) << "started once";
    SteamUser* user = Steam::User();
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->GetSteamID(), 12345u);
    Steam::Shutdown();
    EXPECT_EQ(Steam::User(), nullptr);
    EXPECT_EQ(script.Log(), (std::vector<std::string>{"SteamAPI_Init 1",
                                                      "SteamInternal_FindOrCreateUserInterface " +
                                                          std::string(SteamUserVersion),
                                                      "GetSteamID", "SteamAPI_Shutdown"}));
}

// The user interface belongs to the library that was loaded when it was asked for.
TEST_F(SteamModule, AStartAfterAShutdownAsksForTheInterfaceAnew) {
    SteamScript script("init 1\nsteam_id 5\n");
    ASSERT_TRUE(Steam::Start());
    ASSERT_NE(Steam::User(), nullptr);
    Steam::Shutdown();
    ASSERT_TRUE(Steam::Start());
    SteamUser* user = Steam::User();
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->GetSteamID(), 5u);
    EXPECT_EQ(script.Count("SteamInternal_FindOrCreateUserInterface SteamUser023"), 2);
}

TEST_F(SteamModule, AFailedInitIsSteamNotRunning) {
    SteamScript script("init 0\n");
    EXPECT_FALSE(Steam::Start());
    EXPECT_EQ(Steam::User(), nullptr);
    Listener listener;
    EXPECT_FALSE(Steam::Register(&listener, SteamPurchaseAnswer::CallbackId));
    Steam::RunCallbacks();
    Steam::Unregister(&listener);
    Steam::Shutdown();
    EXPECT_EQ(script.Log(), (std::vector<std::string>{"SteamAPI_Init 0", "SteamAPI_Shutdown"}));
}

TEST_F(SteamModule, RegisteredCallbacksGetTheAnswersOfTheirIdUntilUnregistered) {
    SteamScript script("init 1\npurchase 3 1\n");
    ASSERT_TRUE(Steam::Start());
    Listener purchase, other;
    ASSERT_TRUE(Steam::Register(&purchase, SteamPurchaseAnswer::CallbackId));
    ASSERT_TRUE(Steam::Register(&other, SteamTicketAnswer::CallbackId));
    Steam::RunCallbacks();
    EXPECT_EQ(purchase.runs, 1);
    EXPECT_EQ(other.runs, 0);
    Steam::Unregister(&purchase);
    script.Rewrite("init 1\npurchase 4 1\n");
    Steam::RunCallbacks();
    EXPECT_EQ(purchase.runs, 1);
}

}  // namespace
