#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/game/channel.h"
#include "windows/toolkit/window.h"

class Button;
class Font;

// The tabbed frame over the console that holds chat pages: a strip of tab buttons, one per open
// channel, with the current page below it. It is also the registry of open channels: it opens
// them (standard channels with their welcome lines and join requests, the party channel, private
// conversations), finds them by id or name, closes them with the leave request and lists their
// names for the settings file. The console makes a main box (kind 1) and, in the normal layout,
// a second one (kind 2) for Info, NPC and Report; the two are partners.
class Chatbox : public Window {
public:
    static constexpr int32_t MainKind = 1, SecondKind = 2;
    // The button ids of the fixed buttons; a tab's id is TabBase + its channel's id.
    static constexpr uint32_t CollapseButton = 1, CloseButton = 9, ExpandButton = 10,
                              ListButton = 13, JumpButton = 14, LeftButton = 15, RightButton = 16,
                              TabBase = 255;

    Chatbox(Core* core, Window* owner, int32_t kind);
    // Deletes every page, the current one too, and with them their scroll bars.
    ~Chatbox() override;
    void Build() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void Paint() override;
    void Draw() override;
    void OnCommand(Button* button) override;
    // The right release over a tab opens the tab menu.
    void OnRightClick(int32_t mx, int32_t my) override;

    // Opens a page; false when a channel of that name is already open (a private conversation
    // only clashes with another one). An id in use is counted up, so private conversations (255)
    // take 255, 256, ...
    bool OpenChannel(uint32_t id, const std::string& name, uint8_t tabMark);
    // World, Help, Trade, NPC, Report or Console with its welcome lines and join request.
    void JoinStandardChannel(const std::string& name);
    // Kind 5 opens the party channel.
    void OpenPartyChannel(int32_t kind);
    // Joins the standard channels of Core::channelsPreset.
    void RestoreChannels();
    // The names of the open chat channels in tab order, joined by ","; Main, Info and the private
    // conversations are left out.
    std::string GetChannelNames() const;
    Channel* FindChannel(uint32_t id) const;
    // The page of the name whose id is the given one; 255 stands for every private id.
    Channel* FindChannelByIdAndName(uint32_t id, const std::string& name) const;
    Channel* FindChannelByName(const std::string& name) const;
    void SelectChannelByName(const std::string& name);
    void SelectChannel(Channel* page);
    void AddSpeakerTextToCurrent(const std::string& name, const std::string& text);
    void SelectTab(Button* tab);
    // The channel keys: the next or previous tab, wrapping around.
    void SelectNextTab();
    void SelectPreviousTab();
    // Sends the leave request where the channel has one, and deletes the page.
    void CloseChannel(Channel* page);
    void CloseCurrentChannel();
    // The close button shows while the current page may be closed.
    void RefreshTab();
    void LayoutTabs();
    void LayoutButtons();
    // Places the main box and then its partner for the client width.
    void PlacePair();
    // A page deleted by someone else leaves the registry.
    void ForgetChannel(Channel* page);

    Channel* current = nullptr;
    Chatbox* partner = nullptr;
    Button* listButton = nullptr;
    Button* collapseButton = nullptr;
    Button* closeButton = nullptr;
    Button* leftButton = nullptr;
    Button* rightButton = nullptr;
    Button* jumpButton = nullptr;
    int32_t kind;
    int32_t tabOffset = 0;
    Font* captionFont = nullptr;
    std::vector<Channel*> channels;

private:
    bool WideLayout() const;
    Button* TabOf(const Channel* page) const;
    Channel* ChannelOfTab(const Button* tab) const;
    // The page and its scroll bar join or leave the window list.
    void ShowPage(Channel* page);
    void HidePage(Channel* page);
    void SetCollapsed(bool collapse);
    // Takes the page out of the registry, sends its leave request and deletes it.
    void DeletePage(Channel* page);
    // After opening or closing in the wide layout, the boxes follow the number of tabs.
    void RelayoutWide();
    void DrawTypeHint();
};
