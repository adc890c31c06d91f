// Small game-state messages about windows, trading, the party, friends, quests and the end of
// the game. The windows they reach are looked up by type: the message is read whole either way.
#include <algorithm>
#include <string>

#include "converttext.h"
#include "core.h"
#include "creature.h"
#include "font.h"
#include "notification.h"
#include "protocol.h"
#include "windows/dialogs/book.h"
#include "windows/dialogs/brew.h"
#include "windows/dialogs/trade.h"
#include "windows/game/action.h"
#include "windows/game/channel.h"
#include "windows/game/console.h"
#include "windows/game/container.h"
#include "windows/game/paneltop.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"
#include "xtea.h"

namespace {

const uint8_t PartyChannel = 5;
// The notification kind that may take an automatic screenshot.
const uint8_t ScreenshotKind = 4;
const uint32_t ScreenshotDelay = 500;
const uint8_t SocialKind = 0;

// The title of a menu the server opens: the other player's name, a grey bullet and the subject
// in its colour.
std::string ServerMenuTitle(const std::string& name, const std::string& subjectColour,
                            const std::string& subject) {
    return name + MakeColorCode(192, 192, 192, 192) + " \x95 " + subjectColour + subject;
}

// A menu the server opens stays until chosen or until its time ends, centred high on the client.
void OpenServerMenu(Core* core, Action* menu) {
    menu->keepOpen = 1;
    menu->centred = 1;
    menu->Open(int32_t(core->clientWidth / 2), int32_t(core->clientHeight / 4));
    core->AddWindow(menu);
}

void Notify(Core* core, const std::string& text) {
    if (core->world && core->world->notification) core->world->notification->Add(SocialKind, text);
}

}  // namespace

void Protocol::ReadAndIgnore(std::initializer_list<Field> fields) {
    for (Field field : fields) {
        switch (field) {
            case FieldU8: inBuffer.GetByte(); break;
            case FieldU16: inBuffer.GetU16(); break;
            case FieldU32: inBuffer.GetU32(); break;
            case FieldStr8: inBuffer.GetString(); break;
            case FieldStrVar: inBuffer.GetStringVar(); break;
        }
    }
}

void Protocol::CloseSplit() {
    if (Window* split = core->FindWindow(WindowType::Split)) split->Close();
}

void Protocol::died() { core->OnDisconnect("You died."); }

void Protocol::open_book() {
    const uint32_t bookId = inBuffer.GetU32();
    uint32_t words[4];
    for (uint32_t& word : words) word = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    uint8_t key[XteaKeySize];
    XteaKeyFromWords(words, key);
    Book::Open(core, bookId, key);
}

void Protocol::container_closed() {
    const uint8_t number = inBuffer.GetByte();
    if (inBuffer.Failed()) return;
    if (Container* container = core->FindContainerWindow(number)) {
        if (container->panel) container->panel->Close(container, true);
        else if (container->state == 1) container->state = 2;
    }
    if (core->FindWindow(WindowType::Split) && core->useItemX == 0xFFFF && core->useItemY == number)
        CloseSplit();
}

void Protocol::trade_opened() {
    const std::string partner = inBuffer.GetString();
    if (inBuffer.Failed()) return;
    if (Window* open = core->FindWindow(WindowType::Trade)) core->RemoveWindow(open);
    core->AddWindow(new Trade(core, partner));
}

void Protocol::trade_request() {
    const uint32_t id = inBuffer.GetU32();
    const Creature* creature = core->world ? core->world->GetCreature(id) : nullptr;
    if (inBuffer.Failed() || !creature) return;
    Notify(core, creature->name + " wants to trade with you.");
    auto* menu =
        new Action(core, nullptr,
                   ServerMenuTitle(creature->name, MakeColorCode(170, 224, 170, 224), "Trade"), id);
    menu->AddEntry(ActionCode::StartTrading, "Start trading");
    menu->AddEntry(ActionCode::RejectTrade, "Reject trade");
    OpenServerMenu(core, menu);
}

void Protocol::trade_accepted() {
    if (auto* trade = dynamic_cast<Trade*>(core->FindWindow(WindowType::Trade)))
        trade->partnerAccepted = 1;
}

void Protocol::trade_ended() { RemoveWindowAndSplit(WindowType::Trade); }

// A second open message replaces the window of its kind, as the trade, the bank and the shop do:
// the container and close messages reach one window only.
void Protocol::brew_opened() {
    if (Window* open = core->FindWindow(WindowType::Brew)) core->RemoveWindow(open);
    core->AddWindow(new Brew(core));
}

void Protocol::craft_opened() {
    if (Window* open = core->FindWindow(WindowType::Craft)) core->RemoveWindow(open);
    core->AddWindow(new Craft(core));
}

void Protocol::brew_closed() { RemoveWindowAndSplit(WindowType::Brew); }
void Protocol::craft_closed() { RemoveWindowAndSplit(WindowType::Craft); }

void Protocol::RemoveWindowAndSplit(uint32_t type) {
    Window* open = core->FindWindow(type);
    if (!open) return;
    core->RemoveWindow(open);
    CloseSplit();
}

void Protocol::notification_line() {
    const uint8_t lineKind = inBuffer.GetByte();
    std::string text = inBuffer.GetStringVar();
    if (inBuffer.Failed()) return;
    ConvertText(text);
    if (core->world) core->world->notification->Add(lineKind, text);
    if (lineKind == ScreenshotKind) ScheduleScreenshot();
}

