#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

// The guide: a movable, modal window with the page titles of the chosen language in a list on
// the left and the selected page's coloured text on the right, a language box above the list,
// and on the first page buttons to the help chat channel and two web pages. The pages of both
// languages are built when the window opens, with the player's name and key bindings in them.
class Help : public Window {
public:
    static constexpr uint32_t HelpChannelButton = 23;
    static constexpr uint32_t WikiButton = 128;
    static constexpr uint32_t DiscordButton = 102;
    static constexpr int32_t LineWidth = 315;

    explicit Help(Core* core);
    ~Help() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // A release on the language box opens the language menu.
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Builds the pages of both languages and shows the one of the language setting.
    void OnOpen() override;
    void OnListSelect(int32_t index) override;

    // Shows the language of the index on the same page and keeps it as the setting.
    void SetLanguage(uint8_t index);
    // Adds a page to the language being built.
    void AddPage(const std::string& title, const std::string& body);
    void BuildEnglishGuide();
    void BuildPortugueseGuide();
    // Cuts a page body into lines of at most LineWidth pixels, appended to `lines`: each line
    // after the first starts with the colour in force where the one before was cut.
    void LayoutPage(std::string body);

    // The page list on display is also the window's hosted `list`: presses, releases and drags
    // reach it as they reach any hosted list, and a drag of the window moves it along.
    std::vector<std::string> lines;
    std::map<uint8_t, std::vector<std::string>> pageBodies;
    List* pageList = nullptr;
    std::vector<List*> pageLists;
    std::vector<std::string> languageNames;
    uint8_t languageIndex = 0;
    WindowRect listRect = {38, 99, 185, 432};

private:
    // Starts a language: its name, its page list, and the index pages are added under.
    void BeginLanguage(const std::string& languageName);
    // The player's name, or "newcomer" without a player creature.
    std::string PlayerName() const;
    // The name of the key bound to a slot of Core::keys.
    std::string KeyName(uint32_t slot) const;
    // Four bound keys in green, two to a line: "a, b,\nc, d".
    std::string KeyPairs(uint32_t a, uint32_t b, uint32_t c, uint32_t d) const;
    void ShowLinkButtons(bool shown);
    void OpenHelpChannel();
    void PaintContent();
    void PaintPictures();
};
