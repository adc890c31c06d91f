#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "config.h"
#include "core.h"
#include "driver/gfxdriver.h"
#include "support/startup.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        char chunk[4096];
        while (size_t count = fread(chunk, 1, sizeof chunk, file)) bytes.append(chunk, count);
        fclose(file);
    }
    return bytes;
}

void WriteText(const std::string& path, const std::string& text) {
    FILE* file = fopen(path.c_str(), "w");
    fputs(text.c_str(), file);
    fclose(file);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A started core whose settings fields the tests read files into.
class ConfigTest : public StartedCore {
protected:
    // Reads `text` as the settings file, with the lists as start-up has them: the reader adds to
    // them.
    void ReadSettings(const std::string& text) {
        WriteText("case.config", text);
        core->foes.clear();
        core->muted.clear();
        for (StatusEffect& effect : core->statusEffects) effect.shown = 1;
        Config config(core, "case.config");
    }

    std::vector<uint8_t> OptionBytes() const {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&core->options);
        return std::vector<uint8_t>(bytes, bytes + sizeof(Options));
    }

    std::vector<size_t> HiddenStatus() const {
        std::vector<size_t> hidden;
        for (size_t i = 0; i < core->statusEffects.size(); ++i)
            if (!core->statusEffects[i].shown) hidden.push_back(i);
        return hidden;
    }
};

// --- Reading ---

struct ReadCase {
    const char* file;
    std::function<void(const Core&)> check;
};

