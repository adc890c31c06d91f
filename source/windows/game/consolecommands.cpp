// The local commands a privileged player types on the Console channel after a "!": weather and
// light, what the world draws, a camera shake, some dialogs and the help list.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "mapdriver.h"
#include "protocol.h"
#include "weather.h"
#include "windows/dialogs/brew.h"
#include "windows/dialogs/guild.h"
#include "windows/dialogs/guildfound.h"
#include "windows/dialogs/house.h"
#include "windows/dialogs/questlog.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/padding.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

const char* const HelpLines[] = {
    "mist on/off [or 0-8 ]",
    "dark on/off [or 0-8 ]",
    "rain on/off [or 0-7] (auto 50% darkness)",
    "snow on/off [or 0-7] (auto 50% darkness and 50% mist)",
    "zone # # [darkness: 0-8 and mist: 0-8 OR just 'off']",
    "light # [dusk: -100 to -1 (30 to 40 = sunset), dawn: 1 to 100 (60 to 70 = sunrise) - to set "
    "the light cycle]",
    "lighting on/off [to disable lighting in general]",
    "bar on/off [to show a spell & health bar on screen]",
    "plot data [showing some technical user movement data]",
    "shake # # [scale in px offset, duration in ms - to shake the camera ]",
    "layer # [-10 to +10'ish - just rendering that layer, test with 0]",
    "layer all [render all layers again]",
    "render debug/normal [in debug all available data/layers are rendered",
    "smith [open smithing window]",
    "journal [open journal window]",
    "house [open house window]",
    "guild [open guild window]",
    "guildfound [open guild founding window",
    "abilities [open abilities window (TODO)",
    "compiled [shows the date the client is compiled]",
    "could on/off [to disable world map clouds]",
    "self hide/show [to hide yourself, for screenshots]",
    "frametimes on/off [show frametimes in ms: current, average, min, max]",
    "speed on/off [show the creature speeds]",
};

// The zone state's fields: bits 0-6 mist * 9 + darkness, bit 7 a flag, 8-10 rain, 11-13 snow.
constexpr int32_t FallMax = 7, ShadeMax = 8, ShadeSteps = 9, LevelMask = 0x7F, RainShift = 8,
                  SnowShift = 11;
constexpr int32_t OnValue = 7;
// The shake's amplitude is a byte, as the server's shake carries it.
constexpr int32_t MaxShake = 255;
constexpr int32_t LightningDelay = 1000, LightningDuration = 5, MaxLight = 100;
// The second number of "zone" and "shake" starts after the command's first five bytes.
constexpr size_t NumbersStart = 5;
// The world drew no light word yet.
constexpr uint32_t NoLightWord = 0xFFFFFFFF;

