// The game state's chat, speech and friend messages: lines for the console's channels, speech
// texts over the game field, private conversations and the answers to friend requests.
#include <algorithm>

#include "converttext.h"
#include "core.h"
#include "creature.h"
#include "notification.h"
#include "paragraph.h"
#include "paragraphs.h"
#include "protocol.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/friendlist.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// Server text in the client's encoding, carrying no drawing marks: the bytes that start a colour
// escape or a smiley mark become "?".
std::string ServerText(std::string text) {
    ConvertText(text);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\0' || c == '\x01'; }, '?');
    return text;
}

// A speaker's name becomes a tab caption, a folder name and a settings value: no control bytes.
std::string ServerName(std::string name) {
    ConvertText(name);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, '?');
    return name;
}

Console* ConsoleOf(Core* core) { return dynamic_cast<Console*>(core->consoleWindow); }

}  // namespace

void Protocol::speech() {
    const uint32_t id = inBuffer.GetU32();
    const std::string text = ServerText(inBuffer.GetStringVar());
    if (inBuffer.Failed()) return;
    Creature* speaker = FindCreature(id);
    if (!speaker || core->IsMuted(speaker->name)) return;
    if (Console* console = ConsoleOf(core))
        if (Chatbox* box = console->mainChatbox)
            if (Channel* main = box->FindChannel(ChannelId::Main))
                main->AddNamedLine(speaker, text);
    if (core->world->paragraphs) core->world->paragraphs->Add(text, speaker);
}

void Protocol::private_message() {
    const std::string name = ServerName(inBuffer.GetString());
    const std::string text = ServerText(inBuffer.GetStringVar());
    if (inBuffer.Failed() || core->IsMuted(name)) return;
    Console* console = ConsoleOf(core);
    Chatbox* box = console ? console->mainChatbox : nullptr;
    if (!box) return;
    Channel* page = box->FindChannelByIdAndName(ChannelId::Private, name);
    if (!page) {
        box->OpenChannel(ChannelId::Private, name, 1);
        page = box->FindChannelByIdAndName(ChannelId::Private, name);
        if (core->world && core->world->notification)
            core->world->notification->Add(0, "There's a personal message from " + name + ".");
    }
    if (page) page->AddSpeakerText(name, text);
}

void Protocol::speech_kind() {
    const uint32_t id = inBuffer.GetU32();
    const uint8_t kind = inBuffer.GetByte();
    const std::string text = ServerText(inBuffer.GetStringVar());
    if (inBuffer.Failed()) return;
    Creature* speaker = FindCreature(id);
    if (!speaker || !core->world->paragraphs) return;
    if (core->player && core->player->position.z != speaker->position.z) return;
    core->world->paragraphs->Push(new Paragraph(core, speaker, kind, text));
}

void Protocol::channel_message() {
    const uint8_t channel = inBuffer.GetByte();
    const std::string name = ServerName(inBuffer.GetString());
    const std::string text = ServerText(inBuffer.GetStringVar());
    if (inBuffer.Failed() || core->IsMuted(name)) return;
    Console* console = ConsoleOf(core);
    if (Channel* page = console ? console->FindChannel(channel) : nullptr)
        page->AddSpeakerText(name, text);
}

// The answer to the oldest friend request.
void Protocol::friend_added() {
    const uint32_t id = inBuffer.GetU32();
    const uint8_t status = inBuffer.GetByte();
    if (inBuffer.Failed() || pendingFriends.empty()) return;
    const std::string name = pendingFriends.front();
    const uint8_t group = pendingFriendGroups.empty() ? 0 : pendingFriendGroups.front();
    const std::string note = pendingFriendNotes.empty() ? "" : pendingFriendNotes.front();
    const auto& foes = core->foes;
    const uint8_t foe = std::find(foes.begin(), foes.end(), name) != foes.end();
    core->AddFriend({id, status, name, group, note, foe});
    if (auto* list = dynamic_cast<Friendlist*>(core->FindWindow(WindowType::Friendlist))) {
        list->dirty = 1;
        list->UpdateScroll();
    }
    core->ShowMessage(core->FriendsTitle(),
                      name + (foes.empty() ? " is added to your friends list."
                                           : " is added to your friends & foes list."),
                      0);
    pendingFriends.pop_front();
    if (!pendingFriendGroups.empty()) pendingFriendGroups.pop_front();
    if (!pendingFriendNotes.empty()) pendingFriendNotes.pop_front();
}
