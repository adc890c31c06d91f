#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config.h"
#include "control.h"
#include "driver/gfxdriver.h"
#include "frontscreen.h"
#include "keynames.h"
#include "screen.h"
#include "support/chatconsole.h"
#include "support/drawntext.h"
#include "windows/front/consoles.h"
#include "windows/front/controls.h"
#include "windows/front/controlsfunction.h"
#include "windows/front/controlshotkey.h"
#include "windows/front/controlsmove.h"
#include "windows/front/general.h"
#include "windows/front/generalesthetics.h"
#include "windows/front/generalgameplay.h"
#include "windows/front/generalinterface.h"
#include "windows/front/generalmiscellaneous.h"
#include "windows/front/info.h"
#include "windows/front/networks.h"
#include "windows/front/settings.h"
#include "windows/front/video.h"
#include "windows/game/channel.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Make = std::function<Window*(Core*)>;

template <class Page>
Make MakePage() {
    return [](Core* core) { return new Page(core); };
}

class SettingsTest : public FrontScreenTest {
protected:
    // The settings pages in the window list.
    std::vector<Window*> Pages() const {
        std::vector<Window*> pages;
        for (Window* window : core->windows)
            if (dynamic_cast<SettingsPage*>(window)) pages.push_back(window);
        return pages;
    }
    // The one settings page open; fails when there is not exactly one.
    Window* OnlyPage() const {
        const std::vector<Window*> pages = Pages();
        EXPECT_EQ(pages.size(), 1u);
        return pages.empty() ? nullptr : pages.front();
    }
    // What the texts of the window's surface and frame read in a colour.
    std::vector<std::string> TextsIn(Window* window, uint32_t colour) {
        return DrawnTextsIn(DrawLog(window), colour);
    }
};

TEST_F(SettingsTest, EachPageHasItsTypeSizeTitleAndCentredPlace) {
    const struct {
        Make make;
        uint32_t typeId;
        std::string title;
        int32_t width, height;
        uint8_t movable;
    } cases[] = {
        {MakePage<Settings>(), WindowType::Settings, "Settings", 184, 251, 1},
        {MakePage<General>(), WindowType::General, "General", 184, 223, 1},
        {MakePage<Consoles>(), WindowType::Consoles, "Console", 284, 215, 1},
        {MakePage<Info>(), WindowType::Info, "Info", 184, 159, 1},
        {MakePage<Networks>(), WindowType::Networks, "Network", 259, 142, 0},
        {MakePage<Video>(), WindowType::Video, "Video", 284, 276, 0},
        {MakePage<GeneralInterface>(), WindowType::GeneralInterface, "Interface", 254, 275, 1},
        {MakePage<GeneralGameplay>(), WindowType::GeneralGameplay, "Gameplay", 309, 255, 1},
        {MakePage<GeneralEsthetics>(), WindowType::GeneralEsthetics, "Esthetics", 224, 175, 1},
        {MakePage<GeneralMiscellaneous>(), WindowType::GeneralMiscellaneous, "Miscellaneous", 239,
         215, 1},
        {MakePage<Controls>(), WindowType::Controls, "Controls", 184, 195, 1},
        {MakePage<ControlsMove>(), WindowType::ControlsMove, "Movement Controls", 211, 311, 0},
        {MakePage<ControlsHotkey>(), WindowType::ControlsHotkey, "Hotkey Controls", 503, 157, 0},
        {MakePage<ControlsFunction>(), WindowType::ControlsFunction, "Function Controls", 303, 445,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Window* page = c.make(core.get());
        EXPECT_EQ(page->typeId, c.typeId);
        EXPECT_EQ(page->name, c.title);
        EXPECT_EQ((std::vector<int32_t>{page->x, page->y, page->width, page->height}),
                  (std::vector<int32_t>{400 - c.width / 2, 300 - c.height / 2, c.width, c.height}));
        EXPECT_TRUE(page->modal);
        EXPECT_EQ(page->movable, c.movable);
        const Button* ok = page->FindButton(ButtonId::Ok);
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->x, c.width - 66);
        EXPECT_EQ(ok->y, c.height - 28);
        // The page title, centred in the title band.
        EXPECT_EQ(TextsIn(page, 0xCEFFFFFF), std::vector<std::string>{c.title});
        delete page;
    }
}

