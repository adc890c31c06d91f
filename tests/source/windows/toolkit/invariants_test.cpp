// What every window class shares: the type id of the catalogue, the close button at the right
// edge of the title bar where the window has one, and a surface at least as large as the window
// where it has one (a scroll bar is drawn by its owner and has none). Every new window class
// joins the table below.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "item.h"
#include "support/testcore.h"
#include "windows/dialogs/attribute.h"
#include "windows/dialogs/bank.h"
#include "windows/dialogs/bidding.h"
#include "windows/dialogs/book.h"
#include "windows/dialogs/brew.h"
#include "windows/dialogs/character.h"
#include "windows/dialogs/friendpop.h"
#include "windows/dialogs/guild.h"
#include "windows/dialogs/guildfound.h"
#include "windows/dialogs/guildinvite.h"
#include "windows/dialogs/guildpop.h"
#include "windows/dialogs/house.h"
#include "windows/dialogs/ignored.h"
#include "windows/dialogs/look.h"
#include "windows/dialogs/map.h"
#include "windows/dialogs/marker.h"
#include "windows/dialogs/outfit.h"
#include "windows/dialogs/partypop.h"
#include "windows/dialogs/questlog.h"
#include "windows/dialogs/rental.h"
#include "windows/dialogs/shop.h"
#include "windows/dialogs/spellbook.h"
#include "windows/dialogs/split.h"
#include "windows/dialogs/store.h"
#include "windows/dialogs/trade.h"
#include "windows/front/account.h"
#include "windows/front/avatars.h"
#include "windows/front/consoles.h"
#include "windows/front/controls.h"
#include "windows/front/controlsfunction.h"
#include "windows/front/controlshotkey.h"
#include "windows/front/controlsmove.h"
#include "windows/front/crash.h"
#include "windows/front/create.h"
#include "windows/front/desktop.h"
#include "windows/front/general.h"
#include "windows/front/generalesthetics.h"
#include "windows/front/generalgameplay.h"
#include "windows/front/generalinterface.h"
#include "windows/front/generalmiscellaneous.h"
#include "windows/front/info.h"
#include "windows/front/link.h"
#include "windows/front/login.h"
#include "windows/front/lost.h"
#include "windows/front/networks.h"
#include "windows/front/new.h"
#include "windows/front/password.h"
#include "windows/front/settings.h"
#include "windows/front/suspend.h"
#include "windows/front/video.h"
#include "windows/game/action.h"
#include "windows/game/channel.h"
#include "windows/game/channellist.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/container.h"
#include "windows/game/equipment.h"
#include "windows/game/field.h"
#include "windows/game/friendlist.h"
#include "windows/game/padding.h"
#include "windows/game/panelmap.h"
#include "windows/game/paneltop.h"
#include "windows/game/partylist.h"
#include "windows/game/spellbar.h"
#include "windows/guide/help.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/panellist.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"

