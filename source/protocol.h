#pragma once
// One TCP connection to a game server: the non-blocking socket whose events arrive as window
// messages, the receive queue it cuts frames from, the send queue, the message counter, the
// XTEA switch, and the dispatchers of the login, avatar-selection and game states.
#include <winsock2.h>

#include <cstdint>
#include <cstdio>
#include <deque>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "digest.h"
#include "itemdescription.h"
#include "netbuffer.h"
#include "networkmessage.h"
#include "position.h"
#include "protocolstate.h"
#include "requestfields.h"
#include "steprecord.h"
#include "xtea.h"

class Core;
class Creature;
class Item;
class Layer;
class Shape;
class SessionCallback;
class ShopEntry;
class Tile;
struct AvatarEntry;

// A rectangle of map positions the tile stream fills.
struct TileRect {
    uint16_t x, y;
    uint8_t w, h;
};

// A container window to place when the server opens the container asked for.
struct PendingOpen {
    uint16_t x;
    uint16_t y;
    uint8_t kind;
};

// A map tile relative to the player's, each offset modulo 256.
struct TileOffset {
    uint8_t dx;
    uint8_t dy;
    uint8_t dz;
};

// An item as the server sends it: the shape, then a count for a stackable shape and a palette
// choice for a shape with several palettes.
struct ItemRecord {
    uint16_t shapeId;
    uint16_t count;
    uint32_t subId;
};

// The cursor position an examine request was made at.
struct PendingLook {
    int32_t x;
    int32_t y;
};

class Protocol {
public:
    // Window messages of the two connection slots.
    static const UINT FirstSocketMessage = 0x8001;
    static const UINT SecondSocketMessage = 0x8002;
    // The largest frame payload accepted from a server; a header announcing more ends the
    // connection before anything is allocated for it.
    static const int32_t MaxFramePayload = 4 * 1024 * 1024;
    // Bytes taken from the socket per read event.
    static const int32_t ReceiveChunk = 1024;

    Protocol(Core* core, uint32_t kind);
    virtual ~Protocol();
    Protocol(const Protocol&) = delete;
    Protocol& operator=(const Protocol&) = delete;

    // Connection and framing. Start mode 0 connects to the configured server, mode 1 to the
    // server of a move (Transfer).
    void Start(uint32_t mode);
    void Connect();
    bool initialse(HWND window, UINT message);
    bool ConnectTo(uint16_t port, const std::string& host);
    // The socket-event handler: socket and event as the window message carries them (event bits
    // in the low word, error code in the high word). False for another connection's socket.
    bool custom(WPARAM socketParam, LPARAM eventParam);
    // Sends one finished request as a frame (enciphered in place when encryption is on).
    void flush(NetworkMessage& message);
    void SendPing();
    void Cancel();
    void ClearPending();
    void SocketError(uint32_t code, const std::string& text);
    void SocketFailure(bool report, const std::string& text);
    // Marks the connection dead and closes its socket; Core does this before it lets go of a
    // connection, so that a dispatch running on it stops.
    void Close();

    // Login and avatar selection.
    uint8_t ParseLogin();
    uint8_t ParseCharacter();
    uint8_t ParseGame();
    void OnConnect();
    void SendLogin();
    void SendNewAccount();
    void SendLostPassword();
    void SendChangePassword();
    void login_reply();
    void avatar_list();
    void avatar();
    void SendCreateAvatar(uint8_t choice, const std::string& name);
    void SendSelectAvatar(uint32_t id);

    // Entering the game (op 16): the game screen, the player's creature id and equipment.
    void attach();

    // Steam login and store purchases. Kinds 5 and 6 ask Steam for a ticket on the server's
    // hello; the ticket, like the answer to a purchase, comes back as a window message.
    void RequestSteamTicket();
    void OnSteamCallback(WPARAM wParam, LPARAM lParam);
    // Op 8 (kind 5) or op 9 (kind 6, linking Core's account) with the ticket Steam delivered.
    void SendSteamLogin(const SessionCallback& answer);
    // Op 225, then waits for the player's answer through Steam.
    void SendStorePurchase(uint32_t days);
    void SendStoreAuthorisation(const SessionCallback& answer);
    void noble_days();

    // The server's notices about itself in the game state: crashed (op 248), suspended (op 253)
    // and suspension over (op 254).
    void server_crashed();
    void server_suspended();
    void suspension_over();

    // Moving to another server. The old connection receives op 245 (where to go) and later
    // op 246 (the move is done); the new one is started by Transfer and says hello on connect.
    void transfer_init();
    void transfer_done();
    void Transfer();

