#pragma once
// The project's own stand-in for the Steam library: the entry points the client calls. Steam is
// not available to this build, so start-up always reports it as not running.

bool SteamAPI_Init();
void SteamAPI_RunCallbacks();
void SteamAPI_Shutdown();