TEST_F(SettingsTest, HubsListTheirPageButtonsDownTheMiddle) {
    const struct {
        Make make;
        std::vector<std::string> column;
    } cases[] = {
        {MakePage<Settings>(), {"General 29", "Console 30", "Video 31", "Controls 76", "Info 33"}},
        {MakePage<General>(),
         {"Gameplay 90", "Interface 104", "Esthetics 105", "Miscellaneous 106"}},
        {MakePage<Controls>(), {"Movement 78", "Hotkeys 79", "Functions 80"}},
    };
    for (const auto& c : cases) {
        Window* page = c.make(core.get());
        SCOPED_TRACE(page->name);
        std::vector<std::string> column;
        for (size_t k = 0; k < c.column.size(); ++k) {
            const Button* button = page->buttons[k];
            column.push_back(button->caption + " " + std::to_string(button->id));
            EXPECT_EQ(button->x, page->width / 2 - 44);
            EXPECT_EQ(button->y, 57 + 28 * static_cast<int32_t>(k));
            EXPECT_EQ(button->hitRect.w, 86);
        }
        EXPECT_EQ(column, c.column);
        delete page;
    }
    General general(core.get());
    const Button* network = general.FindButton(General::NetworkButton);
    ASSERT_NE(network, nullptr);
    EXPECT_EQ((std::vector<int32_t>{network->x, network->y}), (std::vector<int32_t>{12, 195}));
}

// Every step from the hub to a page and back through "ok" leaves exactly one settings window.
TEST_F(SettingsTest, OneSettingsWindowAtEveryStepThereAndBack) {
    const struct {
        uint32_t hubButton;
        uint32_t subButton;  // 0: the page returns to the hub itself
        uint32_t pageType;
    } roads[] = {
        {Settings::GeneralButton, General::GameplayButton, WindowType::GeneralGameplay},
        {Settings::GeneralButton, General::InterfaceButton, WindowType::GeneralInterface},
        {Settings::GeneralButton, General::EstheticsButton, WindowType::GeneralEsthetics},
        {Settings::GeneralButton, General::MiscellaneousButton, WindowType::GeneralMiscellaneous},
        {Settings::GeneralButton, General::NetworkButton, WindowType::Networks},
        {Settings::ConsoleButton, 0, WindowType::Consoles},
        {Settings::VideoButton, 0, WindowType::Video},
        {Settings::InfoButton, 0, WindowType::Info},
        {Settings::ControlsButton, Controls::MovementButton, WindowType::ControlsMove},
        {Settings::ControlsButton, Controls::HotkeysButton, WindowType::ControlsHotkey},
        {Settings::ControlsButton, Controls::FunctionsButton, WindowType::ControlsFunction},
    };
    for (const auto& road : roads) {
        SCOPED_TRACE(road.pageType);
        Open(new Settings(core.get()));
        Press(OnlyPage(), road.hubButton);
        if (road.subButton) Press(OnlyPage(), road.subButton);
        EXPECT_EQ(OnlyPage()->typeId, road.pageType);
        // Back through "ok" to the hub: through General or Controls on the two-level roads.
        while (OnlyPage() && OnlyPage()->typeId != WindowType::Settings)
            Press(OnlyPage(), ButtonId::Ok);
        Press(OnlyPage(), ButtonId::Ok);
        EXPECT_TRUE(Pages().empty());
        // The pages' controls went with them.
        EXPECT_TRUE(core->windows.empty());
        EXPECT_EQ(core->focusedInput, nullptr);
    }
}

