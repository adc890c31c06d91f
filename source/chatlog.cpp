#include "chatlog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "font.h"
#include "platform.h"

namespace {

constexpr const char* LogRoot = "logs";
constexpr const char* ForbiddenBytes = "/\\:*?\"<>|";
// The device names Windows opens whatever folder they stand in, also with an extension.
constexpr const char* DeviceNames[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2",
                                       "COM3", "COM4", "COM5", "COM6", "COM7", "COM8",
                                       "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5",
                                       "LPT6", "LPT7", "LPT8", "LPT9"};

std::string TwoDigits(unsigned value) {
    char text[8];
    snprintf(text, sizeof text, "%02u", value % 100);
    return text;
}

bool IsDeviceName(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    // Trailing spaces before the extension are dropped by the system too.
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    return std::find(std::begin(DeviceNames), std::end(DeviceNames), stem) != std::end(DeviceNames);
}

}  // namespace

bool IsLogFolderName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    for (unsigned char c : name)
        if (c < 32 || std::strchr(ForbiddenBytes, c)) return false;
    return !IsDeviceName(name);
}

std::string ChatLogRecord(const SYSTEMTIME& time, const std::string& line) {
    return "[" + TwoDigits(time.wHour) + ":" + TwoDigits(time.wMinute) + ":" +
           TwoDigits(time.wSecond) + "." + std::to_string(time.wMilliseconds / 100 % 10) + "] " +
           Font::PlainText(line) + "\n";
}

std::string ChatLogPath(const std::string& name, const SYSTEMTIME& time) {
    return std::string(LogRoot) + "/" + name + "/" + std::to_string(time.wYear) + "-" +
           TwoDigits(time.wMonth) + "-" + TwoDigits(time.wDay) + ".txt";
}

void CreateChatLogFolder(const std::string& name) {
    if (!IsLogFolderName(name)) return;
    CreateDirectoryA(LogRoot, nullptr);
    CreateDirectoryA((std::string(LogRoot) + "/" + name).c_str(), nullptr);
}

void WriteChatLog(const std::string& name, const std::string& line) {
    if (!IsLogFolderName(name)) return;
    const SYSTEMTIME now = LocalTime();
    const std::string path = ChatLogPath(name, now);
    FILE* file = fopen(path.c_str(), "ab");
    if (!file) {
        // The folders went away since logging began: make them again and retry once.
        CreateChatLogFolder(name);
        file = fopen(path.c_str(), "ab");
    }
    if (!file) return;
    const std::string record = ChatLogRecord(now, line);
    fwrite(record.data(), 1, record.size(), file);
    fclose(file);
}
