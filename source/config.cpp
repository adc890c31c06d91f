#include "config.h"

#include <algorithm>
#include <cstring>

#include "core.h"
#include "driver/gfxdriver.h"
#include "fileio.h"

namespace {

constexpr const char* DefaultChannels = "World,Help,NPC";
constexpr const char* DefaultLanguage = "English";
constexpr const char* DefaultPanelLeft = "50,2,1,0,157;40,0,2,0,199";
constexpr const char* DefaultPanelRight = "21,41,2,0,200";
constexpr uint32_t DefaultWidth = 800;
constexpr uint32_t DefaultHeight = 600;
constexpr uint8_t DefaultDepth = 32;
constexpr int32_t NewFileTarget = 100;
constexpr int32_t MissingTarget = 50;
constexpr int32_t MinimumTarget = 10;
constexpr int32_t DefaultSlotLimit = 2;
constexpr const char* FunctionsHeading = "// Controls - functions";

// A boolean option byte with its value in a new file and its value when the file lacks it.
struct OptionKey {
    const char* key;
    uint8_t Options::*field;
    bool newFile;
    bool missing;
};

// The "Settings" section's boolean options in file order, in the three runs between which the
// section holds other keys.
constexpr OptionKey OptionsBeforeSlotLimit[] = {
    {"names", &Options::names, true, true},
    {"push", &Options::push, true, true},
    {"field", &Options::field, false, false},
    {"hudscreen", &Options::hudscreen, false, false},
    {"autoscreen", &Options::autoscreen, false, false},
    {"status", &Options::status, true, true},
    {"keys", &Options::keys, true, true},
    {"pixel", &Options::pixel, false, false},
    {"time", &Options::time, true, true},
    {"experience", &Options::experience, true, false},
    {"damage", &Options::damage, true, true},
    {"itemaps", &Options::itemaps, false, false},
    {"smiley", &Options::smiley, true, true},
    {"bar", &Options::bar, true, true},
    {"info", &Options::info, false, false},
    {"elastic", &Options::elastic, false, true},
    {"layers", &Options::layers, true, true},
    {"autocast", &Options::autocast, false, false},
    {"ofriends", &Options::ofriends, false, false},
    {"circle", &Options::circle, false, false},
    {"widescreen", &Options::widescreen, true, true},
    {"widescale", &Options::widescale, false, false},
    {"chatbottom", &Options::chatbottom, true, true},
    {"panel", &Options::panel, true, true},
    {"inventory", &Options::inventory, true, true},
    {"framerate", &Options::framerate, false, false},
    {"ping", &Options::ping, false, false},
    {"data", &Options::data, false, false},
    {"limit", &Options::limit, false, false},
};
constexpr OptionKey OptionsBeforeJournal[] = {
    {"lootcont", &Options::lootcont, true, true},   {"atimer", &Options::atimer, false, false},
    {"hidepush", &Options::hidepush, false, false}, {"nosplit", &Options::nosplit, false, false},
    {"showchat", &Options::showchat, true, true},   {"loginfo", &Options::loginfo, false, false},
    {"hudstatus", &Options::hudstatus, true, true}, {"hudbars", &Options::hudbars, true, true},
    {"holdmove", &Options::holdmove, false, false}, {"inverse", &Options::inverse, false, false},
    {"cursor", &Options::cursor, true, true},       {"smarkers", &Options::smarkers, true, true},
    {"stowns", &Options::stowns, true, true},       {"sjournal", &Options::sjournal, true, true},
};
constexpr OptionKey OptionsAfterJournal[] = {
    {"mping", &Options::mping, true, true},
    {"mexp", &Options::mexp, true, true},
    {"beta_mcap", &Options::beta_mcap, false, false},
    {"beta_mpool", &Options::beta_mpool, false, false},
    {"mchar", &Options::mchar, true, true},
    {"mjournal", &Options::mjournal, true, true},
    {"mhouse", &Options::mhouse, true, true},
    {"mstore", &Options::mstore, true, true},
    {"mfriends", &Options::mfriends, true, true},
    {"msetting", &Options::msetting, true, true},
    {"mguide", &Options::mguide, true, true},
    {"mreprt", &Options::mreprt, true, true},
    {"mlogout", &Options::mlogout, true, true},
};

// A key binding: its key, its index in Core::keys and its default scan code.
struct BindingKey {
    const char* key;
    uint32_t index;
    uint32_t code;
};

// The bindings in file order; the movement section has an empty line after the fourth.
constexpr BindingKey MovementKeys[] = {
    {"north", KeyNorth, 17},         {"east", KeyEast, 32},
    {"south", KeySouth, 31},         {"west", KeyWest, 30},
    {"northeast", KeyNorthEast, 18}, {"southeast", KeySouthEast, 46},
    {"southwest", KeySouthWest, 44}, {"northwest", KeyNorthWest, 16},
};
constexpr size_t StraightMovementKeys = 4;
constexpr BindingKey HotKeys[] = {
    {"F1", KeyF1 + 0, 2},  {"F2", KeyF1 + 1, 3},   {"F3", KeyF1 + 2, 4},    {"F4", KeyF1 + 3, 5},
    {"F5", KeyF1 + 4, 6},  {"F6", KeyF1 + 5, 7},   {"F7", KeyF1 + 6, 19},   {"F8", KeyF1 + 7, 20},
    {"F9", KeyF1 + 8, 33}, {"F10", KeyF1 + 9, 34}, {"F11", KeyF1 + 10, 47}, {"F12", KeyF1 + 11, 48},
};
constexpr BindingKey FunctionKeys[] = {
    {"trade", KeyTrade, 20},         {"invite", KeyInvite, 23}, {"stack", KeyStack, 19},
    {"print", KeyPrint, 25},         {"paste", KeyPaste, 47},   {"mode", KeyMode, 50},
    {"character", KeyCharacter, 46}, {"help", KeyHelp, 35},     {"bar", KeyBar, 48},
    {"friends", KeyFriends, 33},     {"map", KeyMap, 18},       {"journal", KeyJournal, 36},
};
constexpr BindingKey ActionKeys[] = {
    {"action1", KeyAction1 + 0, 21},
    {"action2", KeyAction1 + 1, 35},
    {"action3", KeyAction1 + 2, 49},
};

// Calls `visit` for every binding of the four control sections.
template <typename Visit>
void ForEachBinding(Visit visit) {
    for (const BindingKey& binding : MovementKeys) visit(binding);
    for (const BindingKey& binding : HotKeys) visit(binding);
    for (const BindingKey& binding : FunctionKeys) visit(binding);
    for (const BindingKey& binding : ActionKeys) visit(binding);
}

template <typename Visit>
void ForEachOption(Visit visit) {
    for (const OptionKey& option : OptionsBeforeSlotLimit) visit(option);
    for (const OptionKey& option : OptionsBeforeJournal) visit(option);
    for (const OptionKey& option : OptionsAfterJournal) visit(option);
}

}  // namespace