TEST_F(SettingsTest, EveryEndOfTheHubAndOfControlsWritesTheFileAndNoOtherPageDoes) {
    UseSettingsFile();
    for (uint32_t id :
         {Settings::GeneralButton, Settings::ConsoleButton, Settings::VideoButton,
          Settings::ControlsButton, Settings::InfoButton, ButtonId::Ok, ButtonId::Close}) {
        SCOPED_TRACE(id);
        Press(Open(new Settings(core.get())), id);
        EXPECT_TRUE(SettingsWritten());
        while (!core->windows.empty()) core->RemoveWindow(core->windows.front());
        SettingsWritten();
    }
    Open(new Settings(core.get()))->OnSubmit();
    EXPECT_TRUE(SettingsWritten());

    // The option, binding and other pages write nothing, whichever way they go.
    const Make silent[] = {MakePage<General>(),
                           MakePage<Consoles>(),
                           MakePage<Info>(),
                           MakePage<Networks>(),
                           MakePage<Video>(),
                           MakePage<GeneralInterface>(),
                           MakePage<GeneralGameplay>(),
                           MakePage<GeneralEsthetics>(),
                           MakePage<GeneralMiscellaneous>(),
                           MakePage<ControlsMove>(),
                           MakePage<ControlsHotkey>(),
                           MakePage<ControlsFunction>()};
    for (const Make& make : silent) {
        Window* page = Open(make(core.get()));
        SCOPED_TRACE(page->name);
        Press(page, ButtonId::Close);
        EXPECT_FALSE(SettingsWritten());
    }
    // A binding page's "ok" opens Controls; that page's end writes the file.
    Press(Open(new ControlsMove(core.get())), ButtonId::Ok);
    EXPECT_FALSE(SettingsWritten());
    Press(OnlyPage(), ButtonId::Close);
    EXPECT_TRUE(SettingsWritten());
    for (uint32_t id : {Controls::MovementButton, ButtonId::Ok, ButtonId::Close}) {
        SCOPED_TRACE(id);
        Press(Open(new Controls(core.get())), id);
        EXPECT_TRUE(SettingsWritten());
        while (!core->windows.empty()) core->RemoveWindow(core->windows.front());
        SettingsWritten();
    }
}

// --- Option pages ---------------------------------------------------------------------------

struct OptionCase {
    Make make;
    uint32_t id;
    uint8_t inGame;
    uint8_t Options::*option;
    uint8_t before;
    uint8_t after;
    std::string message;  // "title: text", or ""
};

TEST_F(SettingsTest, OptionBoxesFlipTheirOptionOrAreRefusedInTheGame) {
    const std::string widescreen = "Widescreen: The screen mode cannot be changed while playing.";
    const std::string console =
        "Widescreen Console: The console position cannot be changed while playing.";
    const std::string cursor = "Cursor: Restart the application to process changes.";
    const OptionCase cases[] = {
        {MakePage<GeneralInterface>(), 94, 1, &Options::widescreen, 1, 1, widescreen},
        {MakePage<GeneralInterface>(), 94, 0, &Options::widescreen, 1, 0, ""},
        {MakePage<GeneralInterface>(), 140, 1, &Options::chatbottom, 0, 0, console},
        {MakePage<GeneralInterface>(), 140, 0, &Options::chatbottom, 0, 1, ""},
        {MakePage<GeneralInterface>(), 133, 1, &Options::widescale, 0, 1, ""},
        {MakePage<GeneralInterface>(), 87, 0, &Options::bar, 1, 0, ""},
        {MakePage<GeneralInterface>(), 87, 1, &Options::bar, 1, 0, ""},
        {MakePage<GeneralInterface>(), 87, 1, &Options::bar, 0, 1, ""},
        {MakePage<GeneralInterface>(), 85, 1, &Options::keys, 1, 0, ""},
        {MakePage<GeneralInterface>(), 116, 0, &Options::hudstatus, 0, 1, ""},
        {MakePage<GeneralGameplay>(), 45, 0, &Options::push, 1, 0, ""},
        {MakePage<GeneralGameplay>(), 107, 0, &Options::limit, 0, 1, ""},
        {MakePage<GeneralGameplay>(), 130, 1, &Options::holdmove, 0, 1, ""},
        {MakePage<GeneralEsthetics>(), 44, 0, &Options::names, 1, 0, ""},
        {MakePage<GeneralEsthetics>(), 86, 0, &Options::pixel, 0, 1, ""},
        {MakePage<GeneralEsthetics>(), 88, 0, &Options::elastic, 0, 1, ""},
        {MakePage<GeneralEsthetics>(), 89, 0, &Options::layers, 1, 0, ""},
        {MakePage<GeneralMiscellaneous>(), 148, 0, &Options::cursor, 0, 1, cursor},
        {MakePage<GeneralMiscellaneous>(), 148, 1, &Options::cursor, 1, 0, cursor},
        {MakePage<GeneralMiscellaneous>(), 97, 0, &Options::ping, 0, 1, ""},
        {MakePage<Consoles>(), 33, 0, &Options::info, 1, 0, ""},
        {MakePage<Consoles>(), 129, 0, &Options::experience, 0, 1, ""},
        {MakePage<Consoles>(), 138, 0, &Options::itemaps, 1, 0, ""},
    };
    // In the game the bar's box goes through the keyboard handler's toggle.
    core->screen = new Screen(core.get(), 800, 600, 32, 0);
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + (c.inGame ? " in game" : " outside"));
        core->inGame = c.inGame;
        core->options.*c.option = c.before;
        Window* page = Open(c.make(core.get()));
        Button* box = page->FindButton(c.id);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->pressed, c.before);
        // A click on a toggle flips its tick before the command, as the mouse does.
        box->pressed = !box->pressed;
        page->OnCommand(box);
        EXPECT_EQ(core->options.*c.option, c.after);
        EXPECT_EQ(box->pressed, c.after);
        EXPECT_EQ(Messages(), c.message.empty() ? std::vector<std::string>{}
                                                : std::vector<std::string>{c.message});
        while (!core->windows.empty()) core->RemoveWindow(core->windows.back());
    }
    core->inGame = 0;
}