TEST_F(ConfigTest, ReaderRules) {
    using Names = std::vector<std::string>;
    const ReadCase cases[] = {
        // Keys without a line take their values for a missing line.
        {"width = 1024\n",
         [](const Core& c) {
             EXPECT_EQ(c.configWidth, 1024u);
             EXPECT_EQ(c.configHeight, 600u);
             EXPECT_EQ(c.targetFps, 50u);
             EXPECT_EQ(c.options.experience, 0);
             EXPECT_EQ(c.options.elastic, 1);
             EXPECT_EQ(c.options.names, 1);
             EXPECT_EQ(c.options.quality, 1);
             EXPECT_EQ(c.engine, DriverOpenGL);
             EXPECT_EQ(c.depth, 32);
             EXPECT_EQ(c.port, "4080");
             EXPECT_EQ(c.channelsPreset, "World,Help,NPC");
             EXPECT_EQ(c.panelLeftLayout, "50,2,1,0,157;40,0,2,0,199");
             EXPECT_EQ(c.keys[KeyNorth], 17u);
             EXPECT_EQ(c.keys[KeyBar], 48u);
             EXPECT_EQ(c.testWalker.testing, 0);
         }},
        {"", [](const Core& c) { EXPECT_EQ(c.targetFps, 50u); }},
        // Numbers: the leading decimal number; one that cannot be read takes the fallback.
        {"target = 3", [](const Core& c) { EXPECT_EQ(c.targetFps, 10u); }},
        {"target = 250", [](const Core& c) { EXPECT_EQ(c.targetFps, 250u); }},
        {"target = -7", [](const Core& c) { EXPECT_EQ(c.targetFps, 10u); }},
        {"target = fast", [](const Core& c) { EXPECT_EQ(c.targetFps, 50u); }},
        {"width = abc", [](const Core& c) { EXPECT_EQ(c.configWidth, 800u); }},
        {"width = 99999999999", [](const Core& c) { EXPECT_EQ(c.configWidth, 800u); }},
        {"width = -", [](const Core& c) { EXPECT_EQ(c.configWidth, 800u); }},
        {"width = ", [](const Core& c) { EXPECT_EQ(c.configWidth, 800u); }},
        {"width =", [](const Core& c) { EXPECT_EQ(c.configWidth, 800u); }},
        {"width =  +1024px", [](const Core& c) { EXPECT_EQ(c.configWidth, 1024u); }},
        {"depth = 300", [](const Core& c) { EXPECT_EQ(c.depth, 44); }},
        {"jfilter = 4294967295", [](const Core& c) { EXPECT_EQ(c.journalFilter, 0xFFFFFFFFu); }},
        {"jfilter = 4294967296", [](const Core& c) { EXPECT_EQ(c.journalFilter, 0u); }},
        {"slotlimit = -3", [](const Core& c) { EXPECT_EQ(c.slotLimit, -3); }},
        // Booleans: "true" anywhere on the line wins, then "false", else the missing value.
        {"names = untrue", [](const Core& c) { EXPECT_EQ(c.options.names, 1); }},
        {"names = false", [](const Core& c) { EXPECT_EQ(c.options.names, 0); }},
        {"names = 0\nelastic = no\nexperience = yes",
         [](const Core& c) {
             EXPECT_EQ(c.options.names, 1);
             EXPECT_EQ(c.options.elastic, 1);
             EXPECT_EQ(c.options.experience, 0);
         }},
        {"engine = Direct", [](const Core& c) { EXPECT_EQ(c.engine, DriverOpenGL); }},
        {"engine = DirectX", [](const Core& c) { EXPECT_EQ(c.engine, DriverDirectX); }},
        {"quality = low", [](const Core& c) { EXPECT_EQ(c.options.quality, 0); }},
        {"quality = medium", [](const Core& c) { EXPECT_EQ(c.options.quality, 1); }},
        // A key's line: after leading spaces, the key followed by a space or "="; the first wins.
        {"  mping = false\n   ping = true\nF10 = 5\nF1 = 6\nwidth = 1\nwidth = 2\nheightx = 7",
         [](const Core& c) {
             EXPECT_EQ(c.options.mping, 0);
             EXPECT_EQ(c.options.ping, 1);
             EXPECT_EQ(c.keys[KeyF1], 6u);
             EXPECT_EQ(c.keys[KeyF1 + 9], 5u);
             EXPECT_EQ(c.configWidth, 1u);
             EXPECT_EQ(c.configHeight, 600u);
         }},
        // The binding "bar" is the first "bar" line after the functions heading.
        {"bar = false\n// Controls - functions\n       bar = 30\n",
         [](const Core& c) {
             EXPECT_EQ(c.options.bar, 0);
             EXPECT_EQ(c.keys[KeyBar], 30u);
         }},
        {"bar = 30\n",
         [](const Core& c) {
             EXPECT_EQ(c.options.bar, 1);
             EXPECT_EQ(c.keys[KeyBar], 48u);
         }},
        // A binding that is missing, unreadable or 0 keeps its default.
        {"north = 0\neast = W\nsouth = 57\naction3 = 300",
         [](const Core& c) {
             EXPECT_EQ(c.keys[KeyNorth], 17u);
             EXPECT_EQ(c.keys[KeyEast], 32u);
             EXPECT_EQ(c.keys[KeySouth], 57u);
             EXPECT_EQ(c.keys[KeyAction3], 300u);
             EXPECT_EQ(c.keys[KeyWest], 30u);
         }},
        // Texts and lists are stored unchanged.
        {"channels = A, B \nconsole = /a;/b\njselection =  x\nhost = example.test\nport = 7171",
         [](const Core& c) {
             EXPECT_EQ(c.channelsPreset, "A, B ");
             EXPECT_EQ(c.enterCommands, "/a;/b");
             EXPECT_EQ(c.journalSelection, " x");
             EXPECT_EQ(c.host, "example.test");
             EXPECT_EQ(c.port, "7171");
         }},
        {"foes = \nignored = a,,b",
         [](const Core& c) {
             EXPECT_EQ(c.foes, Names{});
             EXPECT_EQ(c.muted, (Names{"a", "", "b"}));
         }},
        {"foes = a,b,",
         [](const Core& c) {
             EXPECT_EQ(c.foes, (Names{"a", "b"}));
         }},
        // The logged channels are the list alone; "loginfo" logs the Info channel by itself.
        {"loginfo = true\nlogs = ",
         [](const Core& c) {
             EXPECT_EQ(c.loggedChannels, Names{});
             EXPECT_EQ(c.options.loginfo, 1);
         }},
        {"loginfo = true\nlogs = World",
         [](const Core& c) { EXPECT_EQ(c.loggedChannels, Names{"World"}); }},
        // Test-client settings.
        {"testing = true\nauto_username = tester\nauto_password = p w\nauto_character = 2\n"
         "auto_increment = 3",
         [](const Core& c) {
             EXPECT_EQ(c.testWalker.testing, 1);
             EXPECT_EQ(c.testWalker.autoUsername, "tester");
             EXPECT_EQ(c.testWalker.autoPassword, "p w");
             EXPECT_EQ(c.testWalker.autoCharacter, 2);
             EXPECT_EQ(c.testWalker.autoIncrement, 3);
         }},
        // Maximised or fullscreen, the client size follows the mode.
        {"maximized = true\n     width = 1280\n",
         [](const Core& c) {
             EXPECT_EQ(c.maximized, 1);
             EXPECT_EQ(c.configWidth, 1280u);
             EXPECT_EQ(c.clientWidth, 800u);
             EXPECT_EQ(c.clientHeight, 600u);
         }},
        {"fullscreen = true\n",
         [](const Core& c) {
             EXPECT_EQ(c.clientWidth, static_cast<uint32_t>(GetSystemMetrics(SM_CXSCREEN)));
             EXPECT_EQ(c.clientHeight, static_cast<uint32_t>(GetSystemMetrics(SM_CYSCREEN)));
         }},
    };
    for (const ReadCase& readCase : cases) {
        SCOPED_TRACE(readCase.file);
        ReadSettings(readCase.file);
        readCase.check(*core);
    }
}

