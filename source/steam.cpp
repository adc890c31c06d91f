#include "steam.h"

bool SteamAPI_Init() { return false; }
void SteamAPI_RunCallbacks() {}
void SteamAPI_Shutdown() {}
