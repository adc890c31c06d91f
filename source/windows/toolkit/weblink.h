#pragma once
#include <string>

// The players' community chat, the game's page in the Steam store and its wiki.
constexpr char DiscordInvite[] = "https://discord.gg/veltor";
constexpr char SteamStorePage[] = "https://store.steampowered.com/app/veltor";
constexpr char WikiMainPage[] = "https://wiki.veltor.example/Main_Page";

// Opens a web page in the system's browser through the shell. Tests replace `webPageOpener` so
// that nothing is started.
using WebPageOpener = void (*)(const std::string& address);
extern WebPageOpener webPageOpener;

void OpenWebPage(const std::string& address);
