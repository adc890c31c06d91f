// What the rows of the popup menu do: Action::Execute carries out the action code of the chosen
// row, whichever window opened the menu. Codes that need a window, a creature, the player or a
// connection do nothing while it is missing.
#include <cstdint>
#include <string>

#include "core.h"
#include "creature.h"
#include "item.h"
#include "itemplace.h"
#include "mapdriver.h"
#include "mappage.h"
#include "mappart.h"
#include "notification.h"
#include "paragraphs.h"
#include "platform.h"
#include "protocol.h"
#include "spell.h"
#include "windows/dialogs/character.h"
#include "windows/dialogs/friendpop.h"
#include "windows/dialogs/guildpop.h"
#include "windows/dialogs/ignored.h"
#include "windows/dialogs/map.h"
#include "windows/dialogs/marker.h"
#include "windows/dialogs/outfit.h"
#include "windows/dialogs/partypop.h"
#include "windows/dialogs/questlog.h"
#include "windows/dialogs/shop.h"
#include "windows/game/action.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/friendlist.h"
#include "windows/game/spellbar.h"
#include "windows/guide/help.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/panellist.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

using ItemPlace::BankSlot;
using ItemPlace::ContainerSlot;
using ItemPlace::EquipmentSlot;
using ItemPlace::ShopSlot;

// The status panel's option bytes, one per code from ToggleConnection to ToggleReport.
constexpr uint8_t Options::*StatusPanelOptions[] = {
    &Options::mping,    &Options::beta_mcap, &Options::beta_mpool, &Options::mchar,
    &Options::mjournal, &Options::mhouse,    &Options::mstore,     &Options::mfriends,
    &Options::msetting, &Options::mguide,    &Options::mreprt};
static_assert(sizeof StatusPanelOptions / sizeof *StatusPanelOptions ==
              ActionCode::ToggleReport - ActionCode::ToggleConnection + 1);

const char* const Greetings[] = {"Hi", "Hello", "Hey", "Heya", "Greetings"};
constexpr int GreetingCount = sizeof Greetings / sizeof *Greetings;

// The look of "Mark my location".
constexpr uint8_t LocationMarkerIcon = 22;
// "Mark my location" puts the marker's point this far above the player's.
constexpr float LocationMarkerRise = 4.0f;
// The pending-open kind that places the container window the server opens on the field.
constexpr uint8_t FieldPlacement = 255;
// The held item "Buy item" drops into the equipment slot 2, which buys it.
constexpr uint8_t BuySlot = 2;
constexpr uint8_t InfoKind = 0;
constexpr uint32_t UseWithCursor = 1;

void Flip(uint8_t& option) { option = option ? 0 : 1; }

template <typename W>
W* Find(Core* core, uint32_t type) {
    return dynamic_cast<W*>(core->FindWindow(type));
}

// Opens a window of the class unless a window of its type is open.
template <typename W>
void OpenIfAbsent(Core* core, uint32_t type, bool callOnOpen) {
    if (core->FindWindow(type)) return;
    Window* window = core->AddWindow(new W(core));
    if (callOnOpen) window->OnOpen();
}

Chatbox* MainChatbox(Core* core) {
    const auto* console = dynamic_cast<const Console*>(core->consoleWindow);
    return console ? console->mainChatbox : nullptr;
}

// A private conversation with the name in the main chat box, opened unless a channel of that
// name is, and brought forward.
void OpenPrivateChannel(Core* core, const std::string& name) {
    Chatbox* chat = MainChatbox(core);
    if (!chat) return;
    chat->OpenChannel(ChannelId::Private, name, 1);
    chat->SelectChannel(chat->FindChannelByIdAndName(ChannelId::Private, name));
}

// The answer's tooltip opens where the menu was, not where the pointer went since: the look the
// request just queued takes the menu's position.
void PlaceLookAtMenu(Protocol& connection, size_t looksBefore, const Action& menu) {
    if (connection.pendingLooks.size() > looksBefore)
        connection.pendingLooks.back() = {menu.x, menu.y};
}