    // Requests of the game state. Map tiles are sent as offsets from the player, each modulo
    // 256: the senders given absolute coordinates send nothing while there is no player, the
    // others take the offsets their callers computed. Items are named by shape id; slots by the
    // server's container number and the slot in it.
    // Movement, stance and targets.
    void SendWalk(uint8_t direction);
    void SendWalkRedirect(uint8_t direction);
    void SendTurn(uint8_t direction);
    // Mode 0: the creature becomes the only target (id 0: no target); 1 adds it; 2 removes it.
    void SendTarget(uint8_t mode, uint32_t creatureId);
    void SendPushCreature(uint32_t creatureId, int32_t dx, int32_t dy, int32_t dz);
    void SendPushToCreature(uint32_t creatureId, uint32_t targetId);
    void SendSit(bool sitDown);
    // Using, moving and opening items. A move carries Core's move count when the shape is
    // stackable.
    void SendMoveMapToMap(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex, int32_t targetDx,
                          int32_t targetDy, int32_t targetDz, uint16_t shapeId);
    void SendUseMapItem(int32_t x, int32_t y, uint8_t stackIndex, uint16_t shapeId);
    void SendUseMapOnMap(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex, int32_t targetDx,
                         int32_t targetDy, uint16_t usedShapeId, uint16_t targetShapeId);
    void SendUseSlotItemOnCreature(uint8_t container, uint8_t slot, uint32_t creatureId,
                                   uint16_t shapeId);
    void SendUseMapItemOnCreature(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex,
                                  uint32_t creatureId, uint16_t shapeId);
    void SendUseSlotItem(uint8_t container, uint8_t slot, uint16_t shapeId);
    void SendUseSlotOnSlot(uint8_t sourceContainer, uint8_t sourceSlot, uint8_t targetContainer,
                           uint8_t targetSlot, uint16_t usedShapeId, uint16_t targetShapeId);
    void SendUseSlotOnMap(uint8_t sourceContainer, uint8_t sourceSlot, int32_t targetDx,
                          int32_t targetDy, uint16_t usedShapeId, uint16_t targetShapeId);
    void SendUseMapOnSlot(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex,
                          uint8_t targetContainer, uint8_t targetSlot, uint16_t usedShapeId,
                          uint16_t targetShapeId);
    void SendContainerClose(uint8_t container);
    void SendContainerUp(uint8_t container);
    void SendContainerStack(uint8_t container);
    void SendMoveMapToSlot(int32_t sourceDx, int32_t sourceDy, uint8_t stackIndex,
                           uint8_t targetContainer, uint8_t targetSlot, uint16_t shapeId);
    void SendMoveSlotToMap(uint8_t sourceContainer, uint8_t sourceSlot, int32_t targetDx,
                           int32_t targetDy, int32_t targetDz, uint16_t shapeId);
    void SendMoveSlotToSlot(uint8_t sourceContainer, uint8_t sourceSlot, uint8_t targetContainer,
                            uint8_t targetSlot, uint16_t shapeId);
    void SendUseCancel();
    void SendUseWithMap(int32_t x, int32_t y, int32_t z, uint8_t stackIndex, uint16_t shapeId);
    void SendUseWithSlot(uint8_t container, uint8_t slot, uint16_t shapeId);
    void SendUseOnCreature(uint32_t creatureId);
    void SendOpenMapItem(int32_t x, int32_t y, uint8_t stackIndex, uint16_t shapeId);
    void SendOpenSlotItem(uint8_t container, uint8_t slot, uint16_t shapeId);
    // Looking at things: each leaves the cursor position for the answer (pendingLooks).
    void SendLookMapItem(int32_t x, int32_t y, int32_t z, uint8_t stackIndex, uint16_t shapeId);
    void SendLookSlotItem(uint8_t container, uint8_t slot, uint16_t shapeId);
    void SendLookCreature(uint32_t creatureId);
    void SendLookShopItem(uint16_t shapeId, uint32_t entryIndex);
    // Abilities and character. Spells are named by their index in Core's spell list and bar
    // slots by their index; both go on the wire plus one.
    void SendRaiseAttribute(uint8_t attribute);
    void SendAbilitiesRequest();
    void SendCastSelf(uint8_t spell);
    void SendCastCreature(uint8_t spell, uint32_t creatureId);
    void SendCastTile(uint8_t spell, int32_t x, int32_t y, int32_t z);
    void SendCastArmed(uint8_t spell);
    void SendSpellbarSlot(uint8_t slot, uint16_t abilityId);
    // The colours go only with a shape that has several palettes.
    void SendOutfit(uint16_t shapeId, uint32_t colours);
    // Speech, chat channels, friends and trade. Channel 0 is speech, 254 the console; private
    // conversations (255) are never a channel on the wire.
    void SendTalk(uint8_t channel, const std::string& text);
    void SendPrivateMessage(const std::string& recipient, const std::string& text);
    void SendTyping(bool typing);
    void SendOpenChannel(uint8_t channel);
    // Main, Report, Info, Console and private conversations are never closed on the server.
    void SendCloseChannel(uint8_t channel);
    void SendFriendAdd(const std::string& name, uint8_t group, const std::string& note);
    void SendFriendRemove(uint32_t friendId);
    void SendTradeRequest(uint32_t creatureId);
    void SendTradeAccept();
    void SendTradeCancel();
    // Party.
    void SendPartyAccept(uint32_t inviterId);
    void SendPartyInvite(uint32_t creatureId);
    void SendPartyExpel(uint32_t memberId);
    void SendPartyInviteName(const std::string& name);
    void SendPartyLeave();
    void SendPartyLeader(uint32_t memberId);
    void SendPartyReject(uint32_t inviterId);
    // Guild.
    void SendGuildFound(const std::string& name);
    void SendGuildFoundClose();
    void SendGuildInvite(const std::string& name);
    void SendGuildUninvite(const std::string& name);
    void SendGuildJoin(uint32_t guildId);
    void SendGuildReject(uint32_t guildId);
    // Kind 1 leave, 2 patron, 3 unpatron.
    void SendGuildMembership(uint32_t guildId, uint8_t kind);
    void SendGuildKick(const std::string& name);
    void SendGuildLeadership(const std::string& name);
    // Windows and answers.
    void SendMarkerAdd(uint16_t markerId, uint16_t x, uint16_t y, uint8_t icon,
                       const std::string& text);
    void SendMarkerRemove(uint8_t markerId);
    void SendBrew();
    void SendBrewClose();
    void SendBankClose();
    void SendHouseInviteeAdd(uint32_t houseId, const std::string& name);
    void SendHouseInviteeRemove(uint32_t houseId, const std::string& name);
    void SendHouseBid(uint32_t houseId, uint32_t bid);
    void SendRentalClose();
    void SendCraft();
    void SendCraftClose();
    void SendShopSell(uint16_t shapeId, uint32_t entryIndex, uint32_t count);
    void SendShopClose();
    void SendConfirmYes();
    void SendConfirmNo();
    // Sent even though the server has ended the game: it answers the crash notice.
    void SendCrashProceed();