// Listed indicators are flipped from shown to hidden, by the low 8 bits of their number.
TEST_F(ConfigTest, HiddenIndicators) {
    using Indexes = std::vector<size_t>;
    const std::pair<const char*, Indexes> cases[] = {
        {"3", {3}}, {"3,3", {}}, {"99", {}}, {"259", {3}}, {"5,2", {2, 5}}, {"x,4,", {4}}, {"", {}},
    };
    for (const auto& [value, hidden] : cases) {
        SCOPED_TRACE(value);
        ReadSettings(std::string("hide_hud = ") + value + "\n");
        EXPECT_EQ(HiddenStatus(), hidden);
    }
}

// Every boolean key fills one option byte of its own.
TEST_F(ConfigTest, EachOptionKeyHasItsOwnByte) {
    ReadSettings("");
    const std::vector<uint8_t> missing = OptionBytes();
    std::string layout = core->config->Format();
    std::set<size_t> used;
    size_t booleans = 0;
    for (size_t line = layout.find("// Settings"); line < layout.find("// Network");
         line = layout.find('\n', line) + 1) {
        std::string text = layout.substr(line, layout.find('\n', line) - line);
        size_t equals = text.find(" = ");
        if (equals == std::string::npos ||
            (text.substr(equals + 3) != "true" && text.substr(equals + 3) != "false"))
            continue;
        size_t start = text.find_first_not_of(' ');
        std::string key = text.substr(start, equals - start);
        SCOPED_TRACE(key);
        ++booleans;
        std::vector<size_t> changed;
        for (const char* value : {"true", "false"}) {
            ReadSettings(key + " = " + value + "\n");
            std::vector<uint8_t> bytes = OptionBytes();
            for (size_t i = 0; i < bytes.size(); ++i)
                if (bytes[i] != missing[i]) changed.push_back(i);
        }
        ASSERT_EQ(changed.size(), 1u);
        EXPECT_TRUE(used.insert(changed[0]).second) << "shares a byte with another key";
    }
    EXPECT_EQ(booleans, sizeof(Options) - 1);  // all but quality
}

