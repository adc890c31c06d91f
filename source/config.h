#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class Core;

// Indexes into Core::keys, in settings-file order.
enum KeyBinding : uint32_t {
    KeyNorth,
    KeyNorthEast,
    KeyEast,
    KeySouthEast,
    KeySouth,
    KeySouthWest,
    KeyWest,
    KeyNorthWest,
    KeyF1,
    KeyF12 = KeyF1 + 11,
    KeyTrade,
    KeyInvite,
    KeyStack,
    KeyPrint,
    KeyPaste,
    KeyMode,
    KeyCharacter,
    KeyHelp,
    KeyBar,
    KeyFriends,
    KeyMap,
    KeyJournal,
    KeyAction1,
    KeyAction3 = KeyAction1 + 2,
    KeyCount
};

// The game server of a new settings file, which the network page's "default" offers again.
constexpr const char* DefaultHost = "127.0.0.1";
constexpr const char* DefaultPort = "4080";

// The factory binding of an entry of Core::keys (0 for an index past the table).
uint32_t DefaultKeyCode(uint32_t index);

// The option bytes of the settings file, one per key: 0 false, 1 true (quality: 1 high, 0 low).
struct Options {
    uint8_t quality, names, push, field, hudscreen, autoscreen, status, keys, pixel, time,
        experience, damage, itemaps, smiley, bar, info, elastic, layers, autocast, ofriends, circle,
        widescreen, widescale, chatbottom, panel, inventory, framerate, ping, data, limit, lootcont,
        atimer, hidepush, nosplit, showchat, loginfo, hudstatus, hudbars, holdmove, inverse, cursor,
        smarkers, stowns, sjournal, mping, mexp, beta_mcap, beta_mpool, mchar, mjournal, mhouse,
        mstore, mfriends, msetting, mguide, mreprt, mlogout;
};

// Test-client settings: the client logs in and walks by itself.
struct TestWalker {
    uint8_t testing;
    std::string autoUsername;
    std::string autoPassword;
    int32_t autoCharacter;  // as the settings file keeps it: already the next run's avatar
    int32_t autoIncrement;
    int32_t runCharacter;  // the avatar index this run picks from the avatar list
};

// The settings file: fills Core's settings fields from it at start-up and writes them back. The
// file is 8-bit text in text mode, one "key = value" line per setting, the keys right-aligned in
// sections that start with a "// name" comment line.
class Config {
public:
    // Sets the defaults, then reads the file, or writes a new one with the defaults when it
    // cannot be opened.
    Config(Core* owner, const std::string& path);
    // Writes the file with the values of the moment.
    virtual ~Config();
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;

    // Stores the new-file value of every key but those whose start values come from Core itself.
    void SetDefaults();
    // Reads the whole open file into Core's fields and closes it.
    void Read(FILE* file);
    // Replaces the file with Format() through a new file beside it, which is then moved over it.
    // False when any step fails: the old file is then left as it was and nothing is shown.
    bool Write();
    // The whole file text, line ends as line feeds.
    std::string Format() const;

    // Value readers over the whole file text. A key without a line gives the fallback, and so
    // does a number that cannot be read, so no value can stop start-up.
    static bool ParseBool(const std::string& text, const std::string& key, bool fallback);
    static int32_t ParseInt(const std::string& text, const std::string& key, int32_t fallback);
    static uint8_t ParseByte(const std::string& text, const std::string& key, uint8_t fallback);
    static uint32_t ParseEngine(const std::string& text, const std::string& key);
    static uint8_t ParseQuality(const std::string& text, const std::string& key);
    static std::string ParseString(const std::string& text, const std::string& key,
                                   const std::string& fallback);
    static std::vector<std::string> ParseList(const std::string& text, const std::string& key,
                                              const std::vector<std::string>& fallback);
    // Stores the binding into Core::keys[index]; a missing binding or one reading as 0 keeps the
    // one the key had.
    void ParseKey(uint32_t index, const std::string& text, const std::string& key);

private:
    Core* owner;
    std::string path;
};
