#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "itemdescription.h"
#include "windows/toolkit/window.h"

class Font;

// The inspection tooltip: an item's name with its attribute and bonus tables, unmet
// requirements and description, or a hint. Laid out once when built, it fades in, stays for its
// lifetime and fades out, at once when it is clicked or loses the focus. With the option info
// on, what it shows is also written to the Info channel.
class Look : public Window {
public:
    static constexpr int32_t DefaultLifetimeMs = 5000;
    static constexpr int32_t BareNameLifetimeMs = 2500;
    static constexpr int32_t FadeMs = 256;
    // The attribute codes of an ability's table.
    static constexpr uint8_t ManaCode = 200, TypeCode = 201, CooldownCode = 202;

    Look(Core* core, std::string title, std::string text, int32_t x, int32_t y, uint8_t hintStyle);
    Look(Core* core, std::string title, std::string text, std::vector<TextSegment> attributes,
         std::vector<TextSegment> bonuses, std::vector<Requirement> requirements, uint8_t twoHanded,
         int32_t x, int32_t y, uint8_t hintStyle);

    void Paint() override;
    void Draw() override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    // Enter removes it at once.
    void OnSubmit() override;
    // Starts the fade-out.
    void Dismiss();
    bool RequirementUnmet() const { return !requirements.empty(); }

    // The table labels ("" for a code without one).
    static std::string AttributeLabel(uint8_t code, bool twoHanded);
    static std::string BonusLabel(uint8_t code);
    // The lines of a text wrapped to the width, each starting with the colour escapes in force
    // where the one before ended (the first with `carry`); a line ending in a vertical tab is
    // followed by an empty one. `carry` ends as the escapes in force after the last line.
    static std::vector<std::string> WrapText(const Font& font, const std::string& text,
                                             std::string& carry, int32_t width);

    uint64_t openedAt = 0;
    std::string title;
    std::string text;
    std::vector<TextSegment> attributes;
    std::vector<TextSegment> bonuses;
    std::vector<Requirement> requirements;
    std::vector<std::string> lines;
    uint8_t twoHanded = 0;
    uint8_t hintStyle = 0;
    int32_t lifetimeMs = DefaultLifetimeMs;

private:
    void FormatItem(int32_t atX, int32_t atY);
    void FormatProperties();
    // Writes what the tooltip shows to the Info channel.
    void CopyToInfo();
    std::string RequirementList() const;
};