// --- Writing ---

TEST_F(ConfigTest, StartUpWithoutAFileWritesTheDefaults) {
    std::string bytes = ReadBytes("data/Veltor.config");
    EXPECT_EQ(bytes.rfind("// Video\r\n\r\nfullscreen = false\r\n maximized = false\r\n", 0), 0u);
    for (const char* line : {"\r\n     width = 800\r\n", "\r\n    target = 100\r\n",
                             "\r\n   quality = high\r\n", "\r\nexperience = true\r\n",
                             "\r\n   elastic = false\r\n", "\r\n      host = 127.0.0.1\r\n",
                             "\r\n  hide_hud = \r\n", "\r\n  channels = World,Help,NPC\r\n",
                             "\r\n      west = 30\r\n\r\n northeast = 18\r\n"}) {
        EXPECT_NE(bytes.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(bytes.find("// Testing"), std::string::npos);
    const std::string ending =
        "\r\n   ignored = \r\n\r\n// Panels\r\n\r\n panel_left = 50,2,1,0,157;40,0,2,0,199\r\n"
        "panel_right = 21,41,2,0,200\r\n panel_data = \r\n";
    ASSERT_GE(bytes.size(), ending.size());
    EXPECT_EQ(bytes.substr(bytes.size() - ending.size()), ending);
}

// Values that differ from every default, each form included, come back byte for byte.
TEST_F(ConfigTest, ReadingAndWritingBackGivesTheSameBytes) {
    for (uint8_t pattern : {0, 1}) {
        SCOPED_TRACE(pattern);
        uint8_t* options = reinterpret_cast<uint8_t*>(&core->options);
        for (size_t i = 0; i < sizeof(Options); ++i) options[i] = (i + pattern) % 2;
        for (uint32_t i = 0; i < KeyCount; ++i) core->keys[i] = 300 + i;
        core->keys[KeyBar] = 0xFFFFFFFF;
        core->fullscreen = pattern;
        core->maximized = 1 - pattern;
        core->configWidth = pattern ? 1024 : static_cast<uint32_t>(-1);
        core->depth = 255;
        core->engine = pattern ? DriverDirectX : DriverOpenGL;
        core->resolution = 11;
        core->targetFps = 144;
        core->slotLimit = -2;
        core->journalFilter = 0xFFFFFFFF;
        core->journalSelection = "Quest: a = b";
        core->host = "::1";
        core->steamEnabled = pattern;
        core->loggedChannels = {"World", "Trade"};
        core->enterCommands = "/a;/b";
        core->statusEffects[2].shown = 0;
        core->statusEffects[30].shown = 0;
        core->foes = {"Foe One", "x"};
        core->muted = {"Quiet"};
        core->panelDataLayout = "Hero;1;a;b|";
        core->testWalker = {1, "tester", "secret", 2, 3, 0};
        core->config->Write();
        const std::string written = ReadBytes("data/Veltor.config");

        ReadSettings("");  // every field back to what a file without lines gives
        core->foes.clear();
        core->muted.clear();
        for (StatusEffect& effect : core->statusEffects) effect.shown = 1;
        { Config reread(core, "data/Veltor.config"); }
        EXPECT_EQ(ReadBytes("data/Veltor.config"), written);
        EXPECT_NE(written.find("\r\n// Testing\r\n\r\n       testing = true\r\n"),
                  std::string::npos);
        EXPECT_NE(written.find("\r\n  hide_hud = 2,30\r\n"), std::string::npos);
        EXPECT_NE(written.find("\r\n       bar = 4294967295\r\n"), std::string::npos);
    }
}

// A value's control characters are dropped, so none can start a line of its own; bytes from 128
// up are text and stay.
TEST_F(ConfigTest, ValuesLoseTheirControlCharacters) {
    using Names = std::vector<std::string>;
    const std::pair<std::function<void(Core&)>, const char*> cases[] = {
        {[](Core& c) { c.host = "a\nb"; }, "\n      host = ab\n"},
        {[](Core& c) { c.port = "\r71\00171\037"; }, "\n      port = 7171\n"},
        {[](Core& c) {
             c.foes = Names{"Fo\ne", "\tx"};
         },
         "\n      foes = Foe,x\n"},
        {[](Core& c) { c.muted = Names{"a\r\n"}; }, "\n   ignored = a\n"},
        {[](Core& c) { c.loggedChannels = Names{"Wo\nrld"}; }, "\n      logs = World\n"},
        {[](Core& c) { c.channelsPreset = "\x7f\xe9\n"; }, "\n  channels = \x7f\xe9\n"},
        {[](Core& c) { c.testWalker.autoUsername = "te\nster"; }, "\n auto_username = tester\n"},
    };
    // Every section written, the test-client one too.
    const auto start = [this] {
        ReadSettings("");
        core->testWalker.testing = 1;
    };
    start();
    const std::string clean = core->config->Format();
    for (const auto& [set, line] : cases) {
        SCOPED_TRACE(line);
        start();
        set(*core);
        const std::string text = core->config->Format();
        EXPECT_NE(text.find(line), std::string::npos);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
                  std::count(clean.begin(), clean.end(), '\n'));
    }
}

// The new text goes to a file beside the old one first: when that fails the old file stays as it
// was, nothing is shown and the client goes on.
TEST_F(ConfigTest, FailedSaveKeepsTheOldFile) {
    WriteText("data/Veltor.config", "// Video\n\n     width = 1024\n");
    const std::string before = ReadBytes("data/Veltor.config");
    ASSERT_TRUE(CreateDirectoryA("data/Veltor.config.new", nullptr));
    core->configWidth = 640;
    EXPECT_FALSE(core->config->Write());
    core->SaveConfig();
    EXPECT_EQ(ReadBytes("data/Veltor.config"), before);
    EXPECT_TRUE(FakePlatform::boxes.empty());
    ASSERT_TRUE(RemoveDirectoryA("data/Veltor.config.new"));

    // Once the way is clear the next save replaces the file and leaves no new file behind.
    core->SaveConfig();
    EXPECT_NE(ReadBytes("data/Veltor.config").find("\r\n     width = 640\r\n"), std::string::npos);
    EXPECT_FALSE(Exists("data/Veltor.config.new"));
}

// A file that cannot be replaced (held open without leave to delete it) keeps its bytes, and the
// new file written for it is removed.
TEST_F(ConfigTest, FailedReplaceRemovesTheNewFile) {
    WriteText("data/Veltor.config", "width = 1024\n");
    const std::string before = ReadBytes("data/Veltor.config");
    HANDLE held = CreateFileA("data/Veltor.config", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(core->config->Write());
    CloseHandle(held);
    EXPECT_EQ(ReadBytes("data/Veltor.config"), before);
    EXPECT_FALSE(Exists("data/Veltor.config.new"));
}

TEST_F(ConfigTest, FileThatCannotBeWrittenIsSkippedSilently) {
    { Config config(core, "no-such-folder/Veltor.config"); }
    EXPECT_FALSE(Exists("no-such-folder/Veltor.config"));
    EXPECT_EQ(core->configWidth, 800u);
    EXPECT_TRUE(FakePlatform::boxes.empty());
}

}  // namespace

namespace {

// The muted people window keeps its names in one line, joined with commas.
TEST_F(ConfigTest, MutedNamesGoToOneLineAndComeBack) {
    core->muted = {"Ann", "Bob"};
    core->config->Write();
    const std::string written = ReadBytes("data/Veltor.config");
    EXPECT_NE(written.find("ignored = Ann,Bob\r\n"), std::string::npos);
    core->muted.clear();
    { Config reread(core, "data/Veltor.config"); }
    EXPECT_EQ(core->muted, (std::vector<std::string>{"Ann", "Bob"}));
}

}  // namespace
