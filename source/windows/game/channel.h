#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

class Creature;

// Chat channel ids that mean something to the client; private conversations take 255 and above.
namespace ChannelId {
constexpr uint8_t Main = 0, Party = 5, Report = 129, Info = 240, Console = 254, Private = 255;
}  // namespace ChannelId

// A chat page of the console or the chat box, named by its window name: keeps the lines added to
// it, its tab mark and whether it logs, the least its callers need.
class Channel : public Window {
public:
    explicit Channel(uint8_t id = 0, Core* core = nullptr);
    void AddLine(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, const std::string& text);
    // A line said by a creature (its speech echoed into the chat).
    void AddNamedLine(const std::string& text, Creature* speaker);
    // A line with a speaker's name (empty for system lines).
    void AddSpeakerText(const std::string& speaker, const std::string& text);
    void SetTabMark(uint8_t mark);
    // "Clear contents": every line goes.
    void Clear();
    void EnableLogging();
    void DisableLogging();

    struct Line {
        std::string text;
        uint32_t colour;  // 0xAARRGGBB
        std::string speaker;
    };
    uint8_t id;
    std::vector<Line> lines;
    uint8_t tabMark = 0;
    uint8_t logging = 0;
};
