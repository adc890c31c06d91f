#include "windows/game/console.h"

#include <algorithm>

#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "windows/game/chatbox.h"
#include "windows/game/field.h"
#include "windows/game/padding.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t NormalHeight = 220;
constexpr int32_t ColumnWidth = 156;
// The side columns and the margins beside the game field's frame.
constexpr int32_t FrameExtra = 312;

// Typing marks the player as typing and tells the server; emptying the line ends it.
void SendTypingNotice(Core* core, const std::string& text) {
    Creature* player = core->player;
    if (!player || !core->activeConnection) return;
    if (!player->typing && !text.empty()) {
        player->typing = 1;
        player->StampTime();
        core->activeConnection->SendTyping(true);
    } else if (player->typing && text.empty()) {
        player->typing = 0;
        core->activeConnection->SendTyping(false);
    }
}

}  // namespace

Console::Console(Core* core) : Window(core) {
    typeId = WindowType::Console;
    if (core->options.widescreen) {
        x = ColumnWidth;
        width = 300;
        height = 200;
    } else {
        width = int32_t(core->clientWidth);
        height = NormalHeight;
        y = int32_t(core->clientHeight) - height;
    }
}

void Console::SetHeight(int32_t newHeight) {
    if (newHeight == height) return;
    height = newHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
}

void Console::Place(int32_t screenWidth, int32_t screenHeight) {
    const Options& options = core->options;
    if (options.widescreen) {
        y = options.chatbottom ? screenHeight - 209 : 0;
        x = options.panel ? ColumnWidth : 0;
        height = 199;
        width = std::min(screenWidth - (options.inventory ? ColumnWidth : 0) -
                             (options.panel ? ColumnWidth : 0) - 10,
                         1000);
        const auto* field = dynamic_cast<const Field*>(core->fieldWindow);
        if (options.widescale && field && field->padding) {
            x = std::max(x, field->padding->x);
            width = screenWidth - 2 * x - 10;
        }
    } else {
        const auto* field = dynamic_cast<const Field*>(core->fieldWindow);
        if (field && field->padding) width = field->padding->width + FrameExtra;
        x = (screenWidth - width) / 2;
        y = screenHeight - height;
    }
    PlaceChatLine();
    // The boxes follow at once: the field's layout may change the height within a frame.
    if (mainChatbox) mainChatbox->PlacePair();
}

void Console::OnOpen() {
    const bool wide = core->options.widescreen != 0;
    mainChatbox = new Chatbox(core, this, Chatbox::MainKind);
    core->chatBox = mainChatbox;
    if (!wide) {
        secondChatbox = new Chatbox(core, this, Chatbox::SecondKind);
        mainChatbox->partner = secondChatbox;
        secondChatbox->partner = mainChatbox;
    }
    core->AddWindow(mainChatbox);
    if (secondChatbox) {
        core->AddWindow(secondChatbox);
        secondChatbox->OpenChannel(ChannelId::Info, "Info", 0);
    }
    mainChatbox->OpenChannel(ChannelId::Main, "Main", 0);
    mainChatbox->FindChannel(ChannelId::Main)
        ->AddLine(255, 255, 255, 255, "Welcome to the world of Veltor!");
    mainChatbox->RestoreChannels();
    if (wide && mainChatbox->OpenChannel(ChannelId::Info, "Info", 0)) {
        Channel* info = mainChatbox->FindChannel(ChannelId::Info);
        info->noUnreadMark = 1;
        info->readOnly = 1;
    }
    mainChatbox->PlacePair();
}

Channel* Console::FindChannel(uint32_t id) {
    Channel* channel = mainChatbox ? mainChatbox->FindChannel(id) : nullptr;
    if (!channel && secondChatbox) channel = secondChatbox->FindChannel(id);
    return channel;
}

void Console::AttachChatLine(Input* line) {
    chatLine = line;
    line->onTextChanged = [](Input& changed) { SendTypingNotice(changed.core, changed.text); };
}

void Console::PlaceChatLine() {
    // The line may have left the window list (and been deleted) before the console.
    const auto& windows = core->windows;
    if (chatLine && std::find(windows.begin(), windows.end(), chatLine) != windows.end())
        chatLine->Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
}