    // Recordings of the game traffic into data/Veltor.record. Server op 249 starts one (ignored
    // while one runs), op 251 stops this connection's recording (and reads its fields when none
    // runs); the connection's end stops it too. The end request is sent once per recording.
    void recording_start();
    void recording_end();
    void recording_stop();
    void SendEndRecording();
    // Keeps an own movement or speech request, built but not yet sent, while a recording runs.
    void RecordClientMessage(const NetworkMessage& message);

    SessionCallback* pending = nullptr;
    NetBuffer inBuffer{1024};
    int32_t frameHeaderSize = 0;
    int32_t frameLength = 0;
    std::deque<PendingOpen> pendingOpens;
    std::deque<std::string> pendingFriends;
    std::deque<uint8_t> pendingFriendGroups;
    std::deque<std::string> pendingFriendNotes;
    std::deque<PendingLook> pendingLooks;
    uint32_t lastError = 0;
    SOCKET socket = INVALID_SOCKET;
    NetBuffer outBuffer{1024};
    uint8_t encrypted = 0;
    uint32_t challenge = 0;
    Digest sessionKey{};
    uint8_t closed = 1;
    uint16_t messageCounter = 0;
    // The frames received whole, and their bytes on the wire, headers included (the debug
    // table of the game field shows both).
    uint32_t framesReceived = 0;
    uint64_t bytesReceived = 0;
    uint32_t ticketHandle = 0;
    // 1 once the ticket was used: it is cancelled when the connection goes.
    uint8_t ticketPending = 0;
    // The own creature's id, from op 16.
    uint32_t playerId = 0;
    // Set once the first map area after entering the game has been read.
    uint8_t mapReceived = 0;
    uint8_t newFrame = 0;
    // Each connection follows its own server: during a move the old one stays in game while
    // the new one starts at login.
    ProtocolState state = StateLogin;
    uint32_t kind;
    Core* core;
    // The running recording: its open stream (null while none runs), the frame time at its start,
    // where its block starts in the stream, and whether a write to it failed.
    FILE* recordStream = nullptr;
    uint64_t recordStart = 0;
    int64_t recordHeaderPos = 0;
    uint8_t recordFailed = 0;
    // Set once the end of the recording has been asked for; the server's stop clears it.
    uint8_t endRequested = 0;
    // The highest floor of the last area, step or re-read.
    uint8_t topFloor = 0;

private:
    // The window message of this connection's socket events: that of its slot.
    UINT SocketMessage() const;
    void SetSessionKey(const Digest& key);
    void OnConnected();
    // The connected handshake of a move: the transfer key and token in an RSA block.
    void SendTransferHello();
    // One receive of at most ReceiveChunk bytes and the frames it completes; false when nothing
    // was received.
    bool Receive(uint32_t eventError);
    // The server hung up: shown as the end of the connection, or, while the game is halted,
    // the socket just closes.
    void OnServerClose(uint32_t eventError);
    void ReadFrames();
    // Recordings: the frame just completed, an own request, one record, and the bytes written.
    void RecordFrame();
    void AppendRecord(uint8_t kind, const uint8_t* bytes, size_t size);
    bool WriteToRecording(const uint8_t* bytes, size_t size);
    void DispatchFrame();
    void SendQueued(const char* failureText);
    void CloseSocket();
    // Ends the process with a text once the current dispatch is over; the connection is closed
    // at once, so nothing re-enters it meanwhile.
    void FailFatally(const std::string& text);
    bool ReadAvatarEntry(AvatarEntry& entry);
    void SendLoginBlock(uint8_t opcode, const std::vector<uint8_t>& plaintext);
    void CheckCounter();

