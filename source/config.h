#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class Core;

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
    // Replaces the file with Format(); a file that cannot be opened is silently not written.
    void Write();
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
