#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "creature.h"
#include "support/recordingconnection.h"
#include "support/spritedata.h"
#include "support/testcore.h"
#include "windows/game/console.h"
#include "windows/toolkit/input.h"

namespace {

constexpr uint32_t PersonShape = 200;  // the sample person (tools/datagen/sprites.py)

TEST(ConsoleTest, TheChatLineSendsTypingNotices) {
    std::unique_ptr<Core> core = MakeTestCore();
    core->shapes = LoadSpriteCase(core.get(), "sample").release();
    Creature player(core.get(), 1, PersonShape, 0, {}, Position{}, "Hero", 100, 100, 0);
    core->player = &player;
    RecordingConnection connection(core.get());
    auto* console = static_cast<Console*>(core->AddWindow(new Console(core.get())));
    auto* line = new Input(core.get(), console, 224);
    core->AddWindow(line);
    console->AttachChatLine(line);
    const auto type = [](Input* input, const std::string& keys) {
        for (char c : keys) input->OnChar(static_cast<unsigned char>(c));
    };

    type(line, "hi");
    EXPECT_EQ(connection.SentOpcodes(1), std::vector<uint8_t>{196});
    EXPECT_TRUE(player.typing);
    line->OnBackspace();
    line->OnBackspace();
    EXPECT_EQ(connection.SentOpcodes(2), (std::vector<uint8_t>{196, 197}));
    EXPECT_FALSE(player.typing);
    line->OnBackspace();
    line->SetText("again");
    line->Clear();
    line->OnDelete();
    EXPECT_EQ(connection.SentOpcodes(4), (std::vector<uint8_t>{196, 197, 196, 197}));

    // Other inputs never tell.
    auto* field = new Input(core.get(), console, 64, {10, 20, 150, 18}, 0, 0);
    core->AddWindow(field);
    type(field, "quiet");
    EXPECT_EQ(connection.SentOpcodes().size(), 4u);
    core->player = nullptr;
}

}  // namespace
