// The party and friend-list messages of the game state: the members of the party with their
// window and channel, and the whole friend list.
#include <algorithm>
#include <string>

#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/friendlist.h"
#include "windows/game/paneltop.h"
#include "windows/game/partylist.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint8_t PartyKind = 0;

Console* GameConsole(Core* core) { return dynamic_cast<Console*>(core->consoleWindow); }

Channel* PartyChannel(Core* core) {
    Console* console = GameConsole(core);
    return console ? console->FindChannel(ChannelId::Party) : nullptr;
}

void AddPartyLine(Core* core, const std::string& text) {
    if (Channel* party = PartyChannel(core)) party->AddLine(170, 224, 170, 224, text);
}

bool IsPlayer(Core* core, uint32_t id) { return core->player && core->player->id == id; }

// A member already listed takes the new record's name and values instead of a second row.
void AddOrUpdateMember(Core* core, uint32_t id, const std::string& name, uint8_t first,
                       uint8_t second) {
    core->RemovePartyInvite(id);
    auto listed = std::find_if(core->party.begin(), core->party.end(),
                               [id](const PartyMember& member) { return member.id == id; });
    if (listed == core->party.end()) {
        core->AddPartyMember(id, name, first, second);
        return;
    }
    listed->name = name;
    listed->first = first;
    listed->second = second;
}

// Reads a member record (id, the two values, name) and lists the member; false, listing
// nothing, when the message ends first.
bool ReadMember(Core* core, NetBuffer& in, PartyMember& member) {
    member.id = in.GetU32();
    member.first = in.GetByte();
    member.second = in.GetByte();
    member.name = in.GetString();
    if (in.Failed()) return false;
    AddOrUpdateMember(core, member.id, member.name, member.first, member.second);
    return true;
}

// "Bob", "Bob and Carl", "Bob, Carl and Dan": the k-th of the other names, joined.
std::string JoinOtherName(const std::string& name, size_t k, size_t count) {
    if (count <= 2 || k == count - 1) return name;
    return name + (k == count - 2 ? " and " : ", ");
}

}  // namespace

void Protocol::party_started() {
    const uint8_t count = inBuffer.GetByte();
    std::string text = count == 2 ? "You've started a party with " : "You've joined the party of ";
    size_t others = 0;
    for (uint8_t i = 0; i < count; ++i) {
        PartyMember member{};
        if (!ReadMember(core, inBuffer, member)) return;
        if (!IsPlayer(core, member.id)) text += JoinOtherName(member.name, ++others, count);
    }
    text += ".";

    Console* console = GameConsole(core);
    auto* column = dynamic_cast<Panel*>(core->rightPanel);
    if (!console || !column) return;
    if (Window* shown = core->FindWindow(WindowType::Partylist)) shown->Refresh();
    else column->Add(new Partylist(core, column));
    if (console->mainChatbox) console->mainChatbox->OpenPartyChannel(int32_t(ChannelId::Party));
    AddPartyLine(core, text);
}

void Protocol::party_leader() {
    const uint32_t id = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    const PartyMember member = core->FindPartyMember(id);
    core->SetPartyLeader(id);
    core->MarkWindowsDirty(WindowType::Partylist);
    AddPartyLine(core, member.name + " is now the party leader.");
    if (IsPlayer(core, id)) core->AddNotification(PartyKind, "You are now the party leader.");
}

void Protocol::party_invited() {
    inBuffer.GetU32();
    const std::string name = inBuffer.GetString();
    if (inBuffer.Failed()) return;
    std::string text;
    if (core->FindWindow(WindowType::Partylist)) {
        if (!core->party.empty() && IsPlayer(core, core->party.front().id))
            text = "You've invited " + name + " to join the party.";
        AddPartyLine(core, name + " is invited to join the party.");
    } else {
        text = "You've offered " + name + " to start a party.";
    }
    if (!text.empty()) core->AddNotification(PartyKind, text);
}

void Protocol::party_joined() {
    PartyMember member{};
    if (!ReadMember(core, inBuffer, member)) return;
    core->MarkWindowsDirty(WindowType::Partylist);
    AddPartyLine(core, member.name + " has joined the party.");
}

void Protocol::party_left() {
    const uint32_t id = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    const PartyMember member = core->FindPartyMember(id);
    core->RemovePartyMember(id);
    core->MarkWindowsDirty(WindowType::Partylist);
    if (member.first != 0) AddPartyLine(core, member.name + " has left the party.");
}

void Protocol::friend_list() {
    inBuffer.GetByte();
    const uint8_t count = inBuffer.GetByte();
    std::vector<FriendRecord> records;
    for (uint8_t i = 0; i < count; ++i) {
        FriendRecord record{};
        record.id = inBuffer.GetU32();
        record.state = inBuffer.GetByte();
        record.second = inBuffer.GetByte();
        record.text = inBuffer.GetString();
        record.name = inBuffer.GetString();
        if (inBuffer.Failed()) return;
        const auto& foes = core->foes;
        record.foe = std::find(foes.begin(), foes.end(), record.name) != foes.end() ? 1 : 0;
        records.push_back(std::move(record));
    }
    // Byte order, unsigned: std::string compares its chars as unsigned.
    std::stable_sort(records.begin(), records.end(),
                     [](const FriendRecord& a, const FriendRecord& b) { return a.name < b.name; });
    core->friends = std::move(records);
    if (core->paneltopWindow) core->paneltopWindow->Refresh();
    if (auto* list = dynamic_cast<Friendlist*>(core->FindWindow(WindowType::Friendlist))) {
        list->UpdateScroll();
        list->Refresh();
    }
}
