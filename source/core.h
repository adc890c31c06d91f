#pragma once
// The application object: owns every long-lived object of the client and holds the state that
// windows, loaders and server-message handlers share.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "books.h"
#include "config.h"
#include "digest.h"
#include "gamelists.h"
#include "item.h"
#include "quests.h"
#include "screen.h"
#include "win32.h"

class Button;
class Container;
class Creature;
class Font;
class ItemPart;
class MapDriver;
class NetBuffer;
class Protocol;
class Render;
class Renderer;
class Shape;
class Shapes;
class Spell;
class Thing;
class Tile;
class Window;
class World;

// The seven one-shot input-mode bytes of Core::inputModes.
enum InputMode : uint32_t {
    InputDrop,
    InputSpellTarget,
    InputDragArmed,
    InputTradeSelect,
    InputPartySelect,
    InputUseWith,
    InputTarget,
    InputModeCount
};

class Core {
public:
    Core(HINSTANCE hInstance, int32_t nCmdShow, uint8_t patchedFlag);
    // A Core with its start values that loads nothing and opens no window; the unit tests
    // define it (tests/support/testcore.cpp).
    struct Unstarted {};
    explicit Core(Unstarted);
    virtual ~Core();
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    // Start-up and shut-down.
    void ResetDefaults();
    void Init();
    [[noreturn]] void FatalError(const std::string& text);
    Font* GetFont(uint32_t id);
    void AddFont(uint32_t id, Font* font);
    void InitStatusEffects();
    void AddStatusEffectName(const std::string& name);

    // Main loop, tick and frame.
    void Tick();
    void RenderFrame();
    void UpdateFrameRate();
    void OnSecondTimer();
    void OnPingReply();
    void SaveConfig();
    void SetScreenshotDeadline(uint32_t delay);

    // Window list and mouse input.
    Window* AddWindow(Window* window);
    void RemoveWindow(Window* window);
    // Takes the window out of the list, or out of the closed windows, and hands it back.
    void DetachWindow(Window* window);
    void DeleteClosedWindows();
    void ActivateWindow(Window* window);
    Window* FindWindow(uint32_t type);
    // The open window of a server container number (1 to 249), or null.
    Container* FindContainerWindow(uint8_t index);
    // The container windows of the saved layout that the server has not opened since close.
    void CloseContainerWindows();
    // Sets the dirty byte of every open window of the type, so the next frame repaints it.
    void MarkWindowsDirty(uint32_t type);
    void CloseWindowOfType(uint32_t type);
    Window* WindowAt(int32_t x, int32_t y);
    Button* ButtonAt(int32_t x, int32_t y);
    void OnResize();
    // Every window's Place for the client size, bottom to top.
    void PlaceWindows();
    // The client area's size in window coordinates.
    int32_t ScreenWidth() const;
    int32_t ScreenHeight() const;
    void ShowMessage(const std::string& title, const std::string& text, uint8_t flag);
    void ShowStatus(const std::string& title, const std::string& text);
    // A notification line over the game field; nothing outside the game.
    void AddNotification(uint8_t kind, const std::string& text);

    // Main window and display modes.
    void EnumerateDisplayModes();
    void SetResolution();
    void ChangeScreenMode();
    // False when the display refused the mode.
    bool ChangeScreenModeAlt();
    void ApplyResolution(uint32_t width, uint32_t height);
    uint32_t ReinitDriver(uint32_t engine);
    HCURSOR LoadCursor(uint32_t kind);
    void SetCursor(uint32_t kind);
    // Whether one of the one-shot input modes waits for the next click on the field.
    bool InputModeArmed() const;

    // Keyboard.
    void OnEscape();

    // Game start and end.
    void Connect(uint32_t mode);
    void CloseConnection(uint32_t which);
    void SwitchActiveConnection();
    void OnSocketMessage1(WPARAM wParam, LPARAM lParam);
    void OnSocketMessage2(WPARAM wParam, LPARAM lParam);
    void OnDisconnect(const std::string& text);
    // The "Connecting" box was cancelled: the active connection gives up and is let go of.
    void CancelConnecting();
    void DeleteClosedConnections();
    void ConfirmLogout();
    // The hint at the mouse that the player may not leave during a fight.
    void RefuseLogout();
    // What "yes" and "no" do in the yes/no boxes of every action code.
    void RegisterBoxAnswers();
    void EnterGame();
    void LeaveGame();
    void ClearSessionLists();
    void SavePanelLayout();
    void BuildPanelData();