// The codes that only send a request made of the menu's title or context.
void SendRequest(Protocol& connection, const Action& menu, uint32_t code) {
    const uint32_t id = menu.context;
    const std::string& name = menu.title;
    switch (code) {
        case ActionCode::StackContainer:
            // Not for a container that closed while its menu was open.
            if (menu.core->FindContainerWindow(uint8_t(id)))
                connection.SendContainerStack(uint8_t(id));
            break;
        case ActionCode::RemoveFriend: connection.SendFriendRemove(id); break;
        case ActionCode::AddToFriendlist: connection.SendFriendAdd(name, 0, ""); break;
        case ActionCode::InviteToParty: connection.SendPartyInviteName(name); break;
        case ActionCode::PartyWith: connection.SendPartyInvite(id); break;
        case ActionCode::AcceptInvite:
        case ActionCode::AcceptAndJoin: connection.SendPartyAccept(id); break;
        case ActionCode::RejectInvitation: connection.SendPartyReject(id); break;
        case ActionCode::MakePartyLeader: connection.SendPartyLeader(id); break;
        case ActionCode::ExpelFromParty: connection.SendPartyExpel(id); break;
        case ActionCode::StartTrading: connection.SendTradeRequest(id); break;
        case ActionCode::UninviteFromGuild: connection.SendGuildUninvite(name); break;
        case ActionCode::JoinGuild: connection.SendGuildJoin(id); break;
        case ActionCode::RejectGuildInvite: connection.SendGuildReject(id); break;
        case ActionCode::LeaveGuild: connection.SendGuildMembership(id, 1); break;
        case ActionCode::PatronGuild: connection.SendGuildMembership(id, 2); break;
        case ActionCode::UnpatronGuild: connection.SendGuildMembership(id, 3); break;
        case ActionCode::KickFromGuild: connection.SendGuildKick(name); break;
        case ActionCode::TransferLeadership: connection.SendGuildLeadership(name); break;
        default: break;
    }
}

// --- The creature of the menu's context -----------------------------------------------------

void ToggleFollow(Core* core, Creature* player, Creature* creature) {
    if (core->followTarget == creature) {
        core->followTarget = nullptr;
        player->followingPath = 0;
        return;
    }
    core->followTarget = creature;
    creature->selectedAt = core->frameTimeMs;
    // Following ends the attack.
    if (core->targets.empty()) return;
    core->SelectTarget(0, nullptr);
    if (core->activeConnection) core->activeConnection->SendTarget(0, 0);
}

void ExamineCreature(const Action& menu, const Creature& creature) {
    Protocol* connection = menu.core->activeConnection;
    if (!connection) return;
    const size_t looks = connection->pendingLooks.size();
    connection->SendLookCreature(creature.id);
    PlaceLookAtMenu(*connection, looks, menu);
}

// A greeting said by the player: one of twenty texts, with or without the name and "!".
void StartTalking(Core* core, const std::string& name) {
    Creature* player = core->player;
    if (!player) return;
    std::string text = Greetings[Random() % GreetingCount];
    if (Random() % 2 == 0) text += " " + name;
    if (Random() % 2 == 0) text += "!";
    if (Chatbox* chat = MainChatbox(core))
        if (Channel* main = chat->FindChannel(ChannelId::Main))
            main->AddSpeakerText(player->name, text);
    if (core->world && core->world->paragraphs) core->world->paragraphs->Add(text, player);
    if (core->activeConnection) core->activeConnection->SendTalk(ChannelId::Main, text);
}

// --- The held item (Core::dragTo at Core's use-item position) ---------------------------------

// Open and Use name the bank, equipment and container slots as slots and every other place as a
// field position; Examine names the shop's slots as slots too.
bool OpenedAsSlot(uint16_t x) { return x == BankSlot || x == EquipmentSlot || x == ContainerSlot; }
bool ExaminedAsSlot(uint16_t x) { return OpenedAsSlot(x) || x == ShopSlot; }

uint16_t HeldShapeId(const Core* core) {
    return uint16_t(static_cast<const Item*>(core->dragTo)->shapeId);
}

void OpenHeldItem(const Action& menu, Protocol& connection) {
    Core* core = menu.core;
    uint8_t kind = FieldPlacement;
    if (OpenedAsSlot(core->useItemX)) {
        connection.SendOpenSlotItem(uint8_t(core->useItemY), core->useItemZ, HeldShapeId(core));
        kind = uint8_t(menu.context);
    } else if (core->player) {
        connection.SendOpenMapItem(core->useItemX, core->useItemY, core->useItemIndex,
                                   HeldShapeId(core));
    } else {
        return;  // nothing was asked for, so no window waits for a place
    }
    connection.pendingOpens.push_back({uint16_t(menu.x), uint16_t(menu.y), kind});
}

