#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Creature;

// A chat page of the console or the chat box: keeps the lines added to it and its tab mark, the
// least its callers need.
class Channel {
public:
    explicit Channel(uint8_t id = 0);
    void AddLine(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, const std::string& text);
    // A line said by a creature (its speech echoed into the chat).
    void AddNamedLine(const std::string& text, Creature* speaker);
    // A line with a speaker's name (empty for system lines).
    void AddSpeakerText(const std::string& speaker, const std::string& text);
    void SetTabMark(uint8_t mark);

    struct Line {
        std::string text;
        uint32_t colour;  // 0xAARRGGBB
        std::string speaker;
    };
    uint8_t id;
    std::vector<Line> lines;
    uint8_t tabMark = 0;
};