void Protocol::ScheduleScreenshot() {
    if (!core->options.autoscreen || core->screenshotPending || core->screenshotBusy) return;
    core->SetScreenshotDeadline(ScreenshotDelay);
    core->screenshotPending = 1;
}

void Protocol::rename() {
    const std::string oldName = inBuffer.GetString();
    const std::string newName = inBuffer.GetString();
    if (inBuffer.Failed()) return;
    core->RenameFriend(oldName, newName);
    core->RenamePartyMember(oldName, newName);
    core->RenameHouseGuest(oldName, newName);
    core->RenameMuted(oldName, newName);
}

void Protocol::use_with_mode() {
    core->inputModes[InputUseWith] = 1;
    core->inputModes[InputDragArmed] = 1;
    core->SetCursor(1);
}

void Protocol::bank_balance() {
    const uint32_t balance = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    core->bankBalance = balance;
    core->MarkWindowsDirty(WindowType::Bank);
    UpdateHouseWarning(*core);
}

void Protocol::rental_closed() { core->CloseWindowOfType(WindowType::Rental); }

void Protocol::auction_text() {
    const std::string text = inBuffer.GetString();
    if (!inBuffer.Failed()) core->ShowMessage("Auction", text, 0);
}

void Protocol::look_refused() {
    if (!pendingLooks.empty()) pendingLooks.pop_front();
}

void Protocol::open_refused() {
    if (!pendingOpens.empty()) pendingOpens.pop_front();
}

void Protocol::party_invite() {
    const uint32_t id = inBuffer.GetU32();
    const std::string name = inBuffer.GetString();
    if (inBuffer.Failed()) return;
    Notify(core, name + " invites you to a party.");
    auto* menu = new Action(core, nullptr,
                            ServerMenuTitle(name, MakeColorCode(128, 245, 128, 192), "Party"), id);
    menu->AddEntry(ActionCode::AcceptAndJoin, "Accept & join");
    menu->AddEntry(ActionCode::RejectInvitation, "Reject invitation");
    OpenServerMenu(core, menu);
    core->AddPartyInvite(id, name);
}

void Protocol::party_invite_withdrawn() { core->RemovePartyInvite(inBuffer.GetU32()); }

void Protocol::party_disbanded() {
    core->ClearParty();
    if (Window* list = core->FindWindow(WindowType::Partylist)) list->Close();
    auto* console = dynamic_cast<Console*>(core->consoleWindow);
    if (Channel* channel = console ? console->FindChannel(PartyChannel) : nullptr)
        channel->AddLine(170, 224, 170, 224, "The party has been disbanded.");
}

void Protocol::party_member_status() {
    const uint32_t id = inBuffer.GetU32();
    const uint8_t first = inBuffer.GetByte();
    const uint8_t second = inBuffer.GetByte();
    if (inBuffer.Failed()) return;
    core->OnDeath(id, first, second);
    core->MarkWindowsDirty(WindowType::Partylist);
}

void Protocol::quest_progress() {
    const uint16_t count = inBuffer.GetU16();
    for (uint16_t i = 0; i < count && !inBuffer.Failed(); ++i) {
        const uint32_t key = inBuffer.GetU32();
        const uint32_t value = inBuffer.GetU32();
        if (!inBuffer.Failed()) core->SetQuestProgress(key, value);
    }
    core->ReloadQuests();
    core->UpdateQuestMarkers();
}

// A stage of 0 ends the quest. Any other stage selects the quest's own journal record for the
// next journal, and the status panel's journal button lights up unless the quest's progress
// towards its goal goes on.
void Protocol::quest_update() {
    const uint16_t id = inBuffer.GetU16();
    const uint16_t stage = inBuffer.GetU16();
    const uint32_t value = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    const auto progressOpen = [this, id] {
        const QuestRecord quest = core->FindQuest(id);
        return !quest.lines.empty() && quest.lines.back().ProgressOpen();
    };
    const bool wasOpen = progressOpen();
    const uint32_t key = uint32_t(stage) << 16 | id;
    core->SetQuestProgress(key, value);
    core->LoadQuest(key, value);
    core->UpdateQuestMarkers();
    if (stage == 0) return;

    const bool stillOpen = wasOpen && progressOpen();
    const auto own = std::find_if(core->quests.rbegin(), core->quests.rend(),
                                  [id](const QuestRecord& record) { return record.questId == id; });
    if (own != core->quests.rend()) {
        core->journalFilter = 0;
        core->journalSelection = own->title;
    }
    if (stillOpen) return;
    if (auto* status = dynamic_cast<Paneltop*>(core->paneltopWindow)) status->journalNew = 1;
}

void Protocol::friend_update() {
    const uint32_t id = inBuffer.GetU32();
    const uint8_t state = inBuffer.GetByte();
    const uint8_t second = inBuffer.GetByte();
    const std::string name = inBuffer.GetString();
    if (!inBuffer.Failed()) core->UpdateFriend(id, state, second, name);
}

void Protocol::friend_removed() { core->RemoveFriend(inBuffer.GetU32()); }

void Protocol::party_ignored() { ReadAndIgnore({FieldU32}); }

void Protocol::marker_ignored() { ReadAndIgnore({FieldU8, FieldU8, FieldU8, FieldStrVar}); }