void UseHeldItem(const Core* core, Protocol& connection) {
    if (OpenedAsSlot(core->useItemX))
        connection.SendUseSlotItem(uint8_t(core->useItemY), core->useItemZ, HeldShapeId(core));
    else
        connection.SendUseMapItem(core->useItemX, core->useItemY, core->useItemIndex,
                                  HeldShapeId(core));
}

void ExamineHeldItem(const Action& menu, Protocol& connection) {
    const Core* core = menu.core;
    const size_t looks = connection.pendingLooks.size();
    if (ExaminedAsSlot(core->useItemX))
        connection.SendLookSlotItem(uint8_t(core->useItemY), core->useItemZ, HeldShapeId(core));
    else
        connection.SendLookMapItem(core->useItemX, core->useItemY, core->useItemZ,
                                   core->useItemIndex, HeldShapeId(core));
    PlaceLookAtMenu(connection, looks, menu);
}

void ExamineShopOffer(const Action& menu, Protocol& connection) {
    const size_t looks = connection.pendingLooks.size();
    connection.SendLookShopItem(HeldShapeId(menu.core), menu.core->useItemZ);
    PlaceLookAtMenu(connection, looks, menu);
}

// --- Maps ---------------------------------------------------------------------------------------

void FlipMapOption(Core* core, uint8_t Options::*option) {
    Map* map = Find<Map>(core, WindowType::Map);
    if (!map) return;
    Flip(core->options.*option);
    map->RenderMarkerLayer();
}

// Zoom in or out to a limit; the view then keeps tracking the player.
void ZoomMap(Core* core, bool in) {
    Map* map = Find<Map>(core, WindowType::Map);
    if (!map) return;
    map->zoom = in ? map->minZoom : map->maxZoom;
    map->follow = 1;
    map->UpdateView();
    map->RenderMarkerLayer();
}

// A world coordinate of the part mapped linearly onto its page rectangle, in whole page pixels.
// Wide values wrap as the marker's 16 bits do; they are never out of range for the conversion.
uint16_t PagePixel(uint16_t world, uint16_t worldOrigin, uint16_t pageSize, uint16_t pageStart,
                   uint16_t pageEnd, float rise) {
    const float page = float(int32_t(world) - worldOrigin) / float(pageSize) *
                           float(int32_t(pageEnd) - pageStart) +
                       float(pageStart) - rise;
    return uint16_t(int64_t(page));
}

// "Mark my location": a marker where the player stands on the map part of the selection.
void MarkMyLocation(Core* core) {
    MapDriver* driver = core->mapDriver;
    if (!driver) {
        core->OnDisconnect("select map: driver error");
        return;
    }
    const MapPage* page = driver->SelectedPage();
    MapPart* part = driver->SelectedPart();
    // A page of no size maps nothing.
    if (!page || !part || page->width == 0 || page->height == 0) return;
    MapLabel marker;
    marker.id = MapDriver::NextFreeMarkerId(part->markers);
    if (marker.id > Map::MaxMarkers) {
        core->ShowMessage("Map Marker", "You've reached the limit of 500 markers.", 0);
        return;
    }
    const MapSelection& at = driver->selection;
    const MapRect& world = part->worldRect;
    const MapRect& pixels = part->pageRect;
    marker.x = PagePixel(at.x, world.x0, page->width, pixels.x0, pixels.x1, 0.0f);
    marker.y = PagePixel(at.y, world.y0, page->height, pixels.y0, pixels.y1, LocationMarkerRise);
    marker.icon = LocationMarkerIcon;
    marker.text = "Marker";
    part->markers.push_back(marker);
    if (Protocol* connection = core->activeConnection)
        connection->SendMarkerAdd(marker.id, uint16_t(marker.x + world.x0),
                                  uint16_t(marker.y + world.y0), marker.icon, marker.text);
    if (Map* map = Find<Map>(core, WindowType::Map)) map->RenderMarkerLayer();
    if (Window* minimap = core->FindWindow(WindowType::Panelmap)) minimap->Refresh();
}

// The journal on the quest of a 1-based number.
void ShowJournalEntry(Core* core, uint32_t number) {
    if (number < 1 || number > core->quests.size()) return;
    core->journalFilter = 0;
    core->journalSelection = core->quests[number - 1].title;
    core->AddWindow(new Questlog(core));
}

// --- The side columns ----------------------------------------------------------------------------

