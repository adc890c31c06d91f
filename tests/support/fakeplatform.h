#pragma once
// Test doubles for the platform seams: a settable clock, random numbers given in order, recorded
// message boxes, a process exit that throws ProgramExit instead of ending the test, and a
// graphics driver starter whose drivers start, fail or misbehave as a test says. Installed for
// the lifetime of the object.
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform.h"

struct ProgramExit {
    uint32_t code;
};

struct RecordedBox {
    HWND owner;
    std::string text;
    std::string title;
    UINT type;
};

enum class DriverOutcome { Starts, Fails, QueuesError, AnswersOpenGL };

class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    static uint64_t wallClock;      // the value the next read returns
    static uint64_t wallClockStep;  // added after every read
    static uint32_t tickCount;
    static std::vector<RecordedBox> boxes;
    static std::map<uint32_t, DriverOutcome> drivers;  // codes not listed fail
    static std::vector<uint32_t> driverRequests;
    static uint32_t loadedDriver;
    static std::set<int> heldKeys;     // virtual keys read as held
    static std::set<int> toggledKeys;  // virtual keys read as toggled on (NumLock, CAPS Lock)
    static std::deque<int> randoms;    // what the next random draws return, in order; then 0
    static SYSTEMTIME localTime;       // the local date and time every read returns
};