uint32_t DefaultKeyCode(uint32_t index) {
    uint32_t code = 0;
    ForEachBinding([&](const BindingKey& binding) {
        if (binding.index == index) code = binding.code;
    });
    return code;
}

namespace {

// --- Reading ---

// Where `head` starts in the first line at or after `from` that begins with it after its leading
// spaces; with `asKey`, a space or "=" must follow it. npos for none.
size_t FindLine(const std::string& text, const std::string& head, bool asKey, size_t from = 0) {
    while (from < text.size()) {
        size_t end = std::min(text.find('\n', from), text.size());
        size_t start = text.find_first_not_of(' ', from);
        size_t after = start + head.size();
        if (start < end && text.compare(start, head.size(), head) == 0 &&
            (!asKey || (after < end && (text[after] == ' ' || text[after] == '='))))
            return start;
        from = end + 1;
    }
    return std::string::npos;
}

size_t LineEnd(const std::string& text, size_t position) {
    return std::min(text.find('\n', position), text.size());
}

// A key's line holds the key, after leading spaces, followed by a space or "=".
size_t FindKey(const std::string& text, const std::string& key, size_t from = 0) {
    return FindLine(text, key, true, from);
}

// The value of the key found at `position`: its line from three characters after the key (the
// separator " = " is skipped unread) to the line's end.
std::string ValueAt(const std::string& text, size_t position, const std::string& key) {
    size_t start = position + key.size() + 3;
    size_t end = LineEnd(text, position);
    return start < end ? text.substr(start, end - start) : std::string();
}

// The leading decimal number of a text: spaces, an optional sign, then digits. False when there is
// none or it does not fit in 32 bits, read as signed or as unsigned (keys written unsigned read
// back whole).
bool ReadNumber(const std::string& text, int32_t& number) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > UINT32_MAX) return false;
    }
    if (negative) value = -value;
    if (value < INT32_MIN) return false;
    number = static_cast<int32_t>(static_cast<uint32_t>(value));
    return true;
}

