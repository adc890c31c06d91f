#pragma once
// What a creature says, shown on the game field at the tile where it was said: a speech bubble
// whose word-wrapped lines appear one after another at reading speed, type out and fade, at
// most eight at a time; or, for server speech of a kind and for nameless speakers, plain gold
// lines stacked above the tile.
#include <cstdint>
#include <string>
#include <vector>

#include "effectlist.h"
#include "position.h"

class Core;
class Creature;
class Font;
class Render;

class Paragraph : public FieldEffect {
public:
    static constexpr int32_t StyleBubble = 0, StylePlain = 1;

    // Server speech with a kind: plain lines.
    Paragraph(Core* owner, Creature* speaker, uint8_t kind, const std::string& text);
    // Ordinary speech: a bubble.
    Paragraph(Core* owner, Creature* speaker, const std::string& text);

    void Start(const std::string& text);
    // Applies the chat markup and schedules the text's lines after those there are.
    void AddText(const std::string& text);
    // text starts with the colour escapes in `carry`, and `cut` of its bytes fit a line. Moves
    // cut to where the line ends: after the space or line break it ends at, or after a hyphen
    // inserted into a word longer than a line. carry becomes the escapes in force at the cut.
    void AdjustBreak(std::string& text, std::string& carry, int32_t& cut) const;
    // viewer: the own character's tile; x, y, w, h: the game field's rectangle on screen.
    void Update(Position viewer, int32_t x, int32_t y, int32_t w, int32_t h);
    void Settle();
    void Draw();

    int32_t anchorX = 0, anchorY = 0;
    int32_t boxX = 0, boxY = 0, boxW = 0, boxH = 0;
    int32_t visible = 0;  // lines started
    int32_t pushX = 0, pushY = 0;
    int32_t tail = 0;  // the pointer's height, 0 to 10
    int32_t settledPushX = 0, settledPushY = 0;
    uint8_t overlapping = 0;
    int32_t hitX = 0, hitY = 0, hitW = 0, hitH = 0;
    Core* owner;
    Render* render;
    Font* font = nullptr;
    Position position;  // the speaker's tile when the text was said
    uint32_t speakerId = 0;
    std::string speakerName;
    // The speaker's NPC flag, as the creature showed it when text was last added; the creature
    // itself may leave the world while its text is shown, so no pointer to it is kept.
    uint8_t speakerNpc = 0;
    std::vector<std::string> lines;
    std::vector<uint64_t> lineStarts;
    std::vector<uint64_t> lineEnds;
    uint8_t finished = 0;
    uint8_t hiddenByFloor = 0;
    uint32_t msPerChar = 26;
    uint8_t kind = 0;
    uint64_t created = 0;
    int32_t style = StyleBubble;
    float alpha = 0;
    // The size animation: from where it runs.
    int32_t fromW = 0, fromH = 0, fromVisible = 0;
    uint8_t sizing = 0;
    uint64_t sizeStart = 0;
    uint8_t measured = 0;  // fromW, fromH and fromVisible hold a size
    // The separation's animation.
    uint8_t pushing = 0;
    uint64_t pushStart = 0;
    uint8_t settled = 0;  // the settled push holds an offset

private:
    Paragraph(Core* owner, Creature* speaker, uint8_t kind, int32_t style);
    // The size animation's progress, 0 to 1.
    float SizeProgress() const;
    // How long after a line the next one starts.
    uint64_t LineInterval(const std::string& line) const;
    void UpdateSize(int32_t& bw, int32_t& bh);
    void UpdateTail();
    void DrawBubble();
    void DrawPlain();
    // Removes the lines that ended before now; none left ends the text.
    void RemoveEnded();
};
