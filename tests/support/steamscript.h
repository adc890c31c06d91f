#pragma once
// The control file and the log of the stand-in Steam library (tests/support/steamstub), kept
// beside the test program, where the client finds the library. The script lives as long as the
// object: its control file says what the library answers, and its log what it was asked.
#include <string>
#include <vector>

class SteamScript {
public:
    // Writes the control file ("key value" lines) and starts an empty log.
    explicit SteamScript(const std::string& control);
    ~SteamScript();
    SteamScript(const SteamScript&) = delete;
    SteamScript& operator=(const SteamScript&) = delete;

    void Rewrite(const std::string& control);
    std::vector<std::string> Log() const;
    int Count(const std::string& line) const;

private:
    std::string controlPath;
    std::string logPath;
};