    // Settings-file helpers.
    void SetHost(const std::string& text);
    void SetPort(const std::string& text);
    void SetLanguage(const std::string& text);
    void AddFoe(const std::string& name);
    void ToggleStatusShown(uint32_t index);
    void ParsePanelData();

    // Quests and books.
    // The first books-index entry of a book id; null when the index has none (the id comes from
    // the server, and an unknown one must not end the program).
    const BookIndexEntry* GetBookRecord(uint16_t id);
    void LoadQuests();
    void SetQuestProgress(uint32_t key, uint32_t value);
    void ReloadQuests();
    void LoadQuest(uint32_t key, uint32_t value);
    void BuildQuest(FILE* file, uint32_t key, uint32_t value);
    void AddQuestLines(uint16_t questId, uint32_t stageCount, const std::string& title,
                       const std::vector<QuestLine>& lines);
    QuestRecord FindQuest(uint16_t id);
    void UpdateQuestMarkers();
    bool IsStatusActive(uint8_t index);

    // Game lists.
    void AddFriend(const FriendRecord& record);
    void UpdateFriend(uint32_t id, uint8_t state, uint8_t second, const std::string& text);
    void RemoveFriend(uint32_t id);
    void RenameFriend(const std::string& oldName, const std::string& newName);
    bool IsOnFriendList(const std::string& name);
    // Whether the name is the own character's: the player creature's, or before that creature
    // exists the avatar chosen at login.
    bool IsOwnName(const std::string& name) const;
    std::string FriendsTitle();
    void ToggleFoe(const std::string& name);
    void AddPartyMember(uint32_t id, const std::string& name, uint8_t first, uint8_t second);
    void RemovePartyMember(uint32_t id);
    void ClearParty();
    void SetPartyLeader(uint32_t id);
    void RenamePartyMember(const std::string& oldName, const std::string& newName);
    PartyMember FindPartyMember(uint32_t id);
    PartyMember FindPartyMemberByName(const std::string& name);
    bool IsPartyMember(const std::string& name);
    bool IsPartyLeaderSelf();
    void AddPartyInvite(uint32_t id, const std::string& name);
    bool HasPartyInvite(uint32_t id);
    void RemovePartyInvite(uint32_t id);
    void AddMuted(const std::string& name);
    bool IsMuted(const std::string& name);
    void RemoveMuted(const std::string& name);
    void RenameMuted(const std::string& oldName, const std::string& newName);
    void RenameHouseGuest(const std::string& oldName, const std::string& newName);
    void SelectTarget(uint8_t mode, Creature* creature);
    bool IsTarget(Creature* creature);
    Creature* FindTargetById(uint32_t id);
    void AddSpellEntry(uint32_t slot, uint32_t value);
    // Server op 208, the whole ability bar, and op 209, one slot of it; both then have the
    // ability bar rebuild itself.
    void LoadSpellBar(NetBuffer& message);
    void LoadSpellBarSlot(NetBuffer& message);
    void SetStatValue0(uint8_t id, uint8_t value);
    void SetStatValue1(uint8_t id, uint8_t value);
    void SetStatValue2(uint8_t id, uint8_t value);
    std::vector<GuildInfo> UnmarkedEntries();
    std::vector<GuildInfo> MarkedEntries();
    std::string GetPanelData(bool left);
    bool CheckPlayerFlag();
    bool IsOtherConnectionActive(Protocol* connection);

    // Moving, pushing, dropping and using things.
    Thing* FindDraggedThing(uint16_t x, uint16_t y, uint8_t z);
    void DropThing();
    void MoveThing(Thing* thing, bool ask, bool confirmed, uint8_t mode);
    void PushThing(Thing* thing);
    bool ChooseMoveCount(Thing* thing, bool ask, uint8_t mode);
    bool ConfirmBuy(Thing* thing, bool confirmed, uint8_t mode);
    void UseThing(uint16_t targetId);
    void OnDeath(uint32_t id, uint8_t first, uint8_t second);
    void FocusNextInput();
    void FocusPreviousInput();
    Shape* GetShape(uint32_t id);
    Shape* ApplyToShape(uint32_t id, uint32_t subId);