TEST_F(SettingsTest, RowsAreLaidOutWithTheirLabelsAndTheLabelTextHitsTheBox) {
    core->slotLimit = 2;
    Window* page = Open(new GeneralGameplay(core.get()));
    const std::vector<std::string> labels = {
        "Movement: ASDW / press 'enter' to talk", "Console: close on 'enter' (widescreen)",
        "Console: always visible (widescreen)",   "Spells: auto-cast spells at cursor",
        "Containers: open loot in screen",        "Containers: 2 rows auto-open limit",
        "Stack: skip splitting on move",          "Movement: hold RMB to move"};
    EXPECT_EQ(TextsIn(page, SettingsPage::LabelColour), labels);
    for (size_t k = 0; k < labels.size(); ++k) {
        const Button* box = page->buttons[k];
        EXPECT_EQ((std::vector<int32_t>{box->x, box->y, box->hitRect.w, box->hitRect.h}),
                  (std::vector<int32_t>{28, 47 + 20 * int32_t(k), 309 - 40, 14}));
    }
    // A click well inside a label's text toggles its row.
    EXPECT_EQ(core->ButtonAt(page->x + 50 + 150, page->y + 52), page->buttons[0]);

    // The experience box takes clicks only over its first 142 pixels.
    Window* consoles = Open(new Consoles(core.get()));
    const Button* experience = consoles->FindButton(129);
    const Button* damage = consoles->FindButton(49);
    const int32_t rowY = consoles->y + experience->y + 5;
    EXPECT_EQ(core->ButtonAt(consoles->x + experience->x + 140, rowY), experience);
    EXPECT_EQ(core->ButtonAt(consoles->x + experience->x + 150, rowY), nullptr);
    EXPECT_EQ(core->ButtonAt(consoles->x + damage->x + 150, consoles->y + damage->y + 5), damage);
}

TEST_F(SettingsTest, TheContainerLabelCountsRowsAndIsRebuiltAtEachPaint) {
    Window* page = Open(new GeneralGameplay(core.get()));
    const struct {
        int32_t limit;
        std::string label;
    } cases[] = {{0, "Containers: 0 row auto-open limit"},
                 {1, "Containers: 1 row auto-open limit"},
                 {2, "Containers: 2 rows auto-open limit"}};
    for (const auto& c : cases) {
        core->slotLimit = c.limit;
        EXPECT_EQ(TextsIn(page, SettingsPage::LabelColour)[5], c.label);
    }
}

// The keyboard's toggle of the ability bar shows on an open interface page.
TEST_F(SettingsTest, TheBarToggleOfTheKeyboardTicksTheOpenInterfacePage) {
    core->options.bar = 0;
    Window* page = Open(new GeneralInterface(core.get()));
    Control control(core.get());
    control.TogglePanelWindow();
    EXPECT_EQ(core->options.bar, 1);
    EXPECT_EQ(page->FindButton(GeneralInterface::BarBox)->pressed, 1);
    control.TogglePanelWindow();
    EXPECT_EQ(page->FindButton(GeneralInterface::BarBox)->pressed, 0);
}

