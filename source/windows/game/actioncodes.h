#pragma once
#include <cstdint>

#include "windows/toolkit/panelactions.h"

// The action codes of the popup menu's rows: one vocabulary for every window that offers a
// choice, carried out by Action::Execute whichever window opened the menu. A row of code None
// (a separator or an information line) only closes the menu.
namespace ActionCode {
enum : uint32_t {
    None = 0,
    // The panel window that owns the menu, in its side column.
    MoveToOtherPanel = PanelAction::MoveToOtherPanel,
    PinToTop = PanelAction::PinToTop,
    PinToBottom = PanelAction::PinToBottom,
    Unpin = PanelAction::Unpin,
    // The condition icons of the equipment window and the container title menu.
    ToggleConditionOnHud = 10,
    StackContainer = 20,
    // Friends, party, guild and chat speakers.
    SendPrivateMessage = 30,
    ToggleFoe = 31,
    RemoveFriend = 32,
    AddNewPerson = 33,
    AddToFriendlist = 34,
    ToggleOfflineFriends = 35,
    MutePeople = 36,
    InviteToParty = 37,
    GuideLanguage = 40,
    // The minimap and the world map.
    LargeMap = 50,
    CenterView = 51,
    ZoomIn = 52,
    ZoomOut = 53,
    AddMarker = 54,
    RemoveMarker = 55,
    ShowCustomMarkers = 56,
    HideCustomMarkers = 57,
    ShowTownNames = 58,
    HideTownNames = 59,
    EditMarker = 60,
    MarkMyLocation = 61,
    ShowJournalMarkers = 62,
    HideJournalMarkers = 63,
    ShowJournalEntry = 64,
    InvertScrolling = 65,
    // The chat tab that owns the menu.
    ClearContents = 80,
    CloseChannel = 81,
    EnableLogging = 82,
    DisableLogging = 83,
    // The own creature and other creatures.
    ViewProgression = 100,
    ChangeOutfit = 101,
    ExamineCreatureById = 102,
    SitOrStand = 103,
    Attack = 110,
    Follow = 111,
    ExamineCreature = 112,
    TradeWith = 113,
    PartyWith = 114,
    AcceptInvite = 115,
    SendMessage = 116,
    StartTalking = 117,
    // The held item of the field, container, equipment and bank menus.
    UseWith = 130,
    OpenItem = 131,
    UseItem = 132,
    ExamineItem = 133,
    // The journal's topic tabs: AllTopics plus the tab index.
    AllTopics = 150,
    LastTopicTab = 155,
    // Party invitations, the party list and trade requests.
    AcceptAndJoin = 170,
    RejectInvitation = 171,
    InvitePerson = 172,
    MakePartyLeader = 173,
    ExpelFromParty = 174,
    StartTrading = 180,
    RejectTrade = 181,
    // The ability bar.
    OpenSpellbook = 190,
    ArmAbilityTarget = 191,
    ClearBarSlot = 192,
    // Shops.
    BuyItem = 200,
    SellItem = 205,
    SellAll = 206,
    ExamineOffer = 207,
    // Guilds.
    InviteMember = 220,
    UninviteFromGuild = 221,
    JoinGuild = 222,
    RejectGuildInvite = 223,
    LeaveGuild = 224,
    PatronGuild = 225,
    UnpatronGuild = 226,
    KickFromGuild = 228,
    TransferLeadership = 229,
    // The status panel's entries, each switching one of its option bytes.
    ToggleConnection = 240,
    ToggleReport = 250,
};
}  // namespace ActionCode