    // Spells.
    void LoadSpells();
    void ResetSpells();
    Spell* FindSpell(uint16_t id);
    void UpdateSpell(uint16_t id, uint8_t flags, uint32_t totalMs, uint32_t leftMs);

    // Identity and platform.
    HINSTANCE hInstance{};
    int32_t nCmdShow{};
    uint8_t patchedFlag{};
    HWND hwnd{};
    uint32_t clientVersion{};
    uint32_t dataVersion{};
    uint8_t steamEnabled{};
    uint8_t steamReady{};

    // Owned objects.
    Config* config{};
    Shapes* shapes{};
    Render* render{};
    MapDriver* mapDriver{};
    Screen* screen{};
    World* world{};
    std::map<uint32_t, Font*> fonts{};
    std::vector<Spell*> spells{};
    InterfaceItems interfaceItems{};

    // Window list and input focus.
    std::vector<Window*> windows{};
    // Windows taken out of the list while their own handler may still run: deleted at the next
    // tick (DeleteClosedWindows).
    std::vector<Window*> closedWindows{};
    Window* activeWindow{};
    Window* focusedInput{};
    Button* pressedButton{};
    Window* consoleWindow{};
    Window* leftPanel{};
    Window* fieldWindow{};
    Window* equipmentWindow{};
    Window* rightPanel{};
    // The column new containers open in when no other is asked for.
    Window* containerPanel{};
    Window* paneltopWindow{};
    Creature* player{};
    uint8_t inputModes[InputModeCount]{};
    uint16_t useItemX{};
    uint16_t useItemY{};
    uint8_t useItemZ{};

    // Connections.
    Protocol* connection1{};
    Protocol* connection2{};
    Protocol* activeConnection{};
    // Connections let go of while one of them may still be handling a socket event: deleted
    // once that handling is over (DeleteClosedConnections).
    std::vector<Protocol*> closedConnections{};
    uint32_t connectKind{};
    std::string host{};
    std::string port{};
    std::string loginName{};
    std::string password{};
    std::string loginExtra{};
    std::string avatarName{};
    // The server a move goes to (op 245), and the key and token the new connection proves
    // itself with.
    std::string transferHost{};
    uint16_t transferPort{};
    uint32_t transferToken{};
    Digest transferKey{};
    uint8_t inGame{};
    uint8_t pingOutstanding{};
    std::list<uint64_t> pingTimes{};
    std::vector<uint32_t> pingSamples{};
    uint64_t lastPingSent{};
    uint32_t pingAverage{};
    uint32_t pingFrameTime{};
    uint8_t recording{};
    // The recordings list while one exists (it registers itself; not owned).
    Renderer* recordingList{};

    // Frame and timing.
    uint32_t frameCounter{};
    uint8_t frameSkipped{};
    uint32_t fpsFrames{};
    uint64_t frameTimeMs{};
    uint64_t fpsWindowStart{};
    double fps{};
    std::string fpsText{};
    std::vector<uint32_t> frameTimes{};
    FrameStats frameStats{};
    uint32_t targetFps{};

    // Display.
    uint32_t clientWidth{};
    uint32_t clientHeight{};
    uint32_t configWidth{};
    uint32_t configHeight{};
    uint8_t depth{};
    uint8_t fullscreen{};
    uint8_t maximized{};
    uint8_t resolution{};
    std::vector<DisplayMode> displayModes{};
    uint32_t engine{};
    uint32_t driverFlags{};

    // Screenshots.
    uint8_t screenshotPending{};
    uint64_t screenshotDeadline{};
    // Set by the screenshot worker while it writes a file; the main thread reads it.
    std::atomic<uint8_t> screenshotBusy{};