// The lossless view and the pixelated world re-place every window for the client size.
TEST_F(SettingsTest, LosslessAndPixelBoxesLayTheWindowsOutAgain) {
    for (uint32_t id : {GeneralInterface::LosslessBox, GeneralEsthetics::PixelBox}) {
        SCOPED_TRACE(id);
        Window* page = Open(id == GeneralInterface::LosslessBox
                                ? static_cast<Window*>(new GeneralInterface(core.get()))
                                : new GeneralEsthetics(core.get()));
        const int32_t centredX = page->x;
        page->x = 0;
        page->OnCommand(page->FindButton(id));
        EXPECT_EQ(page->x, centredX);
        core->RemoveWindow(page);
    }
}

TEST_F(SettingsTest, OptionPagesReturnToGeneralAndCloseAlone) {
    Press(Open(new GeneralEsthetics(core.get())), ButtonId::Ok);
    EXPECT_EQ(OnlyPage()->typeId, WindowType::General);
    core->RemoveWindow(OnlyPage());
    Open(new GeneralInterface(core.get()))->OnSubmit();
    EXPECT_EQ(OnlyPage()->typeId, WindowType::General);
    core->RemoveWindow(OnlyPage());
    Press(Open(new GeneralMiscellaneous(core.get())), ButtonId::Close);
    EXPECT_TRUE(core->windows.empty());
}

// --- Consoles ---------------------------------------------------------------------------------

TEST_F(SettingsTest, TheTimeBoxRewrapsTheOpenChatPagesAtOnceAndTheInfoBoxDoesNot) {
    core->options.time = 0;
    core->options.info = 1;
    OpenConsole(core.get());
    core->inGame = 1;
    Channel* main = ChannelOf(core.get(), 0);
    ASSERT_NE(main, nullptr);
    main->AddLine(255, 255, 255, 255, "hello");
    const std::vector<std::string> plain = main->displayLines;

    Window* page = Open(new Consoles(core.get()));
    Button* info = page->FindButton(33);
    info->pressed = 0;
    page->OnCommand(info);
    EXPECT_EQ(main->displayLines, plain);

    Button* time = page->FindButton(Consoles::TimeBox);
    time->pressed = 1;
    page->OnCommand(time);
    EXPECT_EQ(core->options.time, 1);
    ASSERT_EQ(main->displayLines.size(), plain.size());
    EXPECT_NE(main->displayLines.back(), plain.back());
    EXPECT_NE(main->displayLines.back().find("hello"), std::string::npos);
    EXPECT_NE(main->displayLines.back().find(':'), std::string::npos);
    core->inGame = 0;
}

// --- Networks --------------------------------------------------------------------------------

TEST_F(SettingsTest, ThePortTakesFiveDigitsOnly) {
    auto* page = Open(new Networks(core.get()));
    EXPECT_EQ(core->focusedInput, page->hostInput);
    core->focusedInput = page->portInput;
    page->portInput->SetText("");
    Type("12a34567");
    EXPECT_EQ(page->portInput->text, "12345");
}

TEST_F(SettingsTest, DefaultRefillsTheInputsOnlyAndOkOrEnterApplies) {
    core->host = "game.example";
    core->port = "7171";
    auto* page = Open(new Networks(core.get()));
    EXPECT_EQ(page->hostInput->text, "game.example");
    Press(page, SettingsPage::DefaultButton);
    EXPECT_EQ(page->hostInput->text, DefaultHost);
    EXPECT_EQ(page->portInput->text, DefaultPort);
    Press(page, ButtonId::Close);
    EXPECT_EQ(core->host, "game.example");
    EXPECT_EQ(core->port, "7171");
    EXPECT_TRUE(core->windows.empty());

    for (bool enter : {false, true}) {
        SCOPED_TRACE(enter);
        auto* next = Open(new Networks(core.get()));
        core->focusedInput = next->hostInput;
        next->hostInput->SetText("");
        Type(enter ? "enter.host" : "ok.host");
        if (enter) core->focusedInput->OnSubmit();  // the input passes Enter to its page
        else Press(next, ButtonId::Ok);
        EXPECT_EQ(core->host, enter ? "enter.host" : "ok.host");
        EXPECT_EQ(core->port, "7171");
        EXPECT_EQ(OnlyPage()->typeId, WindowType::Settings);
        EXPECT_EQ(core->windows.size(), 1u);
        core->RemoveWindow(OnlyPage());
    }
}