    // Game-state readers shared by the handlers. The item record's rest after its shape id:
    // false, with nothing more read, for a shape not in the shape table.
    bool ReadItemRest(ItemRecord& item);
    bool ReadItem(ItemRecord& item);
    // A relative position (three signed bytes) taken from the player's; read whether or not
    // there is a player, which the caller checks.
    Position ReadRelative();
    // Ends the connection with the text unless there is a world; the fields were read.
    bool NeedWorld(const std::string& text);
    // The world's creature of an id, or null (also without a world).
    Creature* FindCreature(uint32_t id) const;

    // World messages (protocolworld.cpp).
    void world_light();
    void map_full();
    void world_step();
    void world_shake();
    void world_move_force();
    void world_floor_up();
    void world_floor_down();
    void shape_enter();
    void shape_leave();
    void reshape();
    void change_sub_id();
    void change_count();
    void world_effect();
    void throw_effect();
    void world_modify();
    // Reads the rest of a transition and fills the record; false when the connection ended.
    bool world_transition(StepRecord& out, uint32_t direction, int32_t floorChange);
    void StepPlayer(uint32_t direction, int32_t floorChange);
    // The tile stream over the floors from `base` up by `up`, then below it down by `down`, on
    // each floor the given rectangles; false when the connection ended. One run counter goes on
    // across rectangles and floors.
    bool ReadFloors(const char* handler, int32_t base, uint8_t up, uint8_t down,
                    const std::vector<TileRect>& rects, bool deleteFirst);
    // One rectangle of one floor, rows outer; with deleteFirst each position's old tile goes
    // first.
    bool read_tiles(TileRect rect, int32_t& skip, uint8_t z, bool deleteFirst);
    bool ReadPosition(uint16_t x, uint16_t y, uint8_t z, Layer* layer, int32_t& skip);

    // Creature messages (protocolcreatures.cpp).
    bool read_creature(Tile*& tile, Layer* layer, uint16_t x, uint16_t y, uint8_t z);
    bool ReadLightShapes(std::vector<Shape*>& shapes);
    void creature_appear();
    void creature_remove();
    void creature_turn();
    void creature_move(bool forced);
    void creature_status();
    void creature_damage();
    void creature_rename();
    void creature_reshape();
    void creature_lights();
    void creature_respeed();
    void walk_refused();
    void target_lost();
    void creature_sitting();
    void creature_number();
    void creature_typing(bool on);
    void banned();
    void creature_effect74();
    void creature_effect75();
    void creature_effect76();
    // The creature and its new effect item of ops 74 to 76, or null when the connection ended.
    Creature* ReadCreatureEffect(int32_t& dx, int32_t& dy, Item*& item);