// The other column takes the window unless a window of fixed height would not fit there.
void MoveToOtherPanel(Core* core, Panellist& window) {
    Panel* from = window.panel;
    auto* to = dynamic_cast<Panel*>(from->side == Panel::Left ? core->rightPanel : core->leftPanel);
    if (!to || to == from) return;
    if (!window.resizable && to->GetRect().h - Panel::MinFree <
                                 (window.collapsed ? window.titleHeight : window.height)) {
        core->AddNotification(Notification::RefusalKind, "Not enough space move to panel.");
        return;
    }
    from->Remove(&window);
    to->Insert(&window);
}

}  // namespace

bool Action::OwnerOpen() const { return owner && owner->state == 1; }

void Action::Execute(uint32_t row) {
    if (core->gameHalted || row >= entries.size()) return;
    const uint32_t code = entries[row].code;
    Creature* player = core->player;
    Creature* creature = core->world ? core->world->GetCreature(context) : nullptr;
    Channel* channel = OwnerOpen() ? dynamic_cast<Channel*>(owner) : nullptr;
    const bool itemHeld = core->dragTo != nullptr;
    Protocol* connection = core->activeConnection;

    auto* panelWindow = OwnerOpen() ? dynamic_cast<Panellist*>(owner) : nullptr;
    if (panelWindow && !panelWindow->panel) panelWindow = nullptr;

    switch (code) {
        case ActionCode::MoveToOtherPanel:
            if (panelWindow && !panelWindow->pinned) MoveToOtherPanel(core, *panelWindow);
            break;
        case ActionCode::PinToTop:
        case ActionCode::PinToBottom:
            if (panelWindow) panelWindow->panel->Pin(panelWindow, code == ActionCode::PinToTop);
            break;
        case ActionCode::Unpin:
            if (panelWindow && panelWindow->pinned) panelWindow->panel->Unpin(panelWindow);
            break;
        case ActionCode::ToggleConditionOnHud: core->ToggleStatusShown(context & 0xFF); break;
        case ActionCode::SendPrivateMessage: OpenPrivateChannel(core, title); break;
        case ActionCode::ToggleFoe: core->ToggleFoe(title); break;
        case ActionCode::AddNewPerson:
            OpenIfAbsent<Friendpop>(core, WindowType::Friendpop, true);
            break;
        case ActionCode::ToggleOfflineFriends:
            Flip(core->options.ofriends);
            if (auto* list = Find<Friendlist>(core, WindowType::Friendlist)) {
                list->dirty = 1;
                list->UpdateScroll();
            }
            break;
        case ActionCode::MutePeople: OpenIfAbsent<Ignored>(core, WindowType::Ignored, true); break;
        case ActionCode::GuideLanguage:
            if (Help* help = Find<Help>(core, WindowType::Help)) help->SetLanguage(row);
            break;

        case ActionCode::LargeMap:
            if (Window* map = core->FindWindow(WindowType::Map)) core->RemoveWindow(map);
            else if (Map::CanOpen(core)) core->AddWindow(new Map(core));
            break;
        case ActionCode::CenterView:
            if (Map* map = Find<Map>(core, WindowType::Map)) {
                map->follow = 1;
                map->UpdateView();
                map->follow = 0;
                map->RenderMarkerLayer();
            }
            break;
        case ActionCode::ZoomIn:
        case ActionCode::ZoomOut: ZoomMap(core, code == ActionCode::ZoomIn); break;
        case ActionCode::AddMarker: core->AddWindow(new Marker(core, x, y))->OnOpen(); break;
        case ActionCode::RemoveMarker:
            if (Map* map = Find<Map>(core, WindowType::Map)) {
                map->RemoveMarker(int32_t(context));
                map->RenderMarkerLayer();
            }
            break;
        case ActionCode::ShowCustomMarkers:
        case ActionCode::HideCustomMarkers: FlipMapOption(core, &Options::smarkers); break;
        case ActionCode::ShowTownNames:
        case ActionCode::HideTownNames: FlipMapOption(core, &Options::stowns); break;
        case ActionCode::ShowJournalMarkers:
        case ActionCode::HideJournalMarkers: FlipMapOption(core, &Options::sjournal); break;
        case ActionCode::EditMarker: {
            auto* marker = new Marker(core, x, y);
            core->AddWindow(marker);
            marker->EditMarker(int32_t(context));
            break;
        }
        case ActionCode::MarkMyLocation: MarkMyLocation(core); break;
        case ActionCode::ShowJournalEntry: ShowJournalEntry(core, context); break;
        case ActionCode::InvertScrolling: Flip(core->options.inverse); break;

        case ActionCode::ClearContents:
            if (channel) channel->Clear();
            break;
        case ActionCode::CloseChannel:
            if (channel) channel->Close();
            break;
        case ActionCode::EnableLogging:
            if (!channel) break;
            channel->EnableLogging();
            core->AddNotification(InfoKind,
                                  "Logging enabled for '" + channel->name +
                                      "' channel. Logs can be found in the folder: logs/" +
                                      channel->name + "/");
            break;
        case ActionCode::DisableLogging:
            if (!channel) break;
            channel->DisableLogging();
            core->AddNotification(InfoKind, "Logging disabled for '" + channel->name + "' channel");
            break;

        case ActionCode::ViewProgression:
            OpenIfAbsent<Character>(core, WindowType::Character, false);
            break;
        case ActionCode::ChangeOutfit:
            if (player) OpenIfAbsent<Outfit>(core, WindowType::Outfit, false);
            break;
        case ActionCode::SitOrStand:
            // Only the player's own creature sits at the player's request.
            if (creature && creature == player) core->world->SitOrStand(creature);
            break;
        case ActionCode::Attack:
            if (player && creature) core->world->ShowTalkHint(x, y, player, creature);
            break;
        case ActionCode::Follow:
            if (player && creature) ToggleFollow(core, player, creature);
            break;
        case ActionCode::ExamineCreatureById:
        case ActionCode::ExamineCreature:
            if (creature) ExamineCreature(*this, *creature);
            break;
        case ActionCode::TradeWith:
            if (creature && connection) connection->SendTradeRequest(creature->id);
            break;
        case ActionCode::SendMessage:
            if (creature) OpenPrivateChannel(core, creature->name);
            break;
        case ActionCode::StartTalking: StartTalking(core, title); break;

        case ActionCode::UseWith:
        case ActionCode::ArmAbilityTarget:
            core->inputModes[InputUseWith] = 1;
            core->inputModes[InputDrop] = 1;
            if (code == ActionCode::ArmAbilityTarget) core->inputModes[InputSpellTarget] = 1;
            core->SetCursor(UseWithCursor);
            break;
        case ActionCode::OpenItem:
            if (itemHeld && connection) OpenHeldItem(*this, *connection);
            break;
        case ActionCode::UseItem:
            if (itemHeld && connection) UseHeldItem(core, *connection);
            break;
        case ActionCode::ExamineItem:
            if (itemHeld && connection) ExamineHeldItem(*this, *connection);
            break;

        case ActionCode::InvitePerson:
            OpenIfAbsent<Partypop>(core, WindowType::Partypop, true);
            break;
        case ActionCode::OpenSpellbook:
            if (auto* bar = Find<Spellbar>(core, WindowType::Spellbar))
                bar->OpenSpellbook(uint8_t(context));
            break;
        case ActionCode::ClearBarSlot:
            if (auto* bar = Find<Spellbar>(core, WindowType::Spellbar)) bar->AssignSlot(nullptr);
            break;

        case ActionCode::BuyItem:
            core->dropX = EquipmentSlot;
            core->dropY = 0;
            core->dropZ = BuySlot;
            core->DropThing();
            break;
        case ActionCode::SellItem:
        case ActionCode::SellAll:
            if (Shop* shop = Find<Shop>(core, WindowType::Shop))
                shop->SellSelected(code == ActionCode::SellAll ? 1 : 0);
            break;
        case ActionCode::ExamineOffer:
            if (itemHeld && connection) ExamineShopOffer(*this, *connection);
            break;
        case ActionCode::InviteMember:
            OpenIfAbsent<Guildpop>(core, WindowType::Guildpop, true);
            break;

        case ActionCode::JoinGuild:
        case ActionCode::RejectGuildInvite:
            core->CloseWindowOfType(WindowType::Guildinvite);
            [[fallthrough]];
        default:
            if (code >= ActionCode::AllTopics && code <= ActionCode::LastTopicTab) {
                if (auto* journal = Find<Questlog>(core, WindowType::Questlog))
                    journal->SelectTab(uint8_t(code - ActionCode::AllTopics));
            } else if (code >= ActionCode::ToggleConnection && code <= ActionCode::ToggleReport) {
                Flip(core->options.*StatusPanelOptions[code - ActionCode::ToggleConnection]);
                if (core->inGame && core->paneltopWindow) core->paneltopWindow->Refresh();
            } else if (connection) {
                SendRequest(*connection, *this, code);
            }
            break;
    }
}
