#pragma once
// The console of the game screen, opened as entering the game opens it: the main chat box with
// Main (and the channels of Core::channelsPreset) and, in the normal layout, the second box with
// Info. It is added to the window list and becomes the Core's console.
#include <string>

class Channel;
class Console;
class Core;

Console* OpenConsole(Core* core);
// The page of the id in either chat box, or null.
Channel* ChannelOf(Core* core, unsigned id);