    // Player status, abilities and the world map (protocolplayer.cpp).
    void player_status();
    void player_points();
    void stat_first_third();
    void status_effects();
    void stat_second();
    void carried_weight();
    void creature_effect();
    void map_position();
    void select_map();
    void spell_bar();
    void spell_bar_slot();
    void spell_state();
    void spell_states();
    void spell_update();
    void new_outfit();
    // The indexes of the active status effects: u8 n, n x u8 index.
    std::vector<uint8_t> ReadStatusEffects();
    void ReadSpellState();

    // Windows, social and server state (protocolwindows.cpp).
    void died();
    void open_book();
    void container_closed();
    void trade_opened();
    void trade_accepted();
    void trade_ended();
    void brew_opened();
    void brew_closed();
    void notification_line();
    void rename();
    void use_with_mode();
    void bank_balance();
    void rental_closed();
    void auction_text();
    void look_refused();
    void open_refused();
    void party_invite_withdrawn();
    void party_disbanded();
    void party_member_status();
    void quest_progress();
    void friend_update();
    void friend_removed();
    void craft_opened();
    void craft_closed();
    void shop_item_update();
    void question_withdrawn();
    void party_ignored();
    void marker_ignored();
    // The house, rental and guild messages (protocolhouses.cpp).
    void house_invitees();
    void house_lost();
    void rental_open();
    void auction_update();
    void guild();
    void guild_data();
    enum Field { FieldU8, FieldU16, FieldU32, FieldStr8, FieldStrVar };
    void ReadAndIgnore(std::initializer_list<Field> fields);
    void CloseSplit();
    // Removes the open window of a type, and then the split window; nothing without one.
    void RemoveWindowAndSplit(uint32_t type);

    // Messages whose windows and texts come later: read whole and dropped (protocolskipped.cpp).
    void hitpoint_text();
    void experience_text();
    void container_attach();
    void container_insert();
    void container_remove();
    void container_replace();
    void trade_request();
    void server_text();
    void bank_open();
    void bank();
    void item_tooltip();
    void look_text();
    void party_invite();
    void party_started();
    void party_leader();
    void party_invited();
    void party_joined();
    void party_left();
    void speech();
    void private_message();
    void speech_kind();
    void quest_update();
    void friend_list();
    void friend_added();
    void channel_message();
    void shop_items();
    void shop_open();
    void shop_close();
    void shop_sell_confirm();
    void death();
    // An item list up to its end marker, each record a new item; false after a fatal error.
    bool ReadItemList(std::vector<std::unique_ptr<Item>>& items, const char* unknownShape,
                      const char* badMarker);
    // The automatic screenshot: taken half a second later when the option is on and none is
    // pending or being written.
    void ScheduleScreenshot();
    // A new item of a record, as the container messages build them.
    Item* NewItem(const ItemRecord& record);
    // The containers' item routing by container number: the item of a record to insert or put
    // in a slot, built only when a window takes it, and the removal of a slot's item.
    void InsertContainerItem(uint8_t number, uint8_t slot, const ItemRecord& record);
    void ReplaceContainerItem(uint8_t number, uint8_t slot, const ItemRecord& record);
    void RemoveContainerItem(uint8_t number, uint8_t slot, bool keepRows);
    // One item description; an empty name reads "<unknown item>".
    ItemDescription ReadItemDescription();
    // A shop entry of the goods list, or with `offer` of the things it buys; null when unread.
    ShopEntry* ReadShopEntry(bool offer);
    // Removes an open yes/no box of the action without answering it.
    void RemoveQuestion(uint32_t action);
    // Requests of the game state.
    template <typename... Fields>
    void Send(uint8_t opcode, const Fields&... fields);
    // The player's tile to (x, y, z) as u8 offsets; none while there is no player.
    std::optional<TileOffset> OffsetFromPlayer(int32_t x, int32_t y, int32_t z) const;
    // Core's move count for a move of the shape, when the shape is stackable.
    std::optional<Var15> MoveCount(uint16_t shapeId) const;
    void AddPendingLook();

    Xtea cipher;
    std::string fatalText;
};

// The text shown for a Winsock error code (0: the server closed the connection).
std::string SocketErrorText(uint32_t code, uint32_t kind, const std::string& detail);

template <typename... Fields>
void Protocol::Send(uint8_t opcode, const Fields&... fields) {
    NetworkMessage message = MakeRequest(opcode, fields...);
    flush(message);
}
