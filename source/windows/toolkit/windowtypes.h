#pragma once
#include <cstdint>

// Window type ids: every window class sets one while it is built, and Core finds open windows
// by it. Two pairs share an id (Login and Link, ControlsFunction and ControlsHotkey), so a
// look-up by 100 or 114 finds whichever of the pair is lower in the window list.
namespace WindowType {
// Toolkit.
constexpr uint32_t PanelRight = 10;
constexpr uint32_t PanelLeft = 12;
constexpr uint32_t Panellist = 51;
constexpr uint32_t List = 60;
constexpr uint32_t Scroll = 70;
constexpr uint32_t Input = 71;
constexpr uint32_t Sure = 120;
constexpr uint32_t Status = 121;
constexpr uint32_t Message = 122;

// Game screen and HUD.
constexpr uint32_t Action = 164;
constexpr uint32_t Console = 11;
constexpr uint32_t Padding = 13;
constexpr uint32_t Field = 14;
constexpr uint32_t Container = 20;
constexpr uint32_t Equipment = 21;
constexpr uint32_t Chatbox = 30;
constexpr uint32_t Channel = 31;
constexpr uint32_t Spellbar = 40;
constexpr uint32_t Paneltop = 50;
constexpr uint32_t Friendlist = 52;
constexpr uint32_t Partylist = 53;
constexpr uint32_t Panelmap = 54;

// Front screens and settings.
constexpr uint32_t Desktop = 1;
constexpr uint32_t Login = 100;
constexpr uint32_t Link = 100;
constexpr uint32_t Account = 101;
constexpr uint32_t Settings = 102;
constexpr uint32_t General = 103;
constexpr uint32_t Consoles = 104;
constexpr uint32_t Video = 105;
constexpr uint32_t Networks = 106;
constexpr uint32_t Info = 107;
constexpr uint32_t Controls = 112;
constexpr uint32_t ControlsMove = 113;
constexpr uint32_t ControlsFunction = 114;
constexpr uint32_t ControlsHotkey = 114;
constexpr uint32_t Lost = 116;
constexpr uint32_t Password = 117;
constexpr uint32_t New = 118;
constexpr uint32_t Suspend = 125;
constexpr uint32_t Crash = 126;
constexpr uint32_t Avatars = 130;
constexpr uint32_t Create = 131;
constexpr uint32_t GeneralInterface = 170;
constexpr uint32_t GeneralGameplay = 171;
constexpr uint32_t GeneralEsthetics = 172;
constexpr uint32_t GeneralMiscellaneous = 173;

// Game dialogs.
constexpr uint32_t Look = 61;
constexpr uint32_t Friendpop = 124;
constexpr uint32_t Character = 132;
constexpr uint32_t Channellist = 141;
constexpr uint32_t Spellbook = 142;
constexpr uint32_t Outfit = 150;
constexpr uint32_t Attribute = 151;
constexpr uint32_t Book = 152;
constexpr uint32_t Bank = 153;
constexpr uint32_t Craft = 154;
constexpr uint32_t Brew = 155;
constexpr uint32_t Rental = 156;
constexpr uint32_t Trade = 158;
constexpr uint32_t Shop = 159;
constexpr uint32_t Split = 160;
constexpr uint32_t Store = 161;
constexpr uint32_t House = 162;
constexpr uint32_t Bidding = 163;
constexpr uint32_t Map = 176;
constexpr uint32_t Marker = 177;
constexpr uint32_t Questlog = 178;
constexpr uint32_t Ignored = 179;
constexpr uint32_t Partypop = 180;
constexpr uint32_t Guild = 181;
constexpr uint32_t Guildpop = 182;
constexpr uint32_t Guildfound = 183;
constexpr uint32_t Guildinvite = 187;

// In-game guide.
constexpr uint32_t Help = 140;
}  // namespace WindowType