// A signed decimal number: leading blanks skipped, 0 without digits, kept within 32 bits.
int32_t ReadNumber(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return int32_t(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

int32_t OnOffOrNumber(const std::string& text) {
    if (text == "off") return 0;
    if (text == "on") return OnValue;
    return ReadNumber(text);
}

// The two numbers of "zone # #" and "shake # #"; one number alone is read as both.
std::pair<int32_t, int32_t> ReadTwoNumbers(const std::string& command) {
    const size_t lastSpace = command.rfind(' ');
    const std::string first = lastSpace < NumbersStart || lastSpace == std::string::npos
                                  ? command.substr(std::min(NumbersStart, command.size()))
                                  : command.substr(NumbersStart, lastSpace - NumbersStart);
    const std::string second =
        lastSpace == std::string::npos ? std::string() : command.substr(lastSpace + 1);
    return {ReadNumber(first), ReadNumber(second)};
}

struct ZoneState {
    int32_t darkness, mist, rain, snow;

    explicit ZoneState(int32_t word)
        : darkness((word & LevelMask) % ShadeSteps),
          mist((word & LevelMask) / ShadeSteps),
          rain(word >> RainShift & FallMax),
          snow(word >> SnowShift & FallMax) {}

    // The flag bit is left clear.
    int32_t Word() const {
        return snow << SnowShift | rain << RainShift | ((mist * ShadeSteps + darkness) & LevelMask);
    }
};

// What a command works on.
struct CommandContext {
    Console& console;
    Core& core;
    const std::string& command;
    // The text after a prefix key.
    std::string argument;
};

struct CommandRow {
    const char* key;
    bool prefix;
    void (*run)(CommandContext& context);
};

Weather* ZoneWeather(Core& core) { return core.world ? core.world->weather : nullptr; }

// Changes one field of the zone state and pins it.
template <typename Change>
void PinZone(CommandContext& context, Change change) {
    Weather* weather = ZoneWeather(context.core);
    if (!weather) return;
    const uint32_t word = weather->lightValue == NoLightWord ? 0 : weather->lightValue;
    ZoneState state{int32_t(word)};
    change(state);
    weather->SetFixedLight(state.Word());
}

int32_t Within(int32_t value, int32_t max) { return std::clamp(value, 0, max); }

// The windows fill themselves from Core's records as they open.
void OpenDialog(CommandContext& context, Window* dialog) {
    context.core.AddWindow(dialog)->OnOpen();
}

template <typename Set>
void SetPlayer(CommandContext& context, Set set) {
    if (context.core.player) set(*context.core.player);
}

void SetWorld(CommandContext& context, void (*set)(World&)) {
    if (context.core.world) set(*context.core.world);
}

void SetBar(CommandContext& context, uint8_t visible) {
    if (auto* frame = dynamic_cast<Padding*>(context.core.FindWindow(WindowType::Padding)))
        frame->barVisible = visible;
}

void SetClouds(CommandContext& context, uint8_t shown) {
    if (context.core.mapDriver) context.core.mapDriver->cloudShown = shown;
}

// "Mar 15 2024": the compiler pads a day below 10 with a space, which is dropped here.
std::string BuildDate() {
    std::string date = __DATE__;
    if (date.size() > 4 && date[4] == ' ') date.erase(4, 1);
    return date;
}

const CommandRow Commands[] = {
    {"help", false,
     [](CommandContext& c) {
         for (const char* line : HelpLines) c.console.Reply(line);
     }},
    {"rain ", true,
     [](CommandContext& c) {
         const int32_t rain = Within(OnOffOrNumber(c.argument), FallMax);
         PinZone(c, [rain](ZoneState& s) { s.rain = rain; });
     }},
    {"lightning", false,
     [](CommandContext& c) {
         if (Weather* weather = ZoneWeather(c.core))
             weather->AddTimedEffect(0, LightningDelay, LightningDuration);
     }},
    {"snow ", true,
     [](CommandContext& c) {
         const int32_t snow = Within(OnOffOrNumber(c.argument), FallMax);
         PinZone(c, [snow](ZoneState& s) { s.snow = snow; });
     }},
    {"dark ", true,
     [](CommandContext& c) {
         const int32_t darkness = Within(OnOffOrNumber(c.argument), ShadeMax);
         PinZone(c, [darkness](ZoneState& s) { s.darkness = darkness; });
     }},
    {"mist ", true,
     [](CommandContext& c) {
         const int32_t mist = Within(OnOffOrNumber(c.argument), ShadeMax);
         PinZone(c, [mist](ZoneState& s) { s.mist = mist; });
     }},
    {"zone off", false,
     [](CommandContext& c) {
         if (Weather* weather = ZoneWeather(c.core)) weather->SetFixedLight(0);
     }},
    {"zone ", true,
     [](CommandContext& c) {
         const auto [darkRead, mistRead] = ReadTwoNumbers(c.command);
         const int32_t darkness = Within(darkRead, ShadeMax), mist = Within(mistRead, ShadeMax);
         c.console.Reply("darkness (0 - 8): " + std::to_string(darkness) + ", mist (0 - 8): " +
                         std::to_string(mist) + ", rain & snow cannot be changed via this method.");
         PinZone(c, [=](ZoneState& s) {
             s.darkness = darkness;
             s.mist = mist;
         });
     }},
    {"light ", true,
     [](CommandContext& c) {
         const int32_t light = ReadNumber(c.argument);
         if (light == 0 || light < -MaxLight || light > MaxLight) {
             c.console.Reply("The light value should be 1 - 100 OR -100 and -1");
             return;
         }
         if (Weather* weather = ZoneWeather(c.core)) weather->SetLight(light);
     }},
    {"lighting on", false,
     [](CommandContext& c) { SetWorld(c, [](World& w) { w.lightingEnabled = 1; }); }},
    {"lighting off", false,
     [](CommandContext& c) { SetWorld(c, [](World& w) { w.lightingEnabled = 0; }); }},
    {"bar on", false, [](CommandContext& c) { SetBar(c, 1); }},
    {"bar off", false, [](CommandContext& c) { SetBar(c, 0); }},
    {"plot data", false,
     [](CommandContext& c) {
         Channel* current = c.console.mainChatbox ? c.console.mainChatbox->current : nullptr;
         if (!current || !c.core.player) return;
         std::ostringstream dump;
         c.core.player->DebugDump(dump);
         current->AppendLine(MakeColorCode(170, 224, 170, 224) + dump.str());
     }},
    {"shake ", true,
     [](CommandContext& c) {
         const auto [amplitudeRead, durationRead] = ReadTwoNumbers(c.command);
         const int32_t amplitude = Within(amplitudeRead, MaxShake);
         const int32_t duration = std::max(durationRead, 0);
         c.console.Reply("scale: " + std::to_string(amplitude) +
                         ", duration: " + std::to_string(duration));
         if (Weather* weather = ZoneWeather(c.core))
             weather->AddShake(uint32_t(amplitude), 0, duration);
     }},
    {"layer all", false,
     [](CommandContext& c) {
         c.console.Reply("render all layers");
         SetWorld(c, [](World& w) { w.renderAllLayers = 1; });
     }},
    {"layer ", true,
     [](CommandContext& c) {
         const int32_t layer = ReadNumber(c.argument);
         c.console.Reply("render layer: " + std::to_string(layer));
         if (!c.core.world) return;
         c.core.world->renderAllLayers = 0;
         c.core.world->renderLayer = layer;
     }},
    {"render normal", false,
     [](CommandContext& c) {
         c.console.Reply("render optimised");
         SetWorld(c, [](World& w) { w.showAll = 0; });
     }},
    {"render debug", false,
     [](CommandContext& c) {
         c.console.Reply("render debug");
         SetWorld(c, [](World& w) { w.showAll = 1; });
     }},
    {"smith", false,
     [](CommandContext& c) {
         c.console.Reply("open smithing window");
         OpenDialog(c, new Craft(&c.core));
     }},
    {"journal", false,
     [](CommandContext& c) {
         c.console.Reply("open journal window");
         OpenDialog(c, new Questlog(&c.core));
     }},
    {"house", false,
     [](CommandContext& c) {
         c.console.Reply("open house window");
         OpenDialog(c, new House(&c.core));
     }},
    {"guild", false,
     [](CommandContext& c) {
         c.console.Reply("open guild window");
         OpenDialog(c, new Guild(&c.core));
     }},
    {"guildfound", false,
     [](CommandContext& c) {
         c.console.Reply("open guild founding window");
         OpenDialog(c, new Guildfound(&c.core));
     }},
    {"compiled", false, [](CommandContext& c) { c.console.Reply("compiled on " + BuildDate()); }},
    {"cloud on", false,
     [](CommandContext& c) {
         c.console.Reply("cloud enabled");
         SetClouds(c, 1);
     }},
    {"cloud off", false,
     [](CommandContext& c) {
         c.console.Reply("cloud disabled");
         SetClouds(c, 0);
     }},
    {"self show", false,
     [](CommandContext& c) {
         c.console.Reply("disable hiding self");
         SetPlayer(c, [](Creature& player) { player.visible = 1; });
     }},
    {"self hide", false,
     [](CommandContext& c) {
         c.console.Reply("enable hiding self");
         SetPlayer(c, [](Creature& player) { player.visible = 0; });
     }},
    {"frametimes on", false,
     [](CommandContext& c) {
         c.console.Reply("start showing frametimes: avg, min, max");
         c.core.showFrameTimes = 1;
     }},
    {"frametimes off", false,
     [](CommandContext& c) {
         c.console.Reply("stop showing frametimes: avg, min, max");
         c.core.showFrameTimes = 0;
     }},
    {"abilities", false,
     [](CommandContext& c) {
         if (c.core.activeConnection) c.core.activeConnection->SendAbilitiesRequest();
     }},
    {"speed on", false, [](CommandContext& c) { c.core.showSpeeds = 1; }},
    {"speed off", false, [](CommandContext& c) { c.core.showSpeeds = 0; }},
};

}  // namespace

void Console::Reply(const std::string& text) {
    Channel* current = mainChatbox ? mainChatbox->current : nullptr;
    if (current) current->AddLine(170, 224, 170, 224, text);
}

void Console::RunCommand(std::string line) {
    if (line.empty()) return;
    const std::string command = line.substr(1);
    for (const CommandRow& row : Commands) {
        const std::string key = row.key;
        const bool matches =
            row.prefix ? command.compare(0, key.size(), key) == 0 && command.size() >= key.size()
                       : command == key;
        if (!matches) continue;
        CommandContext context{*this, *core, command, row.prefix ? command.substr(key.size()) : ""};
        row.run(context);
        return;
    }
}
