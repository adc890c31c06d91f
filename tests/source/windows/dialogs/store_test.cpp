// The noble-account store: the account state and days it shows, and a purchase, which sends
// exactly one request, points the player to the Steam overlay and closes the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "render.h"
#include "support/drawntext.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/dialogs/store.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"

namespace {

class StoreTest : public ::testing::Test {
protected:
    void TearDown() override { UseNullDriver(); }

    // The grey texts a repaint of the window draws.
    std::vector<std::string> PaintedTexts(Store* store) {
        RecordingDriver::Install();
        store->dirty = 1;
        GFX_BeginFrame(nullptr);
        store->Paint();
        GFX_EndFrame();
        return DrawnTextsIn(RecordingDriver::Take(), 0xE0E0E0E0);
    }
    static bool Has(const std::vector<std::string>& texts, const std::string& text) {
        return std::any_of(texts.begin(), texts.end(), [&](const std::string& drawn) {
            return (" " + drawn + " ").find(" " + text + " ") != std::string::npos;
        });
    }

    std::unique_ptr<Core> core = MakeTestCore();
};

TEST_F(StoreTest, ShowsTheStateAndTheDaysLeft) {
    auto* store = new Store(core.get());
    core->AddWindow(store);
    EXPECT_EQ(store->width, 316);
    EXPECT_EQ(store->height, 381);
    std::vector<std::string> texts = PaintedTexts(store);
    EXPECT_TRUE(Has(texts, "Expired")) << ::testing::PrintToString(texts);
    EXPECT_TRUE(Has(texts, "0 days")) << ::testing::PrintToString(texts);
    core->nobleDaysLeft = 1;
    texts = PaintedTexts(store);
    EXPECT_TRUE(Has(texts, "Active")) << ::testing::PrintToString(texts);
    EXPECT_TRUE(Has(texts, "1 day")) << ::testing::PrintToString(texts);
}

TEST_F(StoreTest, APurchaseSendsOneRequestAndCloses) {
    RecordingConnection connection(core.get());
    auto* store = new Store(core.get());
    core->AddWindow(store);
    Button* thirtyDays = store->FindButton(99);
    ASSERT_NE(thirtyDays, nullptr);
    store->OnCommand(thirtyDays);
    EXPECT_EQ(connection.SentPayloads(1),
              (std::vector<std::vector<uint8_t>>{{0xE1, 0x1E, 0x00, 0x00, 0x00}}));
    EXPECT_EQ(core->FindWindow(WindowType::Store), nullptr);
    auto* hint = dynamic_cast<Message*>(core->windows.back());
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->name, "Store");
    EXPECT_EQ(hint->text,
              "Your order has been requested. Please approve the order via the Steam overlay.\n"
              "If the Steam overlay does not appear, change your video driver to OpenGL.");
}

}  // namespace
