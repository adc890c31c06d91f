#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

// The popup action menu: keeps its title, rows and where it was opened, the least its callers
// need.
class Action : public Window {
public:
    struct Entry {
        uint32_t code;
        std::string label;
        std::string hint;
    };
    Action(Core* core, uint32_t kind, std::string title, uint32_t subjectId);
    void AddEntry(uint32_t code, const std::string& label);
    void AddEntryWithHint(uint32_t code, const std::string& label, const std::string& hint);
    void Open(int32_t screenX, int32_t screenY);

    std::string title;
    uint32_t subjectId;
    std::vector<Entry> entries;
};