    // Settings (the settings file fills them).
    Options options{};
    uint32_t keys[KeyCount]{};
    std::string channelsPreset{};
    std::vector<std::string> loggedChannels{};
    std::string enterCommands{};
    std::string language{};
    int32_t slotLimit{};
    uint32_t journalFilter{};
    std::string journalSelection{};
    std::string panelLeftLayout{};
    std::string panelRightLayout{};
    std::string panelDataLayout{};
    std::vector<PanelRecord> panelRecords{};
    uint8_t panelLayoutFallback{};  // set when GetPanelData fell back to another record
    TestWalker testWalker{};

    // Player and game state.
    uint8_t gameHalted{};
    int32_t hp{};
    int32_t maxHp{};
    int32_t mana{};
    int32_t maxMana{};
    uint64_t experience{};
    uint32_t experienceNext{};
    uint32_t skillPool{};  // 0 to 100000: filled by offensive abilities, drained over time
    uint32_t carriedWeight{};
    uint32_t capacity{};
    uint32_t shopValue{};  // the second value of the weight message, which the shop shows
    std::vector<uint32_t> outfits{};
    uint16_t attributePoints{};
    uint32_t nobleDaysLeft{};
    uint8_t hasHouse{};
    uint32_t bankBalance{};  // copper coins
    uint32_t accountId{};
    uint8_t vocation{};
    uint32_t playerLevel{};
    Creature* followTarget{};
    uint8_t mouseWalkOff{};  // set: the held right button does not walk, nor does a standing player
    uint8_t showFrameTimes{};
    uint8_t showSpeeds{};

    // Data tables and the lists of the current game.
    std::vector<BookIndexEntry> books{};
    std::vector<QuestIndexRecord> questIndex{};
    std::vector<QuestProgress> questProgress{};
    std::vector<QuestRecord> quests{};
    std::vector<StatusEffect> statusEffects{};
    std::vector<FriendRecord> friends{};
    std::vector<std::string> foes{};
    std::vector<PartyMember> party{};
    std::vector<PartyInvite> partyInvites{};
    std::vector<std::string> muted{};
    HouseInfo houseInfo{};
    std::vector<Creature*> targets{};
    std::vector<SpellBarEntry> spellPairs{};
    std::vector<StatEntry> statTable{};
    std::vector<GuildInfo> guilds{};

    // Drag, drop and use bookkeeping.
    Thing* dragTo{};
    uint16_t dropX{};
    uint16_t dropY{};
    uint8_t dropZ{};
    uint8_t useItemIndex{};
    Thing* dragFrom{};    // the thing the last World::PickThing found
    uint8_t pickStack{};  // its index in its tile's stack
    uint32_t moveCount{};
    uint8_t moveMultiplier{};
    uint32_t moveStackCount{};
    Spell* targetingSpell{};  // the pending spell: chosen for the next click on the game field
    uint8_t barSlot{};

    // Pointer state the game field keeps for the world model.
    Creature* hoverCreature{};
    ItemPart* hoverPart{};
    Tile* hoverTile{};
    Window* chatBox{};

private:
    void LoadBooksIndex();
    void CreateInterfaceItems();
    void StartGraphics();
    void StartWinsock();
    void RunTestWalker();
    void ReapplyViewport(uint32_t width, uint32_t height);
    // The test walker's way out: the connections, the game and the program end at once.
    void QuitTestWalker();
    // Asks whether to log out; false when a logout box is waiting for its answer already.
    bool AskLogout();
    void SaveChannelPreset();
    // Deletes every window of the list but one (null: all of them).
    void DeleteWindowsExcept(Window* kept);
    // Clears the pointers to the windows of the game screen.
    void ForgetGameScreen();
    void DeleteWorld();
};

// The main loop's pacing: whole milliseconds between ticks for a target frame rate.
uint32_t FrameInterval(uint32_t targetFps);
// Milliseconds the loop still waits before the next tick (0: tick now). The timer wraps, so the
// elapsed time is an unsigned 32-bit difference.
uint32_t FrameWait(uint32_t now, uint32_t lastTick, uint32_t interval);
// Decimal with "," between groups of three digits: 1000005 gives "1,000,005".
std::string FormatNumber(uint32_t value);