std::vector<std::string> SplitList(const std::string& value) {
    std::vector<std::string> items;
    size_t start = 0;
    while (start < value.size()) {
        size_t comma = std::min(value.find(',', start), value.size());
        items.push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

// --- Writing ---

// The file text: sections as comment lines between empty lines, keys right-aligned in a field
// whose width the section sets.
class Layout {
public:
    void Section(const char* name, size_t keyWidth = 10) {
        if (!text.empty()) text += '\n';
        text += "// ";
        text += name;
        text += "\n\n";
        width = keyWidth;
    }
    void Blank() { text += '\n'; }
    // Control characters are dropped from the value: a line break in it would start a line of
    // its own in the file.
    void Line(const char* key, const std::string& value) {
        text.append(width - std::min(width, std::strlen(key)), ' ');
        text += key;
        text += " = ";
        for (char c : value)
            if (static_cast<unsigned char>(c) >= ' ') text += c;
        text += '\n';
    }
    void Bool(const char* key, bool value) { Line(key, value ? "true" : "false"); }
    void Signed(const char* key, int32_t value) { Line(key, std::to_string(value)); }
    void Unsigned(const char* key, uint32_t value) { Line(key, std::to_string(value)); }
    template <size_t N>
    void OptionLines(const Options& options, const OptionKey (&table)[N]) {
        for (const OptionKey& option : table) Bool(option.key, options.*option.field);
    }
    template <size_t N>
    void BindingLines(const uint32_t* keys, const BindingKey (&table)[N], size_t blankAfter = N) {
        for (size_t i = 0; i < N; ++i) {
            if (i == blankAfter) Blank();
            Unsigned(table[i].key, keys[table[i].index]);
        }
    }

    std::string text;

private:
    size_t width = 10;
};

std::string Join(const std::vector<std::string>& items) {
    std::string joined;
    for (size_t i = 0; i < items.size(); ++i) joined += (i ? "," : "") + items[i];
    return joined;
}

}  // namespace

Config::Config(Core* owner, const std::string& path) : owner(owner), path(path) {
    SetDefaults();
    if (FILE* file = fopen(path.c_str(), "r")) Read(file);
    else Write();
}

Config::~Config() { Write(); }

void Config::SetDefaults() {
    Core& core = *owner;
    core.fullscreen = 0;
    core.maximized = 0;
    core.configWidth = DefaultWidth;
    core.configHeight = DefaultHeight;
    core.depth = DefaultDepth;
    core.engine = DriverOpenGL;
    core.resolution = 0;
    core.targetFps = NewFileTarget;
    core.options.quality = 1;
    ForEachOption([&](const OptionKey& option) { core.options.*option.field = option.newFile; });
    core.slotLimit = DefaultSlotLimit;
    core.SetHost(DefaultHost);
    core.SetPort(DefaultPort);
    core.steamEnabled = 1;
    ForEachBinding([&](const BindingKey& binding) { core.keys[binding.index] = binding.code; });
    core.channelsPreset = DefaultChannels;
    core.SetLanguage(DefaultLanguage);
    core.panelLeftLayout = DefaultPanelLeft;
    core.panelRightLayout = DefaultPanelRight;
    core.panelDataLayout.clear();
}

void Config::Read(FILE* file) {
    std::string text;
    char chunk[4096];
    while (size_t count = fread(chunk, 1, sizeof chunk, file)) text.append(chunk, count);
    fclose(file);

    Core& core = *owner;
    core.fullscreen = ParseBool(text, "fullscreen", false);
    core.maximized = ParseBool(text, "maximized", false);
    core.configWidth = ParseInt(text, "width", DefaultWidth);
    core.configHeight = ParseInt(text, "height", DefaultHeight);
    core.depth = ParseByte(text, "depth", DefaultDepth);
    core.engine = ParseEngine(text, "engine");
    core.resolution = ParseByte(text, "resolution", 0);
    core.targetFps = std::max(ParseInt(text, "target", MissingTarget), MinimumTarget);

    core.options.quality = ParseQuality(text, "quality");
    ForEachOption([&](const OptionKey& option) {
        core.options.*option.field = ParseBool(text, option.key, option.missing);
    });
    core.slotLimit = ParseInt(text, "slotlimit", DefaultSlotLimit);
    core.journalFilter = ParseInt(text, "jfilter", 0);
    core.journalSelection = ParseString(text, "jselection", "");

    core.SetHost(ParseString(text, "host", DefaultHost));
    core.SetPort(ParseString(text, "port", DefaultPort));
    core.steamEnabled = ParseBool(text, "steam", true);
    ForEachBinding([&](const BindingKey& binding) { ParseKey(binding.index, text, binding.key); });

    core.channelsPreset = ParseString(text, "channels", DefaultChannels);
    core.loggedChannels = ParseList(text, "logs", {});
    core.enterCommands = ParseString(text, "console", "");
    for (const std::string& item : ParseList(text, "hide_hud", {})) {
        int32_t index;
        if (ReadNumber(item, index)) core.ToggleStatusShown(index & 0xFF);
    }
    core.SetLanguage(ParseString(text, "language", DefaultLanguage));
    for (const std::string& name : ParseList(text, "foes", {})) core.AddFoe(name);
    for (const std::string& name : ParseList(text, "ignored", {})) core.AddMuted(name);
    core.panelLeftLayout = ParseString(text, "panel_left", DefaultPanelLeft);
    core.panelRightLayout = ParseString(text, "panel_right", DefaultPanelRight);
    core.panelDataLayout = ParseString(text, "panel_data", "");
    core.ParsePanelData();

    TestWalker& walker = core.testWalker;
    walker.testing = ParseBool(text, "testing", false);
    walker.autoUsername = ParseString(text, "auto_username", "");
    walker.autoPassword = ParseString(text, "auto_password", "");
    walker.autoCharacter = ParseInt(text, "auto_character", 0);
    walker.autoIncrement = ParseInt(text, "auto_increment", 0);

    if (core.fullscreen) {
        core.clientWidth = GetSystemMetrics(SM_CXSCREEN);
        core.clientHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    if (core.maximized) {
        core.clientWidth = DefaultWidth;
        core.clientHeight = DefaultHeight;
    }
}

std::string Config::Format() const {
    const Core& core = *owner;
    Layout out;
    out.Section("Video");
    out.Bool("fullscreen", core.fullscreen);
    out.Bool("maximized", core.maximized);
    out.Signed("width", core.configWidth);
    out.Signed("height", core.configHeight);
    out.Unsigned("depth", core.depth);
    out.Line("engine", core.engine == DriverDirectX ? "DirectX" : "OpenGL");
    out.Unsigned("resolution", core.resolution);
    out.Signed("target", core.targetFps);

    out.Section("Settings");
    out.Line("quality", core.options.quality ? "high" : "low");
    out.OptionLines(core.options, OptionsBeforeSlotLimit);
    out.Signed("slotlimit", core.slotLimit);
    out.OptionLines(core.options, OptionsBeforeJournal);
    out.Unsigned("jfilter", core.journalFilter);
    out.Line("jselection", core.journalSelection);
    out.OptionLines(core.options, OptionsAfterJournal);

    out.Section("Network");
    out.Line("host", core.host);
    out.Line("port", core.port);
    out.Bool("steam", core.steamEnabled);

    out.Section("Controls - movement");
    out.BindingLines(core.keys, MovementKeys, StraightMovementKeys);
    out.Section("Controls - hotkeys");
    out.BindingLines(core.keys, HotKeys);
    out.Section("Controls - functions");
    out.BindingLines(core.keys, FunctionKeys);
    out.Section("Controls - actions");
    out.BindingLines(core.keys, ActionKeys);

    out.Section("Presets");
    out.Line("channels", core.channelsPreset);
    out.Line("logs", Join(core.loggedChannels));
    out.Line("console", core.enterCommands);
    std::string hidden;
    for (size_t i = 0; i < core.statusEffects.size(); ++i)
        if (!core.statusEffects[i].shown) hidden += (hidden.empty() ? "" : ",") + std::to_string(i);
    out.Line("hide_hud", hidden);
    out.Line("language", core.language);
    out.Line("foes", Join(core.foes));
    out.Line("ignored", Join(core.muted));

    out.Section("Panels", 11);
    out.Line("panel_left", core.panelLeftLayout);
    out.Line("panel_right", core.panelRightLayout);
    out.Line("panel_data", core.panelDataLayout);

    const TestWalker& walker = core.testWalker;
    if (walker.testing) {
        out.Section("Testing", 14);
        out.Bool("testing", true);
        out.Line("auto_username", walker.autoUsername);
        out.Line("auto_password", walker.autoPassword);
        out.Signed("auto_character", walker.autoCharacter);
        out.Signed("auto_increment", walker.autoIncrement);
    }
    return out.text;
}

bool Config::Write() {
    const std::string text = Format();
    return WriteFileReplacing(path, "w", [&text](FILE* file) {
        return fwrite(text.data(), 1, text.size(), file) == text.size();
    });
}

bool Config::ParseBool(const std::string& text, const std::string& key, bool fallback) {
    size_t position = FindKey(text, key);
    if (position == std::string::npos) return fallback;
    std::string line = text.substr(position, LineEnd(text, position) - position);
    if (line.find("true") != std::string::npos) return true;
    if (line.find("false") != std::string::npos) return false;
    return fallback;
}

int32_t Config::ParseInt(const std::string& text, const std::string& key, int32_t fallback) {
    size_t position = FindKey(text, key);
    int32_t number;
    if (position == std::string::npos || !ReadNumber(ValueAt(text, position, key), number))
        return fallback;
    return number;
}

uint8_t Config::ParseByte(const std::string& text, const std::string& key, uint8_t fallback) {
    return static_cast<uint8_t>(ParseInt(text, key, fallback));
}

uint32_t Config::ParseEngine(const std::string& text, const std::string& key) {
    return ParseString(text, key, "").find("DirectX") != std::string::npos ? DriverDirectX
                                                                           : DriverOpenGL;
}

uint8_t Config::ParseQuality(const std::string& text, const std::string& key) {
    std::string value = ParseString(text, key, "");
    return value.find("high") != std::string::npos || value.find("low") == std::string::npos;
}

std::string Config::ParseString(const std::string& text, const std::string& key,
                                const std::string& fallback) {
    size_t position = FindKey(text, key);
    return position == std::string::npos ? fallback : ValueAt(text, position, key);
}

std::vector<std::string> Config::ParseList(const std::string& text, const std::string& key,
                                           const std::vector<std::string>& fallback) {
    size_t position = FindKey(text, key);
    return position == std::string::npos ? fallback : SplitList(ValueAt(text, position, key));
}

void Config::ParseKey(uint32_t index, const std::string& text, const std::string& key) {
    // "bar" is also an option of the "Settings" section: the binding is the one after the
    // functions heading.
    size_t from = 0;
    if (index == KeyBar) {
        from = FindLine(text, FunctionsHeading, false);
        if (from == std::string::npos) return;
    }
    size_t position = FindKey(text, key, from);
    int32_t code;
    if (position != std::string::npos && ReadNumber(ValueAt(text, position, key), code) && code)
        owner->keys[index] = code;
}