// --- Video -----------------------------------------------------------------------------------

class VideoTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        core->EnumerateDisplayModes();
    }
    Video* OpenVideo() { return Open(new Video(core.get())); }
};

TEST_F(VideoTest, TheListNamesEveryResolutionAndMarksTheUnsupportedOnes) {
    core->displayModes[0].unavailable = 0;
    core->displayModes[1].unavailable = 1;
    core->resolution = 3;
    Video* page = OpenVideo();
    List* list = page->resolutionList;
    ASSERT_EQ(list->items.size(), core->displayModes.size());
    EXPECT_EQ(list->items[0], "1024 \x95 768");
    EXPECT_EQ(list->items[11], "1920 \x95 1200");
    EXPECT_FALSE(list->marks[0]);
    EXPECT_TRUE(list->marks[1]);
    EXPECT_EQ(list->selected, 3);
    EXPECT_EQ(core->focusedInput, page->targetInput);
}

TEST_F(VideoTest, AStoredResolutionPastTheListSelectsTheFirstAndClosingStoresIt) {
    core->resolution = 12;
    Video* page = OpenVideo();
    EXPECT_EQ(page->resolutionList->selected, 0);
    EXPECT_EQ(core->resolution, 12);
    Press(page, ButtonId::Close);
    EXPECT_EQ(core->resolution, 0);
    EXPECT_TRUE(core->windows.empty());
}