namespace {

struct WindowClass {
    std::string name;
    uint32_t typeId;
    bool hasCloseButton;
    std::function<Window*(Core*, Window* owner)> make;
    bool hasSurface = true;
    // A surface of its own fixed size rather than one rounded up from the window's.
    WindowRect fixedSurface = {0, 0, 0, 0};
    // A close button placed by the window's own layout: the chat box's closes its current page.
    bool ownCloseButton = false;
};

// A side column beside the owner, in the window list, for the panel windows built in one.
Panel* AddColumn(Core* core, Window* owner, int32_t side) {
    auto* column = new Panel(core, owner, side);
    core->AddWindow(column);
    return column;
}

// A panel window added to a new column beside the owner, as the game screen adds them.
template <typename W>
Window* InColumn(Core* core, Window* owner, int32_t side) {
    Panel* column = AddColumn(core, owner, side);
    auto* window = new W(core, column);
    if (window->typeId == WindowType::Panellist) window->Build();
    column->Insert(window);
    return window;
}

class Owner : public Window {
public:
    explicit Owner(Core* core) : Window(core) {
        Build();
        x = 40;
        y = 40;
        width = 400;
        height = 300;
    }
};

const std::vector<WindowClass>& WindowClasses() {
    static const std::vector<WindowClass> classes = {
        {"Message", WindowType::Message, true,
         [](Core* core, Window*) {
             return new Message(core, "Title", "A text\nof two lines.", 0);
         }},
        {"Status", WindowType::Status, true,
         [](Core* core, Window*) { return new Status(core, "Veltor", "A notice.", 0); }},
        {"Status (connecting)", WindowType::Status, true,
         [](Core* core, Window*) {
             return new Status(core, "Connecting", "Trying to connect to the server", 2);
         }},
        {"Status (Discord)", WindowType::Status, true,
         [](Core* core, Window*) { return new Status(core, "Veltor", "Join us on Discord.", 0); }},
        {"Sure", WindowType::Sure, true,
         [](Core* core, Window*) { return new Sure(core, "Logout", "Leave?", Sure::Logout); }},
        {"Sure (item grid)", WindowType::Sure, true,
         [](Core* core, Window*) {
             core->moveMultiplier = 12;
             Window* box = new Sure(core, "Buying", "Buy?", Sure::Buy, nullptr, 0);
             core->moveMultiplier = 1;
             return box;
         }},
        {"Input", WindowType::Input, false,
         [](Core* core, Window* owner) {
             return new Input(core, owner, 64, {10, 30, 150, 18}, 0, 0);
         }},
        {"Input (pre-filled)", WindowType::Input, false,
         [](Core* core, Window* owner) {
             return new Input(core, owner, 8, {10, 30, 63, 18}, "12345", 0, 1);
         }},
        {"Input (name)", WindowType::Input, false,
         [](Core* core, Window* owner) {
             return new Input(core, owner, 20, {10, 60, 64, 18}, 1);
         }},
        {"Input (key binding)", WindowType::Input, false,
         [](Core* core, Window* owner) {
             return Input::KeyBinding(core, owner, 224, {10, 90, 40, 18}, "W", 3);
         }},
        {"List", WindowType::List, false,
         [](Core* core, Window* owner) {
             auto* list = new List(core, owner, 10, 120, 150, 64);
             list->AddItem("Admin");
             list->AddItemValue("Bob", 1);
             return list;
         }},
        {"List (with a scroll bar)", WindowType::List, false,
         [](Core* core, Window* owner) {
             auto* list = new List(core, owner, 10, 120, 150, 40);
             for (const char* name : {"Admin", "Bob", "Carl", "Dora"}) list->AddItem(name);
             return list;
         }},
        {"List (rows)", WindowType::List, false,
         [](Core* core, Window* owner) {
             auto* list = new List(core, owner, 10, 120, 200, 60);
             list->mode = List::RowMode;
             ListRow row;
             row.kind = 2;
             row.text = "Push to talk";
             row.detail = "Hold a key to speak.";
             row.optionId = 45;
             list->AddRow(row);
             list->AddRow(row);
             return list;
         }},
        {"Avatars", WindowType::Avatars, true,
         [](Core* core, Window*) {
             auto* avatars = new Avatars(core);
             AvatarEntry entry;
             entry.name = "Aria";
             avatars->SetAvatarList({entry});
             return avatars;
         }},
        {"Avatars (noble, with a scroll bar)", WindowType::Avatars, true,
         [](Core* core, Window*) {
             core->nobleDaysLeft = 3;
             auto* avatars = new Avatars(core);
             core->nobleDaysLeft = 0;
             avatars->SetAvatarList(std::vector<AvatarEntry>(15));
             return avatars;
         }},
        {"Create", WindowType::Create, true, [](Core* core, Window*) { return new Create(core); }},
        {"Crash", WindowType::Crash, true, [](Core* core, Window*) { return new Crash(core); }},
        {"Suspend", WindowType::Suspend, true,
         [](Core* core, Window*) { return new Suspend(core); }},
        {"Scroll", WindowType::Scroll, false,
         [](Core* core, Window* owner) {
             return new Scroll(core, owner, 300, 20, 200, 100, 400, 12, 1);
         },
         false},
        {"Scroll (horizontal)", WindowType::Scroll, false,
         [](Core* core, Window* owner) {
             return new Scroll(core, owner, 20, 250, 200, 100, 400, 12, 0);
         },
         false},
        {"Desktop", WindowType::Desktop, false,
         [](Core* core, Window*) { return new Desktop(core); }, false},
        {"Account", WindowType::Account, true,
         [](Core* core, Window*) { return new Account(core); }},
        {"Login", WindowType::Login, true, [](Core* core, Window*) { return new Login(core); }},
        {"New", WindowType::New, true, [](Core* core, Window*) { return new New(core); }},
        {"Lost", WindowType::Lost, true, [](Core* core, Window*) { return new Lost(core); }},
        {"Password", WindowType::Password, true,
         [](Core* core, Window*) { return new Password(core); }},
        {"Link", WindowType::Link, true, [](Core* core, Window*) { return new Link(core); }},
        {"Settings", WindowType::Settings, true,
         [](Core* core, Window*) { return new Settings(core); }},
        {"General", WindowType::General, true,
         [](Core* core, Window*) { return new General(core); }},
        {"Consoles", WindowType::Consoles, true,
         [](Core* core, Window*) { return new Consoles(core); }},
        {"Info", WindowType::Info, true, [](Core* core, Window*) { return new Info(core); }},
        {"Networks", WindowType::Networks, true,
         [](Core* core, Window*) { return new Networks(core); }},
        {"Video", WindowType::Video, true, [](Core* core, Window*) { return new Video(core); }},
        {"GeneralInterface", WindowType::GeneralInterface, true,
         [](Core* core, Window*) { return new GeneralInterface(core); }},
        {"GeneralGameplay", WindowType::GeneralGameplay, true,
         [](Core* core, Window*) { return new GeneralGameplay(core); }},
        {"GeneralEsthetics", WindowType::GeneralEsthetics, true,
         [](Core* core, Window*) { return new GeneralEsthetics(core); }},
        {"GeneralMiscellaneous", WindowType::GeneralMiscellaneous, true,
         [](Core* core, Window*) { return new GeneralMiscellaneous(core); }},
        {"Controls", WindowType::Controls, true,
         [](Core* core, Window*) { return new Controls(core); }},
        {"ControlsMove", WindowType::ControlsMove, true,
         [](Core* core, Window*) { return new ControlsMove(core); }},
        {"ControlsHotkey", WindowType::ControlsHotkey, true,
         [](Core* core, Window*) { return new ControlsHotkey(core); }},
        {"ControlsFunction", WindowType::ControlsFunction, true,
         [](Core* core, Window*) { return new ControlsFunction(core); }},
        {"Map", WindowType::Map, true, [](Core* core, Window*) { return new Map(core); }},
        {"Marker", WindowType::Marker, true,
         [](Core* core, Window*) { return new Marker(core, 100, 100); }},
        {"Questlog", WindowType::Questlog, true,
         [](Core* core, Window*) { return new Questlog(core); }},
        {"Help", WindowType::Help, true,
         [](Core* core, Window*) {
             auto* guide = new Help(core);
             guide->OnOpen();
             return guide;
         }},
        {"Padding", WindowType::Padding, false,
         [](Core* core, Window* owner) { return new Padding(core, owner); }, false},
        {"Field",
         WindowType::Field,
         false,
         [](Core* core, Window*) { return new Field(core, nullptr); },
         true,
         {0, 0, Field::SurfaceWidth, Field::SurfaceHeight}},
        {"Paneltop (without a column)", WindowType::Paneltop, false,
         [](Core* core, Window*) { return new Paneltop(core, nullptr); }},
        {"Action", WindowType::Action, false,
         [](Core* core, Window* owner) {
             auto* menu = new Action(core, owner, "Chest", 0);
             menu->AddEntryWithHint(ActionCode::OpenItem, "Open..", "RMB");
             menu->AddEntry(ActionCode::ExamineItem, "Examine");
             menu->Open(300, 200);
             return menu;
         }},
        {"Panel (left)", WindowType::PanelLeft, false,
         [](Core* core, Window* owner) { return new Panel(core, owner, Panel::Left); }},
        {"Panel (right)", WindowType::PanelRight, false,
         [](Core* core, Window* owner) { return new Panel(core, owner, Panel::Right); }},
        {"Panellist", WindowType::Panellist, true,
         [](Core* core, Window* owner) { return InColumn<Panellist>(core, owner, Panel::Left); }},
        {"Panellist (collapsed)", WindowType::Panellist, true,
         [](Core* core, Window* owner) {
             auto* window = static_cast<Panellist*>(InColumn<Panellist>(core, owner, Panel::Right));
             window->ToggleMinimise(nullptr);
             return window;
         }},
        {"Container (restored)", WindowType::Container, true,
         [](Core* core, Window* owner) {
             Panel* column = AddColumn(core, owner, Panel::Left);
             auto* window = new Container(core, column, 4, 8);
             column->Insert(window);
             return window;
         }},
        {"Container", WindowType::Container, true,
         [](Core* core, Window* owner) {
             Panel* column = AddColumn(core, owner, Panel::Right);
             std::vector<Item*> items{new Item(core, 0, 0, 0, 0, 0, 1, ItemIdle)};
             auto* window = new Container(core, column, 5, 0, 1, 8, "a bag of many things", items);
             column->Insert(window);
             return window;
         }},
        {"Container (loot)", WindowType::Container, false,
         [](Core* core, Window*) {
             std::vector<Item*> items{new Item(core, 0, 0, 0, 0, 0, 1, ItemIdle),
                                      new Item(core, 0, 0, 0, 0, 0, 1, ItemIdle)};
             auto* window = new Container(core, nullptr, 6, 0, 0, 2, "loot", items);
             window->SetGeometry(200, 150);
             return window;
         }},
        {"Shop", WindowType::Shop, true,
         [](Core* core, Window*) { return new Shop(core, "Trader", {}, {}); }},
        {"Store", WindowType::Store, true, [](Core* core, Window*) { return new Store(core); }},
        {"Trade", WindowType::Trade, true,
         [](Core* core, Window*) { return new Trade(core, "Bob"); }},
        {"Bank", WindowType::Bank, true,
         [](Core* core, Window*) { return new Bank(core, "Bank"); }},
        {"Brew", WindowType::Brew, true, [](Core* core, Window*) { return new Brew(core); }},
        {"Craft", WindowType::Craft, true, [](Core* core, Window*) { return new Craft(core); }},
        {"Equipment", WindowType::Equipment, false,
         [](Core* core, Window* owner) { return new Equipment(core, owner); }},
        {"Equipment (in a column)", WindowType::Equipment, false,
         [](Core* core, Window* owner) { return InColumn<Equipment>(core, owner, Panel::Right); }},
        {"Spellbar", WindowType::Spellbar, false,
         [](Core* core, Window* owner) { return InColumn<Spellbar>(core, owner, Panel::Left); }},
        {"Spellbar (strip)", WindowType::Spellbar, false,
         [](Core* core, Window* owner) { return new Spellbar(core, owner); }},
        {"Look", WindowType::Look, false,
         [](Core* core, Window*) {
             return new Look(core, "Sword", "A sharp blade.", {{1, "12"}}, {{4, "+2"}}, {}, 0, 100,
                             100, 0);
         }},
        {"Split", WindowType::Split, true,
         [](Core* core, Window*) {
             auto* equipment = static_cast<Equipment*>(core->AddWindow(new Equipment(core)));
             auto* stack = new Item(core, 0, 0, 0, 0, 0, 5, ItemIdle);
             equipment->SetSlot(stack, 0);
             auto* split = new Split(core, stack, 1, false);
             split->OnOpen();
             return split;
         }},
        {"Friendlist", WindowType::Friendlist, true,
         [](Core* core, Window* owner) { return InColumn<Friendlist>(core, owner, Panel::Right); }},
        {"Partylist", WindowType::Partylist, true,
         [](Core* core, Window* owner) { return new Partylist(core, owner); }},
        {"Paneltop", WindowType::Paneltop, false,
         [](Core* core, Window* owner) {
             return new Paneltop(core, AddColumn(core, owner, Panel::Left));
         }},
        {"Panelmap",
         WindowType::Panelmap,
         false,
         [](Core* core, Window* owner) {
             return new Panelmap(core, AddColumn(core, owner, Panel::Right));
         },
         true,
         {0, 0, Panel::ColumnWidth, Panel::ColumnWidth + 17}},
        {"Chatbox",
         WindowType::Chatbox,
         false,
         [](Core* core, Window* owner) {
             auto* box = new Chatbox(core, owner, Chatbox::MainKind);
             box->OpenChannel(ChannelId::Main, "Main", 0);
             return box;
         },
         true,
         {0, 0, 0, 0},
         true},
        {"Channel", WindowType::Channel, false,
         [](Core* core, Window* owner) {
             auto* page = new Channel(core, owner, ChannelId::World, "World", 1);
             page->AddLine(255, 255, 255, 255, "Welcome :)");
             return page;
         }},
        {"Console", WindowType::Console, false,
         [](Core* core, Window*) { return new Console(core); }},
        {"Console (wide)", WindowType::Console, false,
         [](Core* core, Window*) {
             core->options.widescreen = 1;
             Window* console = new Console(core);
             core->options.widescreen = 0;
             return console;
         }},
        {"Channellist", WindowType::Channellist, true,
         [](Core* core, Window*) { return new Channellist(core, 1); }},
        {"House", WindowType::House, true, [](Core* core, Window*) { return new House(core); }},
        {"Rental", WindowType::Rental, true,
         [](Core* core, Window*) {
             auto* rental = new Rental(core, "");
             HouseEntry house;
             house.nameFirst = "Elm";
             house.nameSecond = "Lane 3";
             rental->SetHouses(house);
             return rental;
         }},
        {"Bidding", WindowType::Bidding, true,
         [](Core* core, Window*) { return new Bidding(core, HouseEntry{}); }},
        {"Guild", WindowType::Guild, true, [](Core* core, Window*) { return new Guild(core); }},
        {"Guildfound", WindowType::Guildfound, true,
         [](Core* core, Window*) { return new Guildfound(core); }},
        {"Guildinvite", WindowType::Guildinvite, true,
         [](Core* core, Window*) {
             core->guilds = {{7, "Wolves", 0, 1, 0, {{"Ann", 0, 0}}}};
             Window* invitations = new Guildinvite(core);
             core->guilds.clear();
             return invitations;
         }},
        {"Link (with Steam)", WindowType::Link, true,
         [](Core* core, Window*) {
             core->steamReady = 1;
             Window* link = new Link(core);
             core->steamReady = 0;
             return link;
         }},
        {"Character", WindowType::Character, true,
         [](Core* core, Window*) { return new Character(core); }},
        {"Attribute (ten points)", WindowType::Attribute, true,
         [](Core* core, Window*) {
             core->attributePoints = 12;
             Window* window = new Attribute(core);
             core->attributePoints = 0;
             return window;
         }},
        {"Outfit", WindowType::Outfit, true, [](Core* core, Window*) { return new Outfit(core); }},
        {"Guildpop", WindowType::Guildpop, true,
         [](Core* core, Window*) { return new Guildpop(core); }},
        {"Partypop", WindowType::Partypop, true,
         [](Core* core, Window*) { return new Partypop(core); }},
        {"Friendpop", WindowType::Friendpop, true,
         [](Core* core, Window*) { return new Friendpop(core); }},
        {"Ignored", WindowType::Ignored, true,
         [](Core* core, Window*) { return new Ignored(core); }},
        {"Spellbook", WindowType::Spellbook, true,
         [](Core* core, Window* owner) { return new Spellbook(core, owner, nullptr); }},
        {"Book", WindowType::Book, true,
         [](Core* core, Window*) {
             return new Book(core, BookText{"Notes", {"One.", "Two."}});
         }},
        {"Book (one page)", WindowType::Book, true,
         [](Core* core, Window*) {
             return new Book(core, BookText{"Note", {"One."}});
         }},
    };
    return classes;
}

TEST(WindowInvariants, EveryWindowClassKeepsTheSharedRules) {
    std::unique_ptr<Core> core = MakeTestCore();
    Window* owner = core->AddWindow(new Owner(core.get()));
    for (const WindowClass& windowClass : WindowClasses()) {
        SCOPED_TRACE(windowClass.name);
        Window* window = core->AddWindow(windowClass.make(core.get(), owner));
        EXPECT_EQ(window->typeId, windowClass.typeId);
        EXPECT_EQ(window->state, 1u);
        Button* close = window->FindButton(ButtonId::Close);
        if (windowClass.ownCloseButton) {
            EXPECT_NE(close, nullptr);
        } else if (windowClass.hasCloseButton) {
            ASSERT_NE(close, nullptr);
            EXPECT_EQ(close->x, window->width - 21);
            EXPECT_EQ(close->y, 3);
        } else {
            EXPECT_EQ(close, nullptr);
        }
        if (windowClass.fixedSurface.w > 0) {
            ASSERT_NE(window->surface, nullptr);
            EXPECT_EQ(window->surfaceWidth, windowClass.fixedSurface.w);
            EXPECT_EQ(window->surfaceHeight, windowClass.fixedSurface.h);
        } else if (windowClass.hasSurface) {
            ASSERT_NE(window->surface, nullptr);
            EXPECT_GT(window->surfaceWidth, window->width);
            EXPECT_GT(window->surfaceHeight, window->height);
            EXPECT_EQ(window->surfaceWidth % 64, 0);
            EXPECT_EQ(window->surfaceHeight % 64, 0);
        } else {
            EXPECT_EQ(window->surface, nullptr);
        }

        // Painting and drawing under the null driver leave the surface painted.
        window->Paint();
        window->Draw();
        EXPECT_FALSE(window->dirty);
    }
}

}  // namespace
