#include "support/steamscript.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

std::string BesideProgram(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path, length);
    return program.substr(0, program.find_last_of("\\/") + 1) + name;
}

}  // namespace

SteamScript::SteamScript(const std::string& control)
    : controlPath(BesideProgram("steam_stub.txt")), logPath(BesideProgram("steam_stub.log")) {
    std::remove(logPath.c_str());
    Rewrite(control);
}

SteamScript::~SteamScript() {
    std::remove(controlPath.c_str());
    std::remove(logPath.c_str());
}

void SteamScript::Rewrite(const std::string& control) {
    std::ofstream(controlPath, std::ios::binary | std::ios::trunc) << control;
}

std::vector<std::string> SteamScript::Log() const {
    std::vector<std::string> lines;
    std::ifstream file(logPath);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

int SteamScript::Count(const std::string& line) const {
    const std::vector<std::string> lines = Log();
    return int(std::count(lines.begin(), lines.end(), line));
}