TEST_F(VideoTest, TheTypedTargetAppliesInTheNextFrameAndNeverBelowTen) {
    const struct {
        std::string typed;
        uint32_t target;
    } cases[] = {{"5", 10}, {"", 10}, {"144", 144}, {"9", 10}, {"10", 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        core->targetFps = 60;
        Video* page = OpenVideo();
        page->targetInput->SetText("");
        Type(c.typed);
        page->Draw();
        EXPECT_EQ(core->targetFps, c.target);
        core->targetFps = 60;
        Press(page, ButtonId::Ok);
        EXPECT_EQ(core->targetFps, c.target);
        core->RemoveWindow(OnlyPage());
    }
}

TEST_F(VideoTest, FullscreenIsRefusedForAnUnsupportedResolution) {
    for (DisplayMode& mode : core->displayModes) mode.unavailable = 1;
    core->fullscreen = 0;
    Video* page = OpenVideo();
    Button* box = page->FindButton(Video::FullscreenBox);
    box->pressed = 1;
    page->OnCommand(box);
    EXPECT_EQ(box->pressed, 0);
    EXPECT_EQ(core->fullscreen, 0);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Veltor: Your screen does not support this resolution."}));
}

// A size no display offers: the switch to fullscreen is refused.
TEST_F(VideoTest, ARefusedSwitchLeavesTheModeAndTheBoxAsTheyWere) {
    core->screen = new Screen(core.get(), 800, 600, 32, 0);
    core->configWidth = 800;
    core->configHeight = 600;
    core->depth = 32;
    core->displayModes[0] = {1023, 767, 0};
    core->resolution = 0;
    core->fullscreen = 0;
    Video* page = OpenVideo();
    Button* box = page->FindButton(Video::FullscreenBox);
    box->pressed = 1;
    page->OnCommand(box);
    EXPECT_EQ(core->fullscreen, 0);
    EXPECT_EQ(box->pressed, 0);
    EXPECT_EQ(core->clientWidth, 800u);
    EXPECT_EQ(core->clientHeight, 600u);
}

TEST_F(VideoTest, TheDriverButtonsFollowTheDriverInUse) {
    FakePlatform::drivers = {{DriverDirectX, DriverOutcome::Starts},
                             {DriverOpenGL, DriverOutcome::Starts}};
    StartDriver(DriverDirectX, 0);
    core->engine = DriverDirectX;
    Video* page = OpenVideo();
    Button* directX = page->FindButton(Video::DirectXButton);
    Button* openGL = page->FindButton(Video::OpenGLButton);
    EXPECT_EQ(
        (std::vector<int>{directX->pressed, directX->enabled, openGL->pressed, openGL->enabled}),
        (std::vector<int>{1, 0, 0, 1}));
    openGL->pressed = 1;
    page->OnCommand(openGL);
    EXPECT_EQ(core->engine, DriverOpenGL);
    EXPECT_EQ(
        (std::vector<int>{directX->pressed, directX->enabled, openGL->pressed, openGL->enabled}),
        (std::vector<int>{0, 1, 1, 0}));
    // A driver that cannot start: its button springs back, the other stays in use.
    FakePlatform::drivers.erase(DriverDirectX);
    directX->pressed = 1;
    page->OnCommand(directX);
    EXPECT_EQ(core->engine, DriverOpenGL);
    EXPECT_EQ(
        (std::vector<int>{directX->pressed, directX->enabled, openGL->pressed, openGL->enabled}),
        (std::vector<int>{0, 1, 1, 0}));
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Veltor: Your computer does not support 'DirectX 9'."}));
    while (!core->windows.empty()) core->RemoveWindow(core->windows.back());
    UseNullDriver();
}

// --- Key bindings ----------------------------------------------------------------------------

TEST_F(SettingsTest, BindingPagesShowTheBoundKeysAndDefaultRestoresThePageOnly) {
    for (uint32_t& key : core->keys) key = 0x10;  // Q everywhere
    auto* page = Open(new ControlsMove(core.get()));
    ASSERT_EQ(page->inputs.size(), 8u);
    EXPECT_EQ(core->focusedInput, page->inputs[0]);
    std::vector<uint32_t> slots;
    for (const Input* input : page->inputs) {
        EXPECT_EQ(input->text, "Q");
        EXPECT_TRUE(input->keyCapture);
        slots.push_back(input->keySlot);
    }
    EXPECT_EQ(slots, (std::vector<uint32_t>{KeyNorth, KeyEast, KeySouth, KeyWest, KeyNorthEast,
                                            KeySouthEast, KeySouthWest, KeyNorthWest}));
    EXPECT_EQ(page->inputs[4]->y - page->y, 156);
    Press(page, SettingsPage::DefaultButton);
    EXPECT_EQ(std::vector<uint32_t>(core->keys, core->keys + 8),
              (std::vector<uint32_t>{17, 18, 32, 46, 31, 44, 30, 16}));
    EXPECT_EQ(page->inputs[0]->text, KeyNameText(17));
    EXPECT_EQ(core->keys[KeyF1], 0x10u);
    EXPECT_EQ(core->keys[KeyJournal], 0x10u);

    // Tab walks the inputs in display order and wraps.
    for (size_t step = 1; step <= 8; ++step) {
        core->FocusNextInput();
        EXPECT_EQ(core->focusedInput, page->inputs[step % 8]);
    }
}

TEST_F(SettingsTest, HotkeyAndFunctionPagesPlaceTheirInputs) {
    auto* hotkeys = Open(new ControlsHotkey(core.get()));
    ASSERT_EQ(hotkeys->inputs.size(), 15u);
    EXPECT_EQ(hotkeys->inputs[11]->x - hotkeys->x, 33 + 29 * 11);
    EXPECT_EQ(hotkeys->inputs[12]->x - hotkeys->x, 391);
    EXPECT_EQ(hotkeys->inputs[14]->keySlot, uint32_t(KeyAction3));
    EXPECT_EQ(TextsIn(hotkeys, SettingsPage::LabelColour),
              (std::vector<std::string>{"These are extra hotkeys when in 'push-to-talk' mode."}));
    Press(hotkeys, ButtonId::Close);
    EXPECT_TRUE(core->windows.empty());

    auto* functions = Open(new ControlsFunction(core.get()));
    ASSERT_EQ(functions->inputs.size(), 12u);
    EXPECT_EQ(functions->inputs[11]->y - functions->y, 80 + 26 * 11);
    EXPECT_EQ(functions->inputs[0]->keySlot, uint32_t(KeyTrade));
    const std::vector<std::string> labels = TextsIn(functions, SettingsPage::LabelColour);
    ASSERT_EQ(labels.size(), 13u);
    EXPECT_EQ(labels[12], "CTRL + [key].");
    EXPECT_EQ(labels[11], "Toggle: journal window");
}

TEST_F(SettingsTest, InfoShowsTwoFixedLines) {
    Info page(core.get());
    EXPECT_EQ(TextsIn(&page, SettingsPage::LabelColour),
              (std::vector<std::string>{"Veltor client 14", "by the Veltor project"}));
}

}  // namespace
