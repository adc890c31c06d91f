// What the console does with its chat line: sending what was typed, the recalled lines and the
// cleaning and mangling of a line on its way out.
#include <algorithm>
#include <string>

#include "core.h"
#include "creature.h"
#include "gamelists.h"
#include "paragraphs.h"
#include "platform.h"
#include "protocol.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/input.h"
#include "world.h"

namespace {

constexpr uint8_t RefusalKind = 2;
constexpr char CommandMark = '!', PageMark = '#';
// A drunk player's words of direction turn into their opposites.
constexpr const char* Opposites[][2] = {
    {"left", "right"}, {"up", "down"}, {"north", "south"}, {"east", "west"}};
// Words of up to this length are never shuffled.
constexpr size_t ShortWord = 3;
constexpr int HiccupChance = 5, LoveChance = 50, MinWordsForHiccup = 5;

// The opposite of a word of direction, or null.
const char* OppositeOf(const std::string& word) {
    for (const auto& pair : Opposites) {
        if (word == pair[0]) return pair[1];
        if (word == pair[1]) return pair[0];
    }
    return nullptr;
}

// Swaps a word of direction, or shuffles the inner bytes of a longer word.
void MangleWord(std::string& text, size_t begin, size_t length) {
    if (const char* opposite = OppositeOf(text.substr(begin, length))) {
        text.replace(begin, length, opposite);
        return;
    }
    if (length <= ShortWord) return;
    const size_t inner = length - 2;
    for (size_t k = 0; k < inner; ++k) {
        const size_t from = begin + 1 + k;
        const char moved = text[from];
        text.erase(from, 1);
        text.insert(begin + 1 + size_t(Random()) % inner, 1, moved);
    }
}

}  // namespace

void Console::OnSubmit() {
    if (!chatLine) return;
    std::string text = chatLine->text;
    if (text.empty()) return;
    if (history.empty() || history.back() != text) history.push_back(text);
    if (history.size() > MaxHistory) history.erase(history.begin());
    historyIndex = 0;

    NormaliseText(text);
    Protocol* connection = core->activeConnection;
    Creature* player = core->player;
    if (text.empty()) {
        // Nothing to send.
    } else if (text[0] == PageMark) {
        const std::string pageName = text.substr(1);
        if (!pageName.empty() && mainChatbox) {
            if (mainChatbox->FindChannelByName(pageName))
                core->AddNotification(RefusalKind,
                                      "There is already a channel with " + pageName + ".");
            else mainChatbox->OpenChannel(ChannelId::Private, pageName, 1);
        }
    } else {
        if (core->IsStatusActive(StatusDrunk)) DrunkFilter(text);
        Channel* current = mainChatbox ? mainChatbox->current : nullptr;
        if (current && !current->readOnly) {
            const uint32_t id = current->id;
            const bool command = id == ChannelId::Console && player && player->isPrivileged() &&
                                 text[0] == CommandMark;
            if (id < ChannelId::Private) {
                if (!command && connection) connection->SendTalk(uint8_t(id), text);
                const bool spoken = id == ChannelId::Main || id == ChannelId::Npc;
                if (spoken && player && core->world && core->world->paragraphs)
                    core->world->paragraphs->Add(text, player);
            } else if (connection) {
                connection->SendPrivateMessage(current->name, text);
            }
            ShowOwnLine(id, text);
            if (command) RunCommand(text);
        }
    }

    chatLine->Clear();
    if (!player) return;
    player->typing = 0;
    if (connection) connection->SendTyping(false);
}

void Console::ShowOwnLine(uint32_t channelId, const std::string& text) {
    if (!core->player || !mainChatbox) return;
    const std::string& speaker = core->player->name;
    if (channelId != ChannelId::Npc) {
        mainChatbox->AddSpeakerTextToCurrent(speaker, text);
    } else if (Channel* main = mainChatbox->FindChannel(ChannelId::Main)) {
        main->AddSpeakerText(speaker, text);
    }
}

std::string Console::HistoryOlder() {
    if (history.empty()) return "";
    historyIndex = std::min<int32_t>(int32_t(history.size()), historyIndex + 1);
    return history[history.size() - size_t(historyIndex)];
}

std::string Console::HistoryNewer() {
    if (history.empty()) return "";
    if (historyIndex < 2) {
        historyIndex = 0;
        return "";
    }
    historyIndex = std::max(1, historyIndex - 1);
    return history[history.size() - size_t(historyIndex)];
}

void Console::NormaliseText(std::string& text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < ' ') c = ' ';
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    for (size_t pair = text.find("  "); pair != std::string::npos; pair = text.find("  "))
        text.erase(pair, 1);
}

void Console::DrunkFilter(std::string& text) {
    // Walked from the end, so that a changed word never moves the bytes still to be walked.
    int words = 0;
    size_t length = 0;
    for (size_t i = text.size(); i-- > 0;) {
        const bool last = i + 1 == text.size();
        if ((text[i] != ' ' && i != 0) || last) {
            ++length;
            continue;
        }
        ++words;
        size_t begin = i + 1;
        if (text[i] != ' ') {
            begin = i;
            ++length;
        }
        if (Random() % 2 == 0) MangleWord(text, begin, length);
        length = 0;
    }
    if (words >= MinWordsForHiccup && Random() % HiccupChance == 0) {
        const int target = words - 1 - Random() % (words - 2);
        int spaces = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ' ' && ++spaces == target) {
                text.insert(i, " *hiccup*");
                return;
            }
        }
    }
    if (Random() % LoveChance == 0) text += " *hiccup* I love you!";
}
