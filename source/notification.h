#pragma once
// Short messages over the game field: a centre line, a status line at the bottom edge and an
// info box at the top left. Each place shows one message at a time with a fade-in and a
// fade-out, and keeps one more message waiting. Most kinds are also echoed into a chat channel.
#include <cstdint>
#include <string>
#include <vector>

class Core;
class Font;
class Render;

// One message of a place, copied by value.
struct NotificationLine {
    Font* font = nullptr;
    uint32_t kind = 0;
    std::string text;
    uint64_t phaseStart = 0;  // Core::frameTimeMs when the current phase began
    int32_t lifetime = 4000;  // ms fully shown
    uint32_t colour = 0;      // 0xAARRGGBB at full strength
    int32_t place = 1;
    int32_t state = 4;
    std::vector<std::string> lines;  // the text cut into sentences
};

class Notification {
public:
    // The kind of the lines that tell the player an action was refused.
    static constexpr uint8_t RefusalKind = 2;
    static constexpr int32_t PlaceCentre = 1, PlaceStatus = 2, PlaceInfo = 3;
    static constexpr int32_t StateWaiting = 0, StateFadingIn = 1, StateShown = 2,
                             StateFadingOut = 3, StateEmpty = 4;
    // A longer text keeps its remaining sentences on the last line.
    static constexpr size_t MaxLines = 20;
    // The field shows at most this many bytes of a text (the chat echo keeps all of it).
    static constexpr size_t MaxTextLength = 1000;

    explicit Notification(Core* owner);
    virtual ~Notification();

    void Add(uint8_t kind, const std::string& text);
    // x, y, w, h: the game field's screen rectangle.
    void Draw(int32_t x, int32_t y, int32_t w, int32_t h);
    // Appends the text with no speaker to the console's channel, when both exist.
    void EchoToChannel(uint8_t channel, const std::string& text);

    struct Place {
        NotificationLine current;
        NotificationLine waiting;
    };

    Core* owner;
    Render* render;
    Place places[3];  // centre, status, info
    int32_t fadeTime = 500;

private:
    // Moves the place's current line on in its cycle; the fade alpha (0 to 255) to draw it
    // with, or -1 when nothing is drawn this frame.
    int32_t Advance(Place& place);
    void DrawCentre(const NotificationLine& line, uint32_t colour, int32_t x, int32_t y, int32_t w,
                    int32_t h);
    void DrawStatus(const NotificationLine& line, uint32_t colour, int32_t x, int32_t y, int32_t w,
                    int32_t h);
    void DrawInfoBox(const NotificationLine& line, int32_t fade, int32_t x, int32_t y);
    int32_t InfoBoxTop(int32_t y) const;
};
